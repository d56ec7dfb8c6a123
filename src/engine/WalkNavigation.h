#pragma once
// The camera on leaving walk mode.

class C3dView;

// Levels the camera where it stands: the view direction loses its height and is made of length
// 1 again (along +z when it had no level part), the up axis becomes (0, 1, 0). The eye stays
// where it is.
void LevelWalkCamera(C3dView& view);
