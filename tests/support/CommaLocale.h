#pragma once
// Switches LC_NUMERIC to a locale whose decimal separator is a comma, for tests that prove the
// number formats do not depend on the user's locale. When no such locale is installed, one is
// compiled from the system's locale sources (package "locales") into a temporary folder.

#include <string>

// Returns the name of the locale set, or an empty string when none could be made (the caller
// skips its test). The previous LC_NUMERIC is restored by RestoreNumericLocale.
std::string SetCommaNumericLocale();
void RestoreNumericLocale();
