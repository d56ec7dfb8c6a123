// qzbench runs in the locale of its environment, as the editor does, and its conversions between
// the archive form and the text level give the same files in a locale whose decimal separator is
// a comma as in the C locale.

#include "framework/FileIO.h"
#include "level/QzeFile.h"
#include "support/CommaLocale.h"
#include "support/FixtureLevels.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <locale.h>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCommaLocale = "de_DE.UTF-8";

std::string Text(const fs::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

class QzbenchLocaleTest : public ::testing::Test {
protected:
    // The set-up (scripts/deps.sh) generates the locale; where it must have run, its absence is
    // a failure.
    void SetUp() override
    {
        if (locale_t comma = ::newlocale(LC_ALL_MASK, kCommaLocale, nullptr)) {
            ::freelocale(comma);
            return;
        }
        if (RunningInCi())
            FAIL() << kNoCommaLocale;
        GTEST_SKIP() << kNoCommaLocale;
    }

    // Converts in to out with qzbench in locale; returns its output.
    std::string Convert(const char* locale, const char* command, const std::string& in,
                        const std::string& out)
    {
        int status = 0;
        const std::string output = RunQzbench(std::string("LC_ALL=") + locale,
                                              std::string(command) + " '" + (m_dir / in).string() +
                                                  "' '" + (m_dir / out).string() + "'",
                                              status);
        EXPECT_EQ(status, 0) << command << " " << in << " " << out << ":\n" << output;
        return output;
    }

    CTempFolder m_temp{"qz_bench"};
    const fs::path& m_dir = m_temp.Path();
};

TEST_F(QzbenchLocaleTest, ConversionsGiveTheSameFilesInTheCommaLocale)
{
    // Coordinates with fractions, so that every number has a decimal separator.
    CQzlSections level = MakeTwoJoinedRooms();
    for (CWorldVertex& v : level.m_worldVertices) {
        v.x = v.x * 1.25f + 0.5f;
        v.y *= 2.75f;
    }
    SaveQzeFile(m_dir / "a.qze", level, CDocumentFields{});

    // The C locale: the reference.
    Convert("C", "roundtrip", "a.qze", "c.qzl");
    const std::string reference = Text(m_dir / "c.qzl");
    ASSERT_NE(reference.find("  1.750000"), std::string::npos);  // 1 * 1.25 + 0.5

    // Every direction in the comma locale.
    const std::string output = Convert(kCommaLocale, "roundtrip", "a.qze", "d.qzl");
    Convert(kCommaLocale, "roundtrip", "d.qzl", "d.qze");
    Convert(kCommaLocale, "roundtrip", "d.qze", "e.qze");
    Convert(kCommaLocale, "roundtrip", "e.qze", "e.qzl");
    Convert(kCommaLocale, "roundtrip", "e.qzl", "f.qzl");
    Convert(kCommaLocale, "write-qzl", "e.qze", "g.qzl");
    // The figures qzbench prints follow its locale: it did run in the comma locale.
    EXPECT_TRUE(std::regex_search(output, std::regex("load_ms=[0-9]+,[0-9]"))) << output;

    for (const char* name : {"d.qzl", "e.qzl", "f.qzl", "g.qzl"})
        EXPECT_EQ(Text(m_dir / name), reference) << name;
    const CQzeContents back = LoadQzeFile(m_dir / "e.qze");
    ASSERT_EQ(back.m_level.m_worldVertices.size(), level.m_worldVertices.size());
    for (std::size_t i = 0; i < level.m_worldVertices.size(); ++i) {
        EXPECT_EQ(back.m_level.m_worldVertices[i].x, level.m_worldVertices[i].x) << i;
        EXPECT_EQ(back.m_level.m_worldVertices[i].y, level.m_worldVertices[i].y) << i;
    }
    // The text level carries no episode fields: the archive made from it has a new document's.
    EXPECT_EQ(back.m_version, 5);
    EXPECT_FALSE(back.m_document.m_episodeTitle.empty());
}

// The points of an operation's words are read in the C locale whatever the user's: the same cut
// in both.
TEST_F(QzbenchLocaleTest, NodeWordsReadTheSameInTheCommaLocale)
{
    CQzlSections level = MakeLCorridor();
    SaveQzeFile(m_dir / "in.qze", level, CDocumentFields{});
    const std::string words = "cut-surface-to-polygon sector=0 surface=0 node=0.25,0,0.25 "
                              "node=0.75,0,0.25 node=0.75,0,0.75 node=0.25,0,0.75";
    for (const char* locale : {"C", kCommaLocale}) {
        int status = -1;
        const std::string output = RunQzbench(std::string("LC_ALL=") + locale,
                                              "apply '" + (m_dir / "in.qze").string() + "' '" +
                                                  (m_dir / locale).string() + ".qze' " + words,
                                              status);
        EXPECT_EQ(status, 0) << locale << ":\n" << output;
    }
    EXPECT_EQ(ReadFileBytes(m_dir / (std::string(kCommaLocale) + ".qze")),
              ReadFileBytes(m_dir / "C.qze"));
}

}  // namespace
