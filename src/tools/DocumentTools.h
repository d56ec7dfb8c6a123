#pragma once
// The document's tools that work on the current selection without a dialog of their own: Select
// Sound (the sound picked for the current sector and the sectors it sees), Restore Surface (an
// adjoined surface back to the plain portal look) and Update Vertices.

#include <string_view>

class C3dView;

// ---- "Select Sound..." ----

// Enabled when a sector is current.
[[nodiscard]] bool CanSelectSound(const C3dView& view);
// Gives the current sector C the sound name: its index in the level's sound list (exact
// comparison), appended when it is not there. Every sector S in C's sorted list of visible
// sectors takes C's sound and the volume C's volume / (d + 1), d being the distance between the
// centres of C and S (so C itself keeps its volume). False, with nothing changed, without a
// current sector.
bool SelectSound(C3dView& view, std::string_view name);
// The command: under the wait cursor the host's sound picker in add mode with no initial name;
// the chosen sound is given inside an undo step. False when cancelled.
bool RunSelectSoundCommand(C3dView& view);

// ---- "&Restore Surface" ----

// Enabled when a sector and a surface are current and the surface has an adjoin.
[[nodiscard]] bool CanRestoreSurface(const C3dView& view);
// The current surface gets the portal look (material -1, surface flags, face flags and geometry
// mode 0, light mode 3, texture mode 1, extra light 0) and its adjoin the flags 7; the current
// sector is rebuilt and the look is copied to the twin (CopySurfaceToTwin). False, with nothing
// changed, when the command is not enabled.
bool RestoreSurface(C3dView& view);
// RestoreSurface inside an undo step.
bool RunRestoreSurfaceCommand(C3dView& view);

// ---- "&Update Vertices..." ----

// Inside an undo step: UpdateSurfaceVertices, then the current sector rebuilt. Always runs.
bool RunUpdateVerticesCommand(C3dView& view);
