#pragma once
// The text editor (142): a resizable plain-text editor for one text (a cog script, say). The
// caller gives the caption and the text and, after OK, takes the edited text from m_text. Lines
// do not wrap: a long line scrolls sideways. The window's place and size are kept in the
// settings "EditWindowX", "EditWindowY", "EditWindowW" and "EditWindowH" (outer rectangle; -1
// unset), stored on OK only; with x or y below 0 the dialog opens centred at its own size.
// Cancel is the default button (Return in the text inserts a line break).

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class CTree;
class QPlainTextEdit;
struct CSettings;

class CEditorDlg : public QDialog {
    Q_OBJECT

public:
    // helpContext is what the Help button shows (a command's help for the cog editors).
    CEditorDlg(const QString& title, const QString& text, CSettings& settings,
               unsigned int helpContext, QWidget* parent = nullptr);

    // OK: the editor's text becomes m_text and the window's rectangle is stored.
    void accept() override;

    QString m_text;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CSettings& m_settings;
    unsigned int m_helpContext;
    QPlainTextEdit* m_editor = nullptr;
    bool m_placed = false;
};

// Shows the 8-bit text bytes in the editor with that caption, modal. Line ends are edited as plain
// line breaks and given back as the text had them (CR LF when it held one). The edited bytes
// after OK, nothing after Cancel.
std::optional<std::vector<std::uint8_t>> EditTextBytes(const QString& title,
                                                       std::span<const std::uint8_t> bytes,
                                                       CSettings& settings,
                                                       unsigned int helpContext, QWidget* parent);

// Edits the text of the level file at index of files (its bytes up to the first NUL) in the
// editor with that caption; after OK the file holds the edited text and the offsets are
// recomputed. A file whose bytes do not match its size is reported and stays as it is. True when
// the file took the edited text.
bool EditLevelFileText(CTree& files, int index, const QString& title, CSettings& settings,
                       unsigned int helpContext, QWidget* parent);
