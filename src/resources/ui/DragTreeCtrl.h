#pragma once
// The folder tree of the archive dialogs; files dropped on it from the desktop or a file manager
// are reported to the dialog one by one, in the order of the drop: for each, the path goes into
// DroppedPath() and FileDropped is emitted (the dialog adds the file before the next is reported).

#include <QString>
#include <QTreeWidget>

class CDragTreeCtrl : public QTreeWidget {
    Q_OBJECT

public:
    explicit CDragTreeCtrl(QWidget* parent = nullptr);

    // The path of the file last dropped.
    const QString& DroppedPath() const { return m_droppedPath; }

signals:
    void FileDropped();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString m_droppedPath;
};
