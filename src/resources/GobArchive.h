#pragma once
// The game's resource archive (".gob" for the base game, ".goo" for the expansion; one layout):
//
//   header     16 bytes: "GOB ", version word (0x14), directory word (12), entry count
//   directory  count records of 136 bytes: data offset, data size, path (128 bytes, NUL-terminated,
//              folders separated by backslashes)
//   data       the entries' bytes; as we write them, packed back to back in directory order from
//              16 + 136 x count on
//
// All words are 32-bit little-endian, unsigned. Every file is read as hostile: the directory and
// every entry's data must lie inside the file, else the file is reported as not an archive
// (CArchiveException badFormat) before anything is allocated for it.
//
// The operations on a file each read the whole archive, change it in memory and write it back
// through a temporary file and a rename, so a failure never leaves a half-written archive.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One directory record.
struct CGobEntry {
    std::string m_path;          // e.g. "cog\door.cog"; never holds a NUL
    std::uint32_t m_offset = 0;  // absolute position of the data in the file
    std::uint32_t m_size = 0;

    friend bool operator==(const CGobEntry&, const CGobEntry&) = default;
};

// The header words that a rewrite keeps, and the directory.
struct CGobDirectory {
    std::uint32_t m_version = 0x14;        // word at offset 4, kept as read
    std::uint32_t m_directoryOffset = 12;  // word at offset 8, kept as read (the directory is
                                           // always taken from offset 16)
    std::vector<CGobEntry> m_entries;
};

// One item of the archive's folder tree, as the File Manager shows it. The first item is the root
// (the archive itself); every further item is a folder, named by the first entry met in it.
struct CGobFolderItem {
    int m_parent = -1;           // index of the parent item in the list; -1 = top level of the tree
    std::string m_label;         // root: the archive's file name; folder: its last folder name
    std::string m_path;          // root: the archive path; folder: the full path of its first entry
    std::uint32_t m_offset = 0;  // root: 16; folder: position of that entry's directory record
    std::uint32_t m_size = 0;    // root: 0; folder: its depth (backslashes in the entry's path)

    friend bool operator==(const CGobFolderItem&, const CGobFolderItem&) = default;
};

// A whole archive held in memory: header words, directory and every entry's bytes. The directory's
// data offsets always describe the packed layout that GetBytes produces.
class CGobArchive {
public:
    static constexpr std::uint32_t kHeaderSize = 16;
    static constexpr std::uint32_t kRecordSize = 136;
    static constexpr std::uint32_t kPathFieldSize = 128;

    // Reads bytes at an offset of a file; must fill the whole buffer or throw.
    using ReadAt = std::function<void(std::uint64_t offset, std::span<std::uint8_t> buffer)>;

    // An empty archive: "GOB ", 0x14, 12, 0.
    CGobArchive() = default;

    // Parses a whole archive image. fileName names the file in error messages.
    static CGobArchive FromBytes(std::span<const std::uint8_t> image, const std::string& fileName);
    // Reads a whole archive file (CFileException when it cannot be read).
    static CGobArchive Load(const std::filesystem::path& file);

    // The packed image: header, directory, then the data in directory order.
    std::vector<std::uint8_t> GetBytes() const;
    // Writes GetBytes to file through a temporary file and a rename.
    void Save(const std::filesystem::path& file) const;

    const CGobDirectory& GetDirectory() const { return m_directory; }
    const std::vector<CGobEntry>& GetEntries() const { return m_directory.m_entries; }
    std::span<const std::uint8_t> GetData(std::size_t index) const { return m_data.at(index); }

    // Adds an entry at its ordered place (InsertionIndex); a path that is already there gives a
    // second entry. Refuses (CArchiveException badFormat) a path of 128 characters or more, a path
    // holding a NUL, and an archive that would outgrow 32-bit offsets. Returns the new index.
    std::size_t Add(const std::string& path, std::span<const std::uint8_t> data);
    // Removes the first entry whose path equals path byte for byte (letter case counts). Returns
    // false, changing nothing, when no entry carries that path.
    bool Remove(std::string_view path);

    // --- The format ---

    // The 16 bytes of a new, empty archive.
    static std::vector<std::uint8_t> EmptyArchiveBytes();
    // The header and directory of an archive image.
    static CGobDirectory ReadDirectory(std::span<const std::uint8_t> image,
                                       const std::string& fileName);
    // The header and directory of an archive file; entry data are not read.
    static CGobDirectory ReadDirectory(const std::filesystem::path& file);
    // The header and directory of a file of fileSize bytes reached through readAt. Nothing is
    // read or allocated past fileSize.
    static CGobDirectory ReadDirectory(const ReadAt& readAt, std::uint64_t fileSize,
                                       const std::string& fileName);

    // Where a new path goes among entries: the first index j from 1 on where, with m the shorter of
    // the two folder prefixes (up to the last backslash, 0 without one), the new path's first m
    // bytes sort before the entry's, or they are equal and the new path has fewer backslashes, or
    // it has no more backslashes and sorts before the entry or equals it; else the end. Index 0 is
    // never chosen while entries exist. Bytes compare unsigned, letter case counts.
    static std::size_t InsertionIndex(const std::vector<CGobEntry>& entries, std::string_view path);

    // The folder items of the directory, in insertion order (parents before children).
    static std::vector<CGobFolderItem> BuildFolderTree(const CGobDirectory& directory,
                                                       const std::filesystem::path& archivePath);

    // Throws CArchiveException badFormat when path cannot be stored in a directory record.
    static void CheckEntryPath(std::string_view path);

    // --- Operations on an archive file ---

    // Creates (or truncates) file as an empty archive.
    static void CreateEmptyArchive(const std::filesystem::path& file);
    // Adds an entry with a copy of data at its ordered place and rewrites the file.
    static void WriteArchive(const std::filesystem::path& file, const std::string& entryPath,
                             std::span<const std::uint8_t> data);
    // Removes the first entry of entryPath and rewrites the file. Returns false, leaving the file
    // untouched, when no entry carries that path.
    static bool RewriteArchive(const std::filesystem::path& file, std::string_view entryPath);

private:
    // Assigns the packed data offsets in directory order.
    void Pack();

    CGobDirectory m_directory;
    std::vector<std::vector<std::uint8_t>> m_data;  // one buffer per entry, in directory order
};
