#include "engine/ViewCulling.h"

#include "engine/C3dView.h"
#include "engine/ClipPortal.h"
#include "level/QzlSections.h"

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

bool BoxInFrustum(const C3dView& view, const CBoundingBox& box)
{
    COutcodeCounter counter(view.m_camera.m_viewProjectionMatrix, 0.0f);
    for (int i = 0; i < 8; ++i)
        counter.Add({(i & 1) != 0 ? box.max.x : box.min.x, (i & 2) != 0 ? box.max.y : box.min.y,
                     (i & 4) != 0 ? box.max.z : box.min.z});
    return counter.InView();
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
