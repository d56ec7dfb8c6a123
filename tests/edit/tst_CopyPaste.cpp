// Copy, Cut and Paste on the engine's clipboard; the look copy with its texture continuation
// across a shared edge and the offsets brought back within one texture size. After every
// operation on a fixture level the level oracle holds and undo gives back the exact stored bytes.

#include "edit/CopyPaste.h"
#include "edit/Insert.h"
#include "edit/SurfaceLook.h"

#include "SurfaceAccess.h"
#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/Undo.h"
#include "level/DeleteRenumber.h"
#include "level/QzeFile.h"
#include "math/BoundingBox.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;
using Bytes = std::vector<std::uint8_t>;

// ---- NormalizeTextureOffsets ----

struct OffsetCase {
    const char* what;
    std::vector<float> u;
    float width;
    std::vector<float> uAfter;
};

TEST(NormalizeTextureOffsets, BringsTheSmallestUWithinOneTextureWidth)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const OffsetCase cases[] = {
        {"-300 to -10 by 64: five widths up",
         {-300.0f, -10.0f, -150.0f},
         64.0f,
         {20.0f, 310.0f, 170.0f}},
        {"130 to 400 by 128: one width down", {130.0f, 400.0f}, 128.0f, {2.0f, 272.0f}},
        {"already within", {0.0f, 63.0f, 500.0f}, 64.0f, {0.0f, 63.0f, 500.0f}},
        {"exactly one width", {64.0f, 100.0f}, 64.0f, {0.0f, 36.0f}},
        {"just below 0", {-0.5f, 10.0f}, 64.0f, {63.5f, 74.0f}},
        {"rounded to 0.001 first", {0.0004f, -0.0004f, 1.23456f}, 64.0f, {0.0f, 0.0f, 1.235f}},
        // A texture without size moves nothing, and never loops.
        {"width 0, below 0", {-300.0f, -10.0f}, 0.0f, {-300.0f, -10.0f}},
        {"width 0, from 0", {0.0f, 10.0f}, 0.0f, {0.0f, 10.0f}},
        {"negative width", {-300.0f, 10.0f}, -64.0f, {-300.0f, 10.0f}},
        {"width not a number", {-300.0f, 10.0f}, kNaN, {-300.0f, 10.0f}},
        // Far away: whole widths at once, not one at a time.
        {"-1e9 by 1", {-1.0e9f, 5.0f}, 1.0f, {0.0f, 1.0e9f + 5.0f}},
    };
    for (const OffsetCase& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine engine(MakeEmptyLevel());
        CQzlSurface surface;
        surface.m_textureWidth = c.width;
        surface.m_textureHeight = 32.0f;
        for (const float u : c.u) {
            CQzlVertex corner;
            corner.m_u = u;
            corner.m_v = u;  // with height 32
            surface.m_vertices.push_back(corner);
        }
        NormalizeTextureOffsets(engine.m_view, surface);
        ASSERT_EQ(surface.m_vertices.size(), c.uAfter.size());
        float lowestV = 1e11f;
        for (std::size_t k = 0; k < c.u.size(); ++k) {
            EXPECT_FLOAT_EQ(surface.m_vertices[k].m_u, c.uAfter[k]) << "corner " << k;
            lowestV = std::fmin(lowestV, surface.m_vertices[k].m_v);
        }
        // v by the height alike: the smallest lands in [0, 32).
        if (std::isfinite(c.u[0]) && std::fabs(c.u[0]) < 1e6f) {
            EXPECT_GE(lowestV, 0.0f);
            EXPECT_LT(lowestV, 32.0f);
        }
    }
}

// ---- AlignTextureToSurface ----

// Two unit squares on the floor plane y = 0 wound alike: source from x = 0 to 1, target from
// x = 1 to 2, sharing the edge x = 1.
struct CTwoSquares {
    CTwoSquares() : engine(MakeEmptyLevel())
    {
        CQzlSections& level = engine.m_level;
        const auto square = [&](float x0, std::vector<CVector3> at) {
            CQzlSurface surface;
            for (const CVector3& p : at) {
                CQzlVertex corner;
                corner.m_worldVertex = level.AddVertexXYZ(p.x + x0, p.y, p.z);
                surface.m_vertices.push_back(corner);
            }
            surface.m_textureWidth = 64.0f;
            surface.m_textureHeight = 64.0f;
            return surface;
        };
        source = square(0.0f, {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}});
        target = square(1.0f, {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}});
        source.m_uScale = 100.0f;
        source.m_vScale = 200.0f;
    }

    // The source's u and v from a linear map of x and z: u = a x + b z + c, v = d x + e z + f.
    void MapSource(float a, float b, float c, float d, float e, float f)
    {
        for (CQzlVertex& corner : source.m_vertices) {
            const CVector3 p = Position(engine.m_level, corner);
            corner.m_u = a * p.x + b * p.z + c;
            corner.m_v = d * p.x + e * p.z + f;
        }
    }

    CFixtureEngine engine;
    CQzlSurface source;
    CQzlSurface target;
};

