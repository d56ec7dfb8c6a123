#pragma once
// Reader of the game's text level file (.qzl).

#include "level/QzlSections.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

// The fixed lower-case text that ends the "COPYRIGHT" block: a notice line holding it is the last
// one. The game-tag section of every file we write names the publisher with it.
inline constexpr std::string_view kNoticeMarker = "halvern software";

// CQzlSections::Read: parses text into level, appending to its lists. product 1 (Varnok) reads four
// intensities per corner and the extra column of the thing lines. The result is checked with
// ValidateLevel; a fault throws CArchiveException with a message for the user, and level may then
// hold part of the file (read into a fresh container to keep an open level safe).
void ReadQzl(CQzlSections& level, std::span<const std::uint8_t> text, int product);

// CQzlSections::Load: reads the whole file into a fresh level and returns it. Throws CFileException
// when the file cannot be read and CArchiveException for its content.
CQzlSections LoadQzlFile(const std::filesystem::path& path, int product);
