#pragma once
// The help: where the help window goes, which help context a request asks for, and the local
// help pages that show each context. The pages live in the program folder's "help" folder, one
// per context ("help/<context in hex>.htm", e.g. "help/20065.htm"), beside "index.htm",
// "tutorial.htm" and "faq.htm", and open in the desktop's browser.
//
// The Help menu's commands and the frames' help requests (F1, context help, Help Topics) end in
// WinHelp; Splash.h declares OpenHelpContext and OpenHelpPage, which are defined here.

#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>

#include <functional>

class CDocView;
class CQzEditApp;

// Help contexts.
inline constexpr unsigned int kHelpContextIndex = 0x1E142;     // Help Index, and no better one
inline constexpr unsigned int kHelpContext3dView = 0x50081;    // CQzEditView
inline constexpr unsigned int kHelpContextSector = 0x20065;    // CSectorView
inline constexpr unsigned int kHelpContextSurface = 0x200BA;   // CSurfaceView
inline constexpr unsigned int kHelpContextVertex = 0x2044A;    // CVertexView
inline constexpr unsigned int kHelpContextThings = 0x200BE;    // CThingsView
inline constexpr unsigned int kHelpContextDistance = 0x21398;  // CDistanceView
// The framework's default help ids of the main frame and of a document window: replaced by the
// context of the active view.
inline constexpr unsigned int kHelpIdMainFrame = 0x20080;
inline constexpr unsigned int kHelpIdDocumentWindow = 0x20081;

// Help commands.
inline constexpr unsigned int kHelpCommandContext = 0x0001;  // show the page of a context
inline constexpr unsigned int kHelpCommandFinder = 0x000B;   // Help Topics: the index page

// The help window's place in the help system's 1024-unit screen coordinates.
struct CHelpWindowPos {
    int x = 0;
    int y = 0;
    int dx = 0;
    int dy = 0;
    friend bool operator==(const CHelpWindowPos&, const CHelpWindowPos&) = default;
};

// The help window beside the main window: frame is the main window's rectangle (left, top,
// width, height) on a screen of screen pixels. x = (left + w / 10) * 1024 / W,
// y = (top + h / 10) * 1024 / H, dx = w * 820 / W, dy = h * 820 / H (integers, truncating),
// dx at least 350, dy at least 400. An empty screen gives the whole help screen.
CHelpWindowPos HelpWindowPlacement(const QRect& frame, const QSize& screen);

// The help context of view (the active view of the active document window; null for none).
unsigned int HelpContextOfView(CDocView* view);

// The application's help call: help data whose upper 16 bits are 0x0004 (the framework's ids of
// non-client areas) are ignored; the default ids of the main frame and the document window are
// replaced by the active view's context; the page of the context opens. Returns the context
// shown (0 when the request was ignored).
unsigned int WinHelp(CQzEditApp& app, unsigned int helpData,
                     unsigned int helpCommand = kHelpCommandContext);

// The page of a context: the program folder's "help/<context in hex>.htm" when it exists, else
// "help/index.htm".
QString HelpPageOfContext(const CQzEditApp& app, unsigned int context);

// Opens url with the desktop's browser; with a hook installed the hook receives it instead.
void OpenHelpUrl(const QUrl& url);
using COpenUrlHook = std::function<void(const QUrl&)>;
// Installs hook (an empty function removes it); returns the previous one.
COpenUrlHook SetOpenUrlHook(COpenUrlHook hook);
