// The form of a level file's content: one byte that no text holds, wherever it stands (in a
// block of the fast test or in the bytes after the last whole block), makes the file an archive.

#include "level/LevelFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

bool IsTextByteReference(std::uint8_t b)
{
    return b >= 0x20 || (b >= 0x09 && b <= 0x0D) || b == 0x1A;
}

TEST(LevelFormOf, EveryByteValueAtEveryKindOfPlace)
{
    for (const std::size_t size : {std::size_t{1}, std::size_t{63}, std::size_t{64},
                                   std::size_t{65}, std::size_t{200}, std::size_t{4099}}) {
        for (const std::size_t at :
             {std::size_t{0}, std::size_t{15}, std::size_t{16}, std::size_t{63}, std::size_t{64},
              std::size_t{130}, size - 1}) {
            if (at >= size)
                continue;
            for (int value = 0; value < 256; ++value) {
                // Text that cannot pass for the archive's tag: its second byte is no 'Q'.
                std::vector<std::uint8_t> bytes(size, 'a');
                bytes[0] = '#';
                bytes[at] = static_cast<std::uint8_t>(value);
                const ELevelForm expected = IsTextByteReference(static_cast<std::uint8_t>(value))
                                                ? ELevelForm::text
                                                : ELevelForm::archive;
                EXPECT_EQ(LevelFormOf(bytes), expected)
                    << "byte " << value << " at " << at << " of " << size;
            }
        }
    }
    EXPECT_EQ(LevelFormOf({}), ELevelForm::text);
}

}  // namespace
