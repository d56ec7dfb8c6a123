#include "engine/MarkerDrawing.h"

#include "engine/3doMesh.h"
#include "engine/C3dView.h"
#include "engine/RayCast.h"
#include "engine/RenderDevice.h"
#include "framework/Settings.h"
#include "geometry/Predicates.h"
#include "math/LitVertex.h"
#include "math/Matrix.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void Grow(CBoundingBox& box, const D3DLVERTEX& v)
{
    const CVector3 p(v.x, v.y, v.z);
    box.min = VectorMin(box.min, p);
    box.max = VectorMax(box.max, p);
}

// The marker's triangles as plain vertices; false when an index lies outside its vertices.
bool ExpandTriangles(const C3doMesh& marker, std::vector<D3DLVERTEX>& out)
{
    out.clear();
    out.reserve(marker.m_markerIndices.size());
    for (const std::uint16_t index : marker.m_markerIndices) {
        if (index >= marker.m_markerVertices.size())
            return false;
        out.push_back(marker.m_markerVertices[index]);
    }
    return true;
}

}  // namespace

const CBoundingBox& MarkerBox(C3doMesh& marker)
{
    if (marker.m_boxValid == 0) {
        CBoundingBox box{{kFarDistance, kFarDistance, kFarDistance},
                         {-kFarDistance, -kFarDistance, -kFarDistance}};
        for (const C3doFace& face : marker.m_faces) {
            for (const D3DLVERTEX& v : face.m_vertices)
                Grow(box, v);
        }
        for (const D3DLVERTEX& v : marker.m_markerVertices)
            Grow(box, v);
        marker.m_box = box;
        marker.m_boxValid = 1;
    }
    return marker.m_box;
}

int DrawPointMarkers(C3dView& view, const CBoxInFrustum& inFrustum)
{
    RenderDevice* device = view.m_device;
    if (device == nullptr)
        return 0;

    const float reach = view.GetSettings().m_gridDistance;
    const float reachSquared = reach * reach;
    const CVector3 focus = view.m_camera.m_focusPoint;
    std::vector<D3DLVERTEX> triangles;
    int drawn = 0;
    for (const auto& marker : view.m_markers) {
        const CBoundingBox& box = MarkerBox(*marker);
        if (!(PointBoxDistance(box, focus) < reachSquared) || !inFrustum(box))
            continue;
        if (marker->m_markerIndices.empty() || !ExpandTriangles(*marker, triangles))
            continue;
        if (drawn == 0)
            device->SetWorldTransform(MatrixIdentity());
        device->DrawPrimitive(PrimitiveType::TriangleList, triangles, kNoTexture);
        ++drawn;
    }
    return drawn;
}
