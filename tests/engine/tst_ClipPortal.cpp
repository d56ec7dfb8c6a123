// The clip step of the portal walk: the part of a portal an eye sees through a polygon.

#include "engine/ClipPortal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Polygon = std::vector<CVector3>;

// A square in the plane z = depth from (x0, y0) to (x1, y1), counter-clockwise seen from -z.
Polygon Square(float x0, float y0, float x1, float y1, float depth)
{
    return {{x0, y0, depth}, {x1, y0, depth}, {x1, y1, depth}, {x0, y1, depth}};
}

struct CExtent {
    float minX, maxX, minY, maxY;
};

CExtent Extent(const Polygon& poly)
{
    CExtent e{1e9f, -1e9f, 1e9f, -1e9f};
    for (const CVector3& p : poly) {
        e.minX = std::min(e.minX, p.x);
        e.maxX = std::max(e.maxX, p.x);
        e.minY = std::min(e.minY, p.y);
        e.maxY = std::max(e.maxY, p.y);
    }
    return e;
}

const CVector3 kEye{0.0f, 0.0f, 0.0f};

TEST(ClipPortal, NothingClippedYetShowsTheWholePortal)
{
    const Polygon portal = Square(-1, -1, 1, 1, 1);
    Polygon out{{9, 9, 9}};
    ASSERT_TRUE(ClipPortal({}, portal, kEye, out));
    EXPECT_EQ(out, portal);
    // Also when the eye lies in its plane.
    ASSERT_TRUE(ClipPortal({}, portal, CVector3{5.0f, 0.0f, 1.0f}, out));
    EXPECT_EQ(out, portal);
}

TEST(ClipPortal, CutsThePortalToTheViewThroughTheClipPolygon)
{
    // Through the square of half-size 1 at depth 1, the eye sees a square of half-size 2 at
    // depth 2: of a portal from x = 0 to 4 only x = 0 to 2 remains.
    const Polygon clip = Square(-1, -1, 1, 1, 1);
    const Polygon portal = Square(0, -1, 4, 1, 2);
    Polygon out;
    ASSERT_TRUE(ClipPortal(clip, portal, kEye, out));
    const CExtent e = Extent(out);
    EXPECT_NEAR(e.minX, 0.0f, 1e-5f);
    EXPECT_NEAR(e.maxX, 2.0f, 1e-5f);
    EXPECT_NEAR(e.minY, -1.0f, 1e-5f);
    EXPECT_NEAR(e.maxY, 1.0f, 1e-5f);
    for (const CVector3& p : out)
        EXPECT_FLOAT_EQ(p.z, 2.0f);

    // The winding of either polygon does not matter.
    Polygon reversed(clip.rbegin(), clip.rend());
    Polygon out2;
    ASSERT_TRUE(ClipPortal(reversed, Polygon(portal.rbegin(), portal.rend()), kEye, out2));
    const CExtent e2 = Extent(out2);
    EXPECT_NEAR(e2.maxX, 2.0f, 1e-5f);
    EXPECT_NEAR(e2.minX, 0.0f, 1e-5f);
}

TEST(ClipPortal, ClippedPartClipsTheNextPortal)
{
    // A chain: what the first portal leaves is the clip polygon of the next one.
    Polygon first;
    ASSERT_TRUE(ClipPortal(Square(-1, -1, 1, 1, 1), Square(0, -1, 4, 1, 2), kEye, first));
    Polygon second;
    ASSERT_TRUE(ClipPortal(first, Square(-10, -10, 10, 10, 4), kEye, second));
    const CExtent e = Extent(second);
    EXPECT_NEAR(e.minX, 0.0f, 1e-4f);
    EXPECT_NEAR(e.maxX, 4.0f, 1e-4f);
    EXPECT_NEAR(e.minY, -2.0f, 1e-4f);
    EXPECT_NEAR(e.maxY, 2.0f, 1e-4f);
}

