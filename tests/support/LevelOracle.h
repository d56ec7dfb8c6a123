#pragma once
// The level oracle: the one check every editing, building and clean-up test runs on the level
// after every operation. A level passes when
// - the level validator finds nothing (every index in range, adjoin mirrors pointing back);
// - every surface is listed by exactly one sector, once;
// - every adjoin is owned by exactly one surface, and its mirror is another adjoin that points
//   back;
// - every surface has at least three corners and no edge of length 0;
// - every sector is closed: each edge of its surfaces, cut at the sector's corners that lie on it
//   (a split surface leaves such T-junctions legally), is used exactly once in each direction;
// - every sector is convex: its surfaces are flat and all its corners lie on one side of each
//   surface's plane;
// - every surface's stored normal is the unit normal of its corners' winding and points into the
//   sector;
// - every thing lies inside the sector it names;
// - every world vertex's use count is the number of corners naming it;
// - the level checker (CLevelChecker::CheckLevel with the resources of synthetic game 0, so that
//   cog values are checked against the game's scripts, or the level's own where the game has
//   none; no models) finds nothing but what a sound level under construction may have. Like the
//   geometric rules it runs only when the validator's index and mirror checks pass. Each finding
//   line is one problem, except:
//     "Sector %d is not connected to other sectors": a level of one room, or a sector not yet
//     joined to the others, is where every level starts; the editor cannot avoid it while
//     building.
// Corners closer than 0.0001 count as one point.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class CQzlSections;

enum class EOracleRule : std::uint8_t {
    Validator,
    SurfaceListed,
    AdjoinOwned,
    Corners,
    Closed,
    Convex,
    Normal,
    ThingInside,
    UseCounts,
    Checker,
};

// The rule's name in problem texts: "validator", "surface listed", ...
const char* OracleRuleName(EOracleRule rule);

struct COracleProblem {
    EOracleRule rule;
    std::string text;
};

// Every problem the oracle finds, rule by rule. When the validator finds an index out of range
// the geometric rules and the checker are not run.
std::vector<COracleProblem> CheckLevelOracle(const CQzlSections& level);

// The same, where the checker's findings whose lines (without their "\n") are among accepted are
// no problem: for the few tests that build, on purpose, a level the checker warns about. Each
// caller says why.
std::vector<COracleProblem> CheckLevelOracle(const CQzlSections& level,
                                             std::initializer_list<std::string_view> accepted);

// For EXPECT_TRUE: success when the oracle finds nothing, else the problems, one a line.
::testing::AssertionResult LevelIsSound(const CQzlSections& level);
::testing::AssertionResult LevelIsSound(const CQzlSections& level,
                                        std::initializer_list<std::string_view> accepted);
