// Nudging the selection: the steps of the modifier keys, the Move and Rotate commands with their
// enable rules, the vertex moves that keep every surface flat, the sector, surface and thing
// moves and rotations, and the floor flag. After every operation that goes through, the level
// oracle holds and undo gives back the exact bytes; a refused one leaves the level and the undo
// list as they were.

#include "edit/Nudge.h"

#include "engine/CommandIds.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/VertexUses.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Face = std::vector<CVector3>;
using Bytes = std::vector<std::uint8_t>;

// ---- Fixtures ----

// Appends a sector of the given faces, each turned to face inside.
int AddSolid(CQzlSections& level, const std::vector<Face>& faces, const CVector3& inside)
{
    const int sector = AddEmptySector(level);
    for (const Face& face : faces)
        AddFacingSurface(level, sector, inside, face);
    return sector;
}

CQzlSections Finished(CQzlSections level)
{
    CountVertexUses(level);
    FinishFixture(level);
    return level;
}

// A tetrahedron on the floor triangle (0, 0, 0), (1, 0, 0), (0, 0, 1) (surface 0): each of its
// corners can move alone and every face stays flat.
CQzlSections MakeTetrahedron()
{
    CQzlSections level = MakeEmptyLevel();
    const CVector3 a{0, 0, 0}, b{1, 0, 0}, c{0, 0, 1}, top{0.2f, 1, 0.2f};
    AddSolid(level, {{a, b, c}, {a, b, top}, {a, c, top}, {b, c, top}}, {0.3f, 0.25f, 0.3f});
    return Finished(std::move(level));
}

// A pyramid on a sloped quad (surface 0) with its top at (0.5, 2, 0.5).
CQzlSections MakePyramid(const Face& base)
{
    CQzlSections level = MakeEmptyLevel();
    const CVector3 top{0.5f, 2, 0.5f};
    std::vector<Face> faces{base};
    for (std::size_t i = 0; i < base.size(); ++i)
        faces.push_back({base[i], base[(i + 1) % base.size()], top});
    AddSolid(level, faces, {0.5f, 1, 0.5f});
    return Finished(std::move(level));
}

// A wedge on the floor (0..1, 0, 0..1): its roof (surface 2) rises from the floor at z = 0 to
// the ridge at height h over z = 1, its back wall stands at z = 1.
CQzlSections MakeWedge(float h)
{
    CQzlSections level = MakeEmptyLevel();
    const CVector3 a{0, 0, 0}, b{1, 0, 0}, c{1, 0, 1}, d{0, 0, 1}, e{1, h, 1}, f{0, h, 1};
    AddSolid(level, {{a, b, c, d}, {d, c, e, f}, {a, b, e, f}, {a, d, f}, {b, c, e}},
             {0.5f, h / 4, 0.6f});
    return Finished(std::move(level));
}

// Two boxes side by side, (0..1) and (1..2) in x, sharing the corners of the wall x = 1 without
// an adjoin between them.
CQzlSections MakeTouchingRooms()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    return Finished(std::move(level));
}

template <class Prepare>
CQzlSections With(CQzlSections level, Prepare prepare)
{
    prepare(level);
    return level;
}

// The engine over level with every sector built, as the editor opens a level.
std::unique_ptr<CFixtureEngine> Open(CQzlSections level)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    RebuildAll(engine->m_view, false, ERebuildAll::Restore);
    return engine;
}

// The box room with a thing in it.
CQzlSections BoxWithThing(const CVector3& position = {0.5f, 0.5f, 0.5f})
{
    return With(MakeBoxRoom(), [&](CQzlSections& level) { AddCrate(level, 0, position); });
}

// ---- Looking at the level ----

CQzlSurface& Surface(CQzlSections& level, int surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

CVector3 CornerPosition(const CQzlSections& level, int surface, int corner)
{
    return WorldPosition(level, level.m_surfaces[static_cast<std::size_t>(surface)]
                                    ->m_vertices[static_cast<std::size_t>(corner)]
                                    .m_worldVertex);
}

// The corner of surface at p.
int CornerAt(const CQzlSections& level, int surface, const CVector3& p)
{
    const auto& corners = level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices;
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (VectorLength(CornerPosition(level, surface, static_cast<int>(i)) - p) < 1e-4f)
            return static_cast<int>(i);
    ADD_FAILURE() << "no corner of surface " << surface << " at " << p.x << ", " << p.y << ", "
                  << p.z;
    return 0;
}

void Mark(CQzlSections& level, int surface, const CVector3& p)
{
    Surface(level, surface)
        .m_vertices[static_cast<std::size_t>(CornerAt(level, surface, p))]
        .m_marked = 1;
}

// Every corner of surface gets a world vertex of its own, at the same place.
void FreeCorners(CQzlSections& level, int surface)
{
    for (CQzlVertex& corner : Surface(level, surface).m_vertices) {
        level.m_worldVertices.push_back(
            level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)]);
        corner.m_worldVertex = static_cast<std::int32_t>(level.m_worldVertices.size()) - 1;
    }
    CountVertexUses(level);
}

