#pragma once
// The Switch builder ("&Switch..."): a small rectangle cut into the current surface, pushed back
// into the wall as a shallow recess when it has a depth, the recess walls in a siding material
// and the rectangle in a switch material whose texture covers it exactly once.

#include "math/Vector3.h"
#include "tools/ExtrudeChoices.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

class C3dView;

// The values of the Create Switch dialog.
struct CSwitchParams {
    std::string m_switchMaterial;                // the rectangle's material
    std::string m_sidingMaterial = "00red.mat";  // the recess walls' material
    float m_depth = 0.01f;                       // 0: the rectangle is only cut out
    float m_width = 0.08f;                       // across node 0 to node 1
    float m_height = 0.08f;                      // along node 0 to node 1
    int m_textureWidth = 0;                      // the switch material's texture, in texels
    int m_textureHeight = 0;
};

// The ranges of the dialog's fields.
inline constexpr CExtrudeRange kSwitchDepthRange{0.0f, 0.1f};
inline constexpr CExtrudeRange kSwitchSizeRange{0.01f, 1.0f};  // width and height

inline constexpr std::string_view kSwitchExceedsText =
    "The selected Switch object exceeds the current\nsurface. Please select a smaller Switch "
    "object.";
inline constexpr std::string_view kSwitchNoMaterialText =
    "Cannot create switch.\n\nNo switch material is selected. The switch materials are the group "
    "\"switch\" of \"materials.dat\".";
// Shown when the cut or the recess fails half way; the level is then as it was.
inline constexpr std::string_view kSwitchFailedText =
    "Cannot create switch.\n\nThe switch cannot be built on the current surface.";
// The refusal for a switch material whose texture is found nowhere.
[[nodiscard]] std::string SwitchNoTextureText(std::string_view material);

// The switch's corners for p0 (the middle of its first edge), p1 (giving the unit direction d =
// (p1 - p0) / |p1 - p0|, its height direction) and the surface normal n, with a = n x d:
// C0 = p0 - a w/2, C1 = p0 - a w/2 + d h, C2 = p0 + a w/2 + d h, C3 = p0 + a w/2. p0 and p1 must
// differ.
[[nodiscard]] std::array<CVector3, 4> SwitchCorners(const CVector3& p0, const CVector3& p1,
                                                    const CVector3& n, float width, float height);

// Whether the switch of width by height from the first two grid nodes lies on the current
// surface: every corner inside its polygon or within 0.001 of an edge. False without a current
// surface or two grid nodes apart.
[[nodiscard]] bool SwitchFitsSurface(const C3dView& view, float width, float height);

// The texture size of material (letter case ignored) as the engine decodes it through the level's
// first colour map, from the game or the level's own files; none when the material itself is
// found nowhere (the default material it would be drawn with does not count).
struct CTextureSize {
    int m_width = 0;
    int m_height = 0;
};
[[nodiscard]] std::optional<CTextureSize> SwitchTextureSize(const C3dView& view,
                                                            std::string_view material);

// What OK of the Create Switch dialog says before the switch is built: kSwitchNoMaterialText
// without a switch material, SwitchNoTextureText without a texture size, kSwitchExceedsText when
// the switch leaves the current surface; empty when it may be built.
[[nodiscard]] std::string SwitchRefusal(const C3dView& view, const CSwitchParams& params);

// Builds the switch on the current surface of the current sector from grid nodes 0 and 1:
// 1. The surface is cut to the rectangle SwitchCorners (the picked grid nodes), which becomes the
//    current surface.
// 2. With a depth above 0 it is extruded by the depth as a new sector (which becomes current), and
//    the surface of that sector crossed by a short segment across the middle of each side, half
//    the depth back, takes the siding material (appended to the level's materials when missing).
// 3. The current surface takes the switch material (appended likewise); its corners at C0, C1, C2
//    and C3 (moved back by the depth, within 0.01) get the texture coordinates (0, 0), (0, Y),
//    (X, Y) and (X, 0), X and Y the texture size.
// 4. The lighting pass runs and the sectors touched are rebuilt; the picked grid nodes are the
//    four corners.
// Refused (false, level unchanged): no current sector or surface, fewer than two grid nodes apart,
// or a size not above 0 (depth below 0), without a message; with the message of SwitchRefusal for
// its refusals; with kSwitchFailedText when the cut or the extrusion fails half way (the build is
// then taken back).
bool CreateSwitch(C3dView& view, const CSwitchParams& params);

// CreateSwitch inside an undo step: a refusal leaves no step.
bool RunCreateSwitchCommand(C3dView& view, const CSwitchParams& params);
