#pragma once
// Drawing of the engine's point markers, part of every frame of every engine (document views and
// dialog previews alike): each marker cube near enough to the focus point and inside the view
// frustum is drawn through the engine's render device as a list of untextured triangles in the
// marker's own colours.

#include "math/BoundingBox.h"

#include <functional>

class C3dView;
class C3doMesh;

// The frame's test whether a world-space box lies in the view frustum.
using CBoxInFrustum = std::function<bool(const CBoundingBox&)>;

// The box of the marker's vertices (and of any face vertices it has), computed once and kept in
// the mesh (m_box, m_boxValid) until the mesh is rebuilt.
const CBoundingBox& MarkerBox(C3doMesh& marker);

// Draws the markers in list order: a marker is drawn when the squared distance from the focus
// point to its box is below the square of the "Grid Distance" setting (so none with "Grid
// Distance" 0) and inFrustum accepts its box. Each drawn marker is one DrawPrimitive of its 36
// triangle vertices (its cube vertices taken through its index list), texture none, in world
// coordinates: the world transform is set to the identity before the first marker, since a
// preview's model may have left its own. A marker whose index list refers past its vertices is
// not drawn. Nothing is drawn without a render device. Returns the number of markers drawn.
int DrawPointMarkers(C3dView& view, const CBoxInFrustum& inFrustum);
