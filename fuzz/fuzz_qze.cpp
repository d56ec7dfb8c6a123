// Fuzz target: the editor's level file. A file the reader takes is a level the editor opens and
// saves again.

#include "LevelRoundTrip.h"

#include "framework/Exceptions.h"
#include "level/QzeFile.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CQzeContents contents;
    try {
        contents = ReadQzeBytes(std::span<const std::uint8_t>(data, size));
    } catch (const CArchiveException&) {
        return 0;
    }
    CheckLevelStoresAndReadsBack(contents.m_level, contents.m_document);
    return 0;
}
