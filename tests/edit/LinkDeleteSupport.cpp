#include "LinkDeleteSupport.h"

#include "geometry/Predicates.h"
#include "support/FixtureLevels.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <tuple>

std::set<EOracleRule> BrokenRules(const CQzlSections& level)
{
    std::set<EOracleRule> rules;
    for (const COracleProblem& problem : CheckLevelOracle(level))
        rules.insert(problem.rule);
    return rules;
}

int CornerAt(const CQzlSections& level, int surface, const CVector3& p)
{
    const auto& corners = level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices;
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (VectorLength(WorldPosition(level, corners[i].m_worldVertex) - p) < 1e-4f)
            return static_cast<int>(i);
    return -1;
}

int SurfaceInPlane(const CQzlSections& level, int sector, int axis, float value)
{
    for (const std::int32_t f : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces) {
        bool inPlane = true;
        for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(f)]->m_vertices) {
            const CVector3 p = WorldPosition(level, corner.m_worldVertex);
            const float c = axis == 0 ? p.x : axis == 1 ? p.y : p.z;
            inPlane = inPlane && std::fabs(c - value) < 1e-4f;
        }
        if (inPlane)
            return f;
    }
    return -1;
}

CQzlSections MakeBoxWithEdgeMidpoint()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{0.5f, 0.5f, 0.5f};
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0.5f, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0.5f, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddFacingSurface(level, s, in, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}});
    FinishFixture(level);
    return level;
}

CQzlSections MakePyramid()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{0.5f, 0.25f, 0.5f};
    const CVector3 apex{0.5f, 1, 0.5f};
    const CVector3 base[] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}};
    AddFacingSurface(level, s, in, {base[0], base[1], base[2], base[3]});
    for (int i = 0; i < 4; ++i)
        AddFacingSurface(level, s, in, {base[i], base[(i + 1) % 4], apex});
    FinishFixture(level);
    return level;
}

CQzlSections MakeTetrahedron()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{0.2f, 0.2f, 0.2f};
    const CVector3 p[] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    AddFacingSurface(level, s, in, {p[0], p[1], p[2]});
    AddFacingSurface(level, s, in, {p[0], p[1], p[3]});
    AddFacingSurface(level, s, in, {p[0], p[2], p[3]});
    AddFacingSurface(level, s, in, {p[1], p[2], p[3]});
    FinishFixture(level);
    return level;
}

::testing::AssertionResult RenderDataFollowsCorners(const CQzlSections& level)
{
    for (std::size_t i = 0; i < level.m_sectors.size(); ++i) {
        for (const std::int32_t f : level.m_sectors[i]->m_surfaces) {
            const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(f)];
            const std::size_t n = surface.m_vertices.size();
            const std::string where =
                "sector " + std::to_string(i) + ", surface " + std::to_string(f);
            if (surface.m_renderVertices.size() != n)
                return ::testing::AssertionFailure()
                       << where << " has " << surface.m_renderVertices.size()
                       << " render vertices for " << n << " corners";
            for (std::size_t k = 0; k < n; ++k) {
                const D3DLVERTEX& r = surface.m_renderVertices[n - 1 - k];
                const CVector3 p = WorldPosition(level, surface.m_vertices[k].m_worldVertex);
                if (VectorLength(CVector3{r.x, r.y, r.z} - p) > 1e-4f)
                    return ::testing::AssertionFailure()
                           << where << ": the render vertex of corner " << k
                           << " is not at the corner";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult HasSolidLook(const CQzlSurface& surface, std::uint32_t surfaceFlags)
{
    const auto look =
        std::make_tuple(surface.m_adjoin, surface.m_material, surface.m_surfaceFlags,
                        surface.m_faceFlags, surface.m_geo, surface.m_light, surface.m_tex);
    if (look == std::make_tuple(-1, 0, surfaceFlags, 4u, 4, 3, 1))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "adjoin " << surface.m_adjoin << ", material " << surface.m_material
           << ", surface flags " << surface.m_surfaceFlags << ", face flags " << surface.m_faceFlags
           << ", geometry " << surface.m_geo << ", light " << surface.m_light << ", texture "
           << surface.m_tex;
}
