// The switch builder: the corners from the two grid nodes, the rectangle cut out of a wall of a
// box room and textured once across, the recess behind it with its four siding walls (the room's
// volume growing by the recess), the refusals that leave the level's bytes as they were, and the
// texture sizes taken from the game without the default material's stand-in. After every build
// the level oracle holds and undo gives back the exact bytes.

#include "tools/Switch.h"

#include "SyntheticGame.h"
#include "engine/RenderData.h"
#include "framework/StringUtil.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/PointLists.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A room from (0, 0, 0) to (4, 3, 4), or as high as given; the switch goes into the wall z = 0
// (normal +z) from (2, 1, 0) up.
CQzlSections MakeRoom(float height = 3.0f)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, height, 4});
    FinishFixture(level);
    return level;
}

void SelectWall(CFixtureEngine& engine)
{
    C3dView& view = engine.m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxZLow);
    view.m_selection.m_pickedNodes = {{2, 1, 0}, {2, 2, 0}};
}

// 0.2 wide, 0.4 high, a texture of 32 x 16.
CSwitchParams Params(float depth)
{
    CSwitchParams p;
    p.m_switchMaterial = "lava.mat";
    p.m_depth = depth;
    p.m_width = 0.2f;
    p.m_height = 0.4f;
    p.m_textureWidth = 32;
    p.m_textureHeight = 16;
    return p;
}

// The volume the level's sectors enclose (each sector's faces fanned from their first corner).
double LevelVolume(const CQzlSections& level)
{
    double total = 0.0;
    for (const auto& sector : level.m_sectors) {
        double volume = 0.0;
        for (const int s : sector->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(s)];
            const auto& corners = surface.m_vertices;
            if (corners.size() < 3)
                continue;
            const CVector3 a = WorldPosition(level, corners[0].m_worldVertex);
            for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
                const CVector3 b = WorldPosition(level, corners[i].m_worldVertex);
                const CVector3 c = WorldPosition(level, corners[i + 1].m_worldVertex);
                volume += static_cast<double>(Dot(a, VectorCross(b, c))) / 6.0;
            }
        }
        total += std::fabs(volume);
    }
    return total;
}

int MaterialCount(const CQzlSections& level, std::string_view name)
{
    int count = 0;
    for (const auto& material : level.m_materials)
        count += CompareNoCase(material->m_name, name) == 0 ? 1 : 0;
    return count;
}

std::string MaterialOf(const CQzlSections& level, int surface)
{
    const int material = level.m_surfaces[static_cast<std::size_t>(surface)]->m_material;
    return material < 0 ? std::string()
                        : level.m_materials[static_cast<std::size_t>(material)]->m_name;
}

// The switch face: four corners at the rectangle (moved back by depth) with the texture
// coordinates (0, 0), (0, Y), (X, Y), (X, 0).
void ExpectSwitchFace(const CQzlSections& level, int surface, float depth)
{
    EXPECT_EQ(MaterialOf(level, surface), "lava.mat");
    const CVector3 corners[] = {
        {2.1f, 1, -depth}, {2.1f, 1.4f, -depth}, {1.9f, 1.4f, -depth}, {1.9f, 1, -depth}};
    const float uv[][2] = {{0, 0}, {0, 16}, {32, 16}, {32, 0}};
    const auto& vertices = level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices;
    ASSERT_EQ(vertices.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        bool found = false;
        for (const CQzlVertex& vertex : vertices) {
            if (!SamePoint(WorldPosition(level, vertex.m_worldVertex), corners[k]))
                continue;
            found = true;
            EXPECT_EQ(vertex.m_u, uv[k][0]);
            EXPECT_EQ(vertex.m_v, uv[k][1]);
        }
        EXPECT_TRUE(found);
    }
}

TEST(SwitchCorners, FromTheFirstNodeAlongTheSecondAcrossTheNormal)
{
    struct {
        const char* name;
        CVector3 p0, p1, n;
        float width, height;
        CVector3 c[4];
    } const cases[] = {
        // n = +z, d = +y: a = n x d = -x.
        {"wall",
         {2, 1, 0},
         {2, 2, 0},
         {0, 0, 1},
         0.2f,
         0.4f,
         {{2.1f, 1, 0}, {2.1f, 1.4f, 0}, {1.9f, 1.4f, 0}, {1.9f, 1, 0}}},
        // Only the direction of the second node counts.
        {"far node",
         {2, 1, 0},
         {2, 7, 0},
         {0, 0, 1},
         0.2f,
         0.4f,
         {{2.1f, 1, 0}, {2.1f, 1.4f, 0}, {1.9f, 1.4f, 0}, {1.9f, 1, 0}}},
        // n = +y, d = +x: a = -z.
        {"floor",
         {1, 0, 1},
         {2, 0, 1},
         {0, 1, 0},
         0.2f,
         0.5f,
         {{1, 0, 1.1f}, {1.5f, 0, 1.1f}, {1.5f, 0, 0.9f}, {1, 0, 0.9f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::array<CVector3, 4> corners = SwitchCorners(c.p0, c.p1, c.n, c.width, c.height);
        for (int k = 0; k < 4; ++k)
            EXPECT_TRUE(SamePoint(corners[static_cast<std::size_t>(k)], c.c[k])) << k;
    }
}

TEST(CreateSwitch, WithoutDepthTheRectangleIsOnlyCutOutAndTextured)
{
    CFixtureEngine engine(MakeRoom());
    C3dView& view = engine.m_view;
    const std::size_t surfaces = engine.m_level.m_surfaces.size();
    const double volume = LevelVolume(engine.m_level);
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        SelectWall(engine);
        return CreateSwitch(view, Params(0.0f));
    }));
    const CQzlSections& level = engine.m_level;
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_TRUE(engine.m_host.Messages().empty());
    // Four cuts trim the wall to the rectangle: four pieces around it.
    EXPECT_EQ(level.m_surfaces.size(), surfaces + 4);
    EXPECT_EQ(level.m_sectors.size(), 1u);
    EXPECT_NEAR(LevelVolume(level), volume, 1e-4);
    EXPECT_EQ(view.m_selection.m_sector, 0);
    ExpectSwitchFace(level, view.m_selection.m_surface, 0.0f);
    EXPECT_EQ(MaterialCount(level, "00red.mat"), 0);

    // Afterwards the picked grid nodes are the corners.
    CFixtureEngine again(MakeRoom());
    SelectWall(again);
    ASSERT_TRUE(CreateSwitch(again.m_view, Params(0.0f)));
    const std::vector<CVector3>& nodes = again.m_view.m_selection.m_pickedNodes;
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_TRUE(SamePoint(nodes[0], {2.1f, 1, 0}));
    EXPECT_TRUE(SamePoint(nodes[2], {1.9f, 1.4f, 0}));
}

