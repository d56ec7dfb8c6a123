#include "tools/CreateElevator.h"

#include "edit/Carve.h"
#include "edit/CutToPolygon.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "tools/BuilderSteps.h"
#include "tools/DoorElevatorFit.h"
#include "tools/ElevatorCogs.h"
#include "tools/ExtrudeEndPolygon.h"
#include "tools/LevelRollback.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The surface the shaft rises from in Up mode: the nearest wall of sector met from just off g0
// out along n (a portal does not count).
int SurfaceFacing(const CQzlSections& level, int sector, const CVector3& g0, const CVector3& n)
{
    CVector3 hit;
    int surface = -1;
    if (!IntersectSegmentSector(level, sector, g0 + n * 0.01f, g0 + n * 1000.0f, hit, surface, true,
                                true) ||
        !InRange(level.m_surfaces, surface))
        return -1;
    const CQzlSurface& met = *At(level.m_surfaces, surface);
    return met.m_texture != nullptr || met.m_material >= 0 ? surface : -1;
}

// The sector whose surface list holds surface; -1 when none does.
int OwnerSector(const CQzlSections& level, int surface)
{
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        for (const std::int32_t f : level.m_sectors[s]->m_surfaces)
            if (f == surface)
                return static_cast<int>(s);
    return -1;
}

// The level's index of a surface record; -1 when it is no longer in the level.
int IndexOf(const CQzlSections& level, const CQzlSurface* surface)
{
    for (std::size_t i = 0; i < level.m_surfaces.size(); ++i)
        if (level.m_surfaces[i].get() == surface)
            return static_cast<int>(i);
    return -1;
}

// The surfaces a carve recorded, as records: the carve's result list names the outer piece of
// each cut (a sector) and then the walls facing the carved piece (surfaces); only the walls are
// surfaces. cuts is the number of sectors the carve added.
std::vector<const CQzlSurface*> CarvedWalls(const C3dView& view, std::size_t cuts)
{
    const CQzlSections& level = view.GetLevel();
    const std::vector<std::int32_t>& results = view.m_work.m_cutResults;
    std::vector<const CQzlSurface*> walls;
    for (std::size_t i = cuts; i < results.size(); ++i)
        if (InRange(level.m_surfaces, results[i]))
            walls.push_back(At(level.m_surfaces, results[i]).get());
    return walls;
}

std::vector<std::int32_t> CurrentIndices(const CQzlSections& level,
                                         const std::vector<const CQzlSurface*>& surfaces)
{
    std::vector<std::int32_t> indices;
    for (const CQzlSurface* surface : surfaces) {
        const int index = IndexOf(level, surface);
        if (index >= 0)
            indices.push_back(index);
    }
    return indices;
}

std::vector<CVector3> CornerPositions(const CQzlSections& level, int surface)
{
    std::vector<CVector3> corners;
    for (const CQzlVertex& corner : At(level.m_surfaces, surface)->m_vertices)
        corners.push_back(WorldPosition(level, corner.m_worldVertex));
    return corners;
}

// Carves the current sector along the picked grid nodes, unbounded and without a catwalk; the
// walls the carve found are appended to walls.
bool CarveShaft(C3dView& view, std::vector<const CQzlSurface*>& walls)
{
    const std::size_t sectorsBefore = view.GetLevel().m_sectors.size();
    if (!CarveAlongLine(view, false, 0.0f, 0.0f, CCarveLook{}, false))
        return false;
    const std::size_t cuts = view.GetLevel().m_sectors.size() - sectorsBefore;
    walls = CarvedWalls(view, cuts);
    return true;
}

// Extrudes surface of its own sector; the selection is then as before.
bool ExtrudeSubShaft(C3dView& view, int surface, float depth)
{
    CSelection& selection = view.m_selection;
    const std::int32_t sector = selection.m_sector;
    const std::int32_t current = selection.m_surface;
    selection.m_sector = OwnerSector(view.GetLevel(), surface);
    selection.m_surface = surface;
    const bool extruded = ExtrudeBy(view, depth, EExtrudeType::NewSector);
    selection.m_sector = sector;
    selection.m_surface = current;
    return extruded;
}

