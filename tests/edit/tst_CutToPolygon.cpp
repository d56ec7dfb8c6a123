// Cut Surface to Polygon: the trim to the polygon's rectangle, the cuts along the polygon's
// edges in their order, the piece left current, the switches and the sector given back, the
// twin cut with an adjoined surface, and the refusal of fewer than three points.

#include "edit/CutToPolygon.h"
#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Points = std::vector<CVector3>;

Points Corners(const CQzlSections& level, std::int32_t surface)
{
    Points points;
    for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices)
        points.push_back(WorldPosition(level, corner.m_worldVertex));
    return points;
}

// The same points in any order, within 0.001.
::testing::AssertionResult SameOutline(const Points& got, const Points& want)
{
    const auto has = [](const Points& list, const CVector3& p) {
        return std::any_of(list.begin(), list.end(),
                           [&p](const CVector3& q) { return VectorLength(p - q) < 0.001f; });
    };
    bool same = got.size() == want.size();
    for (const CVector3& p : got)
        same = same && has(want, p);
    if (same)
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << got.size() << " corners:";
    for (const CVector3& p : got)
        failure << " (" << p.x << ", " << p.y << ", " << p.z << ")";
    return failure;
}

CVector3 Unit(const CVector3& v)
{
    return v / VectorLength(v);
}

// An engine over level with sector and surface current.
std::unique_ptr<CFixtureEngine> EngineOn(CQzlSections level, int sector, int surface)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_selection.m_sector = sector;
    engine->m_view.m_selection.m_surface = surface;
    return engine;
}

// The cut as its callers run it: the sectors it touched are rebuilt afterwards.
bool CutAndRebuild(C3dView& view, int sector, int surface, const Points& polygon, const CVector3& d,
                   const std::vector<int>& touched)
{
    if (!CutSurfaceToPolygon(view, sector, surface, polygon, d))
        return false;
    for (const int s : touched)
        RebuildSector(view, s);
    return true;
}

// Cut directly, or by Split Surface with the square's four corners picked as grid nodes (which
// rebuilds the sector itself).
TEST(CutToPolygon, AFourByFourFloorCutToTheSquareInItsMiddle)
{
    for (const bool bySplit : {false, true}) {
        SCOPED_TRACE(bySplit ? "Split Surface with four nodes" : "the cut itself");
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
        FinishFixture(level);
        const int floor = BoxSurface(level, 0, kBoxFloor);
        auto owner = EngineOn(std::move(level), 0, floor);
        CFixtureEngine& engine = *owner;
        C3dView& view = engine.m_view;
        engine.m_document.m_gridOn = bySplit ? 1 : 0;
        const Points square{{1, 0, 1}, {3, 0, 1}, {3, 0, 3}, {1, 0, 3}};

        ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
            if (!bySplit)
                return CutAndRebuild(view, 0, floor, square, Unit(square[1] - square[0]), {0});
            view.m_selection.m_pickedNodes = square;
            return SplitSurface(view, true);
        }));
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        // The four cuts of the rectangle stage made four pieces around the square (the oracle's
        // closed sector shows that they cover the floor); the edge stage found every edge there
        // and cut nothing.
        EXPECT_EQ(engine.m_level.m_sectors[0]->m_surfaces.size(), 10u);
        EXPECT_EQ(engine.m_level.m_surfaces.size(), 10u);
        const std::int32_t piece = view.m_selection.m_surface;
        ASSERT_GE(piece, 0);
        EXPECT_TRUE(SameOutline(Corners(engine.m_level, piece), square));
        EXPECT_EQ(view.m_selection.m_sector, 0);
        EXPECT_EQ(view.m_split.m_polygon, 0);
        EXPECT_EQ(engine.m_document.m_gridOn, bySplit ? 1 : 0);
    }
}

