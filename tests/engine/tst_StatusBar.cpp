// The status update after a frame: scroll bars over the level box, the "Grid" setting kept on
// multiples of 0.02, and the eight pane texts in the C locale, all handed to the host in order.

#include "engine/StatusBar.h"

#include "engine/C3dView.h"
#include "framework/Settings.h"
#include "geometry/Predicates.h"
#include "support/CommaLocale.h"
#include "support/FixtureLevels.h"
#include "support/RecordingEngineHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

TEST(StatusBar, GridRoundsToMultiplesOf002)
{
    struct CCase {
        float grid;
        float rounded;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const CCase cases[] = {
        {0.105f, 0.10f},  // 0.115 / 0.02 = 5.75, truncated to 5
        {0.11f, 0.12f},   // 0.12 / 0.02 = 6, although 0.11f is 0.10999999
        {0.1f, 0.1f},
        {0.13f, 0.14f},
        {0.02f, 0.02f},
        {0.03f, 0.04f},
        {0.129f, 0.12f},
        {2.0f, 2.0f},
        {1.25f, 1.26f},
        {64.0f, 64.0f},
        // Never below one step: a zero grid would stop snapping.
        {0.005f, 0.02f},
        {0.0f, 0.02f},
        {-1.0f, 0.02f},
        // Not a number: the start-up value.
        {nan, 0.1f},
        {inf, 0.1f},
        {-inf, 0.1f},
    };
    for (const CCase& c : cases)
        EXPECT_FLOAT_EQ(RoundGrid(c.grid), c.rounded) << "grid " << c.grid;
}

TEST(StatusBar, ScrollRangeOfBox)
{
    struct CCase {
        CBoundingBox box;
        CScrollRange range;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr int kLimit = std::numeric_limits<int>::max() / 100 * 100;
    const CCase cases[] = {
        // Truncation before scaling: -2.5 gives -200, 7.9 gives 700.
        {{{-2.5f, 0, 1}, {3, 4, 7.9f}}, {-200, 700, 90}},
        {{{0, 0, 0}, {1, 1, 1}}, {0, 100, 10}},
        {{{0.5f, 0.2f, 0.9f}, {0.7f, 0.8f, 0.95f}}, {0, 0, 0}},
        {{{-0.99f, -3, -1}, {-0.5f, -2, -0.1f}}, {-300, 0, 30}},
        // The box of a level without sectors.
        {{{kFarDistance, kFarDistance, kFarDistance},
          {-kFarDistance, -kFarDistance, -kFarDistance}},
         {0, 0, 0}},
        // Far coordinates stay within the int range.
        {{{-kFarDistance, 0, 0}, {kFarDistance, 0, 0}}, {-kLimit, kLimit, kLimit / 5}},
        {{{nan, -1, 0}, {1, nan, 2}}, {-100, 200, 30}},
    };
    for (const CCase& c : cases) {
        const CScrollRange r = ScrollRangeOfBox(c.box);
        EXPECT_EQ(r, c.range) << r.low << " .. " << r.high << " page " << r.page;
    }
}

struct CStatusFixture : public ::testing::Test {
    CStatusFixture()
    {
        f.m_host.m_settings = &f.m_settings;
        f.m_view.m_levelBox = {{-2.5f, 0, 1}, {3, 4, 7.9f}};
        f.m_view.m_drag.m_scrollH = 120;
        f.m_view.m_drag.m_scrollV = -40;
        f.m_view.m_camera.m_forwardAxis = {1, 0, 0};
        f.m_view.m_camera.m_focusPoint = {1.5f, -2.25f, 100};
        f.m_view.m_framesPerSecond = 37;
        f.m_document.m_gridOn = 1;
        f.m_settings.m_grid = 0.105f;
        f.m_settings.m_device = 1;
        f.m_view.m_viewport.m_deviceNames = {"Mesa llvmpipe", "Hardware"};
    }

    CFixtureEngine f{MakeBoxRoom()};
};

TEST_F(CStatusFixture, UpdateSetsScrollBarsGridAndPanesInOrder)
{
    UpdateStatus(f.m_view);

    ASSERT_EQ(f.m_host.m_calls.size(), 3u);
    EXPECT_EQ(f.m_host.m_calls[0].kind, ECall::SetScrollBars);
    EXPECT_EQ(f.m_host.m_calls[1].kind, ECall::SetGridSetting);
    EXPECT_EQ(f.m_host.m_calls[2].kind, ECall::SetStatusPanes);

    const auto& bars = f.m_host.m_scrollBars;
    EXPECT_EQ(bars.low, -200);
    EXPECT_EQ(bars.high, 700);
    EXPECT_EQ(bars.page, 90);
    EXPECT_EQ(bars.horizontalPosition, 120);
    EXPECT_EQ(bars.verticalPosition, -40);

    EXPECT_FLOAT_EQ(f.m_settings.m_grid, 0.10f);
    const std::vector<std::string> expected{
        "Hardware",    "Grid:  0.10", "Yaw: 90",     "Tilt:  0.00",
        "X:     1.50", "Y:    -2.25", "Z:   100.00", "FR: 37",
    };
    EXPECT_EQ(f.m_host.m_statusPanes, expected);

    // The rounded grid stays; a second frame stores nothing.
    f.m_host.Clear();
    UpdateStatus(f.m_view);
    EXPECT_EQ(f.m_host.Count(ECall::SetGridSetting), 0u);
    EXPECT_EQ(f.m_host.m_statusPanes[1], "Grid:  0.10");
}

TEST_F(CStatusFixture, GridOffShowsZeroButStillRounds)
{
    f.m_document.m_gridOn = 0;
    f.m_settings.m_grid = 0.11f;
    UpdateStatus(f.m_view);
    EXPECT_EQ(f.m_host.m_statusPanes[1], "Grid:  0.00");
    EXPECT_FLOAT_EQ(f.m_settings.m_grid, 0.12f);
}

TEST_F(CStatusFixture, DeviceNameFromTheDeviceSetting)
{
    for (const int device : {-1, 2}) {
        f.m_settings.m_device = device;
        UpdateStatus(f.m_view);
        EXPECT_EQ(f.m_host.m_statusPanes[0], "") << device;
    }
    f.m_settings.m_device = 0;
    UpdateStatus(f.m_view);
    EXPECT_EQ(f.m_host.m_statusPanes[0], "Mesa llvmpipe");
    f.m_view.m_viewport.m_deviceNames.clear();
    UpdateStatus(f.m_view);
    EXPECT_EQ(f.m_host.m_statusPanes[0], "");
}

TEST_F(CStatusFixture, YawAndTiltOfTheForwardAxis)
{
    struct CCase {
        CVector3 forward;
        const char* yaw;
        const char* tilt;
    };
    const float s = std::sqrt(0.5f);
    const CCase cases[] = {
        {{0, 0, 1}, "Yaw: 0", "Tilt:  0.00"},         {{-1, 0, 0}, "Yaw: -90", "Tilt:  0.00"},
        {{0, 0, -1}, "Yaw: 180", "Tilt:  0.00"},      {{s, 0, s}, "Yaw: 45", "Tilt:  0.00"},
        {{0.6f, -0.8f, 0}, "Yaw: 90", "Tilt: -0.80"}, {{0, 0.95f, 0.31f}, "Yaw: 0", "Tilt:  0.95"},
    };
    for (const CCase& c : cases) {
        f.m_view.m_camera.m_forwardAxis = c.forward;
        const auto texts = StatusPaneTexts(f.m_view, 0.1f, "");
        EXPECT_EQ(texts[2], c.yaw);
        EXPECT_EQ(texts[3], c.tilt);
    }
}

TEST_F(CStatusFixture, TextsIgnoreTheUserLocale)
{
    QZ_USE_COMMA_LOCALE();
    const auto texts = StatusPaneTexts(f.m_view, 0.5f, "d");
    RestoreNumericLocale();
    EXPECT_EQ(texts[1], "Grid:  0.50");
    EXPECT_EQ(texts[4], "X:     1.50");
}

}  // namespace
