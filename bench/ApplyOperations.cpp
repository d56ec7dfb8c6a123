#include "ApplyOperations.h"

#include "edit/CarveCommand.h"
#include "edit/CopyPaste.h"
#include "edit/CutToPolygon.h"
#include "edit/Insert.h"
#include "edit/Link.h"
#include "edit/Merge.h"
#include "edit/Nudge.h"
#include "edit/SelectionDelete.h"
#include "edit/SplitByPolygon.h"
#include "edit/SplitSector.h"
#include "edit/SplitSurface.h"
#include "edit/TextureCoordinates.h"
#include "engine/C3dView.h"
#include "engine/ColorMapList.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "engine/Questions.h"
#include "engine/Random.h"
#include "engine/RenderData.h"
#include "episode/CleanUp.h"
#include "framework/DocumentState.h"
#include "framework/Exceptions.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/CogInstances.h"
#include "level/CogSymbols.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/MaterialList.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/SectorGroupCopy.h"
#include "level/SectorLists.h"
#include "level/TemplateTree.h"
#include "tools/Column.h"
#include "tools/ConveyorBelt.h"
#include "tools/CreateDoor.h"
#include "tools/CreateElevator.h"
#include "tools/CreateLight.h"
#include "tools/CreateMenu.h"
#include "tools/Dome.h"
#include "tools/ExpandCommand.h"
#include "tools/Extrude.h"
#include "tools/ExtrudeChoices.h"
#include "tools/Footprint.h"
#include "tools/Landscape.h"
#include "tools/Layer.h"
#include "tools/Pyramid.h"
#include "tools/SectorLibrary.h"
#include "tools/SpecialSurfaces.h"
#include "tools/Stairs.h"
#include "tools/Switch.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

template <class T>
bool InRange(std::int32_t index, const std::vector<T>& list)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

bool Refuse(C3dView& view, std::string_view message)
{
    view.GetHost().ShowMessage(message);
    return false;
}

// The surface, vertex and thing indices of the selection may not fit the level after a delete.
void ClearSelection(C3dView& view)
{
    CSelection& selection = view.m_selection;
    selection.m_sector = selection.m_surface = selection.m_thing = -1;
    selection.m_vertex = selection.m_vertexSurface = -1;
}

// The surface and its adjoin pair, the adjoin first as DeleteSurface asks of its callers.
void RemoveSurface(C3dView& view, std::int32_t surface)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t adjoin = level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin;
    if (InRange(adjoin, level.m_adjoins))
        DeleteAdjoin(level, adjoin);
    DeleteSurface(level, view.GetGame(), surface);
}

// ---- The deletes of the level container ----

bool RunDeleteSurface(C3dView& view, const CApplyArgs&)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t surface = view.m_selection.m_surface;
    if (!InRange(surface, level.m_surfaces))
        return Refuse(view, "There is no current surface.");
    RemoveSurface(view, surface);
    level.LinkAdjoins();
    ClearSelection(view);
    return true;
}

bool RunDeleteAdjoin(C3dView& view, const CApplyArgs&)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t surface = view.m_selection.m_surface;
    if (!InRange(surface, level.m_surfaces))
        return Refuse(view, "There is no current surface.");
    const std::int32_t adjoin = level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin;
    if (!InRange(adjoin, level.m_adjoins))
        return Refuse(view, "The current surface has no adjoin.");
    DeleteAdjoin(level, adjoin);
    level.LinkAdjoins();
    return true;
}

// With the corners that name it: the current vertex is one of them, so keeping them would leave
// them naming the next world vertex.
bool RunRemoveVertex(C3dView& view, const CApplyArgs&)
{
    CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(selection.m_vertexSurface, level.m_surfaces) ||
        !InRange(selection.m_vertex,
                 level.m_surfaces[static_cast<std::size_t>(selection.m_vertexSurface)]->m_vertices))
        return Refuse(view, "There is no current vertex.");
    const std::int32_t worldVertex =
        level.m_surfaces[static_cast<std::size_t>(selection.m_vertexSurface)]
            ->m_vertices[static_cast<std::size_t>(selection.m_vertex)]
            .m_worldVertex;
    if (!InRange(worldVertex, level.m_worldVertices))
        return Refuse(view, "The current vertex names no world vertex.");
    RemoveVertexRefs(level, worldVertex, true);
    ClearSelection(view);
    return true;
}

bool RunDeleteMaterial(C3dView& view, const CApplyArgs& args)
{
    CQzlSections& level = view.GetLevel();
    const int material = args.Int("material");
    if (!InRange(material, level.m_materials))
        return Refuse(view, "The level has no material " + std::to_string(material) + ".");
    DeleteMaterial(level, material);
    return true;
}

bool RunDeleteThing(C3dView& view, const CApplyArgs&)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t thing = view.m_selection.m_thing;
    if (!InRange(thing, level.m_things))
        return Refuse(view, "There is no current thing.");
    DeleteThing(level, view.GetGame(), thing);
    view.m_selection.m_thing = -1;
    return true;
}

// The sector with everything it owns: its things, its surfaces with their adjoins, then the
// record; the things of later sectors move down with them.
bool RunDeleteSector(C3dView& view, const CApplyArgs&)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t sector = view.m_selection.m_sector;
    if (!InRange(sector, level.m_sectors))
        return Refuse(view, "There is no current sector.");
    for (std::size_t t = level.m_things.size(); t-- > 0;)
        if (level.m_things[t]->m_sector == sector)
            DeleteThing(level, view.GetGame(), static_cast<int>(t));
    std::vector<std::int32_t> surfaces =
        level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces;
    std::sort(surfaces.begin(), surfaces.end());
    surfaces.erase(std::unique(surfaces.begin(), surfaces.end()), surfaces.end());
    for (auto it = surfaces.rbegin(); it != surfaces.rend(); ++it)
        if (InRange(*it, level.m_surfaces))
            RemoveSurface(view, *it);
    for (const auto& thing : level.m_things)
        if (thing->m_sector > sector)
            --thing->m_sector;
    DeleteSector(level, view.GetGame(), sector);
    level.LinkAdjoins();
    ClearSelection(view);
    return true;
}

bool RunCompactMaterials(C3dView& view, const CApplyArgs&)
{
    CompactMaterials(view.GetLevel());
    return true;
}

// ---- Insert, copy and paste (edit/Insert.h, edit/CopyPaste.h) ----

// The focus point from the words x, y and z; what they leave out stays where opening the level
// put it (the camera's place).
void TakeFocusWords(C3dView& view, const CApplyArgs& args)
{
    CVector3& focus = view.m_camera.m_focusPoint;
    focus = {args.Float("x", focus.x), args.Float("y", focus.y), args.Float("z", focus.z)};
}

bool RunInsertVertex(C3dView& view, const CApplyArgs&)
{
    const CSelection& selection = view.m_selection;
    if (!InRange(selection.m_vertexSurface, view.GetLevel().m_surfaces) ||
        !InRange(selection.m_vertex,
                 view.GetLevel()
                     .m_surfaces[static_cast<std::size_t>(selection.m_vertexSurface)]
                     ->m_vertices))
        return Refuse(view, "There is no current vertex.");
    return InsertVertex(view);
}

bool RunInsertSurface(C3dView& view, const CApplyArgs&)
{
    if (!InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces) ||
        !InRange(view.m_selection.m_sector, view.GetLevel().m_sectors))
        return Refuse(view, "There is no current surface and sector.");
    return InsertOverlaySurface(view);
}

bool RunInsertThing(C3dView& view, const CApplyArgs& args)
{
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors))
        return Refuse(view, "There is no current sector.");
    TakeFocusWords(view, args);
    return InsertThing(view);
}

// Copies surface or thing from as the Copy command does, the selection kept.
void CopyFrom(C3dView& view, std::int32_t surface, std::int32_t thing)
{
    CSelection& selection = view.m_selection;
    const std::int32_t currentSurface = selection.m_surface;
    const std::int32_t currentThing = selection.m_thing;
    selection.m_surface = surface;
    selection.m_thing = thing;
    RunCopyCommand(view);
    selection.m_surface = currentSurface;
    selection.m_thing = currentThing;
}

bool RunPasteSurface(C3dView& view, const CApplyArgs& args)
{
    const CQzlSections& level = view.GetLevel();
    const int from = args.Int("from");
    if (!InRange(from, level.m_surfaces))
        return Refuse(view, "The level has no surface " + std::to_string(from) + ".");
    if (!InRange(view.m_selection.m_surface, level.m_surfaces))
        return Refuse(view, "There is no current surface.");
    CopyFrom(view, from, -1);
    return PasteSurface(view, *view.m_clipboard.m_surface);
}

bool RunPasteThing(C3dView& view, const CApplyArgs& args)
{
    const CQzlSections& level = view.GetLevel();
    const int from = args.Int("from");
    if (!InRange(from, level.m_things))
        return Refuse(view, "The level has no thing " + std::to_string(from) + ".");
    if (!InRange(view.m_selection.m_sector, level.m_sectors))
        return Refuse(view, "There is no current sector.");
    CopyFrom(view, -1, from);
    TakeFocusWords(view, args);
    return PasteThing(view, *view.m_clipboard.m_thing);
}

constexpr CApplyWord kFocusWords[] = {
    {"x", EApplyWord::Float, false},
    {"y", EApplyWord::Float, false},
    {"z", EApplyWord::Float, false},
};
constexpr CApplyWord kPasteSurfaceWords[] = {{"from", EApplyWord::Int, true}};
constexpr CApplyWord kPasteThingWords[] = {
    {"from", EApplyWord::Int, true},
    {"x", EApplyWord::Float, false},
    {"y", EApplyWord::Float, false},
    {"z", EApplyWord::Float, false},
};

// ---- Delete, link and unlink of the selection (edit/SelectionDelete.h, edit/Link.h) ----

// The Delete command without its undo step (apply takes one): asks its question, then deletes
// the first of the current vertex, surface, thing and sector.
bool RunDeleteCommandWords(C3dView& view, const CApplyArgs&)
{
    const std::optional<EDeleteTarget> target = CurrentDeleteTarget(view);
    if (!CanDelete(view) || !target)
        return Refuse(view, "There is no current sector, surface or thing.");
    return Confirm(view, DeleteQuestion(*target)) && DeleteSelected(view, *target);
}

