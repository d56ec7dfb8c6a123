// Create Layer: the platform on the floor of a box room and of a rectangular and a hexagonal
// room, with an inward, a zero and an outward indent; the space the sectors hold after the build
// is the room's less the platform's solid, the wedges are one per base edge, the platform top is
// the upper sector's floor at the height. The height limit's refusal, the height equal to the
// limit, a height too small to build; a refused internal split that puts the level back; the
// unlink look cleared on every way out; exact undo.

#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Layer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr CVector3 kUp{0, 1, 0};
constexpr int kTopMaterial = 1;

// The space a convex sector encloses: its surfaces fanned into triangles against its first
// corner.
double SectorVolume(const CQzlSections& level, int sector)
{
    const CQzlSector& record = *level.m_sectors[static_cast<std::size_t>(sector)];
    const CVector3 o =
        WorldPosition(level, level.m_surfaces[static_cast<std::size_t>(record.m_surfaces[0])]
                                 ->m_vertices[0]
                                 .m_worldVertex);
    double volume = 0.0;
    for (const std::int32_t s : record.m_surfaces) {
        const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(s)];
        const CVector3 a = WorldPosition(level, surface.m_vertices[0].m_worldVertex) - o;
        for (std::size_t k = 1; k + 1 < surface.m_vertices.size(); ++k) {
            const CVector3 b = WorldPosition(level, surface.m_vertices[k].m_worldVertex) - o;
            const CVector3 c = WorldPosition(level, surface.m_vertices[k + 1].m_worldVertex) - o;
            volume += static_cast<double>(Dot(a, VectorCross(b, c))) / 6.0;
        }
    }
    return std::fabs(volume);
}

double LevelVolume(const CQzlSections& level)
{
    double volume = 0.0;
    for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s)
        volume += SectorVolume(level, s);
    return volume;
}

double PolygonArea(const std::vector<CVector3>& polygon)
{
    CVector3 sum;
    for (std::size_t k = 0; k < polygon.size(); ++k)
        sum = sum + VectorCross(polygon[k], polygon[(k + 1) % polygon.size()]);
    return 0.5 * static_cast<double>(VectorLength(sum));
}

// The platform's solid: the prismatoid between the base and the top polygon.
double PlatformVolume(const std::vector<CVector3>& base, float height, float indent)
{
    CVector3 centre;
    for (const CVector3& p : base)
        centre = centre + p / static_cast<float>(base.size());
    std::vector<CVector3> middle;
    std::vector<CVector3> top;
    for (const CVector3& p : base) {
        const CVector3 in = (centre - p) / VectorLength(centre - p);
        top.push_back(p + in * indent);
        middle.push_back(p + in * (indent * 0.5f));
    }
    return static_cast<double>(height) / 6.0 *
           (PolygonArea(base) + 4.0 * PolygonArea(middle) + PolygonArea(top));
}

// A level with a second material for the platform top.
CQzlSections WithTopMaterial(CQzlSections level)
{
    level.FindMaterial("top.mat");
    return level;
}

CQzlSections MakeBox()
{
    return WithTopMaterial(MakeBoxRoom());
}

// A room 2 wide, 1 high and 1 deep.
CQzlSections MakeLongRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 1, 1});
    FinishFixture(level);
    return WithTopMaterial(std::move(level));
}

// A room 1.5 high whose floor is a regular hexagon of radius 1 around (0, 0, 0).
CQzlSections MakeHexagonRoom()
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    std::vector<CVector3> floor;
    for (int k = 0; k < 6; ++k) {
        const float a = static_cast<float>(k) * 3.1415927f / 3.0f;
        floor.push_back({std::cos(a), 0.0f, std::sin(a)});
    }
    const CVector3 inside{0, 0.75f, 0};
    AddFacingSurface(level, sector, inside, floor);
    std::vector<CVector3> ceiling;
    for (const CVector3& p : floor)
        ceiling.push_back(p + CVector3{0, 1.5f, 0});
    AddFacingSurface(level, sector, inside, ceiling);
    for (int k = 0; k < 6; ++k) {
        const CVector3 a = floor[static_cast<std::size_t>(k)];
        const CVector3 b = floor[static_cast<std::size_t>((k + 1) % 6)];
        AddFacingSurface(level, sector, inside,
                         {a, b, b + CVector3{0, 1.5f, 0}, a + CVector3{0, 1.5f, 0}});
    }
    FinishFixture(level);
    return WithTopMaterial(std::move(level));
}

