#include "engine/CameraKeys.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Clock.h"
#include "engine/EngineHost.h"
#include "engine/KeyState.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"

#include <algorithm>

namespace {

struct CKeyPair {
    EKey first;
    EKey second;
};

CKeyPair PairOf(ECameraKeys which)
{
    switch (which) {
    case ECameraKeys::Turn:
        return {EKey::Right, EKey::Left};
    case ECameraKeys::Tilt:
        return {EKey::PageUp, EKey::PageDown};
    case ECameraKeys::Move:
    default:
        return {EKey::Up, EKey::Down};
    }
}

}  // namespace

void StepCamera(C3dView& view, bool forward)
{
    MoveCamera(view, forward ? 0.05f : -0.05f);
    view.GetHost().RequestFrame(true);
}

void CCameraKeyStepper::Begin(C3dView& view, ECameraKeys which)
{
    if (view.GetDocument().m_editMode == 0) {
        view.m_selection.m_thing = -1;
        view.m_selection.m_surface = -1;
    }
    m_which = which;
    m_t0 = view.GetClock().Milliseconds();
    m_active = true;
}

bool CCameraKeyStepper::Tick(C3dView& view)
{
    if (!m_active) {
        return false;
    }
    const KeyState& keys = view.GetKeys();
    const CKeyPair pair = PairOf(m_which);
    const bool first = keys.IsKeyDown(pair.first);
    const bool second = keys.IsKeyDown(pair.second);
    if (!first && !second) {
        m_active = false;
        return false;
    }

    const std::uint32_t t = view.GetClock().Milliseconds();
    const std::int32_t rate = std::max<std::int32_t>(1, view.GetSettings().m_frameRate);
    const std::uint32_t period = 1000u / static_cast<std::uint32_t>(rate);
    // Unsigned difference: a counter that wrapped still gives the time passed.
    if (t - m_t0 < period) {
        return true;
    }

    float s = 0.1f;
    if (keys.IsShiftDown()) {
        s = 0.2f;
    } else if (keys.IsCtrlDown()) {
        s = 0.05f;
    }
    if (second) {
        s = -s;
    }

    switch (m_which) {
    case ECameraKeys::Move:
        MoveCamera(view, s);
        break;
    case ECameraKeys::Turn:
        RotateCamera(view, 0.0f, 1.0f, 0.0f, s);
        break;
    case ECameraKeys::Tilt: {
        const CVector3& f = view.m_camera.m_forwardAxis;
        const CVector3& u = view.m_camera.m_upAxis;
        const float cx = f.y * u.z - f.z * u.y;
        const float cz = f.x * u.y - f.y * u.x;
        RotateCamera(view, cx, 0.0f, cz, s);
        break;
    }
    }
    view.GetHost().RequestFrame(true);
    m_t0 = t;
    return true;
}
