#pragma once
// Files in Level (5003): the level's own files in a fixed tree of type folders and a list of the
// files of the folder selected, with Add (from disk, or by dropping files on the tree; bitmaps
// become materials in the colour map chosen under "Palette:"), Delete, Edit (as text), Rename and
// Save (to disk). Every change goes to the level's file index at once and marks the document
// modified through the callback; closing the dialog, by any button, keeps them. The level's files
// are not part of the undo history.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <vector>

class CDragListCtrl;
class CDragTreeCtrl;
class CQzlSections;
class QComboBox;
class QPushButton;
class QTreeWidgetItem;
struct CGameResources;
struct CSettings;

class CFilesInLevelDlg : public QDialog {
    Q_OBJECT

public:
    CFilesInLevelDlg(CQzlSections& level, const CGameResources& game, CSettings& settings,
                     std::function<void()> markModified, QWidget* parent = nullptr);

    // Adds each path with the add-file steps, in order: the files chosen with Add and the files
    // dropped on the tree come here.
    void AddFiles(const QStringList& paths);

    // Selects folder (an index into LevelFileFolders()) as if the user did, refilling the list.
    void SelectFolder(int folder);

    int SelectedRow() const { return m_selectedRow; }
    int CurrentFolder() const { return m_currentFolder; }

private:
    void BuildTree();
    void FillList();
    void OnTreeSelection();
    void OnRowSelection();
    void EnableRowButtons(bool enable);
    // The level file index of list row (of the selected row), -1 when there is no valid one.
    int EntryOfRow(int row) const;
    int SelectedEntry() const;
    // The list's drag-out writer: the bytes of row's file into path (a message when they do not
    // match its size).
    void WriteDragOutFile(int row, const std::filesystem::path& path);
    bool AddFile(const QString& path);
    void OnAdd();
    void OnDelete();
    void OnEdit();
    void OnRename();
    void OnSave();
    void Modified();

    CQzlSections& m_level;
    const CGameResources& m_game;
    CSettings& m_settings;
    std::function<void()> m_markModified;

    CDragTreeCtrl* m_tree = nullptr;
    CDragListCtrl* m_list = nullptr;
    QComboBox* m_palette = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_save = nullptr;
    std::vector<QTreeWidgetItem*> m_folderItems;  // by index into LevelFileFolders()

    int m_selectedRow = -1;
    int m_currentFolder = -1;
    bool m_filling = false;
    bool m_selecting = false;
};
