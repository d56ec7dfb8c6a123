// Walk mode's parts of the frame routine, against a recording render device and a recording sound
// device: the texture scroll of surfaces with scroll speeds (once per drawn frame, drawn from
// their own vertices, not the sector's buffer), the spin of spinning things, the sound listener
// at the camera, the mouse navigation (turn, tilt, walk, the modifier scales, the acquire on a
// failed read), the levelled camera and the sky surfaces' own coordinates on leaving walk mode.

#include "engine/FrameRender.h"

#include "FrameTestSupport.h"
#include "engine/Camera.h"
#include "engine/Dsound.h"
#include "engine/RenderData.h"
#include "engine/WalkMode.h"
#include "engine/WalkNavigation.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"
#include "support/RecordingSoundDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// An engine over level drawing on a recording device at 100 x 100 pixels, the camera in sector
// 0 at (0.1, 0.5, 0.5) looking along +x at the wall x = 1.
class CWalkFrameFixture {
public:
    explicit CWalkFrameFixture(CQzlSections level) : m_engine(std::move(level))
    {
        C3dView& v = m_engine.m_view;
        ReadyToDraw(v, m_device);
        SetCameraPosition(v, 0.1f, 0.5f, 0.5f);
        GetCameraAxes(v, v.m_camera.m_forwardAxis, v.m_camera.m_upAxis);
        m_engine.m_document.m_renderMode = 0;
        m_engine.m_clock.m_now = 100000;
    }

    C3dView& View() { return m_engine.m_view; }
    CQzlSurface& Surface(int index)
    {
        return *m_engine.m_level.m_surfaces[static_cast<std::size_t>(index)];
    }

    void Frame()
    {
        m_device.m_draws.clear();
        m_device.m_calls.clear();
        RenderFrame(View(), 1);
    }

    // The draws whose first vertex lies at x (within 1e-4), streamed or from a buffer.
    std::vector<CRecordingRenderDevice::CDrawRecord> DrawsAtX(float x, bool streamed) const
    {
        std::vector<CRecordingRenderDevice::CDrawRecord> found;
        for (const auto& d : m_device.m_draws)
            if (!d.m_vertices.empty() && std::fabs(d.m_vertices[0].x - x) < 1e-4f &&
                std::all_of(d.m_vertices.begin(), d.m_vertices.end(),
                            [x](const D3DLVERTEX& v) { return std::fabs(v.x - x) < 1e-4f; }) &&
                (d.m_buffer == kNoBuffer) == streamed)
                found.push_back(d);
        return found;
    }

    CRecordingRenderDevice m_device;  // outlives the engine
    CFixtureEngine m_engine;
};

std::vector<float> Us(const std::vector<D3DLVERTEX>& vertices)
{
    std::vector<float> u;
    for (const D3DLVERTEX& v : vertices)
        u.push_back(v.tu);
    return u;
}

TEST(WalkFrame, ScrollingSurfacesMoveOncePerFrameAndAreDrawnFromTheirOwnVertices)
{
    CWalkFrameFixture f(MakeBoxRoom());
    const int wall = BoxSurface(f.m_engine.m_level, 0, EBoxSide::kBoxXHigh);
    CQzlSurface& surface = f.Surface(wall);
    const std::vector<D3DLVERTEX> rest = surface.m_renderVertices;
    const int floor = BoxSurface(f.m_engine.m_level, 0, EBoxSide::kBoxFloor);
    const std::vector<float> floorRest = Us(f.Surface(floor).m_renderVertices);

    // Without scroll speeds the wall comes from the sector's buffer.
    f.Frame();
    EXPECT_EQ(f.DrawsAtX(1.0f, false).size(), 1u);
    EXPECT_TRUE(f.DrawsAtX(1.0f, true).empty());

    surface.m_scrollU = 0.25f;
    surface.m_scrollV = -0.5f;
    for (int frame = 1; frame <= 3; ++frame) {
        f.Frame();
        const auto streamed = f.DrawsAtX(1.0f, true);
        ASSERT_EQ(streamed.size(), 1u) << "frame " << frame;
        EXPECT_TRUE(f.DrawsAtX(1.0f, false).empty());
        for (std::size_t i = 0; i < rest.size(); ++i) {
            EXPECT_FLOAT_EQ(streamed[0].m_vertices[i].tu, rest[i].tu + 0.25f * frame);
            EXPECT_FLOAT_EQ(streamed[0].m_vertices[i].tv, rest[i].tv - 0.5f * frame);
        }
    }
    // The other walls stay as they were.
    EXPECT_EQ(Us(f.Surface(floor).m_renderVertices), floorRest);

    // A wall out of view does not scroll.
    const int behind = BoxSurface(f.m_engine.m_level, 0, EBoxSide::kBoxXLow);
    CQzlSurface& back = f.Surface(behind);
    const std::vector<float> backRest = Us(back.m_renderVertices);
    back.m_scrollU = 1.0f;
    f.Frame();
    EXPECT_EQ(Us(back.m_renderVertices), backRest);
}