TEST(CreateSwitch, WithDepthARecessWithSidingWallsGoesBehindIt)
{
    for (const bool sidingListed : {false, true}) {
        SCOPED_TRACE(sidingListed ? "siding listed" : "siding appended");
        CFixtureEngine engine(MakeRoom());
        if (sidingListed)
            engine.m_level.FindMaterial("00RED.MAT");
        C3dView& view = engine.m_view;
        const double volume = LevelVolume(engine.m_level);
        EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
            SelectWall(engine);
            return CreateSwitch(view, Params(0.1f));
        }));
        const CQzlSections& level = engine.m_level;
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_TRUE(engine.m_host.Messages().empty());
        ASSERT_EQ(level.m_sectors.size(), 2u);
        EXPECT_EQ(view.m_selection.m_sector, 1);
        // The recess adds width x height x depth.
        EXPECT_NEAR(LevelVolume(level), volume + 0.2 * 0.4 * 0.1, 1e-4);
        ExpectSwitchFace(level, view.m_selection.m_surface, 0.1f);
        EXPECT_EQ(MaterialCount(level, "00red.mat"), 1);

        // The recess: the portal, the switch face and four walls in the siding.
        int siding = 0;
        for (const int s : level.m_sectors[1]->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(s)];
            if (surface.m_adjoin >= 0 || s == view.m_selection.m_surface)
                continue;
            EXPECT_EQ(ToLowerAscii(MaterialOf(level, s)), "00red.mat") << s;
            ++siding;
        }
        EXPECT_EQ(siding, 4);
    }
}

TEST(CreateSwitch, RefusalsLeaveTheLevelAsItWas)
{
    struct {
        const char* name;
        float roomHeight;
        CSwitchParams params;
        std::string message;
    } cases[] = {
        // The wall is 0.5 high above the first node.
        {"too high", 1.5f, Params(0.01f), std::string(kSwitchExceedsText)},
        {"no switch material", 3.0f, Params(0.01f), std::string(kSwitchNoMaterialText)},
        {"no texture", 3.0f, Params(0.01f), SwitchNoTextureText("lava.mat")},
    };
    cases[0].params.m_height = 1.0f;
    cases[1].params.m_switchMaterial.clear();
    cases[2].params.m_textureWidth = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeRoom(c.roomHeight));
        C3dView& view = engine.m_view;
        SelectWall(engine);
        EXPECT_EQ(SwitchRefusal(view, c.params), c.message);
        const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
        EXPECT_FALSE(RunCreateSwitchCommand(view, c.params));
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    }
    // The message the dialog shows, word for word.
    EXPECT_EQ(kSwitchExceedsText, "The selected Switch object exceeds the current\nsurface. "
                                  "Please select a smaller Switch object.");
}

TEST(CreateSwitch, ARecessThatCannotBeExtrudedTakesTheCutBack)
{
    // On the portal between two rooms the rectangle is cut (the twin with it), but a portal
    // cannot be extruded: the build is taken back.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    AddBoxSector(level, {0, 0, -4}, {4, 3, 0});
    FinishFixture(level);
    JoinSurfaces(level, BoxSurface(level, 0, kBoxZLow), BoxSurface(level, 1, kBoxZHigh));
    FinishFixture(level);
    CFixtureEngine engine(std::move(level));
    C3dView& view = engine.m_view;
    RebuildAll(view, false, ERebuildAll::Restore);
    SelectWall(engine);
    const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
    EXPECT_FALSE(CreateSwitch(view, Params(0.05f)));
    const std::vector<std::string> messages = engine.m_host.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), kSwitchFailedText);
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_EQ(view.m_selection.m_surface, BoxSurface(engine.m_level, 0, kBoxZLow));
}

TEST(SwitchTextureSize, TheMaterialsOwnTextureOrNone)
{
    const auto synthetic = MakeSyntheticGame(0);
    CFixtureEngine engine(MakeRoom());
    engine.m_game = std::move(synthetic->m_resources);
    struct {
        const char* material;
        int width, height;  // 0: none
    } const cases[] = {
        {"lava.mat", 32, 32},
        {"BRICK.MAT", 64, 32},
        // The engine would draw it with "dflt.mat"; that is not its texture.
        {"nosuch.mat", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.material);
        const auto size = SwitchTextureSize(engine.m_view, c.material);
        if (c.width == 0) {
            EXPECT_FALSE(size.has_value());
            continue;
        }
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->m_width, c.width);
        EXPECT_EQ(size->m_height, c.height);
    }
}

}  // namespace
