// The level reader's number scan gives exactly what the C library's scan gives, on every form of
// number a file may hold, and the plain decimal reading agrees with strtod.

#include "framework/CFormat.h"
#include "level/QzlLines.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Number forms, each tried alone and inside the record lines of a level.
const std::vector<std::string> kNumbers = {
    "0",
    "1",
    "-1",
    "+1",
    "12",
    "-0",
    "0.000000",
    "-0.000000",
    "1.",
    ".5",
    "-.5",
    "+.5",
    "1.5",
    "-1.500000",
    "123456789",
    "1234567890",
    "99999999999",
    "-2147483648",
    "2147483648",
    "1e5",
    "1E5",
    "1e",
    "1e+",
    "1.5e-3",
    "-1.5E+38",
    "3.5e39",
    "1e-50",
    "0x1p3",
    "0X1F",
    "0x",
    "0xZ",
    "0x7",
    "0xFFFFFFFF",
    "0x100000000",
    "7fffffff",
    "FFFFFFFFF",
    "inf",
    "-INF",
    "nan",
    "NAN",
    "INFINITY",
    "-",
    "+",
    ".",
    "-.",
    "+-1",
    "--1",
    "1.5.3",
    "1..",
    "12abc",
    "1.5F",
    "1,5",
    "0.1",
    "0.30000000000000004",
    "3.4028235e38",
    "340282356779733661637539395458142568448",
    "0.000000000000000000000000000000000000000000001",
    "16777217",
    "0.1000000000000000055511151231257827",
    "00012",
    "-000.250",
    "1:",
    "4:",
    "5/6",
    "(1/2/3)",
    "",
};

// Formats of the reader's number lines.
const std::vector<const char*> kFormats = {
    "%d: %f %f %f",   "%d: %x %d %f", "%d: %f %f", "FLAGS %x", "AMBIENT LIGHT %f",
    "SURFACES %d %d", "(%f/%f/%f)",   "%X",        " %d",
};

struct CScanResult {
    int result = 0;
    int ints[4] = {-7, -7, -7, -7};
    unsigned hex[2] = {0xDEADu, 0xDEADu};
    float floats[4] = {-7.0f, -7.0f, -7.0f, -7.0f};

    bool operator==(const CScanResult& other) const
    {
        return result == other.result && std::memcmp(ints, other.ints, sizeof ints) == 0 &&
               std::memcmp(hex, other.hex, sizeof hex) == 0 &&
               std::memcmp(floats, other.floats, sizeof floats) == 0;
    }
};

// The scans compared: the library's, ScanNumbers, and ScanNumbersOf.
enum class EScan {
    library,
    ours,
    fixed
};

// Scans text with format through one of the scans, with the pointers each format of kFormats
// takes.
CScanResult ScanWith(EScan scan, const std::string& text, const std::string& format)
{
    CScanResult r;
    const char* t = text.c_str();
#define QZ_SCAN(fmt, ...)                                        \
    (scan == EScan::ours    ? ScanNumbers(t, fmt, __VA_ARGS__)   \
     : scan == EScan::fixed ? ScanNumbersOf<fmt>(t, __VA_ARGS__) \
                            : ScanC(t, fmt, __VA_ARGS__))
    if (format == "%d: %f %f %f")
        r.result = QZ_SCAN("%d: %f %f %f", &r.ints[0], &r.floats[0], &r.floats[1], &r.floats[2]);
    else if (format == "%d: %x %d %f")
        r.result = QZ_SCAN("%d: %x %d %f", &r.ints[0], &r.hex[0], &r.ints[1], &r.floats[0]);
    else if (format == "%d: %f %f")
        r.result = QZ_SCAN("%d: %f %f", &r.ints[0], &r.floats[0], &r.floats[1]);
    else if (format == "FLAGS %x")
        r.result = QZ_SCAN("FLAGS %x", &r.hex[0]);
    else if (format == "AMBIENT LIGHT %f")
        r.result = QZ_SCAN("AMBIENT LIGHT %f", &r.floats[0]);
    else if (format == "SURFACES %d %d")
        r.result = QZ_SCAN("SURFACES %d %d", &r.ints[0], &r.ints[1]);
    else if (format == "(%f/%f/%f)")
        r.result = QZ_SCAN("(%f/%f/%f)", &r.floats[0], &r.floats[1], &r.floats[2]);
    else if (format == "%X")
        r.result = QZ_SCAN("%X", &r.hex[0]);
    else
        r.result = QZ_SCAN(" %d", &r.ints[0]);
#undef QZ_SCAN
    return r;
}

std::string Describe(const CScanResult& r)
{
    return FormatC("result %d ints %d %d hex %x floats %a %a %a %a", r.result, r.ints[0], r.ints[1],
                   r.hex[0], static_cast<double>(r.floats[0]), static_cast<double>(r.floats[1]),
                   static_cast<double>(r.floats[2]), static_cast<double>(r.floats[3]));
}

