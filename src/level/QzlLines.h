#pragma once
// Line reading over the bytes of a text file of the game (.qzl levels, cog scripts, puppet and
// sound-class files). One forward pass over a byte span; the caller's line string is reused, so
// reading a line allocates nothing once the string has grown to the longest line.
//
// Line ends: line feed, carriage return plus line feed, or a lone carriage return. A byte 0 ends
// the line's text (the rest of that line is dropped), as it would in a C string.

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <vector>

class CQzlLineReader {
public:
    // Longest line of the structural reads; a longer line is cut and its rest is the next line.
    static constexpr std::size_t kMaxLine = 2048;

    explicit CQzlLineReader(std::span<const std::uint8_t> text) : m_text(text) {}
    explicit CQzlLineReader(std::string_view text)
        : m_text(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())
    {}

    // The next line as it stands (no case change, comments and empty lines included), at most
    // maxLength characters. False at the end of the text.
    bool ReadLine(std::string& line, std::size_t maxLength = kMaxLine);

    // ReadNextLineBuf: the next line of at most kMaxLine characters that is not empty and does not
    // begin with '#' (with keepComments, lines beginning with '#' are taken too), upper-cased.
    // False at the end of the text.
    bool ReadNextLineBuf(std::string& line, bool keepComments = false);

    // ReadNextLine: the next line of any length that is not empty and does not begin with '#',
    // lower-cased. False at the end of the text.
    bool ReadNextLine(std::string& line);

    // Steps back before the line returned last, so that the next read returns it again. Only one
    // line can be given back.
    void UnreadLine();

    bool AtEnd() const { return m_pos >= m_text.size(); }
    // Bytes of the text not read yet.
    std::size_t Remaining() const { return m_text.size() - m_pos; }
    // Number (from 1) of the text line on which the line returned last begins.
    std::size_t LineNumber() const { return m_lineNumber; }
    // Whether every byte of the text is one that text may hold (HoldsOnlyText). The bytes are
    // tested as the lines are read, while they are at hand; those not read yet are tested now.
    bool OnlyText();

private:
    // Moves past the next line; from and length then give its text (at most maxLength
    // characters). False at the end of the text.
    bool Advance(std::size_t maxLength, const std::uint8_t*& from, std::size_t& length);
    // Tests the bytes from m_textTested on to at least end.
    void TestText(std::size_t end);

    std::span<const std::uint8_t> m_text;
    std::size_t m_pos = 0;
    std::size_t m_textTested = 0;  // bytes tested by TestText
    bool m_onlyText = true;
    std::size_t m_lineNumber = 0;  // of the line read last
    std::size_t m_linesEnded = 0;  // line ends consumed so far
    std::size_t m_lastStart = 0;   // position and counters before the line read last
    std::size_t m_lastLinesEnded = 0;
    std::size_t m_lastLineNumber = 0;
};

// Whether bytes holds only bytes that a text file may: no byte 0 and no control character but
// tab, line feed, vertical tab, form feed, carriage return and the end-of-file mark of old text
// files (0x1A).
bool HoldsOnlyText(std::span<const std::uint8_t> bytes);

// Whether text contains word (exact letter case): the readers' keyword test.
inline bool HasKeyword(std::string_view text, std::string_view word)
{
    return text.find(word) != std::string_view::npos;
}

// Matches keyword at the start of text the way scanf matches the literal part of a format: a blank
// in the keyword takes any run of white space (also none), every other character must match
// exactly. Returns the number of characters of text matched, or npos.
std::size_t MatchScanPrefix(std::string_view text, std::string_view keyword);

// ScanC for the lines of numbers of a level, without the library's scan on the plain forms that
// level writers produce. format may hold literal characters, blanks and the conversions %d, %x,
// %X and %f. A number in any other form (an exponent, "inf" or "nan", a hexadecimal float, more
// digits than the plain path takes) sends the whole line to ScanC; the result and every value
// stored are always those of ScanC.
int ScanNumbers(const char* text, const char* format, ...) __attribute__((format(scanf, 2, 3)));

