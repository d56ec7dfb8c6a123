#pragma once
// The program's data files that a user may change (the template lists, the start and goals cog
// scripts, the material group file): the program installs a default of each in its program
// folder, which is not the user's to write; the user's own copies live in a data folder of the
// user's (the application gives the desktop's data location). A read takes the user's copy when
// there is one, else the installed default; a write always goes to the user's copy.
//
// Names are plain file names of the program ("korvath.dat"): a name with a folder in it, "." or
// ".." is refused, so that no name leads outside the two folders.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

struct CDataFolders {
    std::filesystem::path m_installed;  // the program folder with the defaults
    std::filesystem::path m_user;       // the user's copies; empty when the user has none

    // The file a read of name takes: the user's copy when it is a file (a link to one counts),
    // else the installed default, whether that exists or not. Empty for a name that is refused.
    std::filesystem::path ReadPath(std::string_view name) const;
    // The user's copy of name (whether it exists or not); empty without a user folder or for a
    // name that is refused.
    std::filesystem::path UserPath(std::string_view name) const;
    // The bytes of ReadPath(name). Throws CFileException when it cannot be read.
    std::vector<std::uint8_t> Read(std::string_view name) const;
    // Writes data as the user's copy of name, making the user folder when it is missing, through a
    // temporary file and a rename (a failed write leaves the old copy). The installed default is
    // never written. Throws CFileException when there is no user folder, the name is refused or
    // the file cannot be written.
    void Write(std::string_view name, std::span<const std::uint8_t> data) const;
};
