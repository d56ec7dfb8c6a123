#pragma once
// One node of a model's hierarchy: its place in the tree, its position, orientation and pivot (in
// render space), its mesh, and one local transform per animation frame.

#include "math/Matrix.h"
#include "math/Vector3.h"

#include <cstdint>
#include <string>
#include <vector>

class C3doMesh;

class C3doNode {
public:
    std::int32_t m_number = 0;
    std::uint32_t m_flags = 0;  // read as hexadecimal
    std::uint32_t m_type = 0;   // read as hexadecimal
    std::int32_t m_meshIndex = -1;
    std::int32_t m_parent = -1;
    std::int32_t m_child = -1;
    std::int32_t m_sibling = -1;
    std::int32_t m_childCount = 0;
    CVector3 m_position;
    // Degrees.
    float m_pitch = 0.0f;
    float m_roll = 0.0f;
    float m_yaw = 0.0f;
    CVector3 m_pivot;
    std::string m_name;
    // The node's last world transform, written by the bounds walk and by drawing.
    D3DMATRIX m_transform = MatrixIdentity();
    // The node's mesh, owned by the model (several nodes may name the same mesh); null for none.
    C3doMesh* m_mesh = nullptr;
    // One local transform per animation frame, indexed by the model's current frame.
    std::vector<D3DMATRIX> m_localMatrices;
};
