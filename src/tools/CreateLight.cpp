#include "tools/CreateLight.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/FieldText.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

using CIntensities = std::array<float, 4>;

// The parts of the selection the light reads, each -1 when none or out of range.
struct CLightSource {
    int m_sector = -1;
    int m_surface = -1;  // V: the surface of the current corner
    int m_corner = -1;   // C: the current corner, an index into V's corners
};

CLightSource SourceOf(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    CLightSource source;
    if (!InRange(level.m_sectors, selection.m_sector))
        return source;
    source.m_sector = selection.m_sector;
    if (!InRange(level.m_surfaces, selection.m_vertexSurface))
        return source;
    source.m_surface = selection.m_vertexSurface;
    const CQzlSurface& surface = *At(level.m_surfaces, source.m_surface);
    if (InRange(surface.m_vertices, selection.m_vertex) &&
        InRange(level.m_worldVertices,
                surface.m_vertices[static_cast<std::size_t>(selection.m_vertex)].m_worldVertex))
        source.m_corner = selection.m_vertex;
    return source;
}

CVector3 PositionOf(const CQzlSections& level, const CLightSource& source)
{
    if (source.m_sector < 0)
        return {};
    if (source.m_surface < 0)
        return At(level.m_sectors, source.m_sector)->m_center;
    const CQzlSurface& surface = *At(level.m_surfaces, source.m_surface);
    if (source.m_corner < 0)
        return (surface.m_box.min + surface.m_box.max) / 2.0f;
    return WorldPosition(level, At(surface.m_vertices, source.m_corner).m_worldVertex);
}

// Gives corner the intensities; true when that changed any of them.
bool SetIntensities(CQzlVertex& corner, const CIntensities& intensities)
{
    if (std::equal(intensities.begin(), intensities.end(), corner.m_intensity))
        return false;
    std::copy(intensities.begin(), intensities.end(), corner.m_intensity);
    return true;
}

// The sectors the light reaches (the light's own sector first) and whether any corner changed.
struct CLightResult {
    std::vector<int> m_sectors;
    bool m_changed = false;
};

void PaintFlat(CQzlSections& level, const CLightSource& source, const CIntensities& start,
               CLightResult& result)
{
    for (const std::int32_t f : At(level.m_sectors, source.m_sector)->m_surfaces) {
        if (!InRange(level.m_surfaces, f) || (source.m_surface >= 0 && f != source.m_surface))
            continue;
        std::vector<CQzlVertex>& corners = At(level.m_surfaces, f)->m_vertices;
        for (std::size_t k = 0; k < corners.size(); ++k)
            if (source.m_corner < 0 || static_cast<int>(k) == source.m_corner)
                result.m_changed |= SetIntensities(corners[k], start);
    }
}

void PaintByDistance(CQzlSections& level, const CLightSource& source, const CVector3& light,
                     const CLightParams& params, CLightResult& result)
{
    const CIntensities start = LightIntensities(params.m_startColor);
    const CIntensities end = LightIntensities(params.m_endColor);
    const CQzlSector& own = *At(level.m_sectors, source.m_sector);
    const bool atCentre = source.m_surface < 0 && source.m_corner < 0;
    for (std::size_t t = 0; t < level.m_sectors.size(); ++t) {
        const auto target = static_cast<int>(t);
        int position = 0;
        if ((atCentre && target == source.m_sector) || own.FindSortedIndex(target, position) == 0)
            continue;
        bool lit = false;
        for (const std::int32_t f : level.m_sectors[t]->m_surfaces) {
            if (!InRange(level.m_surfaces, f) || (source.m_corner < 0 && f == source.m_surface))
                continue;
            std::vector<CQzlVertex>& corners = At(level.m_surfaces, f)->m_vertices;
            for (std::size_t k = 0; k < corners.size(); ++k) {
                if (f == source.m_surface && static_cast<int>(k) == source.m_corner)
                    continue;
                if (!InRange(level.m_worldVertices, corners[k].m_worldVertex))
                    continue;
                const CVector3 p = WorldPosition(level, corners[k].m_worldVertex);
                const float along = VectorLength(p - light) / params.m_distance;
                if (!(along <= 1.0f))
                    continue;
                CIntensities blend{};
                for (std::size_t i = 0; i < blend.size(); ++i)
                    blend[i] = along * end[i] + (1.0f - along) * start[i];
                result.m_changed |= SetIntensities(corners[k], blend);
                lit = true;
            }
        }
        if (lit && std::find(result.m_sectors.begin(), result.m_sectors.end(), target) ==
                       result.m_sectors.end())
            result.m_sectors.push_back(target);
    }
}

}  // namespace

std::array<float, 4> LightIntensities(std::uint32_t color)
{
    const auto byte = [color](int shift) {
        return static_cast<float>((color >> shift) & 0xFFu) / 255.0f;
    };
    const float red = byte(0);
    const float green = byte(8);
    const float blue = byte(16);
    return {blue, red, green, blue};
}

bool LightDistanceInRange(float distance)
{
    return distance >= static_cast<float>(kLightDistanceLow) &&
           distance <= static_cast<float>(kLightDistanceHigh);
}

std::string LightDistanceRangeText()
{
    return "Please enter a number between " + FloatFieldText(kLightDistanceLow) + " and " +
           FloatFieldText(kLightDistanceHigh) + ".";
}

CVector3 LightPosition(const C3dView& view)
{
    return PositionOf(view.GetLevel(), SourceOf(view));
}

bool ApplyLight(C3dView& view, const CLightParams& params)
{
    CQzlSections& level = view.GetLevel();
    const CLightSource source = SourceOf(view);
    if (source.m_sector < 0)
        return false;
    if (params.m_distanceDependent && !(params.m_distance > 0.0f))
        return false;
    CLightResult result;
    result.m_sectors.push_back(source.m_sector);
    if (params.m_distanceDependent)
        PaintByDistance(level, source, PositionOf(level, source), params, result);
    else
        PaintFlat(level, source, LightIntensities(params.m_startColor), result);
    if (!result.m_changed)
        return false;
    for (const int sector : result.m_sectors)
        RefreshSector(view, sector);
    CEngineHost& host = view.GetHost();
    // The corners' light is stored in the level: also with undo switched off ("UndoRedo" 0).
    host.SetModifiedFlag(true);
    host.UpdateAllViews(0);
    host.RequestFrame(true);
    return true;
}

bool RunCreateLightCommand(C3dView& view, const CLightParams& params)
{
    return RunUndoable(view, [&view, &params] { return ApplyLight(view, params); });
}
