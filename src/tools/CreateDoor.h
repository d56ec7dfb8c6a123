#pragma once
// The Door builder ("D&oor... O"): a door opening cut into the current surface, the door sector
// behind it with an optional recess in front, the slot the door slides into, an optional recess
// or passage behind, the door thing with its closed and open frames and the cog that drives it.

#include "math/Vector3.h"

#include <string>
#include <string_view>

class C3dView;

// The values of the Create Door dialog.
struct CDoorParams {
    std::string m_template;     // the door's template; also the thing's name
    float m_width = 0.0f;       // X: across the opening
    float m_height = 0.0f;      // Y: along grid node 0 to grid node 1
    float m_thickness = 0.0f;   // Z: the depth of the door sector
    float m_frontDepth = 0.0f;  // the recess in front; 0: none
    float m_backDepth = 0.0f;   // the recess or passage behind; 0: none
    bool m_connect = false;     // the back extrusion joins the surface facing it
    int m_direction = 0;        // 0 up, 1 down, 2 left, 3 right
};

inline constexpr std::string_view kDoorCogScript = "00_door.cog";
// Shown when a step of the build fails half way; the level is then as it was.
inline constexpr std::string_view kDoorFailedText =
    "Cannot create door.\n\nThe door cannot be built on the current surface.";

// The door's closed position P and open position E for the unit normal n of the surface, the unit
// direction d from grid node 0 to grid node 1 and g0 the middle of the opening's lower edge.
struct CDoorFrames {
    CVector3 m_closed;
    CVector3 m_open;
    CVector3 m_slotNormal;  // the normal of the door sector face the slot is pulled from
    float m_slotDepth = 0.0f;
};
[[nodiscard]] CDoorFrames DoorFrames(const CDoorParams& params, const CVector3& g0,
                                     const CVector3& n, const CVector3& d);

// Builds the door on the current surface of the current sector from grid node 0 (the middle of
// the opening's lower edge) towards grid node 1. The opening is cut out, the front recess (when
// its depth is above 0) and the door sector (depth Z) are extruded as new sectors, the slot is
// extruded from the door sector face whose normal lies within 0.99 of the slot direction (else
// from the door's back face) and kept with the door sector, and the back recess (when its depth
// is above 0) is extruded from the back face, joined to the opposite surface when m_connect is
// set. The door thing (template and name m_template, in the door sector at P, turned by
// FitThingOrientation to face -n with up d) gets the frames P and E, and a cog "00_door.cog"
// with the thing's index and three -1 is added; its script name is listed once. The thing's
// model is made only when the game's archive is open. Then the lighting pass runs and a frame is
// forced. Afterwards the current surface and sector are those the last extrusion left and the
// thing is current.
//
// Refused (false, level unchanged): no current sector or surface, fewer than two grid nodes or
// two at one point, a size that is not above 0. When a cut or extrusion fails half way, what was
// built is taken back and kDoorFailedText is shown (after the extrusion's own message, if any).
bool CreateDoor(C3dView& view, const CDoorParams& params);

// What the Create Door dialog says before it lets the door be built: kDoorExceedsText when a
// corner of the opening lies outside the current surface, kDoorNoOppositeText when m_connect is
// set and the opening finds no one surface behind it; empty when the door may be built (or when
// there is no current surface or no two grid nodes, which the command's rule rules out).
[[nodiscard]] std::string_view DoorRefusal(const C3dView& view, const CDoorParams& params);

// CreateDoor inside an undo step: a refusal leaves no step.
bool RunCreateDoorCommand(C3dView& view, const CDoorParams& params);
