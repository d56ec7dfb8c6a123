#include "resources/GobGameArchive.h"

#include "framework/Exceptions.h"
#include "resources/GobArchive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText()
{
    return std::strerror(errno);
}

}  // namespace

CGobGameArchive::CGobGameArchive(const std::filesystem::path& file) : m_path(file)
{
    m_fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        throw CFileException("Cannot open \"" + file.string() + "\": " + ErrnoText() + ".");
    try {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))
            throw CFileException("Cannot read \"" + file.string() + "\": not a regular file.");
        const CGobArchive::ReadAt readAt = [this](std::uint64_t offset,
                                                  std::span<std::uint8_t> buffer) {
            ReadFully(offset, buffer);
        };
        const CGobDirectory directory = CGobArchive::ReadDirectory(
            readAt, static_cast<std::uint64_t>(st.st_size), file.filename().string());
        m_entries.reserve(directory.m_entries.size());
        for (const CGobEntry& entry : directory.m_entries)
            m_entries.push_back({entry.m_path, entry.m_offset, entry.m_size});
    } catch (...) {
        ::close(m_fd);
        throw;
    }
}

CGobGameArchive::~CGobGameArchive()
{
    ::close(m_fd);
}

std::vector<std::uint8_t> CGobGameArchive::ReadBytes(std::uint32_t offset, std::uint32_t size) const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw CFileException("Cannot read \"" + m_path.string() + "\": " + ErrnoText() + ".");
    // The file may have been cut short since its directory was read.
    if (std::uint64_t{offset} + size > static_cast<std::uint64_t>(st.st_size))
        throw CArchiveException(CArchiveException::badFormat,
                                "\"" + m_path.filename().string() +
                                    "\" is not a game archive: the " + std::to_string(size) +
                                    " bytes at offset " + std::to_string(offset) +
                                    " run past the end of the file.");
    std::vector<std::uint8_t> data(size);
    ReadFully(offset, data);
    return data;
}

void CGobGameArchive::ReadFully(std::uint64_t offset, std::span<std::uint8_t> buffer) const
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::pread(m_fd, buffer.data() + done, buffer.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw CFileException("Cannot read \"" + m_path.string() + "\".");
        done += static_cast<std::size_t>(n);
    }
}