std::vector<CVector3> Corners(const CQzlSections& level, int surface)
{
    std::vector<CVector3> points;
    for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices)
        points.push_back(WorldPosition(level, corner.m_worldVertex));
    return points;
}

void ExpectNear(const CVector3& got, const CVector3& want, float tolerance = 1e-4f)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

// ---- Running operations ----

// The operation goes through: undo gives back the bytes before it, redo those after it, and the
// level is sound.
void ExpectDone(CFixtureEngine& engine, const std::function<bool()>& operation)
{
    EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, operation));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

// The operation refuses: the level keeps its bytes and no undo step stays.
void ExpectRefused(CFixtureEngine& engine, const std::function<bool()>& operation)
{
    RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    const Bytes before = WriteLevelBytes(engine.m_level);
    const std::size_t steps = engine.m_level.m_undoList.size();
    EXPECT_FALSE(RunUndoable(engine.m_view, operation));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_EQ(engine.m_level.m_undoList.size(), steps);
}

// A command as the view runs it: it takes its own undo step; the Undo command gives back the
// bytes before it and Redo those after it.
void ExpectCommandDone(CFixtureEngine& engine, const std::function<bool()>& command)
{
    RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    const Bytes before = WriteLevelBytes(engine.m_level);
    ASSERT_TRUE(command());
    const Bytes after = WriteLevelBytes(engine.m_level);
    EXPECT_NE(after, before);
    ASSERT_TRUE(UndoCommand(engine.m_view));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    ASSERT_TRUE(RedoCommand(engine.m_view));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), after);
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

void Select(CFixtureEngine& engine, int sector, int surface = -1, int thing = -1)
{
    engine.m_view.m_selection.m_sector = sector;
    engine.m_view.m_selection.m_surface = surface;
    engine.m_view.m_selection.m_thing = thing;
}

// Corner corner of surface as the current vertex, in sector 0.
void SelectVertex(CFixtureEngine& engine, int surface, int corner)
{
    Select(engine, 0);
    engine.m_view.m_selection.m_vertexSurface = surface;
    engine.m_view.m_selection.m_vertex = corner;
}

void SectorMode(CFixtureEngine& engine)
{
    engine.m_document.m_sectorMode = 1;
    engine.m_document.m_editMode = 1;
}

// ---- Steps and commands ----

struct StepCase {
    bool shift;
    bool ctrl;
    float move;
    float degrees;
};

TEST(NudgeCommands, ShiftAndCtrlChooseTheStep)
{
    const StepCase cases[] = {
        {false, false, 0.05f, 6.0f},
        {true, false, 0.1f, 45.0f},
        {false, true, 0.01f, 1.0f},
        {true, true, 0.1f, 45.0f},  // Shift wins
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "shift " << c.shift << " ctrl " << c.ctrl);
        auto engine = Open(BoxWithThing());
        Select(*engine, 0, -1, 0);
        engine->m_keys.m_shift = c.shift;
        engine->m_keys.m_ctrl = c.ctrl;
        // Undo and redo give the level new records: the thing is looked up each time.
        const auto thing = [&]() -> const CQzlThing& { return *engine->m_level.m_things[0]; };

        ExpectCommandDone(*engine,
                          [&] { return RunMoveCommand(engine->m_view, Cmd::kMoveRightX); });
        EXPECT_NEAR(thing().m_position.x, 0.5f + c.move, 1e-6f);
        ExpectCommandDone(*engine,
                          [&] { return RunRotateCommand(engine->m_view, Cmd::kRotateRightY); });
        EXPECT_NEAR(thing().m_yaw, c.degrees, 1e-4f);
    }
}

struct MoveIdCase {
    int id;
    CVector3 delta;
};

struct RotateIdCase {
    int id;
    float roll, yaw, pitch;
};

