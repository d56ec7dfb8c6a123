#include "engine/gl/GlDisplayModes.h"

#include "engine/Camera.h"

void ListDisplayModes(C3dView& view)
{
    ResetDisplayModes(view);
    // The framebuffer has the desktop's depth, so every size is taken.
    constexpr int kDepth = 32;
    for (const auto& [width, height] : kStretchRenderSizes)
        AddDisplayMode(view, width, height, kDepth, kDepth);
}
