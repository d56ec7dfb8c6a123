#pragma once
// Reader of the game's text level file (.qzl).

#include "level/QzlSections.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// The fixed lower-case text that ends the "COPYRIGHT" block: a notice line holding it is the last
// one. The game-tag section of every file we write names the publisher with it.
inline constexpr std::string_view kNoticeMarker = "halvern software";

// CQzlSections::Read: parses text into level, appending to its lists. product 1 (Varnok) reads four
// intensities per corner and the extra column of the thing lines. The result is checked with
// LevelRefusal (damaged indices of the kind a level opens with are kept as stored); a fault throws
// CArchiveException with a message for the user, and level may then hold part of the file (read
// into a fresh container to keep an open level safe). A text cut short still gives what was read,
// and the result says what is missing: the text ended inside a section ("The file ends inside the
// SECTORS section: 6 of 20 sectors."), or a list without an "end" line (vertices, texture vertices,
// adjoins, surfaces, normals, sectors) met a section line before its count ("The SECTORS section
// ends early: 6 of 20 sectors."). Empty when every section that the text began was read to its end.
// With onlyText, *onlyText says after a read that returns whether every byte of text is one that
// text may hold (HoldsOnlyText).
std::string ReadQzl(CQzlSections& level, std::span<const std::uint8_t> text, int product,
                    bool* onlyText = nullptr);

// ReadQzl into a fresh level that is returned only when the text was whole: a text cut short
// throws CArchiveException with what ReadQzl says is missing, so that no part of a level is taken
// for all of it (and saved over it).
CQzlSections ReadWholeQzl(std::span<const std::uint8_t> text, int product,
                          bool* onlyText = nullptr);

// CQzlSections::Load: ReadWholeQzl of the whole file. Throws CFileException when the file cannot
// be read and CArchiveException for its content.
CQzlSections LoadQzlFile(const std::filesystem::path& path, int product);
