// qzbench apply runs the Switch command from a script with the synthetic game (game=FOLDER): the
// recess and the switch face textured once across from the game's material are written; a switch
// material found nowhere and one too large for the wall are refused with nothing written, and
// undo gives back the level as opened.

#include "SyntheticGame.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"
#include "tools/Switch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A room from (0, 0, 0) to (4, 3, 4); the switch goes into its wall z = 0 from (2, 1, 0) up.
class QzbenchApplySwitchTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplySwitchTest() : QzbenchApplyFileTest("qz_apply_switch") {}

    void SetUp() override
    {
        const CQzlSections level = SaveBoxRoom({0, 0, 0}, {4, 3, 4});
        BuildSyntheticGame(m_temp / "game");
        m_words =
            "create-switch sector=0 surface=" + std::to_string(BoxSurface(level, 0, kBoxZLow)) +
            " game='" + (m_temp / "game").string() + "'";
        m_nodes = " node=2,1,0 node=2,2,0";
    }

    std::string m_words;
    std::string m_nodes;
};

TEST_F(QzbenchApplySwitchTest, TheRecessAndTheTexturedFaceAreWritten)
{
    int status = -1;
    const std::string output =
        Run(m_words + m_nodes + " switch=brick.mat depth=0.1 width=0.2 height=0.4", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections out = LoadLevelFile(Out(), 0).m_contents.m_level;
    EXPECT_TRUE(LevelIsSound(out));
    ASSERT_EQ(out.m_sectors.size(), 2u);
    // The face of brick.mat (64 x 32) at the back of the recess.
    int faces = 0;
    for (const int s : out.m_sectors[1]->m_surfaces) {
        const CQzlSurface& surface = *out.m_surfaces[static_cast<std::size_t>(s)];
        if (surface.m_material < 0 ||
            out.m_materials[static_cast<std::size_t>(surface.m_material)]->m_name != "brick.mat")
            continue;
        ++faces;
        float most[2] = {};
        for (const CQzlVertex& corner : surface.m_vertices) {
            most[0] = std::max(most[0], corner.m_u);
            most[1] = std::max(most[1], corner.m_v);
        }
        EXPECT_EQ(most[0], 64.0f);
        EXPECT_EQ(most[1], 32.0f);
    }
    EXPECT_EQ(faces, 1);

    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", m_words + m_nodes + " switch=nosuch.mat",
                             "The texture of the switch material \"nosuch.mat\" cannot be found."));
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             m_words + m_nodes + " switch=brick.mat height=1 width=5",
                             "width and height: Please enter a number between 0.01 and 1."));
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             m_words + " switch=brick.mat height=1 node=2,2.5,0 node=2,3,0",
                             "The selected Switch object exceeds the current"));

    const std::vector<std::uint8_t> opened = OpenedLevelBytes(In());
    const std::string undone = Run("undo " + m_words + m_nodes + " switch=brick.mat", status);
    ASSERT_EQ(status, 0) << undone;
    EXPECT_EQ(ReadFileBytes(Out()), opened);
}

}  // namespace
