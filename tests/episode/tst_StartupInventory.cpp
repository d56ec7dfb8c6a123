#include "episode/StartupInventory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReadCase {
    const char* m_name;
    const char* m_text;
    int m_bin;
    bool m_on;
    int m_value;
};

TEST(StartupInventory, ReadsTheBinsLine)
{
    const ReadCase cases[] = {
        {"no line", "code\n\tSetInv(player, 2, 5);\n", 1, false, 0},
        {"bin 1 is not bin 10, 11 or 12",
         "\tSetInv(player, 10, 1);\n\tSetInv(player, 11, 500);\n"
         "\tSetInv(player, 12, 7);\n",
         1, false, 0},
        {"switched on", "code\n\tSetInv(player, 11, 250);\n", 11, true, 250},
        {"switched off", "code\n//\tSetInv(player, 4, 30);\n", 4, false, 0},
        {"blanks and a fraction", "code\n\tSetInv(player, 4,   12.9);\n", 4, true, 12},
        {"negative truncates toward zero", "x\n\tSetInv(player, 4, -2.7);\n", 4, true, -2},
        {"no number", "x\n\tSetInv(player, 4, many);\n", 4, true, 0},
        {"beyond int", "x\n\tSetInv(player, 4, 99999999999999);\n", 4, true, 2147483647},
        {"first line", "SetInv(player, 1, 1.0);\ncode\n", 1, true, 1},
        {"first line switched off", "//SetInv(player, 1, 1.0);\ncode\n", 1, false, 0},
        {"after an empty first line", "\n// SetInv(player, 1, 1);\n", 1, false, 0},
        {"lines ended by CR only", "code\r//\tSetInv(player, 4, 30);\r", 4, false, 0},
        {"CR LF", "code\r\n\tSetInv(player, 4, 20);\r\n", 4, true, 20},
        {"only the first line counts", "x\n//SetInv(player, 4, 1);\n\tSetInv(player, 4, 9);\n", 4,
         false, 0},
        {"empty", "", 4, false, 0},
        {"key at the very end", "x\n\tSetInv(player, 4,", 4, true, 0},
    };
    for (const ReadCase& c : cases) {
        const CInvSetting read = ReadInvSetting(c.m_text, c.m_bin);
        EXPECT_EQ(read.m_on, c.m_on) << c.m_name;
        EXPECT_EQ(read.m_value, c.m_value) << c.m_name;
    }
}

struct WriteCase {
    const char* m_name;
    const char* m_text;
    int m_bin;
    bool m_checked;
    int m_value;
    bool m_alsoAvailable;
    const char* m_expected;
};

TEST(StartupInventory, RewritesOrInsertsTheBinsLine)
{
    const WriteCase cases[] = {
        {"switched-off line turned on in place", "code\n//\tSetInv(player, 4, 0);\nend\n", 4, true,
         30, false, "code\n\tSetInv(player, 4, 30);\nend\n"},
        {"switched off keeps the rest of the line", "a\n  SetInv(player, 11, 5); // ammo\nb\n", 11,
         false, 0, false, "a\n//\tSetInv(player, 11, 0); // ammo\nb\n"},
        {"first line", "SetInv(player, 1, 1.0);\n", 1, true, 1, false, "\tSetInv(player, 1, 1);\n"},
        {"inserted before the first SetInv line", "a\n\tSetInv(player, 2, 1);\n", 4, true, 30,
         false, "a\n\tSetInv(player, 4, 30);\n\tSetInv(player, 2, 1);\n"},
        {"inserted after the SetGoalFlags line", "a\n\tSetGoalFlags(player, 1);\nb\n", 4, true, 30,
         false, "a\n\tSetGoalFlags(player, 1);\n\tSetInv(player, 4, 30);\nb\n"},
        {"SetGoalFlags on the last line without a break", "a\nSetGoalFlags(player, 1);", 4, true,
         30, false, "a\n\tSetInv(player, 4, 30);\nSetGoalFlags(player, 1);"},
        {"inserted after a CR LF line", "SetGoalFlags(p, 1);\r\nb", 4, true, 3, false,
         "SetGoalFlags(p, 1);\r\n\tSetInv(player, 4, 3);\nb"},
        {"cleared bin without a line adds nothing", "a\n\tSetInv(player, 2, 1);\n", 4, false, 0,
         false, "a\n\tSetInv(player, 2, 1);\n"},
        {"no anchor adds nothing", "code\nend\n", 4, true, 30, false, "code\nend\n"},
        {"empty text", "", 4, true, 30, true, ""},
        {"with its SetInvAvailable line rewritten",
         "a\n\tSetInv(player, 21, 0);\n//\tSetInvAvailable(player, 21, 1);\n", 21, true, 4, true,
         "a\n\tSetInv(player, 21, 4);\n\tSetInvAvailable(player, 21, 1);\n"},
        {"with its SetInvAvailable line inserted", "a\nSetGoalFlags(player, 1);\nb\n", 21, true, 4,
         true,
         "a\nSetGoalFlags(player, 1);\n\tSetInvAvailable(player, 21, 1);\n\tSetInv(player, 21, "
         "4);\nb\n"},
        {"cleared switches off both lines",
         "\tSetInv(player, 22, 4);\n\tSetInvAvailable(player, 22, 1);\n", 22, false, 0, true,
         "//\tSetInv(player, 22, 0);\n//\tSetInvAvailable(player, 22, 1);\n"},
        // A line that lost its ")" is replaced to its end; the rest of the script stays.
        {"line without its )", "a\n\tSetInv(player, 4, 30\nsethealth(player, 100);\nend\n", 4, true,
         12, false, "a\n\tSetInv(player, 4, 12);\nsethealth(player, 100);\nend\n"},
        {"line without its ) at the end of the text", "a\n\tSetInv(player, 4, 30", 4, false, 0,
         false, "a\n//\tSetInv(player, 4, 0);"},
        {"lines ended by CR only", "a\r//\tSetInv(player, 4, 0);\rb\r", 4, true, 30, false,
         "a\r\tSetInv(player, 4, 30);\rb\r"},
    };
    for (const WriteCase& c : cases) {
        std::string text = c.m_text;
        WriteSetInv(text, c.m_bin, c.m_checked, c.m_value, c.m_alsoAvailable);
        EXPECT_EQ(text, c.m_expected) << c.m_name;
    }
}

