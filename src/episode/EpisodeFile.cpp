#include "episode/EpisodeFile.h"

#include "framework/CFormat.h"
#include "framework/StringUtil.h"
#include "level/QzlLines.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kLineEnd = "\r\n";

// The index of value in list, or -1.
template <std::size_t N>
int IndexOf(const std::array<int, N>& list, int value)
{
    const auto* found = std::find(list.begin(), list.end(), value);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

// A power bin followed by its separator: one tab, two after bin 0 (its empty field).
int BinOf(const std::array<int, 9>& bins, std::int32_t index)
{
    return index >= 0 && index < static_cast<int>(bins.size())
               ? bins[static_cast<std::size_t>(index)]
               : 0;
}

std::string PowerField(int bin)
{
    return std::to_string(bin) + (bin == 0 ? "\t\t" : "\t");
}

// Scans "<keyword> %d" where keyword stands anywhere in line; false when it is not there or no
// number follows.
bool ScanAfterKeyword(const std::string& line, std::string_view keyword, int& value)
{
    const std::size_t at = line.find(keyword);
    if (at == std::string::npos)
        return false;
    return ScanC(line.c_str() + at + keyword.size(), " %d", &value) == 1;
}

}  // namespace

int LightPowerBin(std::int32_t index)
{
    return BinOf(kLightPowerBins, index);
}

int DarkPowerBin(std::int32_t index)
{
    return BinOf(kDarkPowerBins, index);
}

std::string WriteEpisode(CDocumentFields& fields)
{
    fields.m_levelFileName = ToLowerAscii(fields.m_levelFileName);

    std::string text = "\"" + fields.m_episodeTitle + "\"" + kLineEnd;
    if (fields.m_episodeType >= 0 &&
        fields.m_episodeType < static_cast<int>(kEpisodeTypeNumbers.size()))
        text +=
            "TYPE " +
            std::to_string(kEpisodeTypeNumbers[static_cast<std::size_t>(fields.m_episodeType)]) +
            kLineEnd;
    text += std::string("SEQ 1") + kLineEnd;

    const bool knownKind =
        fields.m_levelKind >= 0 && fields.m_levelKind < static_cast<int>(kLevelKindWords.size());
    const std::size_t kind = knownKind ? static_cast<std::size_t>(fields.m_levelKind) : 0;
    text += "10:\t1\t1\t";
    text += kLevelKindWords[kind];
    text += kind == 2 ? "\t" : "\t\t";
    text += fields.m_levelFileName + "\t";
    text += PowerField(LightPowerBin(fields.m_lightPower));
    text += PowerField(DarkPowerBin(fields.m_darkPower));
    text += std::string("-1\t-1") + kLineEnd;
    text += std::string("end") + kLineEnd;
    return text;
}

void ReadEpisode(std::span<const std::uint8_t> text, CDocumentFields& fields)
{
    CQzlLineReader reader(text);
    std::string line;
    if (!reader.ReadNextLine(line))
        return;
    line.erase(std::remove(line.begin(), line.end(), '"'), line.end());
    fields.m_episodeTitle = line;

    if (!reader.ReadNextLine(line))
        return;
    if (HasKeyword(line, "type")) {
        int number = 0;
        if (ScanAfterKeyword(line, "type ", number)) {
            // A number that names no type leaves the type as it was.
            const int type = IndexOf(kEpisodeTypeNumbers, number);
            if (type >= 0)
                fields.m_episodeType = type;
        }
        if (!reader.ReadNextLine(line))
            return;
    }

    int count = 0;
    if (!HasKeyword(line, "seq") || !ScanAfterKeyword(line, "seq ", count) || count < 1)
        return;
    if (!reader.ReadNextLine(line) || !HasKeyword(line, ".qzl"))
        return;

    // No word can be longer than the line that holds it.
    std::vector<char> kindWord(line.size() + 1, '\0');
    std::vector<char> fileName(line.size() + 1, '\0');
    int lineNumber = 0;
    int cd = 0;
    int level = 0;
    int lightBin = 0;
    int darkBin = 0;
    int gotoA = 0;
    int gotoB = 0;
    const int scanned =
        ScanC(line.c_str(), "%d: %d %d %s %s %d %d %d %d", &lineNumber, &cd, &level,
              kindWord.data(), fileName.data(), &lightBin, &darkBin, &gotoA, &gotoB);
    // Only the fields the line held are taken.
    if (scanned >= 4) {
        const std::string_view word(kindWord.data());
        for (std::size_t i = 0; i < kLevelKindWords.size(); ++i)
            if (word == ToLowerAscii(kLevelKindWords[i]))
                fields.m_levelKind = static_cast<int>(i);
    }
    if (scanned >= 5)
        fields.m_levelFileName = fileName.data();
    if (scanned >= 6) {
        const int power = IndexOf(kLightPowerBins, lightBin);
        if (power >= 0)
            fields.m_lightPower = power;
    }
    if (scanned >= 7) {
        const int power = IndexOf(kDarkPowerBins, darkBin);
        if (power >= 0)
            fields.m_darkPower = power;
    }
}