// Up and Right go the positive way; rotations around x turn the roll, around z the pitch.
TEST(NudgeCommands, EachIdHasItsAxisAndDirection)
{
    const MoveIdCase moves[] = {
        {Cmd::kMoveUpY, {0, 0.05f, 0}},    {Cmd::kMoveDownY, {0, -0.05f, 0}},
        {Cmd::kMoveLeftX, {-0.05f, 0, 0}}, {Cmd::kMoveRightX, {0.05f, 0, 0}},
        {Cmd::kMoveRightZ, {0, 0, 0.05f}}, {Cmd::kMoveLeftZ, {0, 0, -0.05f}},
    };
    for (const MoveIdCase& c : moves) {
        SCOPED_TRACE(c.id);
        auto engine = Open(BoxWithThing());
        Select(*engine, 0, -1, 0);
        ExpectCommandDone(*engine, [&] { return RunMoveCommand(engine->m_view, c.id); });
        ExpectNear(engine->m_level.m_things[0]->m_position, CVector3{0.5f, 0.5f, 0.5f} + c.delta,
                   1e-6f);
    }
    const RotateIdCase rotations[] = {
        {Cmd::kRotateRightX, 6, 0, 0}, {Cmd::kRotateLeftX, -6, 0, 0}, {Cmd::kRotateRightY, 0, 6, 0},
        {Cmd::kRotateLeftY, 0, -6, 0}, {Cmd::kRotateRightZ, 0, 0, 6}, {Cmd::kRotateLeftZ, 0, 0, -6},
    };
    for (const RotateIdCase& c : rotations) {
        SCOPED_TRACE(c.id);
        auto engine = Open(BoxWithThing());
        Select(*engine, 0, -1, 0);
        ExpectCommandDone(*engine, [&] { return RunRotateCommand(engine->m_view, c.id); });
        const CQzlThing& thing = *engine->m_level.m_things[0];
        EXPECT_NEAR(thing.m_roll, c.roll, 1e-5f);
        EXPECT_NEAR(thing.m_yaw, c.yaw, 1e-5f);
        EXPECT_NEAR(thing.m_pitch, c.pitch, 1e-5f);
    }
    EXPECT_FALSE(MoveCommand(Cmd::kRotateRightX).has_value());
    EXPECT_FALSE(RotateCommand(Cmd::kMoveUpY).has_value());
}

struct EnableCase {
    const char* what;
    std::function<CQzlSections()> level;
    std::function<void(CFixtureEngine&)> select;
    bool move;
    bool rotate;
};

TEST(NudgeCommands, EnableRules)
{
    const auto boxWithFreeFloor = [] {
        return With(MakeBoxRoom(), [](CQzlSections& l) { FreeCorners(l, 0); });
    };
    const EnableCase cases[] = {
        {"nothing current", MakeBoxRoom, [](CFixtureEngine& e) { Select(e, 0); }, false, false},
        {"Sector Mode", MakeBoxRoom,
         [](CFixtureEngine& e) {
             Select(e, 0);
             SectorMode(e);
         },
         true, true},
        {"Sector Mode on a sector with an adjoin", MakeTwoJoinedRooms,
         [](CFixtureEngine& e) {
             Select(e, 0);
             SectorMode(e);
         },
         true, false},
        {"a surface with shared corners", MakeBoxRoom, [](CFixtureEngine& e) { Select(e, 0, 0); },
         true, false},
        {"a surface with corners of its own", boxWithFreeFloor,
         [](CFixtureEngine& e) { Select(e, 0, 0); }, true, true},
        {"a thing", [] { return BoxWithThing(); }, [](CFixtureEngine& e) { Select(e, 0, -1, 0); },
         true, true},
        {"a vertex with its surface", MakeBoxRoom, [](CFixtureEngine& e) { SelectVertex(e, 0, 2); },
         true, false},
        {"a vertex beyond its surface's corners", MakeBoxRoom,
         [](CFixtureEngine& e) { SelectVertex(e, 0, 4); }, false, false},
    };
    for (const EnableCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto engine = Open(c.level());
        c.select(*engine);
        EXPECT_EQ(CanMove(engine->m_view), c.move);
        EXPECT_EQ(CanRotate(engine->m_view), c.rotate);
        // A disabled command does nothing and takes no undo step.
        if (!c.move) {
            EXPECT_FALSE(RunMoveCommand(engine->m_view, Cmd::kMoveUpY));
        }
        if (!c.rotate) {
            EXPECT_FALSE(RunRotateCommand(engine->m_view, Cmd::kRotateRightY));
        }
        EXPECT_FALSE(CanUndo(engine->m_view));
    }
}

