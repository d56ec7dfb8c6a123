// Fuzz target: a text level file, read for each product. A text the reader takes whole is a level
// the editor can open and save.

#include "LevelRoundTrip.h"

#include "framework/Exceptions.h"
#include "level/QzlReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> text(data, size);
    for (const int product : {0, 1}) {
        CQzlSections level;
        try {
            level = ReadWholeQzl(text, product);
        } catch (const CArchiveException&) {
            continue;
        }
        CheckLevelStoresAndReadsBack(level, {});
    }
    return 0;
}
