// qzbench test-archive writes the archive that Test Level gives the game: the same bytes as the
// core builds, with the cogs found beside the level, the entries listed in directory order and
// each item left out named.

#include "episode/StartGoalsCogs.h"
#include "episode/TestArchive.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "resources/TreeObject.h"
#include "support/FixtureLevels.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

class QzbenchTestArchiveTest : public QzbenchApplyFileTest {
protected:
    QzbenchTestArchiveTest() : QzbenchApplyFileTest("qz_bench_test_archive") {}

    std::filesystem::path Gob() const { return m_temp / "QzEdit.gob"; }

    // Saves the box room with fields and the start cog beside it.
    void SaveInput(const std::string& levelFileName)
    {
        CQzlSections level = MakeBoxRoom();
        AddLevelFile(level, "a.mat", "MAT");
        level.m_levelFiles.m_entries[0]->m_path = "mat\\a.mat";
        CDocumentFields fields = DefaultDocumentFields();
        fields.m_levelFileName = levelFileName;
        SaveQzeFile(In(), level, fields);
        std::ofstream(m_temp / kStartCogScript, std::ios::binary) << "# start\r\n";
    }

    // What the core builds of the saved input, with the start cog only.
    CTestArchive Expected() const
    {
        CLevelFile file = LoadLevelFile(In(), 0);
        CTestArchiveCogs cogs;
        cogs.m_start = ReadFileBytes(m_temp / kStartCogScript);
        return BuildTestArchive(file.m_contents.m_level, file.m_contents.m_document, cogs,
                                CGameResources{}, 0);
    }
};

std::string Listing(const CTestArchive& built)
{
    std::string text;
    for (const CGobEntry& entry : built.m_archive.GetEntries())
        text += entry.m_path + " " + std::to_string(entry.m_size) + "\n";
    for (const std::string& item : built.m_skipped)
        text += "skipped: " + item + "\n";
    return text;
}

}  // namespace

TEST_F(QzbenchTestArchiveTest, WritesTheCoresArchiveAndListsIt)
{
    const struct {
        const char* levelName;
        bool levelEntry;
    } cases[] = {{"Bench.qzl", true}, {"..\\up.qzl", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levelName);
        SaveInput(c.levelName);
        int status = -1;
        const std::string output = RunQzbench(
            "LC_ALL=C", "test-archive '" + In().string() + "' '" + Gob().string() + "'", status);
        EXPECT_EQ(status, 0) << output;
        const CTestArchive expected = Expected();
        EXPECT_EQ(output, Listing(expected));
        EXPECT_EQ(ReadFileBytes(Gob()), expected.m_archive.GetBytes());
        EXPECT_EQ(output.find("qzl\\bench.qzl") != std::string::npos, c.levelEntry) << output;
        EXPECT_EQ(output.find("skipped: ") != std::string::npos, !c.levelEntry) << output;
        EXPECT_NE(output.find("mat\\a.mat 3\n"), std::string::npos) << output;
        EXPECT_EQ(output.find("qzedit_goals.cog"), std::string::npos);  // not beside the level
    }
}

TEST_F(QzbenchTestArchiveTest, BadInputIsReported)
{
    int status = -1;
    RunQzbench("",
               "test-archive '" + (m_temp / "missing.qze").string() + "' '" + Gob().string() + "'",
               status);
    EXPECT_EQ(status, 3);
    EXPECT_FALSE(std::filesystem::exists(Gob()));
    RunQzbench("", "test-archive", status);
    EXPECT_EQ(status, 1);
}
