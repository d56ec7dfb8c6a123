#pragma once
// Generated levels for timing and for feeding files to the core: box sectors on a square grid,
// each joined to its neighbours by adjoin pairs, with materials, things, templates and cogs.

#include "level/QzlSections.h"

// How the boxes take their corners: one world vertex per grid point, shared by the boxes that
// meet there, or eight world vertices of each box's own (the shape of hand-built levels, whose
// rooms are joined but rarely share vertices).
enum class EGridVertices {
    shared,
    ownPerBox
};

// Builds a level of `sectors` boxes (at least 1). Deterministic for a given count.
void GenerateGridLevel(CQzlSections& level, int sectors,
                       EGridVertices vertices = EGridVertices::shared);
