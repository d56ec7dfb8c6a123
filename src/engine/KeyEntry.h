#pragma once
// One keyframe of a node of a keyframe file: the pose at a frame and its change per frame until
// the next keyframe. Positions are in render space (the file's y and z exchanged).

#include "math/Vector3.h"

#include <cstdint>

class CKeyEntry {
public:
    std::int32_t m_number = 0;
    std::int32_t m_frame = 0;
    std::uint32_t m_flags = 0;  // read as hexadecimal
    CVector3 m_position;
    // Degrees.
    float m_pitch = 0.0f;
    float m_roll = 0.0f;
    float m_yaw = 0.0f;
    CVector3 m_deltaPosition;
    float m_deltaPitch = 0.0f;
    float m_deltaRoll = 0.0f;
    float m_deltaYaw = 0.0f;
};
