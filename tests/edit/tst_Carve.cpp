// Carve on a 4-unit box room: the sector-mode rectangle and triangle on a wall with and without a
// catwalk, the nodes off the plane, the overlap and line refusals, the surface-mode carve along
// the current surface's outline with its up/down and left/right angles, a carve that would delete
// the last sector, and the Carve command with its dialog's values. After every carve the level
// oracle holds and undo gives back the stored bytes.

#include "edit/Carve.h"
#include "edit/CarveCommand.h"
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
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Points = std::vector<CVector3>;

// A box from (0, 0, 0) to (4, 4, 4).
CQzlSections MakeBigBox()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
    FinishFixture(level);
    return level;
}

const CQzlSurface& SurfaceOf(const CQzlSections& level, std::int32_t surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

// The sector's corner positions.
Points SectorPoints(const CQzlSections& level, std::int32_t sector)
{
    Points points;
    for (const std::int32_t f : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces)
        for (const CQzlVertex& corner : SurfaceOf(level, f).m_vertices)
            points.push_back(WorldPosition(level, corner.m_worldVertex));
    return points;
}

std::unique_ptr<CFixtureEngine> Engine(CQzlSections level, bool sectorMode, std::int32_t surface,
                                       const Points& nodes)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_selection.m_sector = 0;
    engine->m_view.m_selection.m_surface = surface;
    engine->m_view.m_selection.m_pickedNodes = nodes;
    engine->m_document.m_gridOn = 1;
    engine->m_document.m_sectorMode = sectorMode ? 1 : 0;
    return engine;
}

// A refused carve on the level as the editor opens it (every sector built): false, its
// message, and the stored bytes, use counts and undo list as they were.
void ExpectRefused(CFixtureEngine& engine, const std::function<bool()>& carve,
                   const std::string& message)
{
    const CSelection selection = engine.m_view.m_selection;
    RebuildAll(engine.m_view, false);
    engine.m_view.m_selection = selection;
    engine.m_host.Clear();
    const Bytes before = WriteLevelBytes(engine.m_level);
    const std::vector<std::int32_t> uses = engine.m_level.m_useCounts;
    EXPECT_FALSE(RunUndoable(engine.m_view, carve));
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_EQ(engine.m_level.m_useCounts, uses);
    EXPECT_TRUE(engine.m_level.m_undoList.empty());
    EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{message});
}

// A rectangle y 1..3, z 1..3 on the wall x = 0, in both windings.
const Points kRectangle{{0, 1, 1}, {0, 1, 3}, {0, 3, 3}, {0, 3, 1}};
const Points kRectangleReversed{{0, 3, 1}, {0, 3, 3}, {0, 1, 3}, {0, 1, 1}};
struct Winding {
    const char* name;
    const Points* nodes;
};
const Winding kWindings[] = {{"wound one way", &kRectangle},
                             {"wound the other way", &kRectangleReversed}};

// The big box carved in sector mode by nodes as an edit, undone and redone.
std::unique_ptr<CFixtureEngine> CarvedBigBox(const Points& nodes, bool catwalk,
                                             const CCarveLook& look)
{
    auto engine = Engine(MakeBigBox(), true, -1, nodes);
    C3dView& view = engine->m_view;
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_pickedNodes = nodes;
        return CarveSector(view, catwalk, look);
    }));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    return engine;
}

