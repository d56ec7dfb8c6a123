// Create Column: upright and leaning columns on a floor, with and without a cap, the look of
// their faces, and the refusals. The level oracle holds after every build and undo gives back
// the level exactly.

#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Column.h"
#include "tools/Footprint.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace {

// A room from (0, 0, 0) to (4, 3, 4), y up.
CQzlSections MakeHall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    level.FindMaterial("column.mat");
    return level;
}
constexpr int kColumnMaterial = 1;

constexpr CVector3 kUp{0, 1, 0};
constexpr CVector3 kBase{1.5f, 0, 1.5f};

// A 1 x 1 column on the hall's floor centred on kBase, depth along z, width along x; its faces
// take a material of their own.
CRaisedShape Column(float height, float upDown, float leftRight)
{
    CRaisedShape shape;
    shape.m_base = kBase;
    shape.m_second = kBase + CVector3{0, 0, 1};
    shape.m_height = height;
    shape.m_normal = kUp;
    shape.m_depthAxis = {0, 0, 1};
    shape.m_widthAxis = {1, 0, 0};
    shape.m_upDown = upDown;
    shape.m_leftRight = leftRight;
    shape.m_look = {kColumnMaterial, 64.0f, 64.0f, 2.0f, 3.0f};
    return shape;
}

bool InSomeSector(const CQzlSections& level, const CVector3& p)
{
    for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s)
        if (PointInSector(level, s, p, 0.0f))
            return true;
    return false;
}

void SelectFloor(CFixtureEngine& engine, const CRaisedShape& shape)
{
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
    selection.m_pickedNodes =
        RectangleCorners(shape.m_base, 1.0f, 1.0f, shape.m_depthAxis, shape.m_widthAxis);
}

// Builds shape on a fresh hall through the undo check, and on another one directly (the look of
// the faces lives partly in fields an undo step does not keep); the oracle after both. The
// engine built directly.
std::unique_ptr<CFixtureEngine> Build(const CRaisedShape& shape)
{
    CFixtureEngine undone(MakeHall());
    EXPECT_TRUE(UndoGivesBackExactBytes(undone.m_view, [&] {
        SelectFloor(undone, shape);
        return CreateColumn(undone.m_view, shape);
    }));
    EXPECT_TRUE(LevelIsSound(undone.m_level));
    auto engine = std::make_unique<CFixtureEngine>(MakeHall());
    SelectFloor(*engine, shape);
    EXPECT_TRUE(CreateColumn(engine->m_view, shape));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    return engine;
}

struct CFaceWant {
    CVector3 centre;
    CVector3 normal;
};

// The column's faces carry its look and face out of it; no other surface carries it.
void ExpectFaces(const CQzlSections& level, const std::vector<CFaceWant>& want)
{
    std::size_t dressed = 0;
    for (const auto& surface : level.m_surfaces)
        if (surface->m_material == kColumnMaterial)
            ++dressed;
    EXPECT_EQ(dressed, want.size());
    for (const CFaceWant& face : want) {
        bool found = false;
        for (const auto& surface : level.m_surfaces) {
            if (VectorLength(surface->m_normal - face.normal) > 1e-3f || surface->m_adjoin >= 0)
                continue;
            CVector3 sum;
            for (const CQzlVertex& corner : surface->m_vertices)
                sum = sum + WorldPosition(level, corner.m_worldVertex);
            const CVector3 centre = sum / static_cast<float>(surface->m_vertices.size());
            if (VectorLength(centre - face.centre) > 1e-3f)
                continue;
            found = true;
            EXPECT_EQ(surface->m_material, kColumnMaterial);
            EXPECT_EQ(surface->m_geo, 4);
            EXPECT_EQ(surface->m_light, 3);
            EXPECT_EQ(surface->m_tex, 1);
        }
        EXPECT_TRUE(found) << face.centre.x << " " << face.centre.y << " " << face.centre.z;
    }
}

TEST(CreateColumn, UprightColumnIsSolidUpToItsCapAndItsFourFacesTakeTheLook)
{
    const auto engine = Build(Column(1.0f, 0.0f, 0.0f));
    const CQzlSections& level = engine->m_level;
    EXPECT_FALSE(InSomeSector(level, {1.5f, 0.5f, 1.5f}));
    EXPECT_FALSE(InSomeSector(level, {1.1f, 0.9f, 1.9f}));
    EXPECT_TRUE(InSomeSector(level, {1.5f, 1.5f, 1.5f}));  // above the cap
    EXPECT_TRUE(InSomeSector(level, {0.5f, 0.5f, 1.5f}));
    EXPECT_TRUE(InSomeSector(level, {2.5f, 0.5f, 1.5f}));
    ExpectFaces(level, {{{1, 0.5f, 1.5f}, {-1, 0, 0}},
                        {{1.5f, 0.5f, 2}, {0, 0, 1}},
                        {{2, 0.5f, 1.5f}, {1, 0, 0}},
                        {{1.5f, 0.5f, 1}, {0, 0, -1}}});
    EXPECT_TRUE(engine->m_host.Messages().empty());
}

