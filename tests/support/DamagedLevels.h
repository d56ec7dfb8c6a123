#pragma once
// Levels with the damage the level checker reports, for the tests of every part of the editor
// that must open, draw, pick, show, store, check and repair them without reading outside a list.
//
// Each is two joined rooms (MakeTwoJoinedRooms: sector 0 from (0, 0, 0) to (1, 1, 1), sector 1
// from (1, 0, 0) to (2, 1, 1), adjoins 0 and 1 through the wall x = 1) with a crate in each
// sector, a sound and a cog, finished (planes, boxes, linked adjoins), then damaged in one index.
// m_opens says whether the loaders open the stored file: they refuse only what leaves no geometry
// to show (a corner's world vertex or a sector's surface out of range).

#include "level/QzlSections.h"

#include <span>

struct CDamagedLevel {
    const char* m_name;  // "mirror-none", ...: usable as a test and file name
    void (*m_damage)(CQzlSections& level);
    bool m_opens;
};

// Every kind of damage, the ones the loaders open first.
std::span<const CDamagedLevel> DamagedLevels();

// The undamaged level every entry starts from.
CQzlSections MakeUndamagedLevel();

// The level of one entry.
CQzlSections MakeDamagedLevel(const CDamagedLevel& damage);
