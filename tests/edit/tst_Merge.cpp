// Merge Surfaces and Merge Sectors: the partners the Merge dialog lists, the polygon a merge of two
// surfaces leaves (corners on straight edges gone, the texture continued), adjoined halves merged
// on both sides and linked again, the merges refused without a change, and sectors merged with
// their portals removed and the things of the second kept. Every merge is undone and redone
// exactly and followed by the level oracle; the fixture's game has no archive.

#include "LinkDeleteSupport.h"
#include "SurfaceAccess.h"

#include "edit/EdgeContacts.h"
#include "edit/Link.h"
#include "edit/Merge.h"
#include "edit/SplitSurface.h"
#include "edit/SurfaceCorners.h"
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
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using ECall = CRecordingEngineHost::ECall;

std::unique_ptr<CFixtureEngine> EngineOn(CQzlSections level, int sector, int surface = -1)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_selection.m_sector = sector;
    engine->m_view.m_selection.m_surface = surface;
    return engine;
}

// MakeTwoSquareFloor with the floor's texture at u = 100 x, v = 100 z on the first square and
// 400 further in u on the second.
CQzlSections TwoSquareFloor(const CTwoSquareFloor& shape)
{
    CQzlSections level = MakeTwoSquareFloor(shape);
    for (const int f : {0, 1}) {
        for (CQzlVertex& corner : Surface(level, f).m_vertices) {
            const CVector3 p = Position(level, corner);
            corner.m_u = 100.0f * p.x + (f == 1 ? 400.0f : 0.0f);
            corner.m_v = 100.0f * p.z;
        }
    }
    return level;
}

// Two joined rooms whose portal is split at z = 0.5 on both sides (Split Surface), two pairs of
// adjoined halves: sector 0's halves are surfaces 3 and 12, sector 1's 8 and 13.
std::unique_ptr<CFixtureEngine> RoomsJoinedByTwoPairs()
{
    auto engine = EngineOn(MakeTwoJoinedRooms(), 0, 3);
    C3dView& view = engine->m_view;
    engine->m_document.m_gridOn = 1;
    view.m_selection.m_pickedNodes = {{1, 0, 0.5f}, {1, 1, 0.5f}};
    EXPECT_TRUE(SplitSurface(view, true));
    engine->m_document.m_gridOn = 0;
    view.m_selection.m_pickedNodes.clear();
    EXPECT_EQ(engine->m_level.m_surfaces.size(), 14u);
    EXPECT_EQ(engine->m_level.m_adjoins.size(), 4u);
    return engine;
}

// A merge refused on the level that make gives, with the two numbers.
struct CRefusalCase {
    const char* name;
    std::function<std::unique_ptr<CFixtureEngine>()> make;
    int first;
    int second;
};

// Each merge refused: false, the stored bytes and the undo list as they were, no message.
void ExpectRefused(std::span<const CRefusalCase> cases, bool (*merge)(C3dView&, int, int))
{
    for (const CRefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = c.make();
        const Bytes before = WriteLevelBytes(engine->m_level);
        EXPECT_FALSE(
            RunUndoable(engine->m_view, [&] { return merge(engine->m_view, c.first, c.second); }));
        EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
        EXPECT_TRUE(engine->m_level.m_undoList.empty());
        EXPECT_EQ(engine->m_host.Count(ECall::ShowMessage), 0u);
    }
}

// ---- The partners the dialog lists ----

