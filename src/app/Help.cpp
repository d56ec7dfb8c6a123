#include "app/Help.h"

#include "app/FormViews.h"
#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "app/Splash.h"

#include <QDesktopServices>
#include <QFileInfo>

#include <algorithm>

namespace {

COpenUrlHook& UrlHook()
{
    static COpenUrlHook hook;
    return hook;
}

QString HelpFolder(const CQzEditApp& app)
{
    return QString::fromStdString((app.m_programDir / "help").string());
}

// The frame's active view when it is a view of an open document; null otherwise.
CDocView* ActiveViewOf(CQzEditApp& app)
{
    if (app.m_pMainFrame == nullptr)
        return nullptr;
    CDocView* active = app.m_pMainFrame->ActiveView();
    if (active == nullptr)
        return nullptr;
    for (CQzEditDoc* doc : app.Documents())
        for (CDocView* view : doc->Views())
            if (view == active)
                return active;
    return nullptr;
}

}  // namespace

CHelpWindowPos HelpWindowPlacement(const QRect& frame, const QSize& screen)
{
    if (screen.width() <= 0 || screen.height() <= 0)
        return {0, 0, 1024, 1024};
    // 64-bit products: a large window on a large screen must not overflow.
    const long long w = frame.width();
    const long long h = frame.height();
    const long long screenW = screen.width();
    const long long screenH = screen.height();
    CHelpWindowPos pos;
    pos.x = static_cast<int>((frame.left() + w / 10) * 1024 / screenW);
    pos.y = static_cast<int>((frame.top() + h / 10) * 1024 / screenH);
    pos.dx = std::max(static_cast<int>(w * 820 / screenW), 350);
    pos.dy = std::max(static_cast<int>(h * 820 / screenH), 400);
    return pos;
}

unsigned int HelpContextOfView(CDocView* view)
{
    if (view == nullptr)
        return kHelpContextIndex;
    if (dynamic_cast<CQzEditView*>(view) != nullptr)
        return kHelpContext3dView;
    if (dynamic_cast<CSectorView*>(view) != nullptr)
        return kHelpContextSector;
    if (dynamic_cast<CSurfaceView*>(view) != nullptr)
        return kHelpContextSurface;
    if (dynamic_cast<CVertexView*>(view) != nullptr)
        return kHelpContextVertex;
    if (dynamic_cast<CThingsView*>(view) != nullptr)
        return kHelpContextThings;
    if (dynamic_cast<CDistanceView*>(view) != nullptr)
        return kHelpContextDistance;
    return kHelpContextIndex;
}

unsigned int WinHelp(CQzEditApp& app, unsigned int helpData, unsigned int helpCommand)
{
    if ((helpData >> 16) == 0x0004)
        return 0;
    // The pages open in the desktop's browser, whose window we cannot place; HelpWindowPlacement
    // serves a help viewer that can be placed.
    unsigned int context = helpData;
    if (helpCommand == kHelpCommandFinder)
        context = kHelpContextIndex;
    else if (helpData == kHelpIdMainFrame || helpData == kHelpIdDocumentWindow) {
        context = HelpContextOfView(ActiveViewOf(app));
    }
    OpenHelpContext(app, context);
    return context;
}

QString HelpPageOfContext(const CQzEditApp& app, unsigned int context)
{
    const QString folder = HelpFolder(app);
    const QString page = folder + QStringLiteral("/%1.htm").arg(context, 0, 16);
    if (QFileInfo(page).isFile())
        return page;
    return folder + QStringLiteral("/index.htm");
}

void OpenHelpUrl(const QUrl& url)
{
    if (UrlHook()) {
        UrlHook()(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

COpenUrlHook SetOpenUrlHook(COpenUrlHook hook)
{
    COpenUrlHook old = std::move(UrlHook());
    UrlHook() = std::move(hook);
    return old;
}

void OpenHelpContext(CQzEditApp& app, unsigned int context)
{
    OpenHelpUrl(QUrl::fromLocalFile(HelpPageOfContext(app, context)));
}

void OpenHelpPage(CQzEditApp& app, const QString& page)
{
    OpenHelpUrl(QUrl::fromLocalFile(HelpFolder(app) + QLatin1Char('/') + page));
}
