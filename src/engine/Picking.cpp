#include "engine/Picking.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/KeyState.h"
#include "engine/RayCast.h"
#include "engine/RenderData.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

// value x numerator / denominator in integer arithmetic, multiply first; value unchanged for a
// denominator that is not positive, and kept within the int range.
int ScaleCoordinate(int value, int numerator, int denominator)
{
    if (denominator <= 0) {
        return value;
    }
    const long long scaled =
        static_cast<long long>(value) * static_cast<long long>(numerator) / denominator;
    return static_cast<int>(std::clamp<long long>(scaled, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// The step of the drags: 0.4 with Shift, else 0.1 with Ctrl, else 0.2.
float DragStep(const C3dView& view)
{
    const KeyState& keys = view.GetKeys();
    if (keys.IsShiftDown()) {
        return 0.4f;
    }
    if (keys.IsCtrlDown()) {
        return 0.1f;
    }
    return 0.2f;
}

// Appends p to the last picked points, keeping at most the newest two.
void AddLastPickPoint(C3dView& view, const CVector3& p)
{
    std::vector<CVector3>& points = view.m_selection.m_lastPickPoints;
    while (points.size() >= 2) {
        points.erase(points.begin());
    }
    points.push_back(p);
}

void ColorMarker(C3doMesh& marker, std::uint32_t color)
{
    for (D3DLVERTEX& v : marker.m_markerVertices) {
        v.color = color;
    }
    for (C3doFace& face : marker.m_faces) {
        for (D3DLVERTEX& v : face.m_vertices) {
            v.color = color;
        }
    }
}

// The hint of a point pick: 1 with the Sector Mode switch on, else surface + 2.
long PointHint(const C3dView& view, int surface)
{
    return view.GetDocument().m_sectorMode != 0 ? 1L : static_cast<long>(surface) + 2L;
}

// Whether "Lock" keeps the selection against a pick in hitSector: with no current sector, or when
// hitSector is not in the current sector's visible set.
bool LockKeepsSelection(C3dView& view, int hitSector)
{
    if (view.GetSettings().m_lock == 0) {
        return false;
    }
    std::vector<std::unique_ptr<CQzlSector>>& sectors = view.GetLevel().m_sectors;
    if (!InRange(sectors, view.m_selection.m_sector) || !At(sectors, view.m_selection.m_sector)) {
        return true;
    }
    const std::vector<std::int32_t>& visible = At(sectors, view.m_selection.m_sector)->m_visible;
    return !std::binary_search(visible.begin(), visible.end(), hitSector);
}

void PickCornerMarker(C3dView& view, int corner)
{
    CQzlSections& level = view.GetLevel();
    const int surfaceIndex = view.m_selection.m_vertexSurface;
    if (!InRange(level.m_surfaces, surfaceIndex) || !At(level.m_surfaces, surfaceIndex)) {
        return;
    }
    CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
    if (!InRange(surface.m_vertices, corner)) {
        return;
    }
    view.m_selection.m_vertex = corner;
    CQzlVertex& record = At(surface.m_vertices, corner);
    record.m_marked = 1;
    if (InRange(level.m_worldVertices, record.m_worldVertex)) {
        const CWorldVertex& w = At(level.m_worldVertices, record.m_worldVertex);
        AddLastPickPoint(view, {w.x, w.y, w.z});
    }
    CEngineHost& host = view.GetHost();
    host.SwitchPropertyView(PropertyView::kVertex);
    host.UpdateAllViews(PointHint(view, surfaceIndex));
    RebuildSector(view, view.m_selection.m_sector, ERebuildCause::View);
}

void PickGridNodeMarker(C3dView& view, int markerIndex, bool ctrl)
{
    const CSettings& settings = view.GetSettings();
    if (!ctrl) {
        const std::uint32_t grid = ColorToVertex(settings.m_colorGrid);
        for (auto& marker : view.m_markers) {
            if (marker) {
                ColorMarker(*marker, grid);
            }
        }
        view.m_selection.m_pickedNodes.clear();
    }
    C3doMesh& marker = *At(view.m_markers, markerIndex);
    ColorMarker(marker, ColorToVertex(settings.m_colorSelect));
    view.m_selection.m_pickedNodes.push_back(marker.m_markerPoint);
    AddLastPickPoint(view, marker.m_markerPoint);
    CEngineHost& host = view.GetHost();
    host.SwitchPropertyView(PropertyView::kVertex);
    host.UpdateAllViews(PointHint(view, view.m_selection.m_surface));
}

// The four pan steps and the thumb; the last position of the bar follows.
float PanStep(int code, int position, std::int32_t& last)
{
    float step = 0.0f;
    switch (code) {
    case kPanLineLeft:
        step = -1.0f;
        break;
    case kPanLineRight:
        step = 1.0f;
        break;
    case kPanPageLeft:
        step = -5.0f;
        break;
    case kPanPageRight:
        step = 5.0f;
        break;
    case kPanThumbTrack:
        step = static_cast<float>(static_cast<long long>(position) - last);
        break;
    default:
        break;
    }
    last = static_cast<std::int32_t>(static_cast<long long>(last) + static_cast<long long>(step));
    return step;
}

void PanBy(C3dView& view, const CVector3& offset)
{
    const CVector3 p = view.m_camera.m_position - offset;
    SetCameraPosition(view, p.x, p.y, p.z);
    view.GetHost().RequestFrame(true);
}

float PanScale(const C3dView& view)
{
    return view.GetDocument().m_enlargeView != 0 ? 0.2f : 1.0f;
}

// Right-button drag: turn and move the camera, drop the selection below the sector.
void RightDrag(C3dView& view, int x, int y, float s)
{
    if (view.m_drag.m_rightX == -1) {
        view.m_drag.m_rightX = x;
        view.m_drag.m_rightY = y;
    }
    const int dx = view.m_drag.m_rightX - x;
    const int dy = view.m_drag.m_rightY - y;
    RotateCamera(view, 0.0f, 1.0f, 0.0f, -s * static_cast<float>(dx) * 0.05f);
    MoveCamera(view, static_cast<float>(dy) * s * 0.1f);

    const CDocumentState& document = view.GetDocument();
    if (document.m_gridOn == 0 && document.m_objectFramesOpen == 0) {
        CQzlSections& level = view.GetLevel();
        if (view.m_selection.m_surface >= 0 && view.m_selection.m_vertex >= 0) {
            const int surfaceIndex = view.m_selection.m_vertexSurface >= 0
                                         ? view.m_selection.m_vertexSurface
                                         : view.m_selection.m_surface;
            if (InRange(level.m_surfaces, surfaceIndex) && At(level.m_surfaces, surfaceIndex)) {
                std::vector<CQzlVertex>& corners = At(level.m_surfaces, surfaceIndex)->m_vertices;
                if (InRange(corners, view.m_selection.m_vertex)) {
                    At(corners, view.m_selection.m_vertex).m_marked = 0;
                }
            }
        }
        view.m_selection.m_thing = -1;
        view.m_selection.m_vertex = -1;
        view.m_selection.m_vertexSurface = -1;
        view.m_selection.m_surface = -1;
        view.m_markers.clear();
    }
    view.GetHost().RequestFrame(true);
    view.m_drag.m_rightX = x;
    view.m_drag.m_rightY = y;
}

// The camera's ground axes of a horizontal slide: h across the view by the sign of dx, v along it
// by the sign of dy, each as (x, z).
struct CGroundStep {
    float x = 0.0f;
    float z = 0.0f;
};

CGroundStep GroundStep(const CVector3& look, int dx, int dy)
{
    CGroundStep h;
    if (dx > 0) {
        h = {-look.z, look.x};
    } else if (dx < 0) {
        h = {look.z, -look.x};
    }
    CGroundStep v;
    if (dy > 0) {
        v = {look.x, look.z};
    } else if (dy < 0) {
        v = {-look.x, -look.z};
    }
    return {h.x + v.x, h.z + v.z};
}

CQzlSurface* SurfaceAt(C3dView& view, int index)
{
    auto& surfaces = view.GetLevel().m_surfaces;
    return InRange(surfaces, index) ? At(surfaces, index).get() : nullptr;
}

void DragTexture(C3dView& view, CQzlSurface& surface, int dx, int dy, float s)
{
    for (CQzlVertex& corner : surface.m_vertices) {
        corner.m_u -= static_cast<float>(dx) * s;
        corner.m_v -= static_cast<float>(dy) * s;
        RoundToThousandth(corner.m_u, corner.m_v);
    }
    RebuildSurfaceVertices(view, view.m_selection.m_sector, view.m_selection.m_surface, true);
    view.GetHost().RequestFrame(true);
}

void DragSurface(C3dView& view, CQzlSurface& surface, int dx, int dy, float s)
{
    const CGroundStep step = GroundStep(view.m_camera.m_forwardAxis, dx, dy);
    std::vector<CWorldVertex>& world = view.GetLevel().m_worldVertices;
    for (const CQzlVertex& corner : surface.m_vertices) {
        if (!InRange(world, corner.m_worldVertex)) {
            continue;
        }
        CWorldVertex& w = At(world, corner.m_worldVertex);
        w.x += s * step.x / 10.0f;
        w.z += s * step.z / 10.0f;
    }
    RebuildSurfaceVertices(view, view.m_selection.m_sector, view.m_selection.m_surface, true);
}

void DragThing(C3dView& view, CQzlThing& thing, int dx, int dy)
{
    const CGroundStep step = GroundStep(view.m_camera.m_forwardAxis, dx, dy);
    thing.m_position.x += step.x * 0.01f;
    thing.m_position.z += step.z * 0.01f;
    if (thing.m_model != nullptr) {
        thing.m_model->m_position = thing.m_position;
        thing.m_model->m_placement.m[3][0] = thing.m_position.x;
        thing.m_model->m_placement.m[3][1] = thing.m_position.y;
        thing.m_model->m_placement.m[3][2] = thing.m_position.z;
        thing.m_model->m_boundsValid = 0;
    }
    // The thing moved: the document must ask to be saved.
    view.GetHost().SetModifiedFlag(true);
    view.GetHost().RequestFrame(true);
}

// Moves the current vertex in its surface's plane: -dx along the edge to the next corner, dy
// across it. A corner whose edge has no length has no direction to move in and stays.
void DragVertex(C3dView& view, CQzlSurface& surface, int dx, int dy)
{
    std::vector<CWorldVertex>& world = view.GetLevel().m_worldVertices;
    const std::size_t count = surface.m_vertices.size();
    const auto k = static_cast<std::size_t>(view.m_selection.m_vertex);
    const int pi = surface.m_vertices[k].m_worldVertex;
    const int qi = surface.m_vertices[(k + 1) % count].m_worldVertex;
    if (!InRange(world, pi) || !InRange(world, qi)) {
        return;
    }
    CWorldVertex& p = At(world, pi);
    const CWorldVertex& q = At(world, qi);
    const CVector3 edge{q.x - p.x, q.y - p.y, q.z - p.z};
    if (LengthSquared(edge) > 0.0f) {
        const CDVector3 ed = NormalizeVector(edge);
        const CVector3 e{static_cast<float>(ed.x), static_cast<float>(ed.y),
                         static_cast<float>(ed.z)};
        const CVector3& n = surface.m_normal;
        const CVector3 across{e.y * n.z - e.z * n.y, e.z * n.x - e.x * n.z, e.x * n.y - e.y * n.x};
        const CVector3 move =
            (e * -static_cast<float>(dx) + across * static_cast<float>(dy)) * 0.01f;
        p.x = RoundToStep(p.x + move.x, 100.0f);
        p.y = RoundToStep(p.y + move.y, 100.0f);
        p.z = RoundToStep(p.z + move.z, 100.0f);
    }
    RebuildSurfaceVertices(view, view.m_selection.m_sector, view.m_selection.m_vertexSurface, true);
}

// The left drag row of the edit mode, or none. The surface and corner a row needs are checked.
bool LeftDrag(C3dView& view, int x, int y, float s)
{
    const int mode = view.GetDocument().m_editMode;
    CQzlSurface* surface = nullptr;
    CQzlThing* thing = nullptr;
    switch (mode) {
    case 4:
    case 2:
        surface = SurfaceAt(view, view.m_selection.m_surface);
        if (surface == nullptr) {
            return false;
        }
        break;
    case 7: {
        auto& things = view.GetLevel().m_things;
        if (!InRange(things, view.m_selection.m_thing) || !At(things, view.m_selection.m_thing)) {
            return false;
        }
        thing = At(things, view.m_selection.m_thing).get();
        break;
    }
    case 6:
        surface = SurfaceAt(view, view.m_selection.m_vertexSurface);
        if (surface == nullptr || !InRange(surface->m_vertices, view.m_selection.m_vertex)) {
            return false;
        }
        break;
    default:
        return false;
    }

    if (view.m_drag.m_leftX == -1) {
        view.m_drag.m_leftX = x;
        view.m_drag.m_leftY = y;
    }
    const int dx = view.m_drag.m_leftX - x;
    const int dy = view.m_drag.m_leftY - y;
    switch (mode) {
    case 4:
        DragTexture(view, *surface, dx, dy, s);
        break;
    case 2:
        DragSurface(view, *surface, dx, dy, s);
        break;
    case 7:
        DragThing(view, *thing, dx, dy);
        break;
    default:
        DragVertex(view, *surface, dx, dy);
        break;
    }
    view.m_drag.m_leftX = x;
    view.m_drag.m_leftY = y;
    return true;
}

}  // namespace

CVector4& TransformVector4(CVector4& out, const CVector4& v, const D3DMATRIX& m)
{
    const float in[4] = {v.x, v.y, v.z, v.w};
    float r[4] = {};
    for (int c = 0; c < 4; ++c) {
        r[c] = in[0] * m.m[0][c] + in[1] * m.m[1][c] + in[2] * m.m[2][c] + in[3] * m.m[3][c];
    }
    out = {r[0], r[1], r[2], r[3]};
    return out;
}

void ScaleMousePoint(const C3dView& view, int& x, int& y)
{
    if (view.m_mode == C3dView::kPreview || view.GetSettings().m_stretchMode == 0) {
        return;
    }
    const CFrameRect& rect = view.m_viewport.m_viewRect;
    x = ScaleCoordinate(x, view.m_viewport.m_renderWidth, rect.right - rect.left);
    y = ScaleCoordinate(y, view.m_viewport.m_renderHeight, rect.bottom - rect.top);
}

void PickAtPoint(C3dView& view, int x, int y)
{
    const CDocumentState& document = view.GetDocument();
    if (view.m_walk.m_on != 0 || document.m_editMode == 2 || document.m_objectFramesOpen != 0) {
        return;
    }
    // A view that has no render size yet has no pixels to pick from.
    if (view.m_viewport.m_renderWidth <= 0 || view.m_viewport.m_renderHeight <= 0) {
        return;
    }
    ScaleMousePoint(view, x, y);

    const D3DMATRIX m =
        MatrixMultiply(MatrixMultiply(view.m_camera.m_worldMatrix, view.m_camera.m_viewMatrix),
                       view.m_camera.m_projectionMatrix);
    const D3DMATRIX inverse = MatrixInvert(m);
    const float nx =
        2.0f * static_cast<float>(x) / static_cast<float>(view.m_viewport.m_renderWidth) - 1.0f;
    const float ny =
        1.0f - 2.0f * static_cast<float>(y) / static_cast<float>(view.m_viewport.m_renderHeight);

    CVector4 nearPoint;
    CVector4 farPoint;
    TransformVector4(nearPoint, {nx, ny, 0.0f, 1.0f}, inverse);
    TransformVector4(farPoint, {nx, ny, 1.0f, 1.0f}, inverse);
    if (nearPoint.w == 0.0f || farPoint.w == 0.0f) {
        return;
    }
    const CVector3 origin{nearPoint.x / nearPoint.w, nearPoint.y / nearPoint.w,
                          nearPoint.z / nearPoint.w};
    const CVector3 end{farPoint.x / farPoint.w, farPoint.y / farPoint.w, farPoint.z / farPoint.w};
    const CVector3 along = end - origin;
    const float length = VectorLength(along);
    if (!(length > 0.0f) || !std::isfinite(length)) {
        return;
    }
    const CVector3 direction = along / length;

    const bool ctrl = view.GetKeys().IsCtrlDown();

    const CRayHit cast = CastRay(
        view, {.m_origin = origin, .m_direction = direction, .m_adjoinMode = kRayPassInvisible});
    if (!cast.m_found) {
        return;
    }
    ApplyPickHit(view, {cast.m_sector, cast.m_surface, cast.m_thing, cast.m_marker}, ctrl);
}

void ApplyPickHit(C3dView& view, const CPickHit& hit, bool ctrl)
{
    CQzlSections& level = view.GetLevel();
    const bool markerHit = InRange(view.m_markers, hit.marker) && At(view.m_markers, hit.marker);
    if (!markerHit && hit.surface < 0 && hit.thing < 0) {
        return;
    }

    if (!ctrl && InRange(level.m_surfaces, view.m_selection.m_vertexSurface) &&
        At(level.m_surfaces, view.m_selection.m_vertexSurface)) {
        for (CQzlVertex& corner :
             At(level.m_surfaces, view.m_selection.m_vertexSurface)->m_vertices) {
            corner.m_marked = 0;
        }
    }

    if (markerHit) {
        const std::int32_t corner = At(view.m_markers, hit.marker)->m_markerVertex;
        if (corner >= 0) {
            PickCornerMarker(view, corner);
        } else {
            PickGridNodeMarker(view, hit.marker, ctrl);
        }
        return;
    }

    CEngineHost& host = view.GetHost();
    view.m_markers.clear();
    const bool locked = LockKeepsSelection(view, hit.sector);
    if (hit.thing < 0) {
        if (!locked) {
            view.m_selection.m_sector = hit.sector;
            const int surface = view.GetDocument().m_sectorMode != 0 ? -1 : hit.surface;
            view.m_selection.m_surface = surface;
            view.m_selection.m_vertexSurface = surface;
            view.m_selection.m_vertex = -1;
            view.m_selection.m_thing = -1;
        }
        host.SwitchPropertyView(PropertyView::kSurface);
        host.UpdateAllViews(0);
        RebuildSector(view, view.m_selection.m_sector, ERebuildCause::View);
        return;
    }

    if (!locked) {
        view.m_selection.m_sector = hit.sector;
        view.m_selection.m_thing = hit.thing;
        view.m_selection.m_vertex = -1;
        view.m_selection.m_vertexSurface = -1;
        view.m_selection.m_surface = -1;
    }
    host.SwitchPropertyView(PropertyView::kThings);
    host.UpdateAllViews(0);
}

void HandleMouseMove(C3dView& view, int buttons, int x, int y)
{
    const float s = DragStep(view);
    ScaleMousePoint(view, x, y);

    if ((buttons & kMouseRight) != 0) {
        RightDrag(view, x, y, s);
    } else {
        view.m_drag.m_rightX = -1;
        view.m_drag.m_rightY = -1;
    }

    if ((buttons & kMouseLeft) == 0 || !LeftDrag(view, x, y, s)) {
        view.m_drag.m_leftX = -1;
        view.m_drag.m_leftY = -1;
    }
}

void ResetCameraTarget(C3dView& view)
{
    const auto& sectors = view.GetLevel().m_sectors;
    CVector3 target;
    if (InRange(sectors, view.m_selection.m_sector) &&
        sectors[static_cast<std::size_t>(view.m_selection.m_sector)]) {
        target = sectors[static_cast<std::size_t>(view.m_selection.m_sector)]->m_center;
    } else {
        target = (view.m_levelBox.min + view.m_levelBox.max) * 0.5f;
    }
    view.m_camera.m_forwardAxis = {0.0f, 0.0f, 1.0f};
    view.m_camera.m_upAxis = {0.0f, 1.0f, 0.0f};
    // The axes go in first, so that the view matrix's translation row is made for them.
    SetCameraAxes(view, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    SetCameraPosition(view, target.x, target.y, target.z);
    view.m_drag.m_scrollH = 0;
    view.m_drag.m_scrollV = 0;
    view.m_camera.m_savedPosition = view.m_camera.m_position;
    view.m_camera.m_savedForwardAxis = view.m_camera.m_forwardAxis;
    view.m_camera.m_focusPoint2 = view.m_camera.m_focusPoint;

    view.m_camera.m_jump = 1;
    view.GetHost().RequestFrame(true);
    view.m_camera.m_jump = 0;
}

void PanCameraHorizontal(C3dView& view, int code, int position)
{
    const float step = PanStep(code, position, view.m_drag.m_scrollH) * PanScale(view);
    const CVector3& look = view.m_camera.m_forwardAxis;
    PanBy(view, CVector3(-look.z, 0.0f, look.x) * (step * 0.01f));
}

void PanCameraVertical(C3dView& view, int code, int position)
{
    const float step = PanStep(code, position, view.m_drag.m_scrollV) * PanScale(view);
    PanBy(view, view.m_camera.m_upAxis * (step * 0.01f));
}