// One of the deletes, whatever else is current.
template <EDeleteTarget Target>
bool RunDeleteSelected(C3dView& view, const CApplyArgs&)
{
    const CSelection& selection = view.m_selection;
    switch (Target) {
    case EDeleteTarget::Vertex:
        if (selection.m_vertex < 0)
            return Refuse(view, "There is no current vertex.");
        break;
    case EDeleteTarget::Surface:
        if (selection.m_surface < 0)
            return Refuse(view, "There is no current surface.");
        break;
    case EDeleteTarget::Thing:
        if (selection.m_thing < 0)
            return Refuse(view, "There is no current thing.");
        break;
    case EDeleteTarget::Sector:
        if (selection.m_sector < 0)
            return Refuse(view, "There is no current sector.");
        break;
    }
    return DeleteSelected(view, Target);
}

// The Link command without its undo step; mark-surface and mark-vertex mark the corner a current
// vertex is welded onto.
bool RunLinkCommandWords(C3dView& view, const CApplyArgs& args)
{
    if (args.Has("mark-surface") != args.Has("mark-vertex"))
        return Refuse(view, "mark-surface and mark-vertex go together.");
    if (!CanLink(view))
        return Refuse(view, "Link needs a current sector and a current vertex, or a current "
                            "surface without adjoin.");
    if (args.Has("mark-surface")) {
        CQzlSections& level = view.GetLevel();
        const int surface = args.Int("mark-surface");
        const int corner = args.Int("mark-vertex");
        if (!InRange(surface, level.m_surfaces) ||
            !InRange(corner, level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices))
            return Refuse(view, "The level has no corner " + std::to_string(corner) +
                                    " of surface " + std::to_string(surface) + ".");
        level.m_surfaces[static_cast<std::size_t>(surface)]
            ->m_vertices[static_cast<std::size_t>(corner)]
            .m_marked = 1;
    }
    if (view.m_selection.m_vertex < 0 ? LinkSurface(view) : LinkVertex(view, true))
        return true;
    return Refuse(view, view.m_selection.m_vertex < 0
                            ? "No surface of another sector faces the current surface."
                            : "No marked corner lies on another world vertex.");
}

// The Unlink command without its undo step.
bool RunUnlinkCommandWords(C3dView& view, const CApplyArgs&)
{
    if (!CanUnlink(view))
        return Refuse(view, "Unlink needs a current sector and a shared current vertex, or a "
                            "current surface with an adjoin.");
    return view.m_selection.m_vertex < 0 ? UnlinkSurface(view, true) : UnlinkVertex(view, true);
}

bool RunCopySurfaceToTwin(C3dView& view, const CApplyArgs&)
{
    return CopySurfaceToTwin(view) || Refuse(view, "The current surface has no twin.");
}

// Change Texture Coordinates with OK: the words not given keep the values the surface stores.
bool RunTextureCoordinates(C3dView& view, const CApplyArgs& args)
{
    CTextureMapping mapping;
    int corners = 0;
    if (!CurrentTextureMapping(view, mapping, corners))
        return Refuse(view, "There is no current surface.");
    mapping.m_startVertex = args.Int("start", mapping.m_startVertex);
    mapping.m_uOffset = args.Float("u-offset", mapping.m_uOffset);
    mapping.m_vOffset = args.Float("v-offset", mapping.m_vOffset);
    mapping.m_uScale = args.Float("u-scale", mapping.m_uScale);
    mapping.m_vScale = args.Float("v-scale", mapping.m_vScale);
    mapping.m_angle = args.Float("angle", mapping.m_angle);
    mapping.m_mirror = args.YesNo("mirror", mapping.m_mirror != 0) ? 1 : 0;
    if (!StoreTextureMapping(view, mapping))
        return Refuse(view, "start takes 0 to " + std::to_string(corners - 1) + ".");
    return true;
}

constexpr CApplyWord kTextureCoordinatesWords[] = {
    {"start", EApplyWord::Int, false},      {"u-offset", EApplyWord::Float, false},
    {"v-offset", EApplyWord::Float, false}, {"u-scale", EApplyWord::Float, false},
    {"v-scale", EApplyWord::Float, false},  {"angle", EApplyWord::Float, false},
    {"mirror", EApplyWord::YesNo, false},
};

// The Cut command as the 3D view runs it (with an undo step of its own inside apply's).
bool RunCutCommandWords(C3dView& view, const CApplyArgs&)
{
    if (!CanCut(view))
        return Refuse(view, "There is no current surface or thing.");
    return RunCutCommand(view);
}

constexpr CApplyWord kMarkWords[] = {{"mark-surface", EApplyWord::Int, false},
                                     {"mark-vertex", EApplyWord::Int, false}};

constexpr CApplyWord kMaterialWord[] = {{"material", EApplyWord::Int, true}};

// ---- Split Surface and Cut Surface to Polygon ----

// Split Surface as the Split command runs it, with the sectors rebuilt. grid=no splits between the
// corners of marks=I,J,... (marked first); grid=yes (the default) along the node= words.
bool RunSplitSurface(C3dView& view, const CApplyArgs& args)
{
    CQzlSections& level = view.GetLevel();
    view.GetDocument().m_gridOn = args.YesNo("grid", true) ? 1 : 0;
    const std::string marks = args.Name("marks");
    if (!marks.empty()) {
        if (!InRange(view.m_selection.m_surface, level.m_surfaces))
            return Refuse(view, "There is no current surface.");
        std::vector<CQzlVertex>& corners =
            level.m_surfaces[static_cast<std::size_t>(view.m_selection.m_surface)]->m_vertices;
        for (std::size_t at = 0; at <= marks.size();) {
            const std::size_t comma = std::min(marks.find(',', at), marks.size());
            const std::string word = marks.substr(at, comma - at);
            char* end = nullptr;
            const long corner = std::strtol(word.c_str(), &end, 10);
            if (word.empty() || *end != '\0' || corner < 0 ||
                static_cast<std::size_t>(corner) >= corners.size())
                return Refuse(view, "marks=" + marks + ": the current surface has corners 0 to " +
                                        std::to_string(corners.size() - 1) + ".");
            corners[static_cast<std::size_t>(corner)].m_marked = 1;
            at = comma + 1;
        }
    }
    return SplitSurface(view, true);
}

// The current surface cut to the polygon of the node= words, along the direction of its first
// edge, then its sector and its twin's rebuilt as the callers of the cut do.
bool RunCutSurfaceToPolygon(C3dView& view, const CApplyArgs&)
{
    const CQzlSections& level = view.GetLevel();
    const std::vector<CVector3> polygon = view.m_selection.m_pickedNodes;
    if (polygon.size() < 3)
        return Refuse(view, "A polygon needs three node= points or more.");
    CVector3 d = polygon[1] - polygon[0];
    if (VectorLength(d) > 0.0f)
        d = d / VectorLength(d);
    const std::int32_t sector = view.m_selection.m_sector;
    const std::int32_t surface = view.m_selection.m_surface;
    if (!CutSurfaceToPolygon(view, sector, surface, polygon, d))
        return false;
    const std::int32_t adjoin = level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin;
    if (InRange(adjoin, level.m_adjoins))
        RebuildSector(view, level.m_adjoins[static_cast<std::size_t>(adjoin)]->m_otherSector);
    RebuildSector(view, sector);
    return true;
}

constexpr CApplyWord kSplitWords[] = {{"grid", EApplyWord::YesNo, false},
                                      {"marks", EApplyWord::Name, false}};

// ---- Split Sector and Carve (edit/SplitSector.h, edit/CarveCommand.h) ----

// Split Sector as the Split command runs it in sector mode, by the plane of the three node= words.
bool RunSplitSector(C3dView& view, const CApplyArgs&)
{
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors))
        return Refuse(view, "There is no current sector.");
    if (view.m_selection.m_pickedNodes.size() != 3)
        return Refuse(view, "split-sector needs three node= points.");
    view.GetDocument().m_gridOn = 1;
    view.GetDocument().m_sectorMode = 1;
    return SplitSector(view, true);
}

// The Carve command with the dialog's values from words; texture=yes presses the Texture button
// (the material comes from the next pick= word).
bool RunCarve(C3dView& view, const CApplyArgs& args)
{
    view.GetDocument().m_gridOn = 1;
    view.GetDocument().m_sectorMode = args.YesNo("sector-mode") ? 1 : 0;
    CCarveChoice choice;
    choice.m_catwalk = args.YesNo("catwalk", true);
    choice.m_upDown = args.Float("up-down");
    choice.m_leftRight = args.Float("left-right");
    if (!CarveAngleInRange(choice.m_upDown) || !CarveAngleInRange(choice.m_leftRight))
        return Refuse(view, "up-down and left-right take -45 to 45.");
    if (!CanRunCarveCommand(view))
        return Refuse(view,
                      "Carve needs a current sector and three node= points or more "
                      "(sector-mode=yes), or a current surface and two node= points or more.");
    if (args.YesNo("texture") && !PickCarveMaterial(view, choice))
        return Refuse(view, "texture=yes needs a pick= word naming a material of the level.");
    return CarveWithChoice(view, choice);
}

constexpr CApplyWord kCarveWords[] = {
    {"sector-mode", EApplyWord::YesNo, false}, {"catwalk", EApplyWord::YesNo, false},
    {"up-down", EApplyWord::Float, false},     {"left-right", EApplyWord::Float, false},
    {"texture", EApplyWord::YesNo, false},
};

// ---- Nudge move and rotate ----

// The axis word; false, with the message shown, for another value.
bool ReadAxis(C3dView& view, const CApplyArgs& args, EAxis& axis)
{
    const std::string name = args.Name("axis");
    if (name == "x" || name == "y" || name == "z") {
        axis = name == "x" ? EAxis::X : (name == "y" ? EAxis::Y : EAxis::Z);
        return true;
    }
    return Refuse(view, "axis takes x, y or z, not \"" + name + "\".");
}

