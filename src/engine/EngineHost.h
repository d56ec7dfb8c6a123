#pragma once
// What the engine asks of the window system around it: message boxes with fixed texts, Yes/No
// questions, the pickers of a material, a template, a colour map or a sound, the wait cursor, the
// progress window of long passes, status-bar text, and the notices that the views changed, that
// the document was modified, and that a frame is wanted. The application implements it with its
// document and views; tests record the calls and script the answers.

#include "math/Vector3.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The two modes of the pickers: the level's own list, or the entries of the game and the level's
// own files that can be added to the level.
inline constexpr int kPickInLevel = 0;
inline constexpr int kPickToAdd = 1;

// The material a picker hands back.
struct CMaterialChoice {
    int m_index = -1;    // its index in the level's material list
    std::string m_name;  // its name as the picker lists it (lower case)
    int m_width = 0;     // size of its texture in texels
    int m_height = 0;
    float m_tileX = 1.0f;  // its x and y tiling (1.0 to 100.0)
    float m_tileY = 1.0f;

    friend bool operator==(const CMaterialChoice&, const CMaterialChoice&) = default;
};

// The template a picker hands back: its name and the extents along x, y and z of its model's box
// (0 for a model that is found nowhere).
struct CTemplateChoice {
    std::string m_name;
    CVector3 m_extents;

    friend bool operator==(const CTemplateChoice&, const CTemplateChoice&) = default;
};

class CEngineHost {
public:
    virtual ~CEngineHost() = default;

    // A message box with an OK button showing text.
    virtual void ShowMessage(std::string_view text) = 0;
    // A Yes/No question; true for Yes. Operations ask through Confirm (engine/Questions.h), which
    // asks only while the "Warning" setting is on.
    virtual bool AskYesNo(std::string_view text) = 0;

    // The pickers, modal; each gives the choice, or nothing for Cancel. initial is the name to
    // select at the start (may be empty), mode kPickInLevel or kPickToAdd. A host without
    // pickers answers Cancel.
    // A material: in level mode one of the level's materials; in add mode a material of the game
    // or of the level's own files, which is in the level's material list when the picker returns.
    virtual std::optional<CMaterialChoice> PickMaterial(std::string_view /*initial*/, int /*mode*/)
    {
        return std::nullopt;
    }
    // A template: in level mode one of the level's templates, in add mode one of the product's
    // template list (it is not added to the level).
    virtual std::optional<CTemplateChoice> PickTemplate(std::string_view /*initial*/, int /*mode*/)
    {
        return std::nullopt;
    }
    // The name of a colour map or a sound: in level mode one of the level's list, in add mode one
    // of the game's or of the level's own files (the caller adds it to the level).
    virtual std::optional<std::string> PickColorMap(std::string_view /*initial*/, int /*mode*/)
    {
        return std::nullopt;
    }
    virtual std::optional<std::string> PickSound(std::string_view /*initial*/, int /*mode*/)
    {
        return std::nullopt;
    }

    // The wait cursor while a long operation runs; calls come in pairs.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // The progress window of a long pass: shown with a title and a bar of steps steps, advanced
    // one step at a time, closed at the end.
    virtual void BeginProgress(std::string_view title, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;
    // A new title for the progress window that is shown, for a pass made of several sections.
    virtual void SetProgressTitle(std::string_view /*title*/) {}

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

// Keeps the host's wait cursor for its lifetime: an operation that shows it while it runs, and
// returns early on refusal, ends it on every way out.
class CWaitCursorScope {
public:
    explicit CWaitCursorScope(CEngineHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
    ~CWaitCursorScope() { m_host.EndWaitCursor(); }
    CWaitCursorScope(const CWaitCursorScope&) = delete;
    CWaitCursorScope& operator=(const CWaitCursorScope&) = delete;

private:
    CEngineHost& m_host;
};
