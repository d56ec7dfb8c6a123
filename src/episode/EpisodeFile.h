#pragma once
// The episode file "episode.qz" of a single-level document: the episode's title, its type and a
// sequence of one level, built from the document's episode fields. Text with CR LF line ends.

#include "level/QzeFile.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

inline constexpr const char* kEpisodeFileName = "episode.qz";

// The Type list: captions and the TYPE number written for each index.
inline constexpr std::array<const char*, 4> kEpisodeTypeCaptions = {
    "Single User", "Death Match", "Multi Player", "Team Death Match"};
inline constexpr std::array<int, 4> kEpisodeTypeNumbers = {1, 2, 8, 16};

// The Kind list: captions and the word written for each index.
inline constexpr std::array<const char*, 3> kLevelKindCaptions = {"Level", "Cut Scene", "Decision"};
inline constexpr std::array<const char*, 3> kLevelKindWords = {"LEVEL", "CUT", "DECIDE"};

// The two power lists: "None" first, the same four powers at 1 to 4, then four of each side; each
// entry's power bin of the game.
inline constexpr std::array<const char*, 9> kLightPowerNames = {
    "None", "Leap", "Haste", "Grasp", "Sight", "Mend", "Calm", "Flare", "Shelter"};
inline constexpr std::array<const char*, 9> kDarkPowerNames = {
    "None", "Leap", "Haste", "Grasp", "Sight", "Shock", "Blight", "Siphon", "Wrath"};
inline constexpr std::array<int, 9> kLightPowerBins = {0, 22, 21, 24, 23, 25, 26, 27, 28};
inline constexpr std::array<int, 9> kDarkPowerBins = {0, 22, 21, 24, 23, 30, 31, 32, 33};
// The inventory bin of a light or dark power index (0-8); 0 for an index out of range.
int LightPowerBin(std::int32_t index);
int DarkPowerBin(std::int32_t index);

// The episode file of fields. The level file name is lower-cased in fields before it is written.
// A type outside the list writes no TYPE line; a kind outside the list is written as "LEVEL" and
// a power outside its list as bin 0, so that the level line always has all its fields.
std::string WriteEpisode(CDocumentFields& fields);

// Reads an episode file back into the episode fields (lines lower-cased, empty lines and lines
// beginning with '#' skipped): the title from the first line, the type from a "type" line, and,
// when a "seq" line counts at least one level, the kind, file name and powers of the first level
// line. A field whose line is missing, lacks its keyword or holds a value outside its list stays
// as it was. A type line may be left out: the line that stands in its place is read as the "seq"
// line.
void ReadEpisode(std::span<const std::uint8_t> text, CDocumentFields& fields);
