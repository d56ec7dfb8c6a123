// "Test &Level": the level checked, packed into the test archive and played in the game; and the
// GOB/GOO archive of the level that Save As writes.
//
// The game runs on its own: the editor goes on painting and taking input while it runs, and the
// command stays greyed until the game this document started has ended. Qt delivers the view's
// input without it being acquired, so nothing has to be taken back when the game ends.

#include "app/GameLauncher.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/SettingsStore.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Dsound.h"
#include "engine/RenderData.h"
#include "episode/StartGoalsCogs.h"
#include "episode/TestArchive.h"
#include "framework/Exceptions.h"
#include "ui/UiServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kFatalErrorsText = "CANNOT TEST LEVEL.\n\n"
                                         "Your level contains fatal errors, which\n"
                                         "will cause Korvath/Varnok to crash.";
constexpr const char* kNoGameFolderText =
    "Cannot test the level: the game's folder is not known. Choose the game's folder first.";

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString HostText(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

}  // namespace

bool CQzEditDoc::BuildArchive(const QString& path)
{
    const CWaitCursor wait;
    // The cogs the switches ask for: the user's copy first, then the installed default; one that
    // cannot be read is left out.
    const CDataFolders folders = m_app.DataFolders();
    auto readCog = [&folders](bool on,
                              const char* name) -> std::optional<std::vector<std::uint8_t>> {
        if (!on)
            return std::nullopt;
        try {
            return folders.Read(name);
        } catch (const CFileException&) {
            return std::nullopt;
        }
    };
    const CTestArchiveCogs cogs{readCog(m_fields.m_startCogOn != 0, kStartCogScript),
                                readCog(m_fields.m_goalsCogOn != 0, kGoalsCogScript)};
    CTestArchive built;
    try {
        built = SaveTestArchive(std::filesystem::path(path.toStdString()), *m_level, m_fields, cogs,
                                m_app.m_product.m_resources, m_app.m_settings.m_product);
    } catch (const std::exception& e) {
        m_lastError = dynamic_cast<const CFileException*>(&e) != nullptr
                          ? Text(e.what())
                          : QStringLiteral("Cannot write the archive \"%1\".\n\n%2")
                                .arg(QDir::toNativeSeparators(path), Text(e.what()));
        return false;
    }
    LevelTextWritten(built.m_status);
    if (!built.m_skipped.empty()) {
        QStringList lines;
        for (const std::string& item : built.m_skipped)
            lines << Text(item);
        QzMessageBox(QStringLiteral("Not everything could be put into \"%1\":\n\n%2")
                         .arg(QDir::toNativeSeparators(path), lines.join(QLatin1Char('\n'))),
                     QMessageBox::Ok, DialogParent());
    }
    return true;
}

void CQzEditDoc::LevelTextWritten(const std::string& status)
{
    if (!status.empty())
        SetStatusText(status);
    if (m_pEngine == nullptr)
        return;
    m_pEngine->m_selection.m_surface = -1;
    m_pEngine->m_selection.m_vertex = -1;
    m_pEngine->m_selection.m_vertexSurface = -1;
    for (auto& sector : m_level->m_sectors)
        if (sector)
            MarkSectorChanged(*sector);
}

bool CQzEditDoc::IsGameRunning() const
{
    const auto* game = qobject_cast<const CGameLauncher*>(m_app.m_testGame.data());
    return game != nullptr && game->IsRunning();
}

void CQzEditDoc::OnTestLevel()
{
    if (!m_level || IsGameRunning())
        return;
    if (m_app.m_settings.m_errorChecking != 0 && CheckInHiddenErrorsWindow() != 0) {
        QzMessageBox(QString::fromLatin1(kFatalErrorsText), QMessageBox::Ok, DialogParent());
        MakeErrorsWindow(true);
        return;
    }
    const CProductSetup& product = m_app.m_product;
    if (product.m_installPath.empty() || product.m_episodePath.empty()) {
        QzMessageBox(QString::fromLatin1(kNoGameFolderText), QMessageBox::Ok, DialogParent());
        return;
    }
    const bool base = m_app.m_settings.m_product == 0;
    const std::filesystem::path archive =
        product.m_episodePath / (base ? kTestArchiveGob : kTestArchiveGoo);
    if (!BuildArchive(HostText(archive))) {
        QzMessageBox(m_lastError, QMessageBox::Ok, DialogParent());
        return;
    }

    // The game takes the sound device while it runs; the view goes on without a sound object.
    if (m_pEngine != nullptr)
        m_pEngine->m_sound.reset();
    const QString program = HostText(product.m_installPath / (base ? "qz.exe" : "qzv.exe"));
    const QStringList arguments = {QStringLiteral("-dispstats"), QStringLiteral("-debug"),
                                   QStringLiteral("log"), QStringLiteral("-displayconfig")};
    // The launcher belongs to the application, so that closing the document does not end the
    // game; it goes when the game has ended.
    auto* game = new CGameLauncher(QCoreApplication::instance());
    connect(game, &CGameLauncher::Finished, game, &QObject::deleteLater);
    QString error;
    if (!game->Start(m_app.Store().Launcher(m_app.m_settings.m_product), program, arguments,
                     HostText(product.m_installPath), error)) {
        delete game;
        QzMessageBox(error, QMessageBox::Ok, DialogParent());
        return;
    }
    m_app.m_testGame = game;
}

void CQzEditDoc::RegisterTestLevelCommand()
{
    AddCommand(
        Cmd::kTestLevel, [this] { OnTestLevel(); },
        [this](CCmdUI& ui) {
            ui.Enable((m_pEngine == nullptr || m_pEngine->m_walk.m_on == 0) && !IsGameRunning());
        });
}
