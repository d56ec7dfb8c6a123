#pragma once
// Create Layer: a solid platform raised on the current surface of the current sector. The sector
// is cut at the platform's top; the space above stays the sector's, with the top as a new floor
// piece, and the space beside the sloping platform sides becomes one wedge sector per edge of the
// base surface.

#include "edit/Carve.h"
#include "math/Vector3.h"

#include <span>

class C3dView;

struct CLayerParams {
    float m_height = 0.1f;  // along the base surface's normal
    float m_indent = 0.1f;  // each top corner drawn in towards the base's centroid by this much
    CCarveLook m_look;      // the platform top's material, texture size and tiling
};

// Builds the layer on the current surface of the current sector. True when the level changed.
bool CreateLayer(C3dView& view, const CLayerParams& params);

// Cuts the current surface (a plane surface of the current sector) into the inner piece, the
// polygon, and one ring piece per polygon edge, on both sides of its adjoin; relink: the pieces
// are linked again to their counterparts and the current sector rebuilt.
void SplitLayerSurfaces(C3dView& view, std::span<const CVector3> polygon, const CVector3& centre,
                        bool relink);

// CreateLayer inside an undo step (a refusal leaves no step).
bool RunCreateLayerCommand(C3dView& view, const CLayerParams& params);