TEST(Carve, SectorModeRectangleCutsAPrismThroughTheSector)
{
    for (const Winding& winding : kWindings) {
        SCOPED_TRACE(winding.name);
        auto engine = CarvedBigBox(*winding.nodes, false, CCarveLook{});
        C3dView& view = engine->m_view;
        const CQzlSections& level = engine->m_level;
        EXPECT_TRUE(engine->m_host.Messages().empty());
        // The prism and four outer pieces; the prism is current, from wall to wall along x.
        ASSERT_EQ(level.m_sectors.size(), 5u);
        const std::int32_t prism = view.m_selection.m_sector;
        ASSERT_GE(prism, 0);
        float xMin = 4.0f;
        float xMax = 0.0f;
        for (const CVector3& p : SectorPoints(level, prism)) {
            EXPECT_GE(p.y, 1.0f - 1e-4f);
            EXPECT_LE(p.y, 3.0f + 1e-4f);
            EXPECT_GE(p.z, 1.0f - 1e-4f);
            EXPECT_LE(p.z, 3.0f + 1e-4f);
            xMin = std::min(xMin, p.x);
            xMax = std::max(xMax, p.x);
        }
        EXPECT_FLOAT_EQ(xMin, 0.0f);
        EXPECT_FLOAT_EQ(xMax, 4.0f);
        // The result list: the four outer pieces, then the four walls that face the prism.
        const std::vector<std::int32_t>& results = view.m_work.m_cutResults;
        ASSERT_EQ(results.size(), 8u);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_NE(results[i], prism);
        EXPECT_EQ(view.m_work.m_cutEdges.size(), 8u);
        // The current surface is the prism's face in the rectangle.
        const std::int32_t face = view.m_selection.m_surface;
        ASSERT_GE(face, 0);
        for (const CQzlVertex& corner : SurfaceOf(level, face).m_vertices)
            EXPECT_FLOAT_EQ(WorldPosition(level, corner.m_worldVertex).x, 0.0f);
        // The grid went off with the cuts; the sector-mode switch is back on.
        EXPECT_EQ(engine->m_document.m_gridOn, 0);
        EXPECT_EQ(engine->m_document.m_sectorMode, 1);
    }
}

TEST(Carve, SectorModeCatwalkDeletesThePrismAndDressesItsWalls)
{
    // The texture size and tiling are the render data's: rebuilding takes them from the
    // material.
    CCarveLook look;
    look.m_material = 0;
    look.m_textureWidth = 64.0f;
    look.m_textureHeight = 32.0f;
    for (const Winding& winding : kWindings) {
        SCOPED_TRACE(winding.name);
        auto engine = CarvedBigBox(*winding.nodes, true, look);
        C3dView& view = engine->m_view;
        const CQzlSections& level = engine->m_level;
        ASSERT_EQ(level.m_sectors.size(), 4u);
        EXPECT_EQ(view.m_selection.m_sector, -1);
        EXPECT_EQ(view.m_selection.m_surface, -1);
        // The four walls that faced the prism: solid now, dressed, facing y 1..3, z 1..3.
        const std::vector<std::int32_t>& results = view.m_work.m_cutResults;
        ASSERT_EQ(results.size(), 8u);
        for (std::size_t i = 4; i < results.size(); ++i) {
            SCOPED_TRACE(i);
            const CQzlSurface& wall = SurfaceOf(level, results[i]);
            EXPECT_EQ(wall.m_adjoin, -1);
            EXPECT_EQ(wall.m_geo, 4);
            EXPECT_EQ(wall.m_light, 3);
            EXPECT_EQ(wall.m_tex, 1);
            EXPECT_EQ(wall.m_material, 0);
            for (const CQzlVertex& corner : wall.m_vertices) {
                const CVector3 p = WorldPosition(level, corner.m_worldVertex);
                EXPECT_GE(p.y, 1.0f - 1e-4f);
                EXPECT_LE(p.y, 3.0f + 1e-4f);
                EXPECT_GE(p.z, 1.0f - 1e-4f);
                EXPECT_LE(p.z, 3.0f + 1e-4f);
            }
        }
        // The floor flag follows the walls' slope: the ones below and above the beam are floors.
        int floors = 0;
        for (std::size_t i = 4; i < results.size(); ++i)
            floors += (SurfaceOf(level, results[i]).m_surfaceFlags & 1u) != 0u ? 1 : 0;
        EXPECT_EQ(floors, 2);
        // The first wall's texture starts at corner 0.
        EXPECT_FLOAT_EQ(SurfaceOf(level, results[4]).m_vertices[0].m_u, 0.0f);
        EXPECT_FLOAT_EQ(SurfaceOf(level, results[4]).m_vertices[0].m_v, 0.0f);
    }
}