// A surface with a shared corner is never turned: Rotate turns the current thing, or in Sector
// Mode the sector, instead. Move in Sector Mode moves the sector whatever else is current.
TEST(NudgeCommands, WhatTheCommandsChoose)
{
    auto engine = Open(BoxWithThing());
    CQzlSections& level = engine->m_level;
    const std::vector<CVector3> floor = Corners(level, 0);

    Select(*engine, 0, 0, 0);
    ExpectCommandDone(*engine,
                      [&] { return RunRotateCommand(engine->m_view, Cmd::kRotateRightY); });
    EXPECT_NEAR(level.m_things[0]->m_yaw, 6.0f, 1e-5f);
    EXPECT_EQ(Corners(level, 0), floor);

    Select(*engine, 0, 0);
    SectorMode(*engine);
    ExpectCommandDone(*engine,
                      [&] { return RunRotateCommand(engine->m_view, Cmd::kRotateRightY); });
    EXPECT_NE(Corners(level, 0), floor);
    EXPECT_NEAR(level.m_things[0]->m_yaw, 0.0f, 1e-5f);  // 6 turned, then 6 back with the sector

    auto moved = Open(MakeTwoJoinedRooms());
    Select(*moved, 0, BoxSurface(moved->m_level, 0, kBoxFloor));
    SectorMode(*moved);
    ExpectCommandDone(*moved, [&] { return RunMoveCommand(moved->m_view, Cmd::kMoveUpY); });
    EXPECT_NEAR(moved->m_level.m_sectors[0]->m_boundBox.min.y, 0.05f, 1e-6f);
    EXPECT_NEAR(moved->m_level.m_sectors[0]->m_boundBox.max.y, 1.05f, 1e-6f);
}

// Enabled by the Sector Mode switch alone while the edit mode is no longer 1: nothing moves and
// no undo step stays.
TEST(NudgeCommands, SectorModeSwitchWithoutSectorEditModeMovesNothing)
{
    auto engine = Open(MakeBoxRoom());
    Select(*engine, 0);
    engine->m_document.m_sectorMode = 1;
    engine->m_document.m_editMode = 0;
    ASSERT_TRUE(CanMove(engine->m_view));
    const Bytes before = WriteLevelBytes(engine->m_level);
    EXPECT_FALSE(RunMoveCommand(engine->m_view, Cmd::kMoveUpY));
    EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
    EXPECT_FALSE(CanUndo(engine->m_view));
}

// ---- Points on planes and the floor flag ----

struct PlaneCase {
    const char* what;
    float plane[4];
    EAxis axis;
    bool stays;
    CVector3 after;  // from (1, 0, 1), stepped by 0.5
};

TEST(StepPointOnPlane, SolvesTheCoordinateThePlaneAllows)
{
    const PlaneCase cases[] = {
        {"floor along x", {0, -1, 0, 0}, EAxis::X, true, {1.5f, 0, 1}},
        {"floor along z", {0, -1, 0, 0}, EAxis::Z, true, {1, 0, 1.5f}},
        {"floor along y", {0, -1, 0, 0}, EAxis::Y, false, {1, 0.5f, 1}},
        {"wall x = 1 along x", {-1, 0, 0, 1}, EAxis::X, false, {1.5f, 0, 1}},
        {"wall x = 1 along y", {-1, 0, 0, 1}, EAxis::Y, true, {1, 0.5f, 1}},
        // y = x + z - 2: x solves z, y solves x, z solves x.
        {"slope along x", {1, -1, 1, -2}, EAxis::X, true, {1.5f, 0, 0.5f}},
        {"slope along y", {1, -1, 1, -2}, EAxis::Y, true, {1.5f, 0.5f, 1}},
        {"slope along z", {1, -1, 1, -2}, EAxis::Z, true, {0.5f, 0, 1.5f}},
        // y = x - 1 (no z): x solves y.
        {"slope without z along x", {1, -1, 0, -1}, EAxis::X, true, {1.5f, 0.5f, 1}},
        // y = z - 1 (no x): y solves z, z solves y.
        {"slope without x along y", {0, -1, 1, -1}, EAxis::Y, true, {1, 0.5f, 1.5f}},
        {"slope without x along z", {0, -1, 1, -1}, EAxis::Z, true, {1, 0.5f, 1.5f}},
    };
    for (const PlaneCase& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSurface surface;
        std::copy(std::begin(c.plane), std::end(c.plane), surface.m_plane);
        CVector3 p{1, 0, 1};
        EXPECT_EQ(StepPointOnPlane(surface, c.axis, 0.5f, p), c.stays);
        ExpectNear(p, c.after, 1e-6f);
    }
}

struct FloorCase {
    CVector3 normal;
    bool floor;
};

