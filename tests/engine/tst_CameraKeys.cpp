// The camera keys: one step of View Move "&Foreward" / "&Backward", and the held-key stepper that
// a timer drives: "FrameRate" steps per second, the step by Shift and Ctrl, the second key of a
// pair winning, the selection cleared in edit mode 0, and a "FrameRate" below 1.

#include "engine/CameraKeys.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

void ExpectNear(const CVector3& actual, const CVector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

// An engine in the box room, the camera at (0.5, 0.5, 0.5) looking along +z, the clock at 1000.
struct CKeysFixture : CFixtureEngine {
    CKeysFixture() : CFixtureEngine(MakeBoxRoom())
    {
        SetCameraAxes(m_view, 0, 0, 1, 0, 1, 0);
        m_view.m_camera.m_forwardAxis = {0, 0, 1};
        m_view.m_camera.m_upAxis = {0, 1, 0};
        SetCameraPosition(m_view, 0.5f, 0.5f, 0.5f);
        m_clock.m_now = 1000;
    }

    // Lets ms milliseconds pass, ticking every millisecond as a fast timer would; the number of
    // ticks that answered true.
    int Run(CCameraKeyStepper& stepper, std::uint32_t ms)
    {
        int running = 0;
        for (std::uint32_t i = 0; i < ms; ++i) {
            m_clock.Advance(1);
            if (stepper.Tick(m_view))
                ++running;
        }
        return running;
    }

    std::size_t Frames() const { return m_host.Count(ECall::RequestFrame); }
};

TEST(CameraKeys, StepCameraMovesOneTwentiethWithAFrame)
{
    CKeysFixture f;
    StepCamera(f.m_view, true);
    ExpectNear(f.m_view.m_camera.m_position, {0.5f, 0.5f, 0.55f});
    StepCamera(f.m_view, false);
    StepCamera(f.m_view, false);
    ExpectNear(f.m_view.m_camera.m_position, {0.5f, 0.5f, 0.45f});
    ExpectNear(GetCameraPosition(f.m_view), {0.5f, 0.5f, 0.45f});
    EXPECT_EQ(f.m_host.Numbers(ECall::RequestFrame), (std::vector<int>{1, 1, 1}));
}

TEST(CameraKeys, UpHeldForOneSecondStepsTwentyTimes)
{
    CKeysFixture f;
    f.m_settings.m_frameRate = 20;
    f.m_keys.Hold(EKey::Up);
    CCameraKeyStepper stepper;
    stepper.Begin(f.m_view, ECameraKeys::Move);

    EXPECT_EQ(f.Run(stepper, 1000), 1000);

    EXPECT_EQ(f.Frames(), 20u);
    ExpectNear(f.m_view.m_camera.m_position, {0.5f, 0.5f, 2.5f});

    // Released: the next tick stops the timer and steps no more.
    f.m_keys.Release(EKey::Up);
    EXPECT_FALSE(stepper.Tick(f.m_view));
    EXPECT_FALSE(stepper.IsActive());
    f.m_keys.Hold(EKey::Up);
    EXPECT_EQ(f.Run(stepper, 200), 0) << "a stopped stepper waits for the next Begin";
    EXPECT_EQ(f.Frames(), 20u);
}

TEST(CameraKeys, AKeyPressShorterThanAPeriodMovesNothing)
{
    CKeysFixture f;
    f.m_settings.m_frameRate = 20;
    f.m_keys.Hold(EKey::Down);
    CCameraKeyStepper stepper;
    stepper.Begin(f.m_view, ECameraKeys::Move);
    EXPECT_EQ(f.Run(stepper, 49), 49);
    f.m_keys.Release(EKey::Down);
    EXPECT_EQ(f.Run(stepper, 10), 0);
    EXPECT_EQ(f.Frames(), 0u);
    ExpectNear(f.m_view.m_camera.m_position, {0.5f, 0.5f, 0.5f});
}

TEST(CameraKeys, StepSizeAndDirectionPerKeys)
{
    struct CCase {
        const char* name;
        ECameraKeys which;
        std::vector<EKey> held;
        bool shift, ctrl;
        float step;  // signed
    };
    const CCase cases[] = {
        {"Up", ECameraKeys::Move, {EKey::Up}, false, false, 0.1f},
        {"Up with Ctrl", ECameraKeys::Move, {EKey::Up}, false, true, 0.05f},
        {"Up with Shift", ECameraKeys::Move, {EKey::Up}, true, false, 0.2f},
        {"Shift wins over Ctrl", ECameraKeys::Move, {EKey::Up}, true, true, 0.2f},
        {"Down", ECameraKeys::Move, {EKey::Down}, false, false, -0.1f},
        {"Up and Down: back", ECameraKeys::Move, {EKey::Up, EKey::Down}, false, false, -0.1f},
        {"Right", ECameraKeys::Turn, {EKey::Right}, false, false, 0.1f},
        {"Left with Shift", ECameraKeys::Turn, {EKey::Left}, true, false, -0.2f},
        {"Left and Right: left", ECameraKeys::Turn, {EKey::Left, EKey::Right}, false, false, -0.1f},
        {"Page Up", ECameraKeys::Tilt, {EKey::PageUp}, false, false, 0.1f},
        {"Page Down with Ctrl", ECameraKeys::Tilt, {EKey::PageDown}, false, true, -0.05f},
        {"Page Up and Down: down",
         ECameraKeys::Tilt,
         {EKey::PageUp, EKey::PageDown},
         false,
         false,
         -0.1f},
        {"another pair's key", ECameraKeys::Turn, {EKey::Up}, false, false, 0.0f},
    };
    for (const CCase& c : cases) {
        CKeysFixture f;
        f.m_settings.m_frameRate = 10;
        f.m_keys.m_shift = c.shift;
        f.m_keys.m_ctrl = c.ctrl;
        for (const EKey key : c.held)
            f.m_keys.Hold(key);

        // The same motion made directly on a second engine.
        CKeysFixture reference;
        switch (c.which) {
        case ECameraKeys::Move:
            MoveCamera(reference.m_view, c.step);
            break;
        case ECameraKeys::Turn:
            RotateCamera(reference.m_view, 0, 1, 0, c.step);
            break;
        case ECameraKeys::Tilt:
            // forward x up = (0, 0, 1) x (0, 1, 0) = (-1, 0, 0)
            RotateCamera(reference.m_view, -1, 0, 0, c.step);
            break;
        }

        CCameraKeyStepper stepper;
        stepper.Begin(f.m_view, c.which);
        f.m_clock.Advance(100);
        EXPECT_EQ(stepper.Tick(f.m_view), c.step != 0.0f) << c.name;

        ExpectNear(f.m_view.m_camera.m_position, reference.m_view.m_camera.m_position);
        ExpectNear(f.m_view.m_camera.m_forwardAxis, reference.m_view.m_camera.m_forwardAxis);
        ExpectNear(f.m_view.m_camera.m_upAxis, reference.m_view.m_camera.m_upAxis);
        EXPECT_EQ(f.Frames(), c.step != 0.0f ? 1u : 0u) << c.name;
    }
    // The tilt really tilts: a positive step gives the forward axis a y of its own.
    CKeysFixture f;
    f.m_keys.Hold(EKey::PageUp);
    CCameraKeyStepper stepper;
    stepper.Begin(f.m_view, ECameraKeys::Tilt);
    f.m_clock.Advance(1000);
    stepper.Tick(f.m_view);
    EXPECT_GT(std::abs(f.m_view.m_camera.m_forwardAxis.y), 0.05f);
}

TEST(CameraKeys, EditModeZeroClearsSurfaceAndThingAtTheKeyPress)
{
    for (const int editMode : {0, 2}) {
        CKeysFixture f;
        f.m_document.m_editMode = editMode;
        f.m_view.m_selection.m_sector = 0;
        f.m_view.m_selection.m_surface = 3;
        f.m_view.m_selection.m_thing = 1;
        f.m_keys.Hold(EKey::Left);
        CCameraKeyStepper stepper;
        stepper.Begin(f.m_view, ECameraKeys::Turn);
        f.m_keys.Release(EKey::Left);
        EXPECT_FALSE(stepper.Tick(f.m_view));

        EXPECT_EQ(f.m_view.m_selection.m_sector, 0);
        EXPECT_EQ(f.m_view.m_selection.m_surface, editMode == 0 ? -1 : 3) << editMode;
        EXPECT_EQ(f.m_view.m_selection.m_thing, editMode == 0 ? -1 : 1) << editMode;
        EXPECT_EQ(f.Frames(), 0u);
    }
}

TEST(CameraKeys, PeriodPerFrameRate)
{
    struct CCase {
        std::int32_t frameRate;
        std::uint32_t period;  // ms
    };
    // A "FrameRate" below 1 counts as 1 (no division by zero); above 1000 every tick steps.
    const CCase cases[] = {{20, 50}, {3, 333}, {1, 1000}, {0, 1000}, {-5, 1000}, {2000, 0}};
    for (const CCase& c : cases) {
        CKeysFixture f;
        f.m_settings.m_frameRate = c.frameRate;
        f.m_keys.Hold(EKey::Up);
        CCameraKeyStepper stepper;
        stepper.Begin(f.m_view, ECameraKeys::Move);
        if (c.period > 0) {
            f.m_clock.Advance(c.period - 1);
            EXPECT_TRUE(stepper.Tick(f.m_view));
            EXPECT_EQ(f.Frames(), 0u) << c.frameRate;
            f.m_clock.Advance(1);
        }
        EXPECT_TRUE(stepper.Tick(f.m_view));
        EXPECT_EQ(f.Frames(), 1u) << c.frameRate;
    }
}

TEST(CameraKeys, TheTickCounterMayWrap)
{
    CKeysFixture f;
    f.m_settings.m_frameRate = 20;
    f.m_clock.m_now = 0xFFFFFFF0u;
    f.m_keys.Hold(EKey::Up);
    CCameraKeyStepper stepper;
    stepper.Begin(f.m_view, ECameraKeys::Move);
    f.Run(stepper, 100);
    EXPECT_EQ(f.Frames(), 2u);
}

TEST(CameraKeys, TickWithoutBeginStops)
{
    CKeysFixture f;
    f.m_keys.Hold(EKey::Up);
    CCameraKeyStepper stepper;
    f.m_clock.Advance(5000);
    EXPECT_FALSE(stepper.Tick(f.m_view));
    EXPECT_EQ(f.Frames(), 0u);
}

}  // namespace
