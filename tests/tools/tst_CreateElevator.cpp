// The elevator builder: Up and Down shafts, with and without a sub-shaft, standing alone or
// joined to the room beyond; the thing's start and end frames and the sector that holds it; the
// switch cogs naming the walls around the carved columns three to a cog; refusals and steps that
// fail half way leave the level byte for byte as it was. After every build the level oracle holds
// and undo gives back the exact bytes.

#include "tools/CreateElevator.h"

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/DeleteRenumber.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/PointLists.h"
#include "support/UndoCheck.h"
#include "tools/DoorElevatorFit.h"
#include "tools/ElevatorCogs.h"
#include "tools/Extrude.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The sector holding p well inside; -1 when none does.
int SectorAt(const CQzlSections& level, const CVector3& p)
{
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        if (PointInSector(level, static_cast<int>(s), p, 0.01f))
            return static_cast<int>(s);
    return -1;
}

CQzlSections MakeLevel(const std::vector<std::pair<CVector3, CVector3>>& boxes)
{
    CQzlSections level = MakeEmptyLevel();
    for (const auto& [lo, hi] : boxes)
        AddBoxSector(level, lo, hi);
    FinishFixture(level);
    return level;
}

// A room from (0, 0, 0) to (4, 3, 4) whose floor is two rectangles meeting at x = 2.
CQzlSections MakeRoomWithSplitFloor(float bottom)
{
    CQzlSections level = MakeEmptyLevel();
    const float top = bottom + 3.0f;
    const int s = AddEmptySector(level);
    const CVector3 inside{2, bottom + 1.5f, 2};
    AddFacingSurface(level, s, inside,
                     {{0, bottom, 0}, {2, bottom, 0}, {2, bottom, 4}, {0, bottom, 4}});
    AddFacingSurface(level, s, inside,
                     {{2, bottom, 0}, {4, bottom, 0}, {4, bottom, 4}, {2, bottom, 4}});
    AddFacingSurface(level, s, inside, {{0, top, 0}, {4, top, 0}, {4, top, 4}, {0, top, 4}});
    AddFacingSurface(level, s, inside, {{0, bottom, 0}, {0, top, 0}, {0, top, 4}, {0, bottom, 4}});
    AddFacingSurface(level, s, inside, {{4, bottom, 0}, {4, top, 0}, {4, top, 4}, {4, bottom, 4}});
    AddFacingSurface(level, s, inside,
                     {{0, bottom, 0}, {2, bottom, 0}, {4, bottom, 0}, {4, top, 0}, {0, top, 0}});
    AddFacingSurface(level, s, inside,
                     {{0, bottom, 4}, {2, bottom, 4}, {4, bottom, 4}, {4, top, 4}, {0, top, 4}});
    return level;
}

// Footprint 1 by 1 centred on the floor point g0, turned towards +z; the elevator 0.5 high.
CElevatorParams Params(bool up, float shaft, float subShaft, bool connect)
{
    CElevatorParams p;
    p.m_template = "lift";
    p.m_width = 1;
    p.m_height = 0.5f;
    p.m_depth = 1;
    p.m_shaftHeight = shaft;
    p.m_subShaftHeight = subShaft;
    p.m_up = up;
    p.m_connect = connect;
    return p;
}

void Select(CFixtureEngine& engine, int sector, const CVector3& g0)
{
    C3dView& view = engine.m_view;
    view.m_selection.m_sector = sector;
    view.m_selection.m_surface = BoxSurface(engine.m_level, sector, kBoxFloor);
    view.m_selection.m_pickedNodes = {g0, g0 + CVector3{0, 0, 1}};
}

// Builds the elevator from the floor of sector at g0 as the command does, with the undo check;
// the oracle must hold afterwards.
void BuildChecked(CFixtureEngine& engine, int sector, const CVector3& g0, const CElevatorParams& p)
{
    C3dView& view = engine.m_view;
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        Select(engine, sector, g0);
        return CreateElevator(view, p);
    }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

