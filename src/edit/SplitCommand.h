#pragma once
// The 3D view's Split command ("&Split Sector/Surface... S"): what it runs and when it is enabled.
// The view calls these; the undo step and the question are taken here.

class C3dView;

// In sector mode (the split-sector switch on): enabled when a sector is current and
// CanSplitSector holds. In surface mode: when a surface is current and CanSplitSurface holds.
bool CanRunSplitCommand(const C3dView& view);

// Sector mode: asks "Do you want to split the current sector?" (while "Warning" is on), then
// splits the current sector with its messages (SplitSector). Surface mode: asks "Do you want to
// split the current surface?", then splits the current surface with its sectors rebuilt
// (SplitSurface). Either inside an undo step. False when the command is disabled, the answer is No
// or the split was refused (the undo list and the modified flag then as they were).
bool RunSplitCommand(C3dView& view);