// The box room whose floor is a square from 0.25 to 0.75 (surface 0) framed by four trapezoids.
CQzlSections MakeInnerSquareRoom()
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    const CVector3 inside{0.5f, 0.5f, 0.5f};
    const CVector3 in[4] = {
        {0.25f, 0, 0.25f}, {0.25f, 0, 0.75f}, {0.75f, 0, 0.75f}, {0.75f, 0, 0.25f}};
    const CVector3 out[4] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}};
    AddFacingSurface(level, sector, inside, {in[0], in[1], in[2], in[3]});
    for (int k = 0; k < 4; ++k)
        AddFacingSurface(level, sector, inside, {out[k], out[(k + 1) % 4], in[(k + 1) % 4], in[k]});
    AddFacingSurface(level, sector, inside, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}});
    AddFacingSurface(level, sector, inside, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}});
    AddFacingSurface(level, sector, inside, {{1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}});
    AddFacingSurface(level, sector, inside, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddFacingSurface(level, sector, inside, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}});
    FinishFixture(level);
    return WithTopMaterial(std::move(level));
}

// A room 2 wide whose floor is two squares; the layer stands on the first.
CQzlSections MakeHalfFloorRoom()
{
    return WithTopMaterial(MakeTwoSquareFloor());
}

CLayerParams Params(float height, float indent)
{
    CLayerParams params;
    params.m_height = height;
    params.m_indent = indent;
    params.m_look = {kTopMaterial, 64.0f, 32.0f, 2.0f, 1.0f};
    return params;
}

// Makes the floor current, with the render data built as the editor builds them on loading.
void SelectFloor(CFixtureEngine& engine)
{
    RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    engine.m_view.m_selection.m_sector = 0;
    engine.m_view.m_selection.m_surface = 0;  // every fixture's floor comes first
}

std::vector<CVector3> FloorCorners(const CQzlSections& level)
{
    std::vector<CVector3> corners;
    for (const CQzlVertex& corner : level.m_surfaces[0]->m_vertices)
        corners.push_back(WorldPosition(level, corner.m_worldVertex));
    return corners;
}