// The lines each format is tried on: numbers alone, in the places of the format's fields, and
// lines damaged in the ways a hand-edited file may be.
std::vector<std::string> Lines()
{
    std::vector<std::string> lines = {"",
                                      "   ",
                                      "\t",
                                      ":",
                                      "0:",
                                      "0: ",
                                      "0 : 1",
                                      "0:1 2 3",
                                      "-5:\t1.0\t2.0\t3.0",
                                      "  3:   1.000000   2.000000   3.000000",
                                      "FLAGS",
                                      "FLAGS ",
                                      "FLAGS 0x10",
                                      "FLAGSx",
                                      "flags 1",
                                      "AMBIENT  LIGHT   0.50",
                                      "AMBIENTLIGHT 1",
                                      "SURFACES  0  6",
                                      "SURFACES 1",
                                      "(1.0/2.0/3.0)",
                                      "(1/2)",
                                      "(a/b/c)"};
    for (const std::string& n : kNumbers) {
        lines.push_back(n);
        lines.push_back(" " + n + " ");
        lines.push_back("7: " + n + " " + n + " " + n);
        lines.push_back("7: 0x1 " + n + " " + n);
        lines.push_back("7: 1.0 " + n + " 2.0 rest");
        lines.push_back("7: " + n + "x 1.0");
        lines.push_back(n + ": 1.0 2.0 3.0");
        lines.push_back("FLAGS " + n);
        lines.push_back("AMBIENT LIGHT " + n);
        lines.push_back("SURFACES " + n + " " + n);
        lines.push_back("(" + n + "/" + n + "/" + n + ")");
    }
    return lines;
}

void ExpectWhatTheLibraryScanGives(EScan scan)
{
    int lines = 0;
    for (const char* format : kFormats) {
        for (const std::string& line : Lines()) {
            const CScanResult expected = ScanWith(EScan::library, line, format);
            const CScanResult got = ScanWith(scan, line, format);
            EXPECT_TRUE(got == expected) << "\"" << line << "\" with \"" << format << "\"\n  want "
                                         << Describe(expected) << "\n  got  " << Describe(got);
            ++lines;
        }
    }
    EXPECT_GT(lines, 1000);
}

TEST(ScanNumbers, GivesWhatTheLibraryScanGivesOnEveryForm)
{
    ExpectWhatTheLibraryScanGives(EScan::ours);
}

// The scan whose format is fixed when the program is built, bit for bit the same.
TEST(ScanNumbers, WithItsFormatFixedGivesWhatTheLibraryScanGives)
{
    ExpectWhatTheLibraryScanGives(EScan::fixed);
}

TEST(ScanNumbers, PlainDecimalsReadAsStrtodReadsThem)
{
    for (const std::string& n : kNumbers) {
        for (const std::string& after : {std::string(), std::string(" 1"), std::string(":"),
                                         std::string(")"), std::string("e5"), std::string(".")}) {
            const std::string text = n + after;
            const char* p = text.c_str();
            double value = -7.0;
            if (!ParsePlainDecimal(p, value)) {
                EXPECT_EQ(p, text.c_str()) << text;
                continue;
            }
            char* end = nullptr;
            const double expected = StrtodC(text.c_str(), &end);
            EXPECT_EQ(p, end) << text;
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
            // Taken only where no other form of number could go on.
            EXPECT_FALSE(std::isalnum(static_cast<unsigned char>(*p)) || *p == '.') << text;
            // As a float: the same, or refused where the float range ends.
            float f = -7.0f;
            const char* q = text.c_str();
            errno = 0;
            const float expectedFloat = std::strtof(text.c_str(), nullptr);
            if (ParsePlainDecimal(q, f)) {
                EXPECT_EQ(q, p) << text;
                EXPECT_EQ(std::memcmp(&f, &expectedFloat, sizeof f), 0) << text;
            } else {
                EXPECT_EQ(errno, ERANGE) << text;
            }
        }
    }
}

TEST(ScanNumbers, RandomPlainDecimalsReadAsStrtodAndStrtofReadThem)
{
    // Shapes around the limits of exact arithmetic: up to twenty digits before and after the
    // point, runs of zeros at either end.
    std::mt19937 random(27);
    const auto digits = [&](int count, bool zeros) {
        std::string d;
        for (int i = 0; i < count; ++i)
            d += zeros && random() % 3 == 0 ? '0' : static_cast<char>('0' + random() % 10);
        return d;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : (random() % 8 == 0 ? "+" : "");
        text += digits(static_cast<int>(random() % 21), random() % 2 == 0);
        if (random() % 4 != 0)
            text += "." + digits(static_cast<int>(random() % 21), random() % 2 == 0) +
                    std::string(random() % 8, '0');
        double d = -7.0;
        float f = -7.0f;
        const char* p = text.c_str();
        const char* q = text.c_str();
        const bool tookDouble = ParsePlainDecimal(p, d);
        const bool tookFloat = ParsePlainDecimal(q, f);
        errno = 0;
        const double expectedDouble = StrtodC(text.c_str(), nullptr);
        const float expectedFloat = std::strtof(text.c_str(), nullptr);
        const bool range = errno == ERANGE;
        if (!tookDouble) {
            // Only what has no digits is refused as a double.
            EXPECT_EQ(text.find_first_of("0123456789"), std::string::npos) << text;
            continue;
        }
        EXPECT_EQ(std::memcmp(&d, &expectedDouble, sizeof d), 0) << text;
        if (tookFloat)
            EXPECT_EQ(std::memcmp(&f, &expectedFloat, sizeof f), 0) << text;
        else
            EXPECT_TRUE(range) << text;
    }
}

}  // namespace
