// A builder's rollback: after a cut of a floor, a changed selection and changed switches, Restore
// gives back the stored bytes, the use counts, the selection with its grid nodes and the
// switches.

#include "tools/LevelRollback.h"

#include "edit/CutToPolygon.h"
#include "engine/RenderData.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(LevelRollback, RestoreGivesBackTheLevelTheSelectionAndTheSwitches)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
    FinishFixture(level);
    CFixtureEngine engine(std::move(level));
    C3dView& view = engine.m_view;
    RebuildAll(view, false, ERebuildAll::Restore);
    const int floor = BoxSurface(engine.m_level, 0, kBoxFloor);
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = floor;
    view.m_selection.m_pickedNodes = {{1, 0, 1}, {3, 0, 1}};
    engine.m_document.m_gridOn = 1;
    engine.m_document.m_editMode = 2;
    const std::vector<std::uint8_t> bytes = WriteLevelBytes(engine.m_level);
    const std::vector<std::int32_t> uses = engine.m_level.m_useCounts;

    CLevelRollback rollback(view);
    ASSERT_TRUE(CutSurfaceToPolygon(view, 0, floor, {{1, 0, 1}, {3, 0, 1}, {3, 0, 3}, {1, 0, 3}},
                                    {1, 0, 0}));
    engine.m_document.m_gridOn = 0;
    engine.m_document.m_editMode = 0;
    view.m_selection.m_sector = -1;
    ASSERT_NE(WriteLevelBytes(engine.m_level), bytes);

    rollback.Restore();
    EXPECT_EQ(WriteLevelBytes(engine.m_level), bytes);
    EXPECT_EQ(engine.m_level.m_useCounts, uses);
    EXPECT_EQ(view.m_selection.m_sector, 0);
    EXPECT_EQ(view.m_selection.m_surface, floor);
    EXPECT_EQ(view.m_selection.m_pickedNodes, (std::vector<CVector3>{{1, 0, 1}, {3, 0, 1}}));
    EXPECT_EQ(engine.m_document.m_gridOn, 1);
    EXPECT_EQ(engine.m_document.m_editMode, 2);
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

}  // namespace
