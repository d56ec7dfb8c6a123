// Expand Surface in its three shapes: the records each adds, where the new sector stands and how
// it is joined to the current one, the margins on their own sides, the looks taken from the
// walls around, the refusals that leave the level as it was, and the dialog's decisions. The
// level oracle holds after every build and undo gives back the level exactly.

#include "engine/Camera.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/ExpandCommand.h"
#include "tools/ExpandSurface.h"
#include "tools/SideTextures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const CQzlSurface& SurfaceOf(const CQzlSections& level, int surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

// A prism along x whose ends are right triangles (y, z) = (0, 0), (1, 0), (0, 1): its end x = 1
// is not symmetric about its centroid (1, 1/3, 1/3). Surface 4 is that end.
CQzlSections MakeWedge()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{0.5f, 0.25f, 0.25f};
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddFacingSurface(level, s, in, {{0, 1, 0}, {1, 1, 0}, {1, 0, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}});
    FinishFixture(level);
    return level;
}
constexpr int kWedgeEnd = 4;

// The box room with its own materials on the floor (1) and the ceiling (2), every surface with
// its texture laid on.
CQzlSections MakeFurnishedRoom()
{
    CQzlSections level = MakeBoxRoom();
    for (int f = 0; f < static_cast<int>(level.m_surfaces.size()); ++f)
        GiveDefaultTextureCoords(level, f);
    level.FindMaterial("floor.mat");
    level.FindMaterial("ceiling.mat");
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))]->m_material = 1;
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxCeiling))]->m_material = 2;
    return level;
}

// The box room's wall x = 1 with its first corner 0.01 off the others' plane.
CQzlSections MakeBentWall()
{
    CQzlSections level = MakeBoxRoom();
    const CQzlSurface& wall =
        *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxXHigh))];
    const std::int32_t w = wall.m_vertices[0].m_worldVertex;
    level.m_worldVertices[static_cast<std::size_t>(w)].x += 0.01f;
    FinishFixture(level);
    return level;
}

struct CStart {
    int surface;
    CVector3 node0, node1;
};

// The wall x = 1 of the box room with y up.
constexpr CVector3 kUp0{1.0f, 0.0f, 0.5f};
constexpr CVector3 kUp1{1.0f, 1.0f, 0.5f};

void Select(CFixtureEngine& engine, const CStart& start)
{
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = start.surface;
    selection.m_pickedNodes = {start.node0, start.node1};
}

// Runs build on a fresh engine over level with the start selection, through the undo check; the
// oracle after it. The engine for further looks.
std::unique_ptr<CFixtureEngine> Build(CQzlSections level, const CStart& start,
                                      const std::function<bool(C3dView&)>& build)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    // The undo check rebuilds every sector first, which empties the picked nodes: they are set
    // inside the operation, as the user picks them after the level is shown.
    EXPECT_TRUE(UndoGivesBackExactBytes(engine->m_view, [&] {
        Select(*engine, start);
        return build(engine->m_view);
    }));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    EXPECT_TRUE(engine->m_host.Messages().empty());
    return engine;
}

struct CCounts {
    std::size_t sectors, surfaces, adjoins, vertices;
};

CCounts CountsOf(const CQzlSections& level)
{
    return {level.m_sectors.size(), level.m_surfaces.size(), level.m_adjoins.size(),
            level.m_worldVertices.size()};
}

// The surface of sector 1 holding an adjoin, and its twin's owner: the new sector is joined to
// the start surface.
void ExpectJoined(const CQzlSections& level, int newSector, int surface)
{
    const CQzlSurface& start = SurfaceOf(level, surface);
    ASSERT_GE(start.m_adjoin, 0);
    const CQzlAdjoin& adjoin = *level.m_adjoins[static_cast<std::size_t>(start.m_adjoin)];
    EXPECT_EQ(adjoin.m_otherSector, newSector);
    EXPECT_EQ(start.m_material, -1);
    const CQzlSurface& twin = SurfaceOf(level, adjoin.m_otherSurface);
    EXPECT_EQ(twin.m_material, -1) << "a portal takes no material";
}

