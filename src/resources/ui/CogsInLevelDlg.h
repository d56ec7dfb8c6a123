#pragma once
// Cogs in Level (212). Mode 0 is the modeless window over the level's cog instances: the sorted
// list of their scripts (lower case), the fourteen symbol rows of the selected instance (label
// and value, with a scroll bar from 15 symbols on), Add (through the picker below), Delete, Edit
// (a script the level carries itself, in the text editor) and View (the script, read only), and
// X, Y, Z: the unit direction between the engine's two picked grid nodes when exactly two are
// picked. The level's instances change only on Apply or OK, as one undo step that marks the
// document modified (level/CogInstances.h merges with what the level has by then); Add and Delete
// change the level's cog-script names (Add at once, as an undo step of its own; Delete's name goes
// at Apply, when no instance or template uses it any longer); Edit changes the level file's bytes
// at once and marks the document modified. The window deletes itself when it closes; the document
// deletes it before its level. Apply stores the window's rectangle in "CogWindowX", "CogWindowY",
// "CogWindowW" and "CogWindowH".
//
// Any other mode is the modal "Add Cog to level" picker: the game's cog scripts, then the cog
// scripts among the level's own files; after OK, ChosenName() is the row chosen, upper-cased.

#include "level/CogInstances.h"
#include "math/Vector3.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <vector>

class CQzlSections;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QWidget;
struct CGameResources;
struct CSettings;

// What the window works on, given by the document.
struct CCogsInLevelContext {
    CQzlSections* m_level = nullptr;
    const CGameResources* m_game = nullptr;
    CSettings* m_settings = nullptr;
    // The engine's picked grid nodes now (none without an engine).
    std::function<std::vector<CVector3>()> m_pickedNodes;
    // Runs a change of the level as one undo step; it marks the document modified.
    std::function<void(const std::function<void()>&)> m_edit;
    // Marks the document modified (for the level's files, which undo does not cover).
    std::function<void()> m_modified;
};

class CCogsInLevelDlg : public QDialog {
    Q_OBJECT

public:
    CCogsInLevelDlg(CCogsInLevelContext context, int mode, QWidget* parent = nullptr);
    ~CCogsInLevelDlg() override;

    // Mode 0: the pending value edits, then the working list into the level (one undo step);
    // both modes: the chosen name, the document marked modified, the window's rectangle stored.
    void Apply();
    void accept() override;

    const std::string& ChosenName() const { return m_chosenName; }
    const CCogWorkList& WorkList() const { return m_list; }
    int FirstShownSymbol() const { return m_first; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillList();
    std::vector<std::string> RowTexts() const;
    int SelectedEntry() const;
    void SelectRow(int row);
    // Shows the selected instance's symbols in the rows (or, in mode 1, just enables View).
    void ShowSelected();
    void ClearRows();
    // Takes every value field the user changed into the instance shown.
    void CommitValues();
    void CommitValue(int row);
    void OnScrollAction(int action);
    void OnAdd();
    void OnDelete();
    void OnEdit();
    void OnView();
    // The level's own file that holds script, -1 for none.
    int LevelFileOfScript(const std::string& script) const;
    void ShowDirection();
    // Runs change through the context's undo step; a failure is shown.
    void Edit(const std::function<void()>& change);

    CCogsInLevelContext m_context;
    int m_mode = 0;
    CCogWorkList m_list;
    std::string m_chosenName;
    int m_first = 0;         // the symbol shown in the first row
    int m_shownEntry = -1;   // the working entry the rows show, -1 none
    int m_shownCount = 0;    // its number of symbols
    int m_levelFile = -1;    // the level file that holds its script, -1 none
    bool m_filling = false;  // the rows or the scroll bar are being set

    QListWidget* m_listBox = nullptr;
    std::array<QLineEdit*, kCogSymbolRows> m_names{};
    std::array<QLineEdit*, kCogSymbolRows> m_values{};
    QScrollBar* m_scroll = nullptr;
    QWidget* m_rows = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_view = nullptr;
    std::array<QLabel*, 3> m_axisLabels{};
    std::array<QLineEdit*, 3> m_axes{};  // X, Y, Z
    bool m_placed = false;
};
