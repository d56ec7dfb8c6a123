#include "engine/3doMesh.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

void C3doMesh::CopyFaces(C3doMesh& target) const
{
    target.m_radius = 0.0f;
    // A target whose texture list is shorter than its faces gets null textures for the faces it
    // had, so the copies line up with their own textures.
    target.m_faceTextures.resize(target.m_faces.size(), nullptr);
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        C3doFace& face = target.m_faces.emplace_back();
        face.m_vertices = m_faces[i].m_vertices;
        face.m_normal = m_faces[i].m_normal;
        target.m_faceTextures.push_back(i < m_faceTextures.size() ? m_faceTextures[i] : nullptr);
    }
}

float C3doMesh::Radius() const
{
    float radius = 0.0f;
    for (const C3doFace& face : m_faces)
        for (const D3DLVERTEX& v : face.m_vertices)
            radius = std::max(radius, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    return radius;
}
