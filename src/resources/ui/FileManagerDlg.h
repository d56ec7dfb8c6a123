#pragma once
// The File Manager (136): browses a GOB/GOO archive as a folder tree and the file list of the
// selected folder; creates empty archives, adds files from disk (a file dialog, or files dropped
// on the tree), extracts entries to disk (a MAT as a BMP on request), deletes entries, and lets an
// entry be dragged out onto the desktop as a file. Writes go through CGobArchive (a temporary file
// and a rename); every file written from an entry is placed by EntryHostPath.

#include "resources/GobArchive.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

class CDragListCtrl;
class CDragTreeCtrl;
class QPushButton;
class QTreeWidgetItem;
struct CGameResources;
struct CSettings;

class CFileManagerDlg : public QDialog {
    Q_OBJECT

public:
    // game: the product's resources (colour maps for the BMP conversions); may be null.
    CFileManagerDlg(const CSettings& settings, const CGameResources* game,
                    QWidget* parent = nullptr);
    ~CFileManagerDlg() override;

    // Called with the archive's path after every change the dialog wrote to it; the application
    // reopens its game archive when that is the one.
    std::function<void(const std::filesystem::path& archive)> m_archiveWritten;

    // The buttons' commands.
    void OnOpen();
    void OnNew();
    void OnAdd();
    void OnSaveAs();
    void OnDelete();

    // Opens path as the archive (as Open does after its file dialog). False, with the message
    // shown, when it cannot be read.
    bool OpenArchive(const std::filesystem::path& path);
    // Adds one file from disk (Add and a drop): a ".bmp" becomes a MAT; the entry goes into the
    // folder of its type. An entry of the same path is replaced after the question, when
    // "Warning" is on.
    void AddFile(const std::filesystem::path& source);

    // Adds an entry and rewrites the archive; reread: rebuild the tree.
    void WriteArchive(const std::string& entryPath, std::span<const std::uint8_t> bytes,
                      bool reread);
    // Removes the first entry of entryPath and rewrites the archive; reread: rebuild the tree.
    bool RewriteArchive(const std::string& entryPath, bool reread);

    // The folder of the add-file dialog and the filter of Add for a folder's first entry name
    // (empty: no folder). Exposed for the tables' tests.
    static std::string FolderPrefix(std::string_view fileName);
    static QString AddFilter(std::string_view folderEntryName);

    const std::filesystem::path& ArchivePath() const { return m_archivePath; }
    // The selected rows in the order they became selected.
    const std::vector<int>& SelectedRows() const { return m_selectedRows; }

protected:
    void reject() override;

private:
    void ReadArchive();
    void FillList(int folderItem);
    void OnTreeSelection();
    void OnListSelection();
    void SetButtonsAfterOpen();
    void WriteEntry(int row, const std::filesystem::path& path);
    // The entry index of a list row; -1 when out of range.
    int EntryOfRow(int row) const;
    void Changed();

    const CSettings& m_settings;
    const CGameResources* m_game;
    CDragTreeCtrl* m_tree = nullptr;
    CDragListCtrl* m_list = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_saveAs = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_new = nullptr;

    std::filesystem::path m_archivePath;
    CGobArchive m_archive;                  // the archive as last read
    std::vector<CGobFolderItem> m_folders;  // the tree's items; item data = index here
    int m_currentFolder = -1;
    bool m_filling = false;
    std::vector<int> m_selectedRows;
    std::filesystem::path m_savedDirectory;
};
