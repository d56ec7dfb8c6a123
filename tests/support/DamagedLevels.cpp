#include "support/DamagedLevels.h"

#include "support/FixtureLevels.h"

#include <cstddef>

namespace {

CQzlSurface& Side(CQzlSections& level, int sector, EBoxSide side)
{
    return *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, side))];
}

const CDamagedLevel kDamaged[] = {
    // Adjoins: a mirror of none, beyond the list, pointing at itself (so the other side's mirror
    // does not point back), and a surface naming an adjoin that does not exist.
    {"mirror-none", [](CQzlSections& l) { l.m_adjoins[0]->m_mirror = -1; }, true},
    {"mirror-beyond", [](CQzlSections& l) { l.m_adjoins[1]->m_mirror = 7; }, true},
    {"mirror-negative", [](CQzlSections& l) { l.m_adjoins[1]->m_mirror = -9; }, true},
    {"mirror-not-back", [](CQzlSections& l) { l.m_adjoins[0]->m_mirror = 0; }, true},
    {"surface-adjoin-beyond", [](CQzlSections& l) { Side(l, 0, kBoxFloor).m_adjoin = 50; }, true},
    // Records naming list entries that do not exist.
    {"material-beyond", [](CQzlSections& l) { Side(l, 1, kBoxFloor).m_material = 9; }, true},
    {"material-negative", [](CQzlSections& l) { Side(l, 0, kBoxCeiling).m_material = -5; }, true},
    {"colormap-beyond", [](CQzlSections& l) { l.m_sectors[0]->m_colormap = 4; }, true},
    {"colormap-negative", [](CQzlSections& l) { l.m_sectors[1]->m_colormap = -3; }, true},
    {"sound-beyond", [](CQzlSections& l) { l.m_sectors[1]->m_sound = 7; }, true},
    {"sound-negative", [](CQzlSections& l) { l.m_sectors[0]->m_sound = -4; }, true},
    {"thing-sector-beyond", [](CQzlSections& l) { l.m_things[1]->m_sector = 42; }, true},
    {"thing-sector-negative", [](CQzlSections& l) { l.m_things[0]->m_sector = -2; }, true},
    // Every kind at once.
    {"all-opened-at-once",
     [](CQzlSections& l) {
         l.m_adjoins[1]->m_mirror = 7;
         Side(l, 1, kBoxFloor).m_material = 9;
         l.m_sectors[0]->m_colormap = 4;
         l.m_sectors[1]->m_sound = 7;
         l.m_things[1]->m_sector = 42;
     },
     true},
    // No geometry to show: refused by the loaders.
    {"world-vertex-beyond",
     [](CQzlSections& l) { Side(l, 0, kBoxFloor).m_vertices[2].m_worldVertex = 999; }, false},
    {"world-vertex-negative",
     [](CQzlSections& l) { Side(l, 1, kBoxCeiling).m_vertices[0].m_worldVertex = -3; }, false},
    {"sector-surface-beyond", [](CQzlSections& l) { l.m_sectors[0]->m_surfaces.push_back(99); },
     false},
};

}  // namespace

std::span<const CDamagedLevel> DamagedLevels()
{
    return kDamaged;
}

CQzlSections MakeUndamagedLevel()
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    level.m_sounds.push_back("drip.wav");
    level.m_sectors[1]->m_sound = 0;
    AddCog(level, "00_door.cog", {"0", "1", "-1", "-1"});
    FinishFixture(level);
    return level;
}

CQzlSections MakeDamagedLevel(const CDamagedLevel& damage)
{
    CQzlSections level = MakeUndamagedLevel();
    damage.m_damage(level);
    return level;
}