TEST(MergeCandidates, SurfacesAreListedInAscendingOrderWithDuplicatesKept)
{
    // A floor square in the middle of coplanar pieces of its sector: an L-shaped piece on two of
    // its edges, a square on a third; padding surfaces give them the numbers 3 (the L), 7 and 12.
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 up{1.5f, 5, 1.5f};
    const auto pad = [&](float y) {
        AddFacingSurface(level, s, up, {{0, y, 0}, {1, y, 0}, {0, y, 1}});
    };
    const int current =
        AddFacingSurface(level, s, up, {{1, 0, 1}, {2, 0, 1}, {2, 0, 2}, {1, 0, 2}});
    pad(10);
    pad(11);
    const int l = AddFacingSurface(
        level, s, up, {{0, 0, 0}, {2, 0, 0}, {2, 0, 1}, {1, 0, 1}, {1, 0, 2}, {0, 0, 2}});
    for (float y = 12; y < 15; ++y)
        pad(y);
    const int back = AddFacingSurface(level, s, up, {{1, 0, 2}, {2, 0, 2}, {2, 0, 3}, {1, 0, 3}});
    for (float y = 15; y < 19; ++y)
        pad(y);
    const int right = AddFacingSurface(level, s, up, {{2, 0, 1}, {3, 0, 1}, {3, 0, 2}, {2, 0, 2}});
    FinishFixture(level);
    ASSERT_EQ(l, 3);
    ASSERT_EQ(back, 7);
    ASSERT_EQ(right, 12);

    auto engine = EngineOn(std::move(level), s, current);
    std::vector<std::int32_t> contacts;
    CollectEdgeContacts(engine->m_level, s, current, contacts, true, true);
    ASSERT_FALSE(std::is_sorted(contacts.begin(), contacts.end()));
    EXPECT_EQ(MergeCandidates(engine->m_view, EMergeMode::Surfaces),
              (std::vector<int>{3, 3, 7, 12}));
}

TEST(MergeCandidates, ListsAndRefusals)
{
    struct CCase {
        const char* name;
        std::function<std::unique_ptr<CFixtureEngine>()> make;
        EMergeMode mode;
        std::vector<int> want;
    };
    const CCase cases[] = {
        {"the two floor squares",
         [] { return EngineOn(TwoSquareFloor({}), 0, 1); },
         EMergeMode::Surfaces,
         {0}},
        // The merge takes end points 0.01 apart, the list only 0.002.
        {"floor squares half a hundredth apart",
         [] { return EngineOn(TwoSquareFloor({.gap = 0.005f}), 0, 0); },
         EMergeMode::Surfaces,
         {}},
        {"adjoined halves of a portal", RoomsJoinedByTwoPairs, EMergeMode::Surfaces, {12}},
        {"a box's floor", [] { return EngineOn(MakeBoxRoom(), 0, 0); }, EMergeMode::Surfaces, {}},
        {"no current surface",
         [] { return EngineOn(TwoSquareFloor({}), 0, -1); },
         EMergeMode::Surfaces,
         {}},
        // In surface-list order: the sector across each adjoin, once per pair.
        {"the middle of the L corridor",
         [] { return EngineOn(MakeLCorridor(), 1); },
         EMergeMode::Sectors,
         {0, 2}},
        {"rooms joined by two pairs", RoomsJoinedByTwoPairs, EMergeMode::Sectors, {1, 1}},
        {"a box alone", [] { return EngineOn(MakeBoxRoom(), 0); }, EMergeMode::Sectors, {}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = c.make();
        EXPECT_EQ(MergeCandidates(engine->m_view, c.mode), c.want);
    }
    EXPECT_STREQ(MergeRefusal(EMergeMode::Surfaces),
                 "Cannot merge surfaces, since no shared surface edge exist.");
    EXPECT_STREQ(MergeRefusal(EMergeMode::Sectors),
                 "Cannot merge sectors, since no adjoined surface exist.");
}

// ---- Merge Surfaces ----

TEST(MergeSurfaces, TwoSquaresBecomeOnePolygon)
{
    struct CCase {
        const char* name;
        CTwoSquareFloor floor;
        int first;
        int second;
        Points outline;
    };
    const Points rectangle{{0, 0, 0}, {2, 0, 0}, {2, 0, 1}, {0, 0, 1}};
    const CCase cases[] = {
        // Both end points of the shared edge lie on straight edges only: a 4-corner rectangle.
        {"2 x 1 rectangle", {}, 0, 1, rectangle},
        {"chosen the other way round", {}, 1, 0, rectangle},
        // A wall that turns at an end point keeps it.
        {"near wall split",
         {.splitNearWall = true},
         0,
         1,
         {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 0, 1}, {0, 0, 1}}},
        {"both walls split",
         {.splitNearWall = true, .splitFarWall = true},
         0,
         1,
         {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 0, 1}, {1, 0, 1}, {0, 0, 1}}},
        // End points within 0.01 are one point: the second square's own corners there go.
        {"end points half a hundredth apart", {.gap = 0.005f}, 0, 1, rectangle},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = EngineOn(TwoSquareFloor(c.floor), 0, c.first);
        CQzlSections& level = engine->m_level;
        const std::size_t surfaces = level.m_surfaces.size();
        ASSERT_TRUE(UndoGivesBackExactBytes(
            engine->m_view, [&] { return MergeSurfaces(engine->m_view, c.first, c.second); }));
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_TRUE(RenderDataFollowsCorners(level));
        ASSERT_EQ(level.m_surfaces.size(), surfaces - 1);
        EXPECT_TRUE(SameOutline(Corners(level, 0), c.outline));
        // The texture runs on across the old edge: u = 100 x, v = 100 z (the second square's
        // corners taken 100 gap short where they were moved onto the first's).
        for (const CQzlVertex& corner : Surface(level, 0).m_vertices) {
            const CVector3 p = Position(level, corner);
            EXPECT_NEAR(corner.m_u, 100.0f * p.x, 100.0f * c.floor.gap + 0.01f);
            EXPECT_NEAR(corner.m_v, 100.0f * p.z, 0.01f);
        }
        const CSelection& selection = engine->m_view.m_selection;
        EXPECT_EQ(selection.m_sector, 0);
        EXPECT_EQ(selection.m_surface, 0);
        EXPECT_EQ(selection.m_vertexSurface, 0);
        EXPECT_EQ(selection.m_vertex, -1);
        EXPECT_EQ(engine->m_host.Count(ECall::ShowMessage), 0u);
    }
}

