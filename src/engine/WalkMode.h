#pragma once
// Walk mode: the 3D view as a small preview of the game. Set-up and tear-down prepare the movers,
// switches, spinning things, scrolling and animated textures and the sounds; the step runs one
// frame of the walking player and of everything that moves.

class C3dView;
class CTexture;

// Reads the engine's walk-mode flag: on, prepares walk mode; off, tears it down. Both end by
// deleting the point markers and drawing one forced frame.
void SetWalkMode(C3dView& view);

// One frame of walk mode: player physics, activation of touched movers, the sector's sound, the
// movers' cycles, key and cel animations, then the camera placed.
void WalkModeStep(C3dView& view);

// Starts the cel animation of texture from firstCel at rate cels per second, looping when loop
// is 1; a texture whose animation runs is left alone.
void StartTextureAnimation(C3dView& view, CTexture& texture, int firstCel, float rate, int loop);

// Makes the current sector the one that holds the camera, searching from sector and its
// neighbours, then from the current sector and its neighbours.
void UpdateCameraSector(C3dView& view, int sector);

// The mouse's walk-mode navigation of one frame: turning, tilting, and walking with the right
// button held.
void NavigateWithMouse(C3dView& view);
