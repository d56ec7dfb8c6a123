#pragma once
// What one keyframe file holds: the frame count and frame time of its header and its nodes.

#include "engine/KeyNode.h"

#include <cstdint>
#include <vector>

class CKeyNodeList {
public:
    // "FRAMES" of the header; 0 when the file has no header.
    std::int32_t m_frameCount = 0;
    // Seconds per frame, 1 / "FPS"; infinite (the animation stays on its first frame) when the
    // rate is not a positive number.
    float m_frameTime = 0.0f;
    std::vector<CKeyNode> m_nodes;
};
