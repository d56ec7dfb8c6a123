#include "level/QzlLines.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale.h>
#include <system_error>

namespace {

bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Sixteen bytes at a time with the compiler's vector types (a line of numbers is upper-cased as
// it is read, so this runs over nearly every byte of a level).
using CBytes16 = std::uint8_t __attribute__((vector_size(16)));

void UpperInPlace(std::string& s)
{
    char* p = s.data();
    const std::size_t n = s.size();
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        CBytes16 v;
        std::memcpy(&v, p + i, sizeof v);
        const CBytes16 lower = reinterpret_cast<CBytes16>((v >= 'a') & (v <= 'z'));
        v -= lower & 0x20;
        std::memcpy(p + i, &v, sizeof v);
    }
    for (; i < n; ++i)
        if (p[i] >= 'a' && p[i] <= 'z')
            p[i] = static_cast<char>(p[i] - 'a' + 'A');
}

bool IsLineStop(std::uint8_t b)
{
    return b == '\n' || b == '\r' || b == 0;
}

// Offset of the first line feed, carriage return or byte 0 of the n bytes at p; n when there is
// none. Sixteen bytes at a time: the lines of a level are short, and a library search per kind
// of byte costs more than the line.
std::size_t FindLineStop(const std::uint8_t* p, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        CBytes16 v;
        std::memcpy(&v, p + i, sizeof v);
        const auto hit = (v == '\n') | (v == '\r') | (v == 0);
        std::uint64_t halves[2];
        std::memcpy(halves, &hit, sizeof halves);
        if (halves[0] != 0)
            return i + static_cast<std::size_t>(__builtin_ctzll(halves[0])) / 8;
        if (halves[1] != 0)
            return i + 8 + static_cast<std::size_t>(__builtin_ctzll(halves[1])) / 8;
    }
    for (; i < n; ++i)
        if (IsLineStop(p[i]))
            return i;
    return n;
}

