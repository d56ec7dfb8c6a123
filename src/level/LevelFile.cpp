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
    // Whole blocks of a fixed size without an early exit, so that the compiler tests many bytes
    // at once; the bytes after the last whole block one by one.
    constexpr std::size_t kBlock = 64;
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const blocksEnd = p + bytes.size() / kBlock * kBlock;
    for (; p != blocksEnd; p += kBlock) {
        std::uint8_t bad = 0;
        for (std::size_t i = 0; i < kBlock; ++i) {
            // !IsTextByte without branches: a control character other than 0x09..0x0D and 0x1A.
            const std::uint8_t b = p[i];
            bad |= static_cast<std::uint8_t>(b < 0x20u && static_cast<std::uint8_t>(b - 9u) > 4u &&
                                             b != 0x1Au);
        }
        if (bad != 0)
            return ELevelForm::archive;
    }
    if (!std::all_of(p, bytes.data() + bytes.size(), IsTextByte))
        return ELevelForm::archive;
    return ELevelForm::text;
}

CLevelFile LoadLevelFile(const std::filesystem::path& path, int product)
{
    const CFileBytes bytes = ReadFileBuffer(path);
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