TEST(Carve, ThreeNodesCutATriangularPrism)
{
    // Only three nodes: the carve direction comes from them (no fourth node is read).
    auto engine = CarvedBigBox({{0, 1, 1}, {0, 1, 3}, {0, 3, 2}}, true, CCarveLook{});
    EXPECT_EQ(engine->m_level.m_sectors.size(), 3u);
    EXPECT_EQ(engine->m_view.m_work.m_cutResults.size(), 6u);
}

TEST(Carve, NodesOffThePlaneOfTheFirstThree)
{
    // The rectangle's fourth node moved off the wall into the sector.
    Points accepted = kRectangle;
    accepted[3].x = 0.4f;
    Points refused = kRectangle;
    refused[3].x = 0.6f;
    EXPECT_GT(CarvedBigBox(accepted, false, CCarveLook{})->m_level.m_sectors.size(), 1u);
    auto engine = Engine(MakeBigBox(), true, -1, refused);
    C3dView& view = engine->m_view;
    ExpectRefused(
        *engine, [&view] { return CarveSector(view, false, CCarveLook{}); },
        "Cannot carve sector. You must select grid nodes on the same plane.");
}

// The big box with its wall x = 0 split at z = 2 into two surfaces.
CQzlSections MakeBoxWithSplitWall()
{
    CFixtureEngine cutter(MakeBigBox());
    cutter.m_view.m_selection.m_sector = 0;
    cutter.m_view.m_selection.m_surface = BoxSurface(cutter.m_level, 0, kBoxXLow);
    cutter.m_document.m_gridOn = 1;
    cutter.m_view.m_selection.m_pickedNodes = {{0, 0, 2}, {0, 4, 2}};
    EXPECT_TRUE(SplitSurface(cutter.m_view, false));
    return std::move(cutter.m_level);
}

// The big box joined through its wall x = 4 to a neighbour whose wall there is only the upper
// half (y 2..4): a cut at y = 1 crosses the wall but not its twin.
CQzlSections MakeBoxWithShortNeighbour()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
    AddBoxSector(level, {4, 2, 0}, {6, 4, 4});
    JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
    FinishFixture(level);
    return level;
}

TEST(Carve, SectorModeRefusals)
{
    struct Case {
        const char* name;
        CQzlSections (*level)();
        Points nodes;
        const char* message;
    };
    const Case cases[] = {
        // The rectangle spans both halves of the split wall.
        {"the rectangle over two surfaces", MakeBoxWithSplitWall, kRectangle,
         "Cannot carve sector due to multiple surface overlap at one end."},
        {"the first three nodes on a line",
         MakeBigBox,
         {{0, 1, 1}, {0, 2, 1}, {0, 3, 1}, {0, 3, 3}},
         "Cannot carve sector. You must select 3 grid nodes not on a line."},
        // A split refused after others were made: the level goes back to where it was.
        {"a split refused half way", MakeBoxWithShortNeighbour, kRectangle,
         "Cannot split sector. The plane does not cut the twin of an adjoined surface."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = Engine(c.level(), true, -1, c.nodes);
        C3dView& view = engine->m_view;
        ExpectRefused(
            *engine, [&] { return CarveSector(view, false, CCarveLook{}); }, c.message);
    }
}

TEST(Carve, SurfaceModeAnglesLeanTheCarveDirection)
{
    // The floor is current; its outline is carved along its normal (up), leaning by the angles
    // towards U = +x (node 0 to node 1) or away from C = N x U = -z. Only the floor edge the
    // leaning plane crosses the sector from is cut: the cap's normal is the cut plane's.
    struct Case {
        const char* name;
        float upDown;
        float leftRight;
        CVector3 capNormal;  // up to sign
    };
    const float r = std::sqrt(0.5f);
    const Case cases[] = {
        {"up/down 45: D = N + U", 45.0f, 0.0f, {r, -r, 0}},
        {"up/down -45: D = N - U", -45.0f, 0.0f, {r, r, 0}},
        {"left/right 45: D = N - C", 0.0f, 45.0f, {0, -r, r}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBigBox();
        const int floor = BoxSurface(level, 0, kBoxFloor);
        const Points nodes{{1, 0, 2}, {3, 0, 2}};
        auto engine = Engine(std::move(level), false, floor, nodes);
        C3dView& view = engine->m_view;
        const CQzlSections& after = engine->m_level;
        ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
            view.m_selection.m_pickedNodes = nodes;
            view.m_selection.m_surface = floor;
            return CarveAlongLine(view, false, c.upDown, c.leftRight, CCarveLook{}, false);
        }));
        EXPECT_TRUE(LevelIsSound(after));
        // With two nodes the outline is the floor's: four edges in the cut-edge list.
        EXPECT_EQ(view.m_work.m_cutEdges.size(), 8u);
        ASSERT_EQ(after.m_sectors.size(), 2u);
        const CVector3 n = SurfaceOf(after, after.m_sectors[0]->m_surfaces.back()).m_normal;
        EXPECT_NEAR(std::fabs(Dot(n, c.capNormal)), 1.0f, 1e-4f);
        // The current sector holds the carved region: the floor's centre.
        EXPECT_TRUE(PointInSector(after, view.m_selection.m_sector, {2, 0.001f, 2}, 0.0f));
        EXPECT_EQ(engine->m_document.m_sectorMode, 0);
    }
}