TEST(CreateColumn, LeaningColumnShiftsItsTopWithItsWalls)
{
    // 30 degrees: the top moves by tan(30) = 0.57735, up/down along the depth axis B (+z),
    // left/right against the width axis C (-x); the walls and the cap lean alike.
    const struct {
        const char* name;
        float upDown, leftRight;
        CVector3 lean;  // the unit direction the top moves in
    } cases[] = {
        {"up/down", 30.0f, 0.0f, {0, 0, 1}},
        {"left/right", 0.0f, 30.0f, {-1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto engine = Build(Column(1.0f, c.upDown, c.leftRight));
        const CQzlSections& level = engine->m_level;
        const auto at = [&c](float along, float y) { return kBase + c.lean * along + kUp * y; };
        EXPECT_FALSE(InSomeSector(level, at(0.2887f, 0.5f)));  // the axis at half height
        EXPECT_FALSE(InSomeSector(level, at(0.9f, 0.9f)));     // under the shifted top
        EXPECT_TRUE(InSomeSector(level, at(-0.3f, 0.9f)));     // left behind by the top
        EXPECT_TRUE(InSomeSector(level, at(0.9f, 0.1f)));      // beside the base
        EXPECT_TRUE(InSomeSector(level, at(0.5f, 1.5f)));      // above the cap
    }
}

TEST(CreateColumn, ColumnTallerThanTheRoomGetsNoCapAndReachesTheCeiling)
{
    const auto engine = Build(Column(5.0f, 0.0f, 0.0f));
    const CQzlSections& level = engine->m_level;
    EXPECT_FALSE(InSomeSector(level, {1.5f, 0.5f, 1.5f}));
    EXPECT_FALSE(InSomeSector(level, {1.5f, 2.9f, 1.5f}));
    EXPECT_TRUE(InSomeSector(level, {0.5f, 2.9f, 1.5f}));
}

TEST(CreateColumn, RefusesWithoutAFootprintAndLeavesTheLevelAsItWas)
{
    CFixtureEngine engine(MakeHall());
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
    selection.m_pickedNodes = {kBase, kBase + CVector3{0, 0, 1}};
    CUndoSnapshot before;
    before.StoreLevel(engine.m_level);
    EXPECT_FALSE(CreateColumn(engine.m_view, Column(1.0f, 0.0f, 0.0f)));
    CUndoSnapshot after;
    after.StoreLevel(engine.m_level);
    EXPECT_EQ(after.Bytes(), before.Bytes());
}

CRectangleValues Snapped()
{
    CRectangleValues values;
    values.m_snap = true;
    return values;
}

// The Create Rectangle dialog's footprint on the hall's floor and the checks of its OK.
TEST(LayOutRectangle, FootprintAndTheChecksOfOk)
{
    struct {
        const char* name;
        std::vector<CVector3> nodes;
        CRectangleValues values;
        float grid;
        std::size_t nodesAfter;
        const char* problem;  // null: OK closes the dialog
    } const cases[] = {
        {"two nodes: the rectangle", {kBase, kBase + CVector3{0, 0, 1}}, {}, 0.0f, 4, nullptr},
        {"three nodes: a free triangle, too few for a column",
         {kBase, {1.5f, 0, 2.5f}, {2.5f, 0, 2}},
         {},
         0.0f,
         3,
         kRectangleOutside.data()},
        {"snapped to a grid wider than the rectangle: corners fold together",
         {kBase, kBase + CVector3{0, 0, 1}},
         Snapped(),
         2.0f,
         4,
         kFootprintOverlap.data()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeHall());
        engine.m_settings.m_grid = c.grid;
        CSelection& selection = engine.m_view.m_selection;
        selection.m_sector = 0;
        selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
        selection.m_pickedNodes = c.nodes;
        const CRaisedShape shape = LayOutRectangle(engine.m_view, c.values, c.nodes[0], c.nodes[1]);
        EXPECT_EQ(selection.m_pickedNodes.size(), c.nodesAfter);
        EXPECT_LT(VectorLength(shape.m_normal - kUp), 1e-5f);
        EXPECT_LT(VectorLength(shape.m_widthAxis - CVector3{1, 0, 0}), 1e-5f);
        const auto problem = FootprintProblem(engine.m_view, 4, kRectangleOutside);
        if (c.problem == nullptr)
            EXPECT_FALSE(problem.has_value());
        else
            EXPECT_EQ(problem.value_or(""), c.problem);
    }
}

TEST(LayOutCylinder, RegularOutlineOrTheSurfacesOwnCorners)
{
    CFixtureEngine engine(MakeHall());
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);

    // No nodes picked: the floor's corners, in reverse order, are the outline and stay so.
    CCylinderValues values;
    TakeSurfaceOutline(engine.m_view, values);
    EXPECT_TRUE(values.m_fromSurface);
    EXPECT_EQ(values.m_sides, 4);
    const std::vector<CVector3> corners = selection.m_pickedNodes;
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_EQ(corners[0], WorldPosition(engine.m_level,
                                        engine.m_level.m_surfaces[0]->m_vertices[3].m_worldVertex));
    LayOutCylinder(engine.m_view, values, corners[0], corners[1]);
    EXPECT_EQ(selection.m_pickedNodes, corners);

    // Two nodes: six sides of radius 1 around the first, all on the floor.
    CCylinderValues six;
    six.m_sides = 6;
    six.m_radius = 1.0f;
    selection.m_pickedNodes = {{2, 0, 2}, {2, 0, 3}};
    TakeSurfaceOutline(engine.m_view, six);
    EXPECT_FALSE(six.m_fromSurface);
    LayOutCylinder(engine.m_view, six, {2, 0, 2}, {2, 0, 3});
    EXPECT_EQ(selection.m_pickedNodes.size(), 6u);
    EXPECT_FALSE(FootprintProblem(engine.m_view, 2, kCylinderOutside).has_value());
}

}  // namespace