// What the shaft steps leave for the thing and its cogs.
struct CShaftResult {
    CVector3 m_start;                               // P
    CVector3 m_end;                                 // E
    std::vector<const CQzlSurface*> m_firstWalls;   // recorded by the first carve
    std::vector<const CQzlSurface*> m_secondWalls;  // recorded by the carve beyond a joined shaft
};

// The shaft, its join and its sub-shaft; false when a step fails (its own message, if any, has
// been shown).
bool BuildShaft(C3dView& view, const CElevatorParams& p, const CBuilderAxes& axes,
                CShaftResult& result)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const CVector3 g0 = axes.g0;
    const CVector3 n = axes.n;
    const CVector3 d = axes.d;
    const std::array<CVector3, 4> footprint = ElevatorFootprint(g0, n, d, p.m_width, p.m_depth);
    const std::vector<CVector3> footprintNodes(footprint.begin(), footprint.end());

    selection.m_pickedNodes = footprintNodes;
    if (!CarveShaft(view, result.m_firstWalls))
        return false;
    const std::int32_t kSector = selection.m_sector;
    if (!InRange(level.m_sectors, kSector) || !InRange(level.m_surfaces, selection.m_surface))
        return false;
    const CQzlSurface* const kSurface = At(level.m_surfaces, selection.m_surface).get();
    CVector3 start = g0 - n * (p.m_height / 2.0f);
    const int facing = SurfaceFacing(level, kSector, g0, n);

    std::vector<CVector3> polygon;
    if (p.m_up) {
        if (facing < 0)
            return false;
        selection.m_surface = facing;
        polygon = CornerPositions(level, facing);
    } else {
        polygon = footprintNodes;
    }
    if (polygon.size() < 3)
        return false;
    selection.m_pickedNodes = polygon;
    const float edge = VectorLength(polygon[1] - polygon[0]);
    if (!(edge > 0.0f) || !CutSurfaceToPolygon(view, kSector, selection.m_surface, polygon,
                                               (polygon[1] - polygon[0]) / edge))
        return false;
    RebuildSector(view, kSector);
    selection.m_pickedNodes = polygon;
    const EExtrudeType shaftType =
        p.m_connect ? EExtrudeType::ConnectOpposite : EExtrudeType::NewSector;
    if (!ExtrudeBy(view, p.m_shaftHeight, shaftType))
        return false;
    const CVector3 rise = n * p.m_shaftHeight;
    CVector3 end = p.m_up ? start + rise : start - rise;

    float subShaft = p.m_subShaftHeight;
    if (p.m_connect) {
        const std::int32_t shaftSector = selection.m_sector;
        if (!InRange(level.m_surfaces, selection.m_surface))
            return false;
        const std::int32_t adjoin = At(level.m_surfaces, selection.m_surface)->m_adjoin;
        if (!InRange(level.m_adjoins, adjoin))
            return false;
        const CQzlAdjoin& across = *At(level.m_adjoins, adjoin);
        if (!InRange(level.m_sectors, across.m_otherSector) ||
            !InRange(level.m_surfaces, across.m_otherSurface))
            return false;
        selection.m_sector = across.m_otherSector;
        selection.m_surface = across.m_otherSurface;
        const CQzlSurface* const beyond = At(level.m_surfaces, across.m_otherSurface).get();
        selection.m_pickedNodes = CornerPositions(level, across.m_otherSurface);
        if (!CarveShaft(view, result.m_secondWalls))
            return false;
        int beyondIndex = IndexOf(level, beyond);
        if (beyondIndex < 0)
            beyondIndex = selection.m_surface;
        if (p.m_up) {
            if (InRange(level.m_surfaces, beyondIndex))
                end = SurfaceCentroid(level, beyondIndex) - n * (p.m_height / 2.0f);
        } else {
            std::vector<CVector3> points;
            int bottomSector = -1;
            int bottom = -1;
            const bool unique = CalcExtrudeEndPolygon(level, beyondIndex, d, 0.0f, 0.0f, points,
                                                      bottomSector, bottom, false);
            selection.m_pickedNodes = points;
            if (!unique && subShaft > 0.0f) {
                view.GetHost().ShowMessage(kNoSubShaftText);
                subShaft = 0.0f;
            } else if (unique) {
                selection.m_sector = bottomSector;
                selection.m_surface = bottom;
            }
            if (!points.empty()) {
                CVector3 sum;
                for (const CVector3& point : points)
                    sum = sum + point;
                end = sum / static_cast<float>(points.size()) - n * (p.m_height / 2.0f);
            }
        }
        selection.m_sector = shaftSector;
    }

    if (subShaft <= 0.0f) {
        start = g0 + n * (p.m_height / 2.0f);
        end = p.m_up ? start + rise : start - rise;
    } else if (p.m_up) {
        const int kIndex = IndexOf(level, kSurface);
        selection.m_sector = kSector;
        selection.m_surface = kIndex;
        if (kIndex < 0 || !ExtrudeSubShaft(view, kIndex, subShaft))
            return false;
    } else if (!ExtrudeSubShaft(view, selection.m_surface, subShaft)) {
        return false;
    }
    // The current surface and sector are left as one pair.
    const int owner = OwnerSector(level, selection.m_surface);
    if (owner >= 0)
        selection.m_sector = owner;
    result.m_start = start;
    result.m_end = end;
    return true;
}