TEST(CreateLayer, PlatformWedgesTopAndVolume)
{
    struct {
        const char* name;
        CQzlSections (*make)();
        float height;
        float indent;
        std::size_t wedges;
    } const cases[] = {
        {"box, indent in", MakeBox, 0.3f, 0.1f, 4},
        {"box, no indent", MakeBox, 0.3f, 0.0f, 0},
        {"box, indent below 0.01 counts as none", MakeBox, 0.3f, 0.005f, 0},
        {"long room, indent in", MakeLongRoom, 0.4f, 0.2f, 4},
        {"inner square, indent out", MakeInnerSquareRoom, 0.25f, -0.1f, 4},
        {"inner square, indent in", MakeInnerSquareRoom, 0.25f, 0.1f, 4},
        {"hexagon, indent in", MakeHexagonRoom, 0.5f, 0.3f, 6},
        {"half of a floor: walls cut", MakeHalfFloorRoom, 0.3f, 0.1f, 4},
        {"half of a floor, no indent", MakeHalfFloorRoom, 0.3f, 0.0f, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.make());
        CQzlSections& level = engine.m_level;
        SelectFloor(engine);
        const std::vector<CVector3> base = FloorCorners(level);
        const CVector3 centre = SurfaceCentroid(level, 0);
        const double roomVolume = LevelVolume(level);
        const float indent = std::fabs(c.indent) < 0.01f ? 0.0f : c.indent;
        ASSERT_TRUE(UndoGivesBackExactBytes(
            engine.m_view, [&] { return CreateLayer(engine.m_view, Params(c.height, c.indent)); }));
        EXPECT_TRUE(LevelIsSound(level));
        // The upper sector, then one wedge per base edge.
        ASSERT_EQ(level.m_sectors.size(), 1 + c.wedges);
        EXPECT_NEAR(LevelVolume(level), roomVolume - PlatformVolume(base, c.height, indent), 1e-4);

        // The platform top: the current surface, the upper sector's floor at the height, with the
        // look given and its coordinates fitted.
        const CSelection& selection = engine.m_view.m_selection;
        EXPECT_EQ(selection.m_sector, 0);
        ASSERT_GE(selection.m_surface, 0);
        const CQzlSurface& top = *level.m_surfaces[static_cast<std::size_t>(selection.m_surface)];
        EXPECT_EQ(top.m_adjoin, -1);
        EXPECT_EQ(top.m_material, kTopMaterial);
        EXPECT_EQ(top.m_vertices.size(), base.size());
        for (const CQzlVertex& corner : top.m_vertices)
            EXPECT_NEAR(WorldPosition(level, corner.m_worldVertex).y, c.height, 1e-5);
        EXPECT_NEAR(SurfaceCentroid(level, selection.m_surface).x, centre.x, 1e-5);
        EXPECT_EQ(top.m_normal, kUp);
        EXPECT_EQ(selection.m_vertex, -1);
        EXPECT_EQ(engine.m_view.m_unlink.m_material, -1);
        EXPECT_EQ(engine.m_document.m_gridOn, 0);
        EXPECT_EQ(engine.m_document.m_sectorMode, 0);

        // Each wedge is joined to the upper sector and to its neighbours.
        for (std::size_t w = 1; w < level.m_sectors.size(); ++w) {
            int portals = 0;
            for (const std::int32_t s : level.m_sectors[w]->m_surfaces)
                portals += level.m_surfaces[static_cast<std::size_t>(s)]->m_adjoin >= 0 ? 1 : 0;
            EXPECT_EQ(portals, c.wedges == base.size() ? 3 : 1) << "wedge " << w;
        }
        EXPECT_TRUE(engine.m_host.Messages().empty());
    }
}

TEST(CreateLayer, HeightLimit)
{
    // The box's ceiling is 1 above the floor's centroid: the allowable height is 0.999.
    const std::string refusal = "Cannot create Layer.\n\nThe specified height exceeds the current "
                                "sector\nwhich has an allowable height of 0.99900.";
    EXPECT_EQ(LayerTooHighText(0.999f), refusal);
    {
        SCOPED_TRACE("above the limit: refused, the level as it was");
        CFixtureEngine engine(MakeBox());
        SelectFloor(engine);
        const std::vector<std::uint8_t> before = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(RunCreateLayerCommand(engine.m_view, Params(0.9995f, 0.1f)));
        EXPECT_EQ(SnapshotBytes(engine.m_level), before);
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{refusal});
        EXPECT_TRUE(engine.m_level.m_undoList.empty());
        EXPECT_EQ(engine.m_view.m_unlink.m_material, -1);
    }
    {
        SCOPED_TRACE("at the limit: built");
        CFixtureEngine engine(MakeBox());
        SelectFloor(engine);
        // The height the message offers is the height the builder allows, whatever is asked.
        const std::optional<float> allowable = LayerAllowableHeight(engine.m_level, 0, 0, 5.0f);
        ASSERT_TRUE(allowable);
        EXPECT_EQ(LayerAllowableHeight(engine.m_level, 0, 0, *allowable), allowable);
        // A height that stays 0.02 short of the ceiling meets nothing.
        EXPECT_EQ(LayerAllowableHeight(engine.m_level, 0, 0, 0.5f), std::nullopt);
        EXPECT_FLOAT_EQ(*allowable, 0.999f);
        EXPECT_TRUE(CreateLayer(engine.m_view, Params(*allowable, 0.1f)));
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{});
        EXPECT_EQ(engine.m_level.m_sectors.size(), 5u);
    }
    {
        SCOPED_TRACE("below 0.01: nothing, silently");
        CFixtureEngine engine(MakeBox());
        SelectFloor(engine);
        engine.m_view.m_unlink.m_material = 0;
        const std::vector<std::uint8_t> before = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(RunCreateLayerCommand(engine.m_view, Params(0.005f, 0.1f)));
        EXPECT_EQ(SnapshotBytes(engine.m_level), before);
        EXPECT_TRUE(engine.m_host.Messages().empty());
        EXPECT_TRUE(engine.m_level.m_undoList.empty());
        EXPECT_EQ(engine.m_view.m_unlink.m_material, -1);
    }
}

