#pragma once
// Line reading over the bytes of a text file of the game (.qzl levels, cog scripts, puppet and
// sound-class files). One forward pass over a byte span; the caller's line string is reused, so
// reading a line allocates nothing once the string has grown to the longest line.
//
// Line ends: line feed, carriage return plus line feed, or a lone carriage return. A byte 0 ends
// the line's text (the rest of that line is dropped), as it would in a C string.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
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

private:
    std::span<const std::uint8_t> m_text;
    std::size_t m_pos = 0;
    std::size_t m_lineNumber = 0;  // of the line read last
    std::size_t m_linesEnded = 0;  // line ends consumed so far
    std::size_t m_lastStart = 0;   // position and counters before the line read last
    std::size_t m_lastLinesEnded = 0;
    std::size_t m_lastLineNumber = 0;
};

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

// A decimal number in the plain form [+-]digits[.digits] (".5" and "1." included) at p, as strtod
// reads it in the C locale; p then moves past it. False, p unmoved, for any other form and when
// a letter or a point follows (a number in another form may go on there).
bool ParsePlainDecimal(const char*& p, float& value);
bool ParsePlainDecimal(const char*& p, double& value);

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
