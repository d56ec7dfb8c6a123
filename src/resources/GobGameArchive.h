#pragma once
// The game's resource archive on disk. The directory is read once when the archive is opened; an
// entry's bytes are read when asked for, through the file opened then, so they come from the same
// file as the directory even if the path is replaced meanwhile. Every read is checked against the
// file's size at that moment.

#include "resources/GameArchive.h"

#include <filesystem>
#include <span>

class CGobGameArchive final : public GameArchive {
public:
    // Opens file and reads its directory. Throws CFileException when it cannot be opened or read,
    // CArchiveException (badFormat) when it is not a game archive.
    explicit CGobGameArchive(const std::filesystem::path& file);
    ~CGobGameArchive() override;
    CGobGameArchive(const CGobGameArchive&) = delete;
    CGobGameArchive& operator=(const CGobGameArchive&) = delete;

    const std::filesystem::path& GetPath() const { return m_path; }

    const std::vector<CGameArchiveEntry>& GetEntries() const override { return m_entries; }
    std::vector<std::uint8_t> ReadBytes(std::uint32_t offset, std::uint32_t size) const override;

private:
    // Fills buffer from offset on; throws CFileException when the file ends or fails first.
    void ReadFully(std::uint64_t offset, std::span<std::uint8_t> buffer) const;

    std::filesystem::path m_path;
    int m_fd = -1;
    std::vector<CGameArchiveEntry> m_entries;
};
