#pragma once
// A game archive held in memory, for tests: files added in order, laid out as a packed archive
// file would be (data from 16 + 136 x count on, back to back), so offsets and sizes behave as they
// do on disk.

#include "resources/GameArchive.h"

#include <span>

class CMemoryGameArchive final : public GameArchive {
public:
    CMemoryGameArchive() = default;

    // Appends a file at the end of the directory. Throws CArchiveException (badFormat) for a path
    // that an archive cannot store or when the archive would outgrow 32-bit offsets.
    void Add(const std::string& path, std::span<const std::uint8_t> data);

    const std::vector<CGameArchiveEntry>& GetEntries() const override { return m_entries; }
    std::vector<std::uint8_t> ReadBytes(std::uint32_t offset, std::uint32_t size) const override;

private:
    std::uint64_t DataStart() const;

    std::vector<CGameArchiveEntry> m_entries;
    std::vector<std::uint8_t> m_data;  // every entry's bytes, back to back in directory order
};
