#pragma once
// Whole-file reading and safe writing (temporary file then rename).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <utility>
#include <vector>

// The bytes of a whole file, held in a buffer that is not zero-filled before the read fills it
// (the readers of large levels would otherwise clear every byte once more before reading it).
class CFileBytes {
public:
    CFileBytes() = default;
    CFileBytes(std::unique_ptr<std::uint8_t[]> data, std::size_t size)
        : m_data(std::move(data)), m_size(size)
    {}

    const std::uint8_t* data() const { return m_data.get(); }
    std::size_t size() const { return m_size; }
    const std::uint8_t* begin() const { return m_data.get(); }
    const std::uint8_t* end() const { return m_data.get() + m_size; }
    operator std::span<const std::uint8_t>() const { return {m_data.get(), m_size}; }

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_size = 0;
};

// Reads a whole regular file; throws CFileException when it cannot be opened or read, or when
// path names a folder or anything else that is not a regular file. The bytes are those that were
// there when the read ended: a file that grows or shrinks meanwhile gives what the reads returned.
CFileBytes ReadFileBuffer(const std::filesystem::path& path);
// ReadFileBuffer into a vector.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
// Writes data to path through a temporary file in the same folder and a rename, so that a failed
// write never leaves a half-written file behind; throws CFileException on failure. A path that is
// a symbolic link writes the file it leads to (the link stays), and a file that is replaced keeps
// its permission bits (and, where the system allows it, its owner and group); a new file gets the
// usual permissions of the process (0666 less the umask).
void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data);
