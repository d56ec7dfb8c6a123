// Create Landscape on the floor of a box room: the fans of wedges level after level (their count
// follows from the floor's corners), the centres moved by the seeded generator (the same seed the
// same ground, another seed other ground; min = max = 0 leaves the floor flat and the room's
// volume as it was; a negative minimum sinks centres below the floor), the refusal of a depth
// that leaves the room, and a split refused deeper down that takes the whole landscape back. The
// level oracle holds after every build and undo gives the level back exactly.

#include "engine/Random.h"
#include "engine/RenderData.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Landscape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A room from lo to hi, y up.
CQzlSections MakeRoom(const CVector3& lo, const CVector3& hi)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, lo, hi);
    FinishFixture(level);
    return level;
}

// The engine's generator plays the sequence of the seeded generator from seed.
void Seed(CFixtureEngine& engine, std::uint32_t seed)
{
    PlaySeededSequence(engine.m_random, seed, 4096);
}

// The floor current, the two nodes on it along z, and the values given.
CLandscapeParams OnTheFloor(CFixtureEngine& engine, int splits, float minDepth, float maxDepth)
{
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
    selection.m_pickedNodes = {CVector3{0.5f, 0, 0.25f}, CVector3{0.5f, 0, 0.75f}};
    CLandscapeParams params = LandscapeDefaults(engine.m_view);
    params.m_splits = splits;
    params.m_minDepth = minDepth;
    params.m_maxDepth = maxDepth;
    return params;
}

// The volume of every sector together (each a closed polyhedron of its surfaces).
double Volume(const CQzlSections& level)
{
    double total = 0.0;
    for (const auto& sector : level.m_sectors) {
        double volume = 0.0;
        for (const std::int32_t s : sector->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[s];
            const CVector3 p0 = WorldPosition(level, surface.m_vertices[0].m_worldVertex);
            for (std::size_t k = 1; k + 1 < surface.m_vertices.size(); ++k) {
                const CVector3 p1 = WorldPosition(level, surface.m_vertices[k].m_worldVertex);
                const CVector3 p2 = WorldPosition(level, surface.m_vertices[k + 1].m_worldVertex);
                volume += static_cast<double>(Dot(p0, VectorCross(p1, p2)));
            }
        }
        total += std::abs(volume) / 6.0;
    }
    return total;
}

// The fans with min = max = 0: each split cuts every base triangle of the level before into a
// fan of one wedge per corner, so the floor's corners give the count; every centre stays in the
// floor's plane and the room keeps its volume.
TEST(CreateLandscape, FlatFansFollowTheFloorsCorners)
{
    for (const int splits : {1, 2, 3}) {
        SCOPED_TRACE(splits);
        CFixtureEngine engine(MakeRoom({0, 0, 0}, {1, 1, 1}));
        Seed(engine, 11);
        const CLandscapeParams params = OnTheFloor(engine, splits, 0.0f, 0.0f);
        const std::size_t corners =
            engine.m_level.m_surfaces[engine.m_view.m_selection.m_surface]->m_vertices.size();
        ASSERT_EQ(corners, 4u);
        const double volume = Volume(engine.m_level);
        EXPECT_TRUE(UndoGivesBackExactBytes(
            engine.m_view, [&] { return RunCreateLandscapeCommand(engine.m_view, params); }));
        const CQzlSections& level = engine.m_level;
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_TRUE(engine.m_host.Messages().empty());

        // The first split makes one wedge per floor corner, each later one three per triangle;
        // one centre per fan.
        std::size_t sectors = corners;
        std::size_t fans = 1;
        for (int k = 1; k < splits; ++k) {
            fans += sectors;
            sectors *= 3;
        }
        EXPECT_EQ(level.m_sectors.size(), sectors);
        EXPECT_EQ(engine.m_view.m_work.m_raisedVertices.size(), fans);
        EXPECT_EQ(engine.m_random.m_calls, fans);

        // Nothing left the floor's plane or the ceiling's; every slope is a floor.
        for (const auto& vertex : level.m_worldVertices)
            EXPECT_TRUE(vertex.y == 0.0f || vertex.y == 1.0f) << vertex.y;
        for (const std::int32_t raised : engine.m_view.m_work.m_raisedVertices)
            EXPECT_EQ(WorldPosition(level, raised).y, 0.0f);
        for (const auto& surface : level.m_surfaces) {
            if (surface->m_normal.y > 0.99f) {
                EXPECT_NE(surface->m_surfaceFlags & kFloorFlag, 0u);
            }
        }
        EXPECT_NEAR(Volume(level), volume, 1e-5);
    }
}

