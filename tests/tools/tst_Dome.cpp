// Create Dome: the ring profile (the quarter circle, the vault across two grid nodes); the dome
// outside the box room's ceiling merged into the room and inside on its floor as stacked
// layers, with one ring and four, and as a vault; a first ring the extrusion refuses leaves the
// level as it was. The level oracle holds after every build and one undo takes the whole dome
// back exactly.

#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Dome.h"
#include "tools/Extrude.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr float kPi = 3.1415927f;

TEST(DomeRingSteps, QuarterCircleAndVault)
{
    // Radius 0: each ring a step of depth / n along a quarter circle starting straight up.
    for (const int n : {1, 4, 7}) {
        SCOPED_TRACE(n);
        const std::vector<CDomeRing> rings = DomeRingSteps(0.4f, n, 0.0f);
        ASSERT_EQ(rings.size(), static_cast<std::size_t>(n));
        EXPECT_FLOAT_EQ(rings[0].m_height, 0.4f / static_cast<float>(n));
        EXPECT_NEAR(rings[0].m_indent, 0.0f, 2e-5f);
        for (int i = 0; i < n; ++i) {
            const CDomeRing& ring = rings[static_cast<std::size_t>(i)];
            const float angle = static_cast<float>(i) * kPi * 0.5f / static_cast<float>(n);
            EXPECT_NEAR(std::hypot(ring.m_height, ring.m_indent), 0.4f / static_cast<float>(n),
                        1e-6f);
            EXPECT_NEAR(ring.m_indent, std::sin(angle) * 0.4f / static_cast<float>(n), 2e-5f);
        }
    }
    // A radius: the heights add up to the depth, the indents to radius - R(n - 1).
    for (const int n : {1, 2, 4, 9}) {
        SCOPED_TRACE(n);
        const float radius = 0.75f;
        const std::vector<CDomeRing> rings = DomeRingSteps(0.5f, n, radius);
        ASSERT_EQ(rings.size(), static_cast<std::size_t>(n));
        float height = 0.0f;
        float indent = 0.0f;
        for (const CDomeRing& ring : rings) {
            EXPECT_GT(ring.m_height, 0.0f);
            EXPECT_GE(ring.m_indent, 0.0f);
            height += ring.m_height;
            indent += ring.m_indent;
        }
        EXPECT_NEAR(height, 0.5f, 1e-6f);
        EXPECT_NEAR(indent, radius - radius * std::sin(kPi * 0.5f / static_cast<float>(n + 1)),
                    1e-6f);
    }
    const std::vector<CDomeRing> one = DomeRingSteps(0.5f, 1, 2.0f);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_FLOAT_EQ(one[0].m_height, 0.5f);
    EXPECT_FLOAT_EQ(one[0].m_indent, 2.0f - 2.0f * std::sin(kPi * 0.25f));
    EXPECT_TRUE(DomeRingSteps(0.4f, 0, 0.0f).empty());
}

double SectorVolume(const CQzlSections& level, int sector)
{
    const CQzlSector& record = *level.m_sectors[static_cast<std::size_t>(sector)];
    double volume = 0.0;
    for (const std::int32_t s : record.m_surfaces) {
        const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(s)];
        const CVector3 a = WorldPosition(level, surface.m_vertices[0].m_worldVertex);
        for (std::size_t k = 1; k + 1 < surface.m_vertices.size(); ++k) {
            const CVector3 b = WorldPosition(level, surface.m_vertices[k].m_worldVertex);
            const CVector3 c = WorldPosition(level, surface.m_vertices[k + 1].m_worldVertex);
            volume += static_cast<double>(Dot(a, VectorCross(b, c))) / 6.0;
        }
    }
    return std::fabs(volume);
}

// The 2 x 1 x 2 room with a material for the dome.
CQzlSections MakeRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 1, 2});
    FinishFixture(level);
    level.FindMaterial("dome.mat");
    return level;
}

CDomeParams Params(int splits, bool outside)
{
    CDomeParams params;
    params.m_depth = 0.4f;
    params.m_splits = splits;
    params.m_outside = outside;
    params.m_look = {1, 64.0f, 64.0f, 1.0f, 1.0f};
    return params;
}

