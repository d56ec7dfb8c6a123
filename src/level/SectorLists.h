#pragma once
// The level's name lists that sectors refer to by position (sounds, colour maps): how much of a
// list the sectors use, and the new list that the Sounds and Color Map dialogs write at OK, with
// every sector following its entry by name so that it keeps the sound or colour map it had.

#include "level/QzlSections.h"
#include "level/QzlSector.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One more than the highest index that a sector gives in index (m_sound, m_colormap); -1 for a
// level without sectors. A sector with a negative index counts as 0; the count stops at the
// largest int (a damaged level may give the largest index).
int ListEntriesUsed(const CQzlSections& level, std::int32_t CQzlSector::*index);

// The colour map to show first for the current sector: that sector's colour map when sector is
// one of the level's sectors and its index names an entry of the level's list, else 0.
int SectorColorMapOrFirst(const CQzlSections& level, int sector);

// The position of the first of names equal to name (letter case ignored), -1 for none.
int FindListName(std::span<const std::string> names, std::string_view name);

// Which list a sector list edit changes and what becomes of a sector whose entry is gone.
struct CSectorListKind {
    std::vector<std::string> CQzlSections::*m_list;
    std::int32_t CQzlSector::*m_index;
    // True: a sector whose entry the new list no longer holds refuses the edit. False: the
    // sector takes -1 (none), as does one whose index is beyond the old list.
    bool m_refuseGone;
};
inline constexpr CSectorListKind kSoundList{&CQzlSections::m_sounds, &CQzlSector::m_sound, false};
inline constexpr CSectorListKind kColorMapList{&CQzlSections::m_colormaps, &CQzlSector::m_colormap,
                                               true};

// The list of kind becomes names, each upper-cased, in order. Every sector whose index names an
// entry of the old list takes the position of the first new entry whose name equals that entry's
// (letter case ignored). A negative index stays; so does one beyond the old list when the kind
// refuses gone entries (a colour-map index has no "none"). False, with nothing changed, when the
// kind refuses or nothing would change.
bool SetSectorList(CQzlSections& level, const CSectorListKind& kind,
                   std::span<const std::string> names);

// ListEntriesUsed of the sectors' sound indexes.
int SoundsUsed(const CQzlSections& level);

// The Sounds dialog's OK: SetSectorList of the sound list, a sector whose sound is gone taking -1.
bool SetSoundList(CQzlSections& level, std::span<const std::string> names);