// A tetrahedron (0,0,0), (2,0,0), (0,2,0), (0,0,2.2676): its slanted face's normal is about
// -(0.6, 0.6, 0.5292), with no strictly largest component. Only the polygon's three edges are
// cut.
TEST(CutToPolygon, NoStrictlyLargestNormalComponentSkipsTheRectangle)
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    const CVector3 o{0, 0, 0}, x{2, 0, 0}, y{0, 2, 0}, z{0, 0, 2.2676f};
    const CVector3 inside = (o + x + y + z) / 4.0f;
    AddFacingSurface(level, sector, inside, {o, x, y});
    AddFacingSurface(level, sector, inside, {o, y, z});
    AddFacingSurface(level, sector, inside, {o, z, x});
    const int slanted = AddFacingSurface(level, sector, inside, {x, y, z});
    FinishFixture(level);
    ASSERT_TRUE(LevelIsSound(level));
    const CVector3 normal = level.m_surfaces[static_cast<std::size_t>(slanted)]->m_normal;
    ASSERT_EQ(normal.x, normal.y);
    ASSERT_NEAR(normal.z, -0.5292f, 0.001f);

    auto owner = EngineOn(std::move(level), sector, slanted);
    CFixtureEngine& engine = *owner;
    C3dView& view = engine.m_view;
    const CVector3 g = (x + y + z) / 3.0f;
    const Points triangle{g + (x - g) * 0.5f, g + (y - g) * 0.5f, g + (z - g) * 0.5f};

    // A rebuild rounds the new corners to 0.00001 after it has computed the planes from them, so
    // the normals settle only at a second rebuild (the full rebuild after Redo is one).
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        return CutAndRebuild(view, sector, slanted, triangle, Unit(triangle[1] - triangle[0]),
                             {sector, sector});
    }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    EXPECT_EQ(engine.m_level.m_surfaces.size(), 7u);
    EXPECT_TRUE(SameOutline(Corners(engine.m_level, view.m_selection.m_surface), triangle));
}

TEST(CutToPolygon, CutsGoAlongThenAcrossThenDiagonalThenTheRest)
{
    // d along x, the floor's normal up: the second axis p = normal x d is -z.
    const CVector3 q0{0, 0, 0}, q1{0.03f, 0, 0.04f}, q2{0.03f, 0, 1}, q3{-1, 0, 1};
    // Edge 0 is 0.05 long: along and across at once, it goes with the along edges. Edge 1 is
    // across, edge 2 along, edge 3 (1, 0, -1) diagonal.
    const Points polygon{q0, q1, q2, q3};
    const std::vector<CPolygonCut> cuts = OrderPolygonCuts(polygon, {1, 0, 0}, {0, 1, 0});
    const std::vector<std::pair<CVector3, CVector3>> want{{q2, q3}, {q0, q1}, {q1, q2}, {q3, q0}};
    ASSERT_EQ(cuts.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("cut " + std::to_string(i));
        EXPECT_EQ(cuts[i].m_from, want[i].first);
        EXPECT_EQ(cuts[i].m_to, want[i].second);
    }
    // Edges of no group come last, the later one first.
    const Points skew{{0, 0, 0}, {1, 0, 0.5f}, {0.2f, 0, 2}};
    const std::vector<CPolygonCut> skewCuts = OrderPolygonCuts(skew, {1, 0, 0}, {0, 1, 0});
    ASSERT_EQ(skewCuts.size(), 3u);
    EXPECT_EQ(skewCuts[0].m_from, skew[2]);
    EXPECT_EQ(skewCuts[1].m_from, skew[1]);
    EXPECT_EQ(skewCuts[2].m_from, skew[0]);
}

// The cut runs in the given sector and leaves the piece current there, but the current sector,
// the grid switch and the split-sector switch are given back.
TEST(CutToPolygon, TheCurrentSectorAndTheSwitchesAreGivenBack)
{
    CQzlSections level = MakeTwoJoinedRooms();
    const int floor = BoxSurface(level, 1, kBoxFloor);
    auto owner = EngineOn(std::move(level), 0, 0);
    CFixtureEngine& engine = *owner;
    C3dView& view = engine.m_view;
    engine.m_document.m_gridOn = 0;
    engine.m_document.m_sectorMode = 1;
    const Points square{{1.25f, 0, 0.25f}, {1.75f, 0, 0.25f}, {1.75f, 0, 0.75f}, {1.25f, 0, 0.75f}};

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        return CutAndRebuild(view, 1, floor, square, {1, 0, 0}, {1});
    }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    EXPECT_EQ(view.m_selection.m_sector, 0);
    EXPECT_EQ(engine.m_document.m_gridOn, 0);
    EXPECT_EQ(engine.m_document.m_sectorMode, 1);
    const std::int32_t piece = view.m_selection.m_surface;
    const std::vector<std::int32_t>& sector1 = engine.m_level.m_sectors[1]->m_surfaces;
    EXPECT_NE(std::find(sector1.begin(), sector1.end(), piece), sector1.end());
    EXPECT_TRUE(SameOutline(Corners(engine.m_level, piece), square));
}

