// Split by Polygon: the corners the dialog computes from the two picked nodes (the square of the
// example, clipping to the surface, snapping), the two refusals, the spin arrows' wrap-around,
// nodes at one point, and the command cutting the surface to the polygon with undo.

#include "edit/SplitByPolygon.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "framework/DocumentState.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/PointLists.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

const char* const kOverlap =
    "The snap to grid options causes grid nodes\nto overlap. Please select a smaller grid size.";
const char* const kTooFew = "The specified radius causes too many grid nodes to be\noutside the "
                            "current surface. Please select a smaller radius.";

// A room from (-10, -10, -10) to (10, 10, 10), or a flat one 2 high, with its wall z = -10
// current: a surface whose normal is +z, edges in the order y = lo, x = 10, y = hi, x = -10.
std::unique_ptr<CFixtureEngine> EngineOnWall(float halfHeight = 10.0f)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {-10, -halfHeight, -10}, {10, halfHeight, 10});
    FinishFixture(level);
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_selection.m_sector = 0;
    engine->m_view.m_selection.m_surface = BoxSurface(engine->m_level, 0, kBoxZLow);
    engine->m_document.m_gridOn = 1;
    return engine;
}

CVector3 OnWall(float x, float y)
{
    return {x, y, -10};
}

TEST(SplitByPolygon, CornersOfThePolygon)
{
    struct CCase {
        const char* name;
        float halfHeight;
        CVector3 a;
        CVector3 b;
        CSplitPolygonValues values;
        Points want;
    };
    const CCase cases[] = {
        // u = +x, w = +y, R = 1 / cos 45: the square of side 2, its first side along +x.
        {"the square of the example",
         10,
         OnWall(0, 0),
         OnWall(3, 0),
         {4, 1.0f, false},
         {OnWall(-1, 1), OnWall(1, 1), OnWall(1, -1), OnWall(-1, -1)}},
        // The direction turns the polygon: u = +y, w = -x.
        {"B above A",
         10,
         OnWall(0, 0),
         OnWall(0, 5),
         {4, 1.0f, false},
         {OnWall(-1, -1), OnWall(-1, 1), OnWall(1, 1), OnWall(1, -1)}},
        // A polygon over the edge x = 10 is cut off there.
        {"clipped at the edge",
         10,
         OnWall(9.5f, 0),
         OnWall(12, 0),
         {4, 1.0f, false},
         {OnWall(8.5f, 1), OnWall(10, 1), OnWall(10, -1), OnWall(8.5f, -1)}},
        // On a wall 2 high the corners inside lie nearer the edges y = -1 and y = 1 than the edge
        // x = 10 that the sides leave by; the crossings are still on x = 10.
        {"clipped near other edges",
         1,
         OnWall(9.5f, 0),
         OnWall(12, 0),
         {4, 0.6f, false},
         {OnWall(8.9f, 0.6f), OnWall(10, 0.6f), OnWall(10, -0.6f), OnWall(8.9f, -0.6f)}},
        {"a hexagon's corners lie at 1 / cos 30",
         10,
         OnWall(0, 0),
         OnWall(1, 0),
         {6, 0.8660254f, false},
         {OnWall(-0.5f, 0.8660254f), OnWall(0.5f, 0.8660254f), OnWall(1, 0),
          OnWall(0.5f, -0.8660254f), OnWall(-0.5f, -0.8660254f), OnWall(-1, 0)}},
        // The polygon holds the whole wall: no corner inside, no side crossing an edge.
        {"a radius beyond the surface", 10, OnWall(0, 0), OnWall(1, 0), {4, 100.0f, false}, {}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = EngineOnWall(c.halfHeight);
        const std::optional<Points> corners =
            ComputeSplitPolygon(engine->m_view, c.a, c.b, c.values);
        ASSERT_TRUE(corners.has_value());
        EXPECT_TRUE(SamePoints(*corners, c.want));
    }
}

TEST(SplitByPolygon, SnappedCornersAndRefusals)
{
    auto engine = EngineOnWall();
    engine->m_settings.m_grid = 1.0f;
    // Each corner goes to the nearest grid node: the square of radius 1 stays where it was.
    std::optional<Points> corners =
        ComputeSplitPolygon(engine->m_view, OnWall(0, 0), OnWall(1, 0), {4, 1.0f, true});
    ASSERT_TRUE(corners.has_value());
    EXPECT_TRUE(SamePoints(*corners, {OnWall(-1, 1), OnWall(1, 1), OnWall(1, -1), OnWall(-1, -1)}));
    EXPECT_EQ(SplitPolygonRefusal(*corners), nullptr);

    // A small radius on a coarse grid: every corner on the same node.
    corners =
        ComputeSplitPolygon(engine->m_view, OnWall(0.3f, 0.3f), OnWall(1, 0.3f), {4, 0.1f, true});
    ASSERT_TRUE(corners.has_value());
    EXPECT_STREQ(SplitPolygonRefusal(*corners), kOverlap);

    for (const Points& few : {Points{}, Points{OnWall(0, 0), OnWall(1, 0)}})
        EXPECT_STREQ(SplitPolygonRefusal(few), kTooFew);
    // Exactly equal points only: a hundredth apart is no overlap.
    EXPECT_EQ(SplitPolygonRefusal({OnWall(0, 0), OnWall(0.01f, 0), OnWall(1, 1)}), nullptr);
    EXPECT_STREQ(SplitPolygonRefusal({OnWall(0, 0), OnWall(1, 0), OnWall(0, 0)}), kOverlap);

    // Without a direction there is no polygon; without a current surface neither.
    EXPECT_FALSE(ComputeSplitPolygon(engine->m_view, OnWall(2, 2), OnWall(2, 2), {}).has_value());
    engine->m_view.m_selection.m_surface = -1;
    EXPECT_FALSE(ComputeSplitPolygon(engine->m_view, OnWall(0, 0), OnWall(1, 0), {}).has_value());
}

TEST(SplitByPolygon, SpinArrowsWrapAround)
{
    struct CSidesCase {
        int sides;
        int delta;
        int want;
    };
    for (const CSidesCase c : {CSidesCase{4, -1, 5}, CSidesCase{4, 1, 3}, CSidesCase{3, 1, 24},
                               CSidesCase{24, -1, 3}, CSidesCase{23, -1, 24}})
        EXPECT_EQ(StepPolygonSides(c.sides, c.delta), c.want) << c.sides << " " << c.delta;

    struct CRadiusCase {
        float radius;
        int delta;
        float want;
    };
    for (const CRadiusCase c : {CRadiusCase{1.0f, -1, 1.01f}, CRadiusCase{1.0f, 1, 0.99f},
                                CRadiusCase{100.0f, -1, 0.1f}, CRadiusCase{0.1f, 1, 100.0f},
                                CRadiusCase{0.11f, 1, 0.1f}, CRadiusCase{99.99f, -1, 100.0f}})
        EXPECT_FLOAT_EQ(StepPolygonRadius(c.radius, c.delta), c.want) << c.radius << " " << c.delta;
}

TEST(SplitByPolygon, ShowingTheCornersPicksThem)
{
    auto engine = EngineOnWall();
    C3dView& view = engine->m_view;
    const Points square{OnWall(-1, 1), OnWall(1, 1), OnWall(1, -1), OnWall(-1, -1)};
    ShowSplitPolygon(view, square);
    EXPECT_EQ(view.m_selection.m_pickedNodes, square);
    EXPECT_EQ(view.m_markers.size(), 4u);
}

TEST(SplitByPolygon, CommandCutsTheSurfaceToThePolygon)
{
    auto engine = EngineOnWall();
    C3dView& view = engine->m_view;
    CQzlSections& level = engine->m_level;
    const Points square{OnWall(-1, 1), OnWall(1, 1), OnWall(1, -1), OnWall(-1, -1)};

    view.m_selection.m_pickedNodes = {OnWall(0, 0), OnWall(1, 0)};
    EXPECT_TRUE(CanSplitByPolygon(view));
    // The dialog's nodes are the polygon's corners.
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        const std::optional<Points> corners =
            ComputeSplitPolygon(view, OnWall(0, 0), OnWall(1, 0), {4, 1.0f, false});
        if (!corners)
            return false;
        ShowSplitPolygon(view, *corners);
        return RunSplitByPolygon(view);
    }));
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(engine->m_document.m_gridOn, 0);
    // One piece of the wall has the square's outline; the pieces cover the wall.
    int pieces = 0;
    bool squareFound = false;
    for (const std::int32_t f : level.m_sectors[0]->m_surfaces) {
        const CQzlSurface& s = *level.m_surfaces[static_cast<std::size_t>(f)];
        if (s.m_normal.z < 0.99f)
            continue;
        ++pieces;
        Points outline;
        for (const CQzlVertex& corner : s.m_vertices)
            outline.push_back(WorldPosition(level, corner.m_worldVertex));
        squareFound = squareFound ||
                      (outline.size() == 4 &&
                       std::all_of(outline.begin(), outline.end(), [&](const CVector3& p) {
                           return std::any_of(square.begin(), square.end(), [&](const CVector3& q) {
                               return VectorLength(p - q) < 1e-4f;
                           });
                       }));
    }
    EXPECT_GT(pieces, 1);
    EXPECT_TRUE(squareFound);
}