TEST(StartupInventory, InsertedLinesComeInReverseOrderOfWriting)
{
    std::string text = "startup:\n\tSetGoalFlags(player, 0);\n\treturn;\n";
    WriteSetInv(text, 1, true, 1, false);
    WriteSetInv(text, 4, true, 30, false);
    WriteSetInv(text, 11, true, 500, false);
    EXPECT_EQ(text, "startup:\n\tSetGoalFlags(player, 0);\n\tSetInv(player, 11, 500);\n"
                    "\tSetInv(player, 4, 30);\n\tSetInv(player, 1, 1);\n\treturn;\n");
}

TEST(StartupInventory, AHugeLineIsHandled)
{
    const std::string tail(1 << 20, 'x');
    std::string text = "a\n\tSetInv(player, 4, 30" + tail + "\nend\n";
    EXPECT_EQ(ReadInvSetting(text, 4).m_value, 30);
    WriteSetInv(text, 4, true, 5, false);
    EXPECT_EQ(text, "a\n\tSetInv(player, 4, 5);\nend\n");
    std::string digits = "a\n\tSetInv(player, 4, " + std::string(1 << 20, '9') + ");\n";
    EXPECT_EQ(ReadInvSetting(digits, 4).m_value, 2147483647);
}

// Every row of both pages and both products writes its line and reads it back; the rows of a page
// use each bin once, and the bins of the two products are as the game numbers them.
TEST(StartupInventory, EveryRowRoundTripsForBothProducts)
{
    for (const int product : {0, 1}) {
        for (const auto rows : {WeaponsAmmunitionRows(), PowersArmorsRows()}) {
            std::string text = "startup:\n\tSetGoalFlags(player, 0);\n";
            for (const CInvRow& row : rows) {
                const int bin = row.Bin(product);
                if (bin == kNoBin)
                    continue;
                const int value = row.m_hasEdit ? InvRowClickValue(row, product, true) : 1;
                WriteSetInv(text, bin, true, value, row.m_alsoAvailable);
                const CInvSetting read = ReadInvSetting(text, bin);
                EXPECT_TRUE(read.m_on) << product << " " << bin;
                EXPECT_EQ(read.m_value, value) << product << " " << bin;
                const std::string line = "\tSetInv(player, " + std::to_string(bin) + ", " +
                                         std::to_string(value) + ");\n";
                EXPECT_EQ(text.find(line), text.rfind(line)) << product << " " << bin;
                EXPECT_NE(text.find(line), std::string::npos) << product << " " << bin;
            }
        }
    }
    EXPECT_EQ(WeaponsAmmunitionRows().size(), 30U);
    EXPECT_EQ(PowersArmorsRows().size(), 37U);
    const auto first = WeaponsAmmunitionRows();
    EXPECT_EQ(first[3].Bin(0), 4);
    EXPECT_EQ(first[3].Bin(1), 124);
    EXPECT_EQ(first[4].Bin(1), kNoBin);
    EXPECT_EQ(first[9].Bin(1), 131);
    EXPECT_EQ(first[10].Bin(0), kNoBin);
    EXPECT_EQ(first[10].Max(1), 32000);
    EXPECT_EQ(first[28].Max(0), 2);
    EXPECT_EQ(first[28].Max(1), 32);
    const auto second = PowersArmorsRows();
    EXPECT_EQ(second[15].Bin(0), kNoBin);
    EXPECT_EQ(second[15].Bin(1), 35);
    EXPECT_TRUE(second[1].m_alsoAvailable);
    EXPECT_FALSE(second[20].m_alsoAvailable);
    EXPECT_EQ(second[36].Max(1), 1000);
}

TEST(StartupInventory, ClickValues)
{
    const auto second = PowersArmorsRows();
    const CInvRow& bin62 = second[22];
    const CInvRow& bin63 = second[23];
    ASSERT_EQ(bin62.Bin(0), 62);
    ASSERT_EQ(bin63.Bin(0), 63);
    EXPECT_EQ(InvRowClickValue(bin62, 0, true), 1);
    EXPECT_EQ(InvRowClickValue(bin62, 0, false), 1);
    EXPECT_EQ(InvRowClickValue(bin63, 0, true), 2);
    EXPECT_EQ(InvRowClickValue(bin63, 0, false), 1);
    EXPECT_EQ(InvRowClickValue(second[0], 0, true), 8);
    EXPECT_EQ(InvRowClickValue(second[0], 0, false), 0);
}

}  // namespace
