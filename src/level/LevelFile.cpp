#include "level/LevelFile.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/QzlReader.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

bool IsTextByte(std::uint8_t b)
{
    // Tab, line feed, vertical tab, form feed, carriage return, and the end-of-file mark of old
    // text files.
    return b >= 0x20 || (b >= 0x09 && b <= 0x0D) || b == 0x1A;
}

}  // namespace

ELevelForm LevelFormOf(std::span<const std::uint8_t> bytes)
{
    // The archive form begins with its tag string: a length byte, then "QZ" and the version.
    if (bytes.size() >= 3 && bytes[0] >= 2 && bytes[0] < 0xFF && bytes[1] == 'Q' && bytes[2] == 'Z')
        return ELevelForm::archive;
    return std::all_of(bytes.begin(), bytes.end(), IsTextByte) ? ELevelForm::text
                                                               : ELevelForm::archive;
}

CLevelFile LoadLevelFile(const std::filesystem::path& path, int product)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    CLevelFile file;
    file.m_form = LevelFormOf(bytes);
    if (file.m_form == ELevelForm::archive) {
        file.m_contents = ReadQzeBytes(bytes);
        return file;
    }
    file.m_contents.m_level = ReadWholeQzl(bytes, product);
    // Text without the level's own section is no level (and would show nothing).
    if (file.m_contents.m_level.m_gameTag.empty())
        throw CArchiveException(CArchiveException::badFormat,
                                "The file is not a Korvath/Varnok level file.");
    return file;
}
