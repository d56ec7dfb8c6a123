#include "engine/FindItem.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/FrameRender.h"
#include "engine/Picking.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "math/Vector3.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr float kStandOff = 0.5f;

void SelectOnly(C3dView& view)
{
    CSelection& selection = view.m_selection;
    selection.m_surface = -1;
    selection.m_thing = -1;
    selection.m_vertex = -1;
    selection.m_vertexSurface = -1;
}

bool FindSector(C3dView& view, int index)
{
    if (!InRange(view.GetLevel().m_sectors, index))
        return false;
    SelectOnly(view);
    view.m_selection.m_sector = index;
    ResetCameraTarget(view);
    return true;
}

bool FindSurface(C3dView& view, int index)
{
    const CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_surfaces, index))
        return false;
    const CQzlSurface& surface = *At(level.m_surfaces, index);
    const CVector3 middle = CornerMean(level, surface);
    SelectOnly(view);
    view.m_selection.m_surface = index;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        const std::vector<int>& listed = level.m_sectors[s]->m_surfaces;
        if (std::find(listed.begin(), listed.end(), index) != listed.end()) {
            view.m_selection.m_sector = static_cast<int>(s);
            break;
        }
    }
    LookAlong(view, middle + surface.m_normal * kStandOff, NegateVector(surface.m_normal));
    return true;
}

bool FindThing(C3dView& view, int index)
{
    const CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_things, index))
        return false;
    const CQzlThing& thing = *At(level.m_things, index);
    SelectOnly(view);
    view.m_selection.m_thing = index;
    if (InRange(level.m_sectors, thing.m_sector))
        view.m_selection.m_sector = thing.m_sector;
    const CVector3 direction(0.0f, 0.0f, 1.0f);
    LookAlong(view, thing.m_position - direction * kStandOff, direction);
    return true;
}

}  // namespace

CVector3 CornerMean(const CQzlSections& level, const CQzlSurface& surface)
{
    CVector3 middle;
    int corners = 0;
    for (const CQzlVertex& corner : surface.m_vertices) {
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            continue;
        const CWorldVertex& v = At(level.m_worldVertices, corner.m_worldVertex);
        middle = middle + CVector3(v.x, v.y, v.z);
        ++corners;
    }
    if (corners > 0)
        middle = middle / static_cast<float>(corners);
    return middle;
}

void LookAlong(C3dView& view, const CVector3& position, const CVector3& direction)
{
    const float length = VectorLength(direction);
    const CVector3 forward = length > 0.0f ? direction / length : CVector3(0.0f, 0.0f, 1.0f);
    // The up axis without its part along the view: a camera looking straight up or down takes
    // +z as its up axis instead, so that its right axis is never zero.
    CVector3 up(0.0f, 1.0f, 0.0f);
    up = up - forward * Dot(up, forward);
    if (VectorLength(up) < 1e-4f) {
        up = CVector3(0.0f, 0.0f, 1.0f);
        up = up - forward * Dot(up, forward);
    }
    up = up / VectorLength(up);
    view.m_camera.m_forwardAxis = forward;
    view.m_camera.m_upAxis = up;
    // The axes first, so that the view matrix's translation row is made for them.
    SetCameraAxes(view, forward.x, forward.y, forward.z, up.x, up.y, up.z);
    SetCameraPosition(view, position.x, position.y, position.z);
}

void FindItem(C3dView& view, EFindItem kind, int index)
{
    switch (kind) {
    case EFindItem::Sector:
        FindSector(view, index);
        break;
    case EFindItem::Surface:
        FindSurface(view, index);
        break;
    case EFindItem::Thing:
        FindThing(view, index);
        break;
    case EFindItem::None:
        break;
    }
    view.m_camera.m_jump = 1;
    RenderFrame(view, 1);
    view.GetHost().UpdateAllViews(0);
    view.m_camera.m_jump = 0;
}
