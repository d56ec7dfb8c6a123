#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"

#include "support/CommaLocale.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

TEST(StringUtil, AsciiCaseFolding)
{
    EXPECT_EQ(CompareNoCase("DFLT.MAT", "dflt.mat"), 0);
    EXPECT_LT(CompareNoCase("a", "B"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    // '_' sorts before the letters: they fold to lower case.
    EXPECT_LT(CompareNoCase("_", "Z"), 0);
    // Bytes above 127 are left alone and compare unsigned.
    EXPECT_GT(CompareNoCase("\xE9", "z"), 0);
    EXPECT_FALSE(EqualsNoCase("\xC9", "\xE9"));
    EXPECT_EQ(ToUpperAscii("Abc.mat"), "ABC.MAT");
    EXPECT_EQ(ToLowerAscii("Abc.MAT"), "abc.mat");
    EXPECT_EQ(FindNoCase("x Material=Y", "material="), 2u);
    EXPECT_EQ(FindNoCase("abc", "abcd"), std::string_view::npos);
    EXPECT_EQ(TrimBlanks(" \t x y \r\n"), "x y");
    EXPECT_TRUE(EndsWithNoCase("LEVEL.QZL", ".qzl"));
    EXPECT_TRUE(StartsWithNoCase("Sector 1", "SECTOR"));
}

TEST(CFormat, NumbersUseTheCLocaleWhateverTheProcessLocale)
{
    // A locale with a decimal comma; the C helpers must not care.
    QZ_USE_COMMA_LOCALE();
    // The process really is in it: plain printf writes a comma.
    char plain[32];
    std::snprintf(plain, sizeof plain, "%.1f", 1.5);
    EXPECT_STREQ(plain, "1,5");
    EXPECT_EQ(FormatC("%f %.3f %d", 0.1, 1.5, 42), "0.100000 1.500 42");
    float f = 0;
    int i = 0;
    EXPECT_EQ(ScanC("2.25 7", "%f %d", &f, &i), 2);
    EXPECT_EQ(f, 2.25f);
    EXPECT_EQ(i, 7);
    EXPECT_DOUBLE_EQ(AtofC("  1.5xyz"), 1.5);
    EXPECT_DOUBLE_EQ(AtofC("abc"), 0.0);
    RestoreNumericLocale();
    EXPECT_EQ(FormatC("%s", std::string(1000, 'z').c_str()).size(), 1000u);
}

TEST(CFormat, Atoi)
{
    EXPECT_EQ(AtoiC(" -12x"), -12);
    EXPECT_EQ(AtoiC("+7"), 7);
    EXPECT_EQ(AtoiC("x"), 0);
    EXPECT_EQ(AtoiC("99999999999"), 2147483647);
    EXPECT_EQ(AtoiC("-99999999999"), -2147483647 - 1);
}

TEST(FileIO, AtomicWriteAndRead)
{
    const CTempFolder temp("qz_fileio");
    const std::filesystem::path& dir = temp.Path();
    const auto file = dir / "a.bin";
    const std::vector<std::uint8_t> data{1, 2, 3, 0, 255};
    WriteFileAtomic(file, data);
    EXPECT_EQ(ReadFileBytes(file), data);
    WriteFileAtomic(file, std::vector<std::uint8_t>{9});
    EXPECT_EQ(ReadFileBytes(file), std::vector<std::uint8_t>{9});
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    EXPECT_THROW(ReadFileBytes(dir / "missing.qze"), CFileException);
    EXPECT_THROW(WriteFileAtomic(dir / "no" / "such" / "x.qze", data), CFileException);
}
