#include "engine/Camera.h"

#include "engine/C3dView.h"
#include "engine/KeyState.h"
#include "engine/TextureCache.h"
#include "framework/CFormat.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "math/Matrix.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <system_error>

namespace {

constexpr float kPi = 3.1415927f;

// Limits of RotateCamera: the forward axis may tilt up to this y.
constexpr float kMaxForwardY = 0.95f;

bool AltHeld(const C3dView& view)
{
    return view.GetKeys().IsAltDown();
}

// Rebuilds the view matrix's translation row so that the eye sits at position, keeping its axes.
void PlaceView(C3dView& view, const CVector3& position)
{
    D3DMATRIX& m = view.m_camera.m_viewMatrix;
    m.m[3][0] = 0.0f;
    m.m[3][1] = 0.0f;
    m.m[3][2] = 0.0f;
    m = MatrixMultiply(MatrixTranslation(NegateVector(position)), m);
}

// The camera position becomes position and the view matrix follows, whatever keys are held.
void PlaceCamera(C3dView& view, const CVector3& position)
{
    view.m_camera.m_position = position;
    PlaceView(view, position);
}

// a x b with the components written out as the camera uses them.
CVector3 Cross(const CVector3& a, const CVector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Parses "%ldx%ld"; false when the text is not exactly two positive numbers joined by 'x'.
bool ParseModeSize(const std::string& text, int& width, int& height)
{
    const char* first = text.data();
    const char* last = first + text.size();
    int w = 0;
    int h = 0;
    auto [afterWidth, widthError] = std::from_chars(first, last, w);
    if (widthError != std::errc() || afterWidth == last || *afterWidth != 'x') {
        return false;
    }
    auto [afterHeight, heightError] = std::from_chars(afterWidth + 1, last, h);
    if (heightError != std::errc() || afterHeight != last || w <= 0 || h <= 0) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

}  // namespace

CVector3 GetCameraPosition(const C3dView& view)
{
    const D3DMATRIX inverse = MatrixInvert(view.m_camera.m_viewMatrix);
    return {inverse.m[3][0], inverse.m[3][1], inverse.m[3][2]};
}

void SetCameraPosition(C3dView& view, float x, float y, float z)
{
    if (AltHeld(view)) {
        view.m_camera.m_position = GetCameraPosition(view);
        return;
    }
    PlaceCamera(view, {x, y, z});
}

void MoveCamera(C3dView& view, float distance)
{
    if (AltHeld(view)) {
        view.m_camera.m_viewMatrix.m[3][2] -= distance;
        view.m_camera.m_position = GetCameraPosition(view);
        return;
    }
    PlaceCamera(view, view.m_camera.m_position + view.m_camera.m_forwardAxis * distance);
}

namespace {

// Writes the camera's right, up and forward axes into the rotation part of a view matrix.
void WriteViewAxes(D3DMATRIX& m, const CVector3& right, const CVector3& up, const CVector3& forward)
{
    m.m[0][0] = right.x;
    m.m[1][0] = right.y;
    m.m[2][0] = right.z;
    m.m[0][1] = up.x;
    m.m[1][1] = up.y;
    m.m[2][1] = up.z;
    m.m[0][2] = forward.x;
    m.m[1][2] = forward.y;
    m.m[2][2] = forward.z;
}

}  // namespace

void SetCameraAxes(C3dView& view, float fx, float fy, float fz, float ux, float uy, float uz)
{
    const CVector3 forward{fx, fy, fz};
    const CVector3 up{ux, uy, uz};
    const CVector3 right = Cross(up, forward);
    WriteViewAxes(view.m_camera.m_viewMatrix, right, up, forward);
}

void GetCameraAxes(const C3dView& view, CVector3& forward, CVector3& up)
{
    const D3DMATRIX& m = view.m_camera.m_viewMatrix;
    forward = {m.m[0][2], m.m[1][2], m.m[2][2]};
    up = {m.m[0][1], m.m[1][1], m.m[2][1]};
}

void RotateCamera(C3dView& view, float a, float b, float c, float factor)
{
    const D3DMATRIX r = MatrixRotateXYZ(c * factor, b * factor, a * factor);
    const D3DMATRIX turned = MatrixMultiply(r, view.m_camera.m_viewMatrix);

    const CVector3 forward{turned.m[0][2], turned.m[1][2], turned.m[2][2]};
    CVector3 right{turned.m[0][0], 0.0f, turned.m[2][0]};
    const float length = VectorLength(right);
    // A right axis without a horizontal part (a camera rolled on its side) cannot be levelled.
    if (!(length > 0.0f)) {
        return;
    }
    right = right / length;
    const CVector3 up = Cross(forward, right);
    if (!(std::fabs(forward.y) <= kMaxForwardY && up.y >= 0.0f)) {
        return;
    }

    WriteViewAxes(view.m_camera.m_viewMatrix, right, up, forward);
    GetCameraAxes(view, view.m_camera.m_forwardAxis, view.m_camera.m_upAxis);
    // Turning keeps the eye where it is; only an orbit (Alt) keeps the translation row, so the
    // view turns about the point that row names.
    if (!AltHeld(view)) {
        PlaceView(view, view.m_camera.m_position);
    }
}

float FieldOfView(const C3dView& view)
{
    return view.GetDocument().m_enlargeView != 0 ? kPi / 8.0f : kPi / 3.0f;
}

void ResetDisplayModes(C3dView& view)
{
    view.m_viewport.m_displayModes.clear();
    view.m_viewport.m_displayModes.emplace_back("None");
}

bool AddDisplayMode(C3dView& view, long width, long height, int bitsPerPixel, int desktopBits)
{
    const bool knownDepth =
        bitsPerPixel == 32 || bitsPerPixel == 24 || bitsPerPixel == 16 || bitsPerPixel == 8;
    if (knownDepth && bitsPerPixel != desktopBits) {
        return false;
    }
    view.m_viewport.m_displayModes.push_back(FormatC("%ldx%ld", width, height));
    return true;
}

void ChooseRenderSize(C3dView& view, int width, int height)
{
    view.m_viewport.m_renderWidth = width;
    view.m_viewport.m_renderHeight = height;
    if (view.m_mode != C3dView::kDocumentView) {
        return;
    }
    const std::int32_t stretch = view.GetSettings().m_stretchMode;
    if (stretch <= 0 ||
        static_cast<std::size_t>(stretch) >= view.m_viewport.m_displayModes.size()) {
        return;
    }
    int w = 0;
    int h = 0;
    if (ParseModeSize(view.m_viewport.m_displayModes[static_cast<std::size_t>(stretch)], w, h)) {
        view.m_viewport.m_renderWidth = w;
        view.m_viewport.m_renderHeight = h;
    }
}

std::vector<int> DeviceAttemptOrder(std::int32_t device, int deviceCount)
{
    std::vector<int> order;
    if (deviceCount <= 0) {
        return order;
    }
    const int first = device >= 0 && device < deviceCount ? device : 0;
    order.push_back(first);
    for (int i = 0; i < deviceCount; ++i) {
        if (i != first) {
            order.push_back(i);
        }
    }
    return order;
}

bool SetUpViewAndProjection(C3dView& view, int width, int height)
{
    if (width <= 0 || height <= 0) {
        return false;
    }
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(view, forward, up);

    view.m_camera.m_nearPlane = kNearPlane;
    view.m_camera.m_farPlane = view.GetSettings().m_horizonDistance;
    const float aspect = (static_cast<float>(height) * 0.8f) / static_cast<float>(width);
    view.m_camera.m_worldMatrix = MatrixIdentity();
    view.m_camera.m_viewMatrix = MatrixIdentity();
    view.m_camera.m_projectionMatrix = MatrixProjection(
        FieldOfView(view), aspect, view.m_camera.m_nearPlane, view.m_camera.m_farPlane);
    const float sx = view.m_camera.m_projectionMatrix.m[0][0] * 0.5f;
    const float sy = view.m_camera.m_projectionMatrix.m[1][1] * 0.5f;
    view.m_camera.m_frustum[0] = -sx;
    view.m_camera.m_frustum[1] = sx;
    view.m_camera.m_frustum[2] = -sy;
    view.m_camera.m_frustum[3] = sy;

    // The camera comes back as it was; a held Alt key must not move it to the origin.
    SetCameraAxes(view, forward.x, forward.y, forward.z, up.x, up.y, up.z);
    PlaceCamera(view, view.m_camera.m_position);
    return true;
}

void SetUpRenderStates(C3dView& view)
{
    if (view.m_device == nullptr)
        return;
    const TextureFilter filter =
        view.GetSettings().m_textureMapping != 0 ? TextureFilter::Point : TextureFilter::Linear;
    view.m_device->SetRenderState(RenderState::Filter, static_cast<std::uint32_t>(filter));
}

void AttachDevice(C3dView& view, RenderDevice& device)
{
    view.ClearRenderObjects();
    view.m_device = &device;
    view.m_textureCache = std::make_unique<CTextureCache>(&device);
    view.m_skip = 0;
}

void DetachDevice(C3dView& view)
{
    view.m_skip = 1;
    view.ClearRenderObjects();
    view.m_sectorBuffers.m_device = nullptr;
    view.m_device = nullptr;
    view.m_textureCache = std::make_unique<CTextureCache>(nullptr);
    view.m_viewport.m_renderWidth = 0;
    view.m_viewport.m_renderHeight = 0;
}

bool Resize(C3dView& view, int cx, int cy)
{
    if (view.m_skip != 0 || cx <= 0 || cy <= 0 || view.m_mode != C3dView::kDocumentView) {
        return false;
    }
    if (view.GetSettings().m_stretchMode == 0) {
        view.m_viewport.m_renderWidth = cx;
        view.m_viewport.m_renderHeight = cy;
    }
    return true;
}
