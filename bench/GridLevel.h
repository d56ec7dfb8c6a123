#pragma once
// Generated levels for timing and for feeding files to the core: box sectors on a square grid,
// each joined to its neighbours by adjoin pairs, with materials, things, templates and cogs.

#include "level/QzlSections.h"

// Builds a level of `sectors` boxes (at least 1). Deterministic for a given count.
void GenerateGridLevel(CQzlSections& level, int sectors);
