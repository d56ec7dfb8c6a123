#include "engine/MarkerBuilders.h"

#include "engine/C3dView.h"
#include "engine/GridPoints.h"
#include "engine/PointMarkers.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"

#include <cstddef>
#include <cstdint>

namespace {

void AddMarker(C3dView& view, const CVector3& p, std::uint32_t settingColor,
               std::int32_t vertexNumber)
{
    AddPointMarker(view.m_markers, p.x, p.y, p.z, ColorToVertex(settingColor), vertexNumber,
                   view.GetSettings(), view.GetDocument().m_enlargeView != 0);
}

}  // namespace

void BuildAllVertexMarkers(C3dView& view)
{
    view.m_markers.clear();
    const std::uint32_t color = view.GetSettings().m_colorGrid;
    for (const CVector3& node : view.m_selection.m_pickedNodes)
        AddMarker(view, node, color, -1);
}

void BuildSectorVertexMarkers(C3dView& view)
{
    view.m_markers.clear();
    const CQzlSections& level = view.GetLevel();
    const int current = view.m_selection.m_surface;
    if (current < 0 || static_cast<std::size_t>(current) >= level.m_surfaces.size())
        return;

    const CSettings& settings = view.GetSettings();
    const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(current)];
    const std::size_t corners = surface.m_vertices.size();
    for (std::size_t k = 0; k < corners; ++k) {
        const CQzlVertex& corner = surface.m_vertices[k];
        if (corner.m_worldVertex < 0 ||
            static_cast<std::size_t>(corner.m_worldVertex) >= level.m_worldVertices.size())
            continue;
        const auto w = static_cast<std::size_t>(corner.m_worldVertex);
        // Use counts that were never computed count as unshared.
        const bool shared = w < level.m_useCounts.size() && level.m_useCounts[w] > 1;
        const std::uint32_t color = corner.m_marked != 0 ? settings.m_colorSelect
                                    : shared             ? settings.m_colorLink
                                                         : settings.m_colorUnlink;
        const CWorldVertex& v = level.m_worldVertices[w];
        AddMarker(view, CVector3(v.x, v.y, v.z), color, static_cast<std::int32_t>(k));
    }
    view.m_selection.m_vertexSurface = current;
}

void RebuildSectorGridPoints(C3dView& view)
{
    view.m_markers.clear();
    const int current = view.m_selection.m_surface;
    if (current < 0 || static_cast<std::size_t>(current) >= view.GetLevel().m_surfaces.size())
        return;
    AddSurfaceGridMarkers(view, current);
}
