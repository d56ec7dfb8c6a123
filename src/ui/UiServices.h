#pragma once
// Message boxes, file dialogs and the wait cursor of the whole application. Every message box
// with one of the system's fixed texts goes through QzMessageBox, so that tests can install a
// hook that records the texts and answers instead of showing a modal box; file dialogs likewise.

#include <QMessageBox>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Shows text with the buttons given (Ok, or Yes | No) and returns the button chosen. Caption
// "QzEdit". With a hook installed the hook answers and nothing is shown.
QMessageBox::StandardButton QzMessageBox(const QString& text,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                         QWidget* parent = nullptr);

using CMessageBoxHook =
    std::function<QMessageBox::StandardButton(const QString&, QMessageBox::StandardButtons)>;
// Installs hook (an empty function removes it); returns the previous one.
CMessageBoxHook SetMessageBoxHook(CMessageBoxHook hook);

// The open and save file dialogs. filter is in the framework's form
// "Text (*.a)|*.a|Other (*.b)|*.b||". The dialog starts in folder, or, when folder is empty, in
// the folder of the file chosen last in either dialog (the working folder before the first). A
// name typed without an extension gets the extension of the chosen filter when that filter has
// exactly one pattern "*.ext", else defaultExtension (without the dot: "qze"); the open dialog
// leaves the name of a file that exists as it is. An empty result means Cancel.
QString QzGetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& defaultExtension, const QString& folder = QString());
QString QzGetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& defaultExtension, const QString& folder = QString());
// The open dialog choosing one file or more: the paths chosen (none for Cancel). A hook answers
// with the paths separated by line breaks.
QStringList QzGetOpenFileNames(QWidget* parent, const QString& title, const QString& filter,
                               const QString& folder = QString());
// The folder the dialogs start in when they are given none.
QString QzLastFileFolder();

// What a file dialog is asked for: the hook sees it and may set the filter the user chose.
struct CFileDialogRequest {
    bool save = false;
    QString title;
    QString filter;        // the framework's form
    QString folder;        // the folder the dialog starts in
    int chosenFilter = 0;  // index of the filter chosen (0 the first); the hook may set it
};
// Hook of both file dialogs: receives the request and returns the chosen path.
using CFileDialogHook = std::function<QString(CFileDialogRequest& request)>;
CFileDialogHook SetFileDialogHook(CFileDialogHook hook);

// The framework's filter form "A|*.a|B|*.b||" as a Qt name filter list "A;;B".
QString QtNameFilters(const QString& filter);

// The wait cursor; calls nest.
void QzBeginWaitCursor();
void QzEndWaitCursor();

// Keeps the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor() { QzBeginWaitCursor(); }
    ~CWaitCursor() { QzEndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Help from a dialog's Help button: shows the page of a help context through the handler the
// application installs (nothing happens without one).
void QzHelp(unsigned int context);
using CHelpHandler = std::function<void(unsigned int context)>;
// Installs handler (an empty function removes it); returns the previous one.
CHelpHandler SetHelpHandler(CHelpHandler handler);

// Dialog units of widget's font as pixels: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height. Dialogs laid out in them grow with the
// font.
QSize DialogUnits(const QWidget& widget, int width, int height);

// Gives dialog (laid out by its layout) a fixed size: at least least, and as large as its
// controls ask to be in its font, with the height that wrapped texts need at that width.
void FitDialog(QWidget& dialog, QSize least);
