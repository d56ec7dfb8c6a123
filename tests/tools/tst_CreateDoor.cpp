// The door builder: per opening direction the slot grows the door sector towards the open frame,
// the thing stands in the door sector at the closed frame P with the frames P and E, and the cog
// "00_door.cog" names it; its script is listed once. Without the game's archive the thing and cog
// are made all the same. A step failing half way takes the build back with a message. After every
// build the level oracle holds and undo gives back the exact bytes.

#include "tools/CreateDoor.h"

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "level/DeleteRenumber.h"

#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/PointLists.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A room from (0, 0, 0) to (4, 3, 4); the door goes into the wall z = 0, from (2, 0, 0) up.
CQzlSections MakeRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    return level;
}

// An opening 1 wide, 2 high, a door 0.2 thick.
CDoorParams DoorParams(const char* templateName)
{
    CDoorParams p;
    p.m_template = templateName;
    p.m_width = 1;
    p.m_height = 2;
    p.m_thickness = 0.2f;
    return p;
}

// Builds the door on sector 0's wall z = 0 from (2, 0, 0) up, as the command does, with the undo
// check; the oracle must hold afterwards.
void BuildChecked(CFixtureEngine& engine, const CDoorParams& p)
{
    C3dView& view = engine.m_view;
    const int wall = BoxSurface(engine.m_level, 0, kBoxZLow);
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = wall;
        view.m_selection.m_pickedNodes = {{2, 0, 0}, {2, 1, 0}};
        return CreateDoor(view, p);
    }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

struct SDoorCase {
    const char* name;
    int direction;
    float frontDepth;
    CVector3 open;     // expected E
    CVector3 slotTip;  // a point the slot must reach
};

TEST(CreateDoor, EachDirectionBuildsTheSlotTowardsTheOpenFrame)
{
    // X = 1, Y = 2, Z = 0.2; the wall's normal n = +z, d = +y, c = n x d = -x.
    const SDoorCase cases[] = {
        {"up", 0, 0.5f, {2, 3, -0.6f}, {2, 4, -0.6f}},
        {"down", 1, 0.5f, {2, -1, -0.6f}, {2, -2, -0.6f}},
        {"left", 2, 0.5f, {3, 1, -0.6f}, {3.5f, 1, -0.6f}},
        {"right", 3, 0.0f, {1, 1, -0.1f}, {0.5f, 1, -0.1f}},
    };
    for (const SDoorCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeRoom());
        engine.m_level.m_cogScripts = {"00_DOOR.COG"};
        C3dView& view = engine.m_view;
        const int wall = BoxSurface(engine.m_level, 0, kBoxZLow);
        ASSERT_NEAR(engine.m_level.m_surfaces[static_cast<std::size_t>(wall)]->m_normal.z, 1.0f,
                    1e-6f);
        CDoorParams p = DoorParams("14dsteeldoor");
        p.m_frontDepth = c.frontDepth;
        p.m_direction = c.direction;
        BuildChecked(engine, p);
        EXPECT_TRUE(engine.m_host.Messages().empty());

        const CVector3 closed{2, 1, -0.1f - c.frontDepth};
        const CQzlSections& level = engine.m_level;
        ASSERT_EQ(level.m_things.size(), 1u);
        const CQzlThing& thing = *level.m_things[0];
        EXPECT_EQ(thing.m_template, "14dsteeldoor");
        EXPECT_EQ(thing.m_name, "14dsteeldoor");
        EXPECT_TRUE(SamePoint(thing.m_position, closed));
        ASSERT_EQ(thing.m_frames.size(), 2u);
        EXPECT_TRUE(
            SamePoint({thing.m_frames[0].x, thing.m_frames[0].y, thing.m_frames[0].z}, closed));
        EXPECT_TRUE(
            SamePoint({thing.m_frames[1].x, thing.m_frames[1].y, thing.m_frames[1].z}, c.open));
        for (const CWorldVertex& f : thing.m_frames) {
            EXPECT_EQ(f.extra[0], thing.m_roll);
            EXPECT_EQ(f.extra[1], thing.m_pitch);
            EXPECT_EQ(f.extra[2], thing.m_yaw);
        }
        // The door sector holds the closed door, and with its slot the open door too.
        const CCornerBox box = SectorCornerBox(level, thing.m_sector);
        EXPECT_TRUE(box.Holds(closed));
        EXPECT_TRUE(box.Holds(c.open));
        EXPECT_TRUE(box.Holds(c.slotTip));
        EXPECT_EQ(view.m_selection.m_thing, 0);

        ASSERT_EQ(level.m_cogs.size(), 1u);
        EXPECT_EQ(level.m_cogs[0]->m_script, "00_door.cog");
        EXPECT_EQ(level.m_cogs[0]->m_values, (std::vector<std::string>{"0", "-1", "-1", "-1"}));
        EXPECT_EQ(level.m_cogScripts, std::vector<std::string>{"00_DOOR.COG"});
    }
}