// The switch cogs hold the thing's index last and -1 before it; every surface they name is a
// portal into one of the carved columns.
void ExpectSwitchCogs(const CQzlSections& level, std::size_t cogs, const std::vector<int>& columns)
{
    ASSERT_EQ(level.m_cogs.size(), cogs);
    std::size_t named = 0;
    for (const auto& cog : level.m_cogs) {
        EXPECT_EQ(cog->m_script, "00_elev_switch.cog");
        ASSERT_EQ(cog->m_values.size(), 5u);
        EXPECT_EQ(cog->m_values[3], "-1");
        EXPECT_EQ(cog->m_values[4], std::to_string(level.m_things.size() - 1));
        for (int i = 0; i < 3; ++i) {
            const int surface = std::stoi(cog->m_values[static_cast<std::size_t>(i)]);
            if (surface < 0)
                continue;
            ++named;
            ASSERT_LT(static_cast<std::size_t>(surface), level.m_surfaces.size());
            const std::int32_t adjoin =
                level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin;
            ASSERT_GE(adjoin, 0);
            const int other = level.m_adjoins[static_cast<std::size_t>(adjoin)]->m_otherSector;
            EXPECT_NE(std::find(columns.begin(), columns.end(), other), columns.end())
                << "surface " << surface << " leads to sector " << other;
        }
    }
    // A column cut from the middle of a room has four walls round it.
    EXPECT_EQ(named, 4 * columns.size());
}

struct SShaftCase {
    const char* name;
    bool up;
    float subShaft;
    CVector3 start;  // P
    CVector3 end;    // E
    float shaftLo;   // the shaft sector's extent in y
    float shaftHi;
    float subLo;  // the sub-shaft's, when there is one
    float subHi;
};

TEST(CreateElevator, UpAndDownShaftsWithAndWithoutASubShaft)
{
    // Room (0, 0, 0) to (4, 3, 4); n = +y, d = +z; the footprint x and z from 1.5 to 2.5; Y 0.5,
    // shaft 2.
    const SShaftCase cases[] = {
        {"up", true, 0.0f, {2, 0.25f, 2}, {2, 2.25f, 2}, 3, 5, 0, 0},
        {"down", false, 0.0f, {2, 0.25f, 2}, {2, -1.75f, 2}, -2, 0, 0, 0},
        {"down with a sub-shaft", false, 0.5f, {2, -0.25f, 2}, {2, -2.25f, 2}, -2, 0, -2.5f, -2},
        {"up with a sub-shaft", true, 0.5f, {2, -0.25f, 2}, {2, 1.75f, 2}, 3, 5, -0.5f, 0},
    };
    for (const SShaftCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeLevel({{{0, 0, 0}, {4, 3, 4}}}));
        engine.m_level.m_cogScripts = {"00_ELEV_SWITCH.COG"};
        BuildChecked(engine, 0, {2, 0, 2}, Params(c.up, 2, c.subShaft, false));
        EXPECT_TRUE(engine.m_host.Messages().empty());

        const CQzlSections& level = engine.m_level;
        // The column over the footprint, the shaft and the sub-shaft.
        EXPECT_EQ(level.m_sectors.size(), 1u + 4u + 1u + (c.subShaft > 0 ? 1u : 0u));
        const int column = SectorAt(level, {2, 1.5f, 2});
        ASSERT_GE(column, 0);
        const CCornerBox columnBox = SectorCornerBox(level, column);
        EXPECT_TRUE(SamePoint(columnBox.lo, {1.5f, 0, 1.5f}));
        EXPECT_TRUE(SamePoint(columnBox.hi, {2.5f, 3, 2.5f}));
        const int shaft = SectorAt(level, {2, (c.shaftLo + c.shaftHi) / 2, 2});
        ASSERT_GE(shaft, 0);
        const CCornerBox shaftBox = SectorCornerBox(level, shaft);
        EXPECT_TRUE(SamePoint(shaftBox.lo, {1.5f, c.shaftLo, 1.5f}));
        EXPECT_TRUE(SamePoint(shaftBox.hi, {2.5f, c.shaftHi, 2.5f}));
        if (c.subShaft > 0) {
            const int sub = SectorAt(level, {2, (c.subLo + c.subHi) / 2, 2});
            ASSERT_GE(sub, 0);
            const CCornerBox subBox = SectorCornerBox(level, sub);
            EXPECT_NEAR(subBox.lo.y, c.subLo, 1e-4f);
            EXPECT_NEAR(subBox.hi.y, c.subHi, 1e-4f);
        }

        ASSERT_EQ(level.m_things.size(), 1u);
        const CQzlThing& thing = *level.m_things[0];
        EXPECT_EQ(thing.m_template, "lift");
        EXPECT_EQ(thing.m_name, "lift");
        EXPECT_TRUE(SamePoint(thing.m_position, c.start));
        EXPECT_EQ(thing.m_sector, SectorAt(level, c.start));
        ASSERT_EQ(thing.m_frames.size(), 2u);
        EXPECT_TRUE(
            SamePoint({thing.m_frames[0].x, thing.m_frames[0].y, thing.m_frames[0].z}, c.start));
        EXPECT_TRUE(
            SamePoint({thing.m_frames[1].x, thing.m_frames[1].y, thing.m_frames[1].z}, c.end));
        for (const CWorldVertex& f : thing.m_frames) {
            EXPECT_EQ(f.extra[0], thing.m_roll);
            EXPECT_EQ(f.extra[1], thing.m_pitch);
            EXPECT_EQ(f.extra[2], thing.m_yaw);
        }
        EXPECT_EQ(engine.m_view.m_selection.m_thing, 0);

        // Four walls round the column: two cogs, the second filled up with -1.
        ExpectSwitchCogs(level, 2, {column});
        EXPECT_EQ(level.m_cogs[1]->m_values[1], "-1");
        EXPECT_EQ(level.m_cogs[1]->m_values[2], "-1");
        EXPECT_EQ(level.m_cogScripts, std::vector<std::string>{"00_ELEV_SWITCH.COG"});
        EXPECT_TRUE(engine.m_view.m_work.m_cutResults.empty());
    }
}

