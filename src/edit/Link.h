#pragma once
// Linking and unlinking: joining two sectors through a pair of adjoins (a portal) between the
// current surface and a coincident surface facing it from another sector, and taking such a pair
// away again; in vertex mode welding the current corner onto a marked one, or giving it a world
// vertex of its own; and copying the look of an adjoined surface to its twin.
//
// Everything here works on the engine's selection (current sector, surface, vertex and the
// surface of the vertex). Positions are compared within kLinkTolerance.

class C3dView;
class CQzlSections;
class CQzlSurface;

// Two points closer than this are the same point to Link.
inline constexpr float kLinkTolerance = 0.001f;

// The surface across an adjoin and the sector listing it; -1 for none.
struct CTwin {
    int m_sector = -1;
    int m_surface = -1;
};

// The twin of surface: searching every sector in order and its surface list in order, the first
// other surface whose adjoin is the mirror of surface's adjoin. None when surface has no adjoin.
[[nodiscard]] CTwin FindTwin(const CQzlSections& level, int surface);

// Links the current surface S of the current sector Q to its twin: the first surface T of
// another sector, unadjoined, whose outline (corners on straight edges left out) has as many
// corners as S's and matches S's corner by corner, walking T backwards. T's matched corners are
// welded onto S's world vertices (LinkVertex's weld, which clears every corner mark); the current
// vertex is left as it was. Without such a T, an unadjoined surface of another
// sector in S's plane facing S that holds every corner of S is cut to S's outline
// (CutSurfaceToPolygon) and the piece is the twin. S and T then get a new adjoin pair (S the
// second, T the first, flags 7) and the portal look (material -1, surface flags, face flags and
// geometry mode 0), and T's sector is rebuilt; Q is rebuilt in every case. The builders call it
// with the sector and surface to link made current. False, with no adjoin made, when S has no
// twin (or there is no current surface, or it already has an adjoin).
bool LinkSurface(C3dView& view);

// Removes the adjoin pair of the current surface S and gives S and its twin T the plain solid
// look: material 0 (the default material "dflt.mat" when the level has no material), surface
// flags 4 with the floor flag of its normal, face flags 4, geometry mode 4, light mode 3,
// texture mode 1; when the engine's unlink look (CUnlinkDefaults) names a material, its material,
// texture size and tiling. With rebuild, T's sector and then the current sector are rebuilt.
// False, with nothing changed, when the current surface has no adjoin.
bool UnlinkSurface(C3dView& view, bool rebuild);

// The plain solid look UnlinkSurface gives a surface that is no longer a portal.
void GiveSolidLook(C3dView& view, CQzlSurface& surface);

// Welds the current vertex onto the first marked corner (walking every surface of every sector
// in order) that is on another world vertex: every corner on the current vertex's world vertex
// moves to the marked corner's, every corner mark of the level is cleared, and the old world
// vertex leaves the level when nothing uses it any more. With rebuild, every sector holding a
// moved corner is rebuilt, the current sector among them. False, with nothing changed, without
// a current vertex or without such a marked corner.
bool LinkVertex(C3dView& view, bool rebuild);

// Gives the current vertex a world vertex of its own: a copy of the shared one, appended with a
// use count of 1. The current vertex becomes -1; with rebuild the current sector is rebuilt.
// False, with nothing changed, when the current vertex's world vertex is not shared
// (VertexIsShared).
bool UnlinkVertex(C3dView& view, bool rebuild);

// Copies the current surface's surface flags, face flags, geometry, light and texture modes,
// extra light and material to the surface across its adjoin (the first surface owning the
// adjoin's mirror), gives that surface's adjoin the current adjoin's flags and rebuilds its
// sector. False, with nothing changed, when the current surface has no adjoin or nothing owns
// its mirror.
bool CopySurfaceToTwin(C3dView& view);

// ---- The Link ("&Link Ctrl+L") and Unlink ("U&nlink Ctrl+U") commands ----

// Link: enabled when a sector is current and either a vertex is current or the current surface
// has no adjoin.
[[nodiscard]] bool CanLink(const C3dView& view);
// Inside an undo step: LinkSurface without a current vertex, else LinkVertex with rebuilding.
// True when something was linked; a link that finds nothing leaves no undo step.
bool RunLinkCommand(C3dView& view);

// Unlink: enabled when a sector is current and either the current vertex is shared or, without a
// current vertex, the current surface has an adjoin.
[[nodiscard]] bool CanUnlink(const C3dView& view);
// Inside an undo step: UnlinkSurface with rebuilding without a current vertex, else UnlinkVertex
// with rebuilding (a current vertex that is not shared is left alone). True when something was
// unlinked.
bool RunUnlinkCommand(C3dView& view);
