#include "edit/SurfaceLook.h"

#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Angles of the texture direction, as the stored angle is worked out.
constexpr double kHalfPi = 1.5707963705062866;
constexpr double kPi = 3.1415927410125732;
constexpr double kTwoPi = 6.2831854820251465;

// The positions of surface's corners; false when a corner names no world vertex.
bool CornerPositions(const CQzlSections& level, const CQzlSurface& surface,
                     std::vector<CVector3>& positions)
{
    positions.clear();
    for (const CQzlVertex& corner : surface.m_vertices) {
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            return false;
        const CWorldVertex& v = At(level.m_worldVertices, corner.m_worldVertex);
        positions.emplace_back(v.x, v.y, v.z);
    }
    return true;
}

float ZeroIfTiny(float value)
{
    return std::fabs(value) < 0.0001f ? 0.0f : value;
}

// The stored angle (radians) of the texture direction (du, dv).
double DirectionAngle(float du, float dv)
{
    double a = std::atan2(static_cast<double>(dv), static_cast<double>(du));
    if (du > 0.0f && dv > 0.0f)
        a += kHalfPi;
    else if (du > 0.0f && dv < 0.0f)
        a = -a;
    else if (du < 0.0f && dv > 0.0f)
        a = kTwoPi - a;
    else if (du < 0.0f && dv < 0.0f)
        a = kPi - a;
    else if (du == 0.0f && dv > 0.0f)
        a -= kHalfPi;
    else if (du == 0.0f && dv < 0.0f)
        a += kHalfPi;
    return std::fabs(a) < 0.0001 ? 0.0 : a;
}

// The edge of target from corner i to the next one lies on source's edge from corner j to the one
// before it, at parameters tA and tB: the texture of source carried over (see the header).
void ContinueTexture(CQzlSurface& target, const std::vector<CVector3>& targetAt,
                     const CQzlSurface& source, const std::vector<CVector3>& sourceAt,
                     std::size_t i, std::size_t j, float tA, float tB)
{
    const std::size_t n = target.m_vertices.size();
    const std::size_t m = source.m_vertices.size();
    const std::size_t jBefore = j == 0 ? m - 1 : j - 1;
    const CQzlVertex& c = source.m_vertices[j];
    const CQzlVertex& d = source.m_vertices[jBefore];
    const CVector3& cAt = sourceAt[j];
    const CVector3& dAt = sourceAt[jBefore];
    const float du = d.m_u - c.m_u;
    const float dv = d.m_v - c.m_v;

    CQzlVertex& a = target.m_vertices[i];
    CQzlVertex& b = target.m_vertices[(i + 1) % n];
    a.m_u = ZeroIfTiny(c.m_u + du * tA);
    a.m_v = ZeroIfTiny(c.m_v + dv * tA);
    b.m_u = ZeroIfTiny(c.m_u + du * tB);
    b.m_v = ZeroIfTiny(c.m_v + dv * tB);

    // The corner of source farthest from the edge, and its foot on the edge's line.
    float farthest = 0.0f;
    std::size_t e = m;
    CVector3 eFoot;
    for (std::size_t k = 0; k < m; ++k) {
        CVector3 foot;
        const float distance = ClosestPointOnLine(cAt, dAt, sourceAt[k], &foot);
        if (distance > farthest) {
            farthest = distance;
            e = k;
            eFoot = foot;
        }
    }
    if (e == m)
        return;
    const CQzlVertex& eCorner = source.m_vertices[e];
    const CVector3& eAt = sourceAt[e];

    for (std::size_t step = 2; step < n; ++step) {
        const std::size_t g = (i + step) % n;
        CVector3 gFoot;
        const float gDistance = ClosestPointOnLine(cAt, dAt, targetAt[g], &gFoot);
        // Where the straight way from E to G, unfolded about the edge, crosses the edge's line.
        const float r = farthest / (farthest + gDistance);
        const CVector3 p = eFoot + (gFoot - eFoot) * r;
        const float s = ParamAlongSegment(cAt, dAt, p);
        const float pu = c.m_u + du * s;
        const float pv = c.m_v + dv * s;
        const float toE = VectorLength(eAt - p);
        const float k = toE / (toE + VectorLength(targetAt[g] - p));
        float u = eCorner.m_u + (pu - eCorner.m_u) / k;
        float v = eCorner.m_v + (pv - eCorner.m_v) / k;
        if (!(k > 0.0f) || !std::isfinite(u) || !std::isfinite(v))
            continue;
        RoundToThousandth(u, v);
        target.m_vertices[g].m_u = u;
        target.m_vertices[g].m_v = v;
    }
}