TEST(MergeSurfaces, AdjoinedHalvesMergeOnBothSidesAndLinkAgain)
{
    auto engine = RoomsJoinedByTwoPairs();
    CQzlSections& level = engine->m_level;
    C3dView& view = engine->m_view;
    ASSERT_TRUE(LevelIsSound(level));
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] { return MergeSurfaces(view, 12, 3); }));
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_TRUE(RenderDataFollowsCorners(level));
    ASSERT_EQ(level.m_surfaces.size(), 12u);
    ASSERT_EQ(level.m_adjoins.size(), 2u);
    const Points wall{{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}};
    EXPECT_TRUE(SameOutline(Corners(level, 3), wall));
    EXPECT_TRUE(SameOutline(Corners(level, 8), wall));
    const CTwin twin = FindTwin(level, 3);
    EXPECT_EQ(twin.m_sector, 1);
    EXPECT_EQ(twin.m_surface, 8);
    // Linked again with the portal look.
    EXPECT_EQ(Surface(level, 3).m_material, -1);
    EXPECT_EQ(Surface(level, 8).m_geo, 0);
    EXPECT_EQ(view.m_selection.m_sector, 0);
    EXPECT_EQ(view.m_selection.m_surface, 3);
}

TEST(MergeSurfaces, RefusedWithoutAChange)
{
    // A room whose wall x = 1 is two halves adjoined to two different rooms.
    const auto roomsOnHalves = [] {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {1, 0, 0}, {2, 1, 0.5f});
        AddBoxSector(level, {1, 0, 0.5f}, {2, 1, 1});
        FinishFixture(level);
        auto engine = EngineOn(std::move(level), 0, kBoxXHigh);
        engine->m_document.m_gridOn = 1;
        engine->m_view.m_selection.m_pickedNodes = {{1, 0, 0.5f}, {1, 1, 0.5f}};
        EXPECT_TRUE(SplitSurface(engine->m_view, true));
        engine->m_document.m_gridOn = 0;
        // The wall's halves are surfaces 3 and 18; the one reaching z = 1 joins the far room.
        const Points half = Corners(engine->m_level, 3);
        const bool far =
            std::any_of(half.begin(), half.end(), [](const CVector3& p) { return p.z > 0.75f; });
        JoinSurfaces(engine->m_level, far ? 18 : 3, BoxSurface(engine->m_level, 1, kBoxXLow));
        JoinSurfaces(engine->m_level, far ? 3 : 18, BoxSurface(engine->m_level, 2, kBoxXLow));
        FinishFixture(engine->m_level);
        return engine;
    };
    const CRefusalCase cases[] = {
        {"adjoins into different sectors", roomsOnHalves, 3, 18},
        {"one half adjoined, the other not",
         [] {
             auto engine = RoomsJoinedByTwoPairs();
             engine->m_view.m_selection.m_surface = 12;
             EXPECT_TRUE(UnlinkSurface(engine->m_view, true));
             return engine;
         },
         3, 12},
        // Merging the halves would unlink both pairs and leave the portal without a twin.
        {"twins that share no edge",
         [] {
             auto engine = RoomsJoinedByTwoPairs();
             CQzlSections& level = engine->m_level;
             CQzlVertex middle;
             middle.m_worldVertex = level.AddVertexXYZ(1, 0.5f, 0.5f);
             EXPECT_TRUE(InsertSurfaceVertex(level, Surface(level, 8), middle));
             return engine;
         },
         3, 12},
        {"floor and ceiling face away from each other",
         [] { return EngineOn(TwoSquareFloor({}), 0, 0); }, 0, 2},
        {"a floor and a wall share an edge but not the way they face",
         [] { return EngineOn(TwoSquareFloor({}), 0, 0); }, 0, 3},
        {"the same surface twice", [] { return EngineOn(TwoSquareFloor({}), 0, 0); }, 0, 0},
        {"a surface of another sector", [] { return EngineOn(MakeTwoJoinedRooms(), 0, 0); }, 0, 6},
        {"no current sector", [] { return EngineOn(TwoSquareFloor({}), -1, 0); }, 0, 1},
    };
    ExpectRefused(cases, MergeSurfaces);
}

