#pragma once
// Clean Up: the Errors window's fixed set of automatic repairs of the level.

class C3dView;

// Runs the repairs on view's level (the caller holds the undo step). Returns true when the level
// changed.
bool CleanUpLevel(C3dView& view);
