#include "resources/ui/DragListCtrl.h"

#include "resources/EntryHostPath.h"
#include "resources/ui/FileDataSource.h"

#include <QDir>
#include <QHeaderView>

CDragListCtrl::CDragListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setColumnCount(0);
    header()->setStretchLastSection(false);
}

CDragListCtrl::~CDragListCtrl() = default;

void CDragListCtrl::InsertColumn(int width, bool rightAligned, const QString& heading)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    QTreeWidgetItem* head = headerItem();
    head->setText(column, heading);
    const Qt::Alignment align = (rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    head->setTextAlignment(column, align);
    setColumnWidth(column, width);
}

void CDragListCtrl::AddRow(const QStringList& texts, qint64 rowData)
{
    auto* item = new QTreeWidgetItem(this);
    const QTreeWidgetItem* head = headerItem();
    for (int column = 0; column < texts.size() && column < columnCount(); ++column) {
        item->setText(column, texts[column]);
        item->setTextAlignment(column, Qt::Alignment(head->textAlignment(column)));
    }
    item->setData(0, Qt::UserRole, rowData);
}

qint64 CDragListCtrl::RowData(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item == nullptr ? -1 : item->data(0, Qt::UserRole).toLongLong();
}

void CDragListCtrl::EnableDragOut(bool on)
{
    m_dragOut = on;
    setDragEnabled(on);
    setDragDropMode(on ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

std::optional<std::filesystem::path> CDragListCtrl::TempFolder()
{
    if (!m_tempDir) {
        m_tempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                    QStringLiteral("/qzedit-drag-XXXXXX"));
        if (!m_tempDir->isValid()) {
            m_tempDir.reset();
            return std::nullopt;
        }
    }
    return std::filesystem::path(m_tempDir->path().toStdString());
}

std::unique_ptr<CFileDataSource> CDragListCtrl::MakeDataSource(int row)
{
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!m_dragOut || item == nullptr)
        return nullptr;
    const std::optional<std::filesystem::path> folder = TempFolder();
    if (!folder)
        return nullptr;
    const std::optional<std::filesystem::path> file =
        EntryHostPath(*folder, item->text(0).toStdString());
    if (!file)
        return nullptr;
    m_tempFile = *file;
    return std::make_unique<CFileDataSource>(m_writer, row, *file);
}

QStringList CDragListCtrl::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* CDragListCtrl::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    // A drag carries the row it began on (the current one), as one file.
    const QTreeWidgetItem* item = currentItem();
    if (item == nullptr || !items.contains(const_cast<QTreeWidgetItem*>(item)))
        item = items.value(0);
    if (item == nullptr)
        return nullptr;
    // Qt asks through a const member; the temporary folder and file are the list's own state.
    auto* self = const_cast<CDragListCtrl*>(this);
    return self->MakeDataSource(indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item))).release();
}
