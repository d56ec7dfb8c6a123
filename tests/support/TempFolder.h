#pragma once
// Temporary folders for tests: each one new and of its own (several test programs and shards run
// at the same time), removed with everything in it when it goes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class CTempFolder {
public:
    // A new folder under the system's temporary folder whose name begins with prefix (characters
    // other than letters, digits, '-' and '_' become '_'). Throws std::filesystem::filesystem_error
    // when it cannot be made.
    explicit CTempFolder(const std::string& prefix = "qz_test");
    ~CTempFolder();
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

// A test fixture whose every test case gets a new folder of its own, m_dir, named after the test
// case; it exists from the fixture's construction until its destruction.
class TempFolderTest : public ::testing::Test {
protected:
    TempFolderTest();

private:
    CTempFolder m_temp;

protected:
    const std::filesystem::path m_dir;
};