// The sector that holds p: the current one when it does, else the first that does; the current
// one when none does.
int SectorHolding(const C3dView& view, const CVector3& p)
{
    const CQzlSections& level = view.GetLevel();
    const int current = view.m_selection.m_sector;
    constexpr float kSlack = -0.001f;
    if (InRange(level.m_sectors, current) && PointInSector(level, current, p, kSlack))
        return current;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
        if (PointInSector(level, static_cast<int>(s), p, kSlack))
            return static_cast<int>(s);
    return current;
}

}  // namespace

std::string_view ElevatorRefusal(const C3dView& view, const CElevatorParams& params)
{
    const std::optional<CBuilderAxes> axes = BuilderAxes(view);
    if (!axes)
        return {};
    const std::array<CVector3, 4> footprint =
        ElevatorFootprint(axes->g0, axes->n, axes->d, params.m_width, params.m_depth);
    if (!OutlineFitsSurface(view.GetLevel(), view.m_selection.m_surface, footprint))
        return kElevatorExceedsText;
    return {};
}

bool CreateElevator(C3dView& view, const CElevatorParams& params)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector))
        return false;
    if (!(params.m_width > 0.0f && params.m_height > 0.0f && params.m_depth > 0.0f &&
          params.m_shaftHeight > 0.0f))
        return false;
    const std::optional<CBuilderAxes> axes = BuilderAxes(view);
    if (!axes)
        return false;
    if (params.m_up && SurfaceFacing(level, selection.m_sector, axes->g0, axes->n) < 0) {
        view.GetHost().ShowMessage(kElevatorNoCeilingText);
        return false;
    }

    CLevelRollback rollback(view);
    CShaftResult shaft;
    if (!BuildShaft(view, params, *axes, shaft)) {
        rollback.Restore();
        view.GetHost().ShowMessage(kElevatorFailedText);
        return false;
    }

    const int sector = SectorHolding(view, shaft.m_start);
    const int index = AddFramedThing(view, params.m_template, sector, shaft.m_start, shaft.m_end,
                                     axes->d, axes->n);
    for (std::vector<std::string>& values :
         ElevatorSwitchCogValues(CurrentIndices(level, shaft.m_firstWalls),
                                 CurrentIndices(level, shaft.m_secondWalls), index)) {
        auto cog = std::make_unique<CQzlCog>(std::string(kElevatorSwitchCogScript));
        cog->m_values = std::move(values);
        level.m_cogs.push_back(std::move(cog));
    }
    // Every recorded surface went to a cog.
    view.m_work.m_cutResults.clear();
    AddCogScriptName(level, kElevatorSwitchCogScript);

    ProcessSectors(view);
    view.GetHost().RequestFrame(true);
    return true;
}

bool RunCreateElevatorCommand(C3dView& view, const CElevatorParams& params)
{
    return RunUndoable(view, [&view, &params] { return CreateElevator(view, params); });
}
