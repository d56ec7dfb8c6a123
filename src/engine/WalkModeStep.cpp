#include "engine/WalkMode.h"

#include "engine/C3dView.h"

void WalkModeStep(C3dView&) {}

void StartTextureAnimation(C3dView&, CTexture&, int, float, int) {}

void UpdateCameraSector(C3dView&, int) {}
