#pragma once
// The modifier keys held at this moment, and the camera keys. Commands read them when they run
// (nudge steps, mark adding, camera orbit, the camera keys' stepping).

// The keys that move the camera while they are held: forward and back, turn, tilt.
enum class EKey {
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown
};

class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool IsShiftDown() const = 0;
    virtual bool IsCtrlDown() const = 0;
    virtual bool IsAltDown() const = 0;
    // Whether key is held now; a key state that does not follow these keys reports none held.
    virtual bool IsKeyDown(EKey /*key*/) const { return false; }
};
