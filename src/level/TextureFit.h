#pragma once
// Texture-coordinate fitting: lays a texture onto one surface by computing the u and v of every
// corner, in texture pixels, from the surface's shape, a start corner, an angle, two scales, two
// offsets and a mirror switch.
//
// The start corner lands at (u offset, v offset); v runs from the start corner towards the corner
// before it (the other way with mirror), u measures the distance across that line; the pattern
// is turned by the angle about the start corner, and finally moved by whole texture sizes so that
// no coordinate is negative. Every stored coordinate is a multiple of 0.001.

#include "level/WorldVertex.h"

#include <vector>

class CQzlSections;
class CQzlSurface;

// CQzlSections::ComputeTextureCoords for surface s of the level. Nothing happens when the surface
// does not exist, when startVertex is not a corner of it, or when a corner names no world vertex.
// angle is in degrees.
void ComputeTextureCoords(CQzlSections& level, int surface, int startVertex, float angle,
                          float uScale, float vScale, float uOffset, float vOffset, int mirror);

// The same for a surface whose corners name the given world vertices (a surface not yet in a
// level, for instance).
void ComputeTextureCoords(const std::vector<CWorldVertex>& worldVertices, CQzlSurface& surface,
                          int startVertex, float angle, float uScale, float vScale, float uOffset,
                          float vOffset, int mirror);
