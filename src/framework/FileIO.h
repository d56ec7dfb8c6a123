#pragma once
// Whole-file reading and safe writing (temporary file then rename).

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Reads a whole file; throws CFileException when it cannot be opened or read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
// Writes data to path through a temporary file in the same folder and a rename, so that a failed
// write never leaves a half-written file behind; throws CFileException on failure.
void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data);
