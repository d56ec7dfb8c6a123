// Create Pyramid: wedges, apex and the raised-vertex list for upright, leaning and flat pyramids,
// through a portal ceiling too; the refusals of an apex that leaves the sector and of a prism
// that cannot be sliced; the fan triangulation on its own. The level oracle holds after every
// build and undo gives the level back exactly; a refusal leaves it byte for byte as it was.

#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Footprint.h"
#include "tools/Pyramid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr CVector3 kUp{0, 1, 0};
constexpr CVector3 kDepth{0, 0, 1};
constexpr CVector3 kWidth{1, 0, 0};
constexpr int kSlopeMaterial = 1;

// The fixture with a second material for the slopes and its floors flagged as floors.
CQzlSections Dressed(CQzlSections level)
{
    level.FindMaterial("slope.mat");
    for (const auto& surface : level.m_surfaces)
        UpdateFloorFlag(*surface);
    return level;
}

// A room from (0, 0, 0) to (4, 3, 4), y up.
CQzlSections MakeHall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    return Dressed(std::move(level));
}

CQzlSections MakeLowerRoom()
{
    return Dressed(MakeRoomAboveRoom());
}

// The hall with a cellar under it whose corner (1.5005, 0, 1.5) lies 0.0005 from the centre of a
// base centred on (1.5, 0, 1.5), and comes before that centre in the world-vertex list.
CQzlSections MakeHallOverCellar()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    AddBoxSector(level, {0.5005f, -1, 0.5f}, {1.5005f, 0, 1.5f});
    FinishFixture(level);
    return Dressed(std::move(level));
}

// A pyramid on the floor of sector 0: a square base of side size centred on centre, the base
// point (the dialog's first node) at base.
struct CPyramidCase {
    const char* name;
    CQzlSections (*make)();
    CVector3 centre;
    float size;
    float height;
    float upDown = 0.0f;
    float leftRight = 0.0f;
    std::optional<CVector3> base = std::nullopt;
};

CRaisedShape ShapeOf(const CPyramidCase& c)
{
    CRaisedShape shape;
    shape.m_base = c.base.value_or(c.centre);
    shape.m_second = shape.m_base + kDepth;
    shape.m_height = c.height;
    shape.m_normal = kUp;
    shape.m_depthAxis = kDepth;
    shape.m_widthAxis = kWidth;
    shape.m_upDown = c.upDown;
    shape.m_leftRight = c.leftRight;
    shape.m_look = {kSlopeMaterial, 64.0f, 64.0f, 2.0f, 3.0f};
    return shape;
}

// Makes the floor under the base's centre current and the base's corners the picked nodes.
void SelectBase(CFixtureEngine& engine, const CPyramidCase& c)
{
    const CQzlSections& level = engine.m_level;
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = selection.m_surface = -1;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        for (const std::int32_t f : level.m_sectors[s]->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[f];
            int edge = -1;
            if (surface.m_normal == kUp &&
                WorldPosition(level, surface.m_vertices[0].m_worldVertex).y == c.centre.y &&
                PointSurfaceDistance(level, f, c.centre, edge)) {
                selection.m_sector = static_cast<std::int32_t>(s);
                selection.m_surface = f;
            }
        }
    ASSERT_GE(selection.m_surface, 0);
    selection.m_pickedNodes = RectangleCorners(c.centre, c.size, c.size, kDepth, kWidth);
}

bool InSomeSector(const CQzlSections& level, const CVector3& p)
{
    for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s)
        if (PointInSector(level, s, p, 0.0f))
            return true;
    return false;
}

