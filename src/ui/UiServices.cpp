#include "ui/UiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLayout>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

CMessageBoxHook& MessageHook()
{
    static CMessageBoxHook hook;
    return hook;
}

CFileDialogHook& FileHook()
{
    static CFileDialogHook hook;
    return hook;
}

QString WithDefaultExtension(const QString& path, const QString& defaultExtension)
{
    if (path.isEmpty() || defaultExtension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + defaultExtension;
}

}  // namespace

QMessageBox::StandardButton QzMessageBox(const QString& text, QMessageBox::StandardButtons buttons,
                                         QWidget* parent)
{
    if (MessageHook())
        return MessageHook()(text, buttons);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QzEdit"), text, buttons, parent);
    box.setObjectName(QStringLiteral("QzMessageBox"));
    if (buttons.testFlag(QMessageBox::Yes) || buttons.testFlag(QMessageBox::No))
        box.setIcon(QMessageBox::Question);
    else
        box.setIcon(QMessageBox::Warning);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

CMessageBoxHook SetMessageBoxHook(CMessageBoxHook hook)
{
    return std::exchange(MessageHook(), std::move(hook));
}

CFileDialogHook SetFileDialogHook(CFileDialogHook hook)
{
    return std::exchange(FileHook(), std::move(hook));
}

QString QtNameFilters(const QString& filter)
{
    // "Text|pattern|Text|pattern||": pairs of a caption and its patterns.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString caption = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt takes the patterns from the parentheses of the caption.
        const qsizetype open = caption.indexOf(QLatin1Char('('));
        if (open >= 0)
            caption = caption.left(open).trimmed();
        out.push_back(caption + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

QString QzGetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& defaultExtension)
{
    if (FileHook())
        return FileHook()(false, title, filter);
    const QString path =
        QFileDialog::getOpenFileName(parent, title, QString(), QtNameFilters(filter));
    return WithDefaultExtension(path, defaultExtension);
}

QString QzGetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& defaultExtension)
{
    if (FileHook())
        return WithDefaultExtension(FileHook()(true, title, filter), defaultExtension);
    const QString path =
        QFileDialog::getSaveFileName(parent, title, QString(), QtNameFilters(filter));
    return WithDefaultExtension(path, defaultExtension);
}

void QzBeginWaitCursor()
{
    if (QApplication::instance() != nullptr)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QzEndWaitCursor()
{
    if (QApplication::instance() != nullptr && QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

namespace {

CHelpHandler& HelpHandler()
{
    static CHelpHandler handler;
    return handler;
}

}  // namespace

void QzHelp(unsigned int context)
{
    if (HelpHandler())
        HelpHandler()(context);
}

CHelpHandler SetHelpHandler(CHelpHandler handler)
{
    return std::exchange(HelpHandler(), std::move(handler));
}

QSize DialogUnits(const QWidget& widget, int width, int height)
{
    const QFontMetrics metrics = widget.fontMetrics();
    return {width * metrics.averageCharWidth() / 4, height * metrics.height() / 8};
}

void FitDialog(QWidget& dialog, QSize least)
{
    QLayout* layout = dialog.layout();
    if (layout == nullptr) {
        dialog.setFixedSize(least);
        return;
    }
    layout->activate();
    QSize size = layout->totalSizeHint().expandedTo(layout->totalMinimumSize()).expandedTo(least);
    if (layout->hasHeightForWidth())
        size.setHeight(std::max(size.height(), layout->totalHeightForWidth(size.width())));
    dialog.setFixedSize(size);
}