// ---- Merge Sectors ----

TEST(MergeSectors, JoinedSectorsBecomeOne)
{
    struct CCase {
        const char* name;
        std::function<std::unique_ptr<CFixtureEngine>()> make;
        int first;
        int second;
        std::size_t sectors;
        std::size_t surfaces;
        std::size_t adjoins;
    };
    const CCase cases[] = {
        {"two joined rooms", [] { return EngineOn(MakeTwoJoinedRooms(), 0); }, 0, 1, 1, 10, 0},
        {"chosen from the second room", [] { return EngineOn(MakeTwoJoinedRooms(), 1); }, 1, 0, 1,
         10, 0},
        // Both pairs between them go.
        {"rooms joined by two pairs", RoomsJoinedByTwoPairs, 0, 1, 1, 10, 0},
        // The portal to the third room stays and follows the merged sector.
        {"the first two of the L corridor", [] { return EngineOn(MakeLCorridor(), 0); }, 0, 1, 2,
         16, 2},
        {"the last two of the L corridor", [] { return EngineOn(MakeLCorridor(), 2); }, 2, 1, 2, 16,
         2},
        {"a room above a room", [] { return EngineOn(MakeRoomAboveRoom(), 0); }, 0, 1, 1, 10, 0},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = c.make();
        CQzlSections& level = engine->m_level;
        C3dView& view = engine->m_view;
        engine->m_document.m_gridOn = 1;
        ASSERT_TRUE(
            UndoGivesBackExactBytes(view, [&] { return MergeSectors(view, c.first, c.second); }));
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_TRUE(RenderDataFollowsCorners(level));
        EXPECT_EQ(level.m_sectors.size(), c.sectors);
        EXPECT_EQ(level.m_surfaces.size(), c.surfaces);
        EXPECT_EQ(level.m_adjoins.size(), c.adjoins);
        const int kept = std::min(c.first, c.second);
        EXPECT_EQ(view.m_selection.m_sector, kept);
        EXPECT_EQ(view.m_selection.m_surface, -1);
        EXPECT_EQ(engine->m_document.m_gridOn, 0);
        for (const auto& adjoin : level.m_adjoins)
            EXPECT_NE(adjoin->m_otherSector, static_cast<std::int32_t>(level.m_sectors.size()));
        EXPECT_EQ(engine->m_host.Count(ECall::ShowMessage), 0u);
    }
}

