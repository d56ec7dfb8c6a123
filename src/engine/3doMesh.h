#pragma once
// A mesh of a model: its faces with the texture of each, and the box of its vertices. The same
// class carries a point marker of the 3D view (a mesh without faces whose marker fields hold the
// marked point and its cube).

#include "engine/3doFace.h"
#include "math/BoundingBox.h"
#include "math/LitVertex.h"
#include "math/Vector3.h"

#include <cstdint>
#include <vector>

class CTexture;

class C3doMesh {
public:
    // Appends copies of this mesh's faces (vertices and normals, in order) to target's faces and
    // their texture pointers to target's face textures (the textures are shared, not copied), so
    // that each copied face keeps its texture also in a target that had faces; target's radius
    // becomes 0. Its marker fields and box are left as they were.
    void CopyFaces(C3doMesh& target) const;

    // The largest distance of a face vertex from the origin; 0 without vertices.
    float Radius() const;

    // The largest distance of a vertex from the mesh's origin, as Radius() last gave it; 0 until
    // someone computes it.
    float m_radius = 0.0f;
    // Set when the frame renderer has computed m_box.
    std::int32_t m_boxValid = 0;
    std::vector<C3doFace> m_faces;
    // Parallel to m_faces: the texture of each face, owned by the texture cache; null for a face
    // without a material or whose material did not load.
    std::vector<CTexture*> m_faceTextures;
    // Box of the face and marker vertices, filled by the frame renderer.
    CBoundingBox m_box;

    // Point marker: the rounded marked point (the sort key of the marker array), the corner's
    // position in the current surface's corner list (-1 for a grid point), the eight cube
    // vertices and the 36 triangle indices into them.
    CVector3 m_markerPoint;
    std::int32_t m_markerVertex = -1;
    std::vector<D3DLVERTEX> m_markerVertices;
    std::vector<std::uint16_t> m_markerIndices;
};
