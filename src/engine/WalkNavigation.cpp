#include "engine/WalkNavigation.h"
#include "engine/WalkMode.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/KeyState.h"
#include "framework/DocumentState.h"
#include "math/Matrix.h"

#include <cstdint>

namespace {

// Radians of turn per pixel of mouse motion; five of them are the walk of a frame with the right
// button held.
constexpr float kShiftScale = 0.02f;
constexpr float kCtrlScale = 0.005f;
constexpr float kPlainScale = 0.01f;
// The step of a frame with the right button held, in scales.
constexpr float kWalkSteps = 5.0f;

}  // namespace

void NavigateWithMouse(C3dView& view)
{
    const KeyState& keys = view.GetKeys();
    const float scale =
        keys.IsShiftDown() ? kShiftScale : (keys.IsCtrlDown() ? kCtrlScale : kPlainScale);

    std::int32_t dx = 0;
    std::int32_t dy = 0;
    bool right = false;
    if (!view.m_walkMouse.Read(dx, dy, right)) {
        // Not followed (yet): follow it from now on, and navigate from the next frame.
        view.m_walkMouse.Acquire();
        return;
    }

    if (dx != 0)
        RotateCamera(view, 0.0f, 1.0f, 0.0f, scale * static_cast<float>(dx));
    if (dy != 0) {
        // About the level axis to the side of the view: look x up, without its height.
        const CVector3& look = view.m_camera.m_forwardAxis;
        const CVector3& up = view.m_camera.m_upAxis;
        RotateCamera(view, look.y * up.z - look.z * up.y, 0.0f, look.x * up.y - look.y * up.x,
                     scale * static_cast<float>(dy));
    }
    if (right)
        MoveCamera(view, scale * kWalkSteps);

    if (view.GetDocument().m_editMode == 0) {
        view.m_selection.m_surface = -1;
        view.m_selection.m_thing = -1;
        view.m_selection.m_vertexSurface = -1;
    }
}

void LevelWalkCamera(C3dView& view)
{
    CCameraState& camera = view.m_camera;
    GetCameraAxes(view, camera.m_forwardAxis, camera.m_upAxis);
    CVector3 forward{camera.m_forwardAxis.x, 0.0f, camera.m_forwardAxis.z};
    const float length = VectorLength(forward);
    forward = length > 0.0f ? forward / length : CVector3{0.0f, 0.0f, 1.0f};
    SetCameraAxes(view, forward.x, forward.y, forward.z, 0.0f, 1.0f, 0.0f);
    // The new axes with the eye where it was.
    D3DMATRIX& m = camera.m_viewMatrix;
    m.m[3][0] = 0.0f;
    m.m[3][1] = 0.0f;
    m.m[3][2] = 0.0f;
    m = MatrixMultiply(MatrixTranslation(NegateVector(camera.m_position)), m);
    GetCameraAxes(view, camera.m_forwardAxis, camera.m_upAxis);
}