// Cutting an adjoined wall cuts its twin along: every piece on both sides owns one adjoin of a
// pair whose other owner lies over it.
TEST(CutToPolygon, AnAdjoinedWallIsCutWithItsTwin)
{
    CQzlSections level = MakeTwoJoinedRooms();
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    auto owner = EngineOn(std::move(level), 0, wall);
    CFixtureEngine& engine = *owner;
    C3dView& view = engine.m_view;
    const Points square{{1, 0.25f, 0.25f}, {1, 0.75f, 0.25f}, {1, 0.75f, 0.75f}, {1, 0.25f, 0.75f}};

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        return CutAndRebuild(view, 0, wall, square, {0, 1, 0}, {0, 1});
    }));
    const CQzlSections& after = engine.m_level;
    EXPECT_TRUE(LevelIsSound(after));
    // Four cuts on each side.
    EXPECT_EQ(after.m_surfaces.size(), 20u);
    EXPECT_EQ(after.m_adjoins.size(), 10u);
    const std::int32_t piece = view.m_selection.m_surface;
    EXPECT_TRUE(SameOutline(Corners(after, piece), square));
    for (std::size_t s = 0; s < after.m_surfaces.size(); ++s) {
        const std::int32_t adjoin = after.m_surfaces[s]->m_adjoin;
        if (adjoin < 0)
            continue;
        const std::int32_t mirror = after.m_adjoins[static_cast<std::size_t>(adjoin)]->m_mirror;
        const auto twin = std::find_if(after.m_surfaces.begin(), after.m_surfaces.end(),
                                       [mirror](const auto& t) { return t->m_adjoin == mirror; });
        ASSERT_NE(twin, after.m_surfaces.end()) << "surface " << s;
        EXPECT_TRUE(
            SameOutline(Corners(after, static_cast<std::int32_t>(s)),
                        Corners(after, static_cast<std::int32_t>(twin - after.m_surfaces.begin()))))
            << "surface " << s;
    }
}

TEST(CutToPolygon, FewerThanThreePointsAreRefused)
{
    for (const Points& polygon :
         {Points{}, Points{{0.5f, 0, 0.5f}}, Points{{0.25f, 0, 0.25f}, {0.75f, 0, 0.25f}}}) {
        SCOPED_TRACE(std::to_string(polygon.size()) + " points");
        CQzlSections level = MakeBoxRoom();
        const int floor = BoxSurface(level, 0, kBoxFloor);
        auto owner = EngineOn(std::move(level), 0, floor);
        CFixtureEngine& engine = *owner;
        C3dView& view = engine.m_view;
        view.m_selection.m_pickedNodes = {{0.1f, 0, 0.1f}};
        const Bytes before = WriteLevelBytes(engine.m_level);

        EXPECT_FALSE(CutSurfaceToPolygon(view, 0, floor, polygon, {1, 0, 0}));
        EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
        EXPECT_EQ(view.m_selection.m_surface, floor);
        EXPECT_EQ(view.m_selection.m_pickedNodes.size(), 1u);
        EXPECT_EQ(engine.m_document.m_gridOn, 0);
    }
    // A sector or surface out of range.
    CFixtureEngine engine(MakeBoxRoom());
    const Points square{{0.25f, 0, 0.25f}, {0.75f, 0, 0.25f}, {0.75f, 0, 0.75f}};
    EXPECT_FALSE(CutSurfaceToPolygon(engine.m_view, 1, 0, square, {1, 0, 0}));
    EXPECT_FALSE(CutSurfaceToPolygon(engine.m_view, 0, 6, square, {1, 0, 0}));
}

}  // namespace
