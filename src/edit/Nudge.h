#pragma once
// Nudging the selection: the Move and Rotate commands move or turn the current sector, surface,
// corners or thing by one small step along or around a world axis, and the Vertex view moves the
// marked corners by the amount the user typed.
//
// The operations take the signed step (units, or degrees for the rotations); the commands take
// it from the modifier keys held when they run (MoveStep, RotateStep). An operation that refuses
// returns false with the level as it was; none of them shows a message or changes the selection.
// The render data of every sector whose corners moved is rebuilt.

#include "math/Vector3.h"

#include <cstdint>
#include <optional>

class C3dView;
class CQzlSurface;
class KeyState;

enum class EAxis : std::uint8_t {
    X,
    Y,
    Z,
};

// ---- Steps ----

// The move step: 0.1 with Shift held (also with Ctrl), else 0.01 with Ctrl, else 0.05.
[[nodiscard]] float MoveStep(bool shift, bool ctrl);
[[nodiscard]] float MoveStep(const KeyState& keys);
// The rotation step in degrees: 45 with Shift held (also with Ctrl), else 1 with Ctrl, else 6.
[[nodiscard]] float RotateStep(bool shift, bool ctrl);
[[nodiscard]] float RotateStep(const KeyState& keys);

// ---- Moves ----

// Moves the current sector and the things in it by step along axis. A corner of a surface without
// an adjoin first gets a world vertex of its own when its vertex is used by other corners too
// (once per vertex: the first corner to reach a vertex takes the copy, a later one the vertex
// itself), so that what only touches the sector stays; corners of adjoined surfaces keep their
// vertices, and the sectors beyond those adjoins stretch with the move. False without a current
// sector.
bool MoveSector(C3dView& view, EAxis axis, float step);

// Marks every corner of the current surface, then MoveVertices by step. The marks stay. False
// without a current surface, or when MoveVertices refuses.
bool MoveSurface(C3dView& view, EAxis axis, float step);

// Moves the world vertices of every marked corner of the level by amount along axis. One marked
// corner alone slides in its surface's plane (StepPointOnPlane); several move straight. The move
// is refused, with every vertex put back, when the single corner cannot stay in its plane, or
// when afterwards a corner of any surface of the level lies more than 0.00005 off its surface's
// plane (a level that already holds such a surface refuses every move). Otherwise each surface
// with a marked corner gets its plane, its floor flag and its texture fitted anew. False when
// refused, when no corner is marked, or for an amount of 0. The marks stay.
bool MoveVertices(C3dView& view, EAxis axis, float amount);

// Moves the current thing and its frames by step along axis; its sector becomes the last sector
// that contains its new position (it keeps its sector when none does). False without a current
// thing.
bool MoveThing(C3dView& view, EAxis axis, float step);

// ---- Rotations ----

// Turns the current sector by degrees around axis about its centre: its vertices, normals and
// things (whose yaw, roll or pitch for axis y, x or z is lowered by degrees). Vertices that
// surfaces of other sectors use too are first copied for this sector's corners, so that the
// other sectors stay as they are. False without a current sector, and for a sector with an
// adjoin.
bool RotateSector(C3dView& view, EAxis axis, float degrees);

// Turns the current surface by degrees around axis about the middle of its box. False without
// a current surface, and for a surface with a corner whose world vertex other corners use too.
bool RotateSurface(C3dView& view, EAxis axis, float degrees);

// Adds degrees to the current thing's roll, yaw or pitch (axis x, y or z) and turns its model.
// False without a current thing.
bool RotateThing(C3dView& view, EAxis axis, float degrees);

// ---- Helpers ----

// Moves point by step along axis and keeps it in the plane a x + b y + c z + d = 0 of surface:
// when the plane's coefficient of that axis is not 0 another coordinate is solved from the plane
// (for x: z, else y; for y: x, else z; for z: x, else y). False, with the point stepped along the
// axis only, when no other coordinate can be solved (the plane is perpendicular to the axis).
bool StepPointOnPlane(const CQzlSurface& surface, EAxis axis, float step, CVector3& point);

// ---- The Move and Rotate commands of the 3D view ----

// The axis of a Move (2020..2025) or Rotate (2012..2017) command id and whether it goes the
// negative way; none for another id.
struct CNudgeCommand {
    EAxis axis;
    bool negative;
};
[[nodiscard]] std::optional<CNudgeCommand> MoveCommand(int id);
[[nodiscard]] std::optional<CNudgeCommand> RotateCommand(int id);

// Enabled with a current surface or thing, a current vertex with its surface, or the Sector Mode
// switch on.
[[nodiscard]] bool CanMove(const C3dView& view);
// Enabled with a current surface none of whose world vertices is shared, a current thing, or the
// Sector Mode switch on for a current sector without adjoins.
[[nodiscard]] bool CanRotate(const C3dView& view);

// What a Move command moves by step: in edit mode 1 the sector, else the marked corners when
// there is a current vertex, else the current surface, else the current thing. False when
// nothing moved.
bool MoveSelection(C3dView& view, EAxis axis, float step);
// What a Rotate command turns by degrees: a current surface none of whose world vertices is
// shared, else the current thing, else in edit mode 1 the current sector. False when nothing
// turned.
bool RotateSelection(C3dView& view, EAxis axis, float degrees);

// The commands: while enabled, MoveSelection or RotateSelection by the step of the keys held now
// (negated for the negative ids) inside an undo step, which is dropped again when nothing moved.
// False when the command is disabled, id is not one of them, or nothing moved.
bool RunMoveCommand(C3dView& view, int id);
bool RunRotateCommand(C3dView& view, int id);
