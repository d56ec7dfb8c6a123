#pragma once
// The document fields that the core reads, with the defaults of a new document. The application's
// document owns one and keeps it current; tests set it directly.

#include <cstdint>

struct CDocumentState {
    // Edit mode: 0 none, 1 sector, 2 surface, 4 texturing, 6 vertex, 7 object.
    std::int32_t m_editMode = 0;
    // Render mode 0..4: "All Sectors Rendered", "Sector Rendered && Wireframes", "All Sectors as
    // Wireframes", "Sector Rendered", "Sector as Wireframe". A new document takes the "RenderMode"
    // setting (default 1).
    std::int32_t m_renderMode = 1;
    // Grid switch ("&On G"), 0 or 1: grid mode on.
    std::int32_t m_gridOn = 0;
    // Split-sector switch, 0 or 1 (the "&Sector M" Sector Mode switch): Split and Carve work on
    // the sector instead of the surface.
    std::int32_t m_sectorMode = 0;
    // Lighting flag ("&Light"): 0 draws everything at full brightness. A new document takes the
    // "LightMode" setting (default 1).
    std::int32_t m_lightMode = 1;
    // Enlarged-view flag ("Enlarge Vie&w W"): field of view pi/8 instead of pi/3, point markers a
    // quarter of their size.
    std::int32_t m_enlargeView = 0;
    // Volume flag V of the grid-point markers, the "S&urface Only" switch: with V and
    // E both 0 the grid fills the sector, otherwise it is placed per surface. Default 1.
    std::int32_t m_gridSurfaceOnly = 1;
    // Edge-division flag E of the grid-point markers, the "&Edges Only" switch: set, each surface
    // edge is divided evenly.
    std::int32_t m_gridEdgesOnly = 0;
    // 1 while the document's Object Frames window is open: picking and the deselection of a right
    // drag in the 3D view are blocked then.
    std::int32_t m_objectFramesOpen = 0;
};
