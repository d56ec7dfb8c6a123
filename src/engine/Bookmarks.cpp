#include "engine/Bookmarks.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/RayCast.h"
#include "level/QzlSections.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

bool IsZero(float x, float y, float z)
{
    return x == 0.0f && y == 0.0f && z == 0.0f;
}

// True when the entry can make a view: every value finite, neither axis the zero vector.
bool IsUsable(const CWorldVertex& entry)
{
    if (!std::isfinite(entry.x) || !std::isfinite(entry.y) || !std::isfinite(entry.z)) {
        return false;
    }
    for (float value : entry.extra) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return !IsZero(entry.extra[0], entry.extra[1], entry.extra[2]) &&
           !IsZero(entry.extra[3], entry.extra[4], entry.extra[5]);
}

}  // namespace

void StoreCameraBookmark(C3dView& view, int slot)
{
    if (slot < 0) {
        return;
    }
    std::vector<CWorldVertex>& bookmarks = view.GetLevel().m_bookmarks;
    const auto index = static_cast<std::size_t>(slot);
    if (index >= bookmarks.size()) {
        bookmarks.resize(index + 1);
    }
    CWorldVertex& entry = bookmarks[index];
    entry.x = view.m_camera.m_position.x;
    entry.y = view.m_camera.m_position.y;
    entry.z = view.m_camera.m_position.z;
    entry.extra[0] = view.m_camera.m_forwardAxis.x;
    entry.extra[1] = view.m_camera.m_forwardAxis.y;
    entry.extra[2] = view.m_camera.m_forwardAxis.z;
    entry.extra[3] = view.m_camera.m_upAxis.x;
    entry.extra[4] = view.m_camera.m_upAxis.y;
    entry.extra[5] = view.m_camera.m_upAxis.z;
}

void RecallCameraBookmark(C3dView& view, int slot)
{
    const std::vector<CWorldVertex>& bookmarks = view.GetLevel().m_bookmarks;
    if (slot < 0 || static_cast<std::size_t>(slot) >= bookmarks.size()) {
        return;
    }
    const CWorldVertex entry = bookmarks[static_cast<std::size_t>(slot)];
    if (!IsUsable(entry)) {
        return;
    }

    view.m_camera.m_position = {entry.x, entry.y, entry.z};
    view.m_camera.m_forwardAxis = {entry.extra[0], entry.extra[1], entry.extra[2]};
    view.m_camera.m_upAxis = {entry.extra[3], entry.extra[4], entry.extra[5]};
    SetCameraAxes(view, view.m_camera.m_forwardAxis.x, view.m_camera.m_forwardAxis.y,
                  view.m_camera.m_forwardAxis.z, view.m_camera.m_upAxis.x, view.m_camera.m_upAxis.y,
                  view.m_camera.m_upAxis.z);
    SetCameraPosition(view, view.m_camera.m_position.x, view.m_camera.m_position.y,
                      view.m_camera.m_position.z);

    CEngineHost& host = view.GetHost();
    host.BeginWaitCursor();

    const CRayHit hit = CastRay(view, {.m_origin = view.m_camera.m_position,
                                       .m_direction = CVector3(0.0f, -1.0f, 0.0f),
                                       .m_skipMarkers = true,
                                       .m_adjoinMode = kRayHitAdjoins});
    if (hit.m_found && hit.m_sector >= 0) {
        view.m_selection.m_sector = hit.m_sector;
    }
    view.m_selection.m_surface = -1;
    view.m_camera.m_focusPoint = view.m_camera.m_position;
    view.m_camera.m_focusPoint2 = view.m_camera.m_position;

    view.m_camera.m_jump = 1;
    host.RequestFrame(true);
    view.m_camera.m_jump = 0;

    host.EndWaitCursor();
}
