// The Multi Level Editor's entry texts: the CR LF cut of the text controls, the entry made from a
// level's fields, and the numbers an added entry takes (never one in use, also after a delete).

#include "episode/MultiLevelEntries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Items = std::vector<std::unique_ptr<CMultiLevelItem>>;

TEST(MultiLevelEntriesTest, CutsTextAtEachCrLf)
{
    struct Case {
        const char* text;
        Strings pieces;
    };
    const Case cases[] = {
        {"", {}},       {"a", {"a"}},           {"a\r\n", {"a"}}, {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}}, {"a\nb\r\n", {"a\nb"}},  // a bare line feed is no line end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitAtCrLf(c.text), c.pieces) << c.text;
        const std::string text = c.text;
        if (text.empty() || text.ends_with("\r\n")) {
            EXPECT_EQ(JoinWithCrLf(c.pieces), c.text) << c.text;
        }
    }
}

TEST(MultiLevelEntriesTest, BaseTextsReadTheirDecimalValue)
{
    struct Case {
        const char* text;
        std::int32_t want;
    };
    const Case cases[] = {
        {"02000", 2000},
        {" 2500x", 2500},
        {"-0005", -5},
        {"+7", 7},
        {"99999999999", 2147483647},
        {"", 1234},
        {"none", 1234},
        {"-", 1234},
        {"x12", 1234},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BaseFromText(c.text, 1234), c.want) << c.text;
}

TEST(MultiLevelEntriesTest, EntryTakesTheLevelsFieldsAndMessages)
{
    CDocumentFields fields;
    fields.m_levelKind = 2;
    fields.m_lightPower = 7;
    fields.m_darkPower = 8;
    fields.m_messageText = "MSGS 6\r\n"
                           "\"MINE\"\t\t\t0\t\"Deep \"Old\" Mine\"\r\n"
                           "\"MINE_TEXT_00\"\t0\t\"^Objectives\"\r\n"
                           "\"MINE_TEXT_01\"\t0\t\"\"\r\n"
                           "\"GOAL_01000\"\t\t0\t\"Find the key.\"\r\n"
                           "\"COG_01000\"\t\t0\t\"A door opens.\"\r\n"
                           "\r\n"
                           "no quoted text here\n"
                           "END\r\n";
    const auto entry = EntryFromLevel("/levels/v1.2/mine.final.qze", fields);
    EXPECT_EQ(entry->m_levelPath, "/levels/v1.2/mine.final.qze");
    EXPECT_EQ(entry->m_fileName, "mine.final");
    EXPECT_EQ(entry->m_levelType, 2);
    EXPECT_EQ(entry->m_lightPower, 7);
    EXPECT_EQ(entry->m_darkPower, 8);
    // Blank lines and lines without a string leave the title as the title line gave it.
    EXPECT_EQ(entry->m_levelTitle, "Deep \"Old\" Mine");
    EXPECT_EQ(entry->m_texts, (Strings{"^Objectives", ""}));
    EXPECT_EQ(entry->m_goals, (Strings{"Find the key."}));
    EXPECT_EQ(entry->m_cogs, (Strings{"A door opens."}));
    EXPECT_EQ(entry->m_gotoA, -1);
    EXPECT_EQ(entry->m_gotoB, -1);

    // Values outside their lists (a damaged file) give the first entry of the list, so the
    // entry can be stored in a list file and read back.
    fields.m_levelKind = 5;
    fields.m_lightPower = -1;
    fields.m_darkPower = 9;
    const auto clamped = EntryFromLevel("plain", fields);
    EXPECT_EQ(clamped->m_fileName, "plain");
    EXPECT_EQ(clamped->m_levelType, 0);
    EXPECT_EQ(clamped->m_lightPower, 0);
    EXPECT_EQ(clamped->m_darkPower, 0);
}

TEST(MultiLevelEntriesTest, AddedEntriesTakeFreeNumbersAndLinkTheirPredecessor)
{
    Items items;
    for (int i = 0; i < 3; ++i)
        AppendEntry(items, std::make_unique<CMultiLevelItem>());
    struct Want {
        int line, goalsBase, cogsBase, gotoA;
    };
    const auto expect = [&items](std::initializer_list<Want> wants) {
        ASSERT_EQ(items.size(), wants.size());
        std::size_t i = 0;
        for (const Want& w : wants) {
            EXPECT_EQ(items[i]->m_lineNumber, w.line) << i;
            EXPECT_EQ(items[i]->m_goalsBase, w.goalsBase) << i;
            EXPECT_EQ(items[i]->m_cogsBase, w.cogsBase) << i;
            EXPECT_EQ(items[i]->m_gotoA, w.gotoA) << i;
            EXPECT_EQ(items[i]->m_gotoB, -1) << i;
            ++i;
        }
    };
    expect({{10, 1000, 1000, 20}, {20, 2000, 2000, 30}, {30, 3000, 3000, -1}});

    // After the first is deleted, 10 x 3 is in use: the next free numbers above the largest.
    items.erase(items.begin());
    AppendEntry(items, std::make_unique<CMultiLevelItem>());
    expect({{20, 2000, 2000, 30}, {30, 3000, 3000, 40}, {40, 4000, 4000, -1}});

    // 10 x n in use and the largest typed off the step: the first multiple above it; a free
    // 1000 x n stays.
    items[1]->m_lineNumber = 40;
    items[2]->m_lineNumber = 45;
    items[2]->m_cogsBase = -2500;
    AppendEntry(items, std::make_unique<CMultiLevelItem>());
    EXPECT_EQ(items[3]->m_lineNumber, 50);
    EXPECT_EQ(items[3]->m_goalsBase, 5000);
    EXPECT_EQ(items[3]->m_cogsBase, 4000);
    EXPECT_EQ(FreeEntryNumber(items, EEntryNumber::lineNumber, 20, 10), 60);
    // No multiple left above the largest: the lowest one not in use, never one that is.
    items[0]->m_lineNumber = 2147483640;
    EXPECT_EQ(FreeEntryNumber(items, EEntryNumber::lineNumber, 40, 10), 10);
    items[0]->m_lineNumber = 2147483647;
    items[1]->m_lineNumber = 10;
    EXPECT_EQ(FreeEntryNumber(items, EEntryNumber::lineNumber, 45, 10), 20);
}

}  // namespace
