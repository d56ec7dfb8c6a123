// Every construction builder on every surface of every sector of the fixture rooms, with a few
// parameter sets each, run inside an undo step as the editor runs it. A run either refuses, and
// then the stored level bytes are exactly as before and no undo step is left, or it builds, and
// then the level oracle finds nothing and undo gives back the exact bytes. Rooms the builders'
// own tests do not use (a hexagon, a split floor, a sloped ceiling, joined rooms) are where such
// faults show.

#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "engine/Random.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/ConveyorBelt.h"
#include "tools/Dome.h"
#include "tools/Landscape.h"
#include "tools/Layer.h"
#include "tools/SpecialSurfaces.h"
#include "tools/Stairs.h"
#include "tools/Switch.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct CFixture {
    const char* name;
    CQzlSections (*make)();
};

CQzlSections SplitFloorRoom()
{
    return MakeTwoSquareFloor();
}

const CFixture kFixtures[] = {
    {"box room", MakeBoxRoom},
    {"two joined rooms", MakeTwoJoinedRooms},
    {"L corridor", MakeLCorridor},
    {"room above room", MakeRoomAboveRoom},
    {"split floor", SplitFloorRoom},
    {"hexagonal room", MakeHexRoom},
    {"sloped ceiling", MakeSlopedCeilingRoom},
};

// A surface of a fixture and the grid nodes the runs pick on it: its centroid, a point 0.1 from
// it towards the middle of its first edge, and the middles of its first and its opposite edge.
struct CSpot {
    int sector = 0;
    int surface = 0;
    bool portal = false;
    std::string name;
    CVector3 centroid;
    CVector3 towardsEdge;
    CVector3 edgeMiddle;
    CVector3 oppositeMiddle;
};

std::vector<CSpot> Spots(const CQzlSections& level)
{
    std::vector<CSpot> spots;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        for (const std::int32_t f : level.m_sectors[s]->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(f)];
            std::vector<CVector3> corners;
            for (const CQzlVertex& v : surface.m_vertices)
                corners.push_back(WorldPosition(level, v.m_worldVertex));
            CSpot spot;
            spot.sector = static_cast<int>(s);
            spot.surface = f;
            spot.portal = surface.m_adjoin >= 0;
            const char* kind = surface.m_normal.y > 0.5f    ? "floor"
                               : surface.m_normal.y < -0.5f ? "ceiling"
                                                            : "wall";
            spot.name = "sector " + std::to_string(s) + ", surface " + std::to_string(f) + " (" +
                        kind + (spot.portal ? " portal" : "") + ")";
            for (const CVector3& c : corners)
                spot.centroid = spot.centroid + c;
            spot.centroid = spot.centroid * (1.0f / static_cast<float>(corners.size()));
            const std::size_t n = corners.size();
            spot.edgeMiddle = (corners[0] + corners[1]) * 0.5f;
            spot.oppositeMiddle = (corners[n / 2] + corners[(n / 2 + 1) % n]) * 0.5f;
            const CVector3 towards = spot.edgeMiddle - spot.centroid;
            spot.towardsEdge = spot.centroid + towards * (0.1f / VectorLength(towards));
            spots.push_back(std::move(spot));
        }
    }
    return spots;
}

// One parameter set of a builder: its name for the failure texts and the build on the current
// sector and surface (the selection is made before it runs).
struct CRun {
    std::string params;
    std::function<bool(CFixtureEngine&, const CSpot&)> build;
};

struct CTally {
    int built = 0;
    int refused = 0;
};

