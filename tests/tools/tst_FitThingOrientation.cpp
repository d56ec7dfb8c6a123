// The orientation search: for facing and up along the axes and a slanted pair the angles found
// turn the thing's axes onto the directions asked for, the first triple in loop order wins a tie,
// and a triple with half turns on angles 1 and 3 is given as the same rotation with those at 0.

#include "tools/FitThingOrientation.h"

#include "math/Matrix.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

struct SFitCase {
    const char* name;
    CVector3 facing;
    CVector3 up;
    std::array<float, 3> angles;  // the expected result
};

constexpr float kRad = 0.017453292f;

TEST(FitThingOrientation, FindsTheAnglesThatTurnTheAxesOntoFacingAndUp)
{
    const float h = std::sqrt(0.5f);
    const SFitCase cases[] = {
        // Identity: the first exact fit in loop order is (-180, -180, -180), the same rotation
        // as (0, 0, 0).
        {"identity", {0, 0, 1}, {0, 1, 0}, {0, 0, 0}},
        // Turns about the second axis are found as (+-180, x, +-180) first and folded.
        {"facing +x", {1, 0, 0}, {0, 1, 0}, {0, -90, 0}},
        {"facing -x", {-1, 0, 0}, {0, 1, 0}, {0, 90, 0}},
        {"facing -z", {0, 0, -1}, {0, 1, 0}, {0, 180, 0}},
        {"facing +x, slanted", {h, 0, h}, {0, 1, 0}, {0, -45, 0}},
        // Up along z: no fold.
        {"up +z facing -y", {0, -1, 0}, {0, 0, 1}, {-180, -180, 90}},
    };
    for (const SFitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::array<float, 3> a = FitThingOrientation(c.facing, c.up);
        const D3DMATRIX m = MatrixRotateXYZ(-a[0] * kRad, -a[1] * kRad, -a[2] * kRad);
        EXPECT_NEAR(m.m[0][1], c.up.x, 0.02f);
        EXPECT_NEAR(m.m[1][1], c.up.y, 0.02f);
        EXPECT_NEAR(m.m[2][1], c.up.z, 0.02f);
        EXPECT_NEAR(m.m[0][2], c.facing.x, 0.02f);
        EXPECT_NEAR(m.m[1][2], c.facing.y, 0.02f);
        EXPECT_NEAR(m.m[2][2], c.facing.z, 0.02f);
        EXPECT_EQ(a, c.angles);
    }
}

// Why the half turns on angles 1 and 3 fold to (0, 180 - b, 0): that triple turns the axes as
// (+-180, b, +-180) does, whereas (0, b, 0) would give the thing the opposite facing (for b = -180
// it faces -z where (-180, -180, -180) faces +z).
TEST(FitThingOrientation, TheFoldKeepsTheRotation)
{
    const auto axes = [](float a1, float a2, float a3) {
        const D3DMATRIX m = MatrixRotateXYZ(-a1 * kRad, -a2 * kRad, -a3 * kRad);
        return std::array<float, 6>{m.m[0][1], m.m[1][1], m.m[2][1],
                                    m.m[0][2], m.m[1][2], m.m[2][2]};
    };
    const auto near = [](const std::array<float, 6>& a, const std::array<float, 6>& b) {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::fabs(a[i] - b[i]) > 1e-4f)
                return false;
        return true;
    };
    for (const float b : {-180.0f, -135.0f, -90.0f, -30.0f, 0.0f, 45.0f, 120.0f, 180.0f}) {
        SCOPED_TRACE(b);
        const float folded = 180.0f - b > 180.0f ? -180.0f - b : 180.0f - b;
        for (const float a1 : {-180.0f, 180.0f})
            for (const float a3 : {-180.0f, 180.0f})
                EXPECT_TRUE(near(axes(a1, b, a3), axes(0.0f, folded, 0.0f)));
        if (std::fabs(b) != 90.0f) {  // only a quarter turn looks the same either way
            EXPECT_FALSE(near(axes(-180.0f, b, -180.0f), axes(0.0f, b, 0.0f)));
        }
    }
}

}  // namespace
