#include "framework/FileIO.h"

#include "framework/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

std::string ErrnoText()
{
    return std::strerror(errno);
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw CFileException("Cannot open \"" + path.string() + "\": " + ErrnoText() + ".");
    // Read into a buffer of the file's size; keep reading in case the file grows meanwhile.
    std::vector<std::uint8_t> data;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        if (size > 0)
            data.resize(static_cast<std::size_t>(size));
        std::fseek(f, 0, SEEK_SET);
    }
    std::size_t used = std::fread(data.data(), 1, data.size(), f);
    // Whatever the file holds beyond the size it had (it may grow meanwhile).
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        data.resize(used);
        data.insert(data.end(), chunk, chunk + n);
        used = data.size();
    }
    data.resize(used);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        throw CFileException("Cannot read \"" + path.string() + "\".");
    return data;
}

void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data)
{
    std::filesystem::path tmp = path;
    tmp += ".qztmp" + std::to_string(std::random_device{}() % 1000000u);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw CFileException("Cannot create \"" + path.string() + "\": " + ErrnoText() + ".");
    std::size_t done = 0;
    bool ok = true;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    std::string why = ok ? std::string() : ErrnoText();
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        why = ErrnoText();
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = ErrnoText();
    }
    if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) {
        ok = false;
        why = ErrnoText();
    }
    if (!ok) {
        std::remove(tmp.c_str());
        throw CFileException("Cannot write \"" + path.string() + "\": " + why + ".");
    }
}