TEST(WalkFrame, SkySurfacesGetTheirStoredCoordinatesBackAfterWalkMode)
{
    CWalkFrameFixture f(MakeBoxRoom());
    const int wall = BoxSurface(f.m_engine.m_level, 0, EBoxSide::kBoxXHigh);
    CQzlSurface& sky = f.Surface(wall);
    sky.m_surfaceFlags |= 0x200;  // "Sky (Wall)"
    const std::vector<D3DLVERTEX> rest = sky.m_renderVertices;
    f.View().m_walk.m_on = 1;
    f.Frame();
    EXPECT_NE(Us(sky.m_renderVertices), Us(rest));
    f.View().m_walk.m_on = 0;
    SetWalkMode(f.View());  // the tear-down
    ASSERT_EQ(sky.m_renderVertices.size(), rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        EXPECT_FLOAT_EQ(sky.m_renderVertices[i].tu, rest[i].tu);
        EXPECT_FLOAT_EQ(sky.m_renderVertices[i].tv, rest[i].tv);
        EXPECT_EQ(sky.m_renderVertices[i].color, rest[i].color);
    }
}

TEST(WalkFrame, TranslucentSurfacesScrollToo)
{
    CWalkFrameFixture f(MakeTwoJoinedRooms());
    const int portal = BoxSurface(f.m_engine.m_level, 0, EBoxSide::kBoxXHigh);
    CQzlSurface& surface = f.Surface(portal);
    surface.m_faceFlags |= 0x2;  // translucent
    surface.m_scrollU = 0.125f;
    const std::vector<float> rest = Us(surface.m_renderVertices);
    ASSERT_FALSE(rest.empty());
    f.Frame();
    f.Frame();
    const std::vector<float> now = Us(surface.m_renderVertices);
    for (std::size_t i = 0; i < rest.size(); ++i)
        EXPECT_FLOAT_EQ(now[i], rest[i] + 0.25f);
}

// A thing in sector 0 with a ghost model at (0.8, 0.5, 0.5).
C3doModel& AddGhost(CWalkFrameFixture& f, std::vector<std::unique_ptr<C3doModel>>& models)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_sector = 0;
    models.push_back(std::make_unique<C3doModel>("ghost", "dflt.cmp"));
    C3doModel& model = *models.back();
    model.BuildGhost(0x00FFFFFF);
    model.m_placement = MatrixTranslation({0.8f, 0.5f, 0.5f});
    model.m_spinPlacement = model.m_placement;
    thing->m_model = &model;
    f.m_engine.m_level.m_things.push_back(std::move(thing));
    return model;
}

bool SameMatrix(const D3DMATRIX& a, const D3DMATRIX& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(a.m[r][c] - b.m[r][c]) > 1e-5f)
                return false;
    return true;
}

TEST(WalkFrame, SpinningThingsAreDrawnAtTheirTurnWhichGoesOnOneStepPerFrame)
{
    CWalkFrameFixture f(MakeBoxRoom());
    f.m_engine.m_settings.m_threeDoDistance = 5.0f;
    std::vector<std::unique_ptr<C3doModel>> models;
    C3doModel& still = AddGhost(f, models);
    C3doModel& spinning = AddGhost(f, models);
    f.m_engine.m_level.m_things[1]->m_runtimeWord = 1;
    spinning.m_stepRotation = MatrixRotateY(0.1f);
    spinning.m_spinPlacement = MatrixMultiply(MatrixRotateY(0.5f), spinning.m_placement);
    const D3DMATRIX start = spinning.m_spinPlacement;

    const auto worlds = [&f] {
        std::vector<D3DMATRIX> found;
        for (const auto& d : f.m_device.m_draws)
            if (!SameMatrix(d.m_world, MatrixIdentity()) &&
                (found.empty() || !SameMatrix(found.back(), d.m_world)))
                found.push_back(d.m_world);
        return found;
    };
    f.Frame();
    std::vector<D3DMATRIX> drawn = worlds();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_TRUE(SameMatrix(drawn[0], still.m_placement));
    EXPECT_TRUE(SameMatrix(drawn[1], start));
    const D3DMATRIX once = MatrixMultiply(spinning.m_stepRotation, start);
    EXPECT_TRUE(SameMatrix(spinning.m_spinPlacement, once));

    f.Frame();
    drawn = worlds();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_TRUE(SameMatrix(drawn[1], once));
    EXPECT_TRUE(
        SameMatrix(spinning.m_spinPlacement, MatrixMultiply(spinning.m_stepRotation, once)));
    // The thing without the flag keeps its matrices.
    EXPECT_TRUE(SameMatrix(still.m_spinPlacement, still.m_placement));
}

