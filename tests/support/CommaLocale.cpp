#include "support/CommaLocale.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
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
    std::setlocale(LC_NUMERIC, g_saved.c_str());
    return {};
}

void RestoreNumericLocale()
{
    std::setlocale(LC_NUMERIC, g_saved.empty() ? "C" : g_saved.c_str());
}

bool RunningInCi()
{
    const char* value = std::getenv("CI");
    if (value == nullptr)
        return false;
    std::string text = value;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return !(text.empty() || text == "0" || text == "false" || text == "no");
}