void LowerInPlace(std::string& s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The limits within which a decimal of mantissa m and k fraction digits is m / 10^k computed in T:
// both operands exact, so the one division rounds correctly, as strtod and strtof do.
template <typename T>
struct CExactDivision;
template <>
struct CExactDivision<double> {
    static constexpr std::uint64_t kMaxMantissa = std::uint64_t{1} << 53;
    static constexpr int kMaxPower = 22;
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
};
template <>
struct CExactDivision<float> {
    static constexpr std::uint64_t kMaxMantissa = std::uint64_t{1} << 24;
    static constexpr int kMaxPower = 10;
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                        1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
};

template <typename T>
bool ParsePlain(const char*& p, T& value)
{
    // from_chars takes a minus sign but no plus sign; after a plus sign no minus may follow.
    const char* from = *p == '+' ? p + 1 : p;
    const bool negative = *from == '-' && from == p;
    const char* q = negative ? from + 1 : from;
    // Nineteen digits always fit the mantissa; a longer number goes to the library's conversion.
    constexpr std::size_t kMaxDigits = 19;
    std::size_t digits = 0;
    std::uint64_t mantissa = 0;
    int fractionDigits = 0;
    // The mantissa and its fraction digits up to the last digit that is not a zero of the
    // fraction's end: zeros there change nothing, and dropping them as they are read spares a
    // division by a power of ten.
    std::uint64_t kept = 0;
    int keptFractionDigits = 0;
    const auto take = [&](char c) {
        ++digits;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');  // wraps past 19 digits
    };
    for (; IsDigit(*q); ++q)
        take(*q);
    kept = mantissa;
    if (*q == '.') {
        for (++q; IsDigit(*q); ++q) {
            take(*q);
            ++fractionDigits;
            if (*q != '0') {
                kept = mantissa;
                keptFractionDigits = fractionDigits;
            }
        }
    }
    if (digits == 0 || IsLetterOrDigit(*q) || *q == '.')
        return false;
    if (digits <= kMaxDigits && kept <= CExactDivision<T>::kMaxMantissa &&
        keptFractionDigits <= CExactDivision<T>::kMaxPower && FLT_EVAL_METHOD == 0) {
        const T magnitude = static_cast<T>(kept) / CExactDivision<T>::kPowers[keptFractionDigits];
        value = negative ? -magnitude : magnitude;
        p = q;
        return true;
    }
    T parsed{};
    const auto [end, error] = std::from_chars(from, q, parsed);
    if (error != std::errc() || end != q)
        return false;
    value = parsed;
    p = q;
    return true;
}

// "%d" of at most nine digits (no overflow to mind).
bool ParsePlainInt(const char*& p, int& value)
{
    const char* q = p;
    const bool negative = *q == '-';
    if (*q == '+' || *q == '-')
        ++q;
    int v = 0;
    int digits = 0;
    for (; IsDigit(*q); ++q, ++digits) {
        if (digits == 9)
            return false;
        v = v * 10 + (*q - '0');
    }
    if (digits == 0)
        return false;
    value = negative ? -v : v;
    p = q;
    return true;
}

// "%x" of at most eight hexadecimal digits, with or without "0x", without a sign.
bool ParsePlainHex(const char*& p, unsigned& value)
{
    const char* q = p;
    if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X'))
        q += 2;
    unsigned v = 0;
    int digits = 0;
    for (; IsHexDigit(*q); ++q, ++digits) {
        if (digits == 8)
            return false;
        const char c = *q;
        const unsigned digit = IsDigit(c)               ? static_cast<unsigned>(c - '0')
                               : (c >= 'a' && c <= 'f') ? static_cast<unsigned>(c - 'a' + 10)
                                                        : static_cast<unsigned>(c - 'A' + 10);
        v = v * 16 + digit;
    }
    if (digits == 0)
        return false;
    value = v;
    p = q;
    return true;
}

constexpr int kNeedsFullScan = -2;

// The plain path of ScanNumbers: what sscanf returns, or kNeedsFullScan.
int ScanPlain(const char* text, const char* format, va_list args)
{
    int done = 0;
    const char* p = text;
    for (const char* f = format; *f != '\0'; ++f) {
        if (IsScanSpace(*f)) {
            while (IsScanSpace(*p))
                ++p;
            continue;
        }
        if (*f != '%') {
            if (*p == '\0')
                return done > 0 ? done : EOF;
            if (*p != *f)
                return done;
            ++p;
            continue;
        }
        const char conversion = *++f;
        if (conversion != 'd' && conversion != 'x' && conversion != 'X' && conversion != 'f')
            return kNeedsFullScan;
        while (IsScanSpace(*p))
            ++p;
        if (*p == '\0')
            return done > 0 ? done : EOF;
        bool plain = false;
        if (conversion == 'd')
            plain = ParsePlainInt(p, *va_arg(args, int*));
        else if (conversion == 'f')
            plain = ParsePlain(p, *va_arg(args, float*));
        else
            plain = ParsePlainHex(p, *va_arg(args, unsigned*));
        if (!plain)
            return kNeedsFullScan;
        ++done;
    }
    return done;
}

__attribute__((format(scanf, 2, 0))) int FullScan(const char* text, const char* format,
                                                  va_list args)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t old = uselocale(c);
    const int result = std::vsscanf(text, format, args);
    uselocale(old);
    return result;
}

}  // namespace

bool ParsePlainDecimal(const char*& p, float& value)
{
    return ParsePlain(p, value);
}

bool ParsePlainDecimal(const char*& p, double& value)
{
    return ParsePlain(p, value);
}

int ScanNumbers(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int result = ScanPlain(text, format, args);
    if (result == kNeedsFullScan)
        result = FullScan(text, format, again);
    va_end(again);
    va_end(args);
    return result;
}