// Runs run on spot of a fresh fixture and checks the outcome.
void SweepOne(CFixtureEngine& engine, const CSpot& spot, const CRun& run, const std::string& where,
              CTally& tally)
{
    C3dView& view = engine.m_view;
    CQzlSections& level = engine.m_level;
    RebuildAll(view, false, ERebuildAll::Restore);
    const std::vector<std::uint8_t> before = WriteLevelBytes(level);
    bool built = false;
    std::string problems;
    // The rebuild of the undo check empties the picked nodes: the selection is made inside.
    const ::testing::AssertionResult undo = UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_sector = spot.sector;
        view.m_selection.m_surface = spot.surface;
        view.m_selection.m_vertex = -1;
        built = run.build(engine, spot);
        if (built) {
            const ::testing::AssertionResult sound = LevelIsSound(level);
            if (!sound)
                problems = sound.message();
        }
        return built;
    });
    if (!built) {
        ++tally.refused;
        if (WriteLevelBytes(level) != before)
            ADD_FAILURE() << where << ": refused, but the level bytes changed";
        if (CanUndo(view))
            ADD_FAILURE() << where << ": refused, but an undo step was left";
        return;
    }
    ++tally.built;
    if (!problems.empty())
        ADD_FAILURE() << where << ": the level oracle after the build:\n" << problems;
    if (!undo)
        ADD_FAILURE() << where << ": " << undo.message();
}

struct CSweep {
    const char* builder;
    bool withGame = false;
};

void Sweep(const CSweep& sweep, const std::vector<CRun>& runs)
{
    const std::unique_ptr<CSyntheticGame> game = sweep.withGame ? MakeSyntheticGame(0) : nullptr;
    CTally tally;
    for (const CFixture& fixture : kFixtures) {
        for (const CSpot& spot : Spots(fixture.make())) {
            for (const CRun& run : runs) {
                CFixtureEngine engine(fixture.make());
                if (game)
                    std::swap(engine.m_game, game->m_resources);
                const std::string where = std::string(sweep.builder) + " on " + fixture.name +
                                          ", " + spot.name + ", " + run.params;
                SweepOne(engine, spot, run, where, tally);
                if (game)
                    std::swap(engine.m_game, game->m_resources);
            }
        }
    }
    // A sweep where everything refuses shows nothing.
    EXPECT_GT(tally.built, 0) << sweep.builder << " built nowhere";
    std::printf("%s: %d built, %d refused\n", sweep.builder, tally.built, tally.refused);
}

// The engine's generator plays the sequence of the seeded generator from seed.
void Seed(CFixtureEngine& engine, std::uint32_t seed)
{
    PlaySeededSequence(engine.m_random, seed, 1024);
}

void PickTwo(CFixtureEngine& engine, const CVector3& a, const CVector3& b)
{
    engine.m_view.m_selection.m_pickedNodes = {a, b};
}

TEST(BuilderSweep, CreateLayer)
{
    std::vector<CRun> runs;
    for (const float height : {0.05f, 0.3f}) {
        for (const float indent : {0.0f, 0.05f, -0.05f}) {
            CLayerParams params;
            params.m_height = height;
            params.m_indent = indent;
            runs.push_back(
                {"height " + std::to_string(height) + ", indent " + std::to_string(indent),
                 [params](CFixtureEngine& engine, const CSpot&) {
                     return CreateLayer(engine.m_view, params);
                 }});
        }
    }
    Sweep({"CreateLayer"}, runs);
}

TEST(BuilderSweep, CreateDome)
{
    std::vector<CRun> runs;
    for (const bool outside : {true, false}) {
        for (const int splits : {1, 3}) {
            for (const bool nodes : {false, true}) {
                CDomeParams params;
                params.m_outside = outside;
                params.m_splits = splits;
                runs.push_back({std::string(outside ? "outside" : "inside") + ", splits " +
                                    std::to_string(splits) + (nodes ? ", two nodes" : ", no nodes"),
                                [params, nodes](CFixtureEngine& engine, const CSpot& spot) {
                                    if (nodes)
                                        PickTwo(engine, spot.edgeMiddle, spot.oppositeMiddle);
                                    return CreateDome(engine.m_view, params);
                                }});
            }
        }
    }
    Sweep({"CreateDome"}, runs);
}

