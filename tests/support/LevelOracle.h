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
// - every world vertex's use count is the number of corners naming it.
// Corners closer than 0.0001 count as one point.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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
};

// The rule's name in problem texts: "validator", "surface listed", ...
const char* OracleRuleName(EOracleRule rule);

struct COracleProblem {
    EOracleRule rule;
    std::string text;
};

// Every problem the oracle finds, rule by rule. When the validator finds an index out of range
// the geometric rules are not checked.
std::vector<COracleProblem> CheckLevelOracle(const CQzlSections& level);

// For EXPECT_TRUE: success when the oracle finds nothing, else the problems, one a line.
::testing::AssertionResult LevelIsSound(const CQzlSections& level);
