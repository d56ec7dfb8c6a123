#pragma once
// What walk mode reads from the level's cogs when it starts: the movers their door, elevator and
// switch cogs drive, the force-field hum, conveyors, sliding ceilings and animated surfaces; and
// the CD track it plays.

#include "math/Vector3.h"

class C3dView;

// Reads every cog of the level in index order and applies the first rule its script matches.
// Nothing is read when the game archive is not open.
void ReadWalkCogs(C3dView& view);

// The scroll speeds (u, v) of a conveyor surface whose first edge runs from corner0 to corner1
// (world positions) with texture coordinates (u0, v0) to (u1, v1), normal n, moving along
// direction at speed. Both are 0 when the edge, its texture edge or the direction has no length,
// or when any input is not finite.
struct CScrollSpeed {
    float u = 0.0f;
    float v = 0.0f;
};
CScrollSpeed ConveyorScrollSpeed(const CVector3& corner0, const CVector3& corner1, float u0,
                                 float v0, float u1, float v1, const CVector3& n,
                                 const CVector3& direction, float speed);

// The track played for a random number r (0 to 32767) on a CD of count tracks: r x count / 32767
// + 1, worked in 64 bits and kept within 1..count; 0 when count is below 1.
int CdTrackFromRandom(int r, int count);
