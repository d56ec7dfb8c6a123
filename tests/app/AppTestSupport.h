#pragma once
// Support of the widget tests: one QApplication for the whole program, and an application object
// on a settings file and a program folder of its own in a temporary directory (the program folder
// holds a copy of res/), with the synthetic game as the default game folder. Message boxes and
// file dialogs are answered by the fixture and recorded.

#include "app/QzEditApp.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

class CMainFrame;
class CTemplateDlg;
class CQzEditDoc;
class CQzlSections;
class QDialog;
class QObject;
struct CMenuPopup;

// The object name of a widget: its id in decimal.
QString Id(int id);

// The control of dialog named by id; a test failure when there is none.
template <typename T>
T* Control(QWidget& dialog, int id)
{
    T* control = dialog.findChild<T*>(Id(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}
// Clicks the button of dialog named by id and lets the events it posts run.
void Click(QWidget& dialog, int id);
// Clicks the arrow ("up" or "down") of the spin control of dialog named by id.
void ClickSpin(QWidget& dialog, int id, const char* arrow);
// A step of a spin control: the text of edit before, the arrow of spin clicked, the text after.
struct CSpinStep {
    int edit;
    int spin;
    const char* start;
    const char* arrow;
    const char* want;
};
// Runs each step on a fresh dialog from make and checks the text it leaves.
void ExpectSpinSteps(const std::function<std::unique_ptr<QWidget>()>& make,
                     std::initializer_list<CSpinStep> steps);
// Triggers the main frame's action of command id after its update rules ran, and lets the
// events it posts run.
void TriggerCommand(CMainFrame& frame, int id);

// Answers the next modal dialog that the code under test opens: while the object lives, answer
// runs once on the active modal widget as soon as there is one (looked for every 20 ms, so also
// inside the dialog's own event loop).
class CModalAnswer {
public:
    explicit CModalAnswer(std::function<void(QWidget& dialog)> answer);
    bool Answered() const { return m_answered; }

private:
    QTimer m_timer;
    bool m_answered = false;
};
// A menu item as the tests read it: its text, "#" and the id of its command.
QString Item(const char* text, int id);

// Calls visit with every popup of menu (Menu::kNoDocument or Menu::kDocument) and with every
// submenu after the popup that holds it.
void ForEachPopup(int menu, const std::function<void(const CMenuPopup&)>& visit);

// Calls act with every modal widget that comes up until act takes one (returns true); owner keeps
// the timer that waits for it.
void OnModalWidget(QObject* owner, std::function<bool(QWidget*)> act);
// Runs act on the next dialog of type T that comes up modally (act closes it).
template <typename T>
void OnModal(QObject* owner, std::function<void(T&)> act)
{
    OnModalWidget(owner, [act = std::move(act)](QWidget* widget) {
        auto* dialog = qobject_cast<T*>(widget);
        if (dialog == nullptr)
            return false;
        act(*dialog);
        return true;
    });
}
// Runs act on the next Materials dialog that comes up modally (act closes it).
void OnPicker(QObject* owner, std::function<void(QDialog&)> act);
// Selects the row of text in the Materials dialog's list and presses OK; caption, when given,
// takes the dialog's title. A text the list lacks fails the test and cancels.
std::function<void(QDialog&)> PickerChoose(const QString& text, QString* caption = nullptr);
// Presses Cancel.
void PickerCancel(QDialog& dialog);
// Runs act on the next Template dialog that comes up modally (act closes it).
void OnTemplateDlg(QObject* owner, std::function<void(CTemplateDlg&)> act);
// Selects the template text (letter case ignored) in the Template dialog's tree and presses OK;
// caption, when given, takes the dialog's title. A text the tree lacks fails the test and
// cancels.
std::function<void(CTemplateDlg&)> TemplateChoose(const QString& text, QString* caption = nullptr);
// Presses Cancel.
void TemplateCancel(CTemplateDlg& dialog);
// Selects the row of text in dialog's list of id and presses OK (kOk); a text the list lacks
// fails the test and presses Cancel (kCancel).
void ChooseInList(QWidget& dialog, int listId, const QString& text);

// Makes the QApplication once (offscreen or whatever QT_QPA_PLATFORM says).
void EnsureQApplication();

// The folder of the synthetic game the build writes.
std::filesystem::path TestGameDir();
// The repository's res/ folder.
std::filesystem::path TestResDir();
// Where the tests leave their screenshots (the build folder of the tests).
std::filesystem::path TestOutputDir();
// Saves each picture under its name in TestOutputDir and prints the path it was saved as.
void SavePictures(std::initializer_list<std::pair<const char*, const QImage*>> pictures);

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Options of a quiet test start: no splash (a short one when a test shows it), no tip,
    // hidden main frame, no sound.
    static CAppOptions TestOptions();
    // Makes m_app with the options (settings file, program folder and game folder filled in when
    // empty) and runs its start-up unless init is false.
    CQzEditApp& MakeApp(CAppOptions options = TestOptions(), bool init = true);
    // Ends the application as a normal exit does (ExitInstance) and destroys it.
    void EndApp();
    // The application made and started, its main frame shown and active, and a new document
    // in it; null when the document could not be made.
    CQzEditDoc* StartShownWithDocument();
    // Gives doc's 3D view the focus and waits until its accelerator table is the active one.
    bool FocusView3d(CQzEditDoc& doc);
    // Closes doc without saving (its question answered No) and waits until its 3D view is gone.
    void CloseWithoutSaving(CQzEditDoc& doc);
    // Puts level into doc and gives doc an engine of the test's own on it: one without a render
    // device (this platform draws nothing, so the 3D view makes none), which the document's and
    // the 3D view's commands work on. DropEngine and TearDown take it back.
    C3dView& GiveDocumentEngine(CQzEditDoc& doc, CQzlSections level);
    void DropEngine();
    // Presses OK on the shown dialog. With message, the dialog shows it alone and stays open (it
    // is closed afterwards); without, it closes accepted with no message. True when accepted.
    bool PressOk(QDialog& dialog, const QString& message);

    std::filesystem::path Temp() const { return m_temp.path().toStdString(); }
    QString SettingsFile() const { return m_temp.filePath(QStringLiteral("QzEdit.ini")); }
    std::filesystem::path ProgramDir() const { return Temp() / "program"; }
    // The user's data folder of the test's application (not made until something is written).
    std::filesystem::path UserDataDir() const { return Temp() / "user"; }

    QTemporaryDir m_temp;
    std::unique_ptr<CQzEditApp> m_app;
    std::unique_ptr<C3dView> m_engine;  // GiveDocumentEngine's
    CQzEditDoc* m_engineDoc = nullptr;
    // Texts of the message boxes shown, in order; the answers given to Yes/No boxes in order
    // (Yes when the queue is empty).
    QStringList m_messages;
    std::deque<QMessageBox::StandardButton> m_answers;
    // Paths that the file dialogs return in order (Cancel when the queue is empty), and the
    // titles they were shown with.
    std::deque<QString> m_fileAnswers;
    QStringList m_fileDialogs;

private:
    CMessageBoxHook m_oldMessageHook;
    CFileDialogHook m_oldFileHook;
};
