#pragma once
// The point-marker layouts that follow a sector rebuild and the picking of grid nodes: one marker
// at each picked grid node, one at each corner of the current surface, or the grid points of the
// current surface. Each builder first deletes every marker of the engine.
//
// Colours come from the settings (0x00BBGGRR) and reach the markers as 0xFFRRGGBB.

class C3dView;

// One marker at each picked grid node, grid colour ("ColorGrid"), vertex number -1.
void BuildAllVertexMarkers(C3dView& view);

// One marker at each corner of the current surface, numbered by the corner's position in the
// surface's corner list: "ColorSelect" for a marked corner, else "ColorLink" when its world vertex
// is used by more than one corner, else "ColorUnlink". The current surface then becomes the
// surface of the current vertex. Without a current surface (or with one out of range) only the
// markers are deleted.
void BuildSectorVertexMarkers(C3dView& view);

// The grid-point markers of the current surface (AddSurfaceGridMarkers). Without a current
// surface only the markers are deleted.
void RebuildSectorGridPoints(C3dView& view);
