#pragma once
// Create Column: a solid column (a pillar) standing on the current surface, its footprint the
// picked grid nodes. The surface is cut to the footprint, the sector is cut along one plane per
// footprint edge (the walls, leaning by two angles), a cap plane is cut at the column's height
// when the whole top lies inside the sector, and the piece enclosed by the walls, the footprint
// and the cap is deleted, so that the surfaces that faced it become the column's solid faces.

#include "edit/Carve.h"
#include "math/Vector3.h"

#include <cstddef>

class C3dView;

// What the Create Rectangle and Create Cylinder/Pyramid dialogs hand to the column and pyramid
// builders: the base point (the footprint's centre), the second point, the height along the
// surface normal, the normal N, the depth axis B (from the base point towards the second
// point), the width axis C = N x B, the lean angles in degrees (up/down along B, left/right
// against C) and the look of the new faces.
struct CRaisedShape {
    CVector3 m_base;
    CVector3 m_second;
    float m_height = 0.4f;
    CVector3 m_normal;
    CVector3 m_depthAxis;
    CVector3 m_widthAxis;
    float m_upDown = 0.0f;
    float m_leftRight = 0.0f;
    CCarveLook m_look;
};

// The shift of the column's top (or the pyramid's apex) against its base:
// height * LeanOffset(B, C, up/down, left/right).
[[nodiscard]] CVector3 ShapeLean(const CRaisedShape& shape);

// Builds the column on the current surface of the current sector from the footprint of the
// picked grid nodes (three or more, lying on the surface). The faces are textured in the order
// of the footprint edges: the first takes the shape's look, fitted afresh, each later one
// continues the one before it. A footprint edge whose face is not found gets no face.
// Afterwards the picked grid nodes hold the three nodes of the cap plane, the grid is on and
// the split-sector switch off.
// Refused (false, the level and the selection as they were, no message of its own) without a
// current sector and surface, with fewer than 3 picked nodes, or when the surface cut or a
// wall cut refuses (their own messages stay).
bool CreateColumn(C3dView& view, const CRaisedShape& shape);

// ---- The Create Rectangle command ----

// What the Create Rectangle and Create Cylinder/Pyramid dialogs share: the height, the lean
// angles, snapping to the grid and the look of the new faces.
struct CRaisedValues {
    float m_height = 0.4f;
    float m_upDown = 0.0f;
    float m_leftRight = 0.0f;
    bool m_snap = false;
    CCarveLook m_look;
};

// A range of a dialog's field, both ends included.
struct CShapeRange {
    float m_low;
    float m_high;
    [[nodiscard]] constexpr bool Holds(float value) const
    {
        return value >= m_low && value <= m_high;
    }
};
inline constexpr CShapeRange kShapeSizeRange{0.01f, 100.0f};   // width, depth and height
inline constexpr CShapeRange kShapeAngleRange{-45.0f, 45.0f};  // both lean angles
inline constexpr CShapeRange kCylinderRadiusRange{0.1f, 100.0f};
inline constexpr int kCylinderFewestSides = 3;
inline constexpr int kCylinderMostSides = 24;

// The Create Rectangle dialog's values.
struct CRectangleValues : CRaisedValues {
    float m_width = 0.4f;
    float m_depth = 0.2f;
};

// The footprint nodes OK of the Create Rectangle and of the Create Cylinder/Pyramid dialog
// needs on the surface.
inline constexpr std::size_t kRectangleFewestNodes = 4;
inline constexpr std::size_t kCylinderFewestNodes = 2;

// The look of the current surface (material, texture size, tiling); the defaults without one.
[[nodiscard]] CCarveLook CurrentSurfaceLook(const C3dView& view);

// The dialog's footprint computation with the base and second points (the first two picked
// grid nodes when the dialog opened): with exactly two picked nodes the rectangle of width and
// depth centred on the base point, else the picked nodes themselves, laid out on the current
// surface (LayOutFootprint). The shape the builder gets.
CRaisedShape LayOutRectangle(C3dView& view, const CRectangleValues& values, const CVector3& base,
                             const CVector3& second);

// ---- The Create Cylinder and Create Pyramid commands ----

// The Create Cylinder dialog's values; m_fromSurface when the outline is the current surface's
// own corners (no grid nodes were picked).
struct CCylinderValues : CRaisedValues {
    int m_sides = 4;
    float m_radius = 0.1f;
    bool m_fromSurface = false;
};

// When the dialog opens without picked grid nodes: the current surface's corner positions become
// the picked nodes in reverse corner order, Sides their count and the outline comes from the
// surface. Nothing otherwise.
void TakeSurfaceOutline(C3dView& view, CCylinderValues& values);

// The dialog's outline computation (View and the first step of OK): the axes from the base and
// second points; unless the outline comes from the surface, the regular polygon of Sides and
// Radius around the base point laid out on the current surface (LayOutFootprint). The shape the
// builder gets.
CRaisedShape LayOutCylinder(C3dView& view, const CCylinderValues& values, const CVector3& base,
                            const CVector3& second);
