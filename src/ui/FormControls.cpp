#include "ui/FormControls.h"

#include "ui/FlagDialogs.h"
#include "ui/FormFields.h"

#include <QString>
#include <QWidget>

void EnableControls(QWidget& form, std::span<const int> ids, bool enabled)
{
    for (const int id : ids)
        if (auto* control = form.findChild<QWidget*>(QString::number(id)))
            control->setEnabled(enabled);
}

bool ReadFields(QWidget& form, bool& reading, const std::function<void(CFieldExchange&)>& exchange)
{
    if (reading)
        return false;
    reading = true;
    CFieldExchange fields(form, CFieldExchange::EDirection::FromControls);
    exchange(fields);
    reading = false;
    return fields.Ok();
}

bool EditFlagsInDialog(const CFlagDialogTemplate& dialog, std::uint32_t& flags, QWidget* parent)
{
    CFlagDialog flagDialog(dialog, flags, parent);
    if (flagDialog.exec() != QDialog::Accepted)
        return false;
    flags = flagDialog.Flags();
    return true;
}