// The smallest and largest of the new sector's corners along axis.
void SectorSpan(const CQzlSections& level, int sector, const CVector3& axis, float& low,
                float& high)
{
    low = 1e9f;
    high = -1e9f;
    for (const std::int32_t f : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces)
        for (const CQzlVertex& corner : SurfaceOf(level, f).m_vertices) {
            const float d = Dot(WorldPosition(level, corner.m_worldVertex), axis);
            low = std::min(low, d);
            high = std::max(high, d);
        }
}

// ---- The frame ----

TEST(ExpandFrame, ExtentsAreMeasuredFromTheCentroidOnEachHalfAxis)
{
    const CQzlSections wedge = MakeWedge();
    const CExpandBox box =
        CalcExpandBox(wedge, kWedgeEnd, {1.0f, 1.0f / 3, 1.0f / 3}, {0, 1, 0}, {0, 0, 1});
    EXPECT_NEAR(box.m_upPlus, 2.0f / 3, 1e-5);
    EXPECT_NEAR(box.m_upMinus, 1.0f / 3, 1e-5);
    EXPECT_NEAR(box.m_sidePlus, 2.0f / 3, 1e-5);
    EXPECT_NEAR(box.m_sideMinus, 1.0f / 3, 1e-5);

    CQzlSections room = MakeBoxRoom();
    const int wall = BoxSurface(room, 0, kBoxXHigh);
    std::vector<CQzlVertex>& corners = room.m_surfaces[static_cast<std::size_t>(wall)]->m_vertices;
    for (std::size_t i = 0; i < corners.size(); ++i)
        corners[i].m_intensity[2] = i % 2 == 0 ? 0.2f : 0.6f;
    float light[4];
    AverageVertexLight(room, wall, light);
    EXPECT_FLOAT_EQ(light[0], 1.0f);
    EXPECT_FLOAT_EQ(light[2], 0.4f);
}

TEST(ExpandFrame, TheNodesDirectionIsBroughtIntoTheSurfacesPlane)
{
    CFixtureEngine engine(MakeBoxRoom());
    const int wall = BoxSurface(engine.m_level, 0, kBoxXHigh);
    // The second node lies off the wall: only its part in the wall's plane counts.
    Select(engine, {wall, kUp0, {1.7f, 1.0f, 0.5f}});
    CExpandFrame frame;
    std::string refusal;
    ASSERT_TRUE(GetExpandFrame(engine.m_view, frame, refusal));
    EXPECT_NEAR(frame.m_up.x, 0.0f, 1e-6);
    EXPECT_NEAR(frame.m_up.y, 1.0f, 1e-6);
    EXPECT_NEAR(frame.m_box.m_upPlus, 0.5f, 1e-5);
    EXPECT_NEAR(frame.m_box.m_sideMinus, 0.5f, 1e-5);
}

// ---- Rectangular ----

struct CRectCase {
    const char* name;
    CQzlSections (*level)();
    int surface;
    float depth, left, right, top, bottom;
    std::size_t surfacesAdded;  // six faces, and the pieces the front face is cut into
};

