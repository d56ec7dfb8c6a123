#include "engine/PointMarkers.h"

#include "framework/Settings.h"
#include "math/LitVertex.h"
#include "math/Rounding.h"

#include <cmath>

namespace {

// <0, 0, >0 as a is before, equal to or after b in the marker order.
int ComparePoints(const CVector3& a, const CVector3& b)
{
    if (a.x != b.x)
        return a.x < b.x ? -1 : 1;
    if (a.y != b.y)
        return a.y < b.y ? -1 : 1;
    if (a.z != b.z)
        return a.z < b.z ? -1 : 1;
    return 0;
}

}  // namespace

int FindPointMarker(const CPointMarkerArray& markers, float x, float y, float z, int& index)
{
    const CVector3 point(x, y, z);
    int low = 0;
    int high = static_cast<int>(markers.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int cmp =
            ComparePoints(markers[static_cast<std::size_t>(middle)]->m_markerPoint, point);
        if (cmp < 0) {
            low = middle + 1;
        } else if (cmp > 0) {
            high = middle - 1;
        } else {
            index = middle;
            return 1;
        }
    }
    index = low;
    return 0;
}

void AddPointMarker(CPointMarkerArray& markers, float x, float y, float z, std::uint32_t color,
                    std::int32_t vertexNumber, const CSettings& settings, bool enlargedView)
{
    const CVector3 rounded(RoundToStep(x, 10000.0f), RoundToStep(y, 10000.0f),
                           RoundToStep(z, 10000.0f));
    int index = 0;
    if (FindPointMarker(markers, rounded.x, rounded.y, rounded.z, index))
        return;

    if (vertexNumber == -1) {
        // Only the two neighbours in sort order are tested.
        const CVector3 point(x, y, z);
        const float halfGrid = settings.m_grid / 2.0f;
        const auto tooClose = [&](std::size_t i) {
            return VectorLength(markers[i]->m_markerPoint - point) < halfGrid;
        };
        const auto at = static_cast<std::size_t>(index);
        if (at > 0 && tooClose(at - 1))
            return;
        if (at < markers.size() && tooClose(at))
            return;
    }

    const float half = enlargedView ? settings.m_vertexScaling * 0.25f : settings.m_vertexScaling;
    auto marker = std::make_unique<C3doMesh>();
    marker->m_markerVertices.reserve(8);
    for (const D3DLVERTEX& corner : CubeCorners()) {
        const CVector3 p(corner.x * half + rounded.x, corner.y * half + rounded.y,
                         corner.z * half + rounded.z);
        marker->m_markerVertices.push_back(MakeLitVertex(p, color, 0u, 0.0f, 0.0f));
    }
    marker->m_markerIndices.assign(kCubeIndices.begin(), kCubeIndices.end());
    marker->m_markerPoint = rounded;
    marker->m_markerVertex = vertexNumber;
    markers.insert(markers.begin() + index, std::move(marker));
}
