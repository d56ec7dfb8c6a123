#include "episode/StartupInventory.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// The position after the line break nearest before pos, or 0 on the first line.
std::size_t LineStart(std::string_view text, std::size_t pos)
{
    while (pos > 0) {
        if (IsLineBreak(text[pos - 1]))
            return pos;
        --pos;
    }
    return 0;
}

// The position of the line break that ends the line holding pos, or the end of the text.
std::size_t LineEnd(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && !IsLineBreak(text[pos]))
        ++pos;
    return pos;
}

// The start of the line after the one holding pos; npos when no line break follows.
std::size_t NextLineStart(std::string_view text, std::size_t pos)
{
    const std::size_t end = LineEnd(text, pos);
    if (end == text.size())
        return std::string_view::npos;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        return end + 2;
    return end + 1;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number at pos (blanks skipped), truncated toward zero and held to the int range; 0
// when no number stands there.
int NumberAt(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    double value = 0;
    bool digits = false;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        value = value * 10 + (text[pos] - '0');
        digits = true;
    }
    if (pos < text.size() && text[pos] == '.') {
        double scale = 0.1;
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos, scale /= 10) {
            value += (text[pos] - '0') * scale;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t at = pos + 1;
        bool expNegative = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            expNegative = text[at] == '-';
            ++at;
        }
        int exponent = 0;
        bool expDigits = false;
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            if (exponent < 1000)
                exponent = exponent * 10 + (text[at] - '0');
            expDigits = true;
        }
        if (expDigits)
            value *= std::pow(10.0, expNegative ? -exponent : exponent);
    }
    if (negative)
        value = -value;
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (!(value > kLow))
        return std::numeric_limits<int>::min();
    if (!(value < kHigh))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(value));
}

// The lines of one kind: "<name>(player, <bin>, <value>);".
struct CLineForm {
    std::string_view m_name;

    // What finds the bin's line.
    std::string Key(int bin) const
    {
        return std::string(m_name) + "(player, " + std::to_string(bin) + ",";
    }
    // What finds the first line of the kind.
    std::string Word() const { return std::string(m_name) + "(player,"; }
    // The line from its start up to its ")".
    std::string Line(int bin, int value) const
    {
        return "\t" + std::string(m_name) + "(player, " + std::to_string(bin) + ", " +
               std::to_string(value);
    }
};

constexpr CLineForm kSetInv{"SetInv"};
constexpr CLineForm kSetInvAvailable{"SetInvAvailable"};

// Rewrites or inserts the line of bin; true when the bin has a line afterwards.
bool WriteLine(std::string& text, const CLineForm& form, int bin, bool checked, int value)
{
    const std::size_t at = text.find(form.Key(bin));
    if (at != std::string::npos) {
        const std::size_t start = LineStart(text, at);
        const std::size_t end = LineEnd(text, at);
        std::string line = (checked ? "" : "//") + form.Line(bin, value);
        const std::size_t close = text.find(')', at);
        if (close != std::string::npos && close < end) {
            text.replace(start, close - start, line);
        } else {
            // A line without its ")": only this line is replaced, and it is closed.
            text.replace(start, end - start, line + ");");
        }
        return true;
    }
    std::size_t insertAt = std::string::npos;
    const std::size_t first = text.find(form.Word());
    if (first != std::string::npos) {
        insertAt = LineStart(text, first);
    } else if (const std::size_t goals = text.find("SetGoalFlags"); goals != std::string::npos) {
        insertAt = NextLineStart(text, goals);
        if (insertAt == std::string::npos)
            insertAt = goals;
    }
    if (insertAt == std::string::npos || !checked)
        return false;
    text.insert(insertAt, form.Line(bin, value) + ");\n");
    return true;
}

}  // namespace

CInvSetting ReadInvSetting(std::string_view text, int bin)
{
    const std::string key = kSetInv.Key(bin);
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos)
        return {};
    const std::size_t start = LineStart(text, at);
    if (text.substr(start, at - start).find("//") != std::string_view::npos)
        return {};
    return {true, NumberAt(text, at + key.size())};
}