TEST(UpdateFloorFlag, SetAboveTheSlopeOfFortyFiveDegrees)
{
    const FloorCase cases[] = {
        {{0, 0.7072f, 0.7070f}, true},
        {{0, 0.7070f, 0.7072f}, false},
        {{1, 0, 0}, false},
        {{0, -1, 0}, true},                  // ceilings too
        {{0, 0.707106f, 0.707106f}, false},  // 45 degrees as the plane computation stores it
    };
    for (const FloorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.normal.y);
        for (const std::uint32_t flags : {0x0u, 0x1u, 0x300u, 0x301u}) {
            CQzlSurface surface;
            surface.m_normal = c.normal;
            surface.m_surfaceFlags = flags;
            UpdateFloorFlag(surface);
            EXPECT_EQ(surface.m_surfaceFlags, (flags & ~kFloorFlag) | (c.floor ? kFloorFlag : 0u));
        }
    }
}

struct RidgeCase {
    float step;
    bool floor;
};

// The wedge's roof at 45 degrees is no floor; lowering its ridge makes it one, raising it not.
TEST(MoveVertices, TheRoofOfAWedgeCrossesTheFloorSlope)
{
    const RidgeCase cases[] = {{-0.01f, true}, {0.01f, false}, {-0.05f, true}, {0.1f, false}};
    for (const RidgeCase& c : cases) {
        SCOPED_TRACE(c.step);
        auto engine = Open(MakeWedge(1.0f));
        CQzlSections& level = engine->m_level;
        Surface(level, 2).m_surfaceFlags = 0;
        Mark(level, 2, {0, 1, 1});
        Mark(level, 2, {1, 1, 1});
        ExpectDone(*engine, [&] { return MoveVertices(engine->m_view, EAxis::Y, c.step); });
        EXPECT_EQ(Surface(level, 2).m_surfaceFlags & kFloorFlag, c.floor ? kFloorFlag : 0u);
        ExpectNear(CornerPosition(level, 2, CornerAt(level, 2, {1, 1 + c.step, 1})),
                   {1, 1 + c.step, 1});
    }
}

// ---- Vertex moves ----

struct VertexCase {
    const char* what;
    std::function<CQzlSections()> level;
    std::vector<std::pair<int, CVector3>> marks;  // surface, corner position
    EAxis axis;
    float amount;
    bool done;
    CVector3 after;  // where the first marked corner goes
};

TEST(MoveVertices, KeepsEverySurfaceFlat)
{
    const auto slopeWithZ = [] {
        return MakePyramid({{0, 0, 0}, {1, 0.5f, 0}, {1, 0.75f, 1}, {0, 0.25f, 1}});
    };
    const auto slopeWithoutZ = [] {
        return MakePyramid({{0, 0, 0}, {1, 0.5f, 0}, {1, 0.5f, 1}, {0, 0, 1}});
    };
    const auto boxAndBentRoom = [] {
        CQzlSections level = MakeTetrahedron();
        AddBoxSector(level, {2, 0, 0}, {3, 1, 1});
        for (CWorldVertex& w : level.m_worldVertices)
            if (w.x == 3 && w.y == 1 && w.z == 1)
                w.y = 1.01f;
        return Finished(std::move(level));
    };
    // clang-format off
    const VertexCase cases[] = {
        {"one floor corner along x", MakeTetrahedron, {{0, {1, 0, 0}}}, EAxis::X, 0.05f, true,
         {1.05f, 0, 0}},
        {"one floor corner along z", MakeTetrahedron, {{0, {0, 0, 1}}}, EAxis::Z, -0.05f, true,
         {0, 0, 0.95f}},
        {"one floor corner along y", MakeTetrahedron, {{0, {1, 0, 0}}}, EAxis::Y, 0.05f, false,
         {}},
        // On y = 0.5 x + 0.25 z the corner slides along x and its z follows.
        {"one corner of a slope along x", slopeWithZ, {{0, {1, 0.5f, 0}}}, EAxis::X, 0.05f, true,
         {1.05f, 0.5f, -0.1f}},
        // On y = 0.5 x, with no z in the plane, its y follows.
        {"one corner of a slope without z along x", slopeWithoutZ, {{0, {1, 0.5f, 0}}}, EAxis::X,
         0.05f, true, {1.05f, 0.525f, 0}},
        // Two diagonal corners of the floor lifted bend it.
        {"two diagonal floor corners along y", MakeBoxRoom, {{0, {0, 0, 0}}, {0, {1, 0, 1}}},
         EAxis::Y, 0.05f, false, {}},
        // Two corners of one edge lifted tilt the floor, which stays flat.
        {"two floor corners of an edge along y", MakeBoxRoom, {{0, {1, 0, 0}}, {0, {1, 0, 1}}},
         EAxis::Y, 0.05f, true, {1, 0.05f, 0}},
        // One corner of the box alone bends the wall across the move.
        {"one box corner along x", MakeBoxRoom, {{0, {1, 0, 0}}}, EAxis::X, 0.05f, false, {}},
        // The amount the Vertex view gives is taken as it is.
        {"an amount typed", MakeTetrahedron, {{0, {1, 0, 0}}}, EAxis::X, -0.3f, true,
         {0.7f, 0, 0}},
        // A level that already holds a bent surface refuses every move.
        {"a bent surface elsewhere", boxAndBentRoom, {{0, {1, 0, 0}}}, EAxis::X, 0.05f, false,
         {}},
        {"no corner marked", MakeBoxRoom, {}, EAxis::X, 0.05f, false, {}},
        {"an amount of 0", MakeTetrahedron, {{0, {1, 0, 0}}}, EAxis::X, 0.0f, false, {}},
    };
    // clang-format on
    for (const VertexCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto engine = Open(c.level());
        CQzlSections& level = engine->m_level;
        for (const auto& [surface, p] : c.marks)
            Mark(level, surface, p);
        const auto move = [&] { return MoveVertices(engine->m_view, c.axis, c.amount); };
        if (!c.done) {
            ExpectRefused(*engine, move);
            continue;
        }
        ExpectDone(*engine, move);
        const auto& [surface, p] = c.marks.front();
        ExpectNear(CornerPosition(level, surface, CornerAt(level, surface, c.after)), c.after);
    }
}