struct AlignCase {
    const char* what;
    float map[6];      // the source's linear map
    float u[4], v[4];  // the target's corners after
    int startVertex;
    float uOffset, vOffset, angle;
};

TEST(AlignTextureToSurface, ContinuesTheSourceAcrossTheSharedEdge)
{
    const AlignCase cases[] = {
        // u = 64 x, v = 64 z: the target's u of 64 to 128 comes back one width.
        {"straight", {64, 0, 0, 0, 64, 0}, {0, 0, 64, 64}, {0, 64, 64, 0}, 0, 0, 0, 0},
        // Turned by 45 degrees: from the start corner (10, 10) the next lies at (20, 20),
        // du > 0 and dv > 0, atan2 + pi/2: 135 degrees.
        {"45 degrees", {10, 10, 0, -10, 10, 20}, {10, 20, 30, 20}, {10, 20, 10, 0}, 0, 10, 10, 135},
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.what);
        CTwoSquares squares;
        squares.MapSource(c.map[0], c.map[1], c.map[2], c.map[3], c.map[4], c.map[5]);
        ASSERT_TRUE(AlignTextureToSurface(squares.engine.m_view, squares.target, squares.source));
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(squares.target.m_vertices[k].m_u, c.u[k]) << "corner " << k;
            EXPECT_FLOAT_EQ(squares.target.m_vertices[k].m_v, c.v[k]) << "corner " << k;
        }
        EXPECT_EQ(squares.target.m_startVertex, c.startVertex);
        EXPECT_FLOAT_EQ(squares.target.m_uOffset, c.uOffset);
        EXPECT_FLOAT_EQ(squares.target.m_vOffset, c.vOffset);
        EXPECT_FLOAT_EQ(squares.target.m_angle, c.angle);
        EXPECT_EQ(squares.target.m_uScale, 100.0f);
        EXPECT_EQ(squares.target.m_vScale, 200.0f);
    }
}

TEST(AlignTextureToSurface, WithoutASharedEdgeNothingChanges)
{
    CTwoSquares squares;
    squares.MapSource(64, 0, 0, 0, 64, 0);
    CQzlSections& level = squares.engine.m_level;
    CQzlSurface& target = squares.target;
    target.m_angle = 7.0f;
    target.m_vertices[0].m_u = 5.0f;
    // Lifted off the floor plane: no edge of it lies on a line of the source.
    const std::vector<CQzlVertex> onTheFloor = target.m_vertices;
    for (CQzlVertex& corner : target.m_vertices) {
        const CVector3 p = Position(level, corner);
        corner.m_worldVertex = level.AddVertexXYZ(p.x, p.y + 5.0f, p.z);
    }
    EXPECT_FALSE(AlignTextureToSurface(squares.engine.m_view, target, squares.source));
    EXPECT_EQ(target.m_angle, 7.0f);
    EXPECT_EQ(target.m_vertices[0].m_u, 5.0f);

    // A corner naming no world vertex.
    target.m_vertices = onTheFloor;
    target.m_vertices[2].m_worldVertex = 1000;
    EXPECT_FALSE(AlignTextureToSurface(squares.engine.m_view, target, squares.source));
    EXPECT_EQ(target.m_angle, 7.0f);
    EXPECT_EQ(target.m_vertices[0].m_u, 5.0f);
}

// ---- Paste Surface ----

// Two joined rooms with sector 1's floor current; sector 0's floor has a texture of u = 64 x,
// v = 64 z.
struct CFloors {
    CFloors() : engine(MakeTwoJoinedRooms())
    {
        CQzlSections& level = engine.m_level;
        from = BoxSurface(level, 0, kBoxFloor);
        to = BoxSurface(level, 1, kBoxFloor);
        for (CQzlVertex& corner : Surface(level, from).m_vertices) {
            const CVector3 p = Position(level, corner);
            corner.m_u = 64.0f * p.x;
            corner.m_v = 64.0f * p.z;
        }
        engine.m_view.m_selection.m_sector = 1;
        engine.m_view.m_selection.m_surface = to;
    }

