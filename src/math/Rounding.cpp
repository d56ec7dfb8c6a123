#include "math/Rounding.h"

#include <cmath>
#include <cstdint>

namespace {

// Truncates t + 0.5 (t >= 0) or t - 0.5 (t < 0) toward zero into n. The half is added in double,
// so that a float just below a half does not round up. Returns false when the result does not
// fit an int32 (or t is NaN); n is then untouched.
bool RoundHalfAway(float t, std::int32_t& n)
{
    const double dt = static_cast<double>(t);
    const double r = dt >= 0.0 ? dt + 0.5 : dt - 0.5;
    // Truncation toward zero fits int32 exactly when -2^31 - 1 < r < 2^31; NaN fails both tests.
    if (!(r > -2147483649.0 && r < 2147483648.0))
        return false;
    n = static_cast<std::int32_t>(r);
    return true;
}

void RoundOneToThousandth(float& x)
{
    const float t = x * 1000.0f;  // stored as float first
    std::int32_t n = 0;
    if (!RoundHalfAway(t, n))
        return;  // out of int32 range: left unchanged (already on the 0.001 grid)
    // In double, n / 1000 narrows to the correctly rounded float of the decimal value.
    const float r = static_cast<float>(static_cast<double>(n) / 1000.0);
    x = (r < 0.001f && r > -0.001f) ? 0.0f : r;
}

}  // namespace

void RoundToThousandth(float& u, float& v)
{
    RoundOneToThousandth(u);
    RoundOneToThousandth(v);
}

float RoundToStep(float v, float s)
{
    const float t = v * s;
    std::int32_t n = 0;
    if (!RoundHalfAway(t, n))
        return v;  // out of int32 range (or NaN): left unchanged
    return static_cast<float>(static_cast<double>(n) / static_cast<double>(s));
}

double WholeSizeShift(float minimum, float size, bool down)
{
    if (!(size > 0.0f) || !std::isfinite(size) || !std::isfinite(minimum))
        return 0.0;
    const double m = static_cast<double>(minimum);
    const double s = static_cast<double>(size);
    double shift = 0.0;
    if (m < 0.0)
        shift = std::ceil(-m / s) * s;
    else if (down && m >= s)
        shift = -std::floor(m / s) * s;
    else
        return 0.0;
    // In double the quotient of two finite floats stays finite. The division may land one size
    // off; one step each way sets it right (a loop could run for ever where subtracting a size too
    // small for the shift changes nothing).
    if (m + shift < 0.0)
        shift += s;
    else if (m + shift >= s)
        shift -= s;
    return shift;
}
