#pragma once
// The status bar and the scroll bars of a 3D view, refreshed after every frame of a document
// view: both scroll bars span the selection box, the "Grid" setting is kept on multiples of 0.02,
// and the eight panes of the main frame's status bar show the device, the grid, the camera's yaw
// and tilt, the focus point and the frame rate. Everything reaches the window through the
// engine's host.

#include "math/BoundingBox.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class C3dView;

// Panes of the status bar: 0 device name, 1 grid, 2 yaw, 3 tilt, 4 X, 5 Y, 6 Z, 7 frame rate.
inline constexpr std::size_t kStatusPaneCount = 8;

// Range and page shared by both scroll bars.
struct CScrollRange {
    int low = 0;
    int high = 0;
    int page = 0;

    friend constexpr bool operator==(const CScrollRange&, const CScrollRange&) = default;
};

// low = the smallest of the box's minimum x, y and z, high = the largest of its maximum x, y and
// z, each truncated toward zero to an integer and then multiplied by 100; page = (high - low) / 10
// in integer division. The box (-2.5, 0, 1)..(3, 4, 7.9) gives -200 .. 700, page 90.
// Coordinates beyond the int range are clamped to it and a coordinate that is not a number counts
// as 0; a box without extent (minimum above maximum, as the box of a level without sectors) gives
// 0 .. 0, page 0.
[[nodiscard]] CScrollRange ScrollRangeOfBox(const CBoundingBox& box);

// The "Grid" setting rounded to the nearest multiple of 0.02: truncate((grid + 0.01) / 0.02)
// x 0.02, so 0.105 becomes 0.10 and 0.11 becomes 0.12. The quotient is taken as the decimal
// values mean it: a float just below a whole number of steps only by its binary representation
// (0.11 is stored as 0.10999999) still reaches that number. Never below 0.02, which would stop
// grid snapping (a grid under 0.01 would round to 0); a grid that is not a finite number becomes
// the start-up value 0.1.
[[nodiscard]] float RoundGrid(float grid);

// The eight pane texts for the engine's state now: deviceName, "Grid: %5.2f" (grid when the
// document's grid is on, else 0), "Yaw: %.0f" (the forward axis's yaw, atan2(x, z), in degrees),
// "Tilt: %5.2f" (the forward axis's y), "X: %8.2f", "Y: %8.2f", "Z: %8.2f" (the focus point) and
// "FR: %d" (frames per second of the last frame), all in the C locale.
[[nodiscard]] std::array<std::string, kStatusPaneCount>
StatusPaneTexts(const C3dView& view, float grid, std::string_view deviceName);

// The update after a frame, in this order: both scroll bars get ScrollRangeOfBox of the level box
// with the last scroll positions of panning; the "Grid" setting is rounded with RoundGrid and
// stored through the host when that changes it; the eight panes are set in order 0 to 7.
// Pane 0 shows the entry of the engine's device list (device set-up's) that the "Device" setting
// names, or nothing when it names none.
void UpdateStatus(C3dView& view);
