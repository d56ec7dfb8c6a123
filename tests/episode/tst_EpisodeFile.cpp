// The single-level episode file: the exact text written for the default fields and for every
// kind and power form, the read-back of written files, and files that are short, damaged or
// hostile.

#include "episode/EpisodeFile.h"
#include "episode/StartGoalsCogs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace {

std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

CDocumentFields Read(std::string_view text, CDocumentFields fields = DefaultDocumentFields())
{
    ReadEpisode(Bytes(text), fields);
    return fields;
}

TEST(EpisodeFile, NewDocumentWritesTheExactFile)
{
    CDocumentFields fields = DefaultDocumentFields();
    EXPECT_EQ(WriteEpisode(fields), "\"QzEdit Level\"\r\n"
                                    "TYPE 1\r\n"
                                    "SEQ 1\r\n"
                                    "10:\t1\t1\tLEVEL\t\tqzedit.qzl\t0\t\t0\t\t-1\t-1\r\n"
                                    "end\r\n");
}

TEST(EpisodeFile, LevelLineOfEachTypeKindAndPower)
{
    struct Case {
        int type, kind, light, dark;
        const char* typeLine;  // empty: no type line
        const char* levelLine;
    };
    const Case cases[] = {
        {2, 1, 6, 7, "TYPE 8\r\n", "10:\t1\t1\tCUT\t\tlev.qzl\t26\t32\t-1\t-1\r\n"},
        {1, 2, 8, 8, "TYPE 2\r\n", "10:\t1\t1\tDECIDE\tlev.qzl\t28\t33\t-1\t-1\r\n"},
        {3, 0, 1, 0, "TYPE 16\r\n", "10:\t1\t1\tLEVEL\t\tlev.qzl\t22\t0\t\t-1\t-1\r\n"},
        // Values outside their lists (a damaged .qze): no type line, the level line complete.
        {4, 3, 9, -1, "", "10:\t1\t1\tLEVEL\t\tlev.qzl\t0\t\t0\t\t-1\t-1\r\n"},
        {-1, -1, -5, 100, "", "10:\t1\t1\tLEVEL\t\tlev.qzl\t0\t\t0\t\t-1\t-1\r\n"},
    };
    for (const Case& c : cases) {
        CDocumentFields fields = DefaultDocumentFields();
        fields.m_episodeTitle = "T";
        fields.m_levelFileName = "lev.qzl";
        fields.m_episodeType = c.type;
        fields.m_levelKind = c.kind;
        fields.m_lightPower = c.light;
        fields.m_darkPower = c.dark;
        EXPECT_EQ(WriteEpisode(fields),
                  std::string("\"T\"\r\n") + c.typeLine + "SEQ 1\r\n" + c.levelLine + "end\r\n")
            << c.type << " " << c.kind;
    }
}

TEST(EpisodeFile, FileNameIsLowerCasedInTheDocumentToo)
{
    CDocumentFields fields = DefaultDocumentFields();
    fields.m_levelFileName = "MyLevel.QZL";
    const std::string text = WriteEpisode(fields);
    EXPECT_EQ(fields.m_levelFileName, "mylevel.qzl");
    EXPECT_NE(text.find("\tmylevel.qzl\t"), std::string::npos);
}

TEST(EpisodeFile, WrittenFilesReadBack)
{
    for (int type = 0; type < 4; ++type)
        for (int kind = 0; kind < 3; ++kind)
            for (int power = 0; power < 9; ++power) {
                CDocumentFields fields = DefaultDocumentFields();
                fields.m_episodeTitle = "Title";
                fields.m_levelFileName = "a.qzl";
                fields.m_episodeType = type;
                fields.m_levelKind = kind;
                fields.m_lightPower = power;
                fields.m_darkPower = 8 - power;
                const std::string text = WriteEpisode(fields);
                const CDocumentFields read = Read(text);
                // The title comes back in lower case.
                EXPECT_EQ(read.m_episodeTitle, "title");
                EXPECT_EQ(read.m_levelFileName, "a.qzl");
                EXPECT_EQ(read.m_episodeType, type);
                EXPECT_EQ(read.m_levelKind, kind);
                EXPECT_EQ(read.m_lightPower, power) << text;
                EXPECT_EQ(read.m_darkPower, 8 - power) << text;
            }
}

