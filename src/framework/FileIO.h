#pragma once
// Whole-file reading and safe writing (temporary file then rename).

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Reads a whole regular file; throws CFileException when it cannot be opened or read, or when
// path names a folder or anything else that is not a regular file.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
// Writes data to path through a temporary file in the same folder and a rename, so that a failed
// write never leaves a half-written file behind; throws CFileException on failure. A path that is
// a symbolic link writes the file it leads to (the link stays), and a file that is replaced keeps
// its permission bits (and, where the system allows it, its owner and group); a new file gets the
// usual permissions of the process (0666 less the umask).
void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data);
