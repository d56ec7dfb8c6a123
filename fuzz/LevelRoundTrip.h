#pragma once
// What every level the readers take must allow: store it as the editor's level file, read that
// back, and store it again to the same bytes. Aborts (the fuzz target's failure) otherwise.

#include "framework/Exceptions.h"
#include "level/QzeFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

inline void CheckLevelStoresAndReadsBack(CQzlSections& level, const CDocumentFields& document)
{
    const std::vector<std::uint8_t> stored = WriteQzeBytes(level, document);
    try {
        CQzeContents back = ReadQzeBytes(stored);
        if (WriteQzeBytes(back.m_level, back.m_document) != stored) {
            std::fprintf(stderr, "a level stores to other bytes once read back\n");
            std::abort();
        }
    } catch (const CArchiveException& e) {
        std::fprintf(stderr, "a level the reader took does not read back once stored: %s\n",
                     e.what());
        std::abort();
    }
}