    // Copies surface (the current one) with the Copy command, then makes `to` current again.
    void CopySurface(int surface)
    {
        CSelection& selection = engine.m_view.m_selection;
        selection.m_surface = surface;
        ASSERT_TRUE(RunCopyCommand(engine.m_view));
        selection.m_surface = to;
    }

    CFixtureEngine engine;
    int from = -1;
    int to = -1;
};

TEST(PasteSurface, TakesTheLookAndContinuesTheTexture)
{
    CFloors floors;
    CQzlSections& level = floors.engine.m_level;
    C3dView& view = floors.engine.m_view;
    {
        CQzlSurface& source = Surface(level, floors.from);
        source.m_surfaceFlags = 0x5;
        source.m_faceFlags = 0x10;
        source.m_geo = 3;
        source.m_tex = 0;
        source.m_light = 2;
        source.m_extraLight = 0.5f;
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("stone.mat"));
        source.m_material = 1;
    }
    floors.CopySurface(floors.from);
    // The render data the look copy takes with it.
    view.m_clipboard.m_surface->m_textureWidth = 64.0f;
    view.m_clipboard.m_surface->m_textureHeight = 64.0f;
    view.m_clipboard.m_surface->m_xTile = 2.0f;

    ASSERT_TRUE(UndoGivesBackExactBytes(
        view, [&] { return PasteSurface(view, *view.m_clipboard.m_surface); }));
    EXPECT_TRUE(LevelIsSound(level));

    const CQzlSurface& target = Surface(level, floors.to);
    EXPECT_EQ(target.m_material, 1);
    EXPECT_EQ(target.m_surfaceFlags, 0x5u);
    EXPECT_EQ(target.m_faceFlags, 0x10u);
    EXPECT_EQ(target.m_geo, 3);
    EXPECT_EQ(target.m_tex, 0);
    EXPECT_EQ(target.m_light, 2);
    EXPECT_EQ(target.m_extraLight, 0.0f);  // not part of the look
    EXPECT_EQ(target.m_adjoin, -1);
    // u = 64 x and v = 64 z carried on, then u brought back by one width of 64.
    for (const CQzlVertex& corner : target.m_vertices) {
        const CVector3 p = Position(level, corner);
        EXPECT_FLOAT_EQ(corner.m_u, 64.0f * p.x - 64.0f);
        EXPECT_FLOAT_EQ(corner.m_v, 64.0f * p.z);
    }
    EXPECT_EQ(view.m_selection.m_surface, floors.to);
    EXPECT_EQ(view.m_selection.m_sector, 1);
}

TEST(PasteSurface, AnAdjoinedTargetTakesTheAdjoinFlagsOfTheSource)
{
    CFixtureEngine engine(MakeLCorridor());
    CQzlSections& level = engine.m_level;
    C3dView& view = engine.m_view;
    // Sector 1's wall z = 1 (adjoin 2) is copied; sector 0's wall x = 1 (adjoin 0) takes it.
    const int source = BoxSurface(level, 1, kBoxZHigh);
    const int target = BoxSurface(level, 0, kBoxXHigh);
    level.m_adjoins[2]->m_flags = 3;
    view.m_selection.m_surface = source;
    ASSERT_TRUE(RunCopyCommand(view));
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = target;

    ASSERT_TRUE(UndoGivesBackExactBytes(
        view, [&] { return PasteSurface(view, *view.m_clipboard.m_surface); }));
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(level.m_adjoins[0]->m_flags, 3u);
    EXPECT_EQ(level.m_adjoins[1]->m_flags, 7u);  // the mirror is left alone
    EXPECT_EQ(Surface(level, target).m_adjoin, 0);
}

TEST(PasteSurface, AMaterialTheLevelNoLongerHasBecomesNone)
{
    CFloors floors;
    CQzlSections& level = floors.engine.m_level;
    C3dView& view = floors.engine.m_view;
    floors.CopySurface(floors.from);
    // The material list shrank after the copy: index 5 names nothing.
    view.m_clipboard.m_surface->m_material = 5;
    ASSERT_TRUE(UndoGivesBackExactBytes(
        view, [&] { return PasteSurface(view, *view.m_clipboard.m_surface); }));
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(Surface(level, floors.to).m_material, -1);
}

