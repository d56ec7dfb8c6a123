#include "resources/GobArchive.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint8_t kMagic[4] = {'G', 'O', 'B', ' '};
constexpr std::uint64_t kMaxArchiveSize = std::numeric_limits<std::uint32_t>::max();

std::uint32_t GetWord(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::size_t CountBackslashes(std::string_view path)
{
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\'));
}

// Index of the last backslash, 0 when there is none.
std::size_t LastBackslash(std::string_view path)
{
    const std::size_t at = path.rfind('\\');
    return at == std::string_view::npos ? 0 : at;
}

// <0, 0, >0 comparing bytes as unsigned values, letter case counting.
int CompareBytes(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

[[noreturn]] void NotAnArchive(const std::string& fileName, const std::string& why)
{
    throw CArchiveException(CArchiveException::badFormat,
                            "\"" + fileName + "\" is not a game archive: " + why);
}

// The archive's end when its entries are packed: header, directory, then every entry's data.
std::uint64_t PackedSize(std::size_t count, std::uint64_t dataBytes)
{
    return CGobArchive::kHeaderSize + std::uint64_t{CGobArchive::kRecordSize} * count + dataBytes;
}

// A file opened for reading; closed when it goes out of scope.
struct CReadOnlyFd {
    int fd = -1;
    ~CReadOnlyFd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string ErrnoText()
{
    return std::strerror(errno);
}

}  // namespace

// --- The format ---

std::vector<std::uint8_t> CGobArchive::EmptyArchiveBytes()
{
    return CGobArchive().GetBytes();
}

CGobDirectory CGobArchive::ReadDirectory(const ReadAt& readAt, std::uint64_t fileSize,
                                         const std::string& fileName)
{
    if (fileSize < kHeaderSize)
        NotAnArchive(fileName, "it is shorter than the 16-byte header.");
    std::uint8_t header[kHeaderSize];
    readAt(0, header);
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0)
        NotAnArchive(fileName, "it does not begin with \"GOB \".");

    CGobDirectory directory;
    directory.m_version = GetWord(header + 4);
    directory.m_directoryOffset = GetWord(header + 8);
    const std::uint32_t count = GetWord(header + 12);
    const std::uint64_t directoryEnd = PackedSize(count, 0);
    if (directoryEnd > fileSize)
        NotAnArchive(fileName, "its directory of " + std::to_string(count) +
                                   " entries runs past the end of the file.");
    if (directoryEnd > kMaxArchiveSize)
        NotAnArchive(fileName, "its directory of " + std::to_string(count) +
                                   " entries is larger than 32-bit offsets reach.");

    // The directory lies inside the file, so its size is bounded by what is really there.
    std::vector<std::uint8_t> records(directoryEnd - kHeaderSize);
    if (!records.empty())
        readAt(kHeaderSize, records);
    directory.m_entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* record = records.data() + std::size_t{kRecordSize} * i;
        const auto* pathField = reinterpret_cast<const char*>(record + 8);
        const void* nul = std::memchr(pathField, '\0', kPathFieldSize);
        if (!nul)
            NotAnArchive(fileName,
                         "the path of entry " + std::to_string(i + 1) + " has no terminating NUL.");
        CGobEntry entry;
        entry.m_path.assign(pathField, static_cast<const char*>(nul));
        entry.m_offset = GetWord(record);
        entry.m_size = GetWord(record + 4);
        if (std::uint64_t{entry.m_offset} + entry.m_size > fileSize)
            NotAnArchive(fileName, "the data of entry " + std::to_string(i + 1) + " (\"" +
                                       entry.m_path + "\") run past the end of the file.");
        directory.m_entries.push_back(std::move(entry));
    }
    return directory;
}

CGobDirectory CGobArchive::ReadDirectory(std::span<const std::uint8_t> image,
                                         const std::string& fileName)
{
    const ReadAt readAt = [image](std::uint64_t offset, std::span<std::uint8_t> buffer) {
        std::memcpy(buffer.data(), image.data() + offset, buffer.size());
    };
    return ReadDirectory(readAt, image.size(), fileName);
}

