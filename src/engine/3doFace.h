#pragma once
// One face of a model's mesh: its lit vertices in the order of the face line (positions in render
// space, texture coordinates already divided by the texture's size) and its unit normal.

#include "math/LitVertex.h"
#include "math/Vector3.h"

#include <vector>

class C3doFace {
public:
    // Newell's method over the vertices in order, each with its successor and the last with the
    // first, divided by its length. Meant for faces known to have area: a degenerate face gets a
    // normal that is not a number.
    void ComputeNormal();

    // The undivided Newell sum of the vertices.
    CVector3 NewellSum() const;

    CVector3 m_normal{0.0f, 0.0f, 1.0f};
    std::vector<D3DLVERTEX> m_vertices;
};
