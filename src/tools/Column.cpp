#include "tools/Column.h"

#include "edit/SelectionDelete.h"
#include "edit/SplitSector.h"
#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "tools/Footprint.h"
#include "tools/LevelRollback.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The surface of sector the segment crosses first inside its outline; -1 for none.
int Crossed(const CQzlSections& level, int sector, const CVector3& p0, const CVector3& p1,
            bool allSurfaces)
{
    CVector3 hit;
    int surface = -1;
    if (!IntersectSegmentSector(level, sector, p0, p1, hit, surface, true, allSurfaces))
        return -1;
    return surface;
}

// A face of the column: the surface across the portal that the footprint edge's piece has
// there, and its sector.
struct CFace {
    std::int32_t m_surface;
    std::int32_t m_sector;
};

// The shape the builders get from a dialog's values and axes.
CRaisedShape ShapeOf(const CRaisedValues& values, const CVector3& base, const CVector3& second,
                     const CFootprintAxes& axes)
{
    CRaisedShape shape;
    shape.m_base = base;
    shape.m_second = second;
    shape.m_height = values.m_height;
    shape.m_normal = axes.m_normal;
    shape.m_depthAxis = axes.m_depthAxis;
    shape.m_widthAxis = axes.m_widthAxis;
    shape.m_upDown = values.m_upDown;
    shape.m_leftRight = values.m_leftRight;
    shape.m_look = values.m_look;
    return shape;
}

}  // namespace

CVector3 ShapeLean(const CRaisedShape& shape)
{
    return LeanOffset(shape.m_depthAxis, shape.m_widthAxis, shape.m_upDown, shape.m_leftRight) *
           shape.m_height;
}

bool CreateColumn(C3dView& view, const CRaisedShape& shape)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CDocumentState& document = view.GetDocument();
    const std::vector<CVector3> footprint = selection.m_pickedNodes;
    const int start = selection.m_sector;
    if (!InRange(level.m_sectors, start) || !InRange(level.m_surfaces, selection.m_surface) ||
        footprint.size() < 3)
        return false;
    CLevelRollback rollback(view);
    const CVector3& n = shape.m_normal;

    // The surface cut to the footprint; the piece inside becomes current.
    document.m_gridOn = 1;
    document.m_sectorMode = 0;
    if (!SplitSurface(view, true)) {
        rollback.Restore();
        return false;
    }

    // The walls, cut along the piece's outline; the piece on the footprint becomes current.
    selection.m_pickedNodes = {shape.m_base, shape.m_second};
    if (!CutSectorsByPlane(view, false, n, shape.m_depthAxis, shape.m_widthAxis, shape.m_upDown,
                           shape.m_leftRight, shape.m_look, false)) {
        rollback.Restore();
        return false;
    }
    RebuildSector(view, selection.m_sector);

    // The cap, only when the whole top lies inside the piece.
    const CVector3 lean = ShapeLean(shape);
    const CVector3 q = shape.m_base + lean + n * shape.m_height;
    selection.m_pickedNodes = {q, q + shape.m_depthAxis, q + shape.m_widthAxis};
    document.m_gridOn = 1;
    document.m_sectorMode = 1;
    const bool topInside = std::all_of(footprint.begin(), footprint.end(), [&](const CVector3& p) {
        return PointInSector(level, selection.m_sector, p + lean + n * shape.m_height, -0.01f);
    });
    // A cap the split cannot make (it says why) leaves the column open at the top.
    const bool capped = topInside && SplitSector(view, true);
    document.m_gridOn = 0;
    document.m_sectorMode = 0;

    // The column's piece holds the floor piece at the base point, textured or not; else the cap
    // split moved it to the newest sector.
    if (capped && Crossed(level, selection.m_sector, shape.m_base + n * 0.001f,
                          shape.m_base - n * 0.001f, true) < 0)
        selection.m_sector = static_cast<std::int32_t>(level.m_sectors.size()) - 1;
    const int piece = selection.m_sector;
    RebuildSector(view, piece);

    // The faces: across each footprint edge, the surface behind the piece's portal there.
    level.LinkAdjoins();
    std::vector<CFace> faces;
    for (std::size_t i = 0; i < footprint.size(); ++i) {
        const CVector3& a = footprint[i];
        const CVector3& b = footprint[(i + 1) % footprint.size()];
        const CVector3 m = FootprintEdgeNormal(n, a, b);
        const CVector3 middle = (a + b) * 0.5f + n * 0.001f;
        const CVector3 outer = middle + m * 0.001f;
        const CVector3 inner = middle - m * 0.001f;
        int met = Crossed(level, piece, outer, inner, true);
        if (met < 0)
            met = Crossed(level, piece, inner, outer, true);
        if (met < 0)
            continue;
        const std::int32_t adjoin = At(level.m_surfaces, met)->m_adjoin;
        if (!InRange(level.m_adjoins, adjoin))
            continue;
        const CQzlAdjoin& across = *At(level.m_adjoins, adjoin);
        if (InRange(level.m_surfaces, across.m_otherSurface) &&
            InRange(level.m_sectors, across.m_otherSector))
            faces.push_back({across.m_otherSurface, across.m_otherSector});
    }

    // The piece goes; the faces that looked into it become solid. Their records move down with
    // the piece's sector and surfaces.
    std::vector<std::int32_t> deleted = At(level.m_sectors, piece)->m_surfaces;
    std::sort(deleted.begin(), deleted.end());
    selection.m_sector = piece;
    document.m_gridOn = 1;
    if (!DeleteSelectedSector(view)) {
        rollback.Restore();
        return false;
    }
    document.m_gridOn = 1;
    document.m_sectorMode = 0;
    std::vector<std::int32_t> walls;
    for (CFace& face : faces) {
        face.m_sector -= face.m_sector > piece ? 1 : 0;
        face.m_surface = SurfaceAfterDeletes(face.m_surface, deleted);
        walls.push_back(face.m_surface);
    }
    ProcessSectors(view);
    DressCarvedWalls(view, walls, shape.m_look);
    for (const CFace& face : faces)
        RebuildSector(view, face.m_sector);
    if (InRange(level.m_sectors, start))
        RebuildSector(view, start);
    view.GetHost().UpdateAllViews(0);
    return true;
}