TEST(ClipPortal, NothingVisible)
{
    struct CCase {
        const char* what;
        Polygon clip;
        Polygon portal;
        CVector3 eye;
    };
    const CCase cases[] = {
        {"portal wholly beside the view", Square(-1, -1, 1, 1, 1), Square(3, -1, 5, 1, 2), kEye},
        {"portal behind the eye", Square(-1, -1, 1, 1, 1), Square(-1, -1, 1, 1, -2), kEye},
        {"portal touching the view along an edge only", Square(-1, -1, 1, 1, 1),
         Square(2, -1, 4, 1, 2), kEye},
        {"portal of two corners", Square(-1, -1, 1, 1, 1), {{0, 0, 2}, {1, 0, 2}}, kEye},
        {"sliver portal", {}, {{0, 0, 2}, {1, 0, 2}, {2, 1e-7f, 2}}, kEye},
        {"portal on one line", {}, {{0, 0, 2}, {1, 0, 2}, {2, 0, 2}, {3, 0, 2}}, kEye},
        {"sliver clip polygon",
         {{-1, 0, 1}, {1, 0, 1}, {1, 1e-7f, 1}, {-1, 1e-7f, 1}},
         Square(-1, -1, 1, 1, 2),
         kEye},
        {"clip polygon on one line",
         {{-1, 0, 1}, {0, 0, 1}, {1, 0, 1}},
         Square(-1, -1, 1, 1, 2),
         kEye},
        {"clip polygon of one point",
         {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
         Square(-1, -1, 1, 1, 2),
         kEye},
        {"clip polygon of two corners", {{0, 0, 1}, {1, 0, 1}}, Square(-1, -1, 1, 1, 2), kEye},
        {"portal seen edge-on",
         Square(-1, -1, 1, 1, 1),
         {{0, 0, 2}, {0, 1, 2}, {0, 1, 3}, {0, 0, 3}},
         CVector3{0.0f, 0.5f, 0.0f}},
        {"eye in the plane of the clip polygon", Square(-1, -1, 1, 1, 1), Square(-1, -1, 1, 1, 2),
         CVector3{0.0f, 0.0f, 1.0f}},
    };
    for (const CCase& c : cases) {
        Polygon out{{9, 9, 9}};
        EXPECT_FALSE(ClipPortal(c.clip, c.portal, c.eye, out)) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
    }
}

TEST(ClipPortal, PortalOverlappingTheViewByMoreThanTheToleranceIsVisible)
{
    // Through the square at depth 1 the view at depth 2 reaches x = 2; a portal from 1.999 on
    // keeps a strip 0.001 wide.
    Polygon out;
    ASSERT_TRUE(ClipPortal(Square(-1, -1, 1, 1, 1), Square(1.999f, -1, 4, 1, 2), kEye, out));
    const CExtent e = Extent(out);
    EXPECT_NEAR(e.maxX, 2.0f, 1e-5f);
}

}  // namespace

TEST(ClipPortal, PortalThatGainsCornersInTheClipKeepsThemAll)
{
    // A saw-edged portal (not convex: a damaged level may hold one) whose teeth reach above the
    // view: each tooth cut off gives two corners for one, so the part has more corners than the
    // portal.
    // Through the square at depth 1 the view at depth 2 spans -2 to 2: only the teeth leave it.
    Polygon portal{{-1.8f, -1.5f, 2}, {1.8f, -1.5f, 2}, {1.8f, 1, 2}};
    for (int tooth = 0; tooth < 6; ++tooth) {
        const float x = 1.8f - 0.6f * static_cast<float>(tooth);
        portal.push_back({x - 0.3f, 3, 2});
        portal.push_back({x - 0.6f, 1, 2});
    }
    Polygon out;
    ASSERT_TRUE(ClipPortal(Square(-1, -1, 1, 1, 1), portal, kEye, out));
    EXPECT_GT(out.size(), portal.size());
    const CExtent e = Extent(out);
    EXPECT_EQ(out.size(), portal.size() + 6);
    EXPECT_NEAR(e.minX, -1.8f, 1e-5f);
    EXPECT_NEAR(e.maxX, 1.8f, 1e-5f);
    EXPECT_NEAR(e.minY, -1.5f, 1e-5f);
    EXPECT_NEAR(e.maxY, 2.0f, 1e-5f);
    for (const CVector3& p : out)
        EXPECT_FLOAT_EQ(p.z, 2.0f);
}
