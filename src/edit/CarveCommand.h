#pragma once
// The 3D view's Carve command ("C&arve Sector/Surface... A") and the decisions of its dialog
// (CCarveSectorSurfaceDlg, edit/ui/): the values the dialog hands over, their ranges, which fields
// are editable, what the Texture button takes from the material picker, when the command is
// enabled and what it runs.

#include "edit/Carve.h"

#include <optional>
#include <string>

class C3dView;
struct CMaterialChoice;

// The Carve dialog's values, with its defaults.
struct CCarveChoice {
    float m_upDown = 0.0f;     // degrees, -45..45
    float m_leftRight = 0.0f;  // degrees, -45..45
    bool m_catwalk = true;
    std::string m_textureName;  // shown only
    CCarveLook m_look;
};

// The angles' range: -45 to 45 degrees, both included.
inline constexpr float kCarveAngleLimit = 45.0f;
[[nodiscard]] bool CarveAngleInRange(float degrees);

// Whether the angle fields may be edited: not in sector mode, where the carve takes no angles.
[[nodiscard]] bool CarveAnglesEditable(const C3dView& view);

// The look of a material chosen in the material picker: its index, its texture size and its
// tiling.
void TakeMaterialLook(CCarveLook& look, const CMaterialChoice& material);

// What the Texture button takes from the material chosen: its index, its name, its texture size
// and its tiling.
void TakeCarveMaterial(CCarveChoice& choice, const CMaterialChoice& material);

// Asks the material picker (the level's materials, no initial name) and takes its choice; false,
// with choice unchanged, on Cancel.
bool PickCarveMaterial(C3dView& view, CCarveChoice& choice);

// Sector mode (the split-sector switch on): enabled when a sector is current and more than 2 grid
// nodes are picked; surface mode: when a surface is current and more than 1 grid node is picked.
[[nodiscard]] bool CanRunCarveCommand(const C3dView& view);

// The carve the command runs with the dialog's values: in sector mode CarveSector with the
// catwalk and the look, otherwise CarveAlongLine with the angles as well (unbounded).
bool CarveWithChoice(C3dView& view, const CCarveChoice& choice);

// CarveWithChoice inside an undo step. False when the command is disabled or the carve refused
// (the undo list and the modified flag then as they were).
bool RunCarveCommand(C3dView& view, const CCarveChoice& choice);
