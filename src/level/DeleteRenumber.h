#pragma once
// Removing records from the level and renumbering every reference to the records behind them.
//
// After the record at index d is removed from a list, every reference to an index above d goes
// down by 1; what becomes of references equal to d is said per operation. Callers compose these
// (Delete Sector first deletes the sector's things and surfaces, then the sector), run the adjoin
// link pass and rebuild the render data afterwards, and reset the selection they hold.
//
// Cog values that name surfaces, sectors or things follow through the cogs' scripts, found among
// the level's own files first, then in the game's archive; a cog whose script is found nowhere
// keeps its values, and a game without an archive only skips that step.
//
// Index arguments out of range leave the level unchanged.

class CQzlSections;
struct CGameResources;

// Removes surface s and its entries in the sectors' surface lists (later entries go down by 1),
// takes its corners off the use counts, removes every world vertex left without a use (through
// RemoveVertexRefs) and renumbers the cogs' surface values (a value equal to s becomes -1). The
// surface's adjoin is not touched: callers delete it first.
void DeleteSurface(CQzlSections& level, const CGameResources& game, int surface);

// Removes world vertex v and its use count; every corner naming a higher vertex goes down by 1.
// With removeCorners, the corners naming v are removed from their surfaces.
void RemoveVertexRefs(CQzlSections& level, int vertex, bool removeCorners);

// Removes adjoin a and its mirror. Surface adjoin fields naming either become -1, the others are
// renumbered, and so are the mirrors of the remaining adjoins. An adjoin without a valid mirror
// of its own (-1, itself, out of range) is removed alone.
void DeleteAdjoin(CQzlSections& level, int adjoin);

// Removes material m; surfaces that used it take the default material "dflt.mat" (appended when
// the level has none). When m is "dflt.mat" itself, its surfaces take the next material of that
// name, appended again when there is none.
void DeleteMaterial(CQzlSections& level, int material);

// Removes thing t and renumbers the cogs' thing values.
void DeleteThing(CQzlSections& level, const CGameResources& game, int thing);

// Removes the sector record s and renumbers the cogs' sector values. Its surfaces, their adjoins
// and its things are the caller's to delete first, as is the sector field of the other things.
void DeleteSector(CQzlSections& level, const CGameResources& game, int sector);

// Rebuilds the material list from the materials the surfaces use, in the order of first use by
// surface index: unused materials go, materials of equal name (letter case ignored) merge into the
// first. A surface naming no valid material gets -1.
void CompactMaterials(CQzlSections& level);
