#pragma once
// The keyframes of one node of a keyframe file, matched by mesh name against the nodes of a
// model's hierarchy.

#include "engine/KeyEntry.h"

#include <string>
#include <vector>

class CKeyNode {
public:
    std::string m_meshName;
    std::vector<CKeyEntry> m_entries;
};