TEST(CreateElevator, AJoinedShaftCarvesTheRoomBeyondAndEndsThere)
{
    // Down: a room (0, 2, 0)-(4, 5, 4) over a room (0, -3, 0)-(4, 1, 4), a gap of 1 between;
    // the shaft joins the upper floor to the lower ceiling, the lower room is carved under it
    // and the elevator ends 0.25 below the lower floor, over the sub-shaft. Up: a room
    // (0, 0, 0)-(4, 3, 4) under a room (0, 4, 0)-(4, 7, 4); the elevator ends 0.25 below the
    // upper floor.
    const struct {
        const char* name;
        bool up;
        float subShaft;
        std::vector<std::pair<CVector3, CVector3>> rooms;
        int from;  // the room the elevator starts in
        CVector3 g0;
        CVector3 start, end;
        CVector3 inBeyondColumn;  // a point of the column carved in the other room
    } cases[] = {
        {"down with a sub-shaft",
         false,
         0.5f,
         {{{0, 2, 0}, {4, 5, 4}}, {{0, -3, 0}, {4, 1, 4}}},
         0,
         {2, 2, 2},
         {2, 1.75f, 2},
         {2, -3.25f, 2},
         {2, -1, 2}},
        {"down",
         false,
         0.0f,
         {{{0, 2, 0}, {4, 5, 4}}, {{0, -3, 0}, {4, 1, 4}}},
         0,
         {2, 2, 2},
         {2, 2.25f, 2},
         {2, 1.25f, 2},
         {2, -1, 2}},
        {"up with a sub-shaft",
         true,
         0.5f,
         {{{0, 0, 0}, {4, 3, 4}}, {{0, 4, 0}, {4, 7, 4}}},
         0,
         {2, 0, 2},
         {2, -0.25f, 2},
         {2, 3.75f, 2},
         {2, 5.5f, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeLevel(c.rooms));
        BuildChecked(engine, c.from, c.g0, Params(c.up, 1, c.subShaft, true));
        EXPECT_TRUE(engine.m_host.Messages().empty());
        const CQzlSections& level = engine.m_level;
        // Each room carved round a column (4 pieces each), the shaft, the sub-shaft.
        EXPECT_EQ(level.m_sectors.size(), 2u + 8u + 1u + (c.subShaft > 0 ? 1u : 0u));
        ASSERT_EQ(level.m_things.size(), 1u);
        const CQzlThing& thing = *level.m_things[0];
        EXPECT_TRUE(SamePoint(thing.m_position, c.start));
        EXPECT_EQ(thing.m_sector, SectorAt(level, c.start));
        EXPECT_TRUE(
            SamePoint({thing.m_frames[1].x, thing.m_frames[1].y, thing.m_frames[1].z}, c.end));
        // The sub-shaft holds the elevator at the lower of its frames.
        if (c.subShaft > 0) {
            EXPECT_GE(SectorAt(level, c.up ? c.start : c.end), 0);
        }

        // Eight walls: the first column's four, then the far column's.
        const int first = SectorAt(level, {c.g0.x, c.g0.y + (c.up ? 1.0f : 1.5f), c.g0.z});
        const int beyond = SectorAt(level, c.inBeyondColumn);
        ASSERT_GE(first, 0);
        ASSERT_GE(beyond, 0);
        ExpectSwitchCogs(level, 3, {first, beyond});
        EXPECT_EQ(level.m_cogs[2]->m_values[2], "-1");
        EXPECT_EQ(level.m_cogScripts, std::vector<std::string>{"00_elev_switch.cog"});
    }
}

TEST(CreateElevator, ANotUniqueFloorBeyondDropsTheSubShaftWithItsMessage)
{
    // The lower room's floor is two rectangles meeting under the middle of the footprint.
    CQzlSections level = MakeRoomWithSplitFloor(-3);
    AddBoxSector(level, {0, 2, 0}, {4, 5, 4});
    FinishFixture(level);
    CFixtureEngine engine(std::move(level));
    BuildChecked(engine, 1, {2, 2, 2}, Params(false, 1, 0.5f, true));
    EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{std::string(kNoSubShaftText)});
    // Built without the sub-shaft: the elevator stands on the upper floor.
    EXPECT_EQ(engine.m_level.m_sectors.size(), 2u + 8u + 1u);
    ASSERT_EQ(engine.m_level.m_things.size(), 1u);
    EXPECT_TRUE(SamePoint(engine.m_level.m_things[0]->m_position, {2, 2.25f, 2}));
}

