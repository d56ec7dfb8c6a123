#include "engine/3doFace.h"

CVector3 C3doFace::NewellSum() const
{
    CVector3 n;
    const std::size_t count = m_vertices.size();
    for (std::size_t i = 0; i < count; ++i) {
        const D3DLVERTEX& a = m_vertices[i];
        const D3DLVERTEX& b = m_vertices[(i + 1) % count];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

void C3doFace::ComputeNormal()
{
    const CVector3 n = NewellSum();
    m_normal = n / VectorLength(n);
}