bool CQzlLineReader::ReadLine(std::string& line, std::size_t maxLength)
{
    m_lastStart = m_pos;
    m_lastLinesEnded = m_linesEnded;
    m_lastLineNumber = m_lineNumber;
    line.clear();
    const std::size_t size = m_text.size();
    if (m_pos >= size)
        return false;
    m_lineNumber = m_linesEnded + 1;

    const std::uint8_t* data = m_text.data();
    const std::size_t start = m_pos;
    const std::size_t limit = size - start < maxLength ? size : start + maxLength;
    // The line's text ends at the first line feed, carriage return or byte 0 (within the limit);
    // after a byte 0 the line still runs on to its line end.
    const std::uint8_t* from = data + start;
    const std::size_t available = limit - start;
    const std::size_t length = FindLineStop(from, available);
    std::size_t p = start + length;
    if (length < available && from[length] == 0)
        while (p < limit && data[p] != '\n' && data[p] != '\r')
            ++p;
    // The line end is consumed only when it was reached within the length limit; a line cut at
    // the limit continues as the next line.
    if (p < limit) {
        if (data[p] == '\r') {
            ++p;
            if (p < size && data[p] == '\n')
                ++p;
        } else {
            ++p;
        }
        ++m_linesEnded;
    }
    m_pos = p;

    line.assign(reinterpret_cast<const char*>(from), length);
    return true;
}

bool CQzlLineReader::ReadNextLineBuf(std::string& line, bool keepComments)
{
    for (;;) {
        if (!ReadLine(line, kMaxLine))
            return false;
        if (line.empty() || (line[0] == '#' && !keepComments))
            continue;
        UpperInPlace(line);
        return true;
    }
}

bool CQzlLineReader::ReadNextLine(std::string& line)
{
    for (;;) {
        if (!ReadLine(line, std::string::npos))
            return false;
        if (line.empty() || line[0] == '#')
            continue;
        LowerInPlace(line);
        return true;
    }
}

void CQzlLineReader::UnreadLine()
{
    m_pos = m_lastStart;
    m_linesEnded = m_lastLinesEnded;
    m_lineNumber = m_lastLineNumber;
}

std::size_t MatchScanPrefix(std::string_view text, std::string_view keyword)
{
    std::size_t i = 0;
    for (const char k : keyword) {
        if (IsScanSpace(k)) {
            while (i < text.size() && IsScanSpace(text[i]))
                ++i;
        } else {
            if (i >= text.size() || text[i] != k)
                return std::string_view::npos;
            ++i;
        }
    }
    return i;
}

bool ScanKeywordCount(const std::string& line, std::string_view keyword, int& count)
{
    const std::size_t n = MatchScanPrefix(line, keyword);
    if (n == std::string_view::npos)
        return false;
    return ScanNumbers(line.c_str() + n, " %d", &count) == 1;
}

int ReadKeywordLine(CQzlLineReader& reader, std::string& line, std::string_view keyword,
                    std::vector<std::string>& list, bool withIndex, int* announced)
{
    if (announced != nullptr)
        *announced = -1;
    if (!reader.ReadNextLineBuf(line))
        return 1;
    if (!HasKeyword(line, keyword)) {
        // A list that is missing altogether must not take the next section with it.
        if (HasKeyword(line, "SECTION")) {
            reader.UnreadLine();
            return 2;
        }
        return 0;
    }
    int count = 0;
    ScanKeywordCount(line, keyword, count);
    if (announced != nullptr)
        *announced = count;
    char name[CQzlLineReader::kMaxLine + 1];
    for (int i = 0; i < count; ++i) {
        if (!reader.ReadNextLineBuf(line))
            return 1;
        if (line.compare(0, 3, "END") == 0)
            return 0;
        name[0] = '\0';
        int index = 0;
        if (withIndex)
            ScanC(line.c_str(), "%d: %2048s", &index, name);
        else
            ScanC(line.c_str(), "%2048s", name);
        const std::size_t length = std::strlen(name);
        if (length > kMaxNameLength)
            throw CArchiveException(CArchiveException::badFormat,
                                    "Line " + std::to_string(reader.LineNumber()) +
                                        ": the name \"" + std::string(name, 24) + "...\" is " +
                                        std::to_string(length) +
                                        " characters long; names may have at most " +
                                        std::to_string(kMaxNameLength) + ".");
        list.emplace_back(name, length);
    }
    return 0;
}
