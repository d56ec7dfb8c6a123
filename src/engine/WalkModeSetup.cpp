#include "engine/WalkMode.h"

#include "engine/C3dView.h"

void SetWalkMode(C3dView&) {}