TEST(PasteSurface, ATextureWithoutSizeEnds)
{
    // Width and height 0 with u and v below 0 and above: the offsets stay, nothing loops.
    for (const float shift : {-300.0f, 300.0f}) {
        SCOPED_TRACE(shift);
        CFloors floors;
        CQzlSections& level = floors.engine.m_level;
        C3dView& view = floors.engine.m_view;
        for (CQzlVertex& corner : Surface(level, floors.from).m_vertices) {
            corner.m_u += shift;
            corner.m_v += shift;
        }
        floors.CopySurface(floors.from);
        view.m_clipboard.m_surface->m_textureWidth = 0.0f;
        view.m_clipboard.m_surface->m_textureHeight = 0.0f;
        ASSERT_TRUE(PasteSurface(view, *view.m_clipboard.m_surface));
        for (const CQzlVertex& corner : Surface(level, floors.to).m_vertices) {
            const CVector3 p = Position(level, corner);
            EXPECT_FLOAT_EQ(corner.m_u, 64.0f * p.x + shift);
            EXPECT_FLOAT_EQ(corner.m_v, 64.0f * p.z + shift);
        }
        EXPECT_TRUE(LevelIsSound(level));
    }
}

TEST(PasteSurface, WithTheGameTheTextureAndTilingComeFromTheMaterial)
{
    const auto synthetic = MakeSyntheticGame(0);
    CFloors floors;
    floors.engine.m_game = std::move(synthetic->m_resources);
    CQzlSections& level = floors.engine.m_level;
    C3dView& view = floors.engine.m_view;
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("brick.mat"));
    level.m_materials.back()->m_xTile = 4.0f;
    Surface(level, floors.from).m_material = 1;
    floors.CopySurface(floors.from);
    view.m_clipboard.m_surface->m_xTile = 1.0f;

    ASSERT_TRUE(PasteSurface(view, *view.m_clipboard.m_surface));
    const CQzlSurface& target = Surface(level, floors.to);
    EXPECT_EQ(target.m_material, 1);
    EXPECT_EQ(target.m_xTile, 4.0f);
    ASSERT_NE(target.m_texture, nullptr);
    EXPECT_EQ(target.m_textureWidth, 64.0f);
    EXPECT_EQ(target.m_textureHeight, 32.0f);
}

// ---- Copy and Paste Thing ----

std::unique_ptr<CFixtureEngine> MakeThingRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
    FinishFixture(level);
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "crate";
    thing->m_name = "crate";
    thing->m_position = {1.0f, 1.0f, 1.0f};
    thing->m_pitch = 10.0f;
    thing->m_yaw = 20.0f;
    thing->m_roll = 30.0f;
    thing->m_spareIndex = 4;
    thing->m_thingFlags = 0x400;
    thing->m_velocity = {1.0f, 2.0f, 3.0f};
    thing->m_frames = {{1.0f, 2.0f, 3.0f, {4.0f}}};
    thing->m_aiClass = "guard.ai";
    thing->m_runtimeWord = 9;
    level.m_things.push_back(std::move(thing));
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_camera.m_position = {2.0f, 2.0f, 0.5f};
    engine->m_view.m_camera.m_forwardAxis = {0.0f, 0.0f, 1.0f};
    return engine;
}

void ExpectSameStoredThing(const CQzlThing& got, const CQzlThing& want)
{
    EXPECT_EQ(got.m_template, want.m_template);
    EXPECT_EQ(got.m_name, want.m_name);
    EXPECT_EQ(got.m_pitch, want.m_pitch);
    EXPECT_EQ(got.m_yaw, want.m_yaw);
    EXPECT_EQ(got.m_roll, want.m_roll);
    EXPECT_EQ(got.m_spareIndex, want.m_spareIndex);
    EXPECT_EQ(got.m_thingFlags, want.m_thingFlags);
    EXPECT_EQ(got.m_velocity, want.m_velocity);
    EXPECT_EQ(got.m_frames, want.m_frames);
    EXPECT_EQ(got.m_aiClass, want.m_aiClass);
}

