#pragma once
// Copying a sector group from one level into another: the sector library's Save copies a group of
// the open level into an empty level, its Load copies a group of a library file into the open
// level.
//
// Every sector of the source whose group name matches (letter case ignored) is appended to the
// destination with its surfaces, corners and things, and with the materials, colour maps and
// sounds they name (found by name in the destination, appended when absent). Corners of one copied
// sector that stand exactly at the same place share a new world vertex; no world vertex is shared
// with what was there before the sector's copy or with another copied sector.
//
// Adjoins: two copied surfaces that were adjoined are adjoined again; a copied surface whose
// neighbour stayed behind is adjoined to the destination's surface that lies on it facing the
// other way (the same number of corners, each within 0.001), when that surface is free, and stays
// unadjoined otherwise. The new adjoins take the source adjoins' flags and dist.
//
// Cogs: each source cog's surface, sector and thing values that name a copied record name its
// copy; those naming anything else become -1. A cog with at least one value taken over this way is
// copied; the others are copied only when the destination has no cog of their script. Cog values
// that name a cog follow that cog to its copy, or become -1 when it was not copied. The scripts
// are looked for among the source's own files, then in the game's archive, then among the
// destination's own files; a cog whose script is found nowhere cannot be checked and is not
// copied unless it has no values.
//
// Templates and the other resource lists of the destination are left alone: the callers rebuild
// them (BuildResourceLists) with the render data afterwards.

#include <string>
#include <string_view>

class CQzlSections;
struct CGameResources;

struct CSectorGroupCopy {
    // Why nothing was copied (the source level is damaged, or it is the destination itself);
    // empty when the copy ran.
    std::string m_problem;
    int m_sectors = 0;
    int m_surfaces = 0;
    int m_things = 0;
    int m_adjoinPairs = 0;  // pairs made, between copies or to the destination's surfaces
    int m_cogs = 0;
    int m_uncheckedCogs = 0;  // cogs with values whose script was found nowhere: not copied
};

// Copies the sectors of source whose group name equals groupName (letter case ignored) into
// destination as told above. The source is checked first (every index in range, adjoin mirrors
// pointing back); a damaged source leaves the destination as it was and says why. The
// destination's adjoins are linked afterwards; the sectors' render data are not built.
CSectorGroupCopy CopySectorGroup(CQzlSections& destination, const CQzlSections& source,
                                 std::string_view groupName, const CGameResources& game);