// The Move and Rotate commands work on the sector in Sector Mode; picking a corner marks it.
void PrepareNudge(C3dView& view, const CApplyArgs& args)
{
    if (args.YesNo("sector-mode")) {
        view.GetDocument().m_sectorMode = 1;
        view.GetDocument().m_editMode = 1;
    }
    CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (InRange(selection.m_vertexSurface, level.m_surfaces)) {
        auto& corners =
            level.m_surfaces[static_cast<std::size_t>(selection.m_vertexSurface)]->m_vertices;
        if (InRange(selection.m_vertex, corners))
            corners[static_cast<std::size_t>(selection.m_vertex)].m_marked = 1;
    }
}

float Signed(const CApplyArgs& args, float step)
{
    return args.YesNo("negative") ? -step : step;
}

// Reads the axis, prepares the selection and runs nudge on the axis.
template <class Nudge>
bool RunNudge(C3dView& view, const CApplyArgs& args, Nudge nudge)
{
    EAxis axis{};
    if (!ReadAxis(view, args, axis))
        return false;
    PrepareNudge(view, args);
    return nudge(axis);
}

bool RunMove(C3dView& view, const CApplyArgs& args)
{
    return RunNudge(view, args, [&](EAxis axis) {
        return MoveSelection(view, axis,
                             Signed(args, MoveStep(args.YesNo("shift"), args.YesNo("ctrl"))));
    });
}

bool RunRotate(C3dView& view, const CApplyArgs& args)
{
    return RunNudge(view, args, [&](EAxis axis) {
        return RotateSelection(view, axis,
                               Signed(args, RotateStep(args.YesNo("shift"), args.YesNo("ctrl"))));
    });
}

bool RunMoveVertices(C3dView& view, const CApplyArgs& args)
{
    return RunNudge(view, args,
                    [&](EAxis axis) { return MoveVertices(view, axis, args.Float("amount")); });
}

constexpr CApplyWord kNudgeWords[] = {
    {"axis", EApplyWord::Name, true},          {"negative", EApplyWord::YesNo, false},
    {"shift", EApplyWord::YesNo, false},       {"ctrl", EApplyWord::YesNo, false},
    {"sector-mode", EApplyWord::YesNo, false},
};
constexpr CApplyWord kMoveVerticesWords[] = {
    {"axis", EApplyWord::Name, true},
    {"amount", EApplyWord::Float, true},
};

// ---- Merge surfaces and sectors, Split by Polygon (edit/Merge.h, edit/SplitByPolygon.h) ----

// The merges as their commands run them on the number chosen in the dialog (with=), without the
// dialog: a partner it would not list is refused by the merge itself.
template <EMergeMode Mode>
bool RunMerge(C3dView& view, const CApplyArgs& args)
{
    if (Mode == EMergeMode::Surfaces ? !CanMergeSurfaces(view) : !CanMergeSectors(view))
        return Refuse(view, Mode == EMergeMode::Surfaces ? "There is no current sector and surface."
                                                         : "There is no current sector.");
    const int with = args.Int("with");
    const CSelection& selection = view.m_selection;
    if (Mode == EMergeMode::Surfaces ? MergeSurfaces(view, selection.m_surface, with)
                                     : MergeSectors(view, selection.m_sector, with))
        return true;
    return Refuse(view,
                  Mode == EMergeMode::Surfaces
                      ? "Surface " + std::to_string(with) +
                            " shares no edge with the current surface that it can be "
                            "merged along."
                      : "Sector " + std::to_string(with) + " is not joined to the current sector.");
}

// The Split by Polygon dialog's OK with sides=, radius= and snap=, then the command's cut: the
// centre and direction are the two node= words.
bool RunSplitByPolygonWords(C3dView& view, const CApplyArgs& args)
{
    if (!CanSplitByPolygon(view))
        return Refuse(view, "Split by Polygon needs a current surface and two node= points.");
    CSplitPolygonValues values;
    values.m_sides = args.Int("sides", values.m_sides);
    values.m_radius = args.Float("radius", values.m_radius);
    values.m_snap = args.YesNo("snap");
    if (values.m_sides < CSplitPolygonValues::kFewestSides ||
        values.m_sides > CSplitPolygonValues::kMostSides)
        return Refuse(view, "Please enter an integer between 3 and 24.");
    if (!(values.m_radius >= CSplitPolygonValues::kSmallestRadius &&
          values.m_radius <= CSplitPolygonValues::kLargestRadius))
        return Refuse(view, "Please enter a number between 0.1 and 100.");
    const std::vector<CVector3> nodes = view.m_selection.m_pickedNodes;
    const std::optional<std::vector<CVector3>> corners =
        ComputeSplitPolygon(view, nodes[0], nodes[1], values);
    if (!corners)
        return Refuse(view, kSplitPolygonSameNodes);
    if (const char* refusal = SplitPolygonRefusal(*corners))
        return Refuse(view, refusal);
    view.GetDocument().m_gridOn = 1;
    ShowSplitPolygon(view, *corners);
    return SplitByPolygon(view);
}

constexpr CApplyWord kMergeWords[] = {{"with", EApplyWord::Int, true}};
constexpr CApplyWord kSplitByPolygonWords[] = {{"sides", EApplyWord::Int, false},
                                               {"radius", EApplyWord::Float, false},
                                               {"snap", EApplyWord::YesNo, false}};

// ---- Sector group copy (level/SectorGroupCopy.h) ----

// The level of the library file named by from; false after showing why it cannot be read.
bool ReadGroupSource(C3dView& view, const CApplyArgs& args, CQzlSections& source)
{
    try {
        source = ReadLibraryFile(args.Name("from"), view.GetSettings().m_product);
    } catch (const CFileException& e) {
        return Refuse(view, e.what());
    } catch (const CArchiveException& e) {
        return Refuse(view, e.what());
    }
    return true;
}

// The sectors of group in the level file from, with what they use, appended to the open level as
// the sector library's Load copies them; the new sectors' render data are built.
bool RunCopyGroup(C3dView& view, const CApplyArgs& args)
{
    CQzlSections source;
    if (!ReadGroupSource(view, args, source))
        return false;
    CQzlSections& level = view.GetLevel();
    const std::size_t first = level.m_sectors.size();
    const CSectorGroupCopy copy =
        CopySectorGroup(level, source, args.Name("group"), view.GetGame());
    if (!copy.m_problem.empty())
        return Refuse(view, copy.m_problem);
    std::vector<int> added;
    for (std::size_t s = first; s < level.m_sectors.size(); ++s)
        added.push_back(static_cast<int>(s));
    RebuildSectors(view, added);
    return true;
}

constexpr CApplyWord kCopyGroupWords[] = {{"from", EApplyWord::Name, true},
                                          {"group", EApplyWord::Name, true}};
// ---- Extrude Surface (tools/Extrude.h) ----

// The Extrude Surface command with the values its dialog hands over, checked as the dialog checks
// them: type=new|keep|connect|hidden, shape=parallelogram|rotated, the depths, angles and indent
// within their ranges and, with a single vertex1, three different vertices.
bool RunExtrudeSurface(C3dView& view, const CApplyArgs& args)
{
    CExtrudeDialogValues values;
    const std::string type = args.Name("type", "new");
    const char* const types[] = {"new", "keep", "connect", "hidden"};
    const auto named = std::find(std::begin(types), std::end(types), type);
    if (named == std::end(types))
        return Refuse(view, "type takes new, keep, connect or hidden, not \"" + type + "\".");
    values.type = static_cast<EExtrudeType>(named - std::begin(types));
    const std::string shape = args.Name("shape", "parallelogram");
    if (shape != "parallelogram" && shape != "rotated")
        return Refuse(view, "shape takes parallelogram or rotated, not \"" + shape + "\".");
    values.shape = shape == "rotated" ? 1 : 0;
    struct CField {
        const char* key;
        CExtrudeRange range;
        float* value;
    };
    const CField fields[] = {
        {"depth", kExtrudeDepthRange, &values.depth},
        {"left-right", kExtrudeAngleRange, &values.leftRightAngle},
        {"up-down", kExtrudeAngleRange, &values.upDownAngle},
        {"indent", kExtrudeIndentRange, &values.indent},
        {"depth2", kExtrudeDepthRange, &values.depth2},
        {"depth3", kExtrudeDepthRange, &values.depth3},
    };
    for (const CField& field : fields) {
        *field.value = args.Float(field.key, *field.value);
        if (!(*field.value >= field.range.low && *field.value <= field.range.high))
            return Refuse(view, std::string(field.key) + ": " + ExtrudeRangeText(field.range));
    }
    values.firstSelection = args.Int("vertex1", -1) + 1;
    values.secondSelection = args.Int("vertex2", 0);
    values.thirdSelection = args.Int("vertex3", 0);
    const CExtrudeParams params = ExtrudeParamsFromDialog(values);
    if (!ExtrudeVerticesDiffer(params))
        return Refuse(view, kDifferentVerticesText);
    return ExtrudeSurface(view, params);
}

constexpr CApplyWord kExtrudeWords[] = {
    {"type", EApplyWord::Name, false},        {"depth", EApplyWord::Float, false},
    {"indent", EApplyWord::Float, false},     {"up-down", EApplyWord::Float, false},
    {"left-right", EApplyWord::Float, false}, {"vertex1", EApplyWord::Int, false},
    {"vertex2", EApplyWord::Int, false},      {"vertex3", EApplyWord::Int, false},
    {"depth2", EApplyWord::Float, false},     {"depth3", EApplyWord::Float, false},
    {"shape", EApplyWord::Name, false},
};

// ---- Create Door (tools/CreateDoor.h) ----

