#pragma once
// printf/scanf-style formatting and parsing that always use the C locale, whatever locale the
// process runs in (a decimal comma would corrupt every level file).

#include <cstdarg>
#include <string>
#include <string_view>

std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatCV(const char* format, va_list args);
// sscanf in the C locale; returns what sscanf returns.
int ScanC(const char* text, const char* format, ...) __attribute__((format(scanf, 2, 3)));
// atof in the C locale: leading white space skipped, text that is no number gives 0.0.
double AtofC(const char* text);
// strtod in the C locale; end receives the first character not used.
double StrtodC(const char* text, char** end);
// atoi semantics (leading white space, sign, digits; no number gives 0), no locale involved.
int AtoiC(const char* text);
