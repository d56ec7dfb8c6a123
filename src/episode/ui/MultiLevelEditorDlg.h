#pragma once
// Multi Level Editor (5030): the episode of several levels. The user adds level files, orders and
// links them, sets each level's type, powers and message bases, and saves the list as a ".qml"
// file or builds the playable GOB/GOO episode archive of it. Modal.
//
// The fields show the current entry; every operation that switches, saves or adds stores them
// into it first (StoreLevelFields). Every control's object name is its id (ui/DialogIds.h).

#include "episode/MultiLevelItem.h"

#include <QDialog>
#include <QString>

#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QWidget;
struct CGameResources;

class CMultiLevelEditorDlg : public QDialog {
    Q_OBJECT

public:
    // The dialog over the game's resources of product (they give the archive its levels' text).
    CMultiLevelEditorDlg(const CGameResources& game, int product, QWidget* parent = nullptr);
    ~CMultiLevelEditorDlg() override;

    // "&Close", Escape and the window's close box: the list is stored and written to the
    // ".qml" file last opened or saved (a failure is reported), then the dialog closes.
    void reject() override;

    const CMultiLevelList& List() const { return m_list; }
    int CurrentEntry() const { return m_current; }

private:
    void StoreLevelFields();
    void OnSelchangeLevelTitles();
    void OnOpen();
    void OnSaveAs();
    void OnAdd();
    void OnDelete();
    void BuildEpisodeArchive(const QString& path);

    // Shows entry index in the fields and makes it the current entry.
    void ShowEntry(int index);
    // Every level field empty but level # (10) and the gotos (-1); no entry current.
    void ClearFields();
    // Takes the master title and type from their controls and writes the list to path; false
    // (the reason shown to the user) when it cannot be written.
    bool WriteList(const QString& path);
    void SetPath(const QString& path);

    const CGameResources& m_game;
    int m_product = 0;
    CMultiLevelList m_list;
    int m_current = -1;
    QString m_path;          // the ".qml" file last opened or saved
    QString m_currentTitle;  // the edit text of "Level Titles:" as the user left it
    // The three lists as their controls were given them: a control left so keeps its list
    // byte for byte.
    QString m_shownGoals;
    QString m_shownTexts;
    QString m_shownCogs;

    QLineEdit* m_masterTitle = nullptr;
    QComboBox* m_masterType = nullptr;
    QComboBox* m_levelTitles = nullptr;
    QLineEdit* m_levelPath = nullptr;
    QLineEdit* m_levelFile = nullptr;
    QComboBox* m_levelType = nullptr;
    QLineEdit* m_levelNumber = nullptr;
    QLineEdit* m_gotoA = nullptr;
    QLineEdit* m_gotoB = nullptr;
    QComboBox* m_lightPower = nullptr;
    QComboBox* m_darkPower = nullptr;
    QLineEdit* m_goalsBase = nullptr;
    QLineEdit* m_cogsBase = nullptr;
    QTextEdit* m_goals = nullptr;
    QTextEdit* m_texts = nullptr;
    QTextEdit* m_cogs = nullptr;
    QPushButton* m_delete = nullptr;
};
