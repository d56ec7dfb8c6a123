#include "tools/Landscape.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/Random.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"
#include "tools/BuiltShape.h"
#include "tools/Column.h"
#include "tools/LevelRollback.h"
#include "tools/Pyramid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The wedge slicing finds the parts of a wedge by corners within 0.05 of the footprint's corners:
// a surface whose corners, or its centre, lie closer together than twice that would have its
// wedges mixed up, leaving sectors that are not closed.
constexpr float kFinestCorners = 0.1f;

bool TooFineToSplit(const CQzlSections& level, int surface)
{
    std::vector<CVector3> points;
    GetSurfaceCornerPolygon(level, surface, points);
    points.push_back(SurfaceCentroid(level, surface));
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j)
            if (VectorLength(points[i] - points[j]) < kFinestCorners)
                return true;
    return false;
}

// One level of the subdivision; every base triangle of this level and the levels below goes to
// slopes.
bool BuildLevel(C3dView& view, const CVector3& n, const CVector3& d, const CVector3& s,
                int levelsLeft, const CCarveLook& look, bool firstLevel,
                std::vector<std::int32_t>& slopes)
{
    CRaisedShape shape;
    shape.m_height = 0.0f;
    shape.m_normal = n;
    shape.m_depthAxis = d;
    shape.m_widthAxis = s;
    shape.m_look = look;
    const CPyramidOptions options{false, firstLevel, false};
    if (TooFineToSplit(view.GetLevel(), view.m_selection.m_surface)) {
        view.GetHost().ShowMessage(kLandscapeTooFine);
        return false;
    }
    if (!BuildPyramid(view, shape, options))
        return false;
    const std::vector<std::int32_t> sectors = view.m_work.m_newSectors;
    const std::vector<std::int32_t> surfaces = view.m_work.m_newSurfaces;
    if (levelsLeft > 1) {
        for (std::size_t i = 0; i < sectors.size(); ++i) {
            view.m_selection.m_sector = sectors[i];
            view.m_selection.m_surface = surfaces[i];
            if (!BuildLevel(view, n, d, s, levelsLeft - 1, look, false, slopes))
                return false;
        }
    }
    CQzlSections& level = view.GetLevel();
    for (const std::int32_t surface : surfaces)
        if (InRange(level.m_surfaces, surface)) {
            UpdateFloorFlag(*At(level.m_surfaces, surface));
            slopes.push_back(surface);
        }
    return true;
}

}  // namespace

bool BuildLandscapeLevel(C3dView& view, const CVector3& n, const CVector3& d, const CVector3& s,
                         int levelsLeft, const CCarveLook& look, bool firstLevel)
{
    std::vector<std::int32_t> slopes;
    return BuildLevel(view, n, d, s, levelsLeft, look, firstLevel, slopes);
}

CLandscapeParams LandscapeDefaults(const C3dView& view)
{
    CLandscapeParams params;
    const std::vector<CVector3>& nodes = view.m_selection.m_pickedNodes;
    if (!nodes.empty())
        params.m_node0 = nodes[0];
    if (nodes.size() >= 2)
        params.m_node1 = nodes[1];
    if (InRange(view.GetLevel().m_surfaces, view.m_selection.m_surface))
        params.m_look = CurrentSurfaceLook(view);
    return params;
}

bool CreateLandscape(C3dView& view, const CLandscapeParams& params)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const int start = selection.m_sector;
    const int surface = selection.m_surface;
    if (!InRange(level.m_sectors, start) || !InRange(level.m_surfaces, surface))
        return false;
    const CVector3 along = params.m_node1 - params.m_node0;
    const float length = VectorLength(along);
    if (!(length > 0.0f))
        return false;
    const CWaitCursorScope wait(view.GetHost());
    const std::size_t sectorsBefore = level.m_sectors.size();
    const CVector3 n = At(level.m_surfaces, surface)->m_normal;
    const CVector3 d = along / length;
    const CVector3 s = VectorCross(n, d);

    // The highest an apex can rise must stay inside the sector, a portal included.
    CVector3 hit;
    int crossed = -1;
    if (IntersectSegmentSector(level, start, params.m_node0 + n * 0.002f,
                               params.m_node0 + n * (params.m_maxDepth + 0.02f), hit, crossed, true,
                               true)) {
        view.GetHost().ShowMessage(kLandscapeTooHigh);
        return false;
    }

    // A split refused deeper down would leave the levels above it half cut: all of it goes back.
    CLevelRollback rollback(view);
    const CSoundnessCheck soundness(level, start);
    view.m_work.m_raisedVertices.clear();
    view.m_work.m_raiseDirections.clear();
    std::vector<std::int32_t> slopes;
    if (!BuildLevel(view, n, d, s, params.m_splits, params.m_look, true, slopes)) {
        rollback.Restore();
        view.m_work.m_raisedVertices.clear();
        view.m_work.m_raiseDirections.clear();
        return false;
    }

    Random& random = view.GetRandom();
    const std::vector<std::int32_t>& raised = view.m_work.m_raisedVertices;
    const std::vector<CVector3>& directions = view.m_work.m_raiseDirections;
    for (std::size_t i = 0; i < raised.size() && i < directions.size(); ++i) {
        const double span =
            static_cast<double>(params.m_maxDepth) - static_cast<double>(params.m_minDepth);
        const auto r = static_cast<float>(static_cast<double>(random.Next()) * span / 32767.0 +
                                          static_cast<double>(params.m_minDepth));
        if (!InRange(level.m_worldVertices, raised[i]))
            continue;
        // Kept on the grid that rebuilding the render data rounds world vertices to, so that the
        // planes worked out below stay those of the stored corners.
        constexpr float kStep = 100000.0f;
        CWorldVertex& vertex = At(level.m_worldVertices, raised[i]);
        vertex.x = RoundToStep(vertex.x + r * directions[i].x, kStep);
        vertex.y = RoundToStep(vertex.y + r * directions[i].y, kStep);
        vertex.z = RoundToStep(vertex.z + r * directions[i].z, kStep);
    }
    // The slopes' planes follow their corners, and a slope too steep to walk on is no floor.
    UpdateSectorBounds(level);
    for (const std::int32_t slope : slopes)
        UpdateFloorFlag(*At(level.m_surfaces, slope));
    std::vector<std::int32_t> made{start};
    for (std::size_t sector = sectorsBefore; sector < level.m_sectors.size(); ++sector)
        made.push_back(static_cast<std::int32_t>(sector));
    if (!soundness.Holds(level, SectorsAndNeighbours(level, made))) {
        rollback.Restore();
        view.m_work.m_raisedVertices.clear();
        view.m_work.m_raiseDirections.clear();
        view.GetHost().ShowMessage(kLandscapeShapeText);
        return false;
    }

    ProcessSectors(view);
    view.GetHost().UpdateAllViews(0);
    RebuildSector(view, start);
    for (std::size_t sector = sectorsBefore; sector < level.m_sectors.size(); ++sector)
        RebuildSector(view, static_cast<int>(sector));
    return true;
}

bool RunCreateLandscapeCommand(C3dView& view, const CLandscapeParams& params)
{
    return RunUndoable(view, [&] { return CreateLandscape(view, params); });
}
