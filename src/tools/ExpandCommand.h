#pragma once
// The Expand Surface command ("Ex&pand Surface... P") and what its dialog decides: the fields,
// their start values, ranges and enabling, and the builder the values go to. The dialog
// (tools/ui/ExpandSurfaceDlg.h) shows these; the command runs the chosen builder in an undo step.

#include "tools/ExpandSurface.h"

#include <array>

class C3dView;

enum class EExpandShape {
    Rectangular,
    Cylindrical,
    Circular,
};

// The dialog's fields, in the order of its layout.
enum class EExpandField {
    Left,
    Right,
    Top,
    Bottom,
    Depth,
    CylinderHeight,
    CylinderWidth,
    CylinderSides,
    CircleHeight,
    CircleWidth,
    CircleSides,
};
inline constexpr std::array<EExpandField, 11> kExpandFields{
    EExpandField::Left,          EExpandField::Right,         EExpandField::Top,
    EExpandField::Bottom,        EExpandField::Depth,         EExpandField::CylinderHeight,
    EExpandField::CylinderWidth, EExpandField::CylinderSides, EExpandField::CircleHeight,
    EExpandField::CircleWidth,   EExpandField::CircleSides,
};

// Everything the dialog hands to the command.
struct CExpandValues {
    EExpandShape m_shape = EExpandShape::Rectangular;
    float m_left = 0.0f;
    float m_right = 0.0f;
    float m_top = 0.0f;
    float m_bottom = 0.0f;
    float m_depth = 1.0f;
    float m_cylinderHeight = 0.0f;
    float m_cylinderWidth = 0.0f;
    int m_cylinderSides = 4;
    float m_circleHeight = 0.0f;
    float m_circleWidth = 0.0f;
    int m_circleSides = 8;
};

// The start values for a surface of those extents: margins 0, depth 1, the heights a+ + a-, the
// widths b- + b+, 4 sides for the prism and 8 for the globe; "Rectangular".
[[nodiscard]] CExpandValues ExpandDefaults(const CExpandBox& box);

// The shape whose group holds the field.
[[nodiscard]] EExpandShape ExpandFieldShape(EExpandField field);
// A field is enabled only while its own shape is chosen.
[[nodiscard]] bool ExpandFieldEnabled(EExpandField field, EExpandShape shape);
// Whether the field takes whole numbers (the side counts) rather than any number.
[[nodiscard]] bool ExpandFieldIsWhole(EExpandField field);

// The range of a field: the value plus slack must lie from low to high. Margins 0 to 1000, depth
// 0.01 to 1000, the heights from a+ + a- and the widths from b- + b+ to 1000 with slack 0.0001,
// sides 3 to 24 (prism) and 6 to 24 (globe).
struct CExpandRange {
    double m_low = 0.0;
    double m_high = 0.0;
    double m_slack = 0.0;
};
[[nodiscard]] CExpandRange ExpandFieldRange(EExpandField field, const CExpandBox& box);
[[nodiscard]] bool ExpandValueInRange(EExpandField field, double value, const CExpandBox& box);

// The value of field in values, and setting it.
[[nodiscard]] double ExpandFieldValue(const CExpandValues& values, EExpandField field);
void SetExpandFieldValue(CExpandValues& values, EExpandField field, double value);

// ---- The command ----

// Enabled while a surface is current and exactly two grid nodes are picked.
[[nodiscard]] bool CanExpandSurface(const C3dView& view);

// Before the dialog opens: the extents of the current surface in the frame of the picked nodes.
// False, with the builders' message shown (kExpandAdjoined, kExpandNoUpDirection, ...), when the
// surface cannot be expanded.
bool PrepareExpandSurface(C3dView& view, CExpandBox& box);

// The builder of the chosen shape with its values: ExpandSurfaceRect (depth, left, right, top,
// bottom), ExpandSurfaceCylinder (prism height, width, sides) or ExpandSurfaceCircle (globe
// height, width, sides).
bool ExpandSurface(C3dView& view, const CExpandValues& values);

// Inside an undo step, ExpandSurface; false, the step dropped, when the command is disabled or
// the builder refused.
bool RunExpandSurfaceCommand(C3dView& view, const CExpandValues& values);
