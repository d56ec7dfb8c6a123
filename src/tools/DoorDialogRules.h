#pragma once
// The Create Door dialog's decisions, kept apart from its widgets: which edits are enabled, when
// OK may be pressed, and the values it hands to the door builder.

#include "tools/CreateDoor.h"

#include <string>

// What the dialog's controls hold.
struct CDoorDialogValues {
    std::string m_template;
    float m_x = 0.0f;  // the model's extents, shown in the disabled edits "X:", "Y:", "Z:"
    float m_y = 0.0f;
    float m_z = 0.0f;
    bool m_frontSunken = true;
    float m_frontDepth = 0.05f;
    bool m_backSunken = true;
    float m_backDepth = 0.05f;
    bool m_connect = false;
    int m_direction = 0;  // 0 "Up", 1 "Down", 2 "Left", 3 "Right"
};

struct CDoorDialogEnables {
    bool m_frontDepth = false;  // the front "Depth:" edit
    bool m_backDepth = false;   // the back "Depth:" edit
    bool m_connect = false;     // "Connect to Opposite Surface"
    bool m_ok = false;          // "&OK"
};

// Front depth with front "Sunken"; connect with back "Sunken"; back depth with back "Sunken" and
// connect unchecked; OK only for a model with a size in all three axes (a model that could not
// be read, or none chosen, would give a door of no size).
[[nodiscard]] CDoorDialogEnables DoorDialogEnables(const CDoorDialogValues& values);

// The builder's values: a "Simple" side gives depth 0, and "Simple" at the back clears connect.
[[nodiscard]] CDoorParams DoorParamsFromDialog(const CDoorDialogValues& values);
