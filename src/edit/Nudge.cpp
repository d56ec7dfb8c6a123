#include "edit/Nudge.h"

#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "engine/KeyState.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "engine/ThingModels.h"
#include "engine/Undo.h"
#include "engine/ViewCommands.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/TextureFit.h"
#include "level/VertexUses.h"
#include "math/Matrix.h"
#include "math/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace {

// Corners lying farther than this off their surface's plane make a vertex move go back.
constexpr double kFlatness = 0.00005;

float& Coordinate(CVector3& p, EAxis axis)
{
    return axis == EAxis::X ? p.x : (axis == EAxis::Y ? p.y : p.z);
}

float& Coordinate(CWorldVertex& w, EAxis axis)
{
    return axis == EAxis::X ? w.x : (axis == EAxis::Y ? w.y : w.z);
}

CVector3 Position(const CWorldVertex& w)
{
    return {w.x, w.y, w.z};
}

// A moved vertex is stored as the rebuild stores every vertex, to 5 decimals, before the planes
// are taken from it: the rebuild of a sector computes a surface's plane before it rounds the
// corners, so the planes after an edit are those a full rebuild computes.
void SetPosition(CWorldVertex& w, const CVector3& p)
{
    w.x = RoundToStep(p.x, 100000.0f);
    w.y = RoundToStep(p.y, 100000.0f);
    w.z = RoundToStep(p.z, 100000.0f);
}

CQzlSector* CurrentSector(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    return InRange(level.m_sectors, view.m_selection.m_sector)
               ? At(level.m_sectors, view.m_selection.m_sector).get()
               : nullptr;
}

CQzlSurface* CurrentSurface(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    return InRange(level.m_surfaces, view.m_selection.m_surface)
               ? At(level.m_surfaces, view.m_selection.m_surface).get()
               : nullptr;
}

CQzlThing* CurrentThing(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    return InRange(level.m_things, view.m_selection.m_thing)
               ? At(level.m_things, view.m_selection.m_thing).get()
               : nullptr;
}

bool HasCurrentVertex(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    return InRange(level.m_surfaces, selection.m_vertexSurface) &&
           InRange(At(level.m_surfaces, selection.m_vertexSurface)->m_vertices, selection.m_vertex);
}

// The surfaces of a sector's list that exist.
template <typename Visit>
void ForEachSurface(CQzlSections& level, const CQzlSector& sector, Visit visit)
{
    for (const std::int32_t f : sector.m_surfaces)
        if (InRange(level.m_surfaces, f))
            visit(f, *At(level.m_surfaces, f));
}

// Use counts that fit the world vertices: editing operations keep them current, a level that was
// never built has them counted here.
void EnsureUseCounts(CQzlSections& level)
{
    if (level.m_useCounts.size() != level.m_worldVertices.size())
        CountVertexUses(level);
}

// The corner takes a new world vertex at the place of its old one: the old one loses a use, the
// copy (appended, never merged with a vertex at the same place) has one.
void GiveCornerOwnVertex(CQzlSections& level, CQzlVertex& corner)
{
    const std::int32_t old = corner.m_worldVertex;
    --At(level.m_useCounts, old);
    level.m_worldVertices.push_back(At(level.m_worldVertices, old));
    level.m_useCounts.push_back(1);
    corner.m_worldVertex = static_cast<std::int32_t>(level.m_worldVertices.size()) - 1;
}

// Rebuilds every sector listed in first, then every other sector with a corner on one of the
// world vertices: a sector that only shares a moved vertex gets its planes and bounds anew too.
void RebuildSectorsUsing(C3dView& view, const std::vector<int>& first,
                         const std::set<std::int32_t>& vertices)
{
    CQzlSections& level = view.GetLevel();
    std::vector<int> sectors = first;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        const int index = static_cast<int>(s);
        if (std::find(sectors.begin(), sectors.end(), index) != sectors.end())
            continue;
        bool uses = false;
        ForEachSurface(level, *level.m_sectors[s], [&](int, const CQzlSurface& surface) {
            for (const CQzlVertex& corner : surface.m_vertices)
                uses = uses || vertices.count(corner.m_worldVertex) != 0;
        });
        if (uses)
            sectors.push_back(index);
    }
    for (const int s : sectors)
        RebuildSector(view, s);
}