TEST(MergeSectors, APortalWhoseMirrorIsNoneJoinsNothing)
{
    // The first room's side of the portal names no valid mirror: it must not be taken for a
    // join with one of the second room's walls (whose adjoin is none too).
    for (const std::int32_t mirror : {-1, 7, -9}) {
        SCOPED_TRACE(mirror);
        auto engine = EngineOn(MakeTwoJoinedRooms(), 0);
        CQzlSections& level = engine->m_level;
        level.m_adjoins[0]->m_mirror = mirror;
        EXPECT_FALSE(MergeSectors(engine->m_view, 0, 1));
        EXPECT_EQ(level.m_sectors.size(), 2u);
        EXPECT_EQ(level.m_surfaces.size(), 12u);
        EXPECT_EQ(level.m_adjoins.size(), 2u);
        EXPECT_EQ(level.m_adjoins[0]->m_mirror, mirror);
    }
}

TEST(MergeSectors, TheSecondSectorsThingsStayInTheMergedSector)
{
    CQzlSections level = MakeLCorridor();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    AddCrate(level, 2, {1.5f, 0.5f, 1.5f});
    auto engine = EngineOn(std::move(level), 1);
    ASSERT_TRUE(UndoGivesBackExactBytes(engine->m_view,
                                        [&] { return MergeSectors(engine->m_view, 1, 0); }));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    ASSERT_EQ(engine->m_level.m_things.size(), 3u);
    std::vector<std::int32_t> sectors;
    for (const auto& thing : engine->m_level.m_things)
        sectors.push_back(thing->m_sector);
    // Sector 1's crate stands in sector 0 now; sector 2 became sector 1.
    EXPECT_EQ(sectors, (std::vector<std::int32_t>{0, 0, 1}));
}

TEST(MergeSectors, RefusedUnlessJoined)
{
    const auto boxOnBox = [] {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {0, 1, 0}, {1, 2, 1});
        FinishFixture(level);
        return EngineOn(std::move(level), 0);
    };
    const CRefusalCase cases[] = {
        {"touching but not joined", boxOnBox, 0, 1},
        {"the ends of the L corridor", [] { return EngineOn(MakeLCorridor(), 0); }, 0, 2},
        {"a sector with itself", [] { return EngineOn(MakeTwoJoinedRooms(), 0); }, 0, 0},
        {"a sector the level does not have", [] { return EngineOn(MakeTwoJoinedRooms(), 0); }, 0,
         2},
    };
    ExpectRefused(cases, MergeSectors);
}

// ---- The commands ----

TEST(MergeCommand, RulesAndUndoSteps)
{
    auto engine = EngineOn(TwoSquareFloor({}), 0, 1);
    C3dView& view = engine->m_view;
    EXPECT_TRUE(CanMergeSurfaces(view));
    EXPECT_TRUE(CanMergeSectors(view));
    view.m_selection.m_surface = -1;
    EXPECT_FALSE(CanMergeSurfaces(view));
    EXPECT_FALSE(RunMergeCommand(view, EMergeMode::Surfaces, 0));
    view.m_selection.m_sector = -1;
    EXPECT_FALSE(CanMergeSectors(view));

    // A refused merge leaves no undo step; one that went through leaves one.
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = 1;
    EXPECT_FALSE(RunMergeCommand(view, EMergeMode::Surfaces, 2));
    EXPECT_TRUE(engine->m_level.m_undoList.empty());
    EXPECT_TRUE(RunMergeCommand(view, EMergeMode::Surfaces, 0));
    EXPECT_EQ(engine->m_level.m_undoList.size(), 1u);
    EXPECT_EQ(engine->m_level.m_surfaces.size(), 6u);
}

}  // namespace
