#pragma once
// Errors (5002): the level checker's report as a read-only text, one finding per line, with
// "&Show" (the element the caret's line names, in the 3D view), "&Check" (the check again) and
// "Clean &Up" (the automatic repairs, after a question, as one undo step). Modeless; the document
// keeps at most one. Every new window, shown or hidden, runs one check as soon as its events are
// processed. The window deletes itself when it closes; the document deletes it before its level.

#include "episode/LevelChecker.h"

#include <QDialog>

#include <functional>
#include <string>

class C3dView;
class CEngineHost;
class CQzlSections;
class QPushButton;
class QTextEdit;
class QWidget;
struct CGameResources;

// What the window works on, given by the document.
struct CErrorsContext {
    // The document's level now (taken at the start of every check).
    std::function<CQzlSections*()> m_level;
    const CGameResources* m_game = nullptr;
    // The document's engine now (its models are checked), null without one.
    std::function<C3dView*()> m_engine;
    // Runs work on the document's engine inside its device scope; false without an engine.
    std::function<bool(const std::function<void(C3dView&)>&)> m_onEngine;
    // The wait cursor and the progress window of the check.
    CEngineHost* m_host = nullptr;
};

class CErrorsDlg : public QDialog {
    Q_OBJECT

public:
    // The text of Clean Up's question.
    static const char* const kCleanUpQuestion;

    // The window over parent, shown (show) or hidden; its first check is posted.
    CErrorsDlg(CErrorsContext context, QWidget* parent, bool show);
    ~CErrorsDlg() override;

    // Runs the checker over the document's level into text (callers pass an empty one); 1 when a
    // finding was fatal.
    int CheckLevel(std::string& text);
    // "&Check": the check, its report shown; 1 when a finding was fatal.
    int OnCheck();
    // "&Show": the element of the caret's line in the 3D view.
    void OnShow();
    // "Clean &Up": the question, then the repairs as one undo step and the check again.
    void OnCleanUp();

    // The line that holds the caret.
    int CurrentLine() const { return m_currentLine; }
    const CLevelChecker& Checker() const { return m_checker; }

private:
    // The caret moved: its line becomes the current line; "&Show" is enabled while that line has
    // entries.
    void OnCaretMoved();

    CErrorsContext m_context;
    CLevelChecker m_checker;
    int m_currentLine = 0;
    bool m_checked = false;  // a check ran: the one queued on creation is not needed
    QTextEdit* m_report = nullptr;
    QPushButton* m_show = nullptr;
};
