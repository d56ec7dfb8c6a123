// The visibility pass: the neighbour walk with its depth limit, doors and back-facing adjoins, and
// the portal walk with its clipping.

#include "engine/Visibility.h"

#include "GridLevel.h"
#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "support/DamagedLevels.h"
#include "support/FixtureLevels.h"
#include "support/VisibilityReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;
using Set = std::vector<std::int32_t>;

constexpr int kNeighbourWalk = 0;
constexpr int kPortalWalk = 2;

std::vector<Set> VisibleSets(const CQzlSections& level)
{
    std::vector<Set> sets;
    for (const auto& sector : level.m_sectors)
        sets.push_back(sector->m_visible);
    return sets;
}

std::vector<Set> Process(CFixtureEngine& f, int method, int removalLevel = 5)
{
    f.m_settings.m_renderMethod = method;
    f.m_settings.m_removalLevel = removalLevel;
    ProcessSectors(f.m_view);
    return VisibleSets(f.m_level);
}

// A thing standing in the middle of sector (whose box must be set).
void AddThing(CQzlSections& level, const std::string& templateName, int sector)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = templateName;
    thing->m_name = templateName;
    thing->m_sector = sector;
    const CBoundingBox& box = level.m_sectors[static_cast<std::size_t>(sector)]->m_boundBox;
    thing->m_position = (box.min + box.max) * 0.5f;
    level.m_things.push_back(std::move(thing));
}

// n boxes in a row along x, each joined to the next.
CQzlSections MakeCorridor(int n)
{
    CQzlSections level = MakeEmptyLevel();
    for (int i = 0; i < n; ++i)
        AddBoxSector(level, {static_cast<float>(i), 0, 0}, {static_cast<float>(i + 1), 1, 1});
    for (int i = 0; i + 1 < n; ++i)
        JoinSurfaces(level, BoxSurface(level, i, kBoxXHigh), BoxSurface(level, i + 1, kBoxXLow));
    FinishFixture(level);
    return level;
}

// The L corridor with a fourth room beside the first: 0 (x 0..1, z 0..1), 1 (x 1..2, z 0..1),
// 2 (x 1..2, z 1..2), 3 (x 0..1, z 1..2); 0-1 through x = 1, 1-2 through z = 1, 2-3 through
// x = 1 again. The way from 0 to 3 turns back against the adjoin it starts from.
CQzlSections MakeUCorridor()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    AddBoxSector(level, {1, 0, 1}, {2, 1, 2});
    AddBoxSector(level, {0, 0, 1}, {1, 1, 2});
    JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
    JoinSurfaces(level, BoxSurface(level, 1, kBoxZHigh), BoxSurface(level, 2, kBoxZLow));
    JoinSurfaces(level, BoxSurface(level, 2, kBoxXLow), BoxSurface(level, 3, kBoxXHigh));
    FinishFixture(level);
    return level;
}

// Cuts the x wall side of sector at height y into a lower piece (the old surface) and an upper
// piece (a new surface of the sector). Returns the upper piece's index.
int SplitWallAtHeight(CQzlSections& level, int sector, EBoxSide side, float y)
{
    const int lowerIndex = BoxSurface(level, sector, side);
    CQzlSurface& lower = *level.m_surfaces[static_cast<std::size_t>(lowerIndex)];
    CBoundingBox box{{1e9f, 1e9f, 1e9f}, {-1e9f, -1e9f, -1e9f}};
    for (const CQzlVertex& c : lower.m_vertices) {
        const CVector3 p = WorldPosition(level, c.m_worldVertex);
        box.min = VectorMin(box.min, p);
        box.max = VectorMax(box.max, p);
    }
    const CQzlSector& s = *level.m_sectors[static_cast<std::size_t>(sector)];
    CVector3 centre;
    for (const std::int32_t i : s.m_surfaces)
        for (const CQzlVertex& c : level.m_surfaces[static_cast<std::size_t>(i)]->m_vertices)
            centre = centre + WorldPosition(level, c.m_worldVertex) * 0.125f / 3.0f;

    const auto fill = [&](CQzlSurface& surface, float y0, float y1) {
        surface.m_vertices.clear();
        const float x = box.min.x;
        for (const CVector3& p : {CVector3{x, y0, box.min.z}, CVector3{x, y1, box.min.z},
                                  CVector3{x, y1, box.max.z}, CVector3{x, y0, box.max.z}}) {
            CQzlVertex v;
            v.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
            surface.m_vertices.push_back(v);
        }
        CalcSurfacePlane(level, surface);
        if (surface.m_normal.x * (centre.x - x) < 0.0f) {
            std::reverse(surface.m_vertices.begin(), surface.m_vertices.end());
            CalcSurfacePlane(level, surface);
        }
    };
    auto upper = std::make_unique<CQzlSurface>(lower, false, false);
    fill(lower, box.min.y, y);
    fill(*upper, y, box.max.y);
    const auto upperIndex = static_cast<std::int32_t>(level.m_surfaces.size());
    level.m_surfaces.push_back(std::move(upper));
    level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces.push_back(upperIndex);
    return upperIndex;
}