CCarveLook CurrentSurfaceLook(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    CCarveLook look;
    if (!InRange(level.m_surfaces, view.m_selection.m_surface))
        return look;
    const CQzlSurface& surface = *At(level.m_surfaces, view.m_selection.m_surface);
    look.m_material = surface.m_material;
    look.m_textureWidth = surface.m_textureWidth;
    look.m_textureHeight = surface.m_textureHeight;
    look.m_xTile = surface.m_xTile;
    look.m_yTile = surface.m_yTile;
    return look;
}

CRaisedShape LayOutRectangle(C3dView& view, const CRectangleValues& values, const CVector3& base,
                             const CVector3& second)
{
    const CFootprintAxes axes = FootprintAxes(view, base, second);
    const std::vector<CVector3>& nodes = view.m_selection.m_pickedNodes;
    LayOutFootprint(view,
                    nodes.size() == 2 ? RectangleCorners(base, values.m_width, values.m_depth,
                                                         axes.m_depthAxis, axes.m_widthAxis)
                                      : nodes,
                    values.m_snap, axes);
    return ShapeOf(values, base, second, axes);
}

void TakeSurfaceOutline(C3dView& view, CCylinderValues& values)
{
    const CQzlSections& level = view.GetLevel();
    std::vector<CVector3>& nodes = view.m_selection.m_pickedNodes;
    if (!nodes.empty() || !InRange(level.m_surfaces, view.m_selection.m_surface))
        return;
    for (const CQzlVertex& corner : At(level.m_surfaces, view.m_selection.m_surface)->m_vertices)
        nodes.insert(nodes.begin(), WorldPosition(level, corner.m_worldVertex));
    values.m_sides = static_cast<int>(nodes.size());
    values.m_fromSurface = true;
}

CRaisedShape LayOutCylinder(C3dView& view, const CCylinderValues& values, const CVector3& base,
                            const CVector3& second)
{
    const CFootprintAxes axes = FootprintAxes(view, base, second);
    if (!values.m_fromSurface)
        LayOutFootprint(view,
                        CylinderOutline(base, values.m_sides, values.m_radius, axes.m_depthAxis,
                                        axes.m_widthAxis),
                        values.m_snap, axes);
    return ShapeOf(values, base, second, axes);
}