TEST(ExpandSurfaceRect, BuildsAClosedBoxJoinedToTheSurface)
{
    const CRectCase cases[] = {
        {"zero margins", MakeBoxRoom, kBoxXHigh, 1.0f, 0, 0, 0, 0, 6},
        {"smallest depth", MakeBoxRoom, kBoxXHigh, 0.01f, 0, 0, 0, 0, 6},
        {"margins all round", MakeBoxRoom, kBoxXHigh, 2.0f, 0.25f, 0.5f, 0.75f, 1.0f, 10},
        {"from the floor", MakeBoxRoom, kBoxFloor, 1.0f, 0, 0.5f, 0, 0, 7},
        {"next to an adjoin", MakeTwoJoinedRooms, kBoxZLow, 1.0f, 0, 0, 0, 0, 6},
    };
    for (const CRectCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = c.level();
        const int surface = BoxSurface(level, 0, static_cast<EBoxSide>(c.surface));
        const CCounts before = CountsOf(level);
        // Up along y for a wall, along z for the floor.
        const bool floor = c.surface == kBoxFloor;
        const CStart start{surface, floor ? CVector3{0.5f, 0, 0} : kUp0,
                           floor ? CVector3{0.5f, 0, 1} : kUp1};
        const auto engine = Build(std::move(level), start, [&c](C3dView& view) {
            return ExpandSurfaceRect(view, c.depth, c.left, c.right, c.top, c.bottom);
        });
        const CQzlSections& out = engine->m_level;
        const CCounts after = CountsOf(out);
        EXPECT_EQ(after.sectors, before.sectors + 1);
        EXPECT_EQ(after.surfaces, before.surfaces + c.surfacesAdded);
        EXPECT_EQ(after.adjoins, before.adjoins + 2);
        const int added = static_cast<int>(before.sectors);
        ExpectJoined(out, added, surface);
        // The new sector and its back face are current.
        EXPECT_EQ(engine->m_view.m_selection.m_sector, added);
        EXPECT_EQ(engine->m_view.m_selection.m_surface,
                  out.m_sectors[static_cast<std::size_t>(added)]->m_surfaces[2]);
        EXPECT_EQ(engine->m_view.m_selection.m_vertex, -1);
        // The back face lies depth behind the surface.
        const CQzlSurface& start0 = SurfaceOf(out, surface);
        float low = 0.0f;
        float high = 0.0f;
        SectorSpan(out, added, start0.m_normal, low, high);
        const float plane =
            Dot(start0.m_normal, WorldPosition(out, start0.m_vertices[0].m_worldVertex));
        EXPECT_NEAR(high, plane, 1e-5);
        EXPECT_NEAR(plane - low, c.depth, 1e-5);
    }
}

TEST(ExpandSurfaceRect, EachMarginGrowsTheBoxOnItsOwnSideAsTheUserSeesIt)
{
    // Looking at the wall x = 1 from inside the room with y up, the user's right is towards z < 0
    // (the camera's right axis) ...
    CFixtureEngine probe(MakeBoxRoom());
    SetCameraAxes(probe.m_view, 1, 0, 0, 0, 1, 0);
    const D3DMATRIX& m = probe.m_view.m_camera.m_viewMatrix;
    const CVector3 right{m.m[0][0], m.m[1][0], m.m[2][0]};
    ASSERT_LT(right.z, -0.5f);

    struct CMarginCase {
        float left, right;
        float lowZ, highZ;
    };
    // ... so the left margin grows the box beyond z = 1 and the right one below z = 0.
    const CMarginCase cases[] = {{0.5f, 0.0f, 0.0f, 1.5f}, {0.0f, 0.25f, -0.25f, 1.0f}};
    for (const CMarginCase& c : cases) {
        SCOPED_TRACE(c.left);
        CQzlSections level = MakeBoxRoom();
        const int wall = BoxSurface(level, 0, kBoxXHigh);
        const auto engine = Build(std::move(level), {wall, kUp0, kUp1}, [&c](C3dView& view) {
            return ExpandSurfaceRect(view, 1.0f, c.left, c.right, 0.0f, 0.0f);
        });
        float low = 0.0f;
        float high = 0.0f;
        SectorSpan(engine->m_level, 1, {0, 0, 1}, low, high);
        EXPECT_NEAR(low, c.lowZ, 1e-5);
        EXPECT_NEAR(high, c.highZ, 1e-5);
    }
}

TEST(ExpandSurfaceRect, AnUnevenSurfaceIsCoveredAndJoined)
{
    // Each extent stays on its own side: the wedge's end reaches 2/3 up and 2/3 to the right
    // of its centroid but only 1/3 down and to the left.
    const auto engine = Build(MakeWedge(), {kWedgeEnd, {1, 0, 0}, {1, 1, 0}}, [](C3dView& view) {
        return ExpandSurfaceRect(view, 1.0f, 0, 0, 0, 0);
    });
    ExpectJoined(engine->m_level, 1, kWedgeEnd);
    float low = 0.0f;
    float high = 0.0f;
    SectorSpan(engine->m_level, 1, {0, 0, 1}, low, high);
    EXPECT_NEAR(low, 0.0f, 1e-5);
    EXPECT_NEAR(high, 1.0f, 1e-5);
}

