#include "engine/Visibility.h"

#include "engine/C3dView.h"
#include "engine/ClipPortal.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "framework/CFormat.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "framework/Workers.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace {

// The sector's visiting flag in the level: 0 outside a pass. The walks keep their own flags.
constexpr std::size_t kVisiting = 2;

// Sectors a worker is given at least, so that a small level is not spread over idle threads.
constexpr std::size_t kSectorsPerWorker = 8;

// What every walk of a pass reads, gathered once before the walks start and only read while they
// run (by several threads at once).
class CPassLevel {
public:
    explicit CPassLevel(const C3dView& view)
        : m_level(view.GetLevel()), m_removalLevel(view.GetSettings().m_removalLevel)
    {
        const std::size_t sectors = m_level.m_sectors.size();
        // Which sectors hold a door or an elevator. Template names are compared in any letter
        // case: the text reader keeps them in upper case.
        m_holdsDoor.assign(sectors, 0);
        for (const auto& thing : m_level.m_things) {
            if (!IsSector(thing->m_sector))
                continue;
            if (FindNoCase(thing->m_template, "elev") != std::string::npos ||
                FindNoCase(thing->m_template, "door") != std::string::npos)
                m_holdsDoor[static_cast<std::size_t>(thing->m_sector)] = 1;
        }

        // The world positions of every surface's corners (those that name a world vertex), in
        // winding order, and the sector behind each surface's adjoin.
        const std::size_t surfaces = m_level.m_surfaces.size();
        m_cornerStart.assign(surfaces + 1, 0);
        m_behind.assign(surfaces, -1);
        for (std::size_t i = 0; i < surfaces; ++i) {
            const CQzlSurface& s = *m_level.m_surfaces[i];
            m_cornerStart[i] = m_corners.size();
            for (const CQzlVertex& corner : s.m_vertices)
                if (corner.m_worldVertex >= 0 &&
                    static_cast<std::size_t>(corner.m_worldVertex) < m_level.m_worldVertices.size())
                    m_corners.push_back(WorldPosition(m_level, corner.m_worldVertex));
            m_behind[i] = OtherSector(s.m_adjoin);
        }
        m_cornerStart[surfaces] = m_corners.size();

        // What the portal walk reads of each sector's adjoined surfaces, in the sector's order:
        // only those with a sector behind them can be passed through.
        m_portalStart.assign(sectors + 1, 0);
        for (std::size_t i = 0; i < sectors; ++i) {
            m_portalStart[i] = m_portals.size();
            for (const std::int32_t surfaceIndex : m_level.m_sectors[i]->m_surfaces) {
                const CQzlSurface* t = Surface(surfaceIndex);
                if (!t || t->m_adjoin < 0 || SectorBehind(surfaceIndex) < 0)
                    continue;
                m_portals.push_back(
                    {t->m_normal, t->m_plane[3], SectorBehind(surfaceIndex), surfaceIndex});
            }
        }
        m_portalStart[sectors] = m_portals.size();
    }

    struct CPortal {
        CVector3 normal;
        float planeDistance;
        int behind;   // the sector behind the adjoin
        int surface;  // the adjoined surface
    };

    // The adjoined surfaces of a sector that lead to another sector, in the sector's order.
    std::span<const CPortal> Portals(int sector) const
    {
        const auto i = static_cast<std::size_t>(sector);
        return {m_portals.data() + m_portalStart[i], m_portalStart[i + 1] - m_portalStart[i]};
    }

    // The position of a portal of Portals among all the level's portals, from 0 to PortalCount.
    std::size_t PortalIndex(const CPortal& portal) const
    {
        return static_cast<std::size_t>(&portal - m_portals.data());
    }
    std::size_t PortalCount() const { return m_portals.size(); }

    std::size_t SectorCount() const { return m_level.m_sectors.size(); }
    std::int32_t RemovalLevel() const { return m_removalLevel; }

    bool IsSector(int index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_level.m_sectors.size();
    }

    const CQzlSector& Sector(int index) const
    {
        return *m_level.m_sectors[static_cast<std::size_t>(index)];
    }

