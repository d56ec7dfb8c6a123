// Clipping a column's or a pyramid's footprint to the surface it stands on: corners inside stay,
// crossings come in where the outline really leaves the surface, and the footprint starts with
// the edge along the depth axis.

#include "tools/Footprint.h"

#include "support/PointLists.h"

#include <gtest/gtest.h>

namespace {

// A floor from (0, 0) to (4, 4) at z = 0, normal up; its edges are x = 0, y = 4, x = 4, y = 0.
const Points kFloor = {{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 0, 0}};
const CVector3 kUp{0, 0, 1};
const CVector3 kAlongY{0, 1, 0};

TEST(ClipFootprint, KeepsInsideCornersAndAddsTheCrossingsOfTheEdgeReallyCrossed)
{
    struct {
        const char* name;
        Points corners;
        Points want;
    } const cases[] = {
        {"wholly inside: the four corners, starting with the edge along the axis",
         {{1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 1, 0}},
         {{1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 1, 0}}},
        {"crossing one edge: the outer corners drop, the crossings on x = 4 come in",
         {{3, 1, 0}, {3, 2, 0}, {5, 2, 0}, {5, 1, 0}},
         {{3, 1, 0}, {3, 2, 0}, {4, 2, 0}, {4, 1, 0}}},
        {"a corner on the outline counts as inside",
         {{3, 1, 0}, {3, 2, 0}, {4.0005f, 2, 0}, {4.0005f, 1, 0}},
         {{3, 1, 0}, {3, 2, 0}, {4.0005f, 2, 0}, {4.0005f, 1, 0}}},
        // The inner corner lies nearest to y = 4, the outer one nearest to x = 4: the edge
        // leaves through x = 4, not through the edge of the smaller index.
        {"leaving near a corner of the surface",
         {{3.5f, 3.9f, 0}, {4.3f, 3.95f, 0}, {3.5f, 3.0f, 0}},
         {{3.5f, 3.0f, 0}, {3.5f, 3.9f, 0}, {4, 3.93125f, 0}, {4, 3.59375f, 0}}},
        // Nearest to x = 0 inside and to y = 0 outside: the crossing lies on y = 0, where the
        // edge meets the surface's outline, not on x = 0 beyond the edge's end.
        {"leaving through the edge after the last one",
         {{0.1f, 0.5f, 0}, {1, -0.5f, 0}, {1, 1, 0}},
         {{1, 0, 0}, {1, 1, 0}, {0.1f, 0.5f, 0}, {0.55f, 0, 0}}},
        {"a triangle stays three points",
         {{1, 1, 0}, {1, 3, 0}, {3, 1, 0}},
         {{1, 1, 0}, {1, 3, 0}, {3, 1, 0}}},
        {"wholly outside: nothing", {{5, 5, 0}, {5, 6, 0}, {6, 6, 0}, {6, 5, 0}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SamePoints(ClipFootprint(c.corners, kFloor, kUp, kAlongY), c.want));
    }
}

TEST(ClipFootprint, StartsWithTheFirstEdgeAlongTheAxis)
{
    const Points square = {{1, 2, 0}, {2, 2, 0}, {2, 1, 0}, {1, 1, 0}};
    struct {
        const char* name;
        CVector3 axis;
        Points want;
    } const cases[] = {
        {"along +y: the fourth edge", {0, 1, 0}, {{1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 1, 0}}},
        {"along +x: the first edge", {1, 0, 0}, square},
        {"along -y: the second edge", {0, -1, 0}, {{2, 2, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}}},
        {"no edge along the axis: the first point", {0.7071f, 0.7071f, 0}, square},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SamePoints(ClipFootprint(square, kFloor, kUp, c.axis), c.want));
    }
}

TEST(FootprintHasOverlap, OnlyExactlyEqualEntriesOverlap)
{
    EXPECT_TRUE(FootprintHasOverlap(Points{{1, 1, 0}, {2, 1, 0}, {1, 1, 0}}));
    EXPECT_FALSE(FootprintHasOverlap(Points{{1, 1, 0}, {1.00001f, 1, 0}, {2, 2, 0}}));
    EXPECT_FALSE(FootprintHasOverlap(Points{}));
}

}  // namespace

namespace {

TEST(RectangleCorners, CentredOnTheBaseWidthAcrossAndDepthAlong)
{
    EXPECT_TRUE(SamePoints(RectangleCorners({2, 0, 2}, 0.4f, 0.2f, {0, 0, 1}, {1, 0, 0}),
                           {{1.8f, 0, 1.9f}, {1.8f, 0, 2.1f}, {2.2f, 0, 2.1f}, {2.2f, 0, 1.9f}}));
}

TEST(CylinderOutline, EdgesTouchTheCircleAndTheClippedOutlineStartsAlongTheDepthAxis)
{
    // Four sides of radius 1: corners at 45, 135, 225 and 315 degrees from the width axis x
    // towards the depth axis y, 1.41421 out; the square's sides are 2 long.
    const Points outline = CylinderOutline({2, 2, 0}, 4, 1.0f, {0, 1, 0}, {1, 0, 0});
    EXPECT_TRUE(SamePoints(outline, {{3, 3, 0}, {1, 3, 0}, {1, 1, 0}, {3, 1, 0}}));
    // On the floor the list begins at the 315-degree corner, whose edge runs along y.
    EXPECT_TRUE(SamePoints(ClipFootprint(outline, kFloor, kUp, kAlongY),
                           {{3, 1, 0}, {3, 3, 0}, {1, 3, 0}, {1, 1, 0}}));
}

TEST(Spins, SidesAndRadiusWrapAtTheirEnds)
{
    struct {
        int sides;
        int delta;
        int want;
    } const sides[] = {{4, -1, 5}, {4, 1, 3}, {3, 1, 24}, {24, -1, 3}, {23, -1, 24}};
    for (const auto& c : sides)
        EXPECT_EQ(SpinSides(c.sides, c.delta), c.want) << c.sides << " " << c.delta;
    struct {
        float radius;
        int delta;
        float want;
    } const radii[] = {{0.5f, -1, 0.51f}, {0.5f, 1, 0.49f}, {0.1f, 1, 100.0f}, {100.0f, -1, 0.1f}};
    for (const auto& c : radii)
        EXPECT_NEAR(SpinRadius(c.radius, c.delta), c.want, 1e-5f) << c.radius << " " << c.delta;
}

}  // namespace