TEST(ExpandSurfaceRect, TheNewFacesContinueTheLooksAround)
{
    CQzlSections level = MakeFurnishedRoom();
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    const auto engine = Build(std::move(level), {wall, kUp0, kUp1}, [](C3dView& view) {
        return ExpandSurfaceRect(view, 1.0f, 0, 0, 0, 0);
    });
    const CQzlSections& out = engine->m_level;
    const std::vector<std::int32_t>& faces = out.m_sectors[1]->m_surfaces;
    // Front, -B side, back, +B side, -A end (floor), +A end (ceiling).
    EXPECT_EQ(SurfaceOf(out, faces[4]).m_material, 1);
    EXPECT_EQ(SurfaceOf(out, faces[5]).m_material, 2);
    for (const std::size_t side : {std::size_t{1}, std::size_t{2}, std::size_t{3}})
        EXPECT_EQ(SurfaceOf(out, faces[side]).m_material, 0) << side;
    // The texture runs on over every face: none is left with one texture point for all its
    // corners.
    for (const std::int32_t f : faces) {
        const CQzlSurface& face = SurfaceOf(out, f);
        if (face.m_adjoin >= 0)
            continue;
        const bool flat = std::all_of(
            face.m_vertices.begin(), face.m_vertices.end(), [&face](const CQzlVertex& v) {
                return v.m_u == face.m_vertices[0].m_u && v.m_v == face.m_vertices[0].m_v;
            });
        EXPECT_FALSE(flat) << f;
    }
}

// ---- Cylindrical ----

TEST(ExpandSurfaceCylinder, BuildsAPrismWithOneFaceAgainstTheSurface)
{
    struct CCase {
        int sides;
        float height, width;
    };
    const CCase cases[] = {{3, 1.0f, 1.0f}, {4, 1.0f, 1.0f}, {4, 2.0f, 3.0f}, {24, 1.0f, 1.5f}};
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.sides);
        CQzlSections level = MakeBoxRoom();
        const int wall = BoxSurface(level, 0, kBoxXHigh);
        const CCounts before = CountsOf(level);
        const auto engine = Build(std::move(level), {wall, kUp0, kUp1}, [&c](C3dView& view) {
            return ExpandSurfaceCylinder(view, c.height, c.width, c.sides);
        });
        const CQzlSections& out = engine->m_level;
        ExpectJoined(out, 1, wall);
        // The surface stays current.
        EXPECT_EQ(engine->m_view.m_selection.m_sector, 0);
        EXPECT_EQ(engine->m_view.m_selection.m_surface, wall);
        // The two ends and the sides; a face larger than the wall is cut to it.
        const std::size_t cuts = (c.height > 1.0f ? 2 : 0) + (c.width > 1.0f ? 2 : 0);
        const bool cut = cuts > 0;
        EXPECT_EQ(out.m_surfaces.size(),
                  before.surfaces + static_cast<std::size_t>(c.sides) + 2 + cuts);
        // Side faces add no world vertices: the ends' corners are all there is, four of them
        // the wall's when the face against it is the wall's size.
        if (!cut) {
            EXPECT_EQ(out.m_worldVertices.size(),
                      before.vertices + 2 * static_cast<std::size_t>(c.sides) - 4);
        }
        // The axis lies (width / 2) / tan(pi / sides) behind the wall: the ends' centres.
        const float s = c.width * 0.5f / std::tan(3.14159265f / static_cast<float>(c.sides));
        const CQzlSurface& bottom = SurfaceOf(out, out.m_sectors[1]->m_surfaces[0]);
        CVector3 sum;
        for (const CQzlVertex& v : bottom.m_vertices)
            sum = sum + WorldPosition(out, v.m_worldVertex);
        const CVector3 centre = sum / static_cast<float>(bottom.m_vertices.size());
        EXPECT_NEAR(centre.x, 1.0f + s, 1e-4);
        EXPECT_NEAR(centre.y, 0.5f - c.height * 0.5f, 1e-5);
    }
}

TEST(ExpandSurfaceCylinder, AnUnevenSurfaceIsCoveredAndJoined)
{
    const auto engine = Build(MakeWedge(), {kWedgeEnd, {1, 0, 0}, {1, 1, 0}}, [](C3dView& view) {
        return ExpandSurfaceCylinder(view, 1.0f, 1.0f, 4);
    });
    ExpectJoined(engine->m_level, 1, kWedgeEnd);
}

// ---- Circular ----

