#include "framework/FileIO.h"

#include "framework/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText()
{
    return std::strerror(errno);
}

std::string Quoted(const std::filesystem::path& path)
{
    return "\"" + path.string() + "\"";
}

// Closes a descriptor when it goes out of scope.
struct CFd {
    int fd = -1;
    ~CFd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The file that a write to path changes: path itself, or the end of the chain of symbolic links
// that starts there (a relative link is taken from the folder of the link).
std::filesystem::path LinkTarget(const std::filesystem::path& path)
{
    std::filesystem::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(p, error);
        if (error)
            throw CFileException("Cannot write " + Quoted(path) + ": " + error.message() + ".");
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    throw CFileException("Cannot write " + Quoted(path) + ": too many symbolic links.");
}

}  // namespace

CFileBytes ReadFileBuffer(const std::filesystem::path& path)
{
    // Without blocking: opening a named pipe must not wait for a writer before it is refused.
    CFd f;
    f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (f.fd < 0)
        throw CFileException("Cannot open " + Quoted(path) + ": " + ErrnoText() + ".");
    struct stat st {};
    if (::fstat(f.fd, &st) != 0)
        throw CFileException("Cannot read " + Quoted(path) + ": " + ErrnoText() + ".");
    if (S_ISDIR(st.st_mode))
        throw CFileException("Cannot open " + Quoted(path) + ": it is a folder, not a file.");
    if (!S_ISREG(st.st_mode))
        throw CFileException("Cannot open " + Quoted(path) + ": it is not a regular file.");

    // Read into a buffer of the file's size (plus room to notice growth); a file that grows
    // meanwhile moves to a buffer twice as large, as often as it keeps growing.
    std::size_t capacity = static_cast<std::size_t>(st.st_size) + 4096;
    auto data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            const std::size_t larger = capacity * 2;
            auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(larger);
            std::memcpy(grown.get(), data.get(), used);
            data = std::move(grown);
            capacity = larger;
        }
        const ssize_t n = ::read(f.fd, data.get() + used, capacity - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw CFileException("Cannot read " + Quoted(path) + ": " + ErrnoText() + ".");
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    return CFileBytes(std::move(data), used);
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    const CFileBytes bytes = ReadFileBuffer(path);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data)
{
    const std::filesystem::path file = LinkTarget(path);
    struct stat old {};
    const bool replacing = ::stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    std::filesystem::path tmp = file;
    tmp += ".qztmp" + std::to_string(std::random_device{}() % 1000000u);
    CFd f;
    f.fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (f.fd < 0)
        throw CFileException("Cannot create " + Quoted(path) + ": " + ErrnoText() + ".");
    bool ok = true;
    std::string why;
    const auto fail = [&] {
        ok = false;
        why = ErrnoText();
    };
    if (replacing) {
        // Owner and group first (changing them may clear the set-id bits), then the mode. Only
        // the super user may give a file away; otherwise the new file stays the writer's own.
        if (::fchown(f.fd, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(f.fd, static_cast<uid_t>(-1), old.st_gid);
        if (::fchmod(f.fd, old.st_mode & 07777) != 0)
            fail();
    }
    std::size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(f.fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail();
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(f.fd) != 0)
        fail();
    const int fd = f.fd;
    f.fd = -1;
    if (::close(fd) != 0 && ok)
        fail();
    if (ok && std::rename(tmp.c_str(), file.c_str()) != 0)
        fail();
    if (!ok) {
        std::remove(tmp.c_str());
        throw CFileException("Cannot write " + Quoted(path) + ": " + why + ".");
    }
}
