#pragma once
// The Elevator builder ("&Elevator... Y"): the elevator's footprint carved into the current
// surface, a shaft extruded from it (up from the surface facing the footprint or down from the
// footprint), optionally joined to the room beyond and given a sub-shaft, the elevator thing with
// its start and end frames and the switch cogs that tie the new surfaces to it.

#include "math/Vector3.h"

#include <string>
#include <string_view>

class C3dView;

// The values of the Create Elevator dialog.
struct CElevatorParams {
    std::string m_template;         // the elevator's template; also the thing's name
    float m_width = 0.0f;           // X: the footprint across (along n x d)
    float m_height = 0.0f;          // Y: the elevator's own height (along the surface normal)
    float m_depth = 0.0f;           // Z: the footprint along grid node 0 to grid node 1
    float m_shaftHeight = 1.0f;     // Shaft "Height:"
    float m_subShaftHeight = 0.0f;  // Sub-Shaft "Height:"; 0: no sub-shaft
    bool m_up = true;               // "Up" checked; false for "Down"
    bool m_connect = false;         // the shaft joins the surface facing its end
};

// Shown when the connected Down shaft finds no one floor to hang the sub-shaft from; the
// elevator is then built without it.
inline constexpr std::string_view kNoSubShaftText =
    "Cannot make sub-shaft since no unique bottom surface exist.";
// Shown when Up is asked for and no wall faces the footprint across the current sector.
inline constexpr std::string_view kElevatorNoCeilingText =
    "Cannot create elevator.\n\nNo surface faces the elevator's footprint to raise the shaft "
    "from.";
// Shown when a step of the build fails half way; the level is then as it was.
inline constexpr std::string_view kElevatorFailedText =
    "Cannot create elevator.\n\nThe elevator cannot be built on the current surface.";

// Builds the elevator on the current surface of the current sector, its footprint (m_width by
// m_depth) centred on grid node 0 and turned towards grid node 1:
// 1. The footprint is carved into the current sector (CarveAlongLine); the column it leaves over
//    the footprint is K's sector, the footprint piece K's surface.
// 2. The shaft (m_shaftHeight) is extruded as a new sector, or joined to the opposite surface
//    with m_connect, from K's surface (Down) or from the wall of the column facing it (Up).
// 3. A joined shaft carves the room beyond along the surface it met; Down, the floor that
//    surface faces (CalcExtrudeEndPolygon) is where the elevator ends and the sub-shaft hangs
//    (without one floor the sub-shaft is dropped with kNoSubShaftText).
// 4. Start P = g0 - n Y/2 and end E = P -+ n shaft height (a joined shaft: Y/2 below the floor
//    beyond or below the surface met); without a sub-shaft P = g0 + n Y/2 and E = P -+ n shaft
//    height. A sub-shaft (m_subShaftHeight above 0) is extruded as a new sector from the shaft's
//    end or the floor beyond (Down) or from K's surface (Up).
// The elevator thing (template and name m_template, at P in the sector that holds P, turned by
// FitThingOrientation to face d with up n) gets the frames P and E; the walls the carves found
// facing the carved columns (first carve first) go to "00_elev_switch.cog" cogs, three to a cog
// with -1 and the thing's index; the script name is listed once. The thing's model is made only
// when the game's archive is open. Then the lighting pass runs and a frame is forced.
//
// Refused (false, level unchanged): no current sector or surface, fewer than two grid nodes or
// two at one point, a size or shaft height that is not above 0, Up with no wall facing the
// footprint (kElevatorNoCeilingText). When a carve, cut or extrusion fails half way, or the joined
// shaft ends on no portal, what was built is taken back and kElevatorFailedText is shown (after
// the step's own message, if any).
bool CreateElevator(C3dView& view, const CElevatorParams& params);

// What the Create Elevator dialog says before it lets the elevator be built: kElevatorExceedsText
// (tools/DoorElevatorFit.h) when a corner of the footprint lies outside the current surface;
// empty when the elevator may be built (or when there is no current surface or no two grid
// nodes, which the command's rule rules out).
[[nodiscard]] std::string_view ElevatorRefusal(const C3dView& view, const CElevatorParams& params);

// CreateElevator inside an undo step: a refusal leaves no step.
bool RunCreateElevatorCommand(C3dView& view, const CElevatorParams& params);
