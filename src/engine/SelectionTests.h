#pragma once
// Tests on the current selection that the link, split, merge and delete operations and the
// command enable rules share: adjoins of the current surface and sector, sharing of the current
// corner's world vertex, and the corner of the current vertex itself.

class C3dView;
class CQzlVertex;

// The corner of the current vertex (corner m_vertex of surface m_vertexSurface); null when the
// selection names none.
CQzlVertex* CurrentCorner(C3dView& view);
const CQzlVertex* CurrentCorner(const C3dView& view);

// True when the current surface has an adjoin.
bool SurfaceHasAdjoin(const C3dView& view);
// True when there is a current sector and one of its surfaces has an adjoin.
bool SectorHasAdjoin(const C3dView& view);
// True when the world vertex of the current corner (the current vertex of the surface of the
// current vertex) is used by more than one corner. False without a current vertex.
bool VertexIsShared(const C3dView& view);
