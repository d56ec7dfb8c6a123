// qzbench apply runs Expand Surface from a script: each shape adds its sector joined to the
// surface, words not given take the dialog's start values, a refusal writes nothing, and undo
// gives back the level as opened.

#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class QzbenchApplyExpandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CQzlSections level = MakeTwoJoinedRooms();
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", words, status);
    }

    CQzlSections Out()
    {
        return std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    }

    CTempFolder m_temp{"qz_apply_expand"};
};

// Sector 1's wall x = 2, up along y.
const std::string kWall = "expand-surface sector=1 surface=9 node=2,0,0.5 node=2,1,0.5";

TEST_F(QzbenchApplyExpandTest, EachShapeAddsItsSector)
{
    struct CCase {
        std::string words;
        std::size_t sectorSurfaces;
    };
    const CCase cases[] = {
        {"", 6},
        {" depth=2 left=0.5 top=0.5", 8},
        {" shape=cylindrical sides=5", 7},
        {" shape=circular", 40},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply(kWall + c.words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = Out();
        ASSERT_EQ(out.m_sectors.size(), 3u);
        EXPECT_EQ(out.m_sectors[2]->m_surfaces.size(), c.sectorSurfaces);
        EXPECT_EQ(out.m_adjoins.size(), 4u);
        EXPECT_GE(out.m_surfaces[9]->m_adjoin, 0);
        EXPECT_TRUE(LevelIsSound(out));
    }
}

TEST_F(QzbenchApplyExpandTest, RefusalsWriteNothing)
{
    struct CCase {
        std::string words;
        const char* message;
    };
    const CCase cases[] = {
        {"expand-surface sector=0 surface=3 node=1,0,0.5 node=1,1,0.5", "already adjoined"},
        {kWall + " shape=circular sides=5", "from 6 to 24"},
        {kWall + " shape=square", "shape takes"},
        {"expand-surface sector=1", "no current surface"},
    };
    for (const CCase& c : cases)
        EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze", c.words, c.message))
            << c.words;
}

TEST_F(QzbenchApplyExpandTest, UndoGivesBackTheOpenedLevel)
{
    const std::vector<std::uint8_t> opened = OpenedLevelBytes(m_temp / "in.qze");
    int status = -1;
    const std::string output = Apply("undo " + kWall + " shape=cylindrical", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
}

}  // namespace
