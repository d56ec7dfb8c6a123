// The level oracle of the editing tests: sound fixture levels pass, and each of its rules catches
// a level broken in its way.

#include "geometry/Predicates.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/VertexUses.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Face = std::vector<CVector3>;
using Rules = std::set<EOracleRule>;

// Appends a sector of the given faces, each turned to face inside.
void AddSector(CQzlSections& level, const std::vector<Face>& faces, const CVector3& inside)
{
    const int sector = AddEmptySector(level);
    for (const Face& face : faces)
        AddFacingSurface(level, sector, inside, face);
}

void Finish(CQzlSections& level)
{
    CountVertexUses(level);
    FinishFixture(level);
}

// The box (0, 0, 0) to (1, 1, 1) with its wall x = 0 split in two along z = 0.5: the floor and
// the ceiling meet the split at a T-junction.
CQzlSections SplitWallBox()
{
    CQzlSections level = MakeEmptyLevel();
    AddSector(level,
              {
                  {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
                  {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}},
                  {{0, 0, 0}, {0, 1, 0}, {0, 1, 0.5f}, {0, 0, 0.5f}},
                  {{0, 0, 0.5f}, {0, 1, 0.5f}, {0, 1, 1}, {0, 0, 1}},
                  {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}},
                  {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                  {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
              },
              {0.5f, 0.5f, 0.5f});
    Finish(level);
    return level;
}

// A box 2 wide whose ceiling sinks to a valley at x = 1: closed, every face flat and facing in,
// yet the corners of the far rim lie above the plane of either half of the roof.
CQzlSections ValleyRoof()
{
    CQzlSections level = MakeEmptyLevel();
    const auto end = [](float z) {
        return Face{{0, 0, z}, {2, 0, z}, {2, 1, z}, {1, 0.7f, z}, {0, 1, z}};
    };
    AddSector(level,
              {
                  {{0, 0, 0}, {2, 0, 0}, {2, 0, 1}, {0, 0, 1}},
                  {{0, 1, 0}, {1, 0.7f, 0}, {1, 0.7f, 1}, {0, 1, 1}},
                  {{1, 0.7f, 0}, {2, 1, 0}, {2, 1, 1}, {1, 0.7f, 1}},
                  {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}},
                  {{2, 0, 0}, {2, 1, 0}, {2, 1, 1}, {2, 0, 1}},
                  end(0),
                  end(1),
              },
              {1, 0.3f, 0.5f});
    Finish(level);
    return level;
}

// The box room with a copy of its floor cut to its first corners, listed by the sector or not.
CQzlSections BoxWithFloorCopy(std::size_t corners, bool listed)
{
    CQzlSections level = MakeBoxRoom();
    level.m_surfaces.push_back(std::make_unique<CQzlSurface>(*level.m_surfaces[0], true, false));
    level.m_surfaces.back()->m_vertices.resize(corners);
    if (listed)
        level.m_sectors[0]->m_surfaces.push_back(
            static_cast<std::int32_t>(level.m_surfaces.size() - 1));
    CountVertexUses(level);
    return level;
}

void AddThingAt(CQzlSections& level, std::int32_t sector, const CVector3& position)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "crate";
    thing->m_sector = sector;
    thing->m_position = position;
    level.m_things.push_back(std::move(thing));
}

CQzlSurface& Surface(CQzlSections& level, int sector, EBoxSide side)
{
    return *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, side))];
}

// A box, and in it a slice from x = 0.25 to 0.75 as a room of its own: each is closed and convex,
// so only the checker sees that they overlap (at the slice's two walls inside the box).
CQzlSections OverlappingBoxes()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {0.25f, 0, 0}, {0.75f, 1, 1});
    Finish(level);
    return level;
}

Rules RulesOf(const std::vector<COracleProblem>& problems)
{
    Rules rules;
    for (const COracleProblem& problem : problems)
        rules.insert(problem.rule);
    return rules;
}

TEST(LevelOracle, SoundLevelsPass)
{
    struct SoundCase {
        const char* name;
        std::function<CQzlSections()> make;
    };
    const SoundCase cases[] = {
        {"box room", MakeBoxRoom},
        {"two joined rooms", MakeTwoJoinedRooms},
        {"L corridor with things",
         [] {
             CQzlSections level = MakeLCorridor();
             AddThingAt(level, 0, {0.5f, 0.0f, 0.5f});  // standing on the floor
             AddThingAt(level, 2, {1.5f, 0.5f, 1.5f});
             return level;
         }},
        {"room above room", MakeRoomAboveRoom},
        {"a thing standing on the floor of the upper room",
         [] {
             CQzlSections level = MakeRoomAboveRoom();
             AddThingAt(level, 1, {0.5f, 1.0f, 0.5f});
             return level;
         }},
        {"a split wall leaves T-junctions", SplitWallBox},
        {"a cog whose values fit its script",
         [] {
             CQzlSections level = MakeBoxRoom();
             AddCog(level, "door.cog", {"0", "0", "-1"});
             return level;
         }},
    };
    for (const SoundCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(LevelIsSound(c.make()));
    }
}

struct BrokenCase {
    const char* name;
    std::function<CQzlSections()> make;
    Rules rules;  // exactly the rules that must catch it
};

