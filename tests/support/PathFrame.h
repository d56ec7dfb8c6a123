#pragma once
// A thing's path frame for the tests: position, then roll, pitch and yaw in the fourth to sixth
// float, the other three 0.

#include "level/WorldVertex.h"

inline CWorldVertex PathFrame(float x, float y, float z, float roll = 0.0f, float pitch = 0.0f,
                              float yaw = 0.0f)
{
    CWorldVertex frame;
    frame.x = x;
    frame.y = y;
    frame.z = z;
    frame.extra[0] = roll;
    frame.extra[1] = pitch;
    frame.extra[2] = yaw;
    return frame;
}