// Move Surface marks the surface's corners and moves them; the marks stay.
TEST(MoveSurface, MovesEveryCornerAndLeavesThemMarked)
{
    auto engine = Open(MakeLCorridor());
    CQzlSections& level = engine->m_level;
    const int floor = BoxSurface(level, 1, kBoxFloor);
    Select(*engine, 1, floor);
    std::vector<CVector3> want = Corners(level, floor);
    for (CVector3& p : want)
        p.y += 0.05f;
    ExpectDone(*engine, [&] { return MoveSurface(engine->m_view, EAxis::Y, 0.05f); });
    const std::vector<CVector3> got = Corners(level, floor);
    for (std::size_t i = 0; i < got.size(); ++i)
        ExpectNear(got[i], want[i], 1e-6f);
    EXPECT_EQ(Surface(level, floor).m_surfaceFlags & kFloorFlag, kFloorFlag);
    // The marks stay after the move (a restore by undo or redo has none: they are not stored).
    ASSERT_TRUE(MoveSurface(engine->m_view, EAxis::Y, -0.05f));
    for (const CQzlVertex& corner : Surface(level, floor).m_vertices)
        EXPECT_EQ(corner.m_marked, 1);

    Select(*engine, -1);
    ExpectRefused(*engine, [&] { return MoveSurface(engine->m_view, EAxis::Y, 0.05f); });
}

// ---- Sector moves ----

// Each surface without an adjoin gives up the vertices it shares with surfaces walked before it:
// in the box every surface ends with corners of its own and the box keeps its shape.
TEST(MoveSector, SplitsTheSharedCornersOfAClosedBox)
{
    auto engine = Open(BoxWithThing());
    CQzlSections& level = engine->m_level;
    Select(*engine, 0);
    ExpectDone(*engine, [&] { return MoveSector(engine->m_view, EAxis::X, 0.05f); });
    EXPECT_EQ(level.m_worldVertices.size(), 24u);  // 8 + 4 for each of the first four surfaces
    for (const std::int32_t uses : level.m_useCounts)
        EXPECT_EQ(uses, 1);
    const CBoundingBox& box = level.m_sectors[0]->m_boundBox;
    ExpectNear(box.min, {0.05f, 0, 0}, 1e-6f);
    ExpectNear(box.max, {1.05f, 1, 1}, 1e-6f);
    ExpectNear(level.m_things[0]->m_position, {0.55f, 0.5f, 0.5f}, 1e-6f);
    ASSERT_NE(level.m_things[0]->m_model, nullptr);
    ExpectNear(level.m_things[0]->m_model->m_position, {0.55f, 0.5f, 0.5f}, 1e-6f);
}

struct SectorMoveCase {
    const char* what;
    std::function<CQzlSections()> level;
    int sector;
    EAxis axis;
    float step;
    int other;              // a sector beyond an adjoin
    CBoundingBox otherBox;  // its box after the move
};