TEST(CreatePyramid, WedgesApexAndRaisedVertex)
{
    const float tan10 = std::tan(10.0f * 3.1415927f / 180.0f);
    struct {
        CPyramidCase shape;
        CVector3 apex;
        CVector3 topCentre;  // the centroid of the prism's top
    } const cases[] = {
        {{"upright", MakeHall, {1.5f, 0, 1.5f}, 1.0f, 1.0f}, {1.5f, 1, 1.5f}, {1.5f, 3, 1.5f}},
        {{"apex just under the ceiling", MakeHall, {1.5f, 0, 1.5f}, 1.0f, 2.9f},
         {1.5f, 2.9f, 1.5f},
         {1.5f, 3, 1.5f}},
        {{"leaning along the depth axis", MakeHall, {1.5f, 0, 1.5f}, 1.0f, 1.0f, 10.0f},
         {1.5f, 1, 1.5f + tan10},
         {1.5f, 3, 1.5f + 3 * tan10}},
        {{"leaning against the width axis", MakeHall, {1.5f, 0, 1.5f}, 1.0f, 1.0f, 0.0f, -10.0f},
         {1.5f + tan10, 1, 1.5f},
         {1.5f + 3 * tan10, 3, 1.5f}},
        {{"height 0: sliced around a flat centre", MakeHall, {2, 0, 2}, 2.0f, 0.0f},
         {2, 0, 2},
         {2, 3, 2}},
        {{"under a portal ceiling", MakeLowerRoom, {0.5f, 0, 0.5f}, 0.5f, 0.5f},
         {0.5f, 0.5f, 0.5f},
         {0.5f, 1, 0.5f}},
        // Only the fan's own centre rises, not the cellar's corner next to it.
        {{"another sector's corner by the centre", MakeHallOverCellar, {1.5f, 0, 1.5f}, 1.0f, 1.0f},
         {1.5f, 1, 1.5f},
         {1.5f, 3, 1.5f}},
        // The base point is the dialog's first node, not the base's centre: the apex stands
        // above the centre all the same.
        {{"base point off the centre",
          MakeHall,
          {1.5f, 0, 1.5f},
          1.0f,
          1.0f,
          0,
          0,
          CVector3{1.5f, 0, 1.0f}},
         {1.5f, 1, 1.5f},
         {1.5f, 3, 1.5f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape.name);
        const CRaisedShape shape = ShapeOf(c.shape);
        {
            CFixtureEngine undone(c.shape.make());
            EXPECT_TRUE(UndoGivesBackExactBytes(undone.m_view, [&] {
                SelectBase(undone, c.shape);
                return CreatePyramid(undone.m_view, shape);
            }));
            EXPECT_TRUE(LevelIsSound(undone.m_level));
        }
        CFixtureEngine engine(c.shape.make());
        const CQzlSections& level = engine.m_level;
        const std::size_t sectorsBefore = level.m_sectors.size();
        SelectBase(engine, c.shape);
        ASSERT_TRUE(CreatePyramid(engine.m_view, shape));
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_TRUE(engine.m_host.Messages().empty());

        // One wedge per base edge, three of them new sectors besides the four the walls cut off.
        const CWorkLists& work = engine.m_view.m_work;
        ASSERT_EQ(work.m_newSectors.size(), 4u);
        ASSERT_EQ(work.m_newSurfaces.size(), 4u);
        EXPECT_EQ(level.m_sectors.size(), sectorsBefore + 4 + 3);
        const std::set<std::int32_t> wedges(work.m_newSectors.begin(), work.m_newSectors.end());
        EXPECT_EQ(wedges.size(), 4u);

        // The apex is the one raised vertex; the direction points on to the top's centre.
        ASSERT_EQ(work.m_raisedVertices.size(), 1u);
        ASSERT_EQ(work.m_raiseDirections.size(), 1u);
        const CVector3 apex = WorldPosition(level, work.m_raisedVertices[0]);
        EXPECT_LT(VectorLength(apex - c.apex), 1e-4f);
        const CVector3 toTop = c.topCentre - c.apex;
        EXPECT_LT(VectorLength(work.m_raiseDirections[0] - toTop / VectorLength(toTop)), 1e-4f);

        for (std::size_t w = 0; w < 4; ++w) {
            SCOPED_TRACE(w);
            const CQzlSector& wedge = *level.m_sectors[work.m_newSectors[w]];
            // The sloping face is the wedge's, runs through the apex and takes the slope look.
            const std::int32_t slope = work.m_newSurfaces[w];
            EXPECT_NE(std::find(wedge.m_surfaces.begin(), wedge.m_surfaces.end(), slope),
                      wedge.m_surfaces.end());
            const CQzlSurface& face = *level.m_surfaces[slope];
            EXPECT_EQ(face.m_vertices.size(), 3u);
            EXPECT_EQ(face.m_vertices[0].m_worldVertex, work.m_raisedVertices[0]);
            EXPECT_EQ(face.m_material, kSlopeMaterial);
            // Only a flat slope is a floor, whatever the floor around it says.
            EXPECT_EQ((face.m_surfaceFlags & kFloorFlag) != 0, c.shape.height == 0.0f);
            // Each wedge is joined to its two neighbours through its slicing surfaces.
            int joined = 0;
            for (const std::int32_t s : wedge.m_surfaces) {
                const std::int32_t adjoin = level.m_surfaces[s]->m_adjoin;
                if (adjoin >= 0 && wedges.contains(level.m_adjoins[adjoin]->m_otherSector))
                    ++joined;
            }
            EXPECT_EQ(joined, 2);
        }

        // Solid under the slopes, open above the apex.
        if (c.shape.height > 0.0f) {
            const CVector3 centre = c.shape.centre;
            EXPECT_FALSE(InSomeSector(level, (centre + c.apex) * 0.5f));
            EXPECT_TRUE(InSomeSector(level, c.apex + kUp * 0.05f));
        }
    }
}

TEST(CreatePyramid, RaisedVertexListGrowsByOnePerPyramid)
{
    CFixtureEngine engine(MakeHall());
    for (const float x : {1.0f, 3.0f}) {
        const CPyramidCase c{"", MakeHall, {x, 0, 2}, 1.0f, 1.0f};
        ASSERT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&] {
            SelectBase(engine, c);
            return CreatePyramid(engine.m_view, ShapeOf(c));
        }));
        EXPECT_TRUE(LevelIsSound(engine.m_level));
    }
    const CWorkLists& work = engine.m_view.m_work;
    ASSERT_EQ(work.m_raisedVertices.size(), 2u);
    EXPECT_LT(
        VectorLength(WorldPosition(engine.m_level, work.m_raisedVertices[0]) - CVector3{1, 1, 2}),
        1e-5f);
    EXPECT_LT(
        VectorLength(WorldPosition(engine.m_level, work.m_raisedVertices[1]) - CVector3{3, 1, 2}),
        1e-5f);
}

