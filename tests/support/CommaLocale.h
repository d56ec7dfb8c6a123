#pragma once
// Switches LC_NUMERIC to an installed locale whose decimal separator is a comma, for tests that
// prove the number formats do not depend on the user's locale. scripts/deps.sh generates
// de_DE.UTF-8 for them.

#include <gtest/gtest.h>

#include <string>

// Returns the name of the locale set, or an empty string when the system has none. The previous
// LC_NUMERIC is restored by RestoreNumericLocale.
std::string SetCommaNumericLocale();
void RestoreNumericLocale();

// True when the environment variable CI is set to anything but "", "0", "false" or "no" (any
// letter case), as scripts/test.sh reads it.
bool RunningInCi();

// What a test without the comma locale says.
inline constexpr const char* kNoCommaLocale =
    "no locale with a decimal comma: de_DE.UTF-8 is missing (scripts/deps.sh generates it)";

// In a test body: sets the comma locale. Without one the test fails in CI, where the locale is
// part of the set-up, and is skipped elsewhere.
#define QZ_USE_COMMA_LOCALE()                   \
    do {                                        \
        if (SetCommaNumericLocale().empty()) {  \
            if (RunningInCi()) {                \
                FAIL() << kNoCommaLocale;       \
            } else {                            \
                GTEST_SKIP() << kNoCommaLocale; \
            }                                   \
        }                                       \
    } while (false)
