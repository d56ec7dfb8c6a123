#pragma once
// The Create Door and Create Elevator dialogs' decisions, kept apart from their widgets: which
// templates they offer, the model their preview shows, which edits are enabled, when OK may be
// pressed, the ranges of their fields and the values they hand to the builders.

#include "tools/CreateDoor.h"
#include "tools/CreateElevator.h"
#include "tools/ExtrudeChoices.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CQzlTemplate;

// ---- Templates ----

// A door template: its name holds "door" or begins with "14d", and is none of the door models
// that are no doors (kDoorExclusions, compared exactly). Letter case counts.
[[nodiscard]] bool IsDoorTemplateName(std::string_view name);
// An elevator template: its name holds "elev" or "lift", and does not hold "switch" (the
// elevators' switches). Letter case counts.
[[nodiscard]] bool IsElevatorTemplateName(std::string_view name);
// The door models that are no doors.
[[nodiscard]] std::span<const char* const> DoorExclusions();

// The positions in templates of the entries whose names pass isOffered, in list order.
[[nodiscard]] std::vector<int>
OfferedTemplates(const std::vector<std::unique_ptr<CQzlTemplate>>& templates,
                 bool (*isOffered)(std::string_view name));

// The model file a template's preview shows: the text after "model3d=" in its parameter text up
// to the first blank or tab (as the template list reads it); the whole parameter text when it
// names none.
[[nodiscard]] std::string TemplatePreviewModel(std::string_view params);

// ---- Create Door ----

// The range of the front and back "Depth:".
inline constexpr CExtrudeRange kDoorDepthRange{0.01f, 10.0f};

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

// ---- Create Elevator ----

// The ranges of the shaft's and the sub-shaft's "Height:".
inline constexpr CExtrudeRange kShaftHeightRange{0.1f, 100.0f};
inline constexpr CExtrudeRange kSubShaftHeightRange{0.0f, 100.0f};

struct CElevatorDialogValues {
    std::string m_template;
    float m_x = 0.0f;  // the model's extents ("X:", "Y:", "Z:")
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_shaftHeight = 1.0f;
    float m_subShaftHeight = 0.0f;  // the model's Y extent once a model is shown
    bool m_up = true;               // "Up"; false for "Down"
    bool m_connect = false;
};

struct CElevatorDialogEnables {
    bool m_shaftHeight = false;  // the shaft's "Height:"
    bool m_ok = false;           // "&OK"
};

// The shaft's height while connect is unchecked; OK, as for the door, only for a model with a
// size in all three axes.
[[nodiscard]] CElevatorDialogEnables ElevatorDialogEnables(const CElevatorDialogValues& values);

// The builder's values.
[[nodiscard]] CElevatorParams ElevatorParamsFromDialog(const CElevatorDialogValues& values);
