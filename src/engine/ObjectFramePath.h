#pragma once
// The arithmetic of a thing's path frames as the Object Frames window uses it: the camera's
// orientation as three angles and back, and the placements that play a path.
//
// A frame is a world-vertex record: x, y, z, then roll (extra[0]), pitch (extra[1]) and yaw
// (extra[2]) in degrees; the window carries the other three floats along.

#include "level/WorldVertex.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <vector>

struct CFrameAngles {
    float roll = 0.0f;
    float yaw = 0.0f;
    float pitch = 0.0f;

    friend bool operator==(const CFrameAngles&, const CFrameAngles&) = default;
};

// The camera's view matrix for three angles (degrees): a1 = -pitch, a2 = -yaw, a3 = -roll, each
// times 0.017453292; with ci = cos ai, si = sin ai, an identity whose rows 0 to 2 become
// (c2 c1, s3 s2 c1 - c3 s1, c3 s2 c1 + s3 s1), (c2 s1, s3 s2 s1 + c3 c1, c3 s2 s1 - s3 c1) and
// (-s2, s3 c2, c3 c2).
[[nodiscard]] D3DMATRIX ViewMatrixFromAngles(float pitch, float yaw, float roll);

// The angles (degrees) that the camera's look axis a and up axis b stand for, as proposed for a
// frame: yaw from atan2(a.x, a.z); roll and pitch each from an arcsine and an arccosine divided
// by cos(yaw) (each quotient limited to -1..1), the arccosine taken, with the arcsine's sign,
// where the two differ by more than 0.001; all three negated into degrees (/ -0.017453292); pitch
// and roll both at +-180 become 0. c = b x a. A look axis with x exactly +-1 gives roll 0.
[[nodiscard]] CFrameAngles CameraAnglesFromAxes(const CVector3& a, const CVector3& b);

// The placements of one pass over frames: forward, each pair of consecutive frames from the first
// to the last; backward, each pair from the last frame back to the first. A pair from p to q
// gives n + 1 placements at t = k / n for k = 0 .. n (t = 0 when n is 0), where n is the
// distance between the positions divided by 0.05 (as a double, so that 1.0 gives 19), truncated;
// position and the three angles are p + t (q - p), the other floats 0. Fewer than two frames
// give none.
[[nodiscard]] std::vector<CWorldVertex> FramePathPlacements(const std::vector<CWorldVertex>& frames,
                                                            bool backward);