    bool HoldsDoor(int sector) const { return m_holdsDoor[static_cast<std::size_t>(sector)] != 0; }

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

    // The sector behind the adjoin of a surface of the level (-1 as OtherSector).
    int SectorBehind(int surface) const { return m_behind[static_cast<std::size_t>(surface)]; }

    // The corners of a surface of the level.
    std::span<const CVector3> Corners(int surface) const
    {
        const auto i = static_cast<std::size_t>(surface);
        return {m_corners.data() + m_cornerStart[i], m_cornerStart[i + 1] - m_cornerStart[i]};
    }

    CVector3 Centroid(int surface) const { return SurfaceCentroid(m_level, surface); }

private:
    const CQzlSections& m_level;
    std::int32_t m_removalLevel;
    std::vector<char> m_holdsDoor;
    std::vector<std::size_t> m_cornerStart;
    std::vector<CVector3> m_corners;
    std::vector<int> m_behind;
    std::vector<std::size_t> m_portalStart;
    std::vector<CPortal> m_portals;
};

// The walks from one sector at a time, with the scratch they need: the visible set being built
// (a stamp per sector answers whether a sector is in it), the visiting flags and the clip
// polygons. One walker per thread; it reads the level and writes nothing of it.
class CSectorWalker {
public:
    explicit CSectorWalker(const CPassLevel& level)
        : m_level(level), m_stamp(level.SectorCount(), 0), m_visiting(level.SectorCount(), 0),
          m_facesStamp(level.PortalCount(), 0), m_faces(level.PortalCount(), 0)
    {}

    // Fills visible with the sorted set of the sectors seen from the sector.
    void Walk(int sectorIndex, bool portalWalk, std::vector<std::int32_t>& visible)
    {
        NewSet();
        Insert(sectorIndex);
        m_visiting[static_cast<std::size_t>(sectorIndex)] = 1;
        for (const std::int32_t surfaceIndex : m_level.Sector(sectorIndex).m_surfaces) {
            const CQzlSurface* s = m_level.Surface(surfaceIndex);
            if (!s || s->m_adjoin < 0)
                continue;
            if (portalWalk)
                PortalWalk(surfaceIndex, *s);
            else
                PropagateThroughAdjoins(surfaceIndex, *s, 0);
        }
        m_visiting[static_cast<std::size_t>(sectorIndex)] = 0;
        // The walks decide only by whether a sector is in the set, never by where: sorting once
        // at the end gives the set that inserting in order gives.
        std::sort(m_set.begin(), m_set.end());
        visible.assign(m_set.begin(), m_set.end());
    }

private:
    void NewSet()
    {
        m_set.clear();
        if (++m_epoch == 0) {
            std::fill(m_stamp.begin(), m_stamp.end(), 0);
            m_epoch = 1;
        }
    }

    bool Contains(int sector) const
    {
        return sector >= 0 && m_stamp[static_cast<std::size_t>(sector)] == m_epoch;
    }

    void Insert(int sector)
    {
        std::uint32_t& stamp = m_stamp[static_cast<std::size_t>(sector)];
        if (stamp != m_epoch) {
            stamp = m_epoch;
            m_set.push_back(sector);
        }
    }