// Both places a model keeps its thing's position take the new one; its box is made again when
// next asked for.
void PlaceModel(CQzlThing& thing)
{
    if (thing.m_model == nullptr)
        return;
    thing.m_model->m_position = thing.m_position;
    thing.m_model->m_placement.m[3][0] = thing.m_position.x;
    thing.m_model->m_placement.m[3][1] = thing.m_position.y;
    thing.m_model->m_placement.m[3][2] = thing.m_position.z;
    thing.m_model->m_boundsValid = 0;
}

D3DMATRIX Rotation(EAxis axis, float degrees)
{
    const float radians = degrees * 3.1415927f / 180.0f;
    return axis == EAxis::X ? MatrixRotateX(radians)
                            : (axis == EAxis::Y ? MatrixRotateY(radians) : MatrixRotateZ(radians));
}

CVector3 RotateAbout(const CVector3& p, const CVector3& centre, const D3DMATRIX& r)
{
    return centre + TransformPoint(p - centre, r);
}

// The angle of a thing that a turn around axis changes: roll for x, yaw for y, pitch for z.
float& TurnedAngle(CQzlThing& thing, EAxis axis)
{
    return axis == EAxis::X ? thing.m_roll : (axis == EAxis::Y ? thing.m_yaw : thing.m_pitch);
}

// Places and turns thing i as its fields say, with its model.
void OrientThing(C3dView& view, int i)
{
    const CQzlThing& thing = *At(view.GetLevel().m_things, i);
    SetThingOrientation(view, i, thing.m_position.x, thing.m_position.y, thing.m_position.z,
                        thing.m_yaw, thing.m_roll, thing.m_pitch);
}

// Whether every corner of every surface of every sector lies within kFlatness of its surface's
// plane, the planes taken from the corners as they are now. The stored normals and planes stay
// as they were.
bool LevelIsFlat(CQzlSections& level)
{
    for (const auto& sector : level.m_sectors) {
        for (const std::int32_t f : sector->m_surfaces) {
            if (!InRange(level.m_surfaces, f))
                continue;
            CQzlSurface& surface = *At(level.m_surfaces, f);
            const CVector3 normal = surface.m_normal;
            float plane[4];
            std::copy(std::begin(surface.m_plane), std::end(surface.m_plane), plane);
            CalcSurfacePlane(level, surface);
            const auto a = static_cast<double>(surface.m_plane[0]);
            const auto b = static_cast<double>(surface.m_plane[1]);
            const auto c = static_cast<double>(surface.m_plane[2]);
            const auto d = static_cast<double>(surface.m_plane[3]);
            bool flat = true;
            for (const CQzlVertex& corner : surface.m_vertices) {
                const CVector3 q = WorldPosition(level, corner.m_worldVertex);
                const CDVector3 p(q.x, q.y, q.z);
                const double off =
                    std::fabs(a * p.x + b * p.y + c * p.z + d) / (a * a + b * b + c * c);
                flat = flat && !(off > kFlatness);
            }
            surface.m_normal = normal;
            std::copy(std::begin(plane), std::end(plane), surface.m_plane);
            if (!flat)
                return false;
        }
    }
    return true;
}

}  // namespace

// ---- Steps ----

float MoveStep(bool shift, bool ctrl)
{
    return shift ? 0.1f : (ctrl ? 0.01f : 0.05f);
}

float MoveStep(const KeyState& keys)
{
    return MoveStep(keys.IsShiftDown(), keys.IsCtrlDown());
}

float RotateStep(bool shift, bool ctrl)
{
    return shift ? 45.0f : (ctrl ? 1.0f : 6.0f);
}

float RotateStep(const KeyState& keys)
{
    return RotateStep(keys.IsShiftDown(), keys.IsCtrlDown());
}

// ---- Moves ----

bool MoveSector(C3dView& view, EAxis axis, float step)
{
    CQzlSector* sector = CurrentSector(view);
    if (sector == nullptr)
        return false;
    CQzlSections& level = view.GetLevel();
    EnsureUseCounts(level);

    // The sector's distinct vertices, in the order its corners reach them.
    std::set<std::int32_t> collected;
    std::vector<std::int32_t> order;
    ForEachSurface(level, *sector, [&](int, CQzlSurface& surface) {
        for (CQzlVertex& corner : surface.m_vertices) {
            if (!InRange(level.m_worldVertices, corner.m_worldVertex) ||
                collected.count(corner.m_worldVertex) != 0)
                continue;
            if (surface.m_adjoin == -1 && At(level.m_useCounts, corner.m_worldVertex) > 1)
                GiveCornerOwnVertex(level, corner);
            collected.insert(corner.m_worldVertex);
            order.push_back(corner.m_worldVertex);
        }
    });
    for (const std::int32_t w : order) {
        CWorldVertex& vertex = At(level.m_worldVertices, w);
        CVector3 p = Position(vertex);
        Coordinate(p, axis) += step;
        SetPosition(vertex, p);
    }

    for (auto& thing : level.m_things) {
        if (thing->m_sector != view.m_selection.m_sector)
            continue;
        Coordinate(thing->m_position, axis) += step;
        PlaceModel(*thing);
    }
    RebuildSectorsUsing(view, {view.m_selection.m_sector}, collected);
    return true;
}

