#include "support/VisibilityReference.h"

#include "engine/Visibility.h"

#include "engine/C3dView.h"
#include "engine/ClipPortal.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace {

// The sector's visiting flag: set while the sector lies on the current path of a walk.
constexpr std::size_t kVisiting = 2;

// One pass over the level: what the walks of every sector share.
class CVisibilityPass {
public:
    explicit CVisibilityPass(C3dView& view)
        : m_level(view.GetLevel()), m_removalLevel(view.GetSettings().m_removalLevel)
    {
        // Which sectors hold a door or an elevator. Template names are compared in any letter
        // case: the text reader keeps them in upper case.
        m_holdsDoor.assign(m_level.m_sectors.size(), 0);
        for (const auto& thing : m_level.m_things) {
            if (!IsSector(thing->m_sector))
                continue;
            if (FindNoCase(thing->m_template, "elev") != std::string::npos ||
                FindNoCase(thing->m_template, "door") != std::string::npos)
                m_holdsDoor[static_cast<std::size_t>(thing->m_sector)] = 1;
        }
    }

    bool IsSector(int index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_level.m_sectors.size();
    }

    CQzlSector& Sector(int index) { return *m_level.m_sectors[static_cast<std::size_t>(index)]; }

    // The surface of the level when index names one.
    const CQzlSurface* Surface(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_level.m_surfaces.size())
            return nullptr;
        return m_level.m_surfaces[static_cast<std::size_t>(index)].get();
    }

    // The sector on the other side of the adjoin; -1 when it is not linked or not valid.
    int OtherSector(int adjoin) const
    {
        if (adjoin < 0 || static_cast<std::size_t>(adjoin) >= m_level.m_adjoins.size())
            return -1;
        const int other = m_level.m_adjoins[static_cast<std::size_t>(adjoin)]->m_otherSector;
        return IsSector(other) ? other : -1;
    }

    // The neighbour walk from sector a through the adjoin of its surface source, kept on an
    // explicit stack (a deep "Removal Level" on a large level must not exhaust the call stack).
    // The order of the walk is that of the recursion: depth first, surfaces in list order.
    void PropagateThroughAdjoins(int a, int source, int adjoin, int depth)
    {
        const CQzlSurface* sourceSurface = Surface(source);
        if (!sourceSurface)
            return;
        const CVector3 sourceNormal = sourceSurface->m_normal;
        CQzlSector& sectorA = Sector(a);
        m_frames.clear();

        // Enters the sector behind an adjoin at depth: adds it to the set and, unless it holds a
        // door or the depth is used up, stacks it to walk on from.
        const auto enter = [&](int through, int at) {
            if (at >= m_removalLevel)
                return;
            const int b = OtherSector(through);
            if (b < 0)
                return;
            sectorA.InsertSortedIndex(b);
            if (m_holdsDoor[static_cast<std::size_t>(b)] != 0)
                return;
            m_frames.push_back({b, 0, at});
        };

        enter(adjoin, depth);
        while (!m_frames.empty()) {
            CWalkFrame& frame = m_frames.back();
            const std::vector<std::int32_t>& surfaces = Sector(frame.sector).m_surfaces;
            bool entered = false;
            while (frame.next < surfaces.size()) {
                const CQzlSurface* t = Surface(surfaces[frame.next++]);
                if (!t || t->m_adjoin < 0)
                    continue;
                if (Dot(t->m_normal, sourceNormal) <= -0.99f)
                    continue;
                const int c = OtherSector(t->m_adjoin);
                int position = 0;
                if (sectorA.FindSortedIndex(c, position) != 0)
                    continue;
                const int at = frame.depth + 1;
                const int through = t->m_adjoin;
                // enter may grow m_frames: frame is not used after it.
                const std::size_t before = m_frames.size();
                enter(through, at);
                if (m_frames.size() != before) {
                    entered = true;
                    break;
                }
            }
            if (!entered)
                m_frames.pop_back();
        }
    }

    // The portal walk into sector x seen from eye through polygon (empty: nothing clipped yet),
    // looking against direction (the normal of the adjoin it started from, which points back
    // into the starting sector). Returns the size of the set.
    std::size_t ClipThroughAdjoin(const std::vector<CVector3>& polygon, CQzlSector& owner, int x,
                                  const CVector3& eye, const CVector3& direction, int& budget,
                                  std::size_t depth = 0)
    {
        owner.InsertSortedIndex(x);
        if (budget == 0)
            return owner.m_visible.size();
        --budget;
        CQzlSector& sectorX = Sector(x);
        sectorX.m_runtime[kVisiting] = 1;
        // The view through polygon and the clipped polygon of each depth of the walk are kept
        // for the calls below this one; the portal is only read before the walk goes deeper.
        while (m_depths.size() <= depth)
            m_depths.emplace_back();
        CWalkDepth& at = m_depths[depth];
        bool viewMade = false;
        std::vector<CVector3>& portal = m_portal;
        for (const std::int32_t surfaceIndex : sectorX.m_surfaces) {
            const CQzlSurface* t = Surface(surfaceIndex);
            if (!t || t->m_adjoin < 0 || Dot(eye, t->m_normal) < t->m_plane[3])
                continue;
            const int y = OtherSector(t->m_adjoin);
            if (y < 0 || Sector(y).m_runtime[kVisiting] != 0)
                continue;
            portal.clear();
            std::size_t behind = 0;
            for (const CQzlVertex& corner : t->m_vertices) {
                if (corner.m_worldVertex < 0 || static_cast<std::size_t>(corner.m_worldVertex) >=
                                                    m_level.m_worldVertices.size())
                    continue;
                const CVector3 v = WorldPosition(m_level, corner.m_worldVertex);
                portal.push_back(v);
                if (Dot(v - eye, direction) >= 0.0f)
                    ++behind;
            }
            // The whole portal lies behind the eye.
            if (behind == portal.size())
                continue;
            if (!viewMade) {
                MakeClipView(polygon, eye, at.view);
                viewMade = true;
            }
            if (ClipPortal(at.view, portal, at.clipped))
                ClipThroughAdjoin(at.clipped, owner, y, eye, direction, budget, depth + 1);
        }
        sectorX.m_runtime[kVisiting] = 0;
        return owner.m_visible.size();
    }

    // Walks from every eye point of the adjoined surface: each corner, then its centroid.
    void PortalWalk(int sectorIndex, int surfaceIndex)
    {
        const CQzlSurface* s = Surface(surfaceIndex);
        const int x = OtherSector(s->m_adjoin);
        if (x < 0)
            return;
        CQzlSector& owner = Sector(sectorIndex);
        const std::vector<CVector3> nothingClipped;
        for (const CQzlVertex& corner : s->m_vertices) {
            if (corner.m_worldVertex < 0 ||
                static_cast<std::size_t>(corner.m_worldVertex) >= m_level.m_worldVertices.size())
                continue;
            int budget = kPortalWalkBudget;
            ClipThroughAdjoin(nothingClipped, owner, x,
                              WorldPosition(m_level, corner.m_worldVertex), s->m_normal, budget);
        }
        int budget = kPortalWalkBudget;
        ClipThroughAdjoin(nothingClipped, owner, x, SurfaceCentroid(m_level, surfaceIndex),
                          s->m_normal, budget);
    }

