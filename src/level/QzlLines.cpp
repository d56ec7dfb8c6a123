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

// Sixteen bytes at a time with the compiler's vector types (a line of numbers is upper-cased as
// it is read, so this runs over nearly every byte of a level).
using CBytes16 = std::uint8_t __attribute__((vector_size(16)));

CBytes16 Upper16(CBytes16 v)
{
    const CBytes16 lower = reinterpret_cast<CBytes16>((v >= 'a') & (v <= 'z'));
    return v - (lower & 0x20);
}

// line = the n bytes at from, upper-cased, in one pass: sixteen bytes at a time loaded from the
// text (also past the line where the text goes on) and stored into line. Upper-casing the line
// after copying it would load bytes just stored in other widths, which the processor cannot hand
// on from its store buffer and so waits for.
void AssignUpper(std::string& line, const std::uint8_t* from, std::size_t n,
                 const std::uint8_t* textEnd)
{
    line.resize(n);
    char* to = line.data();
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        CBytes16 v;
        std::memcpy(&v, from + i, sizeof v);
        v = Upper16(v);
        std::memcpy(to + i, &v, sizeof v);
    }
    if (i == n)
        return;
    if (textEnd - (from + i) >= 16) {
        CBytes16 v;
        std::memcpy(&v, from + i, sizeof v);
        v = Upper16(v);
        std::memcpy(to + i, &v, n - i);
        return;
    }
    for (; i < n; ++i) {
        const char c = static_cast<char>(from[i]);
        to[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
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

bool IsTextByte(std::uint8_t b)
{
    return b >= 0x20 || (b >= 0x09 && b <= 0x0D) || b == 0x1A;
}

void LowerInPlace(std::string& s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

// The plain path of ScanNumbers: what sscanf returns, or kNeedsFullScan.
int ScanPlain(const char* text, const char* format, va_list args)
{
    using namespace scan_numbers;
    int done = 0;
    const char* p = text;
    for (const char* f = format; *f != '\0'; ++f) {
        if (IsScanSpace(*f)) {
            SkipScanSpace(p);
            continue;
        }
        int step = kGoOn;
        if (*f != '%') {
            step = MatchLiteral(p, *f, done);
        } else {
            const char conversion = *++f;
            if (conversion != 'd' && conversion != 'x' && conversion != 'X' && conversion != 'f')
                return kNeedsFullScan;
            step = StartConversion(p, done);
            if (step == kGoOn) {
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
        }
        if (step != kGoOn)
            return step;
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

// The format is the one the caller's template was given: fixed when the program is built.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
int scan_numbers::FullScanNumbers(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = FullScan(text, format, args);
    va_end(args);
    return result;
}
#pragma GCC diagnostic pop

int ScanNumbers(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int result = ScanPlain(text, format, args);
    if (result == scan_numbers::kNeedsFullScan)
        result = FullScan(text, format, again);
    va_end(again);
    va_end(args);
    return result;
}

bool HoldsOnlyText(std::span<const std::uint8_t> bytes)
{
    // Blocks of 64 bytes tested 16 at a time (no branch per byte); the bytes after the last whole
    // block one by one.
    constexpr std::size_t kBlock = 64;
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const blocksEnd = p + bytes.size() / kBlock * kBlock;
    for (; p != blocksEnd; p += kBlock) {
        CBytes16 bad = {};
        for (std::size_t k = 0; k < kBlock; k += 16) {
            CBytes16 v;
            std::memcpy(&v, p + k, sizeof v);
            // !IsTextByte: a control character other than 0x09..0x0D and 0x1A.
            bad |= (v < 0x20) & (v - 9 > 4) & (v != 0x1A);
        }
        std::uint64_t halves[2];
        std::memcpy(halves, &bad, sizeof halves);
        if ((halves[0] | halves[1]) != 0)
            return false;
    }
    return std::all_of(p, bytes.data() + bytes.size(), IsTextByte);
}

void CQzlLineReader::TestText(std::size_t end)
{
    // Whole blocks of the test's size past end, so that the lines' bytes are tested in few calls.
    constexpr std::size_t kStep = 256;
    if (end <= m_textTested)
        return;
    const std::size_t to =
        std::min(m_text.size(), m_textTested + (end - m_textTested + kStep - 1) / kStep * kStep);
    if (m_onlyText && !HoldsOnlyText(m_text.subspan(m_textTested, to - m_textTested)))
        m_onlyText = false;
    m_textTested = to;
}

bool CQzlLineReader::OnlyText()
{
    TestText(m_text.size());
    return m_onlyText;
}

bool CQzlLineReader::Advance(std::size_t maxLength, const std::uint8_t*& from, std::size_t& length)
{
    m_lastStart = m_pos;
    m_lastLinesEnded = m_linesEnded;
    m_lastLineNumber = m_lineNumber;
    const std::size_t size = m_text.size();
    if (m_pos >= size)
        return false;
    m_lineNumber = m_linesEnded + 1;

    const std::uint8_t* data = m_text.data();
    const std::size_t start = m_pos;
    const std::size_t limit = size - start < maxLength ? size : start + maxLength;
    // The line's text ends at the first line feed, carriage return or byte 0 (within the limit);
    // after a byte 0 the line still runs on to its line end.
    from = data + start;
    const std::size_t available = limit - start;
    length = FindLineStop(from, available);
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
    TestText(p);
    return true;
}

bool CQzlLineReader::ReadLine(std::string& line, std::size_t maxLength)
{
    const std::uint8_t* from = nullptr;
    std::size_t length = 0;
    if (!Advance(maxLength, from, length)) {
        line.clear();
        return false;
    }
    line.assign(reinterpret_cast<const char*>(from), length);
    return true;
}

bool CQzlLineReader::ReadNextLineBuf(std::string& line, bool keepComments)
{
    for (;;) {
        const std::uint8_t* from = nullptr;
        std::size_t length = 0;
        if (!Advance(kMaxLine, from, length)) {
            line.clear();
            return false;
        }
        if (length == 0 || (from[0] == '#' && !keepComments))
            continue;
        AssignUpper(line, from, length, m_text.data() + m_text.size());
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
        if (scan_numbers::IsScanSpace(k)) {
            while (i < text.size() && scan_numbers::IsScanSpace(text[i]))
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
    return ScanNumbersOf<" %d">(line.c_str() + n, &count) == 1;
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
