#pragma once
// The models of the level's things in the 3D view: which 3DO file a template uses, making a
// thing's model (a copy of an already loaded model of the same file, else a fresh read from the
// game), placing and turning it with the thing, and the sector the thing stands in.
//
// Template and thing names, and 3DO file names, are compared without regard to letter case: the
// text level reader keeps names in upper case, the template list in lower case.

#include "math/Matrix.h"

#include <string>
#include <string_view>

class C3dView;
class CQzlThing;
class CSectorGrid;

// The 3DO file of a template of the application's template list: "ghost" (any case) gives
// "ghost"; a template that is not in the list gives ""; a template without its own "model3d="
// takes its base's, up the based-on chain. A chain that comes back to a template already visited
// gives "".
[[nodiscard]] std::string TemplateModelName(const C3dView& view, std::string_view name);

// The yaw-pitch-roll rotation (radians): roll about z first, then pitch about x, then yaw about
// y, built from the unit quaternion of the three half angles (row vectors).
[[nodiscard]] D3DMATRIX MatrixRotationYawPitchRoll(float yaw, float pitch, float roll);

// Makes the model of thing i and stores it in the engine's model array, replacing the thing's old
// model. The 3DO file comes from the thing's name (TemplateModelName); a model of the same file
// already in the array is copied node by node instead of being read again. The model is turned by
// the thing's angles, placed at its position and bounded (ComputeThingBounds). With placeCamera,
// a thing named "walkplayer" whose flags are not 0x20080501 moves the camera to its position,
// looking along its yaw; the result is then 1, else 0. Nothing happens for i out of range.
// grid, when given, is a sector grid of the level as it stands (a rebuild places many things).
int CreateThingModel(C3dView& view, int i, const std::string& colormapName, bool placeCamera,
                     const CSectorGrid* grid = nullptr);

// Takes thing i's model out of the engine's model array and destroys it; the thing is left
// without a model. Nothing happens for a thing without one.
void ReleaseThingModel(C3dView& view, int i);

// Brings yaw, roll and pitch into -180..180 degrees (190 becomes -170; 180 and -180 stay; an angle
// that is not a finite number becomes 0), places and turns the thing and its model, bounds it and
// asks for a forced frame. Nothing happens for i out of range.
void SetThingOrientation(C3dView& view, int i, float x, float y, float z, float yaw, float roll,
                         float pitch);

// Recomputes the model's box when it is not valid, and sets the thing's sector to the last sector
// that contains its position; a thing outside every sector keeps its sector. grid, when given,
// is a sector grid of the level as it stands: only its candidates are asked.
void ComputeThingBounds(C3dView& view, CQzlThing& thing, const CSectorGrid* grid = nullptr);

// ComputeThingBounds for every thing, in index order (through one sector grid).
void RefreshThingBounds(C3dView& view);
