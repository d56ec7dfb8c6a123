#pragma once
// The OK, Cancel and Help buttons of the editor's dialogs, named by their ids (Ctl::kOk,
// Ctl::kCancel, Ctl::kHelp): OK is the default button and accepts the dialog, Cancel rejects it,
// Help calls help.

#include <Qt>

#include <functional>

class QDialog;
class QDialogButtonBox;

// The three buttons in a box owned by dialog, laid out along orientation; the caller places the
// box in its layout.
QDialogButtonBox* MakeDialogButtons(QDialog& dialog, Qt::Orientation orientation,
                                    std::function<void()> help);