TEST(SplitByPolygon, CommandRuleAndRefusal)
{
    auto engine = EngineOnWall();
    C3dView& view = engine->m_view;
    struct CCase {
        std::size_t nodes;
        int surface;
        bool enabled;
    };
    for (const CCase c : {CCase{2, 5, true}, CCase{1, 5, false}, CCase{3, 5, false},
                          CCase{0, 5, false}, CCase{2, -1, false}}) {
        view.m_selection.m_pickedNodes.assign(c.nodes, OnWall(0, 0));
        view.m_selection.m_surface = c.surface;
        EXPECT_EQ(CanSplitByPolygon(view), c.enabled) << c.nodes << " " << c.surface;
    }

    // Two nodes are a line, not a polygon: nothing is cut and no undo step stays.
    view.m_selection.m_surface = BoxSurface(engine->m_level, 0, kBoxZLow);
    view.m_selection.m_pickedNodes = {OnWall(0, 0), OnWall(1, 0)};
    const std::vector<std::uint8_t> before = WriteLevelBytes(engine->m_level);
    EXPECT_FALSE(RunSplitByPolygon(view));
    EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
    EXPECT_TRUE(engine->m_level.m_undoList.empty());
    EXPECT_EQ(engine->m_document.m_gridOn, 1);
}

}  // namespace
