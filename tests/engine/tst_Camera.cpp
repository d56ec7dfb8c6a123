#include "engine/Camera.h"

#include "engine/C3dView.h"
#include "engine/Dsound.h"
#include "engine/PointMarkers.h"
#include "engine/Texture.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

void ExpectNear(const CVector3& actual, const CVector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

CVector3 TranslationRow(const C3dView& view)
{
    return {view.m_camera.m_viewMatrix.m[3][0], view.m_camera.m_viewMatrix.m[3][1],
            view.m_camera.m_viewMatrix.m[3][2]};
}

CVector3 RightColumn(const C3dView& view)
{
    return {view.m_camera.m_viewMatrix.m[0][0], view.m_camera.m_viewMatrix.m[1][0],
            view.m_camera.m_viewMatrix.m[2][0]};
}

// ---- Position and axes ----

TEST(Camera, SetPositionPlacesTheEyeWhateverTheAxes)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;

    SetCameraPosition(v, 1.0f, 2.0f, 3.0f);
    EXPECT_EQ(v.m_camera.m_position, CVector3(1, 2, 3));
    ExpectNear(TranslationRow(v), {-1, -2, -3});
    ExpectNear(GetCameraPosition(v), {1, 2, 3});

    // Looking along +x: the right axis is up x forward = (0, 0, -1). Setting the axes keeps the
    // translation row and the stored axes; setting the position again puts the eye back.
    SetCameraAxes(v, 1, 0, 0, 0, 1, 0);
    ExpectNear(RightColumn(v), {0, 0, -1});
    ExpectNear(TranslationRow(v), {-1, -2, -3});
    EXPECT_EQ(v.m_camera.m_forwardAxis, CVector3(0, 0, 1));
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(v, forward, up);
    EXPECT_EQ(forward, CVector3(1, 0, 0));
    EXPECT_EQ(up, CVector3(0, 1, 0));

    SetCameraPosition(v, 1.0f, 2.0f, 3.0f);
    ExpectNear(GetCameraPosition(v), {1, 2, 3});
}

TEST(Camera, MoveGoesAlongTheStoredForwardAxis)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    SetCameraPosition(v, 1.0f, 2.0f, 3.0f);

    MoveCamera(v, 2.0f);
    EXPECT_EQ(v.m_camera.m_position, CVector3(1, 2, 5));
    ExpectNear(GetCameraPosition(v), {1, 2, 5});

    MoveCamera(v, -0.5f);
    ExpectNear(v.m_camera.m_position, {1, 2, 4.5f});
    ExpectNear(GetCameraPosition(v), {1, 2, 4.5f});
}

// ---- Alt: orbiting ----

TEST(Camera, AltHeldSetPositionOnlyReadsThePositionBack)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    SetCameraPosition(v, 1.0f, 2.0f, 3.0f);
    v.m_camera.m_position = {9, 9, 9};  // out of step with the matrix
    const D3DMATRIX before = v.m_camera.m_viewMatrix;

    f.m_keys.m_alt = true;
    SetCameraPosition(v, 7.0f, 7.0f, 7.0f);
    EXPECT_EQ(v.m_camera.m_viewMatrix, before);
    ExpectNear(v.m_camera.m_position, {1, 2, 3});
}

TEST(Camera, AltHeldMoveChangesTheOrbitDistance)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    SetCameraAxes(v, 1, 0, 0, 0, 1, 0);
    SetCameraPosition(v, 1.0f, 2.0f, 3.0f);
    const float distance = v.m_camera.m_viewMatrix.m[3][2];

    f.m_keys.m_alt = true;
    MoveCamera(v, 0.5f);
    EXPECT_FLOAT_EQ(v.m_camera.m_viewMatrix.m[3][2], distance - 0.5f);
    // The stored forward axis is still +z; the orbit moves along the view's own axis, +x.
    ExpectNear(v.m_camera.m_position, {1.5f, 2, 3});
}

// ---- Rotation ----

TEST(Camera, RotateTurnsAboutTheCameraPositionAndUpdatesTheAxes)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    SetCameraPosition(v, 4.0f, 1.0f, -2.0f);

    RotateCamera(v, 0, 1, 0, 0.1f);
    ExpectNear(v.m_camera.m_forwardAxis, {std::sin(0.1f), 0, std::cos(0.1f)});
    ExpectNear(v.m_camera.m_upAxis, {0, 1, 0});
    EXPECT_EQ(v.m_camera.m_position, CVector3(4, 1, -2));
    ExpectNear(GetCameraPosition(v), {4, 1, -2});

    // A tilt then a turn: the right axis stays level.
    RotateCamera(v, 1, 0, 0, 0.3f);
    RotateCamera(v, 0, 1, 0, 0.5f);
    EXPECT_EQ(RightColumn(v).y, 0.0f);
    ExpectNear(GetCameraPosition(v), {4, 1, -2});
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(v, forward, up);
    EXPECT_EQ(v.m_camera.m_forwardAxis, forward);
    EXPECT_EQ(v.m_camera.m_upAxis, up);
}