TEST(Carve, EdgesOnWallsMakeNoCutAndACatwalkMayNotTakeTheLastSector)
{
    // Straight up from the whole floor every edge lies on a wall: nothing is cut.
    const Points nodes{{1, 0, 2}, {3, 0, 2}};
    CQzlSections level = MakeBigBox();
    const int floor = BoxSurface(level, 0, kBoxFloor);
    auto engine = Engine(std::move(level), false, floor, nodes);
    C3dView& view = engine->m_view;
    const Bytes before = WriteLevelBytes(engine->m_level);
    ASSERT_TRUE(CarveAlongLine(view, false, 0.0f, 0.0f, CCarveLook{}, false));
    EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
    EXPECT_TRUE(view.m_work.m_cutResults.empty());
    EXPECT_EQ(view.m_selection.m_sector, 0);

    // The same with a catwalk would delete the only sector: refused, the level as it was.
    auto catwalk = Engine(MakeBigBox(), false, floor, nodes);
    C3dView& catwalkView = catwalk->m_view;
    ExpectRefused(
        *catwalk,
        [&] { return CarveAlongLine(catwalkView, true, 0.0f, 0.0f, CCarveLook{}, false); },
        "Cannot delete Sector.\n\nThere must be at least 1 sector.");
    EXPECT_EQ(catwalkView.m_selection.m_sector, 0);
    EXPECT_EQ(catwalkView.m_selection.m_surface, floor);

    // Two nodes at one place give no line.
    auto same = Engine(MakeBigBox(), false, floor, {{1, 0, 2}, {1, 0, 2}});
    C3dView& sameView = same->m_view;
    ExpectRefused(
        *same, [&] { return CarveAlongLine(sameView, false, 0.0f, 0.0f, CCarveLook{}, false); },
        "Cannot carve surface. You must select 2 different grid nodes.");
}