// The Door command with the Create Door dialog's values and its checks: the opening from node 0
// up towards node 1 on the current surface, front= and back= the recess depths (0: "Simple",
// else 0.01 to 10), connect=yes joins the back to the surface behind, direction= the way it
// opens.
bool RunCreateDoorWords(C3dView& view, const CApplyArgs& args)
{
    CDoorParams params;
    params.m_template = args.Name("template", "door");
    params.m_width = args.Float("width", 1.0f);
    params.m_height = args.Float("height", 2.0f);
    params.m_thickness = args.Float("thickness", 0.2f);
    if (!(params.m_width > 0.0f && params.m_height > 0.0f && params.m_thickness > 0.0f))
        return Refuse(view, "width, height and thickness must be above 0.");
    params.m_frontDepth = args.Float("front", 0.0f);
    params.m_backDepth = args.Float("back", 0.0f);
    for (const float depth : {params.m_frontDepth, params.m_backDepth}) {
        if (depth != 0.0f && !(depth >= 0.01f && depth <= 10.0f))
            return Refuse(view, "front and back take 0 or a depth from 0.01 to 10.");
    }
    params.m_connect = args.YesNo("connect") && params.m_backDepth > 0.0f;
    const std::string direction = args.Name("direction", "up");
    const char* const directions[] = {"up", "down", "left", "right"};
    const auto named = std::find(std::begin(directions), std::end(directions), direction);
    if (named == std::end(directions))
        return Refuse(view, "direction takes up, down, left or right, not \"" + direction + "\".");
    params.m_direction = static_cast<int>(named - std::begin(directions));
    const std::string_view refusal = DoorRefusal(view, params);
    if (!refusal.empty())
        return Refuse(view, refusal);
    return CreateDoor(view, params);
}

constexpr CApplyWord kCreateDoorWords[] = {
    {"template", EApplyWord::Name, false}, {"width", EApplyWord::Float, false},
    {"height", EApplyWord::Float, false},  {"thickness", EApplyWord::Float, false},
    {"front", EApplyWord::Float, false},   {"back", EApplyWord::Float, false},
    {"connect", EApplyWord::YesNo, false}, {"direction", EApplyWord::Name, false},
};

// ---- Create Elevator (tools/CreateElevator.h) ----

// The Elevator command with the Create Elevator dialog's values and its check: the footprint
// (width across, depth along node 0 to node 1) centred on node 0 of the current surface, height
// the elevator's own, shaft= 0.1 to 100, sub-shaft= 0 (none) to 100, direction= up or down,
// connect=yes joins the shaft to the surface facing its end.
bool RunCreateElevatorWords(C3dView& view, const CApplyArgs& args)
{
    CElevatorParams params;
    params.m_template = args.Name("template", "elevator");
    params.m_width = args.Float("width", 1.0f);
    params.m_height = args.Float("height", 0.5f);
    params.m_depth = args.Float("depth", 1.0f);
    if (!(params.m_width > 0.0f && params.m_height > 0.0f && params.m_depth > 0.0f))
        return Refuse(view, "width, height and depth must be above 0.");
    params.m_shaftHeight = args.Float("shaft", 1.0f);
    if (!(params.m_shaftHeight >= 0.1f && params.m_shaftHeight <= 100.0f))
        return Refuse(view, "shaft takes a height from 0.1 to 100.");
    params.m_subShaftHeight = args.Float("sub-shaft", 0.0f);
    if (!(params.m_subShaftHeight >= 0.0f && params.m_subShaftHeight <= 100.0f))
        return Refuse(view, "sub-shaft takes a height from 0 to 100.");
    params.m_connect = args.YesNo("connect");
    const std::string direction = args.Name("direction", "up");
    if (direction != "up" && direction != "down")
        return Refuse(view, "direction takes up or down, not \"" + direction + "\".");
    params.m_up = direction == "up";
    const std::string_view refusal = ElevatorRefusal(view, params);
    if (!refusal.empty())
        return Refuse(view, refusal);
    return CreateElevator(view, params);
}

constexpr CApplyWord kCreateElevatorWords[] = {
    {"template", EApplyWord::Name, false}, {"width", EApplyWord::Float, false},
    {"height", EApplyWord::Float, false},  {"depth", EApplyWord::Float, false},
    {"shaft", EApplyWord::Float, false},   {"sub-shaft", EApplyWord::Float, false},
    {"connect", EApplyWord::YesNo, false}, {"direction", EApplyWord::Name, false},
};

// ---- Expand Surface ----

// The Expand Surface command with the dialog's values: its start values for the current
// surface, each word given replacing one; height, width and sides go to the shape chosen.
bool RunExpandSurfaceWords(C3dView& view, const CApplyArgs& args)
{
    if (!InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces))
        return Refuse(view, "There is no current surface.");
    CExpandBox box;
    if (!PrepareExpandSurface(view, box))
        return false;
    CExpandValues values = ExpandDefaults(box);
    const std::string shape = args.Name("shape", "rectangular");
    if (shape == "cylindrical")
        values.m_shape = EExpandShape::Cylindrical;
    else if (shape == "circular")
        values.m_shape = EExpandShape::Circular;
    else if (shape != "rectangular")
        return Refuse(view,
                      "shape takes rectangular, cylindrical or circular, not \"" + shape + "\".");
    const bool prism = values.m_shape == EExpandShape::Cylindrical;
    const struct {
        const char* key;
        EExpandField field;
    } words[] = {
        {"left", EExpandField::Left},
        {"right", EExpandField::Right},
        {"top", EExpandField::Top},
        {"bottom", EExpandField::Bottom},
        {"depth", EExpandField::Depth},
        {"height", prism ? EExpandField::CylinderHeight : EExpandField::CircleHeight},
        {"width", prism ? EExpandField::CylinderWidth : EExpandField::CircleWidth},
        {"sides", prism ? EExpandField::CylinderSides : EExpandField::CircleSides},
    };
    for (const auto& word : words)
        if (args.Has(word.key))
            SetExpandFieldValue(values, word.field,
                                ExpandFieldIsWhole(word.field) ? args.Int(word.key)
                                                               : args.Float(word.key));
    return ExpandSurface(view, values);
}

constexpr CApplyWord kExpandWords[] = {
    {"shape", EApplyWord::Name, false},   {"depth", EApplyWord::Float, false},
    {"left", EApplyWord::Float, false},   {"right", EApplyWord::Float, false},
    {"top", EApplyWord::Float, false},    {"bottom", EApplyWord::Float, false},
    {"height", EApplyWord::Float, false}, {"width", EApplyWord::Float, false},
    {"sides", EApplyWord::Int, false},
};

// ---- Columns and pyramids ----

// The words the Create Rectangle and Create Cylinder/Pyramid dialogs share: the height, the two
// lean angles and the snap; the look is the current surface's.
template <class TValues>
void ReadRaisedShapeWords(const C3dView& view, const CApplyArgs& args, TValues& values)
{
    values.m_height = args.Float("height", values.m_height);
    values.m_upDown = args.Float("up-down");
    values.m_leftRight = args.Float("left-right");
    values.m_snap = args.YesNo("snap");
    values.m_look = CurrentSurfaceLook(view);
}

// The Create Rectangle command with the dialog's values from words: the footprint of the nodes
// (two: the rectangle of width and depth centred on node 0, depth towards node 1) on the current
// surface, its checks, then the column.
bool RunCreateColumn(C3dView& view, const CApplyArgs& args)
{
    const std::vector<CVector3> nodes = view.m_selection.m_pickedNodes;
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors) ||
        !InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces) || nodes.size() < 2)
        return Refuse(view, "create-column needs a current sector and surface and two node= "
                            "points or more.");
    CRectangleValues values;
    values.m_width = args.Float("width", values.m_width);
    values.m_depth = args.Float("depth", values.m_depth);
    ReadRaisedShapeWords(view, args, values);
    const CRaisedShape shape = LayOutRectangle(view, values, nodes[0], nodes[1]);
    if (const auto problem = FootprintProblem(view, 4, kRectangleOutside))
        return Refuse(view, *problem);
    return CreateColumn(view, shape);
}

constexpr CApplyWord kCreateColumnWords[] = {
    {"width", EApplyWord::Float, false},      {"depth", EApplyWord::Float, false},
    {"height", EApplyWord::Float, false},     {"up-down", EApplyWord::Float, false},
    {"left-right", EApplyWord::Float, false}, {"snap", EApplyWord::YesNo, false},
};

// The Create Cylinder dialog's outline from words: the regular polygon of sides= and radius=
// around node 0, turned towards node 1, or, with no node picked, the current surface's own
// corners; laid on the current surface. False with the refusal shown when sides= is out of range
// or too few corners are left on the surface: a base is a polygon, fewer than three make none.
bool LayOutCylinderWords(C3dView& view, const CApplyArgs& args, std::string_view command,
                         CRaisedShape& shape)
{
    CCylinderValues values;
    values.m_sides = args.Int("sides", values.m_sides);
    values.m_radius = args.Float("radius", values.m_radius);
    ReadRaisedShapeWords(view, args, values);
    if (values.m_sides < kCylinderFewestSides || values.m_sides > kCylinderMostSides)
        return Refuse(view, std::string(command) + " takes 3 to 24 sides.");
    TakeSurfaceOutline(view, values);
    const std::vector<CVector3> nodes = view.m_selection.m_pickedNodes;
    if (nodes.size() < 2)
        return Refuse(view, kCylinderOutside);
    shape = LayOutCylinder(view, values, nodes[0], nodes[1]);
    if (const auto problem = FootprintProblem(view, 3, kCylinderOutside))
        return Refuse(view, *problem);
    return true;
}

// The Create Cylinder command: the column on the dialog's outline.
bool RunCreateCylinder(C3dView& view, const CApplyArgs& args)
{
    const std::size_t nodes = view.m_selection.m_pickedNodes.size();
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors) ||
        !InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces) || nodes == 1)
        return Refuse(view, "create-cylinder needs a current sector and surface and no node= "
                            "point or two or more.");
    CRaisedShape shape;
    return LayOutCylinderWords(view, args, "create-cylinder", shape) && CreateColumn(view, shape);
}

// The Create Pyramid command: the Create Cylinder dialog's outline in its pyramid mode, then the
// pyramid on it.
bool RunCreatePyramid(C3dView& view, const CApplyArgs& args)
{
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors) ||
        !InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces) ||
        view.m_selection.m_pickedNodes.size() != 2)
        return Refuse(view, "create-pyramid needs a current sector and surface and two node= "
                            "points.");
    CRaisedShape shape;
    return LayOutCylinderWords(view, args, "create-pyramid", shape) && CreatePyramid(view, shape);
}