TEST(Camera, AltHeldRotateKeepsTheTranslationRowAndOrbits)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    SetCameraPosition(v, 4.0f, 1.0f, -2.0f);
    const CVector3 translation = TranslationRow(v);

    f.m_keys.m_alt = true;
    RotateCamera(v, 0, 1, 0, 0.5f);
    EXPECT_EQ(TranslationRow(v), translation);
    // The eye has swung about the point the translation names; the next Alt move reads it back.
    const CVector3 eye = GetCameraPosition(v);
    EXPECT_GT(LengthSquared(eye - CVector3(4, 1, -2)), 0.1f);
    MoveCamera(v, 0.0f);
    ExpectNear(v.m_camera.m_position, eye);
}

TEST(Camera, RotateRefusesTurnsThatTipTheCameraOver)
{
    struct CCase {
        const char* what;
        CVector3 forward;  // starting axes
        CVector3 up;
        CVector3 axis;
        float factor;
    };
    const CCase cases[] = {
        // Forward y = -sin 1.3 = -0.964, beyond 0.95.
        {"tilt beyond 0.95", {0, 0, 1}, {0, 1, 0}, {1, 0, 0}, 1.3f},
        {"tilt beyond 0.95 upwards", {0, 0, 1}, {0, 1, 0}, {1, 0, 0}, -1.3f},
        // Forward y = sin 3.0 = 0.14, but the up axis points down.
        {"upside down", {0, 0, 1}, {0, 1, 0}, {1, 0, 0}, 3.0f},
        // Rolled by a right angle: the levelled right axis turns round, up points down.
        {"rolled over", {0, 0, 1}, {0, 1, 0}, {0, 0, 1}, 1.5707964f},
        // A camera lying on its side: the right axis is vertical and cannot be levelled.
        {"right axis vertical", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 0.0f},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine f(MakeBoxRoom());
        C3dView& v = f.m_view;
        SetCameraAxes(v, c.forward.x, c.forward.y, c.forward.z, c.up.x, c.up.y, c.up.z);
        SetCameraPosition(v, 0.5f, 0.5f, 0.5f);
        v.m_camera.m_forwardAxis = c.forward;
        v.m_camera.m_upAxis = c.up;
        const D3DMATRIX before = v.m_camera.m_viewMatrix;

        RotateCamera(v, c.axis.x, c.axis.y, c.axis.z, c.factor);
        EXPECT_EQ(v.m_camera.m_viewMatrix, before);
        EXPECT_EQ(v.m_camera.m_forwardAxis, c.forward);
        EXPECT_EQ(v.m_camera.m_upAxis, c.up);
    }

    // Just inside the limit: forward y = -sin 1.2 = -0.932 is accepted.
    CFixtureEngine f(MakeBoxRoom());
    RotateCamera(f.m_view, 1, 0, 0, 1.2f);
    EXPECT_NEAR(f.m_view.m_camera.m_forwardAxis.y, -std::sin(1.2f), 1e-6f);
}

// ---- Device set-up ----

TEST(DeviceSetUp, ProjectionFollowsTheEnlargedViewFlagAndTheHorizon)
{
    struct CCase {
        int enlarge;
        float fov;
    };
    for (const CCase c : {CCase{0, 3.1415927f / 3.0f}, CCase{1, 3.1415927f / 8.0f}}) {
        SCOPED_TRACE(c.enlarge);
        CFixtureEngine f(MakeBoxRoom());
        C3dView& v = f.m_view;
        f.m_settings.m_horizonDistance = 25.0f;
        f.m_document.m_enlargeView = c.enlarge;
        EXPECT_FLOAT_EQ(FieldOfView(v), c.fov);

        ASSERT_TRUE(SetUpViewAndProjection(v, 800, 600));
        const float cot = 1.0f / std::tan(c.fov / 2.0f);
        const float aspect = 600.0f * 0.8f / 800.0f;
        EXPECT_FLOAT_EQ(v.m_camera.m_nearPlane, 0.05f);
        EXPECT_FLOAT_EQ(v.m_camera.m_farPlane, 25.0f);
        EXPECT_NEAR(v.m_camera.m_projectionMatrix.m[1][1], cot, 1e-5f);
        EXPECT_NEAR(v.m_camera.m_projectionMatrix.m[0][0], aspect * cot, 1e-5f);
        EXPECT_FLOAT_EQ(v.m_camera.m_projectionMatrix.m[2][2], 25.0f / (25.0f - 0.05f));
        EXPECT_FLOAT_EQ(v.m_camera.m_frustum[0], -v.m_camera.m_projectionMatrix.m[0][0] * 0.5f);
        EXPECT_FLOAT_EQ(v.m_camera.m_frustum[1], v.m_camera.m_projectionMatrix.m[0][0] * 0.5f);
        EXPECT_FLOAT_EQ(v.m_camera.m_frustum[2], -v.m_camera.m_projectionMatrix.m[1][1] * 0.5f);
        EXPECT_FLOAT_EQ(v.m_camera.m_frustum[3], v.m_camera.m_projectionMatrix.m[1][1] * 0.5f);
        EXPECT_EQ(v.m_camera.m_worldMatrix, MatrixIdentity());
    }
}

