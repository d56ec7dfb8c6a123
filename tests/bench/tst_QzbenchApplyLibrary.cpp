// qzbench apply rename-group, delete-group and load-group: the sector library's operations from a
// script, run as a process; a group that is not there is refused with nothing written.

#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class QzbenchApplyLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The level: the L corridor, sectors 1 and 2 in the group "Annex".
        CQzlSections level = MakeLCorridor();
        level.m_sectors[1]->m_groupName = "Annex";
        level.m_sectors[2]->m_groupName = "ANNEX";
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
        // The library: a room of group "Annex" where the corridor's sector 1 stood.
        CQzlSections library = MakeEmptyLevel();
        AddBoxSector(library, {1, 0, 0}, {2, 1, 1});
        library.m_sectors[0]->m_groupName = "Annex";
        FinishFixture(library);
        SaveQzeFile(m_temp / "library.qze", library, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", words, status);
    }

    CQzlSections Out() const
    {
        return std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    }

    CTempFolder m_temp{"qz_apply_library"};
};

TEST_F(QzbenchApplyLibraryTest, RenameDeleteAndLoad)
{
    int status = -1;
    std::string output = Apply("rename-group old=annex new=Hall", status);
    ASSERT_EQ(status, 0) << output;
    CQzlSections level = Out();
    EXPECT_EQ(level.m_sectors[1]->m_groupName, "Hall");
    EXPECT_EQ(level.m_sectors[2]->m_groupName, "Hall");

    output = Apply("delete-group group=Annex", status);
    ASSERT_EQ(status, 0) << output;
    level = Out();
    EXPECT_EQ(level.m_sectors.size(), 1U);
    EXPECT_TRUE(LevelIsSound(level));

    // Load replaces both "Annex" sectors by the library's room, joined to sector 0.
    output =
        Apply("load-group 'from=" + (m_temp / "library.qze").string() + "' group=annex", status);
    ASSERT_EQ(status, 0) << output;
    level = Out();
    ASSERT_EQ(level.m_sectors.size(), 2U);
    EXPECT_EQ(level.m_sectors[1]->m_groupName, "Annex");
    EXPECT_EQ(level.m_adjoins.size(), 2U);
    EXPECT_TRUE(LevelIsSound(level));
}

TEST_F(QzbenchApplyLibraryTest, AGroupThatIsNotThereIsRefused)
{
    for (const char* words : {"rename-group old=Stairs new=Hall", "delete-group group=Stairs"}) {
        SCOPED_TRACE(words);
        int status = -1;
        const std::string output = Apply(words, status);
        EXPECT_EQ(status, 2) << output;
        EXPECT_NE(output.find("Stairs"), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists(m_temp / "out.qze"));
    }
}

}  // namespace
