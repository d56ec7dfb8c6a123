#include "ui/DialogButtons.h"

#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QDialog>
#include <QPushButton>
#include <QToolButton>

#include <QVBoxLayout>
#include <algorithm>

QDialogButtonBox* MakeDialogButtons(QDialog& dialog, Qt::Orientation orientation, const QString& ok,
                                    const QString& cancel, int helpId,
                                    const std::function<void()>& help)
{
    auto* buttons = new QDialogButtonBox(orientation, &dialog);
    QPushButton* okButton = buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QString::number(Ctl::kOk));
    okButton->setDefault(true);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QString::number(Ctl::kCancel));
    buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole)
        ->setObjectName(QString::number(helpId));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, help);
    return buttons;
}

QDialogButtonBox* MakeDialogButtons(QDialog& dialog, Qt::Orientation orientation, const QString& ok,
                                    const QString& cancel, unsigned int helpContext)
{
    return MakeDialogButtons(dialog, orientation, ok, cancel, Ctl::kHelp,
                             [helpContext] { QzHelp(helpContext); });
}

QWidget* MakeSpinArrows(QWidget* parent, int id, const std::function<void(int)>& step,
                        bool upRaises)
{
    auto* spin = new QWidget(parent);
    spin->setObjectName(QString::number(id));
    auto* layout = new QVBoxLayout(spin);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const int delta : {-1, 1}) {
        auto* arrow = new QToolButton(spin);
        arrow->setObjectName(delta < 0 ? QStringLiteral("up") : QStringLiteral("down"));
        arrow->setArrowType(delta < 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        const int sent = upRaises ? -delta : delta;
        QObject::connect(arrow, &QToolButton::clicked, spin, [step, sent] { step(sent); });
        layout->addWidget(arrow);
    }
    return spin;
}

void FitSpinArrows(QWidget& spin, const QWidget& field)
{
    constexpr int kArrowWidth = 16;
    const int arrowHeight = std::max(field.sizeHint().height() / 2, 1);
    for (QToolButton* arrow : spin.findChildren<QToolButton*>())
        arrow->setFixedSize(kArrowWidth, arrowHeight);
}
