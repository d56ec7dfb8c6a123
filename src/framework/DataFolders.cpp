#include "framework/DataFolders.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"

#include <string>
#include <system_error>

namespace {

// A plain file name: not empty, no folder separator, not "." or "..".
bool IsPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

}  // namespace

std::filesystem::path CDataFolders::UserPath(std::string_view name) const
{
    if (m_user.empty() || !IsPlainName(name))
        return {};
    return m_user / name;
}

std::filesystem::path CDataFolders::ReadPath(std::string_view name) const
{
    if (!IsPlainName(name))
        return {};
    if (const std::filesystem::path user = UserPath(name); !user.empty()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(user, error))
            return user;
    }
    return m_installed / name;
}

std::vector<std::uint8_t> CDataFolders::Read(std::string_view name) const
{
    const std::filesystem::path path = ReadPath(name);
    if (path.empty())
        throw CFileException("Cannot read \"" + std::string(name) + "\": not a file name.");
    return ReadFileBytes(path);
}

void CDataFolders::Write(std::string_view name, std::span<const std::uint8_t> data) const
{
    if (!IsPlainName(name))
        throw CFileException("Cannot write \"" + std::string(name) + "\": not a file name.");
    if (m_user.empty())
        throw CFileException("Cannot write \"" + std::string(name) + "\": no user data folder.");
    std::error_code error;
    std::filesystem::create_directories(m_user, error);
    if (error)
        throw CFileException("Cannot write \"" + std::string(name) +
                             "\": cannot make the folder \"" + m_user.string() +
                             "\": " + error.message() + ".");
    WriteFileAtomic(m_user / name, data);
}
