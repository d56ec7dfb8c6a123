#pragma once
// What the engine asks of the window system around it: message boxes with fixed texts, Yes/No
// questions, the wait cursor, the progress window of long passes, status-bar text, and the
// notices that the views changed, that the document was modified, and that a frame is wanted.
// The application implements it with its document and views; tests record the calls.

#include <span>
#include <string>
#include <string_view>

class CEngineHost {
public:
    virtual ~CEngineHost() = default;

    // A message box with an OK button showing text.
    virtual void ShowMessage(std::string_view text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;

    // The wait cursor while a long operation runs; calls come in pairs.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // The progress window of a long pass: shown with a title and a bar of steps steps, advanced
    // one step at a time, closed at the end.
    virtual void BeginProgress(std::string_view title, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;

    // Text of the first pane of the status bar.
    virtual void SetStatusText(std::string_view text) = 0;

    // The eight panes of the main frame's status bar after a frame, 0 to 7 in order: device name,
    // grid, yaw, tilt, X, Y, Z, frame rate. Each pane takes its text at once and the status bar
    // is repainted immediately. A host without a status bar ignores the call.
    virtual void SetStatusPanes(std::span<const std::string> /*texts*/) {}

    // Both scroll bars of the 3D view take the range low .. high and the page page; the
    // horizontal bar shows horizontalPosition, the vertical bar verticalPosition; a bar the range
    // does not need is disabled. A host without scroll bars ignores the call.
    virtual void SetScrollBars(int /*low*/, int /*high*/, int /*page*/, int /*horizontalPosition*/,
                               int /*verticalPosition*/)
    {}

    // The "Grid" setting becomes grid (the status update keeps it on multiples of 0.02). The
    // engine reads the settings but does not own them; a host without settings ignores the call.
    virtual void SetGridSetting(float /*grid*/) {}

    // Every view of the document should show the current state again.
    virtual void ViewsChanged() = 0;

    // The property pane of the active document window shows the form of id (engine/
    // CommandIds.h): PropertyView::kSurface, kThings or kVertex. A host without panes ignores
    // the call.
    virtual void SwitchPropertyView(int /*id*/) {}
    // Every view of the document updates itself with hint: 0 no new point, 1 a point picked in
    // Sector Mode, n + 2 a point picked on surface n (the distance view measures from it).
    virtual void UpdateAllViews(long /*hint*/) {}

    // The document's modified flag (the framework's SetModifiedFlag).
    virtual void SetModifiedFlag(bool modified) = 0;

    // A frame of the engine's view is wanted; forced frames ignore the "FrameRate" cap.
    virtual void RequestFrame(bool forced) = 0;
};