TEST(Carve, TheCarveCommand)
{
    struct EnableCase {
        const char* name;
        bool sectorMode;
        std::int32_t sector;
        std::int32_t surface;
        int nodes;
        bool enabled;
    };
    const EnableCase rules[] = {
        {"sector mode, three nodes", true, 0, -1, 3, true},
        {"sector mode, two nodes", true, 0, -1, 2, false},
        {"sector mode, no sector", true, -1, 0, 3, false},
        {"surface mode, two nodes", false, 0, 0, 2, true},
        {"surface mode, one node", false, 0, 0, 1, false},
        {"surface mode, no surface", false, 0, -1, 3, false},
    };
    for (const EnableCase& c : rules) {
        SCOPED_TRACE(c.name);
        auto engine = Engine(MakeBigBox(), c.sectorMode, c.surface,
                             Points(static_cast<std::size_t>(c.nodes), CVector3{}));
        engine->m_view.m_selection.m_sector = c.sector;
        EXPECT_EQ(CanRunCarveCommand(engine->m_view), c.enabled);
        EXPECT_EQ(CarveAnglesEditable(engine->m_view), !c.sectorMode);
    }

    // Sector mode takes the catwalk and the look, not the angles; one undo step.
    auto engine = Engine(MakeBigBox(), true, -1, kRectangle);
    CCarveChoice choice;
    choice.m_upDown = 30.0f;
    choice.m_catwalk = true;
    const Bytes before = WriteLevelBytes(engine->m_level);
    ASSERT_TRUE(RunCarveCommand(engine->m_view, choice));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    EXPECT_EQ(engine->m_level.m_sectors.size(), 4u);
    EXPECT_EQ(engine->m_level.m_undoList.size(), 1u);
    ASSERT_TRUE(UndoCommand(engine->m_view));
    EXPECT_EQ(WriteLevelBytes(engine->m_level), before);

    // A refused carve drops its step; a disabled command does nothing.
    auto refused = Engine(MakeBigBox(), true, -1, {{0, 1, 1}, {0, 2, 1}, {0, 3, 1}});
    EXPECT_FALSE(RunCarveCommand(refused->m_view, choice));
    EXPECT_TRUE(refused->m_level.m_undoList.empty());
    auto disabled = Engine(MakeBigBox(), true, -1, {{0, 1, 1}});
    EXPECT_FALSE(RunCarveCommand(disabled->m_view, choice));
    EXPECT_TRUE(disabled->m_host.Messages().empty());
}

TEST(Carve, TheDialogsValues)
{
    CCarveChoice choice;
    EXPECT_FLOAT_EQ(choice.m_upDown, 0.0f);
    EXPECT_FLOAT_EQ(choice.m_leftRight, 0.0f);
    EXPECT_TRUE(choice.m_catwalk);
    EXPECT_EQ(choice.m_look.m_material, 0);
    EXPECT_FLOAT_EQ(choice.m_look.m_textureWidth, 128.0f);
    EXPECT_FLOAT_EQ(choice.m_look.m_xTile, 1.0f);
    for (const float angle : {-45.0f, 0.0f, 45.0f})
        EXPECT_TRUE(CarveAngleInRange(angle)) << angle;
    for (const float angle : {-45.01f, 45.01f, 90.0f})
        EXPECT_FALSE(CarveAngleInRange(angle)) << angle;

    // The Texture button: the level's materials, no initial name; Cancel changes nothing.
    auto engine = Engine(MakeBigBox(), false, 0, {});
    engine->m_host.m_materialChoices = {CMaterialChoice{0, "dflt.mat", 64, 32, 2.0f, 4.0f},
                                        std::nullopt};
    ASSERT_TRUE(PickCarveMaterial(engine->m_view, choice));
    EXPECT_EQ(choice.m_textureName, "dflt.mat");
    EXPECT_EQ(choice.m_look.m_material, 0);
    EXPECT_FLOAT_EQ(choice.m_look.m_textureWidth, 64.0f);
    EXPECT_FLOAT_EQ(choice.m_look.m_textureHeight, 32.0f);
    EXPECT_FLOAT_EQ(choice.m_look.m_xTile, 2.0f);
    EXPECT_FLOAT_EQ(choice.m_look.m_yTile, 4.0f);
    const CCarveChoice kept = choice;
    EXPECT_FALSE(PickCarveMaterial(engine->m_view, choice));
    EXPECT_EQ(choice.m_textureName, kept.m_textureName);
    const std::vector<int> modes =
        engine->m_host.Numbers(CRecordingEngineHost::ECall::PickMaterial);
    EXPECT_EQ(modes, (std::vector<int>{kPickInLevel, kPickInLevel}));
}

}  // namespace
