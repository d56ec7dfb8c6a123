#include "level/QzeFile.h"

#include "framework/Archive.h"
#include "framework/FileIO.h"
#include "level/LevelArchive.h"
#include "level/LevelClassRegistry.h"
#include "level/LevelValidator.h"
#include "level/VertexUses.h"

namespace {

// Refuses only a level without geometry to show; damaged indices of other kinds stay as stored,
// for Check to report and Clean Up to repair.
void CheckLevel(const CQzlSections& level)
{
    const std::string refusal = LevelRefusal(level);
    if (!refusal.empty())
        throw CArchiveException(CArchiveException::badIndex, refusal);
}

void LoadLevelPart(CQzlSections& level, CArchive& ar, int& version)
{
    SerializeLevel(level, ar, version);
    CheckLevel(level);
    CountVertexUses(level);
}

}  // namespace

std::vector<std::uint8_t> WriteLevelBytes(CQzlSections& level)
{
    CArchive ar(LevelClassRegistry());
    int version = 0;
    SerializeLevel(level, ar, version);
    return ar.TakeBuffer();
}

CQzlSections ReadLevelBytes(std::span<const std::uint8_t> data, int& version)
{
    CArchive ar(LevelClassRegistry(), data);
    CQzlSections level;
    LoadLevelPart(level, ar, version);
    return level;
}

std::vector<std::uint8_t> WriteQzeBytes(CQzlSections& level, const CDocumentFields& document)
{
    CArchive ar(LevelClassRegistry());
    int version = 0;
    SerializeLevel(level, ar, version);
    ar.WriteString(document.m_episodeTitle);
    ar.WriteString(document.m_levelFileName);
    ar.WriteString(document.m_messageText);
    ar.WriteInt(document.m_episodeType);
    ar.WriteInt(document.m_levelKind);
    ar.WriteInt(document.m_lightPower);
    ar.WriteInt(document.m_darkPower);
    ar.WriteInt(document.m_startCogOn);
    ar.WriteInt(document.m_goalsCogOn);
    return ar.TakeBuffer();
}

CQzeContents ReadQzeBytes(std::span<const std::uint8_t> data)
{
    CArchive ar(LevelClassRegistry(), data);
    CQzeContents result;
    LoadLevelPart(result.m_level, ar, result.m_version);
    // Files from version 3 on carry the document's fields; a file that ends right after the level
    // part (as sector library pieces may) keeps the defaults.
    if (result.m_version >= 3 && !ar.AtEnd()) {
        CDocumentFields& d = result.m_document;
        d.m_episodeTitle = ar.ReadString();
        d.m_levelFileName = ar.ReadString();
        d.m_messageText = ar.ReadString();
        d.m_episodeType = ar.ReadInt();
        d.m_levelKind = ar.ReadInt();
        d.m_lightPower = ar.ReadInt();
        d.m_darkPower = ar.ReadInt();
        d.m_startCogOn = ar.ReadInt();
        d.m_goalsCogOn = ar.ReadInt();
    }
    return result;
}

CQzeContents LoadQzeFile(const std::filesystem::path& path)
{
    const CFileBytes data = ReadFileBuffer(path);
    return ReadQzeBytes(data);
}

void SaveQzeFile(const std::filesystem::path& path, CQzlSections& level,
                 const CDocumentFields& document)
{
    const std::vector<std::uint8_t> data = WriteQzeBytes(level, document);
    WriteFileAtomic(path, data);
}