// The centres move by next() * (max - min) / 32767 + min along their direction (straight up in
// a box room): a fixed seed gives the same ground each time, another seed other ground, and a
// negative minimum sinks centres below the floor.
TEST(CreateLandscape, SeededDepthsMoveTheCentres)
{
    const auto build = [](std::uint32_t seed, float minDepth, float maxDepth) {
        CFixtureEngine engine(MakeRoom({0, 0, 0}, {4, 3, 4}));
        Seed(engine, seed);
        const CLandscapeParams params = OnTheFloor(engine, 2, minDepth, maxDepth);
        EXPECT_TRUE(UndoGivesBackExactBytes(
            engine.m_view, [&] { return RunCreateLandscapeCommand(engine.m_view, params); }));
        EXPECT_TRUE(LevelIsSound(engine.m_level));

        // Each raised vertex stands where the generator's number puts it.
        CSeededRandom expected(seed);
        const std::vector<std::int32_t>& raised = engine.m_view.m_work.m_raisedVertices;
        EXPECT_EQ(raised.size(), 5u);
        float lowest = 0.0f;
        float highest = 0.0f;
        for (const std::int32_t vertex : raised) {
            const double r = static_cast<double>(expected.Next()) *
                                 (static_cast<double>(maxDepth) - static_cast<double>(minDepth)) /
                                 32767.0 +
                             static_cast<double>(minDepth);
            const float y = WorldPosition(engine.m_level, vertex).y;
            EXPECT_NEAR(y, r, 1e-4);
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
        }
        EXPECT_GE(lowest, minDepth);
        EXPECT_LE(highest, maxDepth);
        return std::pair(SnapshotBytes(engine.m_level), lowest);
    };
    const auto [first, firstLowest] = build(5, 0.0f, 0.5f);
    EXPECT_EQ(firstLowest, 0.0f);
    EXPECT_EQ(build(5, 0.0f, 0.5f).first, first);
    EXPECT_NE(build(6, 0.0f, 0.5f).first, first);
    EXPECT_LT(build(5, -0.5f, 0.0f).second, 0.0f);
}

// The highest an apex can reach, max + 0.02 above node 0, must stay inside the room: the ceiling
// (3 high) stops it, and the level, the selection and the undo list stay as they were.
TEST(CreateLandscape, DepthBeyondTheSectorIsRefused)
{
    for (const float maxDepth : {2.98f, 50.0f}) {
        SCOPED_TRACE(maxDepth);
        CFixtureEngine engine(MakeRoom({0, 0, 0}, {4, 3, 4}));
        RebuildAll(engine.m_view, false, ERebuildAll::Restore);
        const CLandscapeParams params = OnTheFloor(engine, 2, 0.0f, maxDepth);
        const std::vector<std::uint8_t> bytes = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(RunCreateLandscapeCommand(engine.m_view, params));
        EXPECT_EQ(SnapshotBytes(engine.m_level), bytes);
        EXPECT_TRUE(engine.m_level.m_undoList.empty());
        EXPECT_EQ(engine.m_view.m_selection.m_surface, BoxSurface(engine.m_level, 0, kBoxFloor));
        EXPECT_EQ(engine.m_host.Messages(),
                  std::vector<std::string>{std::string(kLandscapeTooHigh)});
        EXPECT_EQ(engine.m_random.m_calls, 0u);
    }
    // Just below the ceiling it is built.
    CFixtureEngine engine(MakeRoom({0, 0, 0}, {4, 3, 4}));
    EXPECT_TRUE(CreateLandscape(engine.m_view, OnTheFloor(engine, 1, 0.0f, 2.97f)));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
}

// A split refused deeper down, after the levels above it were cut (here the fourth split of a
// small floor, whose triangles would be too small to be told apart), takes the whole landscape
// back: the level and the selection as they were, no undo step.
TEST(CreateLandscape, SplitRefusedDeeperDownTakesEverythingBack)
{
    CFixtureEngine engine(MakeRoom({0, 0, 0}, {1, 1, 1}));
    RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    Seed(engine, 3);
    const CLandscapeParams params = OnTheFloor(engine, 4, 0.0f, 0.3f);
    const CSelection before = engine.m_view.m_selection;
    const std::vector<std::uint8_t> bytes = SnapshotBytes(engine.m_level);
    EXPECT_FALSE(RunCreateLandscapeCommand(engine.m_view, params));
    EXPECT_EQ(SnapshotBytes(engine.m_level), bytes);
    EXPECT_TRUE(engine.m_level.m_undoList.empty());
    EXPECT_EQ(engine.m_view.m_selection.m_sector, before.m_sector);
    EXPECT_EQ(engine.m_view.m_selection.m_surface, before.m_surface);
    EXPECT_EQ(engine.m_view.m_selection.m_pickedNodes, before.m_pickedNodes);
    EXPECT_TRUE(engine.m_view.m_work.m_raisedVertices.empty());
    EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{std::string(kLandscapeTooFine)});

    // The same four splits on a larger floor go through and leave sound sectors.
    CFixtureEngine larger(MakeRoom({0, 0, 0}, {4, 1, 4}));
    Seed(larger, 3);
    EXPECT_TRUE(CreateLandscape(larger.m_view, OnTheFloor(larger, 4, 0.0f, 0.3f)));
    EXPECT_EQ(larger.m_level.m_sectors.size(), 4u * 3u * 3u * 3u);
    EXPECT_TRUE(LevelIsSound(larger.m_level));
}

}  // namespace
