#include "engine/ObjectFramePath.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
// Two candidates for one angle are the same when closer than this.
constexpr float kSameAngle = 0.001f;
// The step of a path's playback in world units.
constexpr float kPathStep = 0.05f;

// v limited to -1..1; a quotient that is no number (0 / 0) counts as 0.
float Clamp(float v)
{
    return std::isnan(v) ? 0.0f : std::clamp(v, -1.0f, 1.0f);
}

// The arccosine candidate in place of the arcsine one when they differ, with the arcsine's sign.
float Reconcile(float fromSine, float fromCosine)
{
    if (std::fabs(fromSine - fromCosine) <= kSameAngle)
        return fromSine;
    return fromSine < 0.0f && fromCosine > 0.0f ? -fromCosine : fromCosine;
}

bool IsHalfTurn(float degrees)
{
    return degrees == 180.0f || degrees == -180.0f;
}

CWorldVertex Between(const CWorldVertex& p, const CWorldVertex& q, float t)
{
    CWorldVertex at;
    at.x = p.x + t * (q.x - p.x);
    at.y = p.y + t * (q.y - p.y);
    at.z = p.z + t * (q.z - p.z);
    for (std::size_t i = 0; i < 3; ++i)
        at.extra[i] = p.extra[i] + t * (q.extra[i] - p.extra[i]);
    return at;
}

void AppendPair(std::vector<CWorldVertex>& placements, const CWorldVertex& p, const CWorldVertex& q)
{
    const float distance = VectorLength(CVector3{q.x - p.x, q.y - p.y, q.z - p.z});
    const double steps = static_cast<double>(distance) / static_cast<double>(kPathStep);
    // A distance that is no number, or too long to count, plays as its two ends.
    const int n = steps >= 0.0 && steps < 1e6 ? static_cast<int>(steps) : 0;
    for (int k = 0; k <= n; ++k) {
        const float t = n < 1 ? 0.0f : static_cast<float>(k) / static_cast<float>(n);
        placements.push_back(Between(p, q, t));
    }
}

}  // namespace

D3DMATRIX ViewMatrixFromAngles(float pitch, float yaw, float roll)
{
    // The rotation of the three angles, each negated and in radians: pitch first, yaw, roll.
    return MatrixRotateXYZ(-pitch * kRadiansPerDegree, -yaw * kRadiansPerDegree,
                           -roll * kRadiansPerDegree);
}

CFrameAngles CameraAnglesFromAxes(const CVector3& a, const CVector3& b)
{
    const CVector3 c{b.y * a.z - b.z * a.y, b.z * a.x - b.x * a.z, b.x * a.y - b.y * a.x};
    const float yaw = std::atan2(a.x, a.z);
    float roll = 0.0f;
    float pitch = 0.0f;
    float secondPitch = 0.0f;
    if (a.x == 1.0f) {
        pitch = std::asin(Clamp(c.y));
        secondPitch = std::acos(Clamp(-c.z));
    } else if (a.x == -1.0f) {
        pitch = std::asin(Clamp(c.y));
        secondPitch = std::acos(Clamp(c.z));
    } else {
        const float cosYaw = std::cos(yaw);
        roll = Reconcile(std::asin(Clamp(-a.y / cosYaw)), std::acos(Clamp(a.z / cosYaw)));
        pitch = std::asin(Clamp(-b.x / cosYaw));
        secondPitch = std::acos(Clamp(c.x / cosYaw));
    }
    pitch = Reconcile(pitch, secondPitch);

    CFrameAngles angles{roll / -kRadiansPerDegree, yaw / -kRadiansPerDegree,
                        pitch / -kRadiansPerDegree};
    if (IsHalfTurn(angles.pitch) && IsHalfTurn(angles.roll)) {
        angles.pitch = 0.0f;
        angles.roll = 0.0f;
    }
    return angles;
}

std::vector<CWorldVertex> FramePathPlacements(const std::vector<CWorldVertex>& frames,
                                              bool backward)
{
    std::vector<CWorldVertex> placements;
    if (frames.size() < 2)
        return placements;
    if (!backward) {
        for (std::size_t i = 0; i + 1 < frames.size(); ++i)
            AppendPair(placements, frames[i], frames[i + 1]);
    } else {
        for (std::size_t i = frames.size() - 1; i > 0; --i)
            AppendPair(placements, frames[i], frames[i - 1]);
    }
    return placements;
}
