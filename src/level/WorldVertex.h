#pragma once
// The nine-float world-vertex record. A world vertex uses x, y, z; a thing frame x, y, z and
// pitch, yaw, roll in extra[0..2]; a texture vertex of an older file u in extra[3] and v in
// extra[4]; a camera bookmark the position, its first axis in extra[0..2] and its second axis in
// extra[3..5]. Stored as 36 raw bytes.

#include <type_traits>

struct CWorldVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float extra[6] = {};

    friend bool operator==(const CWorldVertex&, const CWorldVertex&) = default;
};
static_assert(sizeof(CWorldVertex) == 36);
static_assert(std::is_trivially_copyable_v<CWorldVertex>);