// The words of Create Cylinder and Create Pyramid, which share their dialog.
constexpr CApplyWord kRegularBaseWords[] = {
    {"sides", EApplyWord::Int, false},        {"radius", EApplyWord::Float, false},
    {"height", EApplyWord::Float, false},     {"up-down", EApplyWord::Float, false},
    {"left-right", EApplyWord::Float, false}, {"snap", EApplyWord::YesNo, false},
};

// ---- Sector library (tools/SectorLibrary.h) ----

bool RunRenameGroup(C3dView& view, const CApplyArgs& args)
{
    if (!RenameSectorGroup(view, args.Name("old"), args.Name("new")))
        return Refuse(view, "No sector is in the group \"" + args.Name("old") + "\".");
    return true;
}

bool RunDeleteGroup(C3dView& view, const CApplyArgs& args)
{
    if (DeleteSectorGroup(view, args.Name("group"), true) == 0)
        return Refuse(view,
                      "No sector of the group \"" + args.Name("group") + "\" can be deleted.");
    return true;
}

// The sector library's Load: the level's group of that name is replaced by the file's.
bool RunLoadGroup(C3dView& view, const CApplyArgs& args)
{
    CQzlSections source;
    if (!ReadGroupSource(view, args, source))
        return false;
    return LoadSectorGroup(view, args.Name("group"), source);
}

constexpr CApplyWord kRenameGroupWords[] = {{"old", EApplyWord::Name, true},
                                            {"new", EApplyWord::Name, true}};
constexpr CApplyWord kGroupWord[] = {{"group", EApplyWord::Name, true}};

// ---- Create Stairs (tools/Stairs.h) ----

// The Stairs command with the Create Stairs dialog's values and ranges, on the current surface
// and the two picked nodes (node 0 towards node 1 is up).
bool RunCreateStairsWords(C3dView& view, const CApplyArgs& args)
{
    if (!InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces) ||
        view.m_selection.m_pickedNodes.size() != 2)
        return Refuse(view, "create-stairs needs a current surface and two node= points.");
    CStairsParams params;
    params.m_count = args.Int("count", params.m_count);
    params.m_totalHeight = args.Float("height", params.m_totalHeight);
    params.m_totalDepth = args.Float("depth", params.m_totalDepth);
    const std::string direction = args.Name("direction", "up");
    if (direction != "up" && direction != "down")
        return Refuse(view, "direction takes up or down, not \"" + direction + "\".");
    params.m_up = direction == "up";
    if (params.m_count < kStairsFewest || params.m_count > kStairsMost)
        return Refuse(view, "Please enter an integer between 1 and 100.");
    for (const float size : {params.m_totalHeight, params.m_totalDepth})
        if (!(size >= kStairsSmallestSize && size <= kStairsLargestSize))
            return Refuse(view, "Please enter a number between 0.1 and 100.");
    return CreateStairs(view, params.m_count, params.m_totalHeight, params.m_totalDepth,
                        params.m_up);
}

constexpr CApplyWord kCreateStairsWords[] = {
    {"count", EApplyWord::Int, false},
    {"height", EApplyWord::Float, false},
    {"depth", EApplyWord::Float, false},
    {"direction", EApplyWord::Name, false},
};
// ---- Create Layer and Create Dome (tools/Layer.h, tools/Dome.h) ----

// The look the Create Layer and Create Dome dialogs start from: the current surface's, or
// material= (an index of the level's materials, -1 for none). False with the refusal shown
// without a current sector and surface or for a material the level does not have.
bool ReadBuilderLook(C3dView& view, const CApplyArgs& args, std::string_view command,
                     CCarveLook& look)
{
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(selection.m_sector, level.m_sectors) ||
        !InRange(selection.m_surface, level.m_surfaces))
        return Refuse(view, std::string(command) + " needs a current sector and surface.");
    const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(selection.m_surface)];
    look = {surface.m_material, surface.m_textureWidth, surface.m_textureHeight, surface.m_xTile,
            surface.m_yTile};
    look.m_material = args.Int("material", look.m_material);
    if (look.m_material != -1 && !InRange(look.m_material, level.m_materials))
        return Refuse(view, "The level has no material " + std::to_string(look.m_material) + ".");
    return true;
}

bool RunCreateLayer(C3dView& view, const CApplyArgs& args)
{
    CLayerParams params;
    if (!ReadBuilderLook(view, args, "create-layer", params.m_look))
        return false;
    params.m_height = args.Float("height", params.m_height);
    params.m_indent = args.Float("indent", params.m_indent);
    return CreateLayer(view, params);
}

bool RunCreateDome(C3dView& view, const CApplyArgs& args)
{
    CDomeParams params;
    if (!ReadBuilderLook(view, args, "create-dome", params.m_look))
        return false;
    params.m_depth = args.Float("depth", params.m_depth);
    params.m_splits = args.Int("splits", params.m_splits);
    params.m_outside = args.YesNo("outside", params.m_outside);
    params.m_curveAroundUp = args.YesNo("curve-up", params.m_curveAroundUp);
    params.m_curveAroundPlane = args.YesNo("curve-plane", params.m_curveAroundPlane);
    if (params.m_splits < 1)
        return Refuse(view, "create-dome takes 1 or more splits.");
    return CreateDome(view, params);
}

constexpr CApplyWord kCreateLayerWords[] = {{"height", EApplyWord::Float, false},
                                            {"indent", EApplyWord::Float, false},
                                            {"material", EApplyWord::Int, false}};
constexpr CApplyWord kCreateDomeWords[] = {
    {"depth", EApplyWord::Float, false},       {"splits", EApplyWord::Int, false},
    {"outside", EApplyWord::YesNo, false},     {"curve-up", EApplyWord::YesNo, false},
    {"curve-plane", EApplyWord::YesNo, false}, {"material", EApplyWord::Int, false}};
// ---- Create Landscape (tools/Landscape.h) ----

// The Create Landscape command with the dialog's values checked as the dialog checks them, on the
// current surface from node 0 towards node 1; the generator seeded with seed= (else the clock).
bool RunCreateLandscapeWords(C3dView& view, const CApplyArgs& args)
{
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors) ||
        !InRange(view.m_selection.m_surface, view.GetLevel().m_surfaces) ||
        view.m_selection.m_pickedNodes.size() != 2)
        return Refuse(view, "create-landscape needs a current sector and surface and two node= "
                            "points.");
    CLandscapeParams params = LandscapeDefaults(view);
    params.m_splits = args.Int("splits", params.m_splits);
    params.m_maxDepth = args.Float("max", params.m_maxDepth);
    params.m_minDepth = args.Float("min", params.m_minDepth);
    if (params.m_splits < kLandscapeFewestSplits || params.m_splits > kLandscapeMostSplits)
        return Refuse(view, "create-landscape takes 1 to 4 splits.");
    if (!(params.m_maxDepth >= kLandscapeMaxDepthLow &&
          params.m_maxDepth <= kLandscapeMaxDepthHigh))
        return Refuse(view, "create-landscape takes a max from 0 to 100.");
    if (!(params.m_minDepth >= kLandscapeMinDepthLow &&
          params.m_minDepth <= kLandscapeMinDepthHigh))
        return Refuse(view, "create-landscape takes a min from -100 to 0.");
    view.GetRandom().Seed(args.Has("seed") ? static_cast<std::uint32_t>(args.Int("seed", 0))
                                           : static_cast<std::uint32_t>(std::time(nullptr)));
    return CreateLandscape(view, params);
}

constexpr CApplyWord kCreateLandscapeWords[] = {
    {"splits", EApplyWord::Int, false},
    {"min", EApplyWord::Float, false},
    {"max", EApplyWord::Float, false},
    {"seed", EApplyWord::Int, false},
};

// A one-click builder of the Create menu, run as its command runs: refused unless the command is
// offered (refusal names what it needs), then its question (answer=), then the builder.
template <int Id, bool (*Build)(C3dView&)>
bool RunConfirmedBuilder(C3dView& view, const CApplyArgs&)
{
    const CCreateCommand& command = *FindCreateCommand(Id);
    if (!CreateRuleHolds(command.m_rule, &view, view.GetDocument()))
        return Refuse(view, command.m_rule == ECreateRule::AdjoinedSurface
                                ? "The command needs a current surface with an adjoin."
                                : "The command needs a current surface and two node= points.");
    return Confirm(view, command.m_question) && Build(view);
}

// ---- Create Switch (tools/Switch.h) ----

// The Switch command with the Create Switch dialog's values and its checks: switch= the switch
// material (its texture size from the game, game=FOLDER, or the level's own files, as the dialog
// takes it), siding= the recess walls' material ("00red.mat"), depth= 0 to 0.1 (0.01), width= and
// height= 0.01 to 1 (0.08), from node 0 of the current surface towards node 1.
bool RunCreateSwitchWords(C3dView& view, const CApplyArgs& args)
{
    CSwitchParams params;
    params.m_switchMaterial = args.Name("switch");
    params.m_sidingMaterial = args.Name("siding", params.m_sidingMaterial);
    params.m_depth = args.Float("depth", params.m_depth);
    params.m_width = args.Float("width", params.m_width);
    params.m_height = args.Float("height", params.m_height);
    if (!(params.m_depth >= kSwitchDepthRange.low && params.m_depth <= kSwitchDepthRange.high))
        return Refuse(view, "depth: " + ExtrudeRangeText(kSwitchDepthRange));
    for (const float size : {params.m_width, params.m_height}) {
        if (!(size >= kSwitchSizeRange.low && size <= kSwitchSizeRange.high))
            return Refuse(view, "width and height: " + ExtrudeRangeText(kSwitchSizeRange));
    }
    if (params.m_sidingMaterial.empty())
        return Refuse(view, "siding takes a material name.");
    if (!params.m_switchMaterial.empty()) {
        if (const std::optional<CTextureSize> size =
                SwitchTextureSize(view, params.m_switchMaterial)) {
            params.m_textureWidth = size->m_width;
            params.m_textureHeight = size->m_height;
        }
    }
    return CreateSwitch(view, params);
}

