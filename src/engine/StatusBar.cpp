#include "engine/StatusBar.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "framework/CFormat.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// The coordinate truncated toward zero and scaled by 100, kept within the int range; a
// coordinate that is not a number counts as 0.
std::int64_t ScrollUnits(float coordinate)
{
    if (std::isnan(coordinate))
        return 0;
    constexpr double kLimit = static_cast<double>(std::numeric_limits<int>::max() / 100);
    const double whole = std::clamp(std::trunc(static_cast<double>(coordinate)), -kLimit, kLimit);
    return static_cast<std::int64_t>(whole) * 100;
}

}  // namespace

CScrollRange ScrollRangeOfBox(const CBoundingBox& box)
{
    const std::int64_t low =
        std::min({ScrollUnits(box.min.x), ScrollUnits(box.min.y), ScrollUnits(box.min.z)});
    const std::int64_t high =
        std::max({ScrollUnits(box.max.x), ScrollUnits(box.max.y), ScrollUnits(box.max.z)});
    if (low > high)
        return {};
    return {static_cast<int>(low), static_cast<int>(high), static_cast<int>((high - low) / 10)};
}

float RoundGrid(float grid)
{
    if (!std::isfinite(grid))
        return 0.1f;
    // The relative slack (a few float steps) lets a value like 0.11f, whose quotient comes out
    // at 5.9999999, count the whole step it stands for; it cannot lift a quotient that is a real
    // fraction such as 5.75.
    const double steps = (static_cast<double>(grid) + 0.01) / 0.02;
    const double whole = std::trunc(steps + std::fabs(steps) * 1e-6);
    return static_cast<float>(std::max(whole, 1.0) * 0.02);
}

std::array<std::string, kStatusPaneCount> StatusPaneTexts(const C3dView& view, float grid,
                                                          std::string_view deviceName)
{
    const CVector3& forward = view.m_camera.m_forwardAxis;
    const CVector3& focus = view.m_camera.m_focusPoint;
    const float yaw = std::atan2(forward.x, forward.z);
    const float shownGrid = view.GetDocument().m_gridOn != 0 ? grid : 0.0f;
    return {
        std::string(deviceName),
        FormatC("Grid: %5.2f", static_cast<double>(shownGrid)),
        FormatC("Yaw: %.0f", static_cast<double>(yaw * 180.0f / 3.1415927f)),
        FormatC("Tilt: %5.2f", static_cast<double>(forward.y)),
        FormatC("X: %8.2f", static_cast<double>(focus.x)),
        FormatC("Y: %8.2f", static_cast<double>(focus.y)),
        FormatC("Z: %8.2f", static_cast<double>(focus.z)),
        FormatC("FR: %d", view.m_framesPerSecond),
    };
}

void UpdateStatus(C3dView& view)
{
    const std::vector<std::string>& deviceNames = view.m_viewport.m_deviceNames;
    CEngineHost& host = view.GetHost();

    const CScrollRange range = ScrollRangeOfBox(view.m_levelBox);
    host.SetScrollBars(range.low, range.high, range.page, view.m_drag.m_scrollH,
                       view.m_drag.m_scrollV);

    const float setting = view.GetSettings().m_grid;
    const float grid = RoundGrid(setting);
    // A grid that is not a number compares unequal and is replaced too.
    if (grid != setting)
        host.SetGridSetting(grid);

    const std::int32_t device = view.GetSettings().m_device;
    const std::string_view deviceName =
        device >= 0 && static_cast<std::size_t>(device) < deviceNames.size()
            ? std::string_view(deviceNames[static_cast<std::size_t>(device)])
            : std::string_view();
    const std::array<std::string, kStatusPaneCount> texts = StatusPaneTexts(view, grid, deviceName);
    host.SetStatusPanes(texts);
}