// The sectors beyond the adjoins stretch with the move, and their bounds follow.
TEST(MoveSector, SectorsBeyondTheAdjoinsFollow)
{
    const SectorMoveCase cases[] = {
        {"two rooms, along x",
         MakeTwoJoinedRooms,
         0,
         EAxis::X,
         0.05f,
         1,
         {{1.05f, 0, 0}, {2, 1, 1}}},
        {"two rooms, along y",
         MakeTwoJoinedRooms,
         1,
         EAxis::Y,
         -0.1f,
         0,
         {{0, -0.1f, 0}, {1, 1, 1}}},
        {"L corridor, the middle along z",
         MakeLCorridor,
         1,
         EAxis::Z,
         0.01f,
         2,
         {{1, 0, 1.01f}, {2, 1, 2}}},
        {"L corridor, the middle along x",
         MakeLCorridor,
         1,
         EAxis::X,
         -0.05f,
         0,
         {{0, 0, 0}, {0.95f, 1, 1}}},
        {"room above a room, the lower along z",
         MakeRoomAboveRoom,
         0,
         EAxis::Z,
         0.05f,
         1,
         {{0, 1, 0}, {1, 2, 1.05f}}},
    };
    for (const SectorMoveCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto engine = Open(With(c.level(), [&](CQzlSections& l) {
            AddCrate(l, c.sector, l.m_sectors[static_cast<std::size_t>(c.sector)]->m_center);
            AddCrate(l, c.other, l.m_sectors[static_cast<std::size_t>(c.other)]->m_center);
        }));
        CQzlSections& level = engine->m_level;
        const CVector3 still = level.m_things[1]->m_position;
        Select(*engine, c.sector);
        ExpectDone(*engine, [&] { return MoveSector(engine->m_view, c.axis, c.step); });
        const CBoundingBox& box = level.m_sectors[static_cast<std::size_t>(c.other)]->m_boundBox;
        ExpectNear(box.min, c.otherBox.min, 1e-6f);
        ExpectNear(box.max, c.otherBox.max, 1e-6f);
        EXPECT_EQ(level.m_things[1]->m_position, still);
        EXPECT_EQ(level.m_things[0]->m_sector, c.sector);
    }
}

// ---- Thing moves ----

TEST(MoveThing, MovesItsFramesAndFindsItsSector)
{
    auto engine = Open(With(MakeTwoJoinedRooms(), [](CQzlSections& l) {
        const int t = AddCrate(l, 0, {0.97f, 0.5f, 0.5f});
        l.m_things[static_cast<std::size_t>(t)]->m_frames = {{0.97f, 0.5f, 0.5f},
                                                             {0.2f, 0.3f, 0.4f}};
    }));
    CQzlSections& level = engine->m_level;
    Select(*engine, 0, -1, 0);
    ExpectDone(*engine, [&] { return MoveThing(engine->m_view, EAxis::X, 0.05f); });
    const CQzlThing& thing = *level.m_things[0];
    ExpectNear(thing.m_position, {1.02f, 0.5f, 0.5f}, 1e-6f);
    EXPECT_EQ(thing.m_sector, 1);
    ASSERT_EQ(thing.m_frames.size(), 2u);
    EXPECT_NEAR(thing.m_frames[0].x, 1.02f, 1e-6f);
    EXPECT_NEAR(thing.m_frames[1].x, 0.25f, 1e-6f);
    ASSERT_NE(thing.m_model, nullptr);
    EXPECT_EQ(thing.m_model->m_position, thing.m_position);
    EXPECT_EQ(thing.m_model->m_placement.m[3][0], thing.m_position.x);

    Select(*engine, 0);
    ExpectRefused(*engine, [&] { return MoveThing(engine->m_view, EAxis::X, 0.05f); });
}

// ---- Rotations ----

TEST(RotateSector, TurnsVerticesNormalsAndThingsAboutTheCentre)
{
    auto engine = Open(BoxWithThing({0.75f, 0.5f, 0.5f}));
    CQzlSections& level = engine->m_level;
    Select(*engine, 0);
    ExpectDone(*engine, [&] { return RotateSector(engine->m_view, EAxis::Y, 45.0f); });
    const float half = std::sqrt(0.5f);
    const CBoundingBox& box = level.m_sectors[0]->m_boundBox;
    ExpectNear(box.min, {0.5f - half, 0, 0.5f - half});
    ExpectNear(box.max, {0.5f + half, 1, 0.5f + half});
    const CQzlThing& thing = *level.m_things[0];
    ExpectNear(thing.m_position, {0.5f + 0.25f * half, 0.5f, 0.5f + 0.25f * half});
    EXPECT_NEAR(thing.m_yaw, -45.0f, 1e-4f);
    EXPECT_EQ(thing.m_sector, 0);
    // The walls stand upright, the floor keeps its flag.
    for (const EBoxSide side : {kBoxXLow, kBoxXHigh, kBoxZLow, kBoxZHigh})
        EXPECT_EQ(Surface(level, BoxSurface(level, 0, side)).m_normal.y, 0.0f);
    EXPECT_EQ(Surface(level, 0).m_surfaceFlags & kFloorFlag, kFloorFlag);
}

