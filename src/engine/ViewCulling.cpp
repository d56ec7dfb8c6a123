#include "engine/ViewCulling.h"

#include "engine/C3dView.h"
#include "engine/ClipPortal.h"
#include "engine/RayCast.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The sector's visiting flag, shared with the visibility pass: set while the sector lies on the
// current chain of a walk, 0 otherwise.
constexpr std::size_t kVisiting = 2;

// Counts, over a set of points, how many lie beyond each of the six planes of the view volume.
class COutcodeCounter {
public:
    COutcodeCounter(const D3DMATRIX& viewProjection, float margin)
        : m_matrix(viewProjection), m_margin(margin)
    {}

    void Add(const CVector3& p)
    {
        const std::array<float, 4> c = TransformPoint4(p, m_matrix);
        const float x = c[0];
        const float y = c[1];
        const float z = c[2];
        const float w = c[3];
        if (x + m_margin < -w)
            ++m_counts[0];
        if (x - m_margin > w)
            ++m_counts[1];
        if (y + m_margin < -w)
            ++m_counts[2];
        if (y - m_margin > w)
            ++m_counts[3];
        if (z + m_margin < 0.0f)
            ++m_counts[4];
        if (z - m_margin > w)
            ++m_counts[5];
        ++m_points;
    }

    // False when there are no points or all of them lie beyond one plane.
    bool InView() const
    {
        if (m_points == 0)
            return false;
        for (int count : m_counts)
            if (count == m_points)
                return false;
        return true;
    }

    // True when there are points and none lies beyond any plane.
    bool AllInside() const
    {
        return m_points != 0 && std::all_of(std::begin(m_counts), std::end(m_counts),
                                            [](int count) { return count == 0; });
    }

private:
    const D3DMATRIX& m_matrix;
    float m_margin;
    int m_counts[6] = {};
    int m_points = 0;
};

bool SurfaceTest(const C3dView& view, const CQzlSurface& surface, std::vector<CVector3>* polygon)
{
    const CQzlSections& level = view.GetLevel();
    COutcodeCounter counter(view.m_camera.m_viewProjectionMatrix, kSurfaceMargin);
    for (const CQzlVertex& corner : surface.m_vertices) {
        if (corner.m_worldVertex < 0 ||
            static_cast<std::size_t>(corner.m_worldVertex) >= level.m_worldVertices.size())
            continue;
        const CWorldVertex& w =
            level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)];
        const CVector3 p{w.x, w.y, w.z};
        if (polygon != nullptr)
            polygon->push_back(p);
        counter.Add(p);
    }
    return counter.InView();
}

// ---- The camera's enclosure ----

// Most sectors the enclosure walks through before it gives up.
constexpr std::size_t kMostEnclosed = 64;
// A camera this near a surface's plane sees the surface edge-on.
constexpr float kEdgeOn = 1e-5f;
// Tolerance of a corner on its own plane or inside its sector.
constexpr float kOnPlane = 1e-3f;

CVector3 Position(const D3DLVERTEX& v)
{
    return {v.x, v.y, v.z};
}

bool SamePosition(const D3DLVERTEX& a, const D3DLVERTEX& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// The camera of a view matrix made of a rotation and a translation: the point it takes to the
// origin. False for a matrix that is not of that kind.
bool CameraOfView(const D3DMATRIX& v, CVector3& eye)
{
    for (int i = 0; i < 3; ++i) {
        if (v.m[i][3] != 0.0f)
            return false;
        for (int j = 0; j < 3; ++j) {
            float dot = 0.0f;
            for (int k = 0; k < 3; ++k)
                dot += v.m[i][k] * v.m[j][k];
            if (std::fabs(dot - (i == j ? 1.0f : 0.0f)) > 1e-3f)
                return false;
        }
    }
    if (v.m[3][3] != 1.0f)
        return false;
    float p[3] = {};
    for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k)
            p[j] -= v.m[3][k] * v.m[j][k];
    eye = {p[0], p[1], p[2]};
    return true;
}

