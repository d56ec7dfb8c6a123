#pragma once
// One level of a multi-level episode, and the multi-level file (".qml") that keeps a list of them.
//
// A record's stored form (little endian, no class tag): version word, level path, level title,
// file name, line number, goto A, goto B, level type, light power, dark power, goals base, cogs
// base (4 bytes each but the strings), then the goals, texts and cogs string lists. The ".qml"
// file: a 32-bit count of records, the records, the master title (string) and the master type
// (32-bit). Both are read as hostile: every length, count and value is checked before it is used.

#include "framework/Object.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CMultiLevelItem : public CObject {
    QZ_DECLARE_SERIAL(CMultiLevelItem)

public:
    enum ELevelType : std::int32_t {
        levelLevel = 0,
        levelCut = 1,
        levelDecide = 2
    };
    static constexpr std::int32_t kVersion = 1;
    static constexpr std::int32_t kPowerCount = 9;  // power indices 0 (none) to 8

    // Stores or loads the record by the archive's direction. Loading throws CArchiveException
    // (badFormat, with a message for the user) for a record that is cut short, an unknown version
    // word, a level type other than 0-2 or a power index other than 0-8; the item is then left as
    // it was.
    void Serialize(CArchive& ar) override;

    // Field by field.
    bool operator==(const CMultiLevelItem& other) const;

    std::int32_t m_version = kVersion;
    std::string m_levelPath;
    std::string m_levelTitle;
    std::string m_fileName;  // without extension
    std::int32_t m_lineNumber = 0;
    std::int32_t m_gotoA = -1;
    std::int32_t m_gotoB = -1;
    std::int32_t m_levelType = levelLevel;
    std::int32_t m_lightPower = 0;
    std::int32_t m_darkPower = 0;
    std::int32_t m_goalsBase = 1000;
    std::int32_t m_cogsBase = 1000;
    std::vector<std::string> m_goals;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_cogs;
};

// The contents of a ".qml" file.
struct CMultiLevelList {
    std::vector<std::unique_ptr<CMultiLevelItem>> m_items;
    std::string m_masterTitle;
    std::int32_t m_masterType = 0;  // selection of the "Master Type:" list, 0-3
};

std::vector<std::uint8_t> WriteMultiLevelBytes(const CMultiLevelList& list);
// Throws CArchiveException with a message for the user when the bytes are not a whole ".qml"
// file (cut short, a negative or impossible count, a damaged record, bytes left over).
CMultiLevelList ReadMultiLevelBytes(std::span<const std::uint8_t> bytes);
