// The conveyor belt: the cog's ten values from the two grid nodes (the direction written x, z, y),
// one cog per belt with its script listed once, the grid, markers and picked nodes cleared after
// it, two nodes at one point refused, and the command's question.

#include "tools/ConveyorBelt.h"

#include "engine/Undo.h"
#include "level/QzeFile.h"
#include "level/QzlCog.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

Values BeltValues(const char* direction, const char* surface)
{
    Values values{direction, "1", surface};
    values.insert(values.end(), 7, "-1");
    return values;
}

void PickFloor(C3dView& view, const CVector3& p0, const CVector3& p1)
{
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(view.GetLevel(), 0, kBoxFloor);
    view.m_selection.m_pickedNodes = {p0, p1};
}

}  // namespace

TEST(ConveyorCogValues, DirectionIsWrittenXZY)
{
    const struct {
        CVector3 p0, p1;
        int surface;
        const char* direction;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 2}, 0, "(0.0/1.0/0.0)"},
        {{1, 0, 0}, {0, 0, 0}, 7, "(-1.0/0.0/0.0)"},
        {{0, 0, 0}, {0, 3, 0}, 12, "(0.0/0.0/1.0)"},
        {{0, 0, 0}, {1, 0, 1}, 3, "(0.7/0.7/0.0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.direction);
        const auto values = ConveyorCogValues(c.p0, c.p1, c.surface);
        ASSERT_TRUE(values.has_value());
        EXPECT_EQ(*values, BeltValues(c.direction, std::to_string(c.surface).c_str()));
    }
    EXPECT_FALSE(ConveyorCogValues({1, 2, 3}, {1, 2, 3}, 0).has_value());
    EXPECT_FALSE(ConveyorCogValues({1, 2, 3}, {1, 2, 3.00001f}, 0).has_value());
}

TEST(CreateConveyorBelt, AddsOneCogPerBeltAndClearsTheGrid)
{
    CFixtureEngine engine(MakeTwoJoinedRooms());
    C3dView& view = engine.m_view;
    engine.m_level.m_cogScripts = {"00_CONVEYOR.COG"};
    for (int i = 0; i < 2; ++i) {
        engine.m_document.m_gridOn = 1;
        PickFloor(view, {0, 0, 0}, {0, 0, 1});
        EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] { return CreateConveyorBelt(view); }));
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        EXPECT_EQ(engine.m_document.m_gridOn, 0);
        EXPECT_TRUE(view.m_selection.m_pickedNodes.empty());
        EXPECT_TRUE(view.m_markers.empty());
        EXPECT_EQ(view.m_selection.m_surface, BoxSurface(engine.m_level, 0, kBoxFloor));
        EXPECT_EQ(view.m_selection.m_sector, 0);
    }
    ASSERT_EQ(engine.m_level.m_cogs.size(), 2U);
    for (const auto& cog : engine.m_level.m_cogs) {
        EXPECT_EQ(cog->m_script, "00_conveyor.cog");
        EXPECT_EQ(cog->m_values, BeltValues("(0.0/1.0/0.0)", "0"));
    }
    EXPECT_EQ(engine.m_level.m_cogScripts, Values{"00_CONVEYOR.COG"});
    EXPECT_GE(engine.m_host.Count(CRecordingEngineHost::ECall::RequestFrame), 2U);
}

TEST(CreateConveyorBelt, TwoNodesAtOnePointAreRefused)
{
    CFixtureEngine engine(MakeTwoJoinedRooms());
    C3dView& view = engine.m_view;
    engine.m_settings.m_warning = 0;
    PickFloor(view, {0.5f, 0, 0.5f}, {0.5f, 0, 0.5f});
    const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
    EXPECT_FALSE(RunCreateConveyorBeltCommand(view));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_FALSE(CanUndo(view));
    EXPECT_EQ(engine.m_host.Messages(), Values{std::string(kConveyorSameNodesText)});
    EXPECT_EQ(view.m_selection.m_pickedNodes.size(), 2U);
}

TEST(CreateConveyorBelt, TheCommandAsksWhileWarningIsOn)
{
    CFixtureEngine engine(MakeTwoJoinedRooms());
    C3dView& view = engine.m_view;
    PickFloor(view, {0, 0, 0}, {1, 0, 0});
    const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
    engine.m_host.ScriptAnswers({false});
    EXPECT_FALSE(RunCreateConveyorBeltCommand(view));
    EXPECT_EQ(engine.m_host.Questions(), Values{"Do you want to create a Conveyor Belt?"});
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_FALSE(CanUndo(view));

    EXPECT_TRUE(RunCreateConveyorBeltCommand(view));
    EXPECT_TRUE(CanUndo(view));
    engine.m_settings.m_warning = 0;
    engine.m_host.Clear();
    PickFloor(view, {0, 0, 0}, {1, 0, 0});
    EXPECT_TRUE(RunCreateConveyorBeltCommand(view));
    EXPECT_TRUE(engine.m_host.Questions().empty());
    EXPECT_EQ(engine.m_level.m_cogs.size(), 2U);
}
