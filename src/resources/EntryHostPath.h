#pragma once
// Where an archive entry goes on disk. An entry's path is data from a file and never chooses a
// place outside the folder the user (or the editor) chose: only its file name is used, the text
// after the last backslash or slash, and a name that cannot be a plain file name in that folder is
// refused. Every extraction and export of an entry goes through here.

#include <filesystem>
#include <optional>
#include <string_view>

// folder / the entry's file name, or nullopt when that name is empty, "." or "..", holds a colon
// (a drive letter such as "C:" or a stream name), a control character (below 0x20, or 0x7F), or
// would otherwise name anything but a file directly inside folder.
std::optional<std::filesystem::path> EntryHostPath(const std::filesystem::path& folder,
                                                   std::string_view entryName);

// folder / the entry's whole relative path ("3do\mat\wall.mat" gives folder/3do/mat/wall.mat),
// or nullopt when any of its parts, between backslashes or slashes, fails the rule above: so an
// empty part (a leading separator, two in a row, a trailing one), ".", "..", a drive letter or a
// control character refuses the whole path.
std::optional<std::filesystem::path> EntryRelativeHostPath(const std::filesystem::path& folder,
                                                           std::string_view entryPath);