TEST(Copy, TakesTheCurrentThingElseTheCurrentSurface)
{
    auto engine = MakeThingRoom();
    C3dView& view = engine->m_view;
    CQzlSections& level = engine->m_level;
    const Bytes before = WriteLevelBytes(level);

    // A thing and a surface current: the thing, with the run-time fields of a new thing.
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = 2;
    view.m_selection.m_thing = 0;
    view.m_clipboard.m_surface = std::make_unique<CQzlSurface>();
    ASSERT_TRUE(CanCopy(view));
    ASSERT_TRUE(RunCopyCommand(view));
    ASSERT_NE(view.m_clipboard.m_thing, nullptr);
    EXPECT_EQ(view.m_clipboard.m_surface, nullptr);
    ExpectSameStoredThing(*view.m_clipboard.m_thing, *level.m_things[0]);
    EXPECT_EQ(view.m_clipboard.m_thing->m_position, level.m_things[0]->m_position);
    EXPECT_EQ(view.m_clipboard.m_thing->m_runtimeWord, 0);
    EXPECT_EQ(view.m_clipboard.m_thing->m_model, nullptr);

    // Only a surface: the surface with its corners.
    view.m_selection.m_thing = -1;
    ASSERT_TRUE(RunCopyCommand(view));
    EXPECT_EQ(view.m_clipboard.m_thing, nullptr);
    ASSERT_NE(view.m_clipboard.m_surface, nullptr);
    const CQzlSurface& copied = *view.m_clipboard.m_surface;
    ASSERT_EQ(copied.m_vertices.size(), Surface(level, 2).m_vertices.size());
    for (std::size_t k = 0; k < copied.m_vertices.size(); ++k)
        EXPECT_EQ(copied.m_vertices[k].m_worldVertex,
                  Surface(level, 2).m_vertices[k].m_worldVertex);

    // Nothing: an empty clipboard.
    view.m_selection.m_surface = -1;
    EXPECT_FALSE(CanCopy(view));
    EXPECT_FALSE(RunCopyCommand(view));
    EXPECT_EQ(view.m_clipboard.m_thing, nullptr);
    EXPECT_EQ(view.m_clipboard.m_surface, nullptr);

    // Copy changes no level and takes no undo step.
    EXPECT_EQ(WriteLevelBytes(level), before);
    EXPECT_TRUE(level.m_undoList.empty());
}

TEST(PasteThing, TwiceMakesTwoThingsAtTheSnappedFocusEachWithItsModel)
{
    auto engine = MakeThingRoom();
    C3dView& view = engine->m_view;
    CQzlSections& level = engine->m_level;
    ASSERT_EQ(engine->m_game.m_archive, nullptr);
    view.m_selection.m_sector = 0;
    view.m_selection.m_thing = 0;
    ASSERT_TRUE(RunCopyCommand(view));
    view.m_selection.m_thing = -1;

    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        // The grid of 0.1 snaps the focus point.
        view.m_camera.m_focusPoint = {2.53f, 0.47f, 1.26f};
        const CVector3 camera = view.m_camera.m_position;
        ASSERT_TRUE(PasteThing(view, *view.m_clipboard.m_thing));
        ASSERT_EQ(level.m_things.size(), static_cast<std::size_t>(1 + i));
        const CQzlThing& pasted = *level.m_things.back();
        ExpectSameStoredThing(pasted, *level.m_things[0]);
        EXPECT_FLOAT_EQ(pasted.m_position.x, 2.5f);
        EXPECT_FLOAT_EQ(pasted.m_position.y, 0.5f);
        EXPECT_FLOAT_EQ(pasted.m_position.z, 1.3f);
        EXPECT_EQ(pasted.m_sector, 0);
        EXPECT_EQ(view.m_selection.m_thing, i);
        // Without the game the ghost: seen, and the camera steps back by twice its radius.
        ASSERT_NE(pasted.m_model, nullptr);
        EXPECT_FALSE(pasted.m_model->m_nodes.empty());
        const float radius = BoxRadius(pasted.m_model->m_bounds);
        EXPECT_NEAR(view.m_camera.m_position.z, camera.z - 2.0f * radius, 1e-5f);
        EXPECT_TRUE(LevelIsSound(level));
    }
    EXPECT_NE(level.m_things[1]->m_model, level.m_things[2]->m_model);
}

