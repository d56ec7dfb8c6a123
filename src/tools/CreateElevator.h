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
// Shown when a step of the build fails half way; the level is then as it was.
inline constexpr std::string_view kElevatorFailedText =
    "Cannot create elevator.\n\nThe elevator cannot be built on the current surface.";

// Builds the elevator on the current surface of the current sector, its footprint (m_width by
// m_depth) centred on grid node 0 and turned towards grid node 1. The footprint is carved into
// the current sector; the shaft (m_shaftHeight) is extruded as a new sector, or joined to the
// opposite surface with m_connect, from the footprint (Down) or from the piece of the surface
// facing it (Up); a sub-shaft (m_subShaftHeight above 0) is extruded below a Down shaft's floor
// or from the footprint of an Up one. The elevator thing (template and name m_template, at its
// start position, turned by FitThingOrientation to face d with up n) gets the frames start and
// end, and the surfaces the carves recorded are handed to "00_elev_switch.cog" cogs, three to a
// cog, with the thing's index; the script name is listed once. The thing's model is made only
// when the game's archive is open. Then the lighting pass runs and a frame is forced.
//
// Refused (false, level unchanged): no current sector or surface, fewer than two grid nodes or
// two at one point, a size or shaft height that is not above 0, Up with no surface facing the
// footprint. When a carve, cut or extrusion fails half way, what was built is taken back and
// kElevatorFailedText is shown (after the step's own message, if any).
bool CreateElevator(C3dView& view, const CElevatorParams& params);

// What the Create Elevator dialog says before it lets the elevator be built: kElevatorExceedsText
// (tools/DoorElevatorFit.h) when a corner of the footprint lies outside the current surface;
// empty when the elevator may be built (or when there is no current surface or no two grid
// nodes, which the command's rule rules out).
[[nodiscard]] std::string_view ElevatorRefusal(const C3dView& view, const CElevatorParams& params);

// CreateElevator inside an undo step: a refusal leaves no step.
bool RunCreateElevatorCommand(C3dView& view, const CElevatorParams& params);
