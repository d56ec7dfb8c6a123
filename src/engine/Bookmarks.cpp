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
    entry.x = view.m_cameraPosition.x;
    entry.y = view.m_cameraPosition.y;
    entry.z = view.m_cameraPosition.z;
    entry.extra[0] = view.m_forwardAxis.x;
    entry.extra[1] = view.m_forwardAxis.y;
    entry.extra[2] = view.m_forwardAxis.z;
    entry.extra[3] = view.m_upAxis.x;
    entry.extra[4] = view.m_upAxis.y;
    entry.extra[5] = view.m_upAxis.z;
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

    view.m_cameraPosition = {entry.x, entry.y, entry.z};
    view.m_forwardAxis = {entry.extra[0], entry.extra[1], entry.extra[2]};
    view.m_upAxis = {entry.extra[3], entry.extra[4], entry.extra[5]};
    SetCameraAxes(view, view.m_forwardAxis.x, view.m_forwardAxis.y, view.m_forwardAxis.z,
                  view.m_upAxis.x, view.m_upAxis.y, view.m_upAxis.z);
    SetCameraPosition(view, view.m_cameraPosition.x, view.m_cameraPosition.y,
                      view.m_cameraPosition.z);

    CEngineHost& host = view.GetHost();
    host.BeginWaitCursor();

    CVector3 hitPoint;
    CVector3 hitNormal;
    int sector = -1;
    int surface = -1;
    int thing = -1;
    int marker = -1;
    if (CastRay(view, view.m_cameraPosition, CVector3(0.0f, -1.0f, 0.0f), hitPoint, hitNormal,
                sector, surface, thing, marker, true, false, kRayHitAdjoins) &&
        sector >= 0) {
        view.m_currentSector = sector;
    }
    view.m_currentSurface = -1;
    view.m_focusPoint = view.m_cameraPosition;
    view.m_focusPoint2 = view.m_cameraPosition;

    view.m_cameraJump = 1;
    host.RequestFrame(true);
    view.m_cameraJump = 0;

    host.EndWaitCursor();
}