TEST(PasteThing, UndoGivesBackTheLevel)
{
    auto engine = MakeThingRoom();
    C3dView& view = engine->m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_thing = 0;
    ASSERT_TRUE(RunCopyCommand(view));
    const CQzlThing copied = *view.m_clipboard.m_thing;
    view.m_selection.m_thing = -1;
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        view.m_camera.m_focusPoint = {3.0f, 1.0f, 3.0f};
        return PasteThing(view, copied);
    }));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    EXPECT_EQ(engine->m_level.m_things.size(), 2u);
}

// ---- The Paste command ----

struct PasteCase {
    const char* what;
    int sector, surface;
    bool clipboardSurface, clipboardThing;
    bool enabled;
    int surfacesChanged;  // 1 when the surface took a look
    int thingsAdded;
};

TEST(PasteCommand, TheSelectionAndTheClipboardChooseWhatIsPasted)
{
    const PasteCase cases[] = {
        {"empty clipboard", 0, 2, false, false, false, 0, 0},
        {"a surface onto a surface", 0, 2, true, false, true, 1, 0},
        {"a thing into a sector", 0, -1, false, true, true, 0, 1},
        {"both, a surface current", 0, 2, true, true, true, 1, 0},
        {"both, only a sector current", 0, -1, true, true, true, 0, 1},
        {"a thing with a surface current: enabled, does nothing", 0, 2, false, true, true, 0, 0},
        {"a surface with no surface current", 0, -1, true, false, false, 0, 0},
        {"a thing with no sector current", -1, -1, false, true, false, 0, 0},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto engine = MakeThingRoom();
        C3dView& view = engine->m_view;
        CQzlSections& level = engine->m_level;
        view.m_selection.m_thing = 0;
        ASSERT_TRUE(RunCopyCommand(view));
        auto thing = std::move(view.m_clipboard.m_thing);
        view.m_selection.m_thing = -1;
        view.m_selection.m_surface = 3;
        ASSERT_TRUE(RunCopyCommand(view));
        view.m_clipboard.m_surface->m_surfaceFlags = 0x77;
        if (!c.clipboardSurface)
            view.m_clipboard.m_surface.reset();
        if (c.clipboardThing)
            view.m_clipboard.m_thing = std::move(thing);
        view.m_selection.m_sector = c.sector;
        view.m_selection.m_surface = c.surface;
        view.m_camera.m_focusPoint = {2.0f, 1.0f, 2.0f};

        EXPECT_EQ(CanPaste(view), c.enabled);
        const bool changed = c.surfacesChanged + c.thingsAdded > 0;
        EXPECT_EQ(RunPasteCommand(view), changed);
        EXPECT_EQ(Surface(level, 2).m_surfaceFlags == 0x77u, c.surfacesChanged == 1);
        EXPECT_EQ(level.m_things.size(), 1u + static_cast<std::size_t>(c.thingsAdded));
        EXPECT_EQ(level.m_undoList.size(), changed ? 1u : 0u);
        // Pasting does not use the clipboard up.
        EXPECT_EQ(view.m_clipboard.m_surface != nullptr, c.clipboardSurface);
        EXPECT_EQ(view.m_clipboard.m_thing != nullptr, c.clipboardThing);
    }
}

// ---- The Cut command ----

// Deletes that record what Cut asked for and delete through the level container.
struct CRecordingDeletes {
    CCutDeletes Deletes()
    {
        return {[this](C3dView& view) {
                    calls.push_back("surface");
                    CQzlSections& level = view.GetLevel();
                    DeleteSurface(level, view.GetGame(), view.m_selection.m_surface);
                    view.m_selection.m_surface = view.m_selection.m_vertexSurface = -1;
                    view.m_selection.m_vertex = -1;
                    return true;
                },
                [this](C3dView& view) {
                    calls.push_back("thing");
                    DeleteThing(view.GetLevel(), view.GetGame(), view.m_selection.m_thing);
                    view.m_selection.m_thing = -1;
                    return true;
                }};
    }
    std::vector<std::string> calls;
};

enum class ECutSurface {
    None,
    Wall,     // a wall of the room
    Overlay,  // an overlay on the floor, whose delete leaves a sound level
};

struct CutCase {
    const char* what;
    bool thing;           // the thing is current
    ECutSurface surface;  // the current surface
    bool vertex;          // a corner of the current surface is current
    const char* deleted;  // "" for nothing
    const char* question;
};

