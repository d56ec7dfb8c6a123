#pragma once
// The file list of the archive dialogs: rows in report view, several selectable, and an entry
// dragged out of the list onto the desktop or into another program arrives there as a real file.
// The list knows only the rows; its owner knows where an entry's bytes live and writes them when
// the drop target asks (SetEntryWriter). The file goes into a private temporary folder of the list
// under the row's "Name" text, cleaned as every name taken from an archive is.

#include <QTemporaryDir>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class CFileDataSource;

class CDragListCtrl : public QTreeWidget {
    Q_OBJECT

public:
    explicit CDragListCtrl(QWidget* parent = nullptr);
    ~CDragListCtrl() override;

    // Appends a report column of the given width and alignment with its heading.
    void InsertColumn(int width, bool rightAligned, const QString& heading);
    // Appends a row with these texts (one per column); its item data is data.
    void AddRow(const QStringList& texts, qint64 rowData);
    // The item data of row.
    qint64 RowData(int row) const;

    // Who writes a row's entry into the temporary file (the dialog that owns the list).
    void SetEntryWriter(std::function<void(int row, const std::filesystem::path& path)> writer)
    {
        m_writer = std::move(writer);
    }
    void EnableDragOut(bool on);

    // The data a drag of row offers: a file url of the temporary file named by the row's first
    // column. Null when drag-out is off or the name cannot be a file name (see EntryHostPath).
    std::unique_ptr<CFileDataSource> MakeDataSource(int row);
    // The temporary file of the last drag-out; empty before the first.
    const std::filesystem::path& TempFile() const { return m_tempFile; }

protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

private:
    std::optional<std::filesystem::path> TempFolder();

    std::function<void(int row, const std::filesystem::path& path)> m_writer;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    std::filesystem::path m_tempFile;
    bool m_dragOut = false;
};