constexpr CApplyWord kCreateSwitchWords[] = {
    {"switch", EApplyWord::Name, true},   {"siding", EApplyWord::Name, false},
    {"depth", EApplyWord::Float, false},  {"width", EApplyWord::Float, false},
    {"height", EApplyWord::Float, false},
};
// ---- Create Light ----

// A colour word 0xBBGGRR (one to six hex digits) into color; false when it is none.
bool ReadLightColor(const std::string& text, std::uint32_t& color)
{
    const bool hex = text.size() > 2 && text.size() <= 8 && text[0] == '0' &&
                     (text[1] == 'x' || text[1] == 'X') &&
                     std::all_of(text.begin() + 2, text.end(), [](char c) {
                         return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                     });
    if (!hex)
        return false;
    color = static_cast<std::uint32_t>(std::strtoul(text.c_str() + 2, nullptr, 16));
    return true;
}

// The Create Light dialog's Apply with its values; distance mode as the dialog checks it. Picking
// a surface makes it the surface of the current vertex, which the light reads: so does surface=.
bool RunCreateLight(C3dView& view, const CApplyArgs& args)
{
    CLightParams params;
    if (!ReadLightColor(args.Name("start", "0x000000"), params.m_startColor) ||
        !ReadLightColor(args.Name("end", "0xFFFFFF"), params.m_endColor))
        return Refuse(view, "create-light takes its colours as 0xBBGGRR.");
    params.m_distance = args.Float("distance", 0.5f);
    params.m_distanceDependent = args.YesNo("distance-dependent");
    if (!LightDistanceInRange(params.m_distance))
        return Refuse(view, LightDistanceRangeText());
    if (!InRange(view.m_selection.m_sector, view.GetLevel().m_sectors))
        return Refuse(view, "create-light needs a current sector.");
    CSelection& selection = view.m_selection;
    if (selection.m_vertexSurface < 0)
        selection.m_vertexSurface = selection.m_surface;
    return ApplyLight(view, params);
}

constexpr CApplyWord kCreateLightWords[] = {{"start", EApplyWord::Name, false},
                                            {"end", EApplyWord::Name, false},
                                            {"distance", EApplyWord::Float, false},
                                            {"distance-dependent", EApplyWord::YesNo, false}};

// ---- Materials (level/MaterialList.h) ----

// The add mode of the material picker: the material name= joins the level (upper case, tiling
// 1 x 1), or the level's record of that name is kept when it has one.
bool RunAddMaterial(C3dView& view, const CApplyArgs& args)
{
    const std::string name = args.Name("name");
    if (name.empty())
        return Refuse(view, "add-material takes a material name.");
    bool appended = false;
    AddLevelMaterial(view.GetLevel(), name, appended);
    return true;
}

constexpr CApplyWord kAddMaterialWords[] = {{"name", EApplyWord::Name, true}};

// ---- Templates ----

// The Template dialog's Add: the product's template name= with everything it refers to.
bool RunAddTemplate(C3dView& view, const CApplyArgs& args)
{
    if (!AddLevelTemplate(view.GetLevel(), view.GetGame().m_templates, args.Name("name")))
        return Refuse(view, "add-template names no template of the template list.");
    return true;
}

// The Template dialog's Delete: the level's template name= (exact, else ignoring case) with the
// bases only it still derived from.
bool RunDeleteTemplate(C3dView& view, const CApplyArgs& args)
{
    const std::string name = args.Name("name");
    const auto& templates = view.GetLevel().m_templates;
    const int index = FindChosenTemplate(templates, name);
    if (index < 0)
        return Refuse(view, "delete-template names no template of the level.");
    const CTemplateDeletion deletion = DeleteLevelTemplate(view.GetLevel(), index);
    if (deletion.m_removed.empty())
        return Refuse(view, kTemplateUsedInLevel);
    return true;
}

constexpr CApplyWord kTemplateNameWords[] = {{"name", EApplyWord::Name, true}};

// ---- Cogs in Level (level/CogInstances.h): the window's Add, Delete and value entry, each
// followed by its Apply ----

bool RunAddCog(C3dView& view, const CApplyArgs& args)
{
    const std::string script = args.Name("script");
    if (script.empty())
        return Refuse(view, "add-cog needs the name of a cog script.");
    CQzlSections& level = view.GetLevel();
    CCogWorkList list = LoadCogWorkList(level);
    AddCogToWorkList(list, level, ToUpperAscii(script));
    ApplyCogWorkList(level, view.GetGame(), list);
    return true;
}

// The cog of the word index=, as its entry in the working list; false, with the refusal shown,
// when the level has none there.
bool ReadCogIndex(C3dView& view, const CApplyArgs& args, int& index, int& entry)
{
    index = args.Int("index");
    entry = CogWorkEntryOfLevelCog(view.GetLevel(), index);
    if (entry >= 0)
        return true;
    return Refuse(view, "The level has no cog " + std::to_string(index) + ".");
}

bool RunDeleteCog(C3dView& view, const CApplyArgs& args)
{
    CQzlSections& level = view.GetLevel();
    int index = -1;
    int entry = -1;
    if (!ReadCogIndex(view, args, index, entry))
        return false;
    CCogWorkList list = LoadCogWorkList(level);
    DeleteCogFromWorkList(list, entry);
    ApplyCogWorkList(level, view.GetGame(), list);
    return true;
}

bool RunSetCogValue(C3dView& view, const CApplyArgs& args)
{
    CQzlSections& level = view.GetLevel();
    int index = -1;
    int entry = -1;
    if (!ReadCogIndex(view, args, index, entry))
        return false;
    CCogWorkList list = LoadCogWorkList(level);
    CQzlCog& cog = list.m_cogs[static_cast<std::size_t>(entry)];
    std::vector<std::string> labels;
    std::vector<std::string> defaults;
    std::vector<std::string> types;
    GetCogSymbols(level, view.GetGame(), cog, labels, defaults, types);
    const int symbol = args.Int("symbol");
    if (symbol < 0 || static_cast<std::size_t>(symbol) >= labels.size())
        return Refuse(view, "The script of cog " + std::to_string(index) + " has no symbol " +
                                std::to_string(symbol) + ".");
    SetCogValue(cog, defaults, symbol, args.Name("value"));
    ApplyCogWorkList(level, view.GetGame(), list);
    return true;
}

constexpr CApplyWord kAddCogWords[] = {{"script", EApplyWord::Name, true}};
constexpr CApplyWord kDeleteCogWords[] = {{"index", EApplyWord::Int, true}};
constexpr CApplyWord kSetCogValueWords[] = {{"index", EApplyWord::Int, true},
                                            {"symbol", EApplyWord::Int, true},
                                            {"value", EApplyWord::Name, true}};

// ---- Colour maps (engine/ColorMapList.h) ----

// Select Color Map's Apply: name= becomes the level's only colour map, every sector on it.
bool RunSelectColorMap(C3dView& view, const CApplyArgs& args)
{
    const std::string name = args.Name("name");
    if (name.empty())
        return Refuse(view, "select-color-map takes a colour-map name.");
    return SelectColorMap(view, name);
}

constexpr CApplyWord kSelectColorMapWords[] = {{"name", EApplyWord::Name, true}};

// The Color Map dialog's palette edit: entry index= (0 to 255) of the level's own colour map
// colormap= takes the colour r=, g=, b= (0 to 255 each).
bool RunEditPalette(C3dView& view, const CApplyArgs& args)
{
    const int index = args.Int("index", -1);
    const int red = args.Int("r", -1);
    const int green = args.Int("g", -1);
    const int blue = args.Int("b", -1);
    const auto isByte = [](int value) { return value >= 0 && value <= 255; };
    if (!isByte(index) || !isByte(red) || !isByte(green) || !isByte(blue))
        return Refuse(view, "edit-palette takes index=, r=, g= and b= from 0 to 255.");
    if (!EditColorMapPalette(&view.GetGame(), view.GetLevel(), args.Name("colormap"), index,
                             static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                             static_cast<std::uint8_t>(blue)))
        return Refuse(view, "edit-palette needs a colour map of the level's own files that holds "
                            "a whole palette and is not one of the game's.");
    view.GetHost().SetModifiedFlag(true);
    return true;
}

constexpr CApplyWord kEditPaletteWords[] = {
    {"colormap", EApplyWord::Name, true}, {"index", EApplyWord::Int, true},
    {"r", EApplyWord::Int, true},         {"g", EApplyWord::Int, true},
    {"b", EApplyWord::Int, true},
};

// ---- The level lists of the Color Map, Sounds and Materials dialogs' OK (engine/ColorMapList.h,
// level/SectorLists.h, level/MaterialList.h) ----

// The names of names=A,B,... in order; none for an empty value. False for an empty name.
bool ReadNameList(const std::string& text, std::vector<std::string>& names)
{
    names.clear();
    if (text.empty())
        return true;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        if (comma == at)
            return false;
        names.push_back(text.substr(at, comma - at));
        at = comma + 1;
    }
    return true;
}

// The list of a dialog's OK becomes names= through set; refused with refusal when set changes
// nothing.
bool RunSetNameList(C3dView& view, const CApplyArgs& args, std::string_view operation,
                    bool (*set)(CQzlSections&, std::span<const std::string>),
                    std::string_view refusal)
{
    std::vector<std::string> names;
    if (!ReadNameList(args.Name("names"), names))
        return Refuse(view, std::string(operation) + " takes names=A,B,... without an empty name.");
    if (!set(view.GetLevel(), names))
        return Refuse(view, refusal);
    return true;
}

// The Color Map dialog's OK: the colour-map list becomes names=, every sector keeping its map.
bool RunSetColorMaps(C3dView& view, const CApplyArgs& args)
{
    return RunSetNameList(view, args, "set-color-maps", SetColorMapList,
                          "set-color-maps changes nothing, or leaves out a colour map that a "
                          "sector uses.");
}

