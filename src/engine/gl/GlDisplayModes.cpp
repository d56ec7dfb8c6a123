#include "engine/gl/GlDisplayModes.h"

#include "engine/Camera.h"
#include "framework/CFormat.h"

void ListDisplayModes(C3dView& view)
{
    ResetDisplayModes(view);
    // The framebuffer has the desktop's depth, so every size is taken.
    constexpr int kDepth = 32;
    for (const auto& [width, height] : kStretchRenderSizes)
        AddDisplayMode(view, width, height, kDepth, kDepth);
}

std::vector<std::string> DisplayModeList()
{
    std::vector<std::string> list{"None"};
    for (const auto& [width, height] : kStretchRenderSizes)
        list.push_back(FormatC("%ldx%ld", width, height));
    return list;
}
