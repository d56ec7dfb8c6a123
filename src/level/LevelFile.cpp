#include "level/LevelFile.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/QzlReader.h"

#include <algorithm>
#include <cstring>
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
    // Blocks of 64 bytes tested 16 at a time (the compiler's vector types; no branch per byte);
    // the bytes after the last whole block one by one.
    using CBytes16 = std::uint8_t __attribute__((vector_size(16)));
    constexpr std::size_t kBlock = 64;
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const blocksEnd = p + bytes.size() / kBlock * kBlock;
    for (; p != blocksEnd; p += kBlock) {
        CBytes16 bad = {};
        for (std::size_t k = 0; k < kBlock; k += 16) {
            CBytes16 v;
            std::memcpy(&v, p + k, sizeof v);
            // !IsTextByte: a control character other than 0x09..0x0D and 0x1A.
            bad |= (v < 0x20) & (v - 9 > 4) & (v != 0x1A);
        }
        std::uint64_t halves[2];
        std::memcpy(halves, &bad, sizeof halves);
        if ((halves[0] | halves[1]) != 0)
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
