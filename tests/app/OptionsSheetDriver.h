#pragma once
// Drives the Options sheet of the running application: the command is sent through the main
// frame, and the sheet, which runs modally, is handed to the test while it is up.

#include "app/MainFrame.h"
#include "engine/CommandIds.h"
#include "ui/SheetDlg.h"

#include <QApplication>
#include <QTimer>

#include <functional>

// Sends the Options command through frame and runs act while its sheet is up; a sheet that act
// leaves open is cancelled. False when no sheet came up.
inline bool WithOptionsSheet(CMainFrame& frame, const std::function<void(CSheetDlg&)>& act)
{
    bool shown = false;
    auto* timer = new QTimer(&frame);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [&shown, timer, act] {
        auto* sheet = qobject_cast<CSheetDlg*>(QApplication::activeModalWidget());
        if (sheet == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        shown = true;
        act(*sheet);
        if (sheet->isVisible())
            sheet->reject();
    });
    timer->start();
    const bool routed = frame.RouteCommand(Cmd::kOptions);
    if (!shown) {
        timer->stop();
        timer->deleteLater();
    }
    return routed && shown;
}