TEST(CreateDoor, ABackRecessJoinsTheOppositeRoomOrStandsAlone)
{
    // A second room behind the wall, 1 away: z from -4 to -1; a third further back.
    for (const bool connect : {false, true}) {
        SCOPED_TRACE(connect ? "connect" : "sunken");
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        AddBoxSector(level, {0, 0, -4}, {4, 3, -1});
        AddBoxSector(level, {0, 0, -9}, {4, 3, -5});
        FinishFixture(level);
        CFixtureEngine engine(std::move(level));
        C3dView& view = engine.m_view;
        CDoorParams p = DoorParams("door");
        p.m_frontDepth = 0.1f;
        p.m_backDepth = 0.3f;
        p.m_connect = connect;
        // The dialog lets it be built: the room behind is the one surface the door meets.
        view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxZLow);
        view.m_selection.m_pickedNodes = {{2, 0, 0}, {2, 1, 0}};
        EXPECT_TRUE(DoorRefusal(view, p).empty());
        const std::size_t sectorsBefore = engine.m_level.m_sectors.size();
        BuildChecked(engine, p);
        // Front recess, door sector and the back recess or passage.
        EXPECT_EQ(engine.m_level.m_sectors.size(), sectorsBefore + 3);
        const CCornerBox back = SectorCornerBox(engine.m_level, view.m_selection.m_sector);
        EXPECT_NEAR(back.lo.z, connect ? -1.0f : -0.6f, 1e-4f);
    }
}

TEST(CreateDoor, AStepFailingHalfWayTakesTheBuildBack)
{
    // Connect asked for with nothing behind the wall: the last extrusion fails.
    CFixtureEngine engine(MakeRoom());
    C3dView& view = engine.m_view;
    RebuildAll(view, false, ERebuildAll::Restore);
    const int wall = BoxSurface(engine.m_level, 0, kBoxZLow);
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = wall;
    view.m_selection.m_pickedNodes = {{2, 0, 0}, {2, 1, 0}};
    const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
    CDoorParams p = DoorParams("door");
    p.m_backDepth = 0.3f;
    p.m_connect = true;
    engine.m_host.Clear();
    EXPECT_FALSE(CreateDoor(view, p));
    const std::vector<std::string> messages = engine.m_host.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), kDoorFailedText);
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_TRUE(engine.m_level.m_things.empty());
    EXPECT_TRUE(engine.m_level.m_cogs.empty());
    EXPECT_EQ(view.m_selection.m_surface, wall);
}

TEST(CreateDoor, WithTheGameTheDoorGetsItsModelAndItsCogFollowsTheThing)
{
    const auto synthetic = MakeSyntheticGame(0);
    CFixtureEngine engine(MakeRoom());
    engine.m_game = std::move(synthetic->m_resources);
    AddCrate(engine.m_level, 0, {1, 0.2f, 1});
    C3dView& view = engine.m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxZLow);
    view.m_selection.m_pickedNodes = {{2, 0, 0}, {2, 1, 0}};
    CDoorParams p = DoorParams("door");
    ASSERT_TRUE(CreateDoor(view, p));
    CQzlSections& level = engine.m_level;
    ASSERT_EQ(level.m_things.size(), 2u);
    ASSERT_NE(level.m_things[1]->m_model, nullptr);
    EXPECT_EQ(level.m_things[1]->m_model->m_fileName, "door.3do");
    ASSERT_EQ(level.m_cogs.size(), 1u);
    EXPECT_EQ(level.m_cogs[0]->m_values[0], "1");

    // The cog's symbols are read from the game: deleting the crate moves the door to index 0,
    // deleting the door takes the cog, which then names no record, with it.
    DeleteThing(level, engine.m_game, 0);
    EXPECT_EQ(level.m_cogs[0]->m_values[0], "0");
    DeleteThing(level, engine.m_game, 0);
    EXPECT_TRUE(level.m_cogs.empty());
    EXPECT_TRUE(LevelIsSound(level));
}

}  // namespace
