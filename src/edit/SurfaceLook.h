#pragma once
// Giving one surface the look of another: the material, texture size, tiling, flags and modes;
// the texture continued across an edge the two share; and the texture offsets brought back to
// within one texture size. Paste uses all three; builders and the plane cutter continue textures
// with AlignTextureToSurface, merges bring offsets back with NormalizeTextureOffsets.

class C3dView;
class CQzlSurface;

// target (a surface of sector) takes source's material, texture width and height, x and y tile,
// surface and face flags and geometry, texture and light modes; extra light, adjoin, corners and
// the texture-fitting fields stay. A material index the level does not have (a source copied
// before its material was deleted) becomes -1. When both have an adjoin of the level, target's
// adjoin takes the flags of source's. Then the texture is continued from source
// (AlignTextureToSurface). With the game's archive open, target takes the tiling of its material
// and that material's texture through sector's colour map from the texture cache, with the
// texture's size (a texture that does not come, or has no size, leaves the old one); without the
// archive both steps are left out.
void CopySurfaceAttributes(C3dView& view, int sector, CQzlSurface& target,
                           const CQzlSurface& source);

// Continues source's texture onto target across the first edge they share: the first edge of
// target (in corner order) lying on an edge of source walked backwards and running the same way.
// Its two corners take source's u and v at their places on that edge (values below 0.0001 in
// magnitude become 0); every other corner of target takes the u and v that source's texture
// gives it when target is unfolded about the edge into source's plane (seen from source's
// corner farthest from the edge; left as they are when all of source lies on the edge), rounded
// to 0.001. Then NormalizeTextureOffsets, and target's texture-fitting fields follow: the start
// vertex is the corner nearest (0, 0) in u and v (the first of equals), the offsets its u and v,
// the angle that of the direction to the next corner, the scales source's.
// False, with nothing changed, when no edge is shared or a corner names no world vertex.
bool AlignTextureToSurface(C3dView& view, CQzlSurface& target, const CQzlSurface& source);

// Rounds every corner's u and v to 0.001, then moves all u by whole texture widths and all v by
// whole texture heights so that the smallest u lies in [0, width) and the smallest v in
// [0, height). A texture size that is not a positive number moves nothing.
void NormalizeTextureOffsets(C3dView& view, CQzlSurface& surface);
