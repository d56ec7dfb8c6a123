// Fuzz target: a game archive. An archive the reader takes packs to an image that reads back with
// the same entries and data, and packs again to the same bytes.

#include "framework/Exceptions.h"
#include "resources/GobArchive.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> image(data, size);
    // The directory alone, as the game index reads it, and the whole archive.
    try {
        (void)CGobArchive::ReadDirectory(image, "fuzz.gob");
    } catch (const CArchiveException&) {
    }
    CGobArchive archive;
    try {
        archive = CGobArchive::FromBytes(image, "fuzz.gob");
    } catch (const CArchiveException&) {
        return 0;
    }
    const std::vector<std::uint8_t> packed = archive.GetBytes();
    try {
        const CGobArchive back = CGobArchive::FromBytes(packed, "fuzz.gob");
        bool same = back.GetEntries().size() == archive.GetEntries().size();
        for (std::size_t i = 0; same && i < archive.GetEntries().size(); ++i)
            same = back.GetEntries()[i].m_path == archive.GetEntries()[i].m_path &&
                   std::ranges::equal(back.GetData(i), archive.GetData(i));
        if (!same || back.GetBytes() != packed) {
            std::fprintf(stderr, "an archive packs to an image that reads back otherwise\n");
            std::abort();
        }
    } catch (const CArchiveException& e) {
        std::fprintf(stderr, "an archive the reader took does not read back once packed: %s\n",
                     e.what());
        std::abort();
    }
    return 0;
}
