#include "support/CommaLocale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string g_saved;

bool HasCommaSeparator()
{
    const std::lconv* lc = std::localeconv();
    return lc && lc->decimal_point && std::string(lc->decimal_point) == ",";
}

bool TrySet(const char* name)
{
    return std::setlocale(LC_NUMERIC, name) && HasCommaSeparator();
}

}  // namespace

std::string SetCommaNumericLocale()
{
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    g_saved = current ? current : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (TrySet(name))
            return name;

    // Compile de_DE.UTF-8 into a private folder and point glibc at it.
    const auto dir = std::filesystem::temp_directory_path() / "qz_test_locales";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const auto target = dir / "de_DE.UTF-8";
    if (!std::filesystem::exists(target / "LC_NUMERIC")) {
        const std::string cmd =
            "localedef -i de_DE -f UTF-8 '" + target.string() + "' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0 && !std::filesystem::exists(target / "LC_NUMERIC"))
            return {};
    }
    setenv("LOCPATH", dir.c_str(), 1);
    if (TrySet("de_DE.UTF-8"))
        return "de_DE.UTF-8 (compiled for the test)";
    std::setlocale(LC_NUMERIC, g_saved.c_str());
    return {};
}

void RestoreNumericLocale()
{
    std::setlocale(LC_NUMERIC, g_saved.empty() ? "C" : g_saved.c_str());
}
