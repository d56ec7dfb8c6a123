#pragma once
// Snapping of stored coordinates to a decimal grid.
//
// Both functions need the scaled value to fit a 32-bit signed integer. When it does not (or the
// value is NaN or infinite), the value is left unchanged: no undefined behaviour, and for
// RoundToThousandth that is also the exact answer, since every float of magnitude >= 2^21 is
// already a multiple of 0.125 and so of 0.001.

// Each of u and v becomes the nearest multiple of 0.001 (half away from zero): multiply by 1000
// and store as float; add 0.5 when >= 0, else subtract 0.5; truncate toward zero to int32;
// divide by 1000. A result of magnitude below 0.001 is stored as +0 (never -0).
void RoundToThousandth(float& u, float& v);

// The nearest multiple of 1/s to v (half away from zero): t = v*s as float; truncate t + 0.5
// (t >= 0) or t - 0.5 (t < 0) toward zero to int32; return that integer divided by s.
[[nodiscard]] float RoundToStep(float v, float s);

// The whole number of sizes that brings minimum into [0, size): what adding size while
// minimum + shift < 0 gives or, with down and minimum >= size, what subtracting size while
// minimum + shift >= size gives. Worked out without a loop that could run for ever. 0 when
// minimum is already in place (or, without down, not negative), and for a size that is not a
// positive finite number or a minimum that is not finite.
[[nodiscard]] double WholeSizeShift(float minimum, float size, bool down);
