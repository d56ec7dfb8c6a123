#pragma once
// Axis-aligned box: minimum x, y, z then maximum x, y, z (six floats, in that order when stored),
// and the box functions. Boxes are grown with VectorMin / VectorMax (Vector3.h).

#include "math/Vector3.h"

struct CBoundingBox {
    CVector3 min;
    CVector3 max;

    friend constexpr bool operator==(const CBoundingBox&, const CBoundingBox&) = default;
};
static_assert(sizeof(CBoundingBox) == 24);

// True when both corners are finite.
[[nodiscard]] inline bool IsFinite(const CBoundingBox& box)
{
    return IsFinite(box.min) && IsFinite(box.max);
}

// True when min - 0.00001 <= p <= max + 0.00001 on all three axes (both bounds inclusive).
// The slack is applied in double so that it is not lost on large coordinates.
[[nodiscard]] constexpr bool PointInBox(const CBoundingBox& box, const CVector3& p)
{
    constexpr double slack = 0.00001;
    const auto within = [](float lo, float v, float hi) {
        const double dv = static_cast<double>(v);
        return static_cast<double>(lo) - slack <= dv && dv <= static_cast<double>(hi) + slack;
    };
    return within(box.min.x, p.x, box.max.x) && within(box.min.y, p.y, box.max.y) &&
           within(box.min.z, p.z, box.max.z);
}

// Half the diagonal: the larger of the distances from the centre (min+max)/2 to the min corner
// and to the max corner.
[[nodiscard]] float BoxRadius(const CBoundingBox& box);

// (max.x-min.x) * (max.y-min.y) * (max.z-min.z); negative when min lies above max on one axis.
[[nodiscard]] constexpr float BoxVolume(const CBoundingBox& box)
{
    return (box.max.x - box.min.x) * (box.max.y - box.min.y) * (box.max.z - box.min.z);
}
