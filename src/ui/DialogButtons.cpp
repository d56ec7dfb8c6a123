#include "ui/DialogButtons.h"

#include "ui/DialogIds.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include <utility>

QDialogButtonBox* MakeDialogButtons(QDialog& dialog, Qt::Orientation orientation,
                                    std::function<void()> help)
{
    auto* buttons = new QDialogButtonBox(orientation, &dialog);
    auto* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QString::number(Ctl::kOk));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QString::number(Ctl::kCancel));
    auto* helpButton = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    helpButton->setObjectName(QString::number(Ctl::kHelp));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, std::move(help));
    return buttons;
}
