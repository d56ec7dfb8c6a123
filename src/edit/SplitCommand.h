#pragma once
// The 3D view's Split command ("&Split Sector/Surface... S"): what it runs and when it is enabled.
// The view calls these; the undo step and the question are taken here.

class C3dView;

// Enabled in surface mode (the split-sector switch off) when a surface is current and
// CanSplitSurface holds. Sector mode is not handled here yet: disabled.
bool CanRunSplitCommand(const C3dView& view);

// Asks "Do you want to split the current surface?" (while "Warning" is on), then splits the
// current surface with its sectors rebuilt (SplitSurface) inside an undo step. False when the
// command is disabled, the answer is No or the split was refused (the undo list and the modified
// flag then as they were).
bool RunSplitCommand(C3dView& view);