// The smallest distance from the camera to a surface plane at which every ray through the screen
// meets the plane beyond the near plane: near x the length of the ray through a screen corner at
// depth 1. False for a projection that is not a centred perspective one.
bool NearReach(const D3DMATRIX& p, float& reach)
{
    for (const auto& [i, j] : {std::pair{0, 1},
                               {0, 2},
                               {0, 3},
                               {1, 0},
                               {1, 2},
                               {1, 3},
                               {2, 0},
                               {2, 1},
                               {3, 0},
                               {3, 1},
                               {3, 3}})
        if (p.m[i][j] != 0.0f)
            return false;
    if (p.m[2][3] != 1.0f || !(p.m[0][0] > 0.0f) || !(p.m[1][1] > 0.0f) || !(p.m[2][2] > 0.0f))
        return false;
    const float nearDistance = -p.m[3][2] / p.m[2][2];
    const float tx = 1.0f / p.m[0][0];
    const float ty = 1.0f / p.m[1][1];
    reach = nearDistance * std::sqrt(1.0f + tx * tx + ty * ty) * 1.01f + kOnPlane;
    return std::isfinite(reach) && nearDistance > 0.0f;
}

class CEnclosure {
public:
    CEnclosure(const C3dView& view, std::span<const char> opaqueDrawn,
               std::span<const char> sectorDrawn, std::vector<char>& enclosed)
        : m_view(view), m_level(view.GetLevel()), m_opaqueDrawn(opaqueDrawn),
          m_sectorDrawn(sectorDrawn), m_enclosed(enclosed)
    {}