TEST(BuilderSweep, CreateStairs)
{
    for (const bool up : {true, false}) {
        const CStairsParams params{.m_up = up};
        Sweep({up ? "CreateStairs up" : "CreateStairs down"},
              {{"defaults", [params](CFixtureEngine& engine, const CSpot& spot) {
                    PickTwo(engine, spot.centroid, spot.towardsEdge);
                    return CreateStairs(engine.m_view, params.m_count, params.m_totalHeight,
                                        params.m_totalDepth, params.m_up);
                }}});
    }
}

TEST(BuilderSweep, CreateLandscape)
{
    Sweep({"CreateLandscape"}, {{"defaults, seed 7", [](CFixtureEngine& engine, const CSpot& spot) {
                                     Seed(engine, 7);
                                     PickTwo(engine, spot.centroid, spot.towardsEdge);
                                     return CreateLandscape(engine.m_view,
                                                            LandscapeDefaults(engine.m_view));
                                 }}});
}

TEST(BuilderSweep, CreateSwitch)
{
    Sweep({"CreateSwitch", true},
          {{"defaults, lava.mat", [](CFixtureEngine& engine, const CSpot& spot) {
                PickTwo(engine, spot.centroid, spot.towardsEdge);
                CSwitchParams params;
                params.m_switchMaterial = "lava.mat";
                params.m_textureWidth = 32;
                params.m_textureHeight = 32;
                return CreateSwitch(engine.m_view, params);
            }}});
}

// The effects need a portal and refuse elsewhere; the belt goes on any surface.
TEST(BuilderSweep, SurfaceEffectsAndConveyor)
{
    std::vector<CRun> runs;
    for (const auto& [name, effect] :
         {std::pair{"water", &kWaterEffect}, std::pair{"force field", &kForceFieldEffect},
          std::pair{"breaking glass", &kBreakingGlassEffect},
          std::pair{"slashable grate", &kSlashableGrateEffect}}) {
        runs.push_back({name, [effect](CFixtureEngine& engine, const CSpot&) {
                            return CreateSurfaceEffect(engine.m_view, *effect);
                        }});
    }
    runs.push_back({"conveyor belt", [](CFixtureEngine& engine, const CSpot& spot) {
                        PickTwo(engine, spot.centroid, spot.towardsEdge);
                        return CreateConveyorBelt(engine.m_view);
                    }});
    Sweep({"surface effects", true}, runs);
}

// The shapes the sweep found the builders breaking: each refusal names itself and leaves the
// level byte for byte as it was, without an undo step.
TEST(BuilderSweep, ShapesThatWouldBreakASectorAreRefusedWithTheirMessage)
{
    struct {
        const char* name;
        CQzlSections (*make)();
        int sector;
        int surface;
        std::function<bool(C3dView&)> build;
        std::string_view message;
    } const cases[] = {
        // The wall meets its neighbours at 120 degrees: the wedges beside the platform would
        // not close.
        {"layer on a hexagon's wall", MakeHexRoom, 0, 2,
         [](C3dView& view) {
             CLayerParams params;
             params.m_height = 0.05f;
             params.m_indent = 0.0f;
             return CreateLayer(view, params);
         },
         kLayerShapeText},
        // The rings stand square on the wall and reach past its neighbours' planes.
        {"outside dome on a hexagon's wall", MakeHexRoom, 0, 2,
         [](C3dView& view) {
             CDomeParams params;
             params.m_splits = 1;
             return CreateDome(view, params);
         },
         kDomeShapeText},
        // The raised centres would dent the room behind the portal.
        {"landscape on a portal", MakeTwoJoinedRooms, 0, 3,
         [](C3dView& view) {
             CLandscapeParams params = LandscapeDefaults(view);
             params.m_node0 = {1, 0.5f, 0.5f};
             params.m_node1 = {1, 0.5f, 0.6f};
             return CreateLandscape(view, params);
         },
         kLandscapeShapeText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.make());
        Seed(engine, 7);
        C3dView& view = engine.m_view;
        RebuildAll(view, false, ERebuildAll::Restore);
        const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
        view.m_selection.m_sector = c.sector;
        view.m_selection.m_surface = c.surface;
        EXPECT_FALSE(RunUndoable(view, [&] { return c.build(view); }));
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{std::string(c.message)});
        EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
        EXPECT_FALSE(CanUndo(view));
    }
}

}  // namespace

