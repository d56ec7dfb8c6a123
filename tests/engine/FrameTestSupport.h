#pragma once
// The engine of a frame-routine test made ready to draw on a test device.

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/RenderData.h"

// Builds the engine's level and readies it to draw on device at 100 x 100 pixels, the camera near
// the wall x = 0 of sector 0, half-way up, looking along +x (it sees the floor, the ceiling and
// the side walls of the unit box it stands in).
inline void ReadyToDraw(C3dView& v, RenderDevice& device)
{
    RebuildAll(v, false);
    v.m_device = &device;
    v.m_skip = 0;
    v.m_viewport.m_renderWidth = 100;
    v.m_viewport.m_renderHeight = 100;
    SetUpViewAndProjection(v, 100, 100);
    SetCameraAxes(v, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    SetCameraPosition(v, 0.02f, 0.5f, 0.5f);
    v.m_selection.m_sector = 0;
}