TEST(CreateElevator, AJoinedShaftFromACeilingOfFiveCorners)
{
    // The column's ceiling keeps the ceiling's corner at (1, 3, 0) on its edge: the shaft rises
    // from a surface of five corners to the room above.
    CQzlSections level = MakeEmptyLevel();
    const int room = AddEmptySector(level);
    const CVector3 inside{2, 1.5f, 2};
    AddFacingSurface(level, room, inside, {{0, 0, 0}, {4, 0, 0}, {4, 0, 4}, {0, 0, 4}});
    AddFacingSurface(level, room, inside, {{0, 3, 0}, {1, 3, 0}, {4, 3, 0}, {4, 3, 4}, {0, 3, 4}});
    AddFacingSurface(level, room, inside, {{0, 0, 0}, {0, 3, 0}, {0, 3, 4}, {0, 0, 4}});
    AddFacingSurface(level, room, inside, {{4, 0, 0}, {4, 3, 0}, {4, 3, 4}, {4, 0, 4}});
    AddFacingSurface(level, room, inside, {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {1, 3, 0}, {0, 3, 0}});
    AddFacingSurface(level, room, inside, {{0, 0, 4}, {4, 0, 4}, {4, 3, 4}, {0, 3, 4}});
    AddBoxSector(level, {0, 4, 0}, {4, 7, 4});
    FinishFixture(level);
    CFixtureEngine engine(std::move(level));
    CElevatorParams p = Params(true, 1, 0, true);
    p.m_width = 2;
    C3dView& view = engine.m_view;
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = 0;
        view.m_selection.m_pickedNodes = {{1, 0, 0.5f}, {1, 0, 1.5f}};
        return CreateElevator(view, p);
    }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    EXPECT_TRUE(engine.m_host.Messages().empty());
    // The shaft from y 3 to 4 over x 0 to 2, z 0 to 1.
    const int shaft = SectorAt(engine.m_level, {1, 3.5f, 0.5f});
    ASSERT_GE(shaft, 0);
    const CCornerBox box = SectorCornerBox(engine.m_level, shaft);
    EXPECT_TRUE(SamePoint(box.lo, {0, 3, 0}));
    EXPECT_TRUE(SamePoint(box.hi, {2, 4, 1}));
    std::size_t mostCorners = 0;
    for (const std::int32_t s :
         engine.m_level.m_sectors[static_cast<std::size_t>(shaft)]->m_surfaces)
        mostCorners = std::max(
            mostCorners, engine.m_level.m_surfaces[static_cast<std::size_t>(s)]->m_vertices.size());
    EXPECT_EQ(mostCorners, 5u);
    ASSERT_EQ(engine.m_level.m_things.size(), 1u);
}