TEST(EpisodeFile, ReadingLeavesFieldsWhoseLinesAreMissingOrDamaged)
{
    CDocumentFields start = DefaultDocumentFields();
    start.m_episodeTitle = "Old";
    start.m_levelFileName = "old.qzl";
    start.m_episodeType = 1;
    start.m_levelKind = 1;
    start.m_lightPower = 2;
    start.m_darkPower = 3;
    struct Case {
        const char* name;
        std::string_view text;
        const char* title;
        const char* file;
        int type, kind, light, dark;
    };
    static const char kWithZero[] = "\"N\"\ntype 1\nseq 1\n10: 1 1 cut b.qzl 2\0"
                                    "6 32\n";
    const std::string_view withZero(kWithZero, sizeof kWithZero - 1);
    const Case cases[] = {
        {"empty", "", "Old", "old.qzl", 1, 1, 2, 3},
        {"title only", "\"New\"", "new", "old.qzl", 1, 1, 2, 3},
        {"comments and blank lines skipped",
         "# c\n\n\"New\"\n#x\ntype 8\n\nseq 1\n10: 1 1 decide b.qzl 27 32 -1 -1\n", "new", "b.qzl",
         2, 2, 7, 7},
        {"unknown type number", "\"N\"\ntype 5\nseq 1\n10: 1 1 cut b.qzl 0 0 -1 -1\n", "n", "b.qzl",
         1, 1, 0, 0},
        {"type without number", "\"N\"\ntype\nseq 1\n10: 1 1 level b.qzl 0 0 -1 -1\n", "n", "b.qzl",
         1, 0, 0, 0},
        {"no type line", "\"N\"\nseq 1\n10: 1 1 level b.qzl 22 22 -1 -1\n", "n", "b.qzl", 1, 0, 1,
         1},
        {"sequence of none", "\"N\"\ntype 2\nseq 0\n10: 1 1 level b.qzl 22 22 -1 -1\n", "n",
         "old.qzl", 1, 1, 2, 3},
        {"negative sequence", "\"N\"\ntype 2\nseq -4\n10: 1 1 level b.qzl 22 22 -1 -1\n", "n",
         "old.qzl", 1, 1, 2, 3},
        {"no seq line", "\"N\"\ntype 2\n10: 1 1 level b.qzl 22 22 -1 -1\n", "n", "old.qzl", 1, 1, 2,
         3},
        {"level line without .qzl", "\"N\"\ntype 1\nseq 1\n10: 1 1 level b.txt 22 22 -1 -1\n", "n",
         "old.qzl", 0, 1, 2, 3},
        {"unknown kind and bins", "\"N\"\ntype 1\nseq 1\n10: 1 1 boss b.qzl 29 25 -1 -1\n", "n",
         "b.qzl", 0, 1, 2, 3},
        {"level line cut short", "\"N\"\ntype 1\nseq 1\n10: 1 1 cut b.qzl\n", "n", "b.qzl", 0, 1, 2,
         3},
        {"level line of words", "\"N\"\ntype 1\nseq 1\nten: one .qzl\n", "n", "old.qzl", 0, 1, 2,
         3},
        {"byte 0 ends the line", withZero, "n", "b.qzl", 0, 1, 2, 3},
        {"quotes inside the title", "\"A \"b\" c\"\r\n", "a b c", "old.qzl", 1, 1, 2, 3},
    };
    for (const Case& c : cases) {
        const CDocumentFields read = Read(c.text, start);
        EXPECT_EQ(read.m_episodeTitle, c.title) << c.name;
        EXPECT_EQ(read.m_levelFileName, c.file) << c.name;
        EXPECT_EQ(read.m_episodeType, c.type) << c.name;
        EXPECT_EQ(read.m_levelKind, c.kind) << c.name;
        EXPECT_EQ(read.m_lightPower, c.light) << c.name;
        EXPECT_EQ(read.m_darkPower, c.dark) << c.name;
        EXPECT_EQ(read.m_messageText, start.m_messageText) << c.name;
    }
}

TEST(EpisodeFile, LongAndBinaryLinesAreReadSafely)
{
    // A file name far longer than any buffer of a name, and bytes of every value.
    const std::string name(100000, 'x');
    const CDocumentFields read =
        Read("\"N\"\ntype 1\nseq 1\n10: 1 1 level " + name + ".qzl 22 22 -1 -1\n");
    EXPECT_EQ(read.m_levelFileName, name + ".qzl");
    EXPECT_EQ(read.m_lightPower, 1);

    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise += static_cast<char>((i * 37 + 11) & 0xff);
    const CDocumentFields fields = Read(noise);
    EXPECT_EQ(fields.m_levelKind, 0);
    // Counts and numbers beyond the int range.
    const CDocumentFields big =
        Read("\"N\"\ntype 99999999999999999999\nseq 99999999999999999999\n10: 1 1 cut b.qzl "
             "99999999999999999999 -99999999999999999999 -1 -1\n");
    EXPECT_GE(big.m_episodeType, 0);
    EXPECT_LE(big.m_episodeType, 3);
    EXPECT_GE(big.m_lightPower, 0);
    EXPECT_LE(big.m_lightPower, 8);
    EXPECT_GE(big.m_darkPower, 0);
    EXPECT_LE(big.m_darkPower, 8);
}

}  // namespace
