#pragma once
// The open game resource archive as the core sees it: its entries, finding one by name or path,
// and reading an entry's bytes. The application opens the product's archive on disk
// (CGobGameArchive); tests use an archive held in memory (CMemoryGameArchive).

#include "framework/StringUtil.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One entry of the archive: its path inside the archive (folders separated by backslashes), and
// where its data lie.
struct CGameArchiveEntry {
    std::string m_path;
    std::uint32_t m_offset = 0;
    std::uint32_t m_size = 0;

    // The part of the path after its last backslash (the whole path when it has none).
    std::string_view GetName() const
    {
        const std::string_view path = m_path;
        const std::size_t at = path.rfind('\\');
        return at == std::string_view::npos ? path : path.substr(at + 1);
    }

    friend bool operator==(const CGameArchiveEntry&, const CGameArchiveEntry&) = default;
};

class GameArchive {
public:
    virtual ~GameArchive() = default;

    // Every entry, in directory order.
    virtual const std::vector<CGameArchiveEntry>& GetEntries() const = 0;

    // The size bytes at offset. Throws CArchiveException (badFormat) when they do not lie inside
    // the archive, CFileException when the archive cannot be read.
    virtual std::vector<std::uint8_t> ReadBytes(std::uint32_t offset, std::uint32_t size) const = 0;

    std::vector<std::uint8_t> ReadEntry(const CGameArchiveEntry& entry) const
    {
        return ReadBytes(entry.m_offset, entry.m_size);
    }

    // The first entry, in directory order, whose name (the part of its path after the last
    // backslash) equals name ignoring ASCII letter case; nullptr when none does.
    const CGameArchiveEntry* FindByName(std::string_view name) const
    {
        for (const CGameArchiveEntry& entry : GetEntries())
            if (EqualsNoCase(entry.GetName(), name))
                return &entry;
        return nullptr;
    }

    // The first entry whose whole path equals path ignoring ASCII letter case; nullptr when none.
    const CGameArchiveEntry* FindByPath(std::string_view path) const
    {
        for (const CGameArchiveEntry& entry : GetEntries())
            if (EqualsNoCase(entry.m_path, path))
                return &entry;
        return nullptr;
    }

protected:
    GameArchive() = default;
    GameArchive(const GameArchive&) = default;
    GameArchive& operator=(const GameArchive&) = default;
};