// Rooms in a row along x that climb: 0 (y 0..1), 1 a tall room (y 0..3), 2 and 3 high up
// (y 2..3). 0 opens into the bottom of 1's wall x = 1, 1 into 2 at the top of its wall x = 2,
// 2 into 3 through x = 3. From 0's opening the view through 1's high opening passes above 3.
CQzlSections MakeClimbingRooms()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1, 0, 0}, {2, 3, 1});
    AddBoxSector(level, {2, 2, 0}, {3, 3, 1});
    AddBoxSector(level, {3, 2, 0}, {4, 3, 1});
    SplitWallAtHeight(level, 1, kBoxXLow, 1.0f);
    const int high = SplitWallAtHeight(level, 1, kBoxXHigh, 2.0f);
    JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
    JoinSurfaces(level, high, BoxSurface(level, 2, kBoxXLow));
    JoinSurfaces(level, BoxSurface(level, 2, kBoxXHigh), BoxSurface(level, 3, kBoxXLow));
    FinishFixture(level);
    return level;
}

TEST(Visibility, RemovalLevelLimitsTheNeighbourWalk)
{
    struct CCase {
        int removalLevel;
        std::vector<Set> expected;
    };
    const CCase cases[] = {
        {0, {{0}, {1}, {2}}},
        {1, {{0, 1}, {0, 1, 2}, {1, 2}}},
        {2, {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}},
    };
    for (const CCase& c : cases) {
        CFixtureEngine f(MakeLCorridor());
        EXPECT_EQ(Process(f, kNeighbourWalk, c.removalLevel), c.expected)
            << "Removal Level " << c.removalLevel;
    }
    CFixtureEngine f(MakeCorridor(8));
    EXPECT_EQ(Process(f, kNeighbourWalk, 5)[0], (Set{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Process(f, kNeighbourWalk, 5)[4], (Set{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(Visibility, DoorOrElevatorStopsTheWalk)
{
    struct CCase {
        const char* templateName;
        bool stops;
    };
    const CCase cases[] = {
        {"door", true},       {"DOOR", true},   {"slidingdoor2", true}, {"elev", true},
        {"ELEVATOR_1", true}, {"crate", false}, {"elvator", false},
    };
    for (const CCase& c : cases) {
        CQzlSections level = MakeLCorridor();
        AddThing(level, c.templateName, 1);
        CFixtureEngine f(std::move(level));
        const std::vector<Set> sets = Process(f, kNeighbourWalk);
        // The neighbour holding it is seen; what lies beyond it is not.
        EXPECT_EQ(sets[0], c.stops ? (Set{0, 1}) : (Set{0, 1, 2})) << c.templateName;
        EXPECT_EQ(sets[2], c.stops ? (Set{1, 2}) : (Set{0, 1, 2})) << c.templateName;
        EXPECT_EQ(sets[1], (Set{0, 1, 2})) << c.templateName;
    }
}

TEST(Visibility, DoorReadFromATextLevelStopsTheWalk)
{
    // The text reader keeps template names in upper case.
    CQzlSections source = MakeLCorridor();
    AddThing(source, "door", 1);
    const CGameResources noGame;
    const std::string text = WriteQzl(source, noGame, 0);
    CQzlSections level;
    ReadQzl(level, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0);
    ASSERT_EQ(level.m_things.size(), 1u);
    ASSERT_EQ(level.m_things[0]->m_template, "DOOR");

    CFixtureEngine f(std::move(level));
    RebuildAll(f.m_view, true);
    EXPECT_EQ(Process(f, kNeighbourWalk)[0], (Set{0, 1}));
}

TEST(Visibility, NeighbourWalkSkipsAdjoinsFacingBack)
{
    // From 0 the way to 3 leads through 2's wall x = 1, whose normal (+x) is opposite to that of
    // 0's adjoin (-x): 3 stays unseen though it is only three steps away.
    CFixtureEngine f(MakeUCorridor());
    const std::vector<Set> sets = Process(f, kNeighbourWalk);
    EXPECT_EQ(sets[0], (Set{0, 1, 2}));
    EXPECT_EQ(sets[3], (Set{1, 2, 3}));
    EXPECT_EQ(sets[1], (Set{0, 1, 2, 3}));
    EXPECT_EQ(sets[2], (Set{0, 1, 2, 3}));
}

TEST(Visibility, PortalWalk)
{
    {
        CFixtureEngine f(MakeCorridor(3));
        RebuildAll(f.m_view, true);
        EXPECT_EQ(Process(f, kPortalWalk), (std::vector<Set>{{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}));
    }
    {
        // No depth limit: down a straight corridor everything is in view.
        CFixtureEngine f(MakeCorridor(8));
        RebuildAll(f.m_view, true);
        EXPECT_EQ(Process(f, kPortalWalk, 1)[0], (Set{0, 1, 2, 3, 4, 5, 6, 7}));
    }
    {
        // Around the corner and back: the last room lies behind the first one's opening.
        CFixtureEngine f(MakeUCorridor());
        RebuildAll(f.m_view, true);
        EXPECT_EQ(Process(f, kPortalWalk)[0], (Set{0, 1, 2}));
    }
    {
        // Rooms that climb: the view from 0 through 1's high opening passes above 3, which the
        // neighbour walk still reaches.
        CFixtureEngine f(MakeClimbingRooms());
        RebuildAll(f.m_view, true);
        EXPECT_EQ(Process(f, kPortalWalk)[0], (Set{0, 1, 2}));
        EXPECT_EQ(Process(f, kPortalWalk)[3], (Set{1, 2, 3}));
        EXPECT_EQ(Process(f, kNeighbourWalk)[0], (Set{0, 1, 2, 3}));
    }
}

TEST(Visibility, AdjoinWithoutASectorBehindItAddsNothing)
{
    for (const int method : {kNeighbourWalk, kPortalWalk}) {
        CFixtureEngine f(MakeTwoJoinedRooms());
        for (auto& adjoin : f.m_level.m_adjoins) {
            adjoin->m_mirror = -1;
            adjoin->m_otherSector = -1;
            adjoin->m_otherSurface = -1;
        }
        RebuildAll(f.m_view, true);
        EXPECT_EQ(Process(f, method), (std::vector<Set>{{0}, {1}})) << method;
    }
}

TEST(Visibility, PassRelinksAdjoinsReportsProgressAndLeavesNoVisitingFlags)
{
    CFixtureEngine f(MakeLCorridor());
    for (auto& adjoin : f.m_level.m_adjoins) {
        adjoin->m_otherSector = -1;
        adjoin->m_otherSurface = -1;
    }
    f.m_level.m_sectors[1]->m_visible = {7, 8, 9};
    int steps = 0;
    ProcessSectors(f.m_view, [&] { ++steps; });

    EXPECT_EQ(steps, 3);
    EXPECT_EQ(f.m_level.m_adjoins[0]->m_otherSector, 1);
    EXPECT_EQ(f.m_level.m_sectors[1]->m_visible, (Set{0, 1, 2}));
    std::vector<std::string> texts;
    for (const auto& call : f.m_host.m_calls)
        if (call.kind == ECall::SetStatusText)
            texts.push_back(call.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Sector 0 processed...", "Sector 1 processed...",
                                               "Sector 2 processed..."}));
    for (const auto& sector : f.m_level.m_sectors)
        EXPECT_EQ(sector->m_runtime[2], 0);

    // A sector without adjoins sees only itself.
    CFixtureEngine box(MakeBoxRoom());
    EXPECT_EQ(Process(box, kPortalWalk), (std::vector<Set>{{0}}));
    EXPECT_EQ(Process(box, kNeighbourWalk), (std::vector<Set>{{0}}));
}

TEST(Visibility, SetsAreSortedAndHoldTheirOwnSectorOnAnOpenGrid)
{
    for (const int method : {kNeighbourWalk, kPortalWalk}) {
        CQzlSections level;
        GenerateGridLevel(level, 30);
        CFixtureEngine f(std::move(level));
        RebuildAll(f.m_view, true);
        const std::vector<Set> sets = Process(f, method);
        for (std::size_t i = 0; i < sets.size(); ++i) {
            const Set& s = sets[i];
            EXPECT_TRUE(std::is_sorted(s.begin(), s.end())) << method << " " << i;
            EXPECT_EQ(std::adjacent_find(s.begin(), s.end()), s.end()) << method << " " << i;
            EXPECT_TRUE(std::binary_search(s.begin(), s.end(), static_cast<std::int32_t>(i)));
            EXPECT_GT(s.size(), 1u);
            for (const std::int32_t v : s)
                EXPECT_TRUE(v >= 0 && v < 30);
        }
    }
}

// Runs the plain pass and the threaded one with the method and depth, and expects the same set
// for every sector (reporting the first sector that differs) and no visiting flag left set.
void ExpectSameSets(CFixtureEngine& f, int method, int removalLevel, const std::string& what)
{
    SCOPED_TRACE(what + " method " + std::to_string(method) + " depth " +
                 std::to_string(removalLevel));
    f.m_settings.m_renderMethod = method;
    f.m_settings.m_removalLevel = removalLevel;
    ReferenceProcessSectors(f.m_view);
    const std::vector<Set> want = VisibleSets(f.m_level);
    for (auto& sector : f.m_level.m_sectors)
        sector->m_visible = {-7, 12345};
    ProcessSectors(f.m_view);
    const std::vector<Set> got = VisibleSets(f.m_level);

    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        if (got[i] != want[i]) {
            ADD_FAILURE() << "sector " << i << " sees " << ::testing::PrintToString(got[i])
                          << ", the plain pass " << ::testing::PrintToString(want[i]);
            break;
        }
    for (const auto& sector : f.m_level.m_sectors)
        ASSERT_EQ(sector->m_runtime[2], 0);
}

CQzlSections Grid(int sectors, EGridVertices vertices)
{
    CQzlSections level;
    GenerateGridLevel(level, sectors, vertices);
    return level;
}

// Doors and elevators scattered over a level, in both letter cases.
void AddDoors(CQzlSections& level)
{
    for (std::size_t s = 1; s < level.m_sectors.size(); s += 7)
        AddThing(level, s % 2 == 0 ? "DOOR_A" : "elev1", static_cast<int>(s));
}

struct CLevelCase {
    const char* name;
    CQzlSections (*make)();
    bool portalWalk;  // also compared with the portal walk (the slow oracle of a large level)
    void (*dress)(CQzlSections&) = nullptr;  // changes the level after its rebuild
};

const CLevelCase kLevels[] = {
    {"two joined rooms", MakeTwoJoinedRooms, true},
    {"L corridor with an elevator", MakeLCorridor, true, AddDoors},
    {"L corridor", MakeLCorridor, true},
    {"room above room", MakeRoomAboveRoom, true},
    {"grid of 200, shared vertices", [] { return Grid(200, EGridVertices::shared); }, true},
    {"grid of 200, own vertices", [] { return Grid(200, EGridVertices::ownPerBox); }, true},
    {"grid of 200 with doors and elevators", [] { return Grid(200, EGridVertices::shared); }, true,
     AddDoors},
    {"grid of 1000, shared vertices", [] { return Grid(1000, EGridVertices::shared); }, false},
    {"grid of 1000, own vertices", [] { return Grid(1000, EGridVertices::ownPerBox); }, false},
};

void PrintTo(const CLevelCase& c, std::ostream* os)
{
    *os << c.name;
}

class VisibilitySetsOnLevel : public ::testing::TestWithParam<CLevelCase> {};

TEST_P(VisibilitySetsOnLevel, EqualThePlainPass)
{
    const CLevelCase& c = GetParam();
    CFixtureEngine f(c.make());
    RebuildAll(f.m_view, true);
    if (c.dress)
        c.dress(f.m_level);
    for (const int depth : {1, 5, 100})
        ExpectSameSets(f, kNeighbourWalk, depth, c.name);
    if (c.portalWalk)
        ExpectSameSets(f, kPortalWalk, 5, c.name);
}

INSTANTIATE_TEST_SUITE_P(FixturesAndGrids, VisibilitySetsOnLevel, ::testing::ValuesIn(kLevels));

// Damage in one index of a small level, and the same kinds of damage spread over a grid whose
// sectors the pass hands to several threads: nothing is read outside a list and the sets are
// the plain pass's.
TEST(VisibilitySets, DamagedLevelsEqualThePlainPass)
{
    for (const CDamagedLevel& damage : DamagedLevels()) {
        CFixtureEngine f(MakeDamagedLevel(damage));
        for (const int method : {kNeighbourWalk, kPortalWalk})
            ExpectSameSets(f, method, 5, damage.m_name);
    }

    CFixtureEngine f(Grid(200, EGridVertices::shared));
    RebuildAll(f.m_view, true);
    CQzlSections& level = f.m_level;
    const auto adjoins = static_cast<std::int32_t>(level.m_adjoins.size());
    for (std::size_t s = 0; s < level.m_surfaces.size(); s += 13) {
        CQzlSurface& surface = *level.m_surfaces[s];
        if (surface.m_adjoin >= 0)
            surface.m_adjoin = s % 2 == 0 ? adjoins + 5 : -9;  // an adjoin to nothing
    }
    for (std::size_t a = 0; a < level.m_adjoins.size(); a += 17)
        level.m_adjoins[a]->m_mirror = adjoins * 3;  // links to no adjoin
    level.m_sectors[10]->m_surfaces.push_back(static_cast<std::int32_t>(level.m_surfaces.size()));
    level.m_sectors[11]->m_surfaces.push_back(-3);
    level.m_surfaces[40]->m_vertices[0].m_worldVertex =
        static_cast<std::int32_t>(level.m_worldVertices.size()) + 2;
    AddThing(level, "door", 0);
    level.m_things.back()->m_sector = 9999;
    AddThing(level, "elev", 0);
    level.m_things.back()->m_sector = -2;
    for (const int method : {kNeighbourWalk, kPortalWalk})
        ExpectSameSets(f, method, 100, "damaged grid");
}

TEST(VisibilitySets, ProgressAndStatusTextComeFromTheCallingThreadInOrder)
{
    CFixtureEngine f(Grid(200, EGridVertices::shared));
    RebuildAll(f.m_view, true);
    f.m_host.m_calls.clear();
    f.m_settings.m_renderMethod = kPortalWalk;
    const std::thread::id caller = std::this_thread::get_id();
    int steps = 0;
    bool elsewhere = false;
    ProcessSectors(f.m_view, [&] {
        ++steps;
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
    });

    EXPECT_EQ(steps, 200);
    EXPECT_FALSE(elsewhere);
    std::vector<std::string> texts;
    std::vector<std::string> want;
    for (const auto& call : f.m_host.m_calls)
        if (call.kind == ECall::SetStatusText)
            texts.push_back(call.text);
    for (int i = 0; i < 200; ++i)
        want.push_back("Sector " + std::to_string(i) + " processed...");
    EXPECT_EQ(texts, want);

    // A level without sectors is passed over without a step.
    CFixtureEngine empty(MakeEmptyLevel());
    steps = 0;
    ProcessSectors(empty.m_view, [&] { ++steps; });
    EXPECT_EQ(steps, 0);
}

}  // namespace