TEST(DeviceSetUp, KeepsTheCameraEvenWithAltHeldAndRefusesEmptySizes)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    SetCameraPosition(v, 3.0f, 1.0f, 2.0f);
    RotateCamera(v, 0, 1, 0, 0.7f);
    const D3DMATRIX camera = v.m_camera.m_viewMatrix;

    f.m_keys.m_alt = true;
    ASSERT_TRUE(SetUpViewAndProjection(v, 640, 480));
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(v.m_camera.m_viewMatrix.m[r][c], camera.m[r][c], 1e-5f);
        }
    }
    ExpectNear(GetCameraPosition(v), {3, 1, 2});

    const D3DMATRIX projection = v.m_camera.m_projectionMatrix;
    EXPECT_FALSE(SetUpViewAndProjection(v, 0, 480));
    EXPECT_FALSE(SetUpViewAndProjection(v, 640, -1));
    EXPECT_EQ(v.m_camera.m_projectionMatrix, projection);
}

TEST(DeviceSetUp, DisplayModesAndRenderSize)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& v = f.m_view;
    ResetDisplayModes(v);
    EXPECT_TRUE(AddDisplayMode(v, 640, 480, 16, 16));
    EXPECT_FALSE(AddDisplayMode(v, 800, 600, 32, 16));  // another known depth
    EXPECT_TRUE(AddDisplayMode(v, 1024, 768, 16, 16));
    EXPECT_TRUE(AddDisplayMode(v, 320, 200, 15, 16));  // not a depth that is compared
    EXPECT_EQ(v.m_viewport.m_displayModes,
              (std::vector<std::string>{"None", "640x480", "1024x768", "320x200"}));

    struct CCase {
        int stretch;
        std::int32_t mode;
        int width;
        int height;
    };
    const CCase cases[] = {
        {0, C3dView::kDocumentView, 500, 400},   // "None": the window's size
        {2, C3dView::kDocumentView, 1024, 768},  // entry 2, whatever the window
        {1, C3dView::kDocumentView, 640, 480},
        {4, C3dView::kDocumentView, 500, 400},  // beyond the list
        {-1, C3dView::kDocumentView, 500, 400},
        {2, C3dView::kPreview, 500, 400},  // previews ignore "StretchMode"
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.stretch);
        f.m_settings.m_stretchMode = c.stretch;
        v.m_mode = c.mode;
        ChooseRenderSize(v, 500, 400);
        EXPECT_EQ(v.m_viewport.m_renderWidth, c.width);
        EXPECT_EQ(v.m_viewport.m_renderHeight, c.height);
    }
}

TEST(DeviceSetUp, DeviceAttemptOrder)
{
    struct CCase {
        std::int32_t device;
        int count;
        std::vector<int> order;
    };
    const CCase cases[] = {
        {0, 3, {0, 1, 2}},  {2, 3, {2, 0, 1}},
        {1, 3, {1, 0, 2}},  {3, 3, {0, 1, 2}},  // beyond the list: the first entry first
        {-1, 3, {0, 1, 2}}, {0, 0, {}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(DeviceAttemptOrder(c.device, c.count), c.order);
    }
}

TEST(DeviceSetUp, TextureMappingChoosesTheFilter)
{
    // "Texture Mapping" as the options store it: 1 "Nearest", 0 "Linear"; any other non-zero
    // value is point sampling too.
    struct CCase {
        std::int32_t mapping;
        TextureFilter filter;
    };
    const CCase cases[] = {
        {1, TextureFilter::Point}, {0, TextureFilter::Linear}, {7, TextureFilter::Point}};
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.mapping);
        CRecordingRenderDevice device;  // outlives the engine
        CFixtureEngine f(MakeBoxRoom());
        device.m_renderStates[RenderState::Filter] = 99;
        f.m_settings.m_textureMapping = c.mapping;
        SetUpRenderStates(f.m_view);  // without a device: nothing to set
        f.m_view.m_device = &device;
        SetUpRenderStates(f.m_view);
        EXPECT_EQ(device.m_renderStates[RenderState::Filter], static_cast<std::uint32_t>(c.filter));
    }
}