CGobDirectory CGobArchive::ReadDirectory(const std::filesystem::path& file)
{
    CReadOnlyFd f;
    f.fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd < 0)
        throw CFileException("Cannot open \"" + file.string() + "\": " + ErrnoText() + ".");
    struct stat st {};
    if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw CFileException("Cannot read \"" + file.string() + "\": not a regular file.");
    const ReadAt readAt = [&f, &file](std::uint64_t offset, std::span<std::uint8_t> buffer) {
        std::size_t done = 0;
        while (done < buffer.size()) {
            const ssize_t n = ::pread(f.fd, buffer.data() + done, buffer.size() - done,
                                      static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw CFileException("Cannot read \"" + file.string() + "\".");
            done += static_cast<std::size_t>(n);
        }
    };
    return ReadDirectory(readAt, static_cast<std::uint64_t>(st.st_size), file.filename().string());
}

std::size_t CGobArchive::InsertionIndex(const std::vector<CGobEntry>& entries,
                                        std::string_view path)
{
    const std::size_t n = CountBackslashes(path);
    const std::size_t b = LastBackslash(path);
    for (std::size_t j = 1; j < entries.size(); ++j) {
        const std::string_view e = entries[j].m_path;
        const std::size_t ne = CountBackslashes(e);
        const std::size_t m = std::min(b, LastBackslash(e));
        const int prefix = CompareBytes(path.substr(0, m), e.substr(0, m));
        if (prefix < 0)
            return j;
        if (prefix == 0 && n < ne)
            return j;
        if (n <= ne && CompareBytes(path, e) <= 0)
            return j;
    }
    return entries.size();
}

std::vector<CGobFolderItem> CGobArchive::BuildFolderTree(const CGobDirectory& directory,
                                                         const std::filesystem::path& archivePath)
{
    std::vector<CGobFolderItem> items;
    items.push_back({-1, archivePath.filename().string(), archivePath.string(), kHeaderSize, 0});
    int parent = 0;
    int lastFolder = 0;
    std::size_t previousDepth = 1;
    std::string previousFolder = archivePath.string();
    for (std::size_t i = 0; i < directory.m_entries.size(); ++i) {
        const std::string& path = directory.m_entries[i].m_path;
        const std::size_t depth = CountBackslashes(path);
        // The last folder name of the entry's directory; a path without backslash stays whole.
        std::string folder = path;
        if (depth > 0) {
            const std::string dir = path.substr(0, path.rfind('\\'));
            const std::size_t at = dir.rfind('\\');
            folder = at == std::string::npos ? dir : dir.substr(at + 1);
        }
        if (depth > 0 && folder != previousFolder) {
            if (previousDepth < depth)
                parent = lastFolder;
            else if (depth < previousDepth && parent >= 0)
                parent = items[static_cast<std::size_t>(parent)].m_parent;  // one level up only
            const auto position = static_cast<std::uint32_t>(kHeaderSize + kRecordSize * i);
            items.push_back({parent, folder, path, position, static_cast<std::uint32_t>(depth)});
            lastFolder = static_cast<int>(items.size()) - 1;
        }
        previousDepth = depth;
        previousFolder = std::move(folder);
    }
    return items;
}

void CGobArchive::CheckEntryPath(std::string_view path)
{
    if (path.size() >= kPathFieldSize)
        throw CArchiveException(CArchiveException::badFormat,
                                "\"" + std::string(path) +
                                    "\" cannot be stored in a game archive: a path must be "
                                    "shorter than 128 characters.");
    if (path.find('\0') != std::string_view::npos)
        throw CArchiveException(CArchiveException::badFormat,
                                "A path that holds a NUL character cannot be stored in a game "
                                "archive.");
}

// --- The archive in memory ---

CGobArchive CGobArchive::FromBytes(std::span<const std::uint8_t> image, const std::string& fileName)
{
    CGobArchive archive;
    archive.m_directory = ReadDirectory(image, fileName);
    std::uint64_t dataBytes = 0;
    for (const CGobEntry& entry : archive.m_directory.m_entries)
        dataBytes += entry.m_size;
    // Entries may share data in a file written by another tool; packed apart they must still fit
    // 32-bit offsets, which also bounds what is copied here.
    if (PackedSize(archive.m_directory.m_entries.size(), dataBytes) > kMaxArchiveSize)
        throw CArchiveException(CArchiveException::badFormat,
                                "\"" + fileName +
                                    "\" cannot be rewritten: its entries hold more than 4 GB.");
    archive.m_data.reserve(archive.m_directory.m_entries.size());
    for (const CGobEntry& entry : archive.m_directory.m_entries) {
        const auto first = image.begin() + static_cast<std::ptrdiff_t>(entry.m_offset);
        archive.m_data.emplace_back(first, first + static_cast<std::ptrdiff_t>(entry.m_size));
    }
    archive.Pack();
    return archive;
}

