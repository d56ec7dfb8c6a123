// qzopen: opens a level in the editor as a user does (application object, document, document
// window, 3D view) on a display and times the open and the first drawn frame; then N idle
// frames. Run under a display (xvfb-run on a headless machine).
//
//   qzopen FILE [N] [SCREENSHOT.png]
//
// Prints open_to_first_frame_ms (reading the file into the document, the document window, the
// engine, the render data rebuild, device set-up and the first frame) and the median time of N
// forced frames through the window's paint. With SCREENSHOT.png it then clicks the wall ahead
// (selecting its sector, as a user would), writes a screenshot of the main window and prints the
// current sector, the text of status pane 0 and whether the document is marked modified. Exit 0, 1
// usage, 2 the file could not be opened, 4 no OpenGL.

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/FrameRender.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: qzopen FILE [N] [SCREENSHOT.png]\n");
        return 1;
    }
    const int frames = argc >= 3 ? std::atoi(argv[2]) : 20;
    const QString screenshot = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    QApplication qt(argc, argv);
    QString message;
    SetMessageBoxHook([&message](const QString& text, QMessageBox::StandardButtons) {
        message = text;
        return QMessageBox::Ok;
    });

    CAppOptions options;
    options.m_defaultGameDir = QZ_DEFAULT_GAME_DIR;
    options.m_programDir = QZ_PROGRAM_DIR;
    options.m_settingsFile = QStringLiteral("%1/qzopen.ini").arg(QDir::tempPath());
    options.m_showSplash = false;
    options.m_showTip = false;
    options.m_openSound = false;
    CQzEditApp app(options);
    if (!app.InitInstance())
        return 4;
    app.m_pMainFrame->resize(1024, 768);
    if (!QTest::qWaitForWindowExposed(app.m_pMainFrame))
        return 4;

    QElapsedTimer timer;
    timer.start();
    CQzEditDoc* doc = app.OpenDocumentFile(QString::fromLocal8Bit(argv[1]));
    if (doc == nullptr) {
        std::fprintf(stderr, "qzopen: %s\n", message.toLocal8Bit().constData());
        return 2;
    }
    CQzEditView* view = nullptr;
    for (CDocView* candidate : doc->Views())
        if (auto* view3d = dynamic_cast<CQzEditView*>(candidate))
            view = view3d;
    if (view == nullptr || !view->HasSurface())
        return 4;
    if (!QTest::qWaitFor([&] { return view->Engine() != nullptr && view->PaintCount() > 0; },
                         600000)) {
        std::fprintf(stderr, "qzopen: no frame: %s\n", view->DeviceError().c_str());
        return 4;
    }
    const double firstMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        const int paints = view->PaintCount();
        timer.restart();
        view->RequestFrame(true);
        if (!QTest::qWaitFor([&] { return view->PaintCount() > paints; }, 60000))
            return 4;
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const C3dView& engine = *view->Engine();
    std::printf("sectors=%zu view=%dx%d render=%dx%d\n", doc->m_level->m_sectors.size(),
                view->ClientRect().width(), view->ClientRect().height(),
                engine.m_viewport.m_renderWidth, engine.m_viewport.m_renderHeight);
    std::printf("open_to_first_frame_ms=%.1f median_frame_ms=%.2f\n", firstMs,
                times.empty() ? 0.0 : times[times.size() / 2]);
    if (!screenshot.isEmpty()) {
        // As a user would: a click on the middle of the wall ahead makes its sector current, which
        // the default render mode draws solid. Then the whole main window as the screen shows
        // it, once the window system has the new frame.
        const int paints = view->PaintCount();
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                          QPoint(view->ClientRect().width() / 2, view->ClientRect().height() / 3));
        if (!QTest::qWaitFor([&] { return view->PaintCount() > paints; }, 60000))
            return 4;
        QTest::qWait(500);
        QScreen* screen = app.m_pMainFrame->screen();
        const QPixmap shot =
            screen != nullptr ? screen->grabWindow(app.m_pMainFrame->winId()) : QPixmap();
        if (shot.isNull() || !shot.save(screenshot))
            std::fprintf(stderr, "qzopen: the screenshot could not be written\n");
        const QLabel* pane = app.m_pMainFrame->StatusPane(0);
        std::printf("current_sector=%d status_pane_0=\"%s\" modified=%d\n",
                    engine.m_selection.m_sector,
                    pane != nullptr ? pane->text().toLocal8Bit().constData() : "",
                    doc->IsModified() ? 1 : 0);
    }
    // Leaves without the question about unsaved changes.
    doc->SetModifiedFlag(false);
    return 0;
}