TEST(CreateDome, OutsideAndInside)
{
    struct {
        const char* name;
        int splits;
        bool outside;
        EBoxSide side;
        std::vector<CVector3> nodes;
        bool curvePlane;
        std::size_t sectors;
    } const cases[] = {
        // Outside, the rings are merged into the room: one sector, grown by the dome.
        {"outside, one ring", 1, true, kBoxCeiling, {}, true, 1},
        {"outside, four rings", 4, true, kBoxCeiling, {}, true, 1},
        {"outside, vault across two nodes", 4, true, kBoxCeiling, {{0, 1, 0}, {2, 1, 0}}, true, 1},
        // The indent across the nodes' line alone pulls both sides in towards the middle.
        {"outside, vault on the middle line, indent across only",
         3,
         true,
         kBoxCeiling,
         {{0, 1, 1}, {2, 1, 1}},
         false,
         1},
        // Inside, each ring is a layer: the first ring rises straight (indent 0, no wedges),
        // every later one leaves four wedges.
        {"inside, one ring", 1, false, kBoxFloor, {}, true, 1},
        {"inside, four rings", 4, false, kBoxFloor, {}, true, 1 + 3 * 4},
        {"inside, vault", 4, false, kBoxFloor, {{0, 0, 0}, {2, 0, 0}}, true, 1 + 4 * 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeRoom());
        CQzlSections& level = engine.m_level;
        CSelection& selection = engine.m_view.m_selection;
        selection.m_sector = 0;
        selection.m_surface = BoxSurface(level, 0, c.side);
        selection.m_pickedNodes = c.nodes;
        const double before = SectorVolume(level, 0);
        // How far the dome rises: the sum of its ring heights.
        const float radius = c.nodes.empty() ? 0.0f : 1.0f;
        float rise = 0.0f;
        for (const CDomeRing& ring : DomeRingSteps(0.4f, c.splits, radius))
            rise += ring.m_height;
        CDomeParams params = Params(c.splits, c.outside);
        params.m_curveAroundPlane = c.curvePlane;
        ASSERT_TRUE(UndoGivesBackExactBytes(engine.m_view,
                                            [&] { return CreateDome(engine.m_view, params); }));
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_EQ(level.m_sectors.size(), c.sectors);
        EXPECT_EQ(level.m_undoList.size(), 1u);
        EXPECT_TRUE(engine.m_host.Messages().empty());
        double after = 0.0;
        for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s)
            after += SectorVolume(level, s);
        if (c.outside) {
            EXPECT_GT(after, before);
            EXPECT_EQ(selection.m_surface, -1);
            // The dome rises above the ceiling.
            float top = 0.0f;
            for (const CWorldVertex& v : level.m_worldVertices)
                top = std::max(top, v.y);
            EXPECT_NEAR(top, 1.0f + rise, 1e-5f);
        } else {
            EXPECT_LT(after, before);
            ASSERT_GE(selection.m_surface, 0);
            const CQzlSurface& top =
                *level.m_surfaces[static_cast<std::size_t>(selection.m_surface)];
            EXPECT_NEAR(WorldPosition(level, top.m_vertices[0].m_worldVertex).y, rise, 1e-5f);
            EXPECT_EQ(top.m_material, 1);
        }
    }
}

TEST(CreateDome, RefusedFirstRingLeavesTheLevel)
{
    // The lower room's ceiling is adjoined: the extrusion refuses it once, and no ring is made.
    CFixtureEngine engine(MakeRoomAboveRoom());
    RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxCeiling);
    const std::vector<std::uint8_t> before = SnapshotBytes(engine.m_level);
    EXPECT_FALSE(RunCreateDomeCommand(engine.m_view, Params(4, true)));
    EXPECT_EQ(SnapshotBytes(engine.m_level), before);
    EXPECT_EQ(engine.m_host.Messages(),
              std::vector<std::string>{std::string(kExtrudeAdjoinedText)});
    EXPECT_TRUE(engine.m_level.m_undoList.empty());
}

}  // namespace
