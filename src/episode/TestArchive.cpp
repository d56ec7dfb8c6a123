#include "episode/TestArchive.h"

#include "episode/EpisodeArchive.h"
#include "episode/EpisodeFile.h"
#include "episode/StartGoalsCogs.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "level/QzlWriter.h"
#include "resources/TreeObject.h"

#include <span>
#include <string_view>
#include <utility>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// True when path can be the name of an entry of the archive.
bool StorablePath(std::string_view path)
{
    if (path.empty())
        return false;
    try {
        CGobArchive::CheckEntryPath(path);
    } catch (const CArchiveException&) {
        return false;
    }
    return true;
}

// The path of a file of the level's own: its path, and a bare file name (a file added without
// one) in its resource folder, as the stored level gives it when it is read back.
std::string EntryPath(const CTreeObject& file)
{
    std::string path = file.m_path.empty() ? file.m_name : file.m_path;
    if (path.find('\\') == std::string::npos)
        path.insert(0, CTreeObject::FolderForFile(path));
    return path;
}

}  // namespace

CTestArchive BuildTestArchive(CQzlSections& level, CDocumentFields& fields,
                              const CTestArchiveCogs& cogs, const CGameResources& game, int product)
{
    CTestArchive result;
    CGobArchive& archive = result.m_archive;

    // A document without a level file name names the default in its episode file as well, so the
    // episode and the level entry agree; the document's own field stays empty.
    CDocumentFields defaulted;
    CDocumentFields* episodeFields = &fields;
    if (fields.m_levelFileName.empty()) {
        defaulted = fields;
        defaulted.m_levelFileName = kDefaultLevelFileName;
        episodeFields = &defaulted;
    }
    archive.Add(kEpisodeFileName, Bytes(WriteEpisode(*episodeFields)));

    const std::string& levelName = episodeFields->m_levelFileName;
    const std::string levelEntry = "qzl\\" + levelName;
    if (IsSafeLevelFileName(levelName) && StorablePath(levelEntry)) {
        UpdateSectorBounds(level, true);
        archive.Add(levelEntry, Bytes(WriteQzl(level, game, product, &result.m_status)));
    } else {
        result.m_skipped.push_back(FormatC(
            "The level file name \"%s\" is not a plain file name: the level is not in the archive.",
            levelName.c_str()));
    }

    archive.Add("misc\\cogstrings.uni", Bytes(fields.m_messageText));

    if (fields.m_startCogOn != 0 && cogs.m_start)
        archive.Add(std::string("cog\\") + kStartCogScript, *cogs.m_start);
    if (fields.m_goalsCogOn != 0 && cogs.m_goals)
        archive.Add(std::string("cog\\") + kGoalsCogScript, *cogs.m_goals);

    for (const auto& file : level.m_levelFiles.m_entries) {
        if (!file)
            continue;
        const std::string path = EntryPath(*file);
        if (!file->m_data || !StorablePath(path)) {
            result.m_skipped.push_back(FormatC(
                "The file \"%s\" of the level cannot be stored in the archive.", path.c_str()));
            continue;
        }
        archive.Add(path, *file->m_data);
    }
    return result;
}

CTestArchive SaveTestArchive(const std::filesystem::path& path, CQzlSections& level,
                             CDocumentFields& fields, const CTestArchiveCogs& cogs,
                             const CGameResources& game, int product)
{
    CTestArchive built = BuildTestArchive(level, fields, cogs, game, product);
    built.m_archive.Save(path);
    return built;
}