TEST(ExpandSurfaceCircle, BuildsBandsOfFacesAroundTheAxis)
{
    struct CCase {
        int sides;
        std::size_t faces;
        bool flatEnds;
    };
    const CCase cases[] = {{8, 40, true}, {6, 18, false}, {10, 50, false}, {24, 312, true}};
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.sides);
        CQzlSections level = MakeBoxRoom();
        const int wall = BoxSurface(level, 0, kBoxXHigh);
        const auto engine = Build(std::move(level), {wall, kUp0, kUp1}, [&c](C3dView& view) {
            return ExpandSurfaceCircle(view, 1.0f, 1.0f, c.sides);
        });
        const CQzlSections& out = engine->m_level;
        ExpectJoined(out, 1, wall);
        const std::vector<std::int32_t>& faces = out.m_sectors[1]->m_surfaces;
        ASSERT_EQ(faces.size(), c.faces);
        // The top band's lower corners lie as high as its apex only with sides divisible by 4.
        const CQzlSurface& topFace = SurfaceOf(out, faces.back());
        ASSERT_EQ(topFace.m_vertices.size(), 3u);
        const float apex = WorldPosition(out, topFace.m_vertices[0].m_worldVertex).y;
        const float rim = WorldPosition(out, topFace.m_vertices[1].m_worldVertex).y;
        EXPECT_EQ(std::fabs(apex - rim) < 1e-4f, c.flatEnds) << apex << " " << rim;
        // Face 0 of the middle band is the one against the wall.
        const int m = c.sides / 4;
        EXPECT_GE(SurfaceOf(out, faces[static_cast<std::size_t>(m * c.sides)]).m_adjoin, 0);
    }
}

TEST(ExpandSurfaceCircle, EachEdgesTextureRangeIsItsOwnLength)
{
    CQzlSections level = MakeBoxRoom();
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    level.m_surfaces[static_cast<std::size_t>(wall)]->m_uScale = 64.0f;
    level.m_surfaces[static_cast<std::size_t>(wall)]->m_vScale = 32.0f;
    const auto engine = Build(std::move(level), {wall, kUp0, kUp1}, [](C3dView& view) {
        return ExpandSurfaceCircle(view, 1.0f, 2.0f, 8);
    });
    const CQzlSections& out = engine->m_level;
    // Band j = 1 (the one above the middle), segment 1: a trapezoid.
    const CQzlSurface& face = SurfaceOf(out, out.m_sectors[1]->m_surfaces[3 * 8 + 1]);
    ASSERT_EQ(face.m_vertices.size(), 4u);
    const auto at = [&](std::size_t i) {
        return WorldPosition(out, face.m_vertices[i].m_worldVertex);
    };
    EXPECT_NEAR(face.m_vertices[0].m_u - face.m_vertices[1].m_u,
                VectorLength(at(0) - at(1)) * 64.0f, 1e-2);
    EXPECT_NEAR(face.m_vertices[3].m_u - face.m_vertices[2].m_u,
                VectorLength(at(3) - at(2)) * 64.0f, 1e-2);
    EXPECT_FLOAT_EQ(face.m_vertices[0].m_v, 2.0f * 1.0f * 32.0f);
    EXPECT_FLOAT_EQ(face.m_vertices[3].m_v, 1.0f * 1.0f * 32.0f);
    EXPECT_NEAR((face.m_vertices[0].m_u + face.m_vertices[1].m_u) * 0.5f, 1.5f * 2.0f * 64.0f,
                1e-3);
}

// ---- Refusals ----

