#include "edit/TextureCoordinates.h"

#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "level/TextureFit.h"

#include <algorithm>

namespace {

// The current surface when mapping can be laid on it; null otherwise.
CQzlSurface* MappableSurface(C3dView& view, const CTextureMapping& mapping)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_surfaces, view.m_selection.m_surface))
        return nullptr;
    CQzlSurface* surface = At(level.m_surfaces, view.m_selection.m_surface).get();
    if (!InRange(surface->m_vertices, mapping.m_startVertex))
        return nullptr;
    return surface;
}

void LayTexture(C3dView& view, const CTextureMapping& mapping)
{
    ComputeTextureCoords(view.GetLevel(), view.m_selection.m_surface, mapping.m_startVertex,
                         mapping.m_angle, mapping.m_uScale, mapping.m_vScale, mapping.m_uOffset,
                         mapping.m_vOffset, mapping.m_mirror);
}

}  // namespace

bool CanChangeTextureCoordinates(const C3dView& view)
{
    return InRange(view.GetLevel().m_surfaces, view.m_selection.m_surface);
}

CTextureMapping StoredTextureMapping(const CQzlSurface& surface)
{
    return {surface.m_startVertex, surface.m_uOffset, surface.m_vOffset, surface.m_uScale,
            surface.m_vScale,      surface.m_angle,   surface.m_mirror};
}

bool CurrentTextureMapping(const C3dView& view, CTextureMapping& mapping, int& corners)
{
    const CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_surfaces, view.m_selection.m_surface))
        return false;
    const CQzlSurface& surface = *At(level.m_surfaces, view.m_selection.m_surface);
    mapping = StoredTextureMapping(surface);
    corners = static_cast<int>(surface.m_vertices.size());
    return true;
}

bool ApplyTextureMapping(C3dView& view, const CTextureMapping& mapping)
{
    if (MappableSurface(view, mapping) == nullptr)
        return false;
    LayTexture(view, mapping);
    RebuildSurfaceVertices(view, view.m_selection.m_sector, view.m_selection.m_surface, true);
    return true;
}

bool StoreTextureMapping(C3dView& view, const CTextureMapping& mapping)
{
    CQzlSurface* surface = MappableSurface(view, mapping);
    if (surface == nullptr)
        return false;
    surface->m_startVertex = mapping.m_startVertex;
    surface->m_uOffset = mapping.m_uOffset;
    surface->m_vOffset = mapping.m_vOffset;
    surface->m_uScale = mapping.m_uScale;
    surface->m_vScale = mapping.m_vScale;
    surface->m_angle = mapping.m_angle;
    surface->m_mirror = mapping.m_mirror;
    LayTexture(view, mapping);
    RebuildSector(view, view.m_selection.m_sector);
    return true;
}

int StepStartVertex(int value, int delta, int corners)
{
    const int stepped = value - delta;
    if (stepped < 0)
        return std::max(corners - 1, 0);
    if (stepped >= corners)
        return 0;
    return stepped;
}

float StepTextureAngle(float value, int delta)
{
    float stepped = value - static_cast<float>(delta);
    if (stepped < 0.0f)
        stepped += kTextureAngleHighest;
    else if (stepped > kTextureAngleHighest)
        stepped -= kTextureAngleHighest;
    return stepped;
}

float StepTextureValue(float value, int delta)
{
    return std::clamp(value - static_cast<float>(delta), 0.0f, kTextureMappingHighest);
}