bool MoveSurface(C3dView& view, EAxis axis, float step)
{
    CQzlSurface* surface = CurrentSurface(view);
    if (surface == nullptr)
        return false;
    for (CQzlVertex& corner : surface->m_vertices)
        corner.m_marked = 1;
    return MoveVertices(view, axis, step);
}

bool MoveVertices(C3dView& view, EAxis axis, float amount)
{
    if (amount == 0.0f)
        return false;
    CQzlSections& level = view.GetLevel();

    // Every marked corner, sector by sector: its world vertex, where that stood, its surface.
    struct CEntry {
        std::int32_t vertex;
        CWorldVertex saved;
        int surface;
    };
    std::vector<CEntry> entries;
    std::vector<int> noted;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        bool marked = false;
        ForEachSurface(level, *level.m_sectors[s], [&](int f, const CQzlSurface& surface) {
            for (const CQzlVertex& corner : surface.m_vertices) {
                if (corner.m_marked == 0 || !InRange(level.m_worldVertices, corner.m_worldVertex))
                    continue;
                entries.push_back(
                    {corner.m_worldVertex, At(level.m_worldVertices, corner.m_worldVertex), f});
                marked = true;
            }
        });
        if (marked)
            noted.push_back(static_cast<int>(s));
    }
    if (entries.empty())
        return false;

    const auto putBack = [&] {
        for (const CEntry& e : entries)
            At(level.m_worldVertices, e.vertex) = e.saved;
    };
    for (const CEntry& e : entries) {
        CVector3 p = Position(e.saved);
        if (entries.size() == 1) {
            if (!StepPointOnPlane(*At(level.m_surfaces, e.surface), axis, amount, p))
                return false;
        } else {
            Coordinate(p, axis) += amount;
        }
        SetPosition(At(level.m_worldVertices, e.vertex), p);
    }
    if (!LevelIsFlat(level)) {
        putBack();
        return false;
    }

    std::set<std::int32_t> moved;
    for (const CEntry& e : entries) {
        moved.insert(e.vertex);
        CQzlSurface& surface = *At(level.m_surfaces, e.surface);
        CalcSurfacePlane(level, surface);
        UpdateFloorFlag(surface);
        ComputeTextureCoords(level, e.surface, surface.m_startVertex, surface.m_angle,
                             surface.m_uScale, surface.m_vScale, surface.m_uOffset,
                             surface.m_vOffset, 0);
    }
    RebuildSectorsUsing(view, noted, moved);
    return true;
}

bool MoveThing(C3dView& view, EAxis axis, float step)
{
    CQzlThing* thing = CurrentThing(view);
    if (thing == nullptr)
        return false;
    Coordinate(thing->m_position, axis) += step;
    for (CWorldVertex& frame : thing->m_frames)
        Coordinate(frame, axis) += step;
    PlaceModel(*thing);
    ComputeThingBounds(view, *thing);
    view.GetHost().RequestFrame(true);
    return true;
}

// ---- Rotations ----