// Layers on walls the builders' own rooms do not have. On a wall of the hexagon the neighbouring
// walls meet it at a slant, and the cuts along the radial planes through its corners must reach
// them, or the wedge beside the edge is open. On the wall below a floor split in two the ring
// piece along the floor has a corner in its middle but no area, and must go.
TEST(BuilderSweep, LayersOnSlantedAndSplitNeighboursCloseTheirSectors)
{
    struct {
        const char* name;
        CQzlSections (*make)();
        int surface;
        float height;
        std::size_t sectors;
    } const cases[] = {
        // The room above the platform and a wedge beside each slanted neighbour; the floor and
        // the ceiling stand square on the wall and leave no wedge.
        {"hexagon, wall 2", MakeHexRoom, 2, 0.3f, 3},
        {"hexagon, wall 4", MakeHexRoom, 4, 0.3f, 3},
        {"hexagon, wall 5", MakeHexRoom, 5, 0.3f, 3},
        {"hexagon, wall 7", MakeHexRoom, 7, 0.3f, 3},
        // Every neighbour stands square on the wall: no wedge at all.
        {"split floor, wall z = 0", SplitFloorRoom, 5, 0.05f, 1},
        {"split floor, wall z = 1", SplitFloorRoom, 6, 0.3f, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.make());
        CLayerParams params;
        params.m_height = c.height;
        params.m_indent = 0.0f;
        EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&] {
            engine.m_view.m_selection.m_sector = 0;
            engine.m_view.m_selection.m_surface = c.surface;
            return CreateLayer(engine.m_view, params);
        }));
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{});
        EXPECT_EQ(engine.m_level.m_sectors.size(), c.sectors);
    }
}

// A hand-built room a little out of true (one corner of its ceiling 0.002 too high, so that the
// ceiling and two walls are not flat) is what the builder found, not what it broke: the layer
// and the landscape on its floor are built, not refused.
TEST(BuilderSweep, ARoomAlreadyOutOfTrueDoesNotStopTheBuilders)
{
    const std::function<bool(C3dView&)> builds[] = {
        [](C3dView& view) {
            CLayerParams params;
            params.m_height = 0.1f;
            params.m_indent = 0.1f;
            return CreateLayer(view, params);
        },
        [](C3dView& view) {
            view.m_selection.m_pickedNodes = {{0.4f, 0.0f, 0.4f}, {0.4f, 0.0f, 0.6f}};
            CLandscapeParams params = LandscapeDefaults(view);
            params.m_splits = 1;
            params.m_minDepth = params.m_maxDepth = 0.0f;
            return CreateLandscape(view, params);
        },
    };
    for (const auto& build : builds) {
        CQzlSections level = MakeBoxRoom();
        const CQzlSurface& ceiling = *level.m_surfaces[kBoxCeiling];
        level.m_worldVertices[static_cast<std::size_t>(ceiling.m_vertices[0].m_worldVertex)].y +=
            0.002f;
        CFixtureEngine engine(std::move(level));
        Seed(engine, 7);
        C3dView& view = engine.m_view;
        RebuildAll(view, false, ERebuildAll::Restore);
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
        EXPECT_TRUE(RunUndoable(view, [&] { return build(view); }))
            << (engine.m_host.Messages().empty() ? std::string() : engine.m_host.Messages()[0]);
    }
}