private:
    struct CWalkFrame {
        int sector;
        std::size_t next;  // the next of the sector's surfaces to look at
        int depth;
    };

    CQzlSections& m_level;
    std::int32_t m_removalLevel;
    std::vector<char> m_holdsDoor;
    std::vector<CWalkFrame> m_frames;
    struct CWalkDepth {
        CClipView view;
        std::vector<CVector3> clipped;
    };

    std::vector<CVector3> m_portal;
    std::deque<CWalkDepth> m_depths;  // grows without moving what the walk holds
};

}  // namespace

void ReferenceProcessSectors(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    level.LinkAdjoins();
    const bool portalWalk = view.GetSettings().m_renderMethod == 2;
    for (auto& sector : level.m_sectors)
        sector->m_runtime[kVisiting] = 0;

    CVisibilityPass pass(view);
    for (std::size_t i = 0; i < level.m_sectors.size(); ++i) {
        const int sectorIndex = static_cast<int>(i);
        CQzlSector& sector = *level.m_sectors[i];
        sector.m_visible.clear();
        sector.m_visible.push_back(sectorIndex);
        sector.m_runtime[kVisiting] = 1;
        for (const std::int32_t surfaceIndex : sector.m_surfaces) {
            const CQzlSurface* s = pass.Surface(surfaceIndex);
            if (!s || s->m_adjoin < 0)
                continue;
            if (portalWalk)
                pass.PortalWalk(sectorIndex, surfaceIndex);
            else
                pass.PropagateThroughAdjoins(sectorIndex, surfaceIndex, s->m_adjoin, 0);
        }
        sector.m_runtime[kVisiting] = 0;
    }
}