// The Sounds dialog's OK: the sound list becomes names=, every sector keeping its sound, or none
// when its sound is gone.
bool RunSetSounds(C3dView& view, const CApplyArgs& args)
{
    return RunSetNameList(view, args, "set-sounds", SetSoundList, "set-sounds changes nothing.");
}

// The Materials dialog's OK in level mode: material= takes the tiling x=, y= (1 to 100 each).
bool RunSetMaterialTiles(C3dView& view, const CApplyArgs& args)
{
    const int material = args.Int("material");
    if (!InRange(material, view.GetLevel().m_materials))
        return Refuse(view, "The level has no material " + std::to_string(material) + ".");
    const float tileX = args.Float("x");
    const float tileY = args.Float("y");
    const auto inRange = [](float tile) { return tile >= 1.0f && tile <= 100.0f; };
    if (!inRange(tileX) || !inRange(tileY))
        return Refuse(view, "Please enter a number between 1 and 100.");
    if (!SetMaterialTiles(view.GetLevel(), material, tileX, tileY))
        return Refuse(view, "set-material-tiles changes nothing.");
    return true;
}

// Clean Up: the Errors window's repairs of the whole level.
bool RunCleanUp(C3dView& view, const CApplyArgs&)
{
    if (!CleanUpLevel(view))
        return Refuse(view, "clean-up changes nothing.");
    return true;
}

constexpr CApplyWord kNameListWords[] = {{"names", EApplyWord::Name, true}};
constexpr CApplyWord kMaterialTilesWords[] = {{"material", EApplyWord::Int, true},
                                              {"x", EApplyWord::Float, true},
                                              {"y", EApplyWord::Float, true}};

// clang-format off
constexpr CApplyOperation kOperations[] = {
    {"delete-surface", {}, "removes the current surface with its adjoin pair", RunDeleteSurface},
    {"delete-adjoin", {}, "removes the adjoin pair of the current surface", RunDeleteAdjoin},
    {"remove-vertex", {},
     "removes the world vertex of the current vertex with every corner that uses it",
     RunRemoveVertex},
    {"delete-material", kMaterialWord,
     "removes a material; its surfaces take the default material", RunDeleteMaterial},
    {"delete-thing", {}, "removes the current thing", RunDeleteThing},
    {"delete-sector", {}, "removes the current sector with its things, surfaces and adjoins",
     RunDeleteSector},
    {"compact-materials", {}, "keeps the materials the surfaces use, in order of first use",
     RunCompactMaterials},
    // Split Surface and Cut Surface to Polygon.
    {"split-surface", kSplitWords,
     "splits the current surface (and its twin) along node 0 to node 1, or cuts it to the "
     "polygon of 3 or more nodes; grid=no: between the corners of marks=I,J",
     RunSplitSurface},
    {"cut-surface-to-polygon", {},
     "cuts the current surface (and its twin) to the polygon of the nodes and rebuilds",
     RunCutSurfaceToPolygon},
    // Split Sector and Carve.
    {"split-sector", {},
     "splits the current sector by the plane of its three nodes; the part on the negative side "
     "becomes a new sector",
     RunSplitSector},
    {"carve", kCarveWords,
     "the Carve command: cuts a prism along the nodes' outline out of the current sector "
     "(sector-mode=yes) or along the current surface (two nodes: its outline), leaning by "
     "up-down= and left-right= degrees; catwalk=no keeps the prism as a sector",
     RunCarve},
    // Nudge move and rotate.
    {"move", kNudgeWords,
     "the Move command: moves the sector (sector-mode=yes), the marked corners (vertex=), the "
     "surface or the thing by 0.05 along the axis, 0.1 with shift=yes, 0.01 with ctrl=yes",
     RunMove},
    {"rotate", kNudgeWords,
     "the Rotate command: turns a surface without shared corners, the thing or the sector "
     "(sector-mode=yes) by 6 degrees around the axis, 45 with shift=yes, 1 with ctrl=yes",
     RunRotate},
    {"move-vertices", kMoveVerticesWords,
     "moves the marked corners (vertex=) by the amount along the axis, as the Vertex view does",
     RunMoveVertices},
    // Insert, copy and paste.
    {"insert-vertex", {}, "a corner after the current vertex, halfway to the next corner",
     RunInsertVertex},
    {"insert-surface", {},
     "an overlay 0.1 off the current surface in the current sector (a material picked)",
     RunInsertSurface},
    {"insert-thing", kFocusWords,
     "a thing of a picked template in the current sector at the focus point x, y, z",
     RunInsertThing},
    {"paste-surface", kPasteSurfaceWords,
     "copies surface from, then gives the current surface its look", RunPasteSurface},
    {"paste-thing", kPasteThingWords,
     "copies thing from, then adds it to the current sector at the focus point snapped",
     RunPasteThing},
    // Delete, link and unlink of the selection.
    {"delete", {},
     "the Delete command: asks its question, then deletes the current vertex, else surface, else "
     "thing, else sector",
     RunDeleteCommandWords},
    {"delete-selected-vertex", {},
     "removes the current vertex from every surface that uses its world vertex",
     RunDeleteSelected<EDeleteTarget::Vertex>},
    {"delete-selected-surface", {}, "unlinks and removes the current surface",
     RunDeleteSelected<EDeleteTarget::Surface>},
    {"delete-selected-thing", {}, "removes the current thing",
     RunDeleteSelected<EDeleteTarget::Thing>},
    {"delete-selected-sector", {},
     "removes the current sector with its surfaces and things, unlinking its neighbours",
     RunDeleteSelected<EDeleteTarget::Sector>},
    {"link", kMarkWords,
     "the Link command: links the current surface to its twin, or welds the current vertex onto "
     "the marked corner",
     RunLinkCommandWords},
    {"unlink", {},
     "the Unlink command: unlinks the current surface, or gives the current vertex its own world "
     "vertex",
     RunUnlinkCommandWords},
    {"copy-to-twin", {}, "copies the current surface's look to the surface across its adjoin",
     RunCopySurfaceToTwin},
    {"texture-coordinates", kTextureCoordinatesWords,
     "the Change Texture Coordinates command with OK: the current surface stores the words given "
     "(the others keep its values) and its texture is laid from corner start=",
     RunTextureCoordinates},
    // Merge surfaces and sectors, Split by Polygon.
    {"merge-surfaces", kMergeWords,
     "merges the current surface with surface with= of its sector along the edge they share",
     RunMerge<EMergeMode::Surfaces>},
    {"merge-sectors", kMergeWords,
     "merges the current sector with sector with= that it adjoins; the portals between them go",
     RunMerge<EMergeMode::Sectors>},
    {"split-by-polygon", kSplitByPolygonWords,
     "cuts a regular polygon of sides= (4) and radius= (0.1) into the current surface, centred on "
     "the first node, its first side towards the second; snap=yes snaps its corners to the grid",
     RunSplitByPolygonWords},
    // Sector group copy.
    {"copy-group", kCopyGroupWords,
     "copies the sectors of a group (letter case ignored) of the level file from, with their "
     "surfaces, things, adjoins and cogs, into the level",
     RunCopyGroup},
    // The Cut command of the 3D view.
    {"cut", {},
     "the Cut command: copies the current thing, else surface, asks its question, then deletes "
     "what it copied",
     RunCutCommandWords},
    // Extrude Surface
    {"extrude-surface", kExtrudeWords,
     "the Extrude Surface command: the volume swept out of the current surface",
     RunExtrudeSurface},
    // Expand Surface.
    {"expand-surface", kExpandWords,
     "the Expand Surface command: a box (shape=rectangular, depth and margins), a prism "
     "(cylindrical) or a globe (circular; height, width, sides) grown out of the current surface, "
     "up from node 0 to node 1; words not given take the dialog's start values",
     RunExpandSurfaceWords},
    // Create Door.
    {"create-door", kCreateDoorWords,
     "the Door command: a door opening cut into the current surface from node 0 up towards node "
     "1, the door sector with its slot, the recesses, the door thing and its cog",
     RunCreateDoorWords},
    // Create Elevator.
    {"create-elevator", kCreateElevatorWords,
     "the Elevator command: the footprint carved into the current surface round node 0, the "
     "shaft up or down (joined to the surface facing it), the sub-shaft, the elevator thing and "
     "its switch cogs",
     RunCreateElevatorWords},
    // Columns and pyramids.
    {"create-column", kCreateColumnWords,
     "the Create Rectangle command: a solid column height= high (0.4) on the current surface, "
     "its footprint the nodes (two: a rectangle width= by depth=, 0.4 by 0.2, centred on node 0, "
     "depth towards node 1), leaning by up-down= and left-right= degrees, snap=yes to the grid",
     RunCreateColumn},
    {"create-cylinder", kRegularBaseWords,
     "the Create Cylinder command: a solid column height= high (0.4) on the current surface, its "
     "footprint the regular polygon of sides= corners (4) around node 0 touching a circle of "
     "radius= (0.1), turned towards node 1 and clipped to the surface (no node: the surface's own "
     "corners), leaning by up-down= and left-right= degrees, snap=yes to the grid",
     RunCreateCylinder},
    {"create-pyramid", kRegularBaseWords,
     "the Create Pyramid command: a pyramid height= high (0.4) on the current surface, its base "
     "the regular polygon of sides= corners (4) around node 0 touching a circle of radius= (0.1), "
     "turned towards node 1 and clipped to the surface, its apex above the base's centre leaning "
     "by up-down= and left-right= degrees, snap=yes to the grid",
     RunCreatePyramid},
    // Sector library.
    {"rename-group", kRenameGroupWords,
     "the Library's Rename: the sectors of group old (letter case ignored) take the name new",
     RunRenameGroup},
    {"delete-group", kGroupWord,
     "the Library's Delete: deletes the sectors of a group (letter case ignored) with their "
     "surfaces and things; the level's last sector stays",
     RunDeleteGroup},
    {"load-group", kCopyGroupWords,
     "the Library's Load: the level's sectors of a group are replaced by those of the level file "
     "from, whose open faces are linked to the level where they touch it",
     RunLoadGroup},
    // Create Stairs.
    {"create-stairs", kCreateStairsWords,
     "the Stairs command: count= (5) steps out of the current surface, together depth= (0.5) "
     "deep, each height= / count (0.1 together) above the one before along node 0 to node 1 "
     "(direction=down: below)",
     RunCreateStairsWords},
    // Create Layer and Create Dome.
    {"create-layer", kCreateLayerWords,
     "the Create Layer command on the current surface (sector= surface=): a platform height= "
     "(0.1) high whose top is drawn in by indent= (0.1), the space beside its sides one wedge "
     "sector per edge; the top takes material= (the surface's own)",
     RunCreateLayer},
    {"create-dome", kCreateDomeWords,
     "the Create Dome command on the current surface (sector= surface=, two node= points for a "
     "vault): splits= (4) rings rising depth= (0.4), outside=yes (default) extruded and merged "
     "into the sector with the indent modes curve-up= and curve-plane= (yes), outside=no as "
     "layers inside it; the rings take material= (the surface's own)",
     RunCreateDome},
    // Create Landscape.
    {"create-landscape", kCreateLandscapeWords,
     "the Create Landscape command: the current surface cut splits= times (2) into fans of "
     "wedges, from node 0 towards node 1, each centre then moved by a random depth from min= (0) "
     "to max= (0.2); seed= seeds the generator (else the clock)",
     RunCreateLandscapeWords},
    // Surface effects and the conveyor belt: no words of their own; the game (game=) gives the
    // effects their materials.
    {"create-water", {},
     "the Water command: asks its question, then gives both sides of the current surface's "
     "adjoin the water look and makes the sector behind it underwater",
     RunConfirmedBuilder<Cmd::kCreateWater, CreateWater>},
    {"create-force-field", {},
     "the Force Field command: asks its question, then gives both sides of the current surface's "
     "adjoin the force field look and a cog \"00_forcefield.cog\" each",
     RunConfirmedBuilder<Cmd::kCreateForceField, CreateForceField>},
    {"create-breaking-glass", {},
     "the Breaking Glass command: asks its question, then gives both sides of the current "
     "surface's adjoin the glass look and one cog \"00_breakingglass.cog\" naming both",
     RunConfirmedBuilder<Cmd::kCreateBreakingGlass, CreateBreakingGlass>},
    {"create-slashable-grate", {},
     "the Slashable Grate command: asks its question, then gives both sides of the current "
     "surface's adjoin the grate look and one cog \"00_slashgrate.cog\" naming both",
     RunConfirmedBuilder<Cmd::kCreateSlashableGrate, CreateSlashableGrate>},
    {"create-conveyor-belt", {},
     "the Conveyor Belt command: asks its question, then adds a cog \"00_conveyor.cog\" moving "
     "the current surface from node 0 towards node 1; the grid goes off",
     RunConfirmedBuilder<Cmd::kCreateConveyorBelt, CreateConveyorBelt>},
    // ---- Create Switch ----
    {"create-switch", kCreateSwitchWords,
     "the Switch command, checked as its dialog checks: a rectangle width= by height= cut into "
     "the current surface from node 0 towards node 1, pushed back depth= as a recess whose walls "
     "take siding=, its face the material switch= with its texture (from game=) once across it",
     RunCreateSwitchWords},
    // Create Light.
    {"create-light", kCreateLightWords,
     "the Create Light dialog's Apply: start= (0x000000) on the corners of the current sector, "
     "surface or vertex, or with distance-dependent=yes blended to end= (0xFFFFFF) at distance= "
     "(0.5) from the current vertex, surface or sector over the sectors it sees",
     RunCreateLight},
    // Materials.
    {"add-material", kAddMaterialWords,
     "adds the material name= to the level (the level's record of that name when it has one)",
     RunAddMaterial},
    // ---- Templates ----
    {"add-template", kTemplateNameWords,
     "the Template dialog's Add: the template name= of the product's template list with its "
     "bases and the templates it refers to; a template the level has already is refreshed",
     RunAddTemplate},
    {"delete-template", kTemplateNameWords,
     "the Template dialog's Delete: the level's template name= and then each base that no "
     "other template derives from, up to \"none\" or a template a thing uses, with the models, "
     "puppets, sound classes, cogs, AI classes and sprites no remaining template names; refused "
     "when a thing uses the template itself",
     RunDeleteTemplate},
    // Cogs in Level.
    {"add-cog", kAddCogWords,
     "the Cogs in Level window's Add and Apply: a cog of script= with no values is appended and "
     "the script listed", RunAddCog},
    {"delete-cog", kDeleteCogWords,
     "the Cogs in Level window's Delete and Apply: cog index= goes; its script leaves the list "
     "when no other cog uses it", RunDeleteCog},
    {"set-cog-value", kSetCogValueWords,
     "the Cogs in Level window's value entry and Apply: value symbol= of cog index= becomes "
     "value= upper-cased, missing values before it take the script's defaults, empty ones at the "
     "end go", RunSetCogValue},
    // Colour maps.
    {"select-color-map", kSelectColorMapWords,
     "Select Color Map's Apply: name= becomes the level's only colour map, every sector on it",
     RunSelectColorMap},
    {"edit-palette", kEditPaletteWords,
     "the Color Map dialog's palette edit: entry index= of the level's own colour map colormap= "
     "takes the colour r=, g=, b=",
     RunEditPalette},
    // The level lists of the Color Map, Sounds and Materials dialogs' OK.
    {"set-color-maps", kNameListWords,
     "the Color Map dialog's OK: the colour-map list becomes names=A,B,... (upper-cased), every "
     "sector keeping its colour map by name; refused when a sector's colour map is left out",
     RunSetColorMaps},
    {"set-sounds", kNameListWords,
     "the Sounds dialog's OK: the sound list becomes names=A,B,... (upper-cased), every sector "
     "keeping its sound by name, or none when its sound is left out",
     RunSetSounds},
    {"set-material-tiles", kMaterialTilesWords,
     "the Materials dialog's OK in level mode: material= takes the tiling x=, y= (1 to 100)",
     RunSetMaterialTiles},
    // The Errors window.
    {"clean-up", {},
     "the Errors window's Clean Up: repeated corners, surfaces under 3 corners, sectors under 4 "
     "surfaces, illegal links and adjoins, unused materials, things in no sector, empty sound "
     "names and cog values beyond their scripts' parameters; refused when nothing changes",
     RunCleanUp},
};
// clang-format on

