#pragma once
// Show of the Errors window: the element that a line of the level checker's report names (its
// entries in the sector, surface, vertex and thing lists) becomes the engine's selection, and the
// camera is put in front of it.

#include <cstdint>

class C3dView;

// The entries of one report line; -1 names no element of that kind.
struct CErrorEntry {
    std::int32_t m_sector = -1;
    std::int32_t m_surface = -1;
    std::int32_t m_vertex = -1;  // corner position within the surface
    std::int32_t m_thing = -1;
};

// What a line names, by which of its entries are -1.
enum class EErrorShow {
    None,         // material and cog lines, and any other combination
    Sector,       // sector only
    Surface,      // sector and surface
    Vertex,       // sector, surface and corner
    SectorThing,  // sector and thing
    Thing,        // thing only
};

[[nodiscard]] EErrorShow ErrorShowCase(const CErrorEntry& entry);

// Places the selection and the camera for entry and returns the case applied:
// - Sector: the sector becomes current, the camera goes to it (ResetCameraTarget);
// - Surface: sector and surface current, the camera 0.5 in front of the mean of the surface's
//   corners, looking against its normal;
// - Vertex: sector, surface and corner current, the corner marked, the camera 0.5 in front of its
//   world vertex along the surface's normal, looking against it; the sector's markers are built
//   again;
// - SectorThing: sector and thing current, the camera 0.5 behind the thing along z looking along
//   +z; the sector's markers are built again;
// - Thing: the thing current (the current sector stays), the camera as for SectorThing.
// The rest of the selection is cleared and the marks of the corners picked before go, as a pick
// does. Nothing is stored in the level: the marks and the rebuilds change only what is shown, so
// the document is not marked modified and there is nothing to undo. A line naming an element the
// level no longer has (an index outside its list, a corner beyond the surface's, a corner naming
// no world vertex) changes nothing and gives None.
EErrorShow PlaceErrorEntry(C3dView& view, const CErrorEntry& entry);

// PlaceErrorEntry, then, with the camera-placed flag raised, a forced frame and every view of the
// document updated.
EErrorShow ShowErrorEntry(C3dView& view, const CErrorEntry& entry);