bool RotateSector(C3dView& view, EAxis axis, float degrees)
{
    CQzlSector* sector = CurrentSector(view);
    if (sector == nullptr || SectorHasAdjoin(view))
        return false;
    CQzlSections& level = view.GetLevel();
    EnsureUseCounts(level);
    const D3DMATRIX r = Rotation(axis, degrees);
    const CVector3 centre = sector->m_center;

    // A vertex that corners of other sectors use as well is copied for this sector's corners.
    std::map<std::int32_t, std::int32_t> inside;
    ForEachSurface(level, *sector, [&](int, const CQzlSurface& surface) {
        for (const CQzlVertex& corner : surface.m_vertices)
            if (InRange(level.m_worldVertices, corner.m_worldVertex))
                ++inside[corner.m_worldVertex];
    });
    std::map<std::int32_t, std::int32_t> copies;
    ForEachSurface(level, *sector, [&](int, CQzlSurface& surface) {
        for (CQzlVertex& corner : surface.m_vertices) {
            const std::int32_t w = corner.m_worldVertex;
            if (!InRange(level.m_worldVertices, w))
                continue;
            if (const auto copy = copies.find(w); copy != copies.end()) {
                --At(level.m_useCounts, w);
                ++At(level.m_useCounts, copy->second);
                corner.m_worldVertex = copy->second;
            } else if (At(level.m_useCounts, w) > inside[w]) {
                GiveCornerOwnVertex(level, corner);
                copies[w] = corner.m_worldVertex;
            }
        }
    });

    std::set<std::int32_t> turned;
    ForEachSurface(level, *sector, [&](int, CQzlSurface& surface) {
        surface.m_normal = TransformPoint(surface.m_normal, r);
        UpdateFloorFlag(surface);
        for (const CQzlVertex& corner : surface.m_vertices)
            if (InRange(level.m_worldVertices, corner.m_worldVertex))
                turned.insert(corner.m_worldVertex);
    });
    for (const std::int32_t w : turned) {
        CWorldVertex& vertex = At(level.m_worldVertices, w);
        SetPosition(vertex, RotateAbout(Position(vertex), centre, r));
    }

    // The things after the rebuild, so that the sector they are found in has its new bounds.
    const std::int32_t current = view.m_selection.m_sector;
    RebuildSector(view, current);
    for (std::size_t i = 0; i < level.m_things.size(); ++i) {
        CQzlThing& thing = *level.m_things[i];
        if (thing.m_sector != current)
            continue;
        thing.m_position = RotateAbout(thing.m_position, centre, r);
        TurnedAngle(thing, axis) -= degrees;
        OrientThing(view, static_cast<int>(i));
    }
    return true;
}

bool RotateSurface(C3dView& view, EAxis axis, float degrees)
{
    CQzlSurface* surface = CurrentSurface(view);
    if (surface == nullptr || CurrentSurfaceHasSharedVertex(view))
        return false;
    CQzlSections& level = view.GetLevel();
    if (std::any_of(surface->m_vertices.begin(), surface->m_vertices.end(),
                    [&level](const CQzlVertex& corner) {
                        return !InRange(level.m_worldVertices, corner.m_worldVertex);
                    }))
        return false;
    const D3DMATRIX r = Rotation(axis, degrees);

    CVector3 lo = WorldPosition(level, surface->m_vertices.front().m_worldVertex);
    CVector3 hi = lo;
    for (const CQzlVertex& corner : surface->m_vertices) {
        lo = VectorMin(lo, WorldPosition(level, corner.m_worldVertex));
        hi = VectorMax(hi, WorldPosition(level, corner.m_worldVertex));
    }
    const CVector3 centre = (lo + hi) * 0.5f;
    for (const CQzlVertex& corner : surface->m_vertices) {
        CWorldVertex& vertex = At(level.m_worldVertices, corner.m_worldVertex);
        SetPosition(vertex, RotateAbout(Position(vertex), centre, r));
    }
    surface->m_normal = TransformPoint(surface->m_normal, r);
    UpdateFloorFlag(*surface);

    // The surface's own sector, which is the current one whenever the selection is consistent.
    const auto owner =
        std::find_if(level.m_sectors.begin(), level.m_sectors.end(), [&view](const auto& sector) {
            const auto& list = sector->m_surfaces;
            return std::find(list.begin(), list.end(), view.m_selection.m_surface) != list.end();
        });
    RebuildSector(view, owner != level.m_sectors.end()
                            ? static_cast<int>(owner - level.m_sectors.begin())
                            : view.m_selection.m_sector);
    return true;
}

bool RotateThing(C3dView& view, EAxis axis, float degrees)
{
    CQzlThing* thing = CurrentThing(view);
    if (thing == nullptr)
        return false;
    TurnedAngle(*thing, axis) += degrees;
    OrientThing(view, view.m_selection.m_thing);
    return true;
}

// ---- Helpers ----

bool StepPointOnPlane(const CQzlSurface& surface, EAxis axis, float step, CVector3& point)
{
    // The coordinate solved from the plane after a step along x, y or z, in order of preference.
    constexpr EAxis kSolved[3][2] = {
        {EAxis::Z, EAxis::Y}, {EAxis::X, EAxis::Z}, {EAxis::X, EAxis::Y}};
    const auto coefficient = [&surface](EAxis k) { return surface.m_plane[static_cast<int>(k)]; };

    Coordinate(point, axis) += step;
    if (coefficient(axis) == 0.0f)
        return true;
    for (const EAxis solved : kSolved[static_cast<int>(axis)]) {
        if (coefficient(solved) == 0.0f)
            continue;
        float rest = 0.0f;
        for (const EAxis k : {EAxis::X, EAxis::Y, EAxis::Z})
            if (k != solved)
                rest += coefficient(k) * Coordinate(point, k);
        Coordinate(point, solved) = -(rest + surface.m_plane[3]) / coefficient(solved);
        return true;
    }
    return false;
}

