#pragma once
// Lists of points in the editing tests: a surface's corner positions, and comparing lists in
// order or as outlines in any order, points closer than 0.0001 being the same.

#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

using Points = std::vector<CVector3>;

// The positions of surface's corners, in corner order.
inline Points Corners(const CQzlSections& level, int surface)
{
    Points points;
    for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices)
        points.push_back(WorldPosition(level, corner.m_worldVertex));
    return points;
}

inline std::string Text(const Points& points)
{
    std::string text;
    for (const CVector3& p : points)
        text += "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ", " +
                std::to_string(p.z) + ") ";
    return text;
}

// The same points in the same order.
inline ::testing::AssertionResult SamePoints(const Points& got, const Points& want)
{
    bool same = got.size() == want.size();
    for (std::size_t i = 0; same && i < got.size(); ++i)
        same = VectorLength(got[i] - want[i]) < 1e-4f;
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "corners " << Text(got) << "\nwanted  " << Text(want);
}

// The same points in any order.
inline bool SameOutline(const Points& a, const Points& b)
{
    if (a.size() != b.size())
        return false;
    return std::all_of(a.begin(), a.end(), [&b](const CVector3& p) {
        return std::any_of(b.begin(), b.end(),
                           [&p](const CVector3& q) { return VectorLength(p - q) < 1e-4f; });
    });
}

// The same point, closer than 0.0001.
inline ::testing::AssertionResult SamePoint(const CVector3& got, const CVector3& want)
{
    return SamePoints({got}, {want});
}

// The box of the corners of a sector's surfaces.
struct CCornerBox {
    CVector3 lo{1e9f, 1e9f, 1e9f};
    CVector3 hi{-1e9f, -1e9f, -1e9f};
    // Whether p lies in the box or within 0.001 of it.
    [[nodiscard]] bool Holds(const CVector3& p) const
    {
        const float e = 0.001f;
        return p.x >= lo.x - e && p.x <= hi.x + e && p.y >= lo.y - e && p.y <= hi.y + e &&
               p.z >= lo.z - e && p.z <= hi.z + e;
    }
};

inline CCornerBox SectorCornerBox(const CQzlSections& level, int sector)
{
    CCornerBox box;
    for (const std::int32_t s : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces) {
        for (const CVector3& p : Corners(level, s)) {
            box.lo = VectorMin(box.lo, p);
            box.hi = VectorMax(box.hi, p);
        }
    }
    return box;
}
