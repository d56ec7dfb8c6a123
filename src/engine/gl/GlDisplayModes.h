#pragma once
// The display-mode list of a 3D view with the OpenGL device. There are no exclusive display
// modes: an entry other than "None" is the size of the offscreen framebuffer that every frame is
// drawn into before it is scaled into the window, so that "StretchMode" keeps its meaning.

#include <array>
#include <string>
#include <utility>
#include <vector>

class C3dView;

// The render sizes after "None", in list order ("StretchMode" 1 is the first).
inline constexpr std::array<std::pair<long, long>, 4> kStretchRenderSizes = {
    {{320, 240}, {640, 480}, {800, 600}, {1024, 768}}};

// Fills the view's display-mode list: "None", then "%ldx%ld" of each size above.
void ListDisplayModes(C3dView& view);

// The list ListDisplayModes gives a view, for a window that shows it before any view has a
// device: "None", then "%ldx%ld" of each size above.
[[nodiscard]] std::vector<std::string> DisplayModeList();