const char* TypeWord(EApplyWord type)
{
    switch (type) {
    case EApplyWord::Int:
        return "INT";
    case EApplyWord::Float:
        return "FLOAT";
    case EApplyWord::Name:
        return "NAME";
    case EApplyWord::YesNo:
        return "yes|no";
    }
    return "?";
}

bool ReadsAs(EApplyWord type, const std::string& value)
{
    if (value.empty())
        return type == EApplyWord::Name;
    char* end = nullptr;
    errno = 0;
    switch (type) {
    case EApplyWord::Int: {
        const long number = std::strtol(value.c_str(), &end, 10);
        return *end == '\0' && errno == 0 && number >= INT32_MIN && number <= INT32_MAX;
    }
    case EApplyWord::Float: {
        const float number = std::strtof(value.c_str(), &end);
        return *end == '\0' && errno == 0 && std::isfinite(number);
    }
    case EApplyWord::Name:
        return true;
    case EApplyWord::YesNo:
        return value == "yes" || value == "no";
    }
    return false;
}

}  // namespace

bool CApplyArgs::Has(std::string_view key) const
{
    return m_values.find(key) != m_values.end();
}

int CApplyArgs::Int(std::string_view key, int otherwise) const
{
    const auto it = m_values.find(key);
    return it == m_values.end() ? otherwise
                                : static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
}

float CApplyArgs::Float(std::string_view key, float otherwise) const
{
    const auto it = m_values.find(key);
    return it == m_values.end() ? otherwise : std::strtof(it->second.c_str(), nullptr);
}

std::string CApplyArgs::Name(std::string_view key, std::string_view otherwise) const
{
    const auto it = m_values.find(key);
    return it == m_values.end() ? std::string(otherwise) : it->second;
}

bool CApplyArgs::YesNo(std::string_view key, bool otherwise) const
{
    const auto it = m_values.find(key);
    return it == m_values.end() ? otherwise : it->second == "yes";
}

std::span<const CApplyOperation> ApplyOperations()
{
    return kOperations;
}

const CApplyOperation* FindApplyOperation(std::string_view name)
{
    for (const CApplyOperation& operation : kOperations)
        if (name == operation.m_name)
            return &operation;
    return nullptr;
}

bool ParseApplyArgs(const CApplyOperation& operation, std::span<const std::string> words,
                    CApplyArgs& args, std::string& error)
{
    args.m_values.clear();
    for (const std::string& word : words) {
        const std::size_t equals = word.find('=');
        const std::string key = word.substr(0, equals);
        const auto declared = std::find_if(operation.m_words.begin(), operation.m_words.end(),
                                           [&key](const CApplyWord& w) { return key == w.m_key; });
        if (equals == std::string::npos || declared == operation.m_words.end()) {
            error = "\"" + word + "\" is no word of " + operation.m_name;
            return false;
        }
        const std::string value = word.substr(equals + 1);
        if (!ReadsAs(declared->m_type, value)) {
            error = "\"" + word + "\": " + key + " takes " + TypeWord(declared->m_type);
            return false;
        }
        if (!args.m_values.emplace(key, value).second) {
            error = key + " is given twice";
            return false;
        }
    }
    for (const CApplyWord& w : operation.m_words) {
        if (w.m_required && !args.Has(w.m_key)) {
            error = std::string(operation.m_name) + " needs " + w.m_key + "=" + TypeWord(w.m_type);
            return false;
        }
    }
    return true;
}

std::string ApplyUsage(const CApplyOperation& operation)
{
    std::string usage = operation.m_name;
    for (const CApplyWord& w : operation.m_words) {
        const std::string word = std::string(w.m_key) + "=" + TypeWord(w.m_type);
        usage += w.m_required ? " " + word : " [" + word + "]";
    }
    return usage;
}