TEST(CreateLayer, RefusalsPutTheLevelBack)
{
    // The lower room's ceiling is a portal, which the height limit passes over: a platform
    // reaching it is refused by the sector cut, one higher than the room by its top.
    struct {
        const char* name;
        CQzlSections (*make)();
        float height;
        float indent;
        std::string message;
    } const cases[] = {
        {"cut on the portal", MakeRoomAboveRoom, 1.0f, 0.1f,
         "Cannot split sector. You must select 3 grid nodes not on the same surface."},
        {"top above the room", MakeRoomAboveRoom, 1.5f, 0.1f, std::string(kLayerTopOutsideText)},
        {"top wider than the room", MakeLongRoom, 0.25f, -0.1f, std::string(kLayerTopOutsideText)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(WithTopMaterial(c.make()));
        SelectFloor(engine);
        engine.m_document.m_gridOn = 1;
        const std::vector<std::uint8_t> before = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(RunCreateLayerCommand(engine.m_view, Params(c.height, c.indent)));
        EXPECT_EQ(SnapshotBytes(engine.m_level), before);
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(engine.m_level.m_undoList.empty());
        EXPECT_EQ(engine.m_view.m_unlink.m_material, -1);
        EXPECT_EQ(engine.m_document.m_gridOn, 1);
        EXPECT_EQ(engine.m_view.m_selection.m_sector, 0);
        EXPECT_EQ(engine.m_view.m_selection.m_surface, 0);
    }
}

TEST(CreateLayer, ThingsBesideThePlatformStay)
{
    CFixtureEngine engine(MakeBox());
    SelectFloor(engine);
    const int beside = AddCrate(engine.m_level, 0, {0.03f, 0.1f, 0.5f});
    const int above = AddCrate(engine.m_level, 0, {0.5f, 0.8f, 0.5f});
    ASSERT_TRUE(CreateLayer(engine.m_view, Params(0.3f, 0.2f)));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    ASSERT_EQ(engine.m_level.m_things.size(), 2u);
    const CQzlThing& wedgeThing = *engine.m_level.m_things[static_cast<std::size_t>(beside)];
    EXPECT_GE(wedgeThing.m_sector, 1);
    EXPECT_TRUE(PointInSector(engine.m_level, wedgeThing.m_sector, wedgeThing.m_position, 0.0f));
    EXPECT_EQ(engine.m_level.m_things[static_cast<std::size_t>(above)]->m_sector, 0);
}

TEST(CreateLayer, OnAWallAlongItsNormal)
{
    CFixtureEngine engine(MakeLongRoom());
    CQzlSections& level = engine.m_level;
    RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    const int wall = BoxSurface(level, 0, kBoxXLow);
    engine.m_view.m_selection.m_sector = 0;
    engine.m_view.m_selection.m_surface = wall;
    std::vector<CVector3> base;
    for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(wall)]->m_vertices)
        base.push_back(WorldPosition(level, corner.m_worldVertex));
    const double roomVolume = LevelVolume(level);
    ASSERT_TRUE(UndoGivesBackExactBytes(
        engine.m_view, [&] { return CreateLayer(engine.m_view, Params(0.5f, 0.2f)); }));
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(level.m_sectors.size(), 5u);
    EXPECT_NEAR(LevelVolume(level), roomVolume - PlatformVolume(base, 0.5f, 0.2f), 1e-4);
    const int top = engine.m_view.m_selection.m_surface;
    ASSERT_GE(top, 0);
    EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(top)]->m_normal, (CVector3{1, 0, 0}));
    for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(top)]->m_vertices)
        EXPECT_NEAR(WorldPosition(level, corner.m_worldVertex).x, 0.5f, 1e-5f);
}

}  // namespace