// target's texture-fitting fields from its corners' u and v, the scales from source.
void FitFieldsFromCorners(CQzlSurface& target, const CQzlSurface& source)
{
    const std::size_t n = target.m_vertices.size();
    std::size_t start = 0;
    float nearest = 1e11f;
    for (std::size_t k = 0; k < n; ++k) {
        const CQzlVertex& corner = target.m_vertices[k];
        const float d = corner.m_u * corner.m_u + corner.m_v * corner.m_v;
        if (d < nearest) {
            nearest = d;
            start = k;
        }
    }
    const CQzlVertex& s = target.m_vertices[start];
    const CQzlVertex& next = target.m_vertices[(start + 1) % n];
    const double angle = DirectionAngle(next.m_u - s.m_u, next.m_v - s.m_v);
    target.m_startVertex = static_cast<std::int32_t>(start);
    target.m_uOffset = s.m_u;
    target.m_vOffset = s.m_v;
    target.m_uScale = source.m_uScale;
    target.m_vScale = source.m_vScale;
    target.m_angle = static_cast<float>(angle * 180.0 / kPi);
}

}  // namespace

void CopySurfaceAttributes(C3dView& view, int sector, CQzlSurface& target,
                           const CQzlSurface& source)
{
    CQzlSections& level = view.GetLevel();
    target.m_material = InRange(level.m_materials, source.m_material) ? source.m_material : -1;
    target.m_textureWidth = source.m_textureWidth;
    target.m_textureHeight = source.m_textureHeight;
    target.m_xTile = source.m_xTile;
    target.m_yTile = source.m_yTile;
    target.m_surfaceFlags = source.m_surfaceFlags;
    target.m_faceFlags = source.m_faceFlags;
    target.m_geo = source.m_geo;
    target.m_tex = source.m_tex;
    target.m_light = source.m_light;
    if (InRange(level.m_adjoins, target.m_adjoin) && InRange(level.m_adjoins, source.m_adjoin))
        At(level.m_adjoins, target.m_adjoin)->m_flags =
            At(level.m_adjoins, source.m_adjoin)->m_flags;

    AlignTextureToSurface(view, target, source);

    const CGameResources& game = view.GetGame();
    if (game.m_archive == nullptr || !InRange(level.m_materials, target.m_material))
        return;
    const CQzlMaterial& material = *At(level.m_materials, target.m_material);
    target.m_xTile = material.m_xTile;
    target.m_yTile = material.m_yTile;
    if (view.m_textureCache == nullptr)
        return;
    std::string colormap;
    if (InRange(level.m_sectors, sector)) {
        const std::int32_t index = At(level.m_sectors, sector)->m_colormap;
        if (InRange(level.m_colormaps, index))
            colormap = At(level.m_colormaps, index);
    }
    const CAssetSources sources{&game, &level.m_levelFiles};
    CTexture* texture = view.m_textureCache->GetTexture(sources, material.m_name, colormap);
    if (texture != nullptr && texture->m_width > 0 && texture->m_height > 0) {
        target.m_texture = texture;
        target.m_textureWidth = static_cast<float>(texture->m_width);
        target.m_textureHeight = static_cast<float>(texture->m_height);
    }
}

bool AlignTextureToSurface(C3dView& view, CQzlSurface& target, const CQzlSurface& source)
{
    const CQzlSections& level = view.GetLevel();
    std::vector<CVector3> targetAt;
    std::vector<CVector3> sourceAt;
    if (!CornerPositions(level, target, targetAt) || !CornerPositions(level, source, sourceAt))
        return false;
    const std::size_t n = targetAt.size();
    const std::size_t m = sourceAt.size();
    if (n == 0 || m == 0)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = m; j-- > 0;) {
            float tA = 0.0f;
            float tB = 0.0f;
            if (!EdgesOverlap(sourceAt[j], sourceAt[j == 0 ? m - 1 : j - 1], targetAt[i],
                              targetAt[(i + 1) % n], tA, tB, false))
                continue;
            ContinueTexture(target, targetAt, source, sourceAt, i, j, tA, tB);
            NormalizeTextureOffsets(view, target);
            FitFieldsFromCorners(target, source);
            return true;
        }
    }
    return false;
}

void NormalizeTextureOffsets(C3dView& /*view*/, CQzlSurface& surface)
{
    float lowestU = 1e11f;
    float lowestV = 1e11f;
    for (CQzlVertex& corner : surface.m_vertices) {
        RoundToThousandth(corner.m_u, corner.m_v);
        if (corner.m_u < lowestU)
            lowestU = corner.m_u;
        if (corner.m_v < lowestV)
            lowestV = corner.m_v;
    }
    if (surface.m_vertices.empty())
        return;
    const auto shiftU = static_cast<float>(WholeSizeShift(lowestU, surface.m_textureWidth, true));
    const auto shiftV = static_cast<float>(WholeSizeShift(lowestV, surface.m_textureHeight, true));
    for (CQzlVertex& corner : surface.m_vertices) {
        corner.m_u += shiftU;
        corner.m_v += shiftV;
    }
}