TEST(ExpandSurface, UndefinedCasesAreRefusedWithTheLevelAsItWas)
{
    struct CCase {
        const char* name;
        CQzlSections (*level)();
        int surface;
        std::vector<CVector3> nodes;
        std::function<bool(C3dView&)> build;
        std::string message;
    };
    const auto rect = [](C3dView& v) { return ExpandSurfaceRect(v, 1.0f, 0, 0, 0, 0); };
    const std::vector<CVector3> up{kUp0, kUp1};
    const CCase cases[] = {
        {"an adjoined surface", MakeTwoJoinedRooms, kBoxXHigh, up, rect, kExpandAdjoined},
        {"one node", MakeBoxRoom, kBoxXHigh, {kUp0}, rect, kExpandNeedsNodes},
        {"nodes along the normal",
         MakeBoxRoom,
         kBoxXHigh,
         {{1, 0.5f, 0.5f}, {3, 0.5f, 0.5f}},
         rect,
         kExpandNoUpDirection},
        {"one node twice", MakeBoxRoom, kBoxXHigh, {kUp0, kUp0}, rect, kExpandNoUpDirection},
        {"no depth", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceRect(v, 0.0f, 0, 0, 0, 0); },
         "Cannot expand Surface.\n\nThe depth must be greater than 0."},
        {"margins eating the box", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceRect(v, 1.0f, -0.5f, -0.5f, 0, 0); },
         "Cannot expand Surface.\n\nThe margins leave the new sector no room."},
        {"a prism of 2 sides", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceCylinder(v, 1, 1, 2); },
         "Cannot expand Surface.\n\nThe number of sides must be from 3 to 24."},
        {"a prism of 25 sides", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceCylinder(v, 1, 1, 25); },
         "Cannot expand Surface.\n\nThe number of sides must be from 3 to 24."},
        {"a globe of 5 sides", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceCircle(v, 1, 1, 5); },
         "Cannot expand Surface.\n\nThe number of sides must be from 6 to 24."},
        {"a prism lower than the surface", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceCylinder(v, 0.9f, 1, 4); },
         "Cannot expand Surface.\n\nThe height must be from 1 to 1000 and the width from 1 to "
         "1000."},
        {"a globe narrower than the surface", MakeBoxRoom, kBoxXHigh, up,
         [](C3dView& v) { return ExpandSurfaceCircle(v, 1, 0.99f, 8); },
         "Cannot expand Surface.\n\nThe height must be from 1 to 1000 and the width from 1 to "
         "1000."},
        {"a bent wall that cannot be joined", MakeBentWall, kBoxXHigh, up, rect, kExpandNotJoined},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.level());
        RebuildAll(engine.m_view, true);
        const int surface = BoxSurface(engine.m_level, 0, static_cast<EBoxSide>(c.surface));
        CSelection& selection = engine.m_view.m_selection;
        selection.m_sector = 0;
        selection.m_surface = surface;
        selection.m_pickedNodes = c.nodes;
        const std::vector<std::uint8_t> before = SnapshotBytes(engine.m_level);
        const std::size_t undo = engine.m_level.m_undoList.size();
        EXPECT_FALSE(RunUndoable(engine.m_view, [&] { return c.build(engine.m_view); }));
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(SnapshotBytes(engine.m_level) == before);
        EXPECT_EQ(engine.m_level.m_undoList.size(), undo);
        EXPECT_EQ(selection.m_sector, 0);
        EXPECT_EQ(selection.m_surface, surface);
    }
}

// ---- The dialog's decisions and the command ----

TEST(ExpandDialog, EachFieldIsEnabledUnderItsOwnShapeOnly)
{
    using F = EExpandField;
    using S = EExpandShape;
    struct CRow {
        F field;
        bool rectangular, cylindrical, circular;
    };
    const CRow rows[] = {
        {F::Left, true, false, false},          {F::Right, true, false, false},
        {F::Top, true, false, false},           {F::Bottom, true, false, false},
        {F::Depth, true, false, false},         {F::CylinderHeight, false, true, false},
        {F::CylinderWidth, false, true, false}, {F::CylinderSides, false, true, false},
        {F::CircleHeight, false, false, true},  {F::CircleWidth, false, false, true},
        {F::CircleSides, false, false, true},
    };
    ASSERT_EQ(std::size(rows), kExpandFields.size());
    for (const CRow& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.field));
        EXPECT_EQ(ExpandFieldEnabled(row.field, S::Rectangular), row.rectangular);
        EXPECT_EQ(ExpandFieldEnabled(row.field, S::Cylindrical), row.cylindrical);
        EXPECT_EQ(ExpandFieldEnabled(row.field, S::Circular), row.circular);
    }
}

