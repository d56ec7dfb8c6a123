#pragma once
// The OK, Cancel and Help buttons most dialogs end with, named by their ids (Ctl::kOk, kCancel,
// kHelp) so that tests find them, and the spin control beside a number field.

#include <QDialogButtonBox>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

// A button box in dialog with OK (the default button; its text ok), Cancel (its text cancel) and
// "&Help": OK calls the dialog's accept, Cancel its reject, Help shows the help page of context
// (QzHelp). Other buttons may be added to the box afterwards.
QDialogButtonBox* MakeDialogButtons(QDialog& dialog, Qt::Orientation orientation, const QString& ok,
                                    const QString& cancel, unsigned int helpContext);
// The same with a Help button named helpId that calls help (a dialog whose Help sends the help
// command rather than showing a page).
QDialogButtonBox* MakeDialogButtons(QDialog& dialog, Qt::Orientation orientation, const QString& ok,
                                    const QString& cancel, int helpId,
                                    const std::function<void()>& help);

// A spin control named id in parent: an up and a down arrow (named "up" and "down", repeating
// while held); step receives the control's delta: -1 up, +1 down, as a spin of the default range
// (top 0, bottom 100) sends it; with upRaises (a range whose top is its larger end) +1 up, -1 down.
QWidget* MakeSpinArrows(QWidget* parent, int id, const std::function<void(int)>& step,
                        bool upRaises = false);
// The arrows of spin one above the other, together as high as field, as a form row shows them.
void FitSpinArrows(QWidget& spin, const QWidget& field);
