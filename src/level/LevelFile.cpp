#include "level/LevelFile.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/QzlLines.h"
#include "level/QzlReader.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// The archive form begins with its tag string: a length byte, then "QZ" and the version.
bool HasArchiveTag(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 3 && bytes[0] >= 2 && bytes[0] < 0xFF && bytes[1] == 'Q' &&
           bytes[2] == 'Z';
}

}  // namespace

ELevelForm LevelFormOf(std::span<const std::uint8_t> bytes)
{
    if (HasArchiveTag(bytes) || !HoldsOnlyText(bytes))
        return ELevelForm::archive;
    return ELevelForm::text;
}

CLevelFile LoadLevelFile(const std::filesystem::path& path, int product)
{
    const CFileBytes bytes = ReadFileBuffer(path);
    CLevelFile file;
    const auto readArchive = [&] {
        file.m_form = ELevelForm::archive;
        file.m_contents = ReadQzeBytes(bytes);
        return std::move(file);
    };
    if (HasArchiveTag(bytes))
        return readArchive();
    // Content without the tag is read as text, and whether it is text (LevelFormOf) is found out
    // as its lines are read: one pass over the bytes instead of two. Content that is not text
    // after all, whether its read succeeded or failed, goes to the archive reader.
    bool onlyText = false;
    try {
        file.m_contents.m_level = ReadWholeQzl(bytes, product, &onlyText);
    } catch (...) {
        if (LevelFormOf(bytes) == ELevelForm::archive)
            return readArchive();
        throw;
    }
    if (!onlyText)
        return readArchive();
    file.m_form = ELevelForm::text;
    // Text without the level's own section is no level (and would show nothing).
    if (file.m_contents.m_level.m_gameTag.empty())
        throw CArchiveException(CArchiveException::badFormat,
                                "The file is not a Korvath/Varnok level file.");
    return file;
}
