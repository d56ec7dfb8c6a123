#include "tools/FitThingOrientation.h"

#include "math/Matrix.h"

#include <cmath>

namespace {

constexpr float kDegToRad = 0.017453292f;

float RoundToHundredths(float value)
{
    return std::round(value * 100.0f) / 100.0f;  // halves away from zero
}

float FitError(const CVector3& facing, const CVector3& up, float a1, float a2, float a3)
{
    const D3DMATRIX m = MatrixRotateXYZ(-a1 * kDegToRad, -a2 * kDegToRad, -a3 * kDegToRad);
    const float upAxis[3] = {up.x, up.y, up.z};
    const float facingAxis[3] = {facing.x, facing.y, facing.z};
    float error = 0.0f;
    for (int row = 0; row < 3; ++row) {
        const float du = upAxis[row] - RoundToHundredths(m.m[row][1]);
        const float df = facingAxis[row] - RoundToHundredths(m.m[row][2]);
        error += du * du + df * df;
    }
    return error;
}

bool IsHalfTurn(float angle)
{
    return angle == -180.0f || angle == 180.0f;
}

}  // namespace

std::array<float, 3> FitThingOrientation(const CVector3& facing, const CVector3& up)
{
    constexpr float kSteps[3] = {10.0f, 5.0f, 1.0f};
    std::array<float, 3> best{};
    std::array<float, 3> low{-180.0f, -180.0f, -180.0f};
    std::array<float, 3> high{180.0f, 180.0f, 180.0f};
    float bestError = 1e11f;
    for (const float step : kSteps) {
        for (float a1 = low[0]; a1 <= high[0]; a1 += step) {
            for (float a2 = low[1]; a2 <= high[1]; a2 += step) {
                for (float a3 = low[2]; a3 <= high[2]; a3 += step) {
                    const float error = FitError(facing, up, a1, a2, a3);
                    if (error < bestError) {
                        bestError = error;
                        best = {a1, a2, a3};
                    }
                }
            }
        }
        for (int i = 0; i < 3; ++i) {
            low[i] = best[i] - step;
            high[i] = best[i] + step;
        }
    }
    if (IsHalfTurn(best[0]) && IsHalfTurn(best[2])) {
        // A half turn about the first and the third axis together is a half turn about the
        // second: angle 2 goes to 180 - angle 2, brought back into -180..180.
        best[0] = 0.0f;
        best[2] = 0.0f;
        best[1] = 180.0f - best[1];
        if (best[1] > 180.0f) {
            best[1] -= 360.0f;
        }
    }
    return best;
}
