#pragma once
// A level file as the editor opens it, for the tests that compare files written after an undo.

#include <cstdint>
#include <filesystem>
#include <vector>

// The level of the file at path with every sector built (which also computes bounds and adjoin
// distances), in the archive form.
std::vector<std::uint8_t> OpenedLevelBytes(const std::filesystem::path& path);
