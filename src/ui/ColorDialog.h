#pragma once
// The system's colour dialog, as the colour swatches of the forms and pages open it. Tests
// install a hook that answers instead of showing the modal dialog.

#include <QColor>

#include <functional>
#include <optional>

class QWidget;

// The colour chosen in the colour dialog started at initial; nothing for Cancel. With a hook
// installed the hook answers and nothing is shown.
std::optional<QColor> QzGetColor(const QColor& initial, QWidget* parent);

using CColorDialogHook =
    std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;
// Installs hook (an empty function removes it); returns the previous one.
CColorDialogHook SetColorDialogHook(CColorDialogHook hook);