    // The neighbour walk through the adjoin of the source surface, kept on an explicit stack (a
    // deep "Removal Level" on a large level must not exhaust the call stack). The order of the
    // walk is that of the recursion: depth first, surfaces in list order.
    void PropagateThroughAdjoins(int source, const CQzlSurface& sourceSurface, int depth)
    {
        const CVector3 sourceNormal = sourceSurface.m_normal;
        const std::int32_t removalLevel = m_level.RemovalLevel();
        m_frames.clear();

        // Enters sector b behind an adjoin at depth: adds it to the set and, unless it holds a
        // door or the depth is used up, stacks it to walk on from.
        const auto enter = [&](int b, int at) {
            if (at >= removalLevel || b < 0)
                return;
            Insert(b);
            if (m_level.HoldsDoor(b))
                return;
            m_frames.push_back({b, 0, at});
        };

        enter(m_level.SectorBehind(source), depth);
        while (!m_frames.empty()) {
            CWalkFrame& frame = m_frames.back();
            const std::vector<std::int32_t>& surfaces = m_level.Sector(frame.sector).m_surfaces;
            bool entered = false;
            while (frame.next < surfaces.size()) {
                const std::int32_t surfaceIndex = surfaces[frame.next++];
                const CQzlSurface* t = m_level.Surface(surfaceIndex);
                if (!t || t->m_adjoin < 0)
                    continue;
                if (Dot(t->m_normal, sourceNormal) <= -0.99f)
                    continue;
                const int c = m_level.SectorBehind(surfaceIndex);
                if (Contains(c))
                    continue;
                // enter may grow m_frames: frame is not used after it.
                const std::size_t before = m_frames.size();
                enter(c, frame.depth + 1);
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
    // into the starting sector).
    void ClipThroughAdjoin(std::span<const CVector3> polygon, int x, const CVector3& eye,
                           const CVector3& direction, int& budget, std::size_t depth = 0)
    {
        Insert(x);
        if (budget == 0)
            return;
        --budget;
        m_visiting[static_cast<std::size_t>(x)] = 1;
        // The view through polygon and the clipped polygon of each depth of the walk are kept
        // for the calls below this one.
        while (m_depths.size() <= depth)
            m_depths.emplace_back();
        CWalkDepth& at = m_depths[depth];
        bool viewMade = false;
        for (const CPassLevel::CPortal& t : m_level.Portals(x)) {
            const int y = t.behind;
            if (m_visiting[static_cast<std::size_t>(y)] != 0 || !FacesEye(t, eye, direction))
                continue;
            const std::span<const CVector3> portal = m_level.Corners(t.surface);
            if (!viewMade) {
                MakeClipView(polygon, eye, at.view);
                viewMade = true;
            }
            if (ClipPortal(at.view, portal, at.clipped))
                ClipThroughAdjoin(at.clipped, y, eye, direction, budget, depth + 1);
        }
        m_visiting[static_cast<std::size_t>(x)] = 0;
    }

    // True when the eye may see through the portal: it stands on the portal's inner side and not
    // the whole portal lies behind it. Both depend only on the eye and the direction, which stay
    // the same through one walk, while the walk comes to the same portal along many paths: the
    // answer is kept for the rest of the walk.
    bool FacesEye(const CPassLevel::CPortal& t, const CVector3& eye, const CVector3& direction)
    {
        const std::size_t i = m_level.PortalIndex(t);
        if (m_facesStamp[i] == m_eyeEpoch)
            return m_faces[i] != 0;
        bool faces = !(Dot(eye, t.normal) < t.planeDistance);
        if (faces) {
            const std::span<const CVector3> portal = m_level.Corners(t.surface);
            std::size_t behind = 0;
            for (const CVector3& v : portal)
                if (Dot(v - eye, direction) >= 0.0f)
                    ++behind;
            faces = behind != portal.size();
        }
        m_facesStamp[i] = m_eyeEpoch;
        m_faces[i] = faces ? 1 : 0;
        return faces;
    }

    // Starts the walk from a new eye point: no portal has been asked about yet.
    void NewEye()
    {
        if (++m_eyeEpoch == 0) {
            std::fill(m_facesStamp.begin(), m_facesStamp.end(), 0);
            m_eyeEpoch = 1;
        }
    }

    // Walks from every eye point of the adjoined surface: each corner, then its centroid.
    void PortalWalk(int surfaceIndex, const CQzlSurface& s)
    {
        const int x = m_level.SectorBehind(surfaceIndex);
        if (x < 0)
            return;
        for (const CVector3& corner : m_level.Corners(surfaceIndex)) {
            int budget = kPortalWalkBudget;
            NewEye();
            ClipThroughAdjoin({}, x, corner, s.m_normal, budget);
        }
        int budget = kPortalWalkBudget;
        NewEye();
        ClipThroughAdjoin({}, x, m_level.Centroid(surfaceIndex), s.m_normal, budget);
    }

    struct CWalkFrame {
        int sector;
        std::size_t next;  // the next of the sector's surfaces to look at
        int depth;
    };
    struct CWalkDepth {
        CClipView view;
        std::vector<CVector3> clipped;
    };

    const CPassLevel& m_level;
    std::vector<std::uint32_t> m_stamp;  // m_epoch: the sector is in the set being built
    std::uint32_t m_epoch = 0;
    std::vector<std::int32_t> m_set;          // the set being built, in the order found
    std::vector<char> m_visiting;             // 1 while the sector lies on the current walk's path
    std::vector<std::uint32_t> m_facesStamp;  // m_eyeEpoch: m_faces holds the walk's answer
    std::vector<char> m_faces;                // by portal: FacesEye for the walk's eye
    std::uint32_t m_eyeEpoch = 0;
    std::vector<CWalkFrame> m_frames;
    std::deque<CWalkDepth> m_depths;  // grows without moving what the walk holds
};

// The number of threads to spread the sectors over.
std::size_t WorkerCount(std::size_t sectors)
{
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t wanted = (sectors + kSectorsPerWorker - 1) / kSectorsPerWorker;
    return std::clamp<std::size_t>(wanted, 1, cores);
}

}  // namespace

void ProcessSectors(C3dView& view, const std::function<void()>& stepProgress)
{
    CQzlSections& level = view.GetLevel();
    level.LinkAdjoins();
    const bool portalWalk = view.GetSettings().m_renderMethod == 2;
    for (auto& sector : level.m_sectors)
        sector->m_runtime[kVisiting] = 0;

    const CPassLevel pass(view);
    const std::size_t sectors = level.m_sectors.size();
    if (sectors == 0)
        return;

    // The sectors' walks are independent: the workers take the next sector in turn and write
    // only that sector's set. This thread steps the progress and the status text as they finish,
    // one sector after the other in order of completion count, so the caller's window is
    // repainted as before.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::condition_variable changed;
    // Sectors walked. A worker wakes this thread only every kWakeEvery sectors (a wake for each
    // of thousands of short walks costs more than the walks); this thread also looks on its own
    // every kLookMs, so the progress never stands still for long.
    constexpr std::size_t kWakeEvery = 32;
    constexpr auto kLookMs = std::chrono::milliseconds(20);
    std::atomic<std::size_t> done{0};
    std::size_t finished = 0;  // workers that returned; guarded by mutex
    std::exception_ptr failure;

    const auto work = [&] {
        try {
            CSectorWalker walker(pass);
            for (;;) {
                const std::size_t i = next.fetch_add(1);
                if (i >= sectors || failed.load())
                    break;
                walker.Walk(static_cast<int>(i), portalWalk, level.m_sectors[i]->m_visible);
                if ((done.fetch_add(1) + 1) % kWakeEvery == 0) {
                    const std::lock_guard lock(mutex);
                    changed.notify_one();
                }
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            if (!failure)
                failure = std::current_exception();
            failed = true;
        }
        const std::lock_guard lock(mutex);
        ++finished;
        changed.notify_one();
    };

    const std::size_t workers = WorkerCount(sectors);
    // When no thread is to be had, those started do the whole pass.
    std::vector<std::jthread> threads = StartWorkers(workers, work);
    if (threads.empty()) {
        work();
        finished = 0;  // the pass ran on this thread: no worker to wait for
    }

    std::size_t reported = 0;
    for (;;) {
        std::size_t now = 0;
        bool over = false;
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, kLookMs,
                             [&] { return done.load() > reported || finished == threads.size(); });
            // Read after the finished count: a worker counts its last sector before it returns.
            over = finished == threads.size();
            now = done.load();
        }
        for (; reported < now; ++reported) {
            if (stepProgress)
                stepProgress();
            view.GetHost().SetStatusText(
                FormatC("Sector %d processed...", static_cast<int>(reported)));
        }
        if (over)
            break;
    }
    threads.clear();
    if (failure)
        std::rethrow_exception(failure);
}