TEST(WalkFrame, TheListenerFollowsTheCameraInWalkModeOnly)
{
    CWalkFrameFixture f(MakeBoxRoom());
    C3dView& v = f.View();
    CRecordingSoundDevice sound;
    v.m_sound = std::make_unique<CDsound>(&sound, nullptr, nullptr);

    f.Frame();
    EXPECT_TRUE(sound.m_log.empty());

    v.m_walk.m_on = 1;
    f.Frame();
    ASSERT_EQ(sound.m_log.size(), 1u);
    EXPECT_EQ(sound.m_log[0], "listener 0.1 0.5 0.5 front 1 0 0 top 0 1 0");
    EXPECT_FLOAT_EQ(v.m_walk.m_animationClock, 1.0f);

    // A device that plays nothing hears of no listener.
    sound.m_open = false;
    f.Frame();
    EXPECT_EQ(sound.m_log.size(), 1u);
    v.m_sound.reset();
    v.m_walk.m_on = 0;
}

float AngleBetween(const CVector3& a, const CVector3& b)
{
    return std::acos(std::clamp(Dot(a, b) / (VectorLength(a) * VectorLength(b)), -1.0f, 1.0f));
}

TEST(WalkFrame, MouseTurnsTiltsAndWalksByTheModifiersScale)
{
    struct CCase {
        const char* name;
        bool shift;
        bool ctrl;
        float scale;
    };
    const CCase cases[] = {
        {"plain", false, false, 0.01f},
        {"shift", true, false, 0.02f},
        {"ctrl", false, true, 0.005f},
        {"shift before ctrl", true, true, 0.02f},
    };
    for (const CCase& c : cases) {
        CWalkFrameFixture f(MakeBoxRoom());
        C3dView& v = f.View();
        f.m_engine.m_keys.m_shift = c.shift;
        f.m_engine.m_keys.m_ctrl = c.ctrl;
        v.m_walkMouse.Acquire();

        // Sideways: a turn about the vertical by scale x dx.
        v.m_walkMouse.AddMotion(10, 0);
        NavigateWithMouse(v);
        const CVector3 turned = v.m_camera.m_forwardAxis;
        EXPECT_NEAR(turned.y, 0.0f, 1e-5f) << c.name;
        EXPECT_NEAR(AngleBetween(turned, {1.0f, 0.0f, 0.0f}), c.scale * 10.0f, 1e-4f) << c.name;

        // Up or down: a tilt by scale x dy.
        v.m_walkMouse.AddMotion(0, 7);
        NavigateWithMouse(v);
        EXPECT_NEAR(std::fabs(std::asin(v.m_camera.m_forwardAxis.y)), c.scale * 7.0f, 1e-4f)
            << c.name;

        // The right button walks scale x 5 along the view.
        const CVector3 from = v.m_camera.m_position;
        v.m_walkMouse.m_rightButton = true;
        NavigateWithMouse(v);
        EXPECT_NEAR(VectorLength(v.m_camera.m_position - from), c.scale * 5.0f, 1e-5f) << c.name;
        // The motion was taken: the next frame without motion turns nothing.
        const CVector3 forward = v.m_camera.m_forwardAxis;
        v.m_walkMouse.m_rightButton = false;
        NavigateWithMouse(v);
        EXPECT_NEAR(AngleBetween(forward, v.m_camera.m_forwardAxis), 0.0f, 1e-5f) << c.name;
    }
}

