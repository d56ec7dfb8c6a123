#include "ui/UiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLayout>
#include <QRegularExpression>
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

QString& LastFolder()
{
    static QString folder;
    return folder;
}

QString WithDefaultExtension(const QString& path, const QString& defaultExtension)
{
    if (path.isEmpty() || defaultExtension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + defaultExtension;
}

// The patterns of each filter of the framework's form "A|*.a|B|*.b;*.c||".
QStringList FilterPatterns(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList patterns;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
        patterns.push_back(parts[i + 1]);
    return patterns;
}

// The extension a bare name gets with filter number index chosen: the filter's own when it has
// one pattern "*.ext", else defaultExtension.
QString ExtensionFor(const QString& filter, int index, const QString& defaultExtension)
{
    const QString pattern = FilterPatterns(filter).value(index);
    const QString extension = pattern.mid(2);
    if (pattern.startsWith(QLatin1String("*.")) && !extension.isEmpty() &&
        !extension.contains(QRegularExpression(QStringLiteral("[*?;. \\[]"))))
        return extension;
    return defaultExtension;
}

// Runs a file dialog (or the hook) and gives the chosen path its extension.
QString RunFileDialog(QWidget* parent, CFileDialogRequest request, const QString& defaultExtension)
{
    if (request.folder.isEmpty())
        request.folder = LastFolder();
    QString path;
    if (FileHook()) {
        path = FileHook()(request);
    } else {
        const QStringList filters = QtNameFilters(request.filter).split(QStringLiteral(";;"));
        QFileDialog dialog(parent, request.title, request.folder);
        dialog.setNameFilters(filters);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // The dialog adds the extension itself, so that it asks before it replaces a file of
        // the name with the extension.
        const auto follow = [&](const QString& chosen) {
            request.chosenFilter =
                static_cast<int>(std::max<qsizetype>(0, filters.indexOf(chosen)));
            dialog.setDefaultSuffix(
                ExtensionFor(request.filter, request.chosenFilter, defaultExtension));
        };
        follow(filters.value(0));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
        if (dialog.exec() == QDialog::Accepted) {
            path = dialog.selectedFiles().value(0);
            follow(dialog.selectedNameFilter());
        }
    }
    if (path.isEmpty())
        return path;
    if (request.save || !QFileInfo::exists(path))
        path = WithDefaultExtension(
            path, ExtensionFor(request.filter, request.chosenFilter, defaultExtension));
    LastFolder() = QFileInfo(path).absolutePath();
    return path;
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
                          const QString& defaultExtension, const QString& folder)
{
    return RunFileDialog(parent,
                         {.save = false, .title = title, .filter = filter, .folder = folder},
                         defaultExtension);
}

QString QzGetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& defaultExtension, const QString& folder)
{
    return RunFileDialog(parent, {.save = true, .title = title, .filter = filter, .folder = folder},
                         defaultExtension);
}

QStringList QzGetOpenFileNames(QWidget* parent, const QString& title, const QString& filter,
                               const QString& folder)
{
    CFileDialogRequest request{.save = false, .title = title, .filter = filter, .folder = folder};
    if (request.folder.isEmpty())
        request.folder = LastFolder();
    QStringList paths;
    if (FileHook()) {
        paths = FileHook()(request).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    } else {
        QFileDialog dialog(parent, request.title, request.folder);
        dialog.setNameFilters(QtNameFilters(request.filter).split(QStringLiteral(";;")));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        if (dialog.exec() == QDialog::Accepted)
            paths = dialog.selectedFiles();
    }
    if (!paths.isEmpty())
        LastFolder() = QFileInfo(paths.front()).absolutePath();
    return paths;
}

QString QzLastFileFolder()
{
    return LastFolder();
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
