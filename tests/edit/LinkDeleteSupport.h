#pragma once
// What the delete and link tests share: small levels of other shapes than boxes, finding a corner
// by its position, the rules of the level oracle a level breaks, and the check that every
// sector's render data follows its corners (the sectors an operation changed were rebuilt).

#include "level/QzlSections.h"
#include "support/LevelOracle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

// The rules the oracle finds broken.
std::set<EOracleRule> BrokenRules(const CQzlSections& level);

// Index of the corner of surface at position p; -1 when none is there.
int CornerAt(const CQzlSections& level, int surface, const CVector3& p);

// The surface of sector whose corners all lie in the plane coordinate axis = value; -1 if none.
int SurfaceInPlane(const CQzlSections& level, int sector, int axis, float value);

// The box (0, 0, 0) to (1, 1, 1) whose floor and wall z = 0 both have an extra corner at
// (0.5, 0, 0), in the middle of the edge they share.
CQzlSections MakeBoxWithEdgeMidpoint();
// A pyramid: the square floor (0, 0, 0) to (1, 0, 1) and four triangles up to (0.5, 1, 0.5).
CQzlSections MakePyramid();
// A tetrahedron over (0, 0, 0), (1, 0, 0), (0, 0, 1) and (0, 1, 0).
CQzlSections MakeTetrahedron();

// Success when the surface has the look Unlink gives without the engine's look: no adjoin,
// material 0, the surface flags given, face flags 4, geometry mode 4, light mode 3, texture
// mode 1.
::testing::AssertionResult HasSolidLook(const CQzlSurface& surface, std::uint32_t surfaceFlags);

// Success when every surface of every sector has one render vertex per corner at that corner's
// position (render vertices run in reverse corner order).
::testing::AssertionResult RenderDataFollowsCorners(const CQzlSections& level);
