#include "engine/WalkMode.h"

#include "engine/C3dView.h"

void NavigateWithMouse(C3dView&) {}