    bool Find()
    {
        const CCameraState& camera = m_view.m_camera;
        if (camera.m_worldMatrix != MatrixIdentity() || !CameraOfView(camera.m_viewMatrix, m_eye) ||
            LengthSquared(m_eye - camera.m_position) > kOnPlane * kOnPlane ||
            !NearReach(camera.m_projectionMatrix, m_reach))
            return false;
        m_eye = camera.m_position;  // the camera the back-face test of the frame uses
        if (m_opaqueDrawn.size() != m_level.m_surfaces.size() ||
            m_sectorDrawn.size() != m_level.m_sectors.size())
            return false;
        m_enclosed.assign(m_level.m_sectors.size(), 0);
        m_list.clear();
        for (std::size_t i = 0; i < m_level.m_sectors.size(); ++i)
            if (HoldsCamera(*m_level.m_sectors[i]) && !Add(static_cast<std::int32_t>(i)))
                return false;
        m_seeds = m_list.size();
        if (m_seeds == 0)
            return false;
        for (std::size_t next = 0; next < m_list.size(); ++next)
            if (!Walk(next))
                return false;
        return NothingReachesIn();
    }

private:
    const CQzlSurface* Surface(std::int32_t index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_level.m_surfaces.size())
            return nullptr;
        return m_level.m_surfaces[static_cast<std::size_t>(index)].get();
    }

    float Side(const CQzlSurface& s) const { return Dot(s.m_normal, m_eye) - s.m_plane[3]; }

    // The camera lies inside the sector or on its boundary (a quick box test first).
    bool HoldsCamera(const CQzlSector& sector) const
    {
        const CBoundingBox& box = sector.m_boundBox;
        if (m_eye.x < box.min.x - kOnPlane || m_eye.y < box.min.y - kOnPlane ||
            m_eye.z < box.min.z - kOnPlane || m_eye.x > box.max.x + kOnPlane ||
            m_eye.y > box.max.y + kOnPlane || m_eye.z > box.max.z + kOnPlane ||
            sector.m_surfaces.empty())
            return false;
        for (std::int32_t index : sector.m_surfaces) {
            const CQzlSurface* s = Surface(index);
            if (s == nullptr || Side(*s) < -kEdgeOn)
                return false;
        }
        return true;
    }

    bool Add(std::int32_t sector)
    {
        if (sector < 0 || static_cast<std::size_t>(sector) >= m_level.m_sectors.size())
            return false;
        if (m_enclosed[static_cast<std::size_t>(sector)] != 0)
            return true;
        const CQzlSector& record = *m_level.m_sectors[static_cast<std::size_t>(sector)];
        // A sector out of view and beyond the near plane's reach holds no part of a ray through
        // the screen.
        if (m_sectorDrawn[static_cast<std::size_t>(sector)] == 0)
            return !BoxInFrustum(m_view, record.m_boundBox) &&
                   PointBoxDistance(record.m_boundBox, m_eye) > m_reach * m_reach;
        if (m_list.size() >= kMostEnclosed || !ClosedAndConvex(record))
            return false;
        m_enclosed[static_cast<std::size_t>(sector)] = 1;
        m_list.push_back(sector);
        return true;
    }

    // Every surface a flat convex polygon, every corner inside all the sector's planes, and every
    // edge met by the reverse edge of another surface at the same positions.
    bool ClosedAndConvex(const CQzlSector& sector) const
    {
        if (sector.m_surfaces.empty())
            return false;
        for (std::int32_t index : sector.m_surfaces)
            if (Surface(index) == nullptr)
                return false;
        for (std::int32_t index : sector.m_surfaces) {
            const CQzlSurface* s = Surface(index);
            if (s == nullptr || s->m_renderVertices.size() < 3)
                return false;
            const std::vector<D3DLVERTEX>& mesh = s->m_renderVertices;
            const std::size_t n = mesh.size();
            bool left = false;
            bool right = false;
            for (std::size_t i = 0; i < n; ++i) {
                const CVector3 a = Position(mesh[i]);
                const CVector3 b = Position(mesh[(i + 1) % n]);
                const CVector3 c = Position(mesh[(i + 2) % n]);
                if (std::fabs(Dot(s->m_normal, a) - s->m_plane[3]) > kOnPlane)
                    return false;
                // A convex polygon turns the same way at every corner.
                const float turn = Dot(VectorCross(b - a, c - b), s->m_normal);
                left = left || turn > kOnPlane;
                right = right || turn < -kOnPlane;
                if ((left && right) || !EdgeMet(sector, index, mesh[i], mesh[(i + 1) % n]))
                    return false;
            }
            for (std::int32_t other : sector.m_surfaces)
                for (const D3DLVERTEX& v : Surface(other)->m_renderVertices)
                    if (Dot(s->m_normal, Position(v)) - s->m_plane[3] < -kOnPlane)
                        return false;
        }
        return true;
    }

    bool EdgeMet(const CQzlSector& sector, std::int32_t own, const D3DLVERTEX& from,
                 const D3DLVERTEX& to) const
    {
        for (std::int32_t index : sector.m_surfaces) {
            if (index == own)
                continue;
            const CQzlSurface* s = Surface(index);
            if (s == nullptr)
                continue;
            const std::vector<D3DLVERTEX>& mesh = s->m_renderVertices;
            for (std::size_t i = 0; i < mesh.size(); ++i)
                if (SamePosition(mesh[i], to) && SamePosition(mesh[(i + 1) % mesh.size()], from))
                    return true;
        }
        return false;
    }

    // Where the rays leave the sector: a surface the camera faces is drawn opaque beyond the near
    // plane, out of view, or a portal into a sector that joins the enclosure.
    // A sector that holds the camera sees along its edge-on surfaces into the sectors beyond
    // them (which hold the camera too); no ray crosses an edge-on surface of another sector.
    bool Walk(std::size_t position)
    {
        const std::int32_t index = m_list[position];
        const CQzlSector& sector = *m_level.m_sectors[static_cast<std::size_t>(index)];
        for (std::int32_t surfaceIndex : sector.m_surfaces) {
            const CQzlSurface& s = *Surface(surfaceIndex);
            const float side = Side(s);
            if (side < -kEdgeOn)
                continue;  // rays of a convex room leave it through the surfaces they face
            if (side <= kEdgeOn && position >= m_seeds)
                continue;
            if (side > kEdgeOn) {
                if (m_opaqueDrawn[static_cast<std::size_t>(surfaceIndex)] != 0) {
                    if (side <= m_reach)
                        return false;
                    continue;
                }
                if (!SurfaceInFrustum(m_view, s))
                    continue;
            }
            if (!Through(s))
                return false;
        }
        return true;
    }

    bool Through(const CQzlSurface& s)
    {
        if (s.m_adjoin < 0 || static_cast<std::size_t>(s.m_adjoin) >= m_level.m_adjoins.size())
            return false;
        const CQzlAdjoin& adjoin = *m_level.m_adjoins[static_cast<std::size_t>(s.m_adjoin)];
        const CQzlSurface* mirror = Surface(adjoin.m_otherSurface);
        if (mirror == nullptr || mirror->m_renderVertices.size() != s.m_renderVertices.size())
            return false;
        for (const D3DLVERTEX& v : s.m_renderVertices)
            if (std::none_of(mirror->m_renderVertices.begin(), mirror->m_renderVertices.end(),
                             [&v](const D3DLVERTEX& m) { return SamePosition(m, v); }))
                return false;
        return Add(adjoin.m_otherSector);
    }

    // No other drawn sector's box reaches into one of the enclosure's.
    bool NothingReachesIn() const
    {
        std::vector<CBoundingBox> boxes;
        CBoundingBox all{{kHuge, kHuge, kHuge}, {-kHuge, -kHuge, -kHuge}};
        for (std::int32_t index : m_list) {
            CBoundingBox box{{kHuge, kHuge, kHuge}, {-kHuge, -kHuge, -kHuge}};
            for (std::int32_t surfaceIndex :
                 m_level.m_sectors[static_cast<std::size_t>(index)]->m_surfaces)
                for (const D3DLVERTEX& v : Surface(surfaceIndex)->m_renderVertices) {
                    box.min = VectorMin(box.min, Position(v));
                    box.max = VectorMax(box.max, Position(v));
                }
            all = {VectorMin(all.min, box.min), VectorMax(all.max, box.max)};
            boxes.push_back(box);
        }
        const auto overlap = [](const CBoundingBox& a, const CBoundingBox& b) {
            return a.min.x < b.max.x - kOnPlane && b.min.x < a.max.x - kOnPlane &&
                   a.min.y < b.max.y - kOnPlane && b.min.y < a.max.y - kOnPlane &&
                   a.min.z < b.max.z - kOnPlane && b.min.z < a.max.z - kOnPlane;
        };
        for (std::size_t i = 0; i < m_level.m_sectors.size(); ++i) {
            if (m_enclosed[i] != 0 || m_sectorDrawn[i] == 0)
                continue;
            const CBoundingBox& box = m_level.m_sectors[i]->m_boundBox;
            if (!overlap(box, all))
                continue;
            for (const CBoundingBox& inside : boxes)
                if (overlap(box, inside))
                    return false;
        }
        return true;
    }

    static constexpr float kHuge = 1e30f;

    const C3dView& m_view;
    const CQzlSections& m_level;
    std::span<const char> m_opaqueDrawn;
    std::span<const char> m_sectorDrawn;
    std::vector<char>& m_enclosed;
    std::vector<std::int32_t> m_list;  // the enclosure, those that hold the camera first
    std::size_t m_seeds = 0;
    CVector3 m_eye;
    float m_reach = 0.0f;
};