// The apex is tested where it is placed, against every surface of the sector: a solid ceiling,
// a portal ceiling and a wall the leaning apex would pass, also when the base point the dialog
// hands over lies elsewhere.
TEST(CreatePyramid, ApexBeyondTheSectorIsRefusedAndNothingChanges)
{
    const CPyramidCase cases[] = {
        {"apex touching the ceiling", MakeHall, {1.5f, 0, 1.5f}, 1.0f, 3.0f},
        {"apex above the roof", MakeHall, {1.5f, 0, 1.5f}, 1.0f, 5.0f},
        {"apex in the room above, through a portal", MakeLowerRoom, {0.5f, 0, 0.5f}, 0.5f, 1.5f},
        // From the base point the apex would stay inside (z 3.69); from the centre it ends
        // beyond the wall z = 4 (z 4.19).
        {"leaning apex through a wall, base point short of it",
         MakeHall,
         {1.5f, 0, 3},
         1.0f,
         1.0f,
         50.0f,
         0.0f,
         CVector3{1.5f, 0, 2.5f}},
    };
    for (const CPyramidCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.make());
        RebuildAll(engine.m_view, false, ERebuildAll::Restore);
        SelectBase(engine, c);
        const CSelection before = engine.m_view.m_selection;
        const std::vector<std::uint8_t> bytes = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(CreatePyramid(engine.m_view, ShapeOf(c)));
        EXPECT_EQ(SnapshotBytes(engine.m_level), bytes);
        EXPECT_EQ(engine.m_view.m_selection.m_surface, before.m_surface);
        EXPECT_EQ(engine.m_view.m_selection.m_pickedNodes, before.m_pickedNodes);
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{std::string(kPyramidTooHigh)});
        EXPECT_TRUE(engine.m_view.m_work.m_raisedVertices.empty());
    }
}

// The slicing alone, as builders that lift the centres themselves use it: the whole floor of a
// box, no wall cut, height 0.
CRaisedShape FlatSlicing()
{
    CRaisedShape shape;
    shape.m_height = 0.0f;
    shape.m_normal = kUp;
    shape.m_depthAxis = kDepth;
    shape.m_widthAxis = kWidth;
    return shape;
}
constexpr CPyramidOptions kSliceOnly{false, false, false};

TEST(BuildPyramid, SlicesTheWholeSectorWithoutWallsAroundAFlatCentre)
{
    CFixtureEngine engine(MakeBoxRoom());
    engine.m_view.m_selection.m_sector = 0;
    engine.m_view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
    EXPECT_TRUE(UndoGivesBackExactBytes(
        engine.m_view, [&] { return BuildPyramid(engine.m_view, FlatSlicing(), kSliceOnly); }));
    const CQzlSections& level = engine.m_level;
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(level.m_sectors.size(), 4u);
    EXPECT_EQ(engine.m_view.m_work.m_newSectors, (std::vector<std::int32_t>{1, 2, 3, 0}));
    ASSERT_EQ(engine.m_view.m_work.m_raisedVertices.size(), 1u);
    EXPECT_EQ(WorldPosition(level, engine.m_view.m_work.m_raisedVertices[0]),
              (CVector3{0.5f, 0, 0.5f}));
    EXPECT_EQ(engine.m_view.m_selection.m_pickedNodes.size(), 4u);
    EXPECT_EQ(engine.m_document.m_gridOn, 0);
}

