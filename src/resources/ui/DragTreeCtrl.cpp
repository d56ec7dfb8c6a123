#include "resources/ui/DragTreeCtrl.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

bool HoldsFiles(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return true;
    return false;
}

}  // namespace

CDragTreeCtrl::CDragTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void CDragTreeCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (HoldsFiles(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CDragTreeCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (HoldsFiles(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CDragTreeCtrl::dropEvent(QDropEvent* event)
{
    if (!HoldsFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        m_droppedPath = url.toLocalFile();
        emit FileDropped();
    }
}