CGobArchive CGobArchive::Load(const std::filesystem::path& file)
{
    return FromBytes(ReadFileBytes(file), file.filename().string());
}

std::vector<std::uint8_t> CGobArchive::GetBytes() const
{
    const std::vector<CGobEntry>& entries = m_directory.m_entries;
    std::size_t total = kHeaderSize + kRecordSize * entries.size();
    for (const std::vector<std::uint8_t>& data : m_data)
        total += data.size();
    // Filled through a cursor into a buffer of the final size.
    std::vector<std::uint8_t> out(total, 0);
    std::size_t at = 0;
    const auto put = [&out, &at](const void* bytes, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(bytes);
        std::copy(p, p + size, out.begin() + static_cast<std::ptrdiff_t>(at));
        at += size;
    };
    const auto putWord = [&put](std::uint32_t value) {
        const std::uint8_t b[4] = {
            static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        put(b, sizeof b);
    };
    put(kMagic, sizeof kMagic);
    putWord(m_directory.m_version);
    putWord(m_directory.m_directoryOffset);
    putWord(static_cast<std::uint32_t>(entries.size()));
    for (const CGobEntry& entry : entries) {
        putWord(entry.m_offset);
        putWord(entry.m_size);
        put(entry.m_path.data(), entry.m_path.size());
        at += kPathFieldSize - entry.m_path.size();  // the rest of the path field stays zero
    }
    for (const std::vector<std::uint8_t>& data : m_data)
        put(data.data(), data.size());
    return out;
}

void CGobArchive::Save(const std::filesystem::path& file) const
{
    WriteFileAtomic(file, GetBytes());
}

std::size_t CGobArchive::Add(const std::string& path, std::span<const std::uint8_t> data)
{
    CheckEntryPath(path);
    std::vector<CGobEntry>& entries = m_directory.m_entries;
    const std::uint64_t end = entries.empty()
                                  ? kHeaderSize
                                  : std::uint64_t{entries.back().m_offset} + entries.back().m_size;
    if (end + kRecordSize + data.size() > kMaxArchiveSize)
        throw CArchiveException(CArchiveException::badFormat,
                                "\"" + path +
                                    "\" cannot be added: a game archive holds at most "
                                    "4 GB.");
    const std::size_t j = InsertionIndex(entries, path);
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(j),
                   CGobEntry{path, 0, static_cast<std::uint32_t>(data.size())});
    m_data.emplace(m_data.begin() + static_cast<std::ptrdiff_t>(j), data.begin(), data.end());
    Pack();
    return j;
}

bool CGobArchive::Remove(std::string_view path)
{
    std::vector<CGobEntry>& entries = m_directory.m_entries;
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [path](const CGobEntry& e) { return e.m_path == path; });
    if (it == entries.end())
        return false;
    const auto index = it - entries.begin();
    entries.erase(it);
    m_data.erase(m_data.begin() + index);
    Pack();
    return true;
}

void CGobArchive::Pack()
{
    std::vector<CGobEntry>& entries = m_directory.m_entries;
    // Add and FromBytes have checked that the packed archive fits 32-bit offsets.
    auto offset = static_cast<std::uint32_t>(PackedSize(entries.size(), 0));
    for (CGobEntry& entry : entries) {
        entry.m_offset = offset;
        offset += entry.m_size;
    }
}

// --- Operations on an archive file ---

void CGobArchive::CreateEmptyArchive(const std::filesystem::path& file)
{
    WriteFileAtomic(file, EmptyArchiveBytes());
}

void CGobArchive::WriteArchive(const std::filesystem::path& file, const std::string& entryPath,
                               std::span<const std::uint8_t> data)
{
    CheckEntryPath(entryPath);
    CGobArchive archive = Load(file);
    archive.Add(entryPath, data);
    archive.Save(file);
}

bool CGobArchive::RewriteArchive(const std::filesystem::path& file, std::string_view entryPath)
{
    CGobArchive archive = Load(file);
    if (!archive.Remove(entryPath))
        return false;
    archive.Save(file);
    return true;
}
