#pragma once
// Small levels built in code for the editing tests: a box room, two joined rooms, an L corridor
// a room above a room, a hexagonal
// room and a room with a sloped ceiling. Every builder gives a level that passes ValidateLevel with
// use counts, with planes, surface and sector boxes, centres and radii computed and the adjoins
// linked.
//
// Box sectors are axis-aligned with their surfaces in the order floor (y = lo), ceiling (y = hi),
// wall x = lo, wall x = hi, wall z = lo, wall z = hi; every normal points into the sector. Walls
// have material 0 ("dflt.mat") and geometry mode 4; surfaces joined by an adjoin have no material
// and geometry mode 0.
//
// CFixtureEngine bundles a level with default settings, document state, an empty game, the
// recording host and the scripted inputs, and an engine object over them.

#include "engine/C3dView.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "support/RecordingEngineHost.h"
#include "support/ScriptedInput.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Surface positions within a box sector's surface list.
enum EBoxSide {
    kBoxFloor = 0,
    kBoxCeiling,
    kBoxXLow,
    kBoxXHigh,
    kBoxZLow,
    kBoxZHigh
};

// An empty level with one material "dflt.mat" and one colour map "dflt.cmp".
CQzlSections MakeEmptyLevel();

// Appends a box sector from lo to hi; world vertices closer than 0.0001 to existing ones are
// shared. Returns its index. Bounds are not recomputed (call FinishFixture when done).
int AddBoxSector(CQzlSections& level, const CVector3& lo, const CVector3& hi);

// The parts of a box sector, for sectors of other shapes: an empty sector (colour map 0, ambient
// light 0.5) and a wall (material 0, geometry mode 4) with the given corners, appended to
// sector's surface list and wound so that its normal points towards inside; world vertices are
// shared as above. Each returns the new index.
int AddEmptySector(CQzlSections& level);
int AddFacingSurface(CQzlSections& level, int sector, const CVector3& inside,
                     const std::vector<CVector3>& corners);

// The surface index of side of sector.
int BoxSurface(const CQzlSections& level, int sector, EBoxSide side);

// Joins two surfaces with a new adjoin pair (flags 7), makes both portals (no material,
// geometry mode 0). Returns the first new adjoin's index.
int JoinSurfaces(CQzlSections& level, int surfaceA, int surfaceB);

// Appends a thing of template "crate" (named "crate") at position in sector; returns its index.
int AddCrate(CQzlSections& level, int sector, const CVector3& position);

// Adds a file of the level's own (a cog script, say) at its sorted place.
void AddLevelFile(CQzlSections& level, const std::string& name, std::string_view text);

// The first size bytes of a colour map of the level's own: a 64-byte header of zeros, then the
// palette with entry i = (i, 255 - i, i / 2) and the light tables (byte k = k % 256). A size below
// 832 is a file cut short inside its palette.
std::vector<std::uint8_t> MakeTestColorMap(std::size_t size = 17216);

// Appends a cog of script with values.
void AddCog(CQzlSections& level, const std::string& script, std::vector<std::string> values);

// Recomputes planes and bounds, sets collide boxes to the bounding boxes and links the adjoins.
void FinishFixture(CQzlSections& level);

// One box from (0, 0, 0) to (1, 1, 1).
CQzlSections MakeBoxRoom();
// Sector 0 from (0, 0, 0) to (1, 1, 1) and sector 1 from (1, 0, 0) to (2, 1, 1), joined through
// the wall x = 1 (sector 0's wall x high: adjoin 0; sector 1's wall x low: adjoin 1).
CQzlSections MakeTwoJoinedRooms();
// Sector 0 (0..1, 0..1, 0..1), sector 1 (1..2, 0..1, 0..1), sector 2 (1..2, 0..1, 1..2): joined
// 0-1 through x = 1 (adjoins 0, 1) and 1-2 through z = 1 (adjoins 2, 3).
CQzlSections MakeLCorridor();
// Sector 0 (0..1, 0..1, 0..1) below sector 1 (0..1, 1..2, 0..1), joined through y = 1
// (sector 0's ceiling: adjoin 0; sector 1's floor: adjoin 1).
CQzlSections MakeRoomAboveRoom();

// A box from (0, 0, 0) to (2, 1, 1) whose floor is two squares meeting at x = 1: surfaces 0 (x
// from 0 to 1) and 1 (from 1 + gap to 2), then the ceiling, the walls x = 0 and x = 2, and the
// walls z = 0 and z = 1, each one rectangle or, split, two squares meeting at x = 1. Unless gap
// is 0 the floor is not closed.
struct CTwoSquareFloor {
    float gap = 0.0f;
    bool splitNearWall = false;  // z = 0
    bool splitFarWall = false;   // z = 1
};
CQzlSections MakeTwoSquareFloor(const CTwoSquareFloor& shape = {});

// A hexagonal room: the prism over the regular hexagon of radius 1 around (1, y, 1) with corners
// at (1 + cos 60k, 1 + sin 60k), from y = 0 to 1. Surfaces: floor, ceiling, then the six walls.
CQzlSections MakeHexRoom();

// A box over (0..1, 0..1) in x and z whose ceiling slopes from y = 1 at x = 0 to y = 1.5 at
// x = 1. Surfaces: floor, ceiling, walls x = 0, x = 1, z = 0, z = 1.
CQzlSections MakeSlopedCeilingRoom();

class CFixtureEngine {
public:
    // sound (may be null) is the engine's sound device; it must outlive the engine.
    explicit CFixtureEngine(CQzlSections level, SoundDevice* sound = nullptr);
    CFixtureEngine(const CFixtureEngine&) = delete;
    CFixtureEngine& operator=(const CFixtureEngine&) = delete;

    CQzlSections m_level;
    CSettings m_settings;
    CDocumentState m_document;
    CGameResources m_game;
    CRecordingEngineHost m_host;
    CScriptedKeyState m_keys;
    CScriptedClock m_clock;
    CScriptedRandom m_random;
    C3dView m_view;
};
