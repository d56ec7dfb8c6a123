#include "level/TextureFit.h"

#include "level/QzlSections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

using UV = std::pair<float, float>;

// One surface over the given points, corner i naming world vertex i.
CQzlSections MakeSurface(std::initializer_list<CVector3> points)
{
    CQzlSections level;
    auto surface = std::make_unique<CQzlSurface>();
    for (const CVector3& p : points) {
        CQzlVertex corner;
        corner.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
        corner.m_u = -7.0f;  // so that an untouched corner shows
        corner.m_v = -7.0f;
        surface->m_vertices.push_back(corner);
    }
    level.m_surfaces.push_back(std::move(surface));
    return level;
}

CQzlSections UnitSquare()
{
    return MakeSurface({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
}

std::vector<UV> Coords(const CQzlSections& level)
{
    std::vector<UV> coords;
    for (const CQzlVertex& c : level.m_surfaces[0]->m_vertices)
        coords.emplace_back(c.m_u, c.m_v);
    return coords;
}

// The fitting parameters other than the scales, which are 320 throughout.
struct Fit {
    int start;
    float angle;
    float uOffset;
    float vOffset;
    int mirror;
};

struct FitCase {
    const char* name;
    Fit fit;
    float textureHeight;       // the width stays 768
    std::vector<UV> expected;  // corners 0 to 3
};

TEST(ComputeTextureCoords, UnitSquare)
{
    const std::vector<UV> untouched{{-7, -7}, {-7, -7}, {-7, -7}, {-7, -7}};
    const FitCase cases[] = {
        {"plain", {0, 0, 0, 0, 0}, 768, {{0, 0}, {320, 0}, {320, 320}, {0, 320}}},
        // v runs the other way: -320 before whole texture heights raise it.
        {"mirror", {0, 0, 0, 0, 1}, 768, {{0, 768}, {320, 768}, {320, 448}, {0, 448}}},
        {"mirror, height 64", {0, 0, 0, 0, 1}, 64, {{0, 320}, {320, 320}, {320, 0}, {0, 0}}},
        {"mirror, height 100", {0, 0, 0, 0, 1}, 100, {{0, 400}, {320, 400}, {320, 80}, {0, 80}}},
        // A size of 0 would never end the shift; the coordinates stay where they are.
        {"mirror, height 0", {0, 0, 0, 0, 1}, 0, {{0, 0}, {320, 0}, {320, -320}, {0, -320}}},
        // A quarter turn about the start corner, then u raised by a texture width.
        {"angle 90", {0, 90, 0, 0, 0}, 768, {{768, 0}, {768, 320}, {448, 320}, {448, 0}}},
        // v from corner 2 towards corner 1, the start at the offsets.
        {"start 2 with offsets", {2, 0, 16, 8, 0}, 768, {{336, 328}, {16, 328}, {16, 8}, {336, 8}}},
        {"start 4: beyond the corners", {4, 0, 0, 0, 0}, 768, untouched},
        {"start -1", {-1, 0, 0, 0, 0}, 768, untouched},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = UnitSquare();
        level.m_surfaces[0]->m_textureHeight = c.textureHeight;

        ComputeTextureCoords(level, 0, c.fit.start, c.fit.angle, 320.0f, 320.0f, c.fit.uOffset,
                             c.fit.vOffset, c.fit.mirror);

        EXPECT_EQ(Coords(level), c.expected);
    }
}

TEST(ComputeTextureCoords, CoordinatesAreSnappedToThousandths)
{
    CQzlSections level = MakeSurface({{0, 0, 0}, {0.37037f, 0, 0}, {0, 0.7f, 0}});
    ComputeTextureCoords(level, 0, 0, 0.0f, 1.0f / 3.0f, 1.0f, 0.0f, 0.0f, 0);
    const std::vector<UV> coords = Coords(level);
    EXPECT_EQ(coords[0], UV(0, 0));
    EXPECT_EQ(coords[1], UV(0.123f, 0));
    EXPECT_EQ(coords[2], UV(0, 0.7f));
}

TEST(ComputeTextureCoords, DegenerateShapesGiveNumbers)
{
    // With mirror, the corner before the start lies exactly on the reference line, where rounding
    // can make the along distance a hair longer than the corner's distance.
    CQzlSections collinear = MakeSurface({{0, 0, 0}, {1, 0, 0}, {1.27f, 2.62f, -0.47f}});
    ComputeTextureCoords(collinear, 0, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 1);
    // The corner before the start coincides with it: no direction to measure along.
    CQzlSections repeated = MakeSurface({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    repeated.m_surfaces[0]->m_vertices[2].m_worldVertex = 0;
    ComputeTextureCoords(repeated, 0, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
    // Huge coordinates against a small texture: the shift is computed, not counted out.
    CQzlSections huge = MakeSurface({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    huge.m_surfaces[0]->m_textureHeight = 1.0f;
    ComputeTextureCoords(huge, 0, 0, 0.0f, 1.0f, 1e9f, 0.0f, 0.0f, 1);

    for (const CQzlSections* level : {&collinear, &repeated, &huge}) {
        for (const CQzlVertex& c : level->m_surfaces[0]->m_vertices) {
            EXPECT_TRUE(std::isfinite(c.m_u) && std::isfinite(c.m_v)) << c.m_u << ", " << c.m_v;
            EXPECT_GE(c.m_v, 0.0f);
        }
    }
    EXPECT_EQ(Coords(repeated)[1], UV(320, 0));
    EXPECT_EQ(Coords(huge)[2], UV(0, 0));
    EXPECT_EQ(Coords(huge)[0], UV(0, 1e9f));
}

TEST(ComputeTextureCoords, CornerNamingNoVertexLeavesTheSurface)
{
    CQzlSections level = UnitSquare();
    level.m_surfaces[0]->m_vertices[3].m_worldVertex = 9;
    ComputeTextureCoords(level, 0, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
    ComputeTextureCoords(level, 1, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);  // no surface 1
    for (const UV& uv : Coords(level))
        EXPECT_EQ(uv, UV(-7, -7));
}

}  // namespace
