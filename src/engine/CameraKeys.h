#pragma once
// The camera keys of a 3D view: the arrow keys move forward and back and turn, Page Up and Page
// Down tilt, and View Move "&Foreward" / "&Backward" take one small step.
//
// A held key does not move once per key message: while it is held the camera steps "FrameRate"
// times per second, whatever the keyboard's repeat rate, with a forced frame after every step.
// The window drives this with a timer: Begin when the key goes down, Tick from the timer until
// Tick answers false (neither key of the pair held any more). Nothing blocks; the window keeps
// handling its messages between ticks.

#include <cstdint>

class C3dView;

// One step of 0.05 along the view direction (back with forward false), then a forced frame.
void StepCamera(C3dView& view, bool forward);

// Which pair of keys a stepper follows: its first key steps by +s, its second by -s (the second
// wins when both are held).
enum class ECameraKeys {
    Move,  // Up (forward), Down (back): MoveCamera
    Turn,  // Right (+), Left (-): RotateCamera about (0, 1, 0)
    Tilt   // Page Up (+), Page Down (-): RotateCamera about the horizontal axis forward x up
};

class CCameraKeyStepper {
public:
    // A key of the pair went down: in edit mode 0 the current surface and thing are cleared; the
    // period starts now.
    void Begin(C3dView& view, ECameraKeys which);

    // Reads the keys. False, ending the stepping, when neither key of the pair is held (or Begin
    // was never called). Otherwise steps when a period of 1000 / "FrameRate" ms (integer
    // division; a "FrameRate" below 1 counts as 1) has passed since the last step (or Begin), by
    // s = 0.2 with Shift, else 0.05 with Ctrl, else 0.1, negative with the second key held, and
    // asks for a forced frame; true.
    bool Tick(C3dView& view);

    bool IsActive() const { return m_active; }
    ECameraKeys Keys() const { return m_which; }

private:
    ECameraKeys m_which = ECameraKeys::Move;
    std::uint32_t m_t0 = 0;
    bool m_active = false;
};
