#pragma once
// What the Color Map and Sounds dialogs share: a list of names in columns of 150 pixels, in
// level mode (the level's list, with Add and Delete) or add mode (the names that can be added,
// Add and Delete hidden), the buttons OK, Cancel and Help, and the edit of the list by Add (a
// nested dialog of the same kind in add mode) and Delete. The level changes only at OK, through
// the change runner the caller gives: it runs the level change as one undo step and marks the
// document modified when the change went through.

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QListWidget;
class QPushButton;
class QVBoxLayout;

// Runs a change of the level (false: nothing changed) as one undoable edit; gives its result.
using CLevelChangeRunner = std::function<bool(const std::function<bool()>& change)>;

class CLevelListDlg : public QDialog {
    Q_OBJECT

public:
    // The names listed, in list order.
    std::vector<std::string> Names() const;
    // The row selected, -1 for none; its name (empty for none).
    int SelectedRow() const;
    std::string SelectedName() const;
    bool IsLevelMode() const { return m_nMode == 0; }

protected:
    struct CControlIds {
        int m_dialog;
        int m_list;
        int m_add;
        int m_delete;
    };
    // okText is the OK button's text ("&OK", "&Ok"); more buttons go below Delete.
    CLevelListDlg(const CControlIds& ids, int mode, const char* okText, unsigned int helpContext,
                  QWidget* parent);

    // Fills the list with names, in order.
    void SetNames(const std::vector<std::string>& names);
    // Selects the first row that begins with prefix (letter case ignored); none when no row does.
    void SelectByPrefix(std::string_view prefix);
    void SelectRow(int row);
    // The layout of the buttons, for the buttons of a dialog of its own.
    QVBoxLayout* ButtonColumn() const { return m_buttons; }
    QListWidget* List() const { return m_list; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* AddButton() const { return m_add; }
    // A push button of id with text (no auto default).
    QPushButton* MakeButton(const char* text, int id);

    // The list's selection changed (also after Add and Delete).
    virtual void OnSelectionChanged() = 0;
    // The nested dialog of Add in add mode; the name it chose, or nothing.
    virtual std::optional<std::string> RunAddDialog() = 0;
    // OK in level mode, before the dialog closes accepted.
    virtual void WriteLevel() = 0;

    int m_nMode;

private:
    void OnAdd();
    void OnDelete();
    void OnOK();

    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QVBoxLayout* m_buttons = nullptr;

protected:
    // The name chosen: in, the name to select; out, the entry selected at OK.
    std::string m_chosen;
};
