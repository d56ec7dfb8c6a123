#include "support/TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace {

std::string CleanName(const std::string& text)
{
    std::string name = text;
    for (char& c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '_'))
            c = '_';
    return name;
}

// "qz_<suite>_<test>" of the running test case; "qz_test" outside one.
std::string TestCaseName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr)
        return "qz_test";
    return std::string("qz_") + info->test_suite_name() + "_" + info->name();
}

}  // namespace

CTempFolder::CTempFolder(const std::string& prefix)
{
    const std::string pattern =
        (std::filesystem::temp_directory_path() / (CleanName(prefix) + "_XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
        throw std::filesystem::filesystem_error("cannot make a temporary folder", pattern,
                                                std::error_code(errno, std::generic_category()));
    m_path = name.data();
}

CTempFolder::~CTempFolder()
{
    std::error_code ignored;
    // A test may have taken the owner's rights away from it.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

TempFolderTest::TempFolderTest() : m_temp(TestCaseName()), m_dir(m_temp.Path()) {}