class CPortalWalk {
public:
    CPortalWalk(C3dView& view, std::vector<std::int32_t>& visited)
        : m_level(view.GetLevel()), m_view(view), m_visited(visited)
    {}

    void Walk(std::span<const CVector3> clip, int sector)
    {
        if (!IsSector(sector))
            return;
        int position = 0;
        if (!FindSectorId(m_visited, sector, position))
            m_visited.insert(m_visited.begin() + position, sector);

        const CVector3 eye = m_view.m_camera.m_position;
        std::vector<CVector3> portal;
        std::vector<CVector3> clipped;
        // The surface list is copied: nothing in the walk changes it, but the recursion must not
        // hold a reference into a record while it runs.
        const std::vector<std::int32_t> surfaces = Sector(sector).m_surfaces;
        for (std::int32_t index : surfaces) {
            if (index < 0 || static_cast<std::size_t>(index) >= m_level.m_surfaces.size())
                continue;
            const CQzlSurface& s = *m_level.m_surfaces[static_cast<std::size_t>(index)];
            if (s.m_adjoin < 0 || static_cast<std::size_t>(s.m_adjoin) >= m_level.m_adjoins.size())
                continue;
            if (Dot(s.m_normal, eye) < s.m_plane[3] - kPortalBehindTolerance)
                continue;
            const int next = m_level.m_adjoins[static_cast<std::size_t>(s.m_adjoin)]->m_otherSector;
            if (!IsSector(next) || Sector(next).m_runtime[kVisiting] != 0)
                continue;
            portal.clear();
            if (!SurfaceInFrustum(m_view, s, portal))
                continue;
            if (!ClipPortal(clip, portal, eye, clipped))
                continue;
            Sector(next).m_runtime[kVisiting] = 1;
            const std::vector<CVector3> nextClip = clipped;
            Walk(nextClip, next);
            Sector(next).m_runtime[kVisiting] = 0;
        }
    }

private:
    bool IsSector(int index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_level.m_sectors.size();
    }
    CQzlSector& Sector(int index) { return *m_level.m_sectors[static_cast<std::size_t>(index)]; }