void WriteSetInv(std::string& text, int bin, bool checked, int value, bool alsoAvailable)
{
    if (WriteLine(text, kSetInv, bin, checked, value) && alsoAvailable)
        WriteSetInvAvailable(text, bin, checked);
}

void WriteSetInvAvailable(std::string& text, int bin, bool checked)
{
    WriteLine(text, kSetInvAvailable, bin, checked, 1);
}

namespace {

constexpr CInvRow Box(int base, int exp)
{
    return {{base, exp}, false, {1, 1}, {1, 1}, false};
}
constexpr CInvRow Value(int base, int exp, int max, bool alsoAvailable = false)
{
    return {{base, exp}, true, {max, max}, {max, max}, alsoAvailable};
}

constexpr CInvRow LockedInBase(CInvRow row)
{
    row.m_boxLockedInBase = true;
    return row;
}

constexpr std::array kWeaponsAmmunition{
    Box(1, 121),
    Box(2, 122),
    Box(3, 123),
    Value(4, 124, 30),
    Box(5, kNoBin),
    Box(6, 126),
    Box(7, 127),
    Value(8, 128, 30),
    Box(9, 129),
    Box(10, 131),
    Value(kNoBin, 130, 32000),
    Box(kNoBin, 132),
    Box(kNoBin, 133),
    Value(kNoBin, 134, 30),
    Box(kNoBin, 135),
    Box(kNoBin, 137),
    Value(kNoBin, 138, 30),
    Box(kNoBin, 140),
    Value(11, 11, 500),
    Value(12, 12, 500),
    Value(13, 13, 200),
    Value(14, 14, 400),
    Value(15, 15, 30),
    Value(kNoBin, 90, 20),
    Value(kNoBin, 91, 30),
    Value(kNoBin, 92, 800),
    Value(16, 16, 32),
    Value(17, 17, 32),
    CInvRow{{18, 18}, true, {2, 32}, {2, 32}, false},
    LockedInBase(Value(19, 19, 4)),
};

constexpr CInvRow Both(int bin, int max, bool alsoAvailable = false)
{
    return Value(bin, bin, max, alsoAvailable);
}
constexpr CInvRow Expansion(int bin, int max, bool alsoAvailable = false)
{
    return Value(kNoBin, bin, max, alsoAvailable);
}

constexpr std::array kPowersArmors{
    Both(20, 8),
    Both(21, 4, true),
    Both(22, 4, true),
    Both(23, 4, true),
    Both(24, 4, true),
    Both(25, 4, true),
    Both(26, 4, true),
    Both(27, 4, true),
    Both(28, 4, true),
    Both(29, 4, true),
    Both(30, 4, true),
    Both(31, 4, true),
    Both(32, 4, true),
    Both(33, 4, true),
    Both(34, 4, true),
    Expansion(35, 4, true),
    Expansion(36, 4, true),
    Expansion(37, 4, true),
    Expansion(38, 4, true),
    Expansion(39, 4, true),
    Both(60, 200),
    Both(61, 200),
    Both(62, 1),
    Both(63, 2),
    Both(64, 1),
    Both(65, 1),
    Both(66, 1),
    Expansion(67, 1),
    Expansion(68, 1),
    Expansion(69, 400),
    Both(80, 2),
    Both(81, 1),
    Both(82, 1),
    Both(83, 1),
    Both(84, 1),
    Expansion(89, 1),
    Expansion(93, 1000),
};

}  // namespace

std::span<const CInvRow> WeaponsAmmunitionRows()
{
    return kWeaponsAmmunition;
}

std::span<const CInvRow> PowersArmorsRows()
{
    return kPowersArmors;
}

int InvRowClickValue(const CInvRow& row, int product, bool checked)
{
    const int bin = row.Bin(product);
    if (bin == 62)
        return 1;
    if (bin == 63)
        return checked ? 2 : 1;
    return checked ? row.Default(product) : 0;
}