TEST(LevelOracle, EachRuleCatchesItsBrokenLevel)
{
    using enum EOracleRule;
    const BrokenCase cases[] = {
        {"a material index out of range",
         [] {
             CQzlSections level = MakeBoxRoom();
             Surface(level, 0, kBoxFloor).m_material = 5;
             return level;
         },
         {Validator}},
        {"a surface no sector lists", [] { return BoxWithFloorCopy(4, false); }, {SurfaceListed}},
        {"a surface two sectors list",
         [] {
             CQzlSections level = MakeTwoJoinedRooms();
             level.m_sectors[1]->m_surfaces.push_back(BoxSurface(level, 0, kBoxFloor));
             return level;
         },
         {SurfaceListed, Closed, Convex, Checker}},
        {"an adjoin two surfaces own, its mirror none",
         [] {
             CQzlSections level = MakeTwoJoinedRooms();
             Surface(level, 1, kBoxXLow).m_adjoin = 0;
             return level;
         },
         {AdjoinOwned, Checker}},
        {"an adjoin that is its own mirror",
         [] {
             CQzlSections level = MakeTwoJoinedRooms();
             level.m_adjoins[0]->m_mirror = 0;
             level.m_adjoins[1]->m_mirror = 1;
             return level;
         },
         {AdjoinOwned, Checker}},
        {"a surface of two corners",
         [] { return BoxWithFloorCopy(2, true); },
         {Corners, Closed, Normal, Checker}},
        {"a corner named twice in a row",
         [] {
             CQzlSections level = MakeBoxRoom();
             auto& corners = Surface(level, 0, kBoxFloor).m_vertices;
             corners.insert(corners.begin() + 1, corners[1]);
             CountVertexUses(level);
             return level;
         },
         {Corners, Checker}},
        {"a missing wall",
         [] {
             CQzlSections level = MakeBoxRoom();
             DeleteSurface(level, CGameResources{}, BoxSurface(level, 0, kBoxXLow));
             return level;
         },
         {Closed, Checker}},
        {"half of a split wall missing",
         [] {
             CQzlSections level = SplitWallBox();
             DeleteSurface(level, CGameResources{}, 3);
             return level;
         },
         {Closed, Checker}},
        {"a valley in the roof", ValleyRoof, {Convex, Checker}},
        {"a surface that is not flat",
         [] {
             CQzlSections level = MakeBoxRoom();
             const int corner = level.AddVertexXYZ(1, 1, 1);
             level.m_worldVertices[static_cast<std::size_t>(corner)].y = 1.2f;
             for (auto& surface : level.m_surfaces)
                 CalcSurfacePlane(level, *surface);
             CountVertexUses(level);
             return level;
         },
         {Convex, Checker}},
        {"a normal turned round",
         [] {
             CQzlSections level = MakeBoxRoom();
             CQzlSurface& floor = Surface(level, 0, kBoxFloor);
             floor.m_normal = floor.m_normal * -1.0f;
             return level;
         },
         {Normal, Checker}},
        {"a sector turned inside out",
         [] {
             CQzlSections level = MakeBoxRoom();
             for (auto& surface : level.m_surfaces) {
                 std::reverse(surface->m_vertices.begin(), surface->m_vertices.end());
                 CalcSurfacePlane(level, *surface);
             }
             return level;
         },
         {Normal, Checker}},
        {"a thing in the next room",
         [] {
             CQzlSections level = MakeTwoJoinedRooms();
             AddThingAt(level, 0, {1.5f, 0.5f, 0.5f});
             return level;
         },
         {ThingInside, Checker}},
        {"a thing in no sector",
         [] {
             CQzlSections level = MakeBoxRoom();
             AddThingAt(level, -1, {0.5f, 0.5f, 0.5f});
             return level;
         },
         {ThingInside, Checker}},
        {"a use count one too high",
         [] {
             CQzlSections level = MakeBoxRoom();
             ++level.m_useCounts[3];
             return level;
         },
         {UseCounts}},
        {"a cog value beyond the sectors",
         [] {
             CQzlSections level = MakeBoxRoom();
             AddCog(level, "door.cog", {"0", "1", "-1"});
             return level;
         },
         {Checker}},
        {"two rooms overlapping", OverlappingBoxes, {Checker}},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CQzlSections level = c.make();
        const std::vector<COracleProblem> problems = CheckLevelOracle(level);
        EXPECT_EQ(RulesOf(problems), c.rules) << LevelIsSound(level).message();
        EXPECT_FALSE(LevelIsSound(level));
    }
}

// A caller may name checker findings its level has on purpose; the others remain problems.
TEST(LevelOracle, OnlyTheCheckerFindingsNamedByTheCallerAreAccepted)
{
    const CQzlSections level = OverlappingBoxes();
    std::vector<std::string> lines;
    for (const COracleProblem& problem : CheckLevelOracle(level)) {
        EXPECT_EQ(problem.rule, EOracleRule::Checker);
        lines.push_back(problem.text);
    }
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<COracleProblem> rest = CheckLevelOracle(level, {lines[0]});
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].text, lines[1]);
    EXPECT_TRUE(LevelIsSound(level, {lines[1], lines[0]}));
    // Only the whole line counts.
    EXPECT_FALSE(LevelIsSound(level, {"In Sector 0", lines[1]}));
}

}  // namespace