    CQzlSections& m_level;
    C3dView& m_view;
    std::vector<std::int32_t>& m_visited;
};

}  // namespace

std::array<float, 4> TransformPoint4(const CVector3& p, const D3DMATRIX& m)
{
    std::array<float, 4> out{};
    for (int c = 0; c < 4; ++c)
        out[static_cast<std::size_t>(c)] =
            p.x * m.m[0][c] + p.y * m.m[1][c] + p.z * m.m[2][c] + m.m[3][c];
    return out;
}

EInView BoxInView(const C3dView& view, const CBoundingBox& box)
{
    COutcodeCounter counter(view.m_camera.m_viewProjectionMatrix, 0.0f);
    for (int i = 0; i < 8; ++i)
        counter.Add({(i & 1) != 0 ? box.max.x : box.min.x, (i & 2) != 0 ? box.max.y : box.min.y,
                     (i & 4) != 0 ? box.max.z : box.min.z});
    if (!counter.InView())
        return EInView::Outside;
    // A box with a corner that is not a number holds nothing for certain: its surfaces are
    // tested one by one.
    return IsFinite(box) && counter.AllInside() ? EInView::Inside : EInView::Partly;
}

bool BoxInFrustum(const C3dView& view, const CBoundingBox& box)
{
    return BoxInView(view, box) != EInView::Outside;
}

bool SurfaceInFrustum(const C3dView& view, const CQzlSurface& surface)
{
    return SurfaceTest(view, surface, nullptr);
}

bool SurfaceInFrustum(const C3dView& view, const CQzlSurface& surface,
                      std::vector<CVector3>& polygon)
{
    return SurfaceTest(view, surface, &polygon);
}

bool FindSectorId(std::span<const std::int32_t> sorted, std::int32_t value, int& index)
{
    int low = 0;
    int high = static_cast<int>(sorted.size()) - 1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        const std::int32_t at = sorted[static_cast<std::size_t>(mid)];
        if (at < value) {
            low = mid + 1;
        } else if (at > value) {
            high = mid - 1;
        } else {
            index = mid;
            return true;
        }
    }
    index = low;
    return false;
}

int FindVisibleSectors(C3dView& view, std::span<const CVector3> clip,
                       std::vector<std::int32_t>& visited, int sector)
{
    CPortalWalk walk(view, visited);
    walk.Walk(clip, sector);
    return static_cast<int>(visited.size());
}

void ScrollSurfaceTexture(CQzlSurface& surface, float du, float dv)
{
    for (D3DLVERTEX& v : surface.m_renderVertices) {
        v.tu += du;
        v.tv += dv;
    }
}

bool FindEnclosure(const C3dView& view, std::span<const char> opaqueDrawn,
                   std::span<const char> sectorDrawn, std::vector<char>& enclosed)
{
    return CEnclosure(view, opaqueDrawn, sectorDrawn, enclosed).Find();
}
