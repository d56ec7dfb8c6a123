// Create Stairs: the flight of n sectors out of a wall, each total depth / n deep and shifted by
// total height / n against the one before, up and down; one stair is a single extrusion; a step
// that refuses takes the steps before it back. The level oracle holds after every build and undo
// gives the level back exactly; a refusal leaves it byte for byte as it was.

#include "engine/Undo.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/ExpandSurface.h"
#include "tools/Extrude.h"
#include "tools/Stairs.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// A room from (0, 0, 0) to (2, 2, 2); the stairs leave its wall x = 2, y up.
CQzlSections MakeRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 2, 2});
    FinishFixture(level);
    return level;
}
const std::vector<CVector3> kUpNodes{{2, 0.5f, 1}, {2, 1.5f, 1}};

void SelectWall(CFixtureEngine& engine, std::vector<CVector3> nodes)
{
    CSelection& selection = engine.m_view.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(engine.m_level, 0, kBoxXHigh);
    selection.m_pickedNodes = std::move(nodes);
}

TEST(CreateStairs, EachStepIsItsShareDeepAndShiftedAgainstTheOneBefore)
{
    struct {
        const char* name;
        CStairsParams params;
    } const cases[] = {
        {"five up", {5, 0.1f, 0.5f, true}},
        {"five down", {5, 0.1f, 0.5f, false}},
        {"three steep up", {3, 0.9f, 0.6f, true}},
        // One stair: a single extrusion of the total depth; the height plays no part.
        {"one", {1, 0.7f, 0.4f, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeRoom());
        const std::size_t before = engine.m_level.m_sectors.size();
        // The undo check rebuilds every sector first, which empties the picked nodes: they are
        // picked inside the operation.
        EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&] {
            SelectWall(engine, kUpNodes);
            const CStairsParams& p = c.params;
            return CreateStairs(engine.m_view, p.m_count, p.m_totalHeight, p.m_totalDepth, p.m_up);
        }));
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{});
        const int n = c.params.m_count;
        ASSERT_EQ(engine.m_level.m_sectors.size(), before + static_cast<std::size_t>(n));

        const float depth = c.params.m_totalDepth / static_cast<float>(n);
        const float shift =
            (c.params.m_up ? 1.0f : -1.0f) * c.params.m_totalHeight / static_cast<float>(n);
        const CBoundingBox& first = engine.m_level.m_sectors[before]->m_boundBox;
        EXPECT_NEAR(first.min.y, 0.0f, 1e-5f) << "the first step stands on the wall's foot";
        EXPECT_NEAR(first.max.y, 2.0f, 1e-5f);
        for (int k = 0; k < n; ++k) {
            SCOPED_TRACE(k);
            const CBoundingBox& box =
                engine.m_level.m_sectors[before + static_cast<std::size_t>(k)]->m_boundBox;
            EXPECT_NEAR(box.min.x, 2.0f + static_cast<float>(k) * depth, 1e-4f);
            EXPECT_NEAR(box.max.x, 2.0f + static_cast<float>(k + 1) * depth, 1e-4f);
            EXPECT_NEAR(box.min.y, first.min.y + static_cast<float>(k) * shift, 1e-4f);
            EXPECT_NEAR(box.max.y, first.max.y + static_cast<float>(k) * shift, 1e-4f);
            EXPECT_NEAR(box.min.z, 0.0f, 1e-5f);
            EXPECT_NEAR(box.max.z, 2.0f, 1e-5f);
            // Each step is joined to the one before it (the first to the room).
            const int previous = k == 0 ? 0 : static_cast<int>(before) + k - 1;
            bool joined = false;
            for (const std::int32_t f :
                 engine.m_level.m_sectors[before + static_cast<std::size_t>(k)]->m_surfaces) {
                const std::int32_t a =
                    engine.m_level.m_surfaces[static_cast<std::size_t>(f)]->m_adjoin;
                joined = joined ||
                         (a >= 0 &&
                          engine.m_level.m_adjoins[static_cast<std::size_t>(a)]->m_otherSector ==
                              previous);
            }
            EXPECT_TRUE(joined);
        }
    }
}

TEST(CreateStairs, ARefusedStepLeavesTheLevelAsItWas)
{
    struct {
        const char* name;
        int count;
        std::vector<CVector3> nodes;
        bool joinWall;
        float height;
        std::string_view message;
    } const cases[] = {
        // The first step cannot be extruded out of a portal.
        {"adjoined wall", 3, kUpNodes, true, 0.3f, kExtrudeAdjoinedText},
        // The first step is made, the second finds no up direction: the first goes again.
        {"one node", 3, {kUpNodes[0]}, false, 0.3f, kExpandNeedsNodes},
        // Steps 3 apart on a wall 2 high would not meet.
        {"too steep", 3, kUpNodes, false, 9.0f, kStairsNoOverlap},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeRoom();
        if (c.joinWall) {
            const int next = AddBoxSector(level, {2, 0, 0}, {3, 2, 2});
            JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, next, kBoxXLow));
            FinishFixture(level);
        }
        CFixtureEngine engine(std::move(level));
        SelectWall(engine, c.nodes);
        const std::vector<std::uint8_t> bytes = SnapshotBytes(engine.m_level);
        EXPECT_FALSE(RunCreateStairsCommand(engine.m_view, {c.count, c.height, 0.6f, true}));
        EXPECT_EQ(SnapshotBytes(engine.m_level), bytes);
        EXPECT_FALSE(CanUndo(engine.m_view)) << "a refusal leaves no undo step";
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{std::string(c.message)});
        EXPECT_EQ(engine.m_view.m_selection.m_surface, BoxSurface(engine.m_level, 0, kBoxXHigh));
        EXPECT_EQ(engine.m_view.m_selection.m_pickedNodes, c.nodes);
    }
}

TEST(CreateStairs, TheCommandLeavesOneUndoStep)
{
    CFixtureEngine engine(MakeRoom());
    SelectWall(engine, kUpNodes);
    ASSERT_TRUE(RunCreateStairsCommand(engine.m_view, {}));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    EXPECT_EQ(engine.m_level.m_sectors.size(), 6u);
    EXPECT_EQ(engine.m_view.m_selection.m_pickedNodes, kUpNodes);
    ASSERT_TRUE(UndoCommand(engine.m_view));
    EXPECT_EQ(engine.m_level.m_sectors.size(), 1u);
    EXPECT_FALSE(CanUndo(engine.m_view));
}

}  // namespace