TEST(ExpandDialog, StartValuesAndRanges)
{
    const CExpandBox box{0.75f, 0.5f, 0.25f, 1.0f};
    const CExpandValues values = ExpandDefaults(box);
    EXPECT_EQ(values.m_shape, EExpandShape::Rectangular);
    EXPECT_FLOAT_EQ(values.m_depth, 1.0f);
    EXPECT_FLOAT_EQ(values.m_cylinderHeight, 1.25f);
    EXPECT_FLOAT_EQ(values.m_circleHeight, 1.25f);
    EXPECT_FLOAT_EQ(values.m_cylinderWidth, 1.25f);
    EXPECT_EQ(values.m_cylinderSides, 4);
    EXPECT_EQ(values.m_circleSides, 8);

    using F = EExpandField;
    struct CRange {
        F field;
        double value;
        bool fits;
    };
    const CRange ranges[] = {
        {F::Left, 0.0, true},
        {F::Left, -0.001, false},
        {F::Bottom, 1000.0, true},
        {F::Top, 1000.5, false},
        {F::Depth, 0.01, true},
        {F::Depth, 0.009, false},
        {F::Depth, 1000.0, true},
        {F::CylinderHeight, 1.25, true},
        {F::CylinderHeight, 1.24995, true},
        {F::CylinderHeight, 1.2498, false},
        {F::CircleWidth, 1.2499, true},
        {F::CircleWidth, 1.2497, false},
        {F::CircleHeight, 999.9999, true},
        {F::CircleHeight, 1000.0, false},
        {F::CylinderSides, 3, true},
        {F::CylinderSides, 2, false},
        {F::CylinderSides, 24, true},
        {F::CylinderSides, 25, false},
        {F::CircleSides, 6, true},
        {F::CircleSides, 5, false},
        {F::CircleSides, 7.5, false},
        {F::Depth, std::nan(""), false},
    };
    for (const CRange& r : ranges) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(r.field) << " " << r.value);
        EXPECT_EQ(ExpandValueInRange(r.field, r.value, box), r.fits);
    }
}

TEST(ExpandCommand, NeedsACurrentSurfaceAndExactlyTwoNodes)
{
    struct CCase {
        int surface;
        std::size_t nodes;
        bool enabled;
    };
    const CCase cases[] = {
        {3, 2, true}, {-1, 2, false}, {3, 1, false}, {3, 3, false}, {3, 0, false}};
    for (const CCase& c : cases) {
        CFixtureEngine engine(MakeBoxRoom());
        engine.m_view.m_selection.m_sector = 0;
        engine.m_view.m_selection.m_surface = c.surface;
        engine.m_view.m_selection.m_pickedNodes.assign(c.nodes, kUp0);
        EXPECT_EQ(CanExpandSurface(engine.m_view), c.enabled) << c.surface << " " << c.nodes;
    }
}

TEST(ExpandCommand, RunsTheChosenShapeInOneUndoStep)
{
    const struct {
        EExpandShape shape;
        std::size_t faces;
    } cases[] = {{EExpandShape::Rectangular, 6},
                 {EExpandShape::Cylindrical, 8},
                 {EExpandShape::Circular, 18}};
    for (const auto& c : cases) {
        CFixtureEngine engine(MakeBoxRoom());
        RebuildAll(engine.m_view, true);
        const int wall = BoxSurface(engine.m_level, 0, kBoxXHigh);
        Select(engine, {wall, kUp0, kUp1});
        CExpandBox box;
        ASSERT_TRUE(PrepareExpandSurface(engine.m_view, box));
        CExpandValues values = ExpandDefaults(box);
        values.m_shape = c.shape;
        values.m_cylinderSides = 6;
        values.m_circleSides = 6;
        ASSERT_TRUE(RunExpandSurfaceCommand(engine.m_view, values));
        EXPECT_EQ(engine.m_level.m_undoList.size(), 1u);
        ASSERT_EQ(engine.m_level.m_sectors.size(), 2u);
        EXPECT_EQ(engine.m_level.m_sectors[1]->m_surfaces.size(), c.faces);
        EXPECT_TRUE(LevelIsSound(engine.m_level));
    }
    // An adjoined surface: the message before the dialog, no step.
    CFixtureEngine engine(MakeTwoJoinedRooms());
    Select(engine, {BoxSurface(engine.m_level, 0, kBoxXHigh), kUp0, kUp1});
    CExpandBox box;
    EXPECT_FALSE(PrepareExpandSurface(engine.m_view, box));
    EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{kExpandAdjoined});
}

}  // namespace
