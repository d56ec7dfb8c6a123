#include "framework/CFormat.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace {

locale_t CLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Switches this thread to the C locale for the lifetime of the object.
class CScopedCLocale {
public:
    CScopedCLocale() : m_old(uselocale(CLocale())) {}
    ~CScopedCLocale() { uselocale(m_old); }
    CScopedCLocale(const CScopedCLocale&) = delete;
    CScopedCLocale& operator=(const CScopedCLocale&) = delete;

private:
    locale_t m_old;
};

}  // namespace

std::string FormatCV(const char* format, va_list args)
{
    CScopedCLocale c;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<std::size_t>(n));
}

std::string FormatC(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string s = FormatCV(format, args);
    va_end(args);
    return s;
}

int ScanC(const char* text, const char* format, ...)
{
    CScopedCLocale c;
    va_list args;
    va_start(args, format);
    const int r = std::vsscanf(text, format, args);
    va_end(args);
    return r;
}

double AtofC(const char* text)
{
    return strtod_l(text, nullptr, CLocale());
}

double StrtodC(const char* text, char** end)
{
    return strtod_l(text, end, CLocale());
}

int AtoiC(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    bool neg = false;
    if (*p == '+' || *p == '-')
        neg = *p++ == '-';
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
        v = v * 10 + (*p++ - '0');
        if (v > 2147483648LL)
            v = 2147483648LL;
    }
    if (neg)
        v = -v;
    if (v > 2147483647LL)
        v = 2147483647LL;
    return static_cast<int>(v);
}