TEST(WalkFrame, NavigationAcquiresAMouseNotFollowedAndClearsThePickWithoutEditMode)
{
    CWalkFrameFixture f(MakeBoxRoom());
    C3dView& v = f.View();
    CSelection& selection = v.m_selection;
    const auto pick = [&selection] {
        selection.m_surface = 2;
        selection.m_thing = 0;
        selection.m_vertexSurface = 2;
        selection.m_vertex = 1;
    };

    // Not followed yet: the motion is not gathered, the read fails, the mouse is acquired and
    // nothing else happens in that frame.
    v.m_walkMouse.AddMotion(50, 0);
    pick();
    NavigateWithMouse(v);
    EXPECT_TRUE(v.m_walkMouse.m_acquired);
    EXPECT_EQ(selection.m_surface, 2);
    EXPECT_FLOAT_EQ(v.m_camera.m_forwardAxis.x, 1.0f);

    // Followed, in edit mode 0: the surface, thing and vertex surface are cleared.
    f.m_engine.m_document.m_editMode = 0;
    NavigateWithMouse(v);
    EXPECT_EQ(selection.m_surface, -1);
    EXPECT_EQ(selection.m_thing, -1);
    EXPECT_EQ(selection.m_vertexSurface, -1);
    EXPECT_EQ(selection.m_vertex, 1);
    EXPECT_EQ(selection.m_sector, 0);
    // In another edit mode they stay.
    f.m_engine.m_document.m_editMode = 2;
    pick();
    NavigateWithMouse(v);
    EXPECT_EQ(selection.m_surface, 2);
    EXPECT_EQ(selection.m_thing, 0);

    // The frame navigates in walk mode only.
    v.m_walkMouse.AddMotion(20, 0);
    f.Frame();
    EXPECT_FLOAT_EQ(v.m_camera.m_forwardAxis.x, 1.0f);
    v.m_walk.m_on = 1;
    f.Frame();
    EXPECT_NEAR(AngleBetween(v.m_camera.m_forwardAxis, {1.0f, 0.0f, 0.0f}), 0.2f, 1e-4f);
    v.m_walk.m_on = 0;

    // Unacquired, the mouse forgets its motion and button.
    v.m_walkMouse.AddMotion(5, 5);
    v.m_walkMouse.m_rightButton = true;
    v.m_walkMouse.Unacquire();
    int dx = 1;
    int dy = 1;
    bool right = true;
    EXPECT_FALSE(v.m_walkMouse.Read(dx, dy, right));
    v.m_walkMouse.Acquire();
    ASSERT_TRUE(v.m_walkMouse.Read(dx, dy, right));
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    EXPECT_FALSE(right);
}

TEST(WalkFrame, LeavingWalkModeLevelsTheCameraWhereItStands)
{
    struct CCase {
        const char* name;
        CVector3 forward;
        CVector3 up;
        CVector3 levelled;
    };
    const CCase cases[] = {
        {"tilted up", {0.48f, 0.6f, 0.64f}, {-0.36f, 0.8f, -0.48f}, {0.6f, 0.0f, 0.8f}},
        {"already level", {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, -1.0f}},
        {"straight down", {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f}},
    };
    for (const CCase& c : cases) {
        CWalkFrameFixture f(MakeBoxRoom());
        C3dView& v = f.View();
        SetCameraAxes(v, c.forward.x, c.forward.y, c.forward.z, c.up.x, c.up.y, c.up.z);
        SetCameraPosition(v, 0.3f, 0.4f, 0.7f);
        LevelWalkCamera(v);
        CVector3 forward;
        CVector3 up;
        GetCameraAxes(v, forward, up);
        EXPECT_NEAR(forward.x, c.levelled.x, 1e-5f) << c.name;
        EXPECT_NEAR(forward.y, 0.0f, 1e-5f) << c.name;
        EXPECT_NEAR(forward.z, c.levelled.z, 1e-5f) << c.name;
        EXPECT_NEAR(up.y, 1.0f, 1e-6f) << c.name;
        EXPECT_NEAR(v.m_camera.m_forwardAxis.z, c.levelled.z, 1e-5f) << c.name;
        const CVector3 eye = GetCameraPosition(v);
        EXPECT_NEAR(eye.x, 0.3f, 1e-5f) << c.name;
        EXPECT_NEAR(eye.y, 0.4f, 1e-5f) << c.name;
        EXPECT_NEAR(eye.z, 0.7f, 1e-5f) << c.name;
    }
}

}  // namespace
