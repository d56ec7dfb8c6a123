#pragma once
// A GOB archive of two levels for the import tests: "qzl\a.qzl" (a box room whose cog runs
// "door.cog") and "qzl\b.qzl" (two joined rooms whose cog runs "lift.cog"), the two scripts
// "cog\door.cog" ("door") and "cog\lift.cog" ("lift!") and "mat\wall.mat" ("wall").

#include "resources/GobArchive.h"

CGobArchive MakeTwoLevelArchive();
