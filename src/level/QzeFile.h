#pragma once
// The editor's level file (.qze; also the autosave file and the new-level files): the level part,
// then, from version 3 on, the document's own fields.

#include "level/QzlSections.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The document's episode fields stored behind the level.
struct CDocumentFields {
    std::string m_episodeTitle;
    std::string m_levelFileName;
    std::string m_messageText;
    std::int32_t m_episodeType = 0;
    std::int32_t m_levelKind = 0;
    std::int32_t m_lightPower = 0;
    std::int32_t m_darkPower = 0;
    std::int32_t m_startCogOn = 0;
    std::int32_t m_goalsCogOn = 0;

    friend bool operator==(const CDocumentFields&, const CDocumentFields&) = default;
};

struct CQzeContents {
    CQzlSections m_level;
    CDocumentFields m_document;
    int m_version = 0;
};

// Parses a whole .qze image into a fresh level and checks it with LevelRefusal: a level with
// damaged indices of the kind it can be opened with is returned with them as stored. Throws
// CArchiveException with a message for the user on any fault; nothing outside the result is
// touched, so an open level stays as it was.
CQzeContents ReadQzeBytes(std::span<const std::uint8_t> data);
// Writes the current form (version 5). The level's texture-vertex table is emptied, as always
// when a level is stored.
std::vector<std::uint8_t> WriteQzeBytes(CQzlSections& level, const CDocumentFields& document);

// File versions: read the whole file, or write through a temporary file and a rename. Throw
// CFileException for the file system and CArchiveException for the content.
CQzeContents LoadQzeFile(const std::filesystem::path& path);
void SaveQzeFile(const std::filesystem::path& path, CQzlSections& level,
                 const CDocumentFields& document);

// The level part alone (undo snapshots, sector library pieces).
std::vector<std::uint8_t> WriteLevelBytes(CQzlSections& level);
// Reads the level part of data into a fresh level, checks it as ReadQzeBytes does and returns it
// with the version;
// whatever follows the level part is not read.
CQzlSections ReadLevelBytes(std::span<const std::uint8_t> data, int& version);