// The pieces of ScanNumbers, shared by its reading of a format at run time and ScanNumbersOf.
namespace scan_numbers {

constexpr bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline void SkipScanSpace(const char*& p)
{
    while (IsScanSpace(*p))
        ++p;
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The plain path's results besides those of sscanf: a number it does not take, and a step after
// which the scan goes on.
constexpr int kNeedsFullScan = -2;
constexpr int kGoOn = -3;

// A literal character of the format: kGoOn when it matches, else what sscanf returns.
inline int MatchLiteral(const char*& p, char literal, int done)
{
    if (*p == '\0')
        return done > 0 ? done : EOF;
    if (*p != literal)
        return done;
    ++p;
    return kGoOn;
}

// The blanks before a conversion: kGoOn when a number may follow, else what sscanf returns.
inline int StartConversion(const char*& p, int done)
{
    SkipScanSpace(p);
    if (*p == '\0')
        return done > 0 ? done : EOF;
    return kGoOn;
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

// See ParsePlainDecimal. Inlined into the scans: a call per number costs as much as a short one.
template <typename T>
[[gnu::always_inline]] inline bool ParsePlain(const char*& p, T& value)
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
        // A whole number needs no division (x / 1 is x).
        const T whole = static_cast<T>(kept);
        const T magnitude = keptFractionDigits == 0
                                ? whole
                                : whole / CExactDivision<T>::kPowers[keptFractionDigits];
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
inline bool ParsePlainInt(const char*& p, int& value)
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
inline bool ParsePlainHex(const char*& p, unsigned& value)
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

// The library's scan of a whole line (in the C locale), for ScanNumbersOf.
int FullScanNumbers(const char* text, const char* format, ...);

// A format given as a template argument.
template <std::size_t N>
struct CFormatText {
    consteval CFormatText(const char (&s)[N]) { std::copy_n(s, N, text); }
    char text[N];
    static constexpr std::size_t kLength = N - 1;
};

// The plain path of ScanNumbersOf from format character I on, with A the next argument.
template <CFormatText F, std::size_t I, std::size_t A, typename Args>
int ScanFrom(const char*& p, int done, const Args& args)
{
    if constexpr (I == F.kLength) {
        return done;
    } else if constexpr (IsScanSpace(F.text[I])) {
        SkipScanSpace(p);
        return ScanFrom<F, I + 1, A>(p, done, args);
    } else if constexpr (F.text[I] != '%') {
        const int step = MatchLiteral(p, F.text[I], done);
        return step != kGoOn ? step : ScanFrom<F, I + 1, A>(p, done, args);
    } else {
        constexpr char kConversion = F.text[I + 1];
        using CArg = std::remove_pointer_t<std::tuple_element_t<A, Args>>;
        static_assert(
            (kConversion == 'd' && std::is_same_v<CArg, int>) ||
                ((kConversion == 'x' || kConversion == 'X') && std::is_same_v<CArg, unsigned>) ||
                (kConversion == 'f' && std::is_same_v<CArg, float>),
            "ScanNumbersOf takes %d (int), %x or %X (unsigned) and %f (float)");
        const int step = StartConversion(p, done);
        if (step != kGoOn)
            return step;
        CArg& value = *std::get<A>(args);
        bool plain = false;
        if constexpr (kConversion == 'd')
            plain = ParsePlainInt(p, value);
        else if constexpr (kConversion == 'f')
            plain = ParsePlain(p, value);
        else
            plain = ParsePlainHex(p, value);
        if (!plain)
            return kNeedsFullScan;
        return ScanFrom<F, I + 2, A + 1>(p, done + 1, args);
    }
}

}  // namespace scan_numbers

// ScanNumbers with its format fixed when the program is built: the format is read once, by the
// compiler, instead of character by character for every line. Same results as ScanNumbers.
template <scan_numbers::CFormatText F, typename... Values>
int ScanNumbersOf(const char* text, Values*... values)
{
    const char* p = text;
    const int result = scan_numbers::ScanFrom<F, 0, 0>(p, 0, std::tuple<Values*...>(values...));
    if (result != scan_numbers::kNeedsFullScan)
        return result;
    return scan_numbers::FullScanNumbers(text, F.text, values...);
}

// A decimal number in the plain form [+-]digits[.digits] (".5" and "1." included) at p, as strtod
// reads it in the C locale; p then moves past it. False, p unmoved, for any other form and when
// a letter or a point follows (a number in another form may go on there).
inline bool ParsePlainDecimal(const char*& p, float& value)
{
    return scan_numbers::ParsePlain(p, value);
}
inline bool ParsePlainDecimal(const char*& p, double& value)
{
    return scan_numbers::ParsePlain(p, value);
}

// Scans "<keyword> %d" from the start of line into count; false when it does not match.
bool ScanKeywordCount(const std::string& line, std::string_view keyword, int& count);

// The longest name the level format's name scans accept.
constexpr std::size_t kMaxNameLength = 79;

// ReadKeywordLine: reads the next line (comments skipped); when it holds keyword, scans its count
// and reads up to that many names into list, one per line ("%d: %s" with withIndex, else "%s"),
// ending early at a line beginning with "END". Returns 1 when the text ended inside the list (or
// before its count line), 0 otherwise. A line without the keyword is consumed, except a section
// line: that one is given back to the reader (the next read returns it again) and the result is 2.
// announced, when given, receives the count of the list's count line (-1 without one). A name
// longer than kMaxNameLength characters throws CArchiveException.
int ReadKeywordLine(CQzlLineReader& reader, std::string& line, std::string_view keyword,
                    std::vector<std::string>& list, bool withIndex, int* announced = nullptr);
