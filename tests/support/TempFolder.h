#pragma once
// A folder of its own under the system's temporary folder for one test: a unique name (tests run
// in parallel), removed with everything in it when the test ends.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class CTempFolder {
public:
    explicit CTempFolder(const std::string& prefix = "qz_test")
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
        else
            ADD_FAILURE() << "cannot make a temporary folder " << pattern;
    }
    ~CTempFolder()
    {
        std::error_code error;
        // A test may have taken the owner's rights away from it.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(m_path, error);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const
    {
        return m_path / name;
    }

private:
    std::filesystem::path m_path;
};
