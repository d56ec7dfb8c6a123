#include "support/EpisodeLevels.h"

#include "level/QzeFile.h"
#include "support/FixtureLevels.h"

std::filesystem::path WriteEpisodeLevel(const std::filesystem::path& folder,
                                        const CEpisodeLevelSpec& spec)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 2, 2});
    CDocumentFields fields;
    fields.m_episodeTitle = "Episode of " + spec.name;
    fields.m_levelKind = spec.kind;
    fields.m_lightPower = spec.light;
    fields.m_darkPower = spec.dark;
    const std::string& key = spec.name;
    fields.m_messageText = "MSGS 5\r\n\"" + key + "\"\t\t\t0\t\"" + spec.title + "\"\r\n\"" + key +
                           "_TEXT_00\"\t0\t\"^Objectives\"\r\n\"" + key +
                           "_TEXT_01\"\t0\t\"Reach the exit.\"\r\n" +
                           "\"GOAL_01000\"\t\t0\t\"Goal of " + spec.name + "\"\r\n" +
                           "\"COG_01000\"\t\t0\t\"Cog of " + spec.name + "\"\r\nEND\r\n";
    const std::filesystem::path path = folder / (spec.name + ".qze");
    SaveQzeFile(path, level, fields);
    return path;
}
