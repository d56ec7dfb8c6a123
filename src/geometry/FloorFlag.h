#pragma once
// The floor flag of a surface: bit 0 of its surface flags, set while the surface is closer to
// horizontal than 45 degrees. Every operation that turns a surface keeps it current (moves,
// rotations, unlinking, extruding, expanding, the builders).

#include <cstdint>

class CQzlSurface;

inline constexpr std::uint32_t kFloorFlag = 0x1u;

// Sets the floor flag when |normal . (0, 1, 0)|, taken in double precision, is greater than
// 0.707107, and clears it otherwise (also when equal). The other flags stay as they are.
void UpdateFloorFlag(CQzlSurface& surface);