TEST(CreateElevator, RefusalsAndFailuresLeaveTheLevelAsItWas)
{
    const struct {
        const char* name;
        std::function<CQzlSections()> level;
        CVector3 g0;
        CElevatorParams params;
        const char* message;  // the last message shown; none when empty
    } cases[] = {
        // The ceiling over the footprint is a portal to the room above.
        {"up under a portal",
         [] { return MakeRoomAboveRoom(); },
         {0.5f, 0, 0.5f},
         [] {
             CElevatorParams p = Params(true, 1, 0, false);
             p.m_width = 0.5f;
             p.m_depth = 0.5f;
             return p;
         }(),
         kElevatorNoCeilingText.data()},
        // Nothing under the floor to join: the shaft's extrusion refuses after the carve.
        {"joined with nothing beyond",
         [] {
             return MakeLevel({{{0, 0, 0}, {4, 3, 4}}});
         },
         {2, 0, 2},
         Params(false, 1, 0, true),
         kElevatorFailedText.data()},
        {"no footprint",
         [] {
             return MakeLevel({{{0, 0, 0}, {4, 3, 4}}});
         },
         {2, 0, 2},
         [] {
             CElevatorParams p = Params(false, 1, 0, false);
             p.m_width = 0;
             return p;
         }(),
         ""},
        {"no shaft",
         [] {
             return MakeLevel({{{0, 0, 0}, {4, 3, 4}}});
         },
         {2, 0, 2},
         Params(true, 0, 0, false),
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.level());
        C3dView& view = engine.m_view;
        RebuildAll(view, false, ERebuildAll::Restore);
        const CVector3 g0 = c.g0;
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
        view.m_selection.m_pickedNodes = {g0, g0 + CVector3{0, 0, 1}};
        const CSelection selection = view.m_selection;
        const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
        engine.m_host.Clear();
        EXPECT_FALSE(RunCreateElevatorCommand(view, c.params));
        const std::vector<std::string> messages = engine.m_host.Messages();
        if (*c.message == '\0') {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_FALSE(messages.empty());
            EXPECT_EQ(messages.back(), c.message);
        }
        EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
        EXPECT_TRUE(engine.m_level.m_things.empty());
        EXPECT_TRUE(engine.m_level.m_cogs.empty());
        EXPECT_EQ(view.m_selection.m_surface, selection.m_surface);
        EXPECT_EQ(view.m_selection.m_pickedNodes.size(), selection.m_pickedNodes.size());
    }
}

TEST(CreateElevator, TheDialogRefusesAFootprintOutsideTheSurface)
{
    CFixtureEngine engine(MakeLevel({{{0, 0, 0}, {4, 3, 4}}}));
    const struct {
        CVector3 g0;
        float width;
        std::string_view refusal;
    } cases[] = {
        {{2, 0, 2}, 1, {}},
        {{0.5f, 0, 2}, 1, {}},  // up to the wall x = 0
        {{0.4f, 0, 2}, 1, kElevatorExceedsText},
    };
    for (const auto& c : cases) {
        Select(engine, 0, c.g0);
        CElevatorParams p = Params(true, 1, 0, false);
        p.m_width = c.width;
        EXPECT_EQ(ElevatorRefusal(engine.m_view, p), c.refusal) << c.g0.x;
    }
}

TEST(CreateElevator, WithTheGameTheElevatorGetsItsModelAndItsCogsFollowTheRecords)
{
    const auto synthetic = MakeSyntheticGame(0);
    CFixtureEngine engine(MakeLevel({{{0, 0, 0}, {4, 3, 4}}}));
    engine.m_game = std::move(synthetic->m_resources);
    AddCrate(engine.m_level, 0, {0.5f, 0.2f, 0.5f});
    Select(engine, 0, {2, 0, 2});
    CElevatorParams p = Params(false, 2, 0, false);
    p.m_template = "door";
    ASSERT_TRUE(CreateElevator(engine.m_view, p));
    CQzlSections& level = engine.m_level;
    ASSERT_EQ(level.m_things.size(), 2u);
    ASSERT_NE(level.m_things[1]->m_model, nullptr);
    EXPECT_EQ(level.m_things[1]->m_model->m_fileName, "door.3do");
    ASSERT_EQ(level.m_cogs.size(), 2u);
    EXPECT_EQ(level.m_cogs[0]->m_values[4], "1");

    // The cogs' symbols are read from the game: deleting the crate moves the elevator to index
    // 0; deleting a surface the first cog names makes its value -1 and renumbers the others.
    DeleteThing(level, engine.m_game, 0);
    EXPECT_EQ(level.m_cogs[0]->m_values[4], "0");
    EXPECT_EQ(level.m_cogs[1]->m_values[4], "0");
    const std::vector<std::string> values = level.m_cogs[0]->m_values;
    const int first = std::stoi(values[0]);
    const int second = std::stoi(values[1]);
    DeleteSurface(level, engine.m_game, first);
    EXPECT_EQ(level.m_cogs[0]->m_values[0], "-1");
    EXPECT_EQ(level.m_cogs[0]->m_values[1], std::to_string(second - (second > first ? 1 : 0)));
}

}  // namespace