TEST(CutCommand, DeletesWhatCopyCopied)
{
    const CutCase cases[] = {
        {"a thing", true, ECutSurface::None, false, "thing",
         "Do you want to delete the current object?"},
        {"a surface", false, ECutSurface::Overlay, false, "surface",
         "Do you want to delete the current surface?"},
        // Copy takes the thing: so does the delete, not the surface.
        {"a thing and a surface", true, ECutSurface::Wall, false, "thing",
         "Do you want to delete the current object?"},
        // Copy takes the surface: so does the delete, not the vertex.
        {"a surface and its vertex", false, ECutSurface::Overlay, true, "surface",
         "Do you want to delete the current surface?"},
        {"nothing", false, ECutSurface::None, false, "", ""},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto engine = MakeThingRoom();
        C3dView& view = engine->m_view;
        CQzlSections& level = engine->m_level;
        int surface = c.surface == ECutSurface::Wall ? BoxSurface(level, 0, kBoxXLow) : -1;
        if (c.surface == ECutSurface::Overlay) {
            view.m_selection.m_sector = 0;
            view.m_selection.m_surface = BoxSurface(level, 0, kBoxFloor);
            engine->m_host.m_materialChoices = {CMaterialChoice{0, "dflt.mat", 64, 64, 1, 1}};
            ASSERT_TRUE(InsertOverlaySurface(view));
            surface = view.m_selection.m_surface;
        }
        const Bytes before = WriteLevelBytes(level);
        const std::size_t surfaces = level.m_surfaces.size();
        const std::size_t vertices = level.m_worldVertices.size();

        view.m_selection.m_sector = 0;
        view.m_selection.m_thing = c.thing ? 0 : -1;
        view.m_selection.m_surface = surface;
        view.m_selection.m_vertex = c.vertex ? 1 : -1;
        view.m_selection.m_vertexSurface = c.vertex ? surface : -1;
        engine->m_host.Clear();
        CRecordingDeletes deletes;

        const bool cut = *c.deleted != '\0';
        EXPECT_EQ(CanCut(view), cut);
        EXPECT_EQ(RunCutCommand(view, deletes.Deletes()), cut);
        if (!cut) {
            EXPECT_TRUE(deletes.calls.empty());
            EXPECT_TRUE(engine->m_host.Questions().empty());
            EXPECT_TRUE(level.m_undoList.empty());
            continue;
        }
        EXPECT_EQ(deletes.calls, std::vector<std::string>{c.deleted});
        EXPECT_EQ(engine->m_host.Questions(), std::vector<std::string>{c.question});
        const bool thing = std::string(c.deleted) == "thing";
        EXPECT_EQ(view.m_clipboard.m_thing != nullptr, thing);
        EXPECT_EQ(view.m_clipboard.m_surface != nullptr, !thing);
        EXPECT_EQ(level.m_things.size(), thing ? 0u : 1u);
        EXPECT_EQ(level.m_surfaces.size(), thing ? surfaces : surfaces - 1);
        EXPECT_EQ(level.m_worldVertices.size(), thing ? vertices : vertices - 4);
        EXPECT_TRUE(LevelIsSound(level));
        // One undo step, and Undo gives back the level as it was before the Cut.
        ASSERT_EQ(level.m_undoList.size(), 1u);
        ASSERT_TRUE(UndoCommand(view));
        EXPECT_EQ(WriteLevelBytes(level), before);
    }
}

TEST(CutCommand, AnsweredNoItCopiesAndDeletesNothing)
{
    auto engine = MakeThingRoom();
    C3dView& view = engine->m_view;
    CQzlSections& level = engine->m_level;
    view.m_selection.m_sector = 0;
    view.m_selection.m_thing = 0;
    engine->m_host.ScriptAnswers({false});
    CRecordingDeletes deletes;
    const Bytes before = WriteLevelBytes(level);
    EXPECT_FALSE(RunCutCommand(view, deletes.Deletes()));
    EXPECT_TRUE(deletes.calls.empty());
    EXPECT_EQ(WriteLevelBytes(level), before);
    EXPECT_TRUE(level.m_undoList.empty());
    // The copy has been made.
    EXPECT_NE(view.m_clipboard.m_thing, nullptr);

    // With "Warning" off nothing is asked.
    engine->m_settings.m_warning = 0;
    engine->m_host.Clear();
    EXPECT_TRUE(RunCutCommand(view, deletes.Deletes()));
    EXPECT_TRUE(engine->m_host.Questions().empty());
    EXPECT_TRUE(level.m_things.empty());
}

}  // namespace
