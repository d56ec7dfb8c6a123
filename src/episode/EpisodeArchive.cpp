#include "episode/EpisodeArchive.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/LevelFile.h"
#include "level/QzlSections.h"
#include "level/QzlWriter.h"
#include "resources/GobArchive.h"

#include <algorithm>
#include <array>

namespace {

constexpr const char* kEol = "\r\n";
void PadTo(std::string& s, std::size_t width)
{
    if (s.size() < width)
        s.append(width - s.size(), ' ');
}

std::string Padded(std::string s, std::size_t width)
{
    PadTo(s, width);
    return s;
}

const char* LevelTypeColumn(std::int32_t type)
{
    switch (type) {
    case CMultiLevelItem::levelLevel:
        return "LEVEL     ";
    case CMultiLevelItem::levelCut:
        return "CUT       ";
    case CMultiLevelItem::levelDecide:
        return "DECIDE    ";
    default:
        return "";
    }
}

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace

std::string WriteEpisodeFile(const std::string& masterTitle, std::int32_t masterType,
                             const std::vector<std::unique_ptr<CMultiLevelItem>>& items)
{
    std::string out;
    auto line = [&out](const std::string& s) { out += s + kEol; };
    line(Quoted(masterTitle));
    line("# Title must be first line. A translated version is looked up in qzStrings.uni");
    line("");
    if (masterType >= 0 && masterType < static_cast<std::int32_t>(kEpisodeTypeNumbers.size()))
        line(FormatC("TYPE %d", kEpisodeTypeNumbers[static_cast<std::size_t>(masterType)]));
    line("");
    line(FormatC("SEQ %d", static_cast<int>(items.size())));
    line("");
    line("# <lightpow> and <darkpow> are the inventory bin numbers for that power.");
    line("");
    line("# <line> <cd>  <level>  <type>   <file>         <lightpow>  <darkpow>   <gotoA>  "
         "<gotoB>");
    line("");
    int i = 0;
    for (const auto& item : items) {
        ++i;
        std::string s = Padded(FormatC("%d:", item->m_lineNumber), 11);
        s += "1     ";
        s += FormatC("%2d     ", i);
        s += LevelTypeColumn(item->m_levelType);
        s += ToLowerAscii(item->m_fileName + ".qzl") + " ";
        PadTo(s, 53);
        s += Padded(FormatC("%d", LightPowerBin(item->m_lightPower)), 11);
        s += Padded(FormatC("%d", DarkPowerBin(item->m_darkPower)), 11);
        s += FormatC("%2d       %2d", item->m_gotoA, item->m_gotoB);
        line(s);
    }
    line("");
    line("end");
    return out;
}

std::string WriteCogStrings(const std::vector<std::unique_ptr<CMultiLevelItem>>& items)
{
    std::size_t total = items.size();
    std::size_t longest = 0;
    for (const auto& item : items) {
        total += item->m_goals.size() + item->m_texts.size() + item->m_cogs.size();
        longest = std::max(longest, item->m_fileName.size());
    }

    std::string out;
    auto line = [&out](const std::string& s) { out += s + kEol; };
    auto stringLine = [&line](const std::string& key, const std::string& text) {
        line("   " + Quoted(key) + "\t0\t" + Quoted(text));
    };
    const std::string rule = "#***************************";

    line(FormatC("MSGS %zu", total));
    line("");
    line("#  \"<key>\"     <unused number>   \"<string>\"");
    line("");
    line(rule);
    line("#  Names of Levels");
    line(rule);
    line("");
    for (const auto& item : items)
        line("   " + Padded(Quoted(item->m_fileName), longest + 4) + "0    " +
             Quoted(item->m_levelTitle));
    line("");
    line(rule);
    line("#  Objective descriptions");
    line(rule);
    int i = 0;
    for (const auto& item : items) {
        ++i;
        line("");
        line(FormatC("#  Level %d - %s - messages.", i, item->m_fileName.c_str()));
        line("");
        for (std::size_t g = 0; g < item->m_goals.size(); ++g)
            stringLine(FormatC("GOAL_%05lld", static_cast<long long>(item->m_goalsBase) +
                                                  static_cast<long long>(g)),
                       item->m_goals[g]);
        line("");
        for (std::size_t t = 0; t < item->m_texts.size(); ++t)
            stringLine(FormatC("%s_TEXT_%02zu", item->m_fileName.c_str(), t), item->m_texts[t]);
        if (!item->m_cogs.empty()) {
            line("");
            for (std::size_t c = 0; c < item->m_cogs.size(); ++c)
                stringLine(FormatC("COG_%05lld", static_cast<long long>(item->m_cogsBase) +
                                                     static_cast<long long>(c)),
                           item->m_cogs[c]);
        }
    }
    line("");
    line("END");
    return out;
}

EpisodeLevelOpener LevelFileOpener(int product)
{
    return [product](const std::filesystem::path& levelPath) -> std::unique_ptr<CQzlSections> {
        try {
            CLevelFile file = LoadLevelFile(levelPath, product);
            return std::make_unique<CQzlSections>(std::move(file.m_contents.m_level));
        } catch (const CFileException&) {
            return nullptr;
        } catch (const CArchiveException&) {
            return nullptr;
        }
    };
}

CEpisodeArchiveResult
BuildEpisodeArchive(const std::filesystem::path& path, const std::string& masterTitle,
                    std::int32_t masterType,
                    const std::vector<std::unique_ptr<CMultiLevelItem>>& items,
                    const EpisodeLevelOpener& openLevel, const CGameResources& game, int product)
{
    CEpisodeArchiveResult result;
    CGobArchive archive;
    archive.Add("episode.qz", Bytes(WriteEpisodeFile(masterTitle, masterType, items)));
    archive.Add("misc\\cogstrings.uni", Bytes(WriteCogStrings(items)));

    static constexpr std::array<std::pair<const char*, const char*>, 4> kCarried{{
        {".cog", "cog\\"},
        {".3do", "3do\\"},
        {".mat", "mat\\"},
        {".wav", "sound\\"},
    }};

    for (const auto& item : items) {
        const std::string levelName = ToLowerAscii(item->m_fileName + ".qzl");
        if (!IsSafeLevelFileName(levelName)) {
            result.m_skipped.push_back(
                FormatC("The level name \"%s\" is not a plain file name.", levelName.c_str()));
            continue;
        }
        std::unique_ptr<CQzlSections> level = openLevel(item->m_levelPath);
        if (!level) {
            result.m_skipped.push_back(
                FormatC("The level \"%s\" could not be opened.", item->m_levelPath.c_str()));
            continue;
        }
        // Everything a level adds is gathered first, so a level that fails adds nothing.
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> entries;
        try {
            entries.emplace_back("qzl\\" + levelName, Bytes(WriteQzl(*level, game, product)));
            CGobArchive::CheckEntryPath(entries.back().first);
        } catch (const CArchiveException& e) {
            result.m_skipped.push_back(FormatC("The level \"%s\" could not be written: %s",
                                               item->m_levelPath.c_str(), e.what()));
            continue;
        }
        for (const auto& file : level->m_levelFiles.m_entries) {
            if (!file->m_data)
                continue;
            const std::string name = ToLowerAscii(file->m_name);
            for (const auto& [extension, folder] : kCarried) {
                if (name.find(extension) == std::string::npos)
                    continue;
                const std::string entryPath = folder + name;
                bool fits = IsSafeLevelFileName(name);
                if (fits) {
                    try {
                        CGobArchive::CheckEntryPath(entryPath);
                    } catch (const CArchiveException&) {
                        fits = false;
                    }
                }
                if (!fits) {
                    result.m_skipped.push_back(FormatC(
                        "The file \"%s\" of the level \"%s\" cannot be stored in the archive.",
                        file->m_name.c_str(), item->m_levelPath.c_str()));
                    continue;
                }
                entries.emplace_back(entryPath, *file->m_data);
            }
        }
        // Every path is checked above; Add only refuses an archive outgrowing 32-bit offsets,
        // which no later level could fit in either.
        for (const auto& [entryPath, data] : entries)
            archive.Add(entryPath, data);
        ++result.m_levelsWritten;
    }
    archive.Save(path);
    return result;
}
