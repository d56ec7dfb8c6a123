#pragma once
// Three floats x, y, z: the layout of a Direct3D vector, with its free operators and
// functions, and the double vector used by texture-coordinate fitting.

#include <cmath>

struct CVector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr CVector3() = default;
    constexpr CVector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    friend constexpr bool operator==(const CVector3&, const CVector3&) = default;
};
static_assert(sizeof(CVector3) == 12);

// Double vector: x, y, z as 64-bit doubles; used only inside texture-coordinate fitting.
struct CDVector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CDVector3() = default;
    constexpr CDVector3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    friend constexpr bool operator==(const CDVector3&, const CDVector3&) = default;
};

// True when every coordinate is a finite number.
[[nodiscard]] inline bool IsFinite(const CVector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// (a.x+b.x, a.y+b.y, a.z+b.z)
[[nodiscard]] constexpr CVector3 operator+(const CVector3& a, const CVector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// a - b component-wise.
[[nodiscard]] constexpr CVector3 operator-(const CVector3& a, const CVector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Each component times s.
[[nodiscard]] constexpr CVector3 operator*(const CVector3& v, float s)
{
    return {v.x * s, v.y * s, v.z * s};
}

// Each component divided by s; s is not tested (a zero s is the caller's to avoid).
[[nodiscard]] constexpr CVector3 operator/(const CVector3& v, float s)
{
    return {v.x / s, v.y / s, v.z / s};
}

// (-x, -y, -z)
[[nodiscard]] constexpr CVector3 NegateVector(const CVector3& v)
{
    return {-v.x, -v.y, -v.z};
}

// a.x*b.x + a.y*b.y + a.z*b.z
[[nodiscard]] constexpr float Dot(const CVector3& a, const CVector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// a x b: (a.y*b.z - a.z*b.y, a.z*b.x - a.x*b.z, a.x*b.y - a.y*b.x)
[[nodiscard]] constexpr CVector3 VectorCross(const CVector3& a, const CVector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// x*x + y*y + z*z
[[nodiscard]] constexpr float LengthSquared(const CVector3& v)
{
    return v.x * v.x + v.y * v.y + v.z * v.z;
}

// Square root of LengthSquared.
[[nodiscard]] inline float VectorLength(const CVector3& v)
{
    return std::sqrt(LengthSquared(v));
}

// Component-wise minimum.
[[nodiscard]] constexpr CVector3 VectorMin(const CVector3& a, const CVector3& b)
{
    return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z};
}

// Component-wise maximum.
[[nodiscard]] constexpr CVector3 VectorMax(const CVector3& a, const CVector3& b)
{
    return {a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z};
}

// Stores the three floats into v.
constexpr void SetVec3(CVector3& v, float x, float y, float z)
{
    v.x = x;
    v.y = y;
    v.z = z;
}

// v / |v| as a double vector, the length taken in double; a zero length is not tested.
[[nodiscard]] inline CDVector3 NormalizeVector(const CVector3& v)
{
    const double x = static_cast<double>(v.x);
    const double y = static_cast<double>(v.y);
    const double z = static_cast<double>(v.z);
    const double len = std::sqrt(x * x + y * y + z * z);
    return {x / len, y / len, z / len};
}

// a.x*b.x + a.y*b.y + a.z*b.z in double.
[[nodiscard]] constexpr double DotProduct(const CDVector3& a, const CDVector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Parameter t of p along the segment a-b, measured on the one axis where d = b - a is strictly
// largest in magnitude; when the two largest magnitudes tie, the z rule applies (z when
// |d.z| > 0, else 0), as the axis tests fall through. The other coordinates of p are not read.
[[nodiscard]] float ParamAlongSegment(const CVector3& a, const CVector3& b, const CVector3& p);