// A wall whose top edge carries a corner of its own gives no top corners that a top triangle
// matches: its wedge cannot be made. Whichever edge that is (the last one's wedge takes the
// prism's place), the slicing is refused and the level stays as it was.
TEST(BuildPyramid, EdgeWithoutItsWedgeRefusesTheWholeSlicing)
{
    for (const EBoxSide side : {kBoxXLow, kBoxXHigh, kBoxZLow, kBoxZHigh}) {
        SCOPED_TRACE(side);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        CQzlSurface& wall = *level.m_surfaces[BoxSurface(level, 0, side)];
        const std::size_t n = wall.m_vertices.size();
        for (std::size_t k = 0; k < n; ++k) {
            const CVector3 a = WorldPosition(level, wall.m_vertices[k].m_worldVertex);
            const CVector3 b = WorldPosition(level, wall.m_vertices[(k + 1) % n].m_worldVertex);
            if (a.y == 1.0f && b.y == 1.0f) {
                const CVector3 m = (a + b) * 0.5f;
                CQzlVertex corner;
                corner.m_worldVertex = level.AddVertexXYZ(m.x, m.y, m.z);
                wall.m_vertices.insert(wall.m_vertices.begin() + static_cast<long>(k) + 1, corner);
                break;
            }
        }
        FinishFixture(level);
        ASSERT_TRUE(LevelIsSound(level));
        CFixtureEngine engine(std::move(level));
        RebuildAll(engine.m_view, false, ERebuildAll::Restore);
        engine.m_view.m_selection.m_sector = 0;
        engine.m_view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
        const std::vector<std::uint8_t> bytes = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(BuildPyramid(engine.m_view, FlatSlicing(), kSliceOnly));
        EXPECT_EQ(SnapshotBytes(engine.m_level), bytes);
        EXPECT_EQ(engine.m_host.Messages(),
                  std::vector<std::string>{std::string(kPyramidNoWedges)});
    }
}

// A surface becomes a fan of triangles around a point; an adjoined one takes its twin along, and
// the triangles are joined pair by pair.
TEST(FanTriangulateSurface, FanAroundTheCentreTwinIncluded)
{
    struct {
        const char* name;
        CQzlSections (*make)();
        EBoxSide side;
        std::size_t adjoinsAfter;
    } const cases[] = {
        {"solid floor", MakeBoxRoom, kBoxFloor, 0},
        {"portal wall", MakeTwoJoinedRooms, kBoxXHigh, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.make());
        const int surface = BoxSurface(engine.m_level, 0, c.side);
        CQzlSurface& record = *engine.m_level.m_surfaces[surface];
        for (std::size_t k = 0; k < record.m_vertices.size(); ++k)
            record.m_vertices[k].m_u = 8.0f * static_cast<float>(k);
        const std::int32_t material = record.m_material;
        const CVector3 centre = SurfaceCentroid(engine.m_level, surface);
        engine.m_view.m_selection.m_sector = 0;
        engine.m_view.m_selection.m_surface = surface;
        EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&] {
            FanTriangulateSurface(engine.m_view, centre, true);
            return true;
        }));
        const CQzlSections& level = engine.m_level;
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_EQ(level.m_adjoins.size(), c.adjoinsAfter);
        const CWorkLists& work = engine.m_view.m_work;
        ASSERT_EQ(work.m_newSurfaces.size(), 4u);
        EXPECT_EQ(work.m_newSurfaces[0], surface);
        EXPECT_EQ(work.m_newSectors, (std::vector<std::int32_t>{0, 0, 0, 0}));
        for (const std::int32_t made : work.m_newSurfaces) {
            const CQzlSurface& triangle = *level.m_surfaces[made];
            ASSERT_EQ(triangle.m_vertices.size(), 3u);
            EXPECT_EQ(WorldPosition(level, triangle.m_vertices[0].m_worldVertex), centre);
            EXPECT_FLOAT_EQ(triangle.m_vertices[0].m_u, 12.0f);  // the mean of 0, 8, 16, 24
            EXPECT_EQ(triangle.m_material, material);
        }
    }
}

}  // namespace
