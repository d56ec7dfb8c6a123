#pragma once
// The modifier keys held at this moment. Commands read them when they run (nudge steps, mark
// adding, camera orbit).

class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool IsShiftDown() const = 0;
    virtual bool IsCtrlDown() const = 0;
    virtual bool IsAltDown() const = 0;
};
