#pragma once
// Level files for the episode tests: a one-room level saved as "<name>.qze" with episode fields
// whose message text holds a title line, two texts, one goal and one cog string.

#include <filesystem>
#include <string>

struct CEpisodeLevelSpec {
    std::string name;  // file name without ".qze"
    std::string title;
    int kind = 0;
    int light = 0;
    int dark = 0;
};

// Writes the level into folder and returns its path. Its episode title is "Episode of <name>",
// its texts "^Objectives" and "Reach the exit.", its goal "Goal of <name>" and its cog string
// "Cog of <name>".
std::filesystem::path WriteEpisodeLevel(const std::filesystem::path& folder,
                                        const CEpisodeLevelSpec& spec);