TEST(DeviceSetUp, ResizeRemakesOnlyADocumentViewWithADevice)
{
    struct CCase {
        const char* what;
        std::int32_t skip;
        std::int32_t mode;
        int stretch;
        int cx;
        int cy;
        bool remake;
        int width;  // render size afterwards, from 100 x 80
        int height;
    };
    const CCase cases[] = {
        {"window size", 0, C3dView::kDocumentView, 0, 300, 200, true, 300, 200},
        {"display mode", 0, C3dView::kDocumentView, 1, 300, 200, true, 100, 80},
        {"no device", 1, C3dView::kDocumentView, 0, 300, 200, false, 100, 80},
        {"preview", 0, C3dView::kPreview, 0, 300, 200, false, 100, 80},
        {"zero width", 0, C3dView::kDocumentView, 0, 0, 200, false, 100, 80},
        {"zero height", 0, C3dView::kDocumentView, 0, 300, 0, false, 100, 80},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine f(MakeBoxRoom());
        C3dView& v = f.m_view;
        v.m_skip = c.skip;
        v.m_mode = c.mode;
        f.m_settings.m_stretchMode = c.stretch;
        v.m_viewport.m_renderWidth = 100;
        v.m_viewport.m_renderHeight = 80;
        EXPECT_EQ(Resize(v, c.cx, c.cy), c.remake);
        EXPECT_EQ(v.m_viewport.m_renderWidth, c.width);
        EXPECT_EQ(v.m_viewport.m_renderHeight, c.height);
    }
}

// ---- Engine lifetime ----

struct CEngineParts {
    CQzlSections level = MakeBoxRoom();
    CSettings settings;
    CDocumentState document;
    CGameResources game;
    CRecordingEngineHost host;
    CScriptedKeyState keys;
    CScriptedClock clock;
    CScriptedRandom random;
};

TEST(EngineLifetime, DrawingIsGatedOnTheDeviceAlone)
{
    CEngineParts p;
    CRecordingRenderDevice device;
    {
        // No input set-up exists to fail: a device is all that drawing needs.
        C3dView view(p.level, p.settings, p.document, p.game, p.host, p.keys, p.clock, p.random,
                     C3dView::kDocumentView, &device);
        EXPECT_EQ(view.m_skip, 0);
        EXPECT_EQ(view.m_device, &device);
        EXPECT_EQ(view.m_textureCache->GetDevice(), &device);
        ASSERT_NE(view.m_sound, nullptr);
    }
    {
        // Without a device the engine computes but draws nothing; its sounds are silent.
        C3dView view(p.level, p.settings, p.document, p.game, p.host, p.keys, p.clock, p.random);
        EXPECT_EQ(view.m_skip, 1);
        EXPECT_EQ(view.m_device, nullptr);
        ASSERT_NE(view.m_sound, nullptr);
        EXPECT_EQ(view.m_sound->LoadSound("door.wav"), -1);
    }
    EXPECT_TRUE(p.host.m_calls.empty());
}

TEST(EngineLifetime, ClearRenderObjectsFreesModelsTexturesAndMarkers)
{
    CEngineParts p;
    p.level.m_things.push_back(std::make_unique<CQzlThing>());
    C3dView view(p.level, p.settings, p.document, p.game, p.host, p.keys, p.clock, p.random);
    view.m_thingModels.push_back(std::make_unique<C3doModel>("crate.3do", "dflt.cmp"));
    p.level.m_things[0]->m_model = view.m_thingModels[0].get();
    p.level.m_things[0]->m_modelReady = 1;
    AddPointMarker(view.m_markers, 0.5f, 0.5f, 0.5f, 0xFFFF0000u, 0, p.settings, false);
    ASSERT_FALSE(view.m_markers.empty());

    view.ClearRenderObjects();
    EXPECT_TRUE(view.m_thingModels.empty());
    EXPECT_TRUE(view.m_markers.empty());
    EXPECT_TRUE(view.m_walk.m_animatedTextures.empty());
    ASSERT_NE(view.m_textureCache, nullptr);
    EXPECT_TRUE(view.m_textureCache->GetTextures().empty());
    EXPECT_EQ(p.level.m_things[0]->m_model, nullptr);
    EXPECT_EQ(p.level.m_things[0]->m_modelReady, 0);
}

}  // namespace