// A neighbour that only touches the sector keeps its corners: the corners it shares are copied
// for the turned sector first.
TEST(RotateSector, LeavesATouchingNeighbourAsItWas)
{
    auto engine = Open(MakeTouchingRooms());
    CQzlSections& level = engine->m_level;
    std::vector<std::vector<CVector3>> neighbour;
    for (const std::int32_t f : level.m_sectors[1]->m_surfaces)
        neighbour.push_back(Corners(level, f));
    Select(*engine, 0);
    ExpectDone(*engine, [&] { return RotateSector(engine->m_view, EAxis::Y, 6.0f); });
    std::size_t i = 0;
    for (const std::int32_t f : level.m_sectors[1]->m_surfaces)
        EXPECT_EQ(Corners(level, f), neighbour[i++]);
    EXPECT_EQ(level.m_worldVertices.size(), 16u);  // the four shared corners copied once each
}

TEST(RotateSector, RefusesASectorWithAnAdjoin)
{
    auto engine = Open(MakeTwoJoinedRooms());
    Select(*engine, 0);
    ExpectRefused(*engine, [&] { return RotateSector(engine->m_view, EAxis::Y, 6.0f); });
    Select(*engine, -1);
    ExpectRefused(*engine, [&] { return RotateSector(engine->m_view, EAxis::Y, 6.0f); });
}

// Sixty turns of 6 degrees bring a free floor back to its place; every quarter turn it covers
// its place again (its corners moved round by one), and the box is closed.
TEST(RotateSurface, SixtyTurnsOfSixDegreesComeBack)
{
    auto engine = Open(With(MakeBoxRoom(), [](CQzlSections& l) { FreeCorners(l, 0); }));
    CQzlSections& level = engine->m_level;
    Select(*engine, 0, 0);
    const std::vector<CVector3> start = Corners(level, 0);
    for (int turn = 1; turn <= 60; ++turn) {
        SCOPED_TRACE(turn);
        ASSERT_TRUE(UndoGivesBackExactBytes(
            engine->m_view, [&] { return RotateSurface(engine->m_view, EAxis::Y, 6.0f); }));
        if (turn % 15 == 0) {
            EXPECT_TRUE(LevelIsSound(level));
        }
    }
    const std::vector<CVector3> end = Corners(level, 0);
    for (std::size_t i = 0; i < start.size(); ++i)
        ExpectNear(end[i], start[i], 1e-4f);
    EXPECT_EQ(Surface(level, 0).m_surfaceFlags & kFloorFlag, kFloorFlag);
}

TEST(RotateSurface, RefusesASurfaceWithASharedCorner)
{
    auto engine = Open(MakeBoxRoom());
    Select(*engine, 0, 0);
    ExpectRefused(*engine, [&] { return RotateSurface(engine->m_view, EAxis::Y, 6.0f); });
    // One shared corner is enough.
    auto partly = Open(With(MakeBoxRoom(), [](CQzlSections& l) {
        const std::int32_t shared = Surface(l, 0).m_vertices[0].m_worldVertex;
        FreeCorners(l, 0);
        Surface(l, 0).m_vertices[0].m_worldVertex = shared;
        CountVertexUses(l);
    }));
    Select(*partly, 0, 0);
    ExpectRefused(*partly, [&] { return RotateSurface(partly->m_view, EAxis::Y, 6.0f); });
}

struct ThingTurnCase {
    EAxis axis;
    float degrees;
    float roll, yaw, pitch;  // from 0, 178, 0
};

TEST(RotateThing, TurnsRollYawOrPitch)
{
    const ThingTurnCase cases[] = {
        {EAxis::X, 6, 6, 178, 0},
        {EAxis::Y, 6, 0, -176, 0},  // beyond 180 it comes round
        {EAxis::Y, -45, 0, 133, 0},
        {EAxis::Z, -1, 0, 178, -1},
    };
    for (const ThingTurnCase& c : cases) {
        auto engine =
            Open(With(BoxWithThing(), [](CQzlSections& l) { l.m_things[0]->m_yaw = 178; }));
        Select(*engine, 0, -1, 0);
        ExpectDone(*engine, [&] { return RotateThing(engine->m_view, c.axis, c.degrees); });
        const CQzlThing& thing = *engine->m_level.m_things[0];
        EXPECT_NEAR(thing.m_roll, c.roll, 1e-4f);
        EXPECT_NEAR(thing.m_yaw, c.yaw, 1e-4f);
        EXPECT_NEAR(thing.m_pitch, c.pitch, 1e-4f);
    }
}

}  // namespace
