// Import of a level from the game's GOB/GOO archives and of projects, and export of projects.

#include "app/QzEditDoc.h"

#include "app/QzEditApp.h"
#include "engine/C3dView.h"
#include "episode/LevelImport.h"
#include "episode/ui/LevelsDlg.h"
#include "framework/Exceptions.h"
#include "level/ResourceLists.h"
#include "resources/GobGameArchive.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <string>

namespace {

std::filesystem::path HostFile(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}

// The Levels dialog on levels; the position chosen, nullopt for cancel. The dialog shows the
// ordinary cursor whatever the caller's wait cursor.
std::optional<int> ChooseLevel(const CTree& levels)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    CLevelsDlg dialog(levels);
    const int result = dialog.exec();
    QApplication::restoreOverrideCursor();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_selected;
}

QString Lines(const std::vector<std::string>& lines)
{
    QString text;
    for (const std::string& line : lines)
        text +=
            QLatin1Char('\n') + QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    return text;
}

}  // namespace

bool CQzEditDoc::ImportArchive(const QString& path)
{
    const CWaitCursor wait;
    m_lastError.clear();
    std::optional<CImportedLevel> imported;
    try {
        // The whole level is made apart from the document's, which changes only once it is read.
        const CGobGameArchive archive(HostFile(path));
        imported = ImportArchiveLevel(archive, m_app.m_settings.m_product, ChooseLevel);
    } catch (const std::exception& e) {
        m_lastError = FailureText("open", path, e);
        return false;
    }
    if (!imported)
        return false;  // the dialog was cancelled
    ReplaceLevel(std::move(imported->m_level));
    BuildResourceLists(*m_level, m_app.m_product.m_resources);
    // The archive brings its own cogs.
    m_fields.m_startCogOn = 0;
    m_fields.m_goalsCogOn = 0;
    // A level entry without a name (a path ending in a backslash) is titled by its archive.
    m_pendingTitle = imported->m_name.empty() ? QFileInfo(path).fileName()
                                              : QString::fromStdString(imported->m_name);
    return true;
}

bool CQzEditDoc::ImportProject(const QString& path)
{
    const CWaitCursor wait;
    m_lastError.clear();
    try {
        CProjectContents contents =
            ReadProject(HostFile(path), m_fields, m_app.m_settings.m_product);
        ReplaceLevel(std::move(contents.m_level));
        m_fields = std::move(contents.m_fields);
        BuildResourceLists(*m_level, m_app.m_product.m_resources);
        if (!contents.m_skipped.empty())
            SetStatusText("Some files of the project were left out: " + contents.m_skipped.front());
    } catch (const std::exception& e) {
        m_lastError = FailureText("open", path, e);
        return false;
    }
    return true;
}

bool CQzEditDoc::ExportProject(const QString& path)
{
    const CWaitCursor wait;
    m_lastError.clear();
    try {
        const CProjectExport result =
            WriteProject(HostFile(path), m_fields, *m_level, m_app.m_product.m_resources,
                         m_app.m_settings.m_product, m_app.DataFolders());
        if (!result.m_skipped.empty()) {
            m_lastError = QStringLiteral("The project \"%1\" was written without these items:%2")
                              .arg(QDir::toNativeSeparators(path), Lines(result.m_skipped));
            return false;
        }
    } catch (const std::exception& e) {
        m_lastError = FailureText("save", path, e);
        return false;
    }
    return true;
}
