#include "ui/ColorDialog.h"

#include <QColorDialog>

#include <utility>

namespace {

CColorDialogHook& Hook()
{
    static CColorDialogHook hook;
    return hook;
}

}  // namespace

std::optional<QColor> QzGetColor(const QColor& initial, QWidget* parent)
{
    if (Hook()) {
        std::optional<QColor> chosen = Hook()(initial, parent);
        if (chosen && !chosen->isValid())
            return std::nullopt;
        return chosen;
    }
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

CColorDialogHook SetColorDialogHook(CColorDialogHook hook)
{
    return std::exchange(Hook(), std::move(hook));
}