// ---- Commands ----

namespace {

// The axis and direction of each Move and Rotate id.
struct CNudgeId {
    int id;
    bool rotate;
    CNudgeCommand command;
};
constexpr CNudgeId kNudgeIds[] = {
    {Cmd::kMoveUpY, false, {EAxis::Y, false}},     {Cmd::kMoveDownY, false, {EAxis::Y, true}},
    {Cmd::kMoveLeftX, false, {EAxis::X, true}},    {Cmd::kMoveRightX, false, {EAxis::X, false}},
    {Cmd::kMoveRightZ, false, {EAxis::Z, false}},  {Cmd::kMoveLeftZ, false, {EAxis::Z, true}},
    {Cmd::kRotateRightX, true, {EAxis::X, false}}, {Cmd::kRotateLeftX, true, {EAxis::X, true}},
    {Cmd::kRotateRightY, true, {EAxis::Y, false}}, {Cmd::kRotateLeftY, true, {EAxis::Y, true}},
    {Cmd::kRotateRightZ, true, {EAxis::Z, false}}, {Cmd::kRotateLeftZ, true, {EAxis::Z, true}},
};

std::optional<CNudgeCommand> FindNudge(int id, bool rotate)
{
    for (const CNudgeId& entry : kNudgeIds)
        if (entry.id == id && entry.rotate == rotate)
            return entry.command;
    return std::nullopt;
}

}  // namespace

std::optional<CNudgeCommand> MoveCommand(int id)
{
    return FindNudge(id, false);
}

std::optional<CNudgeCommand> RotateCommand(int id)
{
    return FindNudge(id, true);
}

bool CanMove(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    return InRange(level.m_surfaces, view.m_selection.m_surface) ||
           InRange(level.m_things, view.m_selection.m_thing) || HasCurrentVertex(view) ||
           view.GetDocument().m_sectorMode != 0;
}

bool CanRotate(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    return (InRange(level.m_surfaces, view.m_selection.m_surface) &&
            !CurrentSurfaceHasSharedVertex(view)) ||
           InRange(level.m_things, view.m_selection.m_thing) ||
           (view.GetDocument().m_sectorMode != 0 && !SectorHasAdjoin(view));
}

bool MoveSelection(C3dView& view, EAxis axis, float step)
{
    const CQzlSections& level = view.GetLevel();
    if (view.GetDocument().m_editMode == 1)
        return MoveSector(view, axis, step);
    if (HasCurrentVertex(view))
        return MoveVertices(view, axis, step);
    if (InRange(level.m_surfaces, view.m_selection.m_surface))
        return MoveSurface(view, axis, step);
    if (InRange(level.m_things, view.m_selection.m_thing))
        return MoveThing(view, axis, step);
    return false;
}

bool RotateSelection(C3dView& view, EAxis axis, float degrees)
{
    const CQzlSections& level = view.GetLevel();
    if (InRange(level.m_surfaces, view.m_selection.m_surface) &&
        !CurrentSurfaceHasSharedVertex(view))
        return RotateSurface(view, axis, degrees);
    if (InRange(level.m_things, view.m_selection.m_thing))
        return RotateThing(view, axis, degrees);
    if (view.GetDocument().m_editMode == 1)
        return RotateSector(view, axis, degrees);
    return false;
}

bool RunMoveCommand(C3dView& view, int id)
{
    const std::optional<CNudgeCommand> command = MoveCommand(id);
    if (!command || !CanMove(view))
        return false;
    const float step = MoveStep(view.GetKeys());
    return RunUndoable(
        view, [&] { return MoveSelection(view, command->axis, command->negative ? -step : step); });
}

bool RunRotateCommand(C3dView& view, int id)
{
    const std::optional<CNudgeCommand> command = RotateCommand(id);
    if (!command || !CanRotate(view))
        return false;
    const float degrees = RotateStep(view.GetKeys());
    return RunUndoable(view, [&] {
        return RotateSelection(view, command->axis, command->negative ? -degrees : degrees);
    });
}
