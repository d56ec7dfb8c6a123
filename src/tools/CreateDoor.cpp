#include "tools/CreateDoor.h"

#include "edit/CutToPolygon.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "tools/BuilderSteps.h"
#include "tools/DoorElevatorFit.h"
#include "tools/LevelRollback.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The door sector geometry; false when a step fails.
bool BuildDoorGeometry(C3dView& view, const CDoorParams& p, const CVector3& g0, const CVector3& g1,
                       const CVector3& n, const CVector3& d, const CDoorFrames& frames,
                       std::int32_t& doorSector)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const std::array<CVector3, 4> outline = DoorOutline(g0, n, d, p.m_width, p.m_height);
    const std::vector<CVector3> opening(outline.begin(), outline.end());
    selection.m_pickedNodes = opening;
    if (!CutSurfaceToPolygon(view, selection.m_sector, selection.m_surface, opening, d))
        return false;
    RebuildSector(view, selection.m_sector);

    if (p.m_frontDepth > 0.0f && !ExtrudeBy(view, p.m_frontDepth, EExtrudeType::NewSector))
        return false;
    if (!ExtrudeBy(view, p.m_thickness, EExtrudeType::NewSector))
        return false;
    doorSector = selection.m_sector;
    const std::int32_t backFace = selection.m_surface;

    for (const std::int32_t s : At(level.m_sectors, doorSector)->m_surfaces) {
        CalcSurfacePlane(level, s);
        if (Dot(At(level.m_surfaces, s)->m_normal, frames.m_slotNormal) > 0.99f) {
            selection.m_surface = s;
            break;
        }
    }
    if (!ExtrudeBy(view, frames.m_slotDepth, EExtrudeType::KeepWithSector))
        return false;
    selection.m_sector = doorSector;
    selection.m_surface = backFace;

    if (p.m_backDepth > 0.0f) {
        if (p.m_connect)
            selection.m_pickedNodes = {g0, g1};
        const EExtrudeType type =
            p.m_connect ? EExtrudeType::ConnectOpposite : EExtrudeType::NewSector;
        if (!ExtrudeBy(view, p.m_backDepth, type))
            return false;
    }
    return true;
}

}  // namespace

CDoorFrames DoorFrames(const CDoorParams& params, const CVector3& g0, const CVector3& n,
                       const CVector3& d)
{
    const CVector3 c = VectorCross(n, d);
    CDoorFrames f;
    f.m_closed =
        g0 + d * (params.m_height / 2.0f) - n * (params.m_thickness / 2.0f + params.m_frontDepth);
    switch (params.m_direction) {
    case 1:
        f.m_slotNormal = d;
        f.m_slotDepth = params.m_height;
        f.m_open = f.m_closed - d * params.m_height;
        break;
    case 2:
        f.m_slotNormal = c;
        f.m_slotDepth = params.m_width;
        f.m_open = f.m_closed - c * params.m_width;
        break;
    case 3:
        f.m_slotNormal = NegateVector(c);
        f.m_slotDepth = params.m_width;
        f.m_open = f.m_closed + c * params.m_width;
        break;
    default:
        f.m_slotNormal = NegateVector(d);
        f.m_slotDepth = params.m_height;
        f.m_open = f.m_closed + d * params.m_height;
        break;
    }
    return f;
}

std::string_view DoorRefusal(const C3dView& view, const CDoorParams& params)
{
    const std::optional<CBuilderAxes> axes = BuilderAxes(view);
    if (!axes)
        return {};
    const CQzlSections& level = view.GetLevel();
    const int surface = view.m_selection.m_surface;
    const std::array<CVector3, 4> outline =
        DoorOutline(axes->g0, axes->n, axes->d, params.m_width, params.m_height);
    if (!OutlineFitsSurface(level, surface, outline))
        return kDoorExceedsText;
    if (params.m_connect && params.m_backDepth > 0.0f &&
        !HasUniqueOppositeSurface(level, surface, outline))
        return kDoorNoOppositeText;
    return {};
}

bool CreateDoor(C3dView& view, const CDoorParams& params)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector))
        return false;
    if (!(params.m_width > 0.0f && params.m_height > 0.0f && params.m_thickness > 0.0f))
        return false;
    const std::optional<CBuilderAxes> axes = BuilderAxes(view);
    if (!axes)
        return false;
    const CVector3 g0 = axes->g0;
    const CVector3 g1 = axes->g1;
    const CVector3 n = axes->n;
    const CVector3 d = axes->d;
    const CDoorFrames frames = DoorFrames(params, g0, n, d);

    CLevelRollback rollback(view);
    std::int32_t doorSector = -1;
    if (!BuildDoorGeometry(view, params, g0, g1, n, d, frames, doorSector)) {
        rollback.Restore();
        view.GetHost().ShowMessage(kDoorFailedText);
        return false;
    }

    const int index = AddFramedThing(view, params.m_template, doorSector, frames.m_closed,
                                     frames.m_open, NegateVector(n), d);
    auto cog = std::make_unique<CQzlCog>(std::string(kDoorCogScript));
    cog->m_values = {std::to_string(index), "-1", "-1", "-1"};
    level.m_cogs.push_back(std::move(cog));
    AddCogScriptName(level, kDoorCogScript);

    ProcessSectors(view);
    view.GetHost().RequestFrame(true);
    return true;
}

bool RunCreateDoorCommand(C3dView& view, const CDoorParams& params)
{
    return RunUndoable(view, [&view, &params] { return CreateDoor(view, params); });
}
