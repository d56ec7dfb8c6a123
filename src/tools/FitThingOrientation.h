#pragma once
// The three orientation angles (degrees) that turn a thing so that its facing and up axes lie
// along two given directions: a least-squares search over whole degrees.

#include "math/Vector3.h"

#include <array>

// Angles 1 to 3 in the thing record's order. The search runs in passes of 10, 5 and 1 degrees,
// each inside the previous pass's best step, over the rotation matrix of (-angle 1, -angle 2,
// -angle 3) with its entries rounded to hundredths; the error is the squared distance of its
// second column from up plus that of its third column from facing, and the first triple in loop
// order wins a tie. A result with angles 1 and 3 both at +-180 is given as the same rotation
// with angles 1 and 3 at 0.
[[nodiscard]] std::array<float, 3> FitThingOrientation(const CVector3& facing, const CVector3& up);
