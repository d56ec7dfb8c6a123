#include "app/QzEditApp.h"

#include "app/ChildFrame.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QtInput.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "app/SettingsStore.h"
#include "app/ShellOpen.h"
#include "app/Splash.h"
#include "engine/Random.h"
#include "engine/SoundDevice.h"
#include "engine/audio/OpenSoundDevice.h"
#include "ui/UiServices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <system_error>
#include <utility>

namespace {

CQzEditApp* g_app = nullptr;

// The help context of Help Index and of every help request without a better one.
constexpr unsigned int kHelpContextDefault = 0x1E142;

}  // namespace

std::filesystem::path FindProgramFolder(const std::filesystem::path& exeDir)
{
    // The installed data folder as seen from the installed executable's folder (set by the build
    // from its install folders; relative, so an installed tree may move).
    const std::filesystem::path installed = exeDir / QZ_DATA_DIR_FROM_BIN;
    for (const std::filesystem::path& folder : {exeDir, installed}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / "new.qze", error))
            return folder.lexically_normal();
    }
    return exeDir;
}

CQzEditApp::CQzEditApp(CAppOptions options) : m_options(std::move(options))
{
    g_app = this;
    if (m_options.m_settingsFile.isEmpty())
        m_profile = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QStringLiteral("Korvath & Varnok Editor"),
                                                QStringLiteral("QzEdit"));
    else
        m_profile = std::make_unique<QSettings>(m_options.m_settingsFile, QSettings::IniFormat);
    m_store = std::make_unique<CSettingsStore>(*m_profile);

    m_programDir = m_options.m_programDir;
    if (m_programDir.empty())
        m_programDir = FindProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    if (m_options.m_defaultGameDir.empty())
        m_options.m_defaultGameDir = m_programDir / "game";
    m_userDataDir = m_options.m_userDataDir;
    if (m_userDataDir.empty())
        m_userDataDir =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();

    // The held camera keys are followed from the key events of every window.
    auto keys = std::make_unique<CQtKeyState>();
    keys->Install();
    m_keys = std::move(keys);
    m_clock = std::make_unique<CSteadyClock>();
    m_random = std::make_unique<CSeededRandom>(m_clock->Milliseconds());
    if (m_options.m_openSound)
        m_sound = OpenSoundDevice();

    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        if (!OnIdle())
            m_idleTimer.stop();
    });
    RegisterCommands();
    // Help buttons of the dialogs show their pages through the application.
    m_previousHelpHandler =
        SetHelpHandler([this](unsigned int context) { OpenHelpContext(*this, context); });
}

CQzEditApp::~CQzEditApp()
{
    m_idleTimer.stop();
    m_shellOpen.reset();
    // The document windows (and with them the engines) go before the documents and the game.
    delete m_pMainFrame;
    m_pMainFrame = nullptr;
    for (CQzEditDoc* doc : m_documents)
        delete doc;
    m_documents.clear();
    SetHelpHandler(std::move(m_previousHelpHandler));
    if (g_app == this)
        g_app = nullptr;
}

CQzEditApp* CQzEditApp::Get()
{
    return g_app;
}

bool CQzEditApp::InitInstance()
{
    m_store->LoadPreferences(m_settings);
    m_recentFiles = m_store->RecentFiles();
    while (m_recentFiles.size() > Cmd::kRecentFileCount)
        m_recentFiles.removeLast();

    m_pMainFrame = new CMainFrame(*this);
    if (!m_pMainFrame->Create()) {
        delete m_pMainFrame;
        m_pMainFrame = nullptr;
        return false;
    }
    m_pMainFrame->setAcceptDrops(true);
    if (m_options.m_listenForOpenRequests) {
        m_shellOpen = std::make_unique<CShellOpenServer>(
            [this](const QStringList& paths) { OpenShellFiles(paths); });
        m_shellOpen->Listen(ShellOpenServerName());
    }

    // Window placement: the saved normal rectangle, or the work area when none was saved.
    QRect workArea(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        workArea = screen->availableGeometry();
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    const std::int32_t maximized = m_settings.m_maximized;
    const QRect placement = PlaceMainWindow(m_settings, workArea, screens);
    // The rectangle is the window's outer one (title bar and borders included), as the frame
    // stores it: the position places the outer frame, the size loses the borders once known.
    m_pMainFrame->move(placement.topLeft());
    m_pMainFrame->resize(placement.size());
    m_settings.m_maximized = maximized;
    if (m_options.m_showMainFrame) {
        if (m_settings.m_maximized != 0) {
            m_pMainFrame->showMaximized();
        } else {
            m_pMainFrame->show();
            const QSize borders = m_pMainFrame->frameGeometry().size() - m_pMainFrame->size();
            if (borders.width() > 0 || borders.height() > 0)
                m_pMainFrame->resize(placement.size() - borders);
        }
        m_settings.m_maximized = maximized;
    }

    if (m_options.m_showSplash)
        RunAboutBox(*this, true, m_pMainFrame);
    else
        SetupProduct();
    m_started = true;
    if (QStringList files = m_options.m_openFiles + std::exchange(m_pendingOpen, {});
        !files.isEmpty())
        OpenShellFiles(files);
    if (m_options.m_showTip)
        ShowTipAtStartup(*this, m_pMainFrame);
    return true;
}

int CQzEditApp::ExitInstance()
{
    m_store->SavePreferences(m_settings);
    m_store->SetRecentFiles(m_recentFiles);
    m_profile->sync();
    return 0;
}

bool CQzEditApp::OnIdle()
{
    // Every document view with an engine gets its unforced frame, so walk mode animates in each
    // of them, not only in the first document's.
    bool more = false;
    const std::vector<CQzEditDoc*> docs = m_documents;
    for (CQzEditDoc* doc : docs)
        for (CDocView* view : doc->Views())
            if (auto* view3d = dynamic_cast<CQzEditView*>(view);
                view3d != nullptr && view3d->Engine() != nullptr)
                more = view3d->IdleFrame() != 0 || more;
    return more;
}

void CQzEditApp::WakeIdle()
{
    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

void CQzEditApp::SetupProduct()
{
    const CWaitCursor wait;
    const int product = m_settings.m_product;
    if (const char* caption = CProductSetup::Caption(product); caption && m_pMainFrame)
        m_pMainFrame->setWindowTitle(QString::fromLatin1(caption));
    const std::string message = m_product.Run(product, GameFolder(product), {}, DataFolders());
    if (!message.empty())
        QzMessageBox(QString::fromStdString(message), QMessageBox::Ok, m_pMainFrame);
}

std::filesystem::path CQzEditApp::GameFolder(int product) const
{
    const QString chosen = m_store->GameFolder(product);
    if (!chosen.isEmpty())
        return chosen.toStdString();
    return m_options.m_defaultGameDir;
}

void CQzEditApp::SetGameFolder(int product, const std::filesystem::path& folder)
{
    m_store->SetGameFolder(product, QString::fromStdString(folder.string()));
}

namespace {

// Adds a new document window of doc to the main frame.
void OpenWindow(CMainFrame* frame, CQzEditDoc& doc)
{
    if (frame == nullptr)
        return;
    auto* child = new CChildFrame(doc);
    frame->AddChildFrame(child);
    frame->UpdateMenus();
}

}  // namespace

CQzEditDoc* CQzEditApp::NewDocument()
{
    static int untitled = 0;
    auto doc = std::make_unique<CQzEditDoc>(*this);
    doc->OnNewDocument();
    doc->SetTitle(QStringLiteral("QzEdit%1").arg(++untitled));
    m_documents.push_back(doc.get());
    OpenWindow(m_pMainFrame, *doc);
    return doc.release();
}

CQzEditDoc* CQzEditApp::OpenDocumentFile(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    // A file that is open already is only brought to the front.
    for (CQzEditDoc* doc : m_documents)
        if (!doc->PathName().isEmpty() && QFileInfo(doc->PathName()) == QFileInfo(full)) {
            if (m_pMainFrame && doc->Frame())
                m_pMainFrame->MdiArea()->setActiveSubWindow(doc->Frame());
            return doc;
        }

    auto doc = std::make_unique<CQzEditDoc>(*this);
    if (!doc->OnOpenDocument(full)) {
        if (!doc->LastError().isEmpty())
            QzMessageBox(doc->LastError(), QMessageBox::Ok, m_pMainFrame);
        return nullptr;
    }
    doc->SetPathName(full, true);
    // Taken at once, not only at the first paint: a view that never paints (no OpenGL) must not
    // leave the archive as the path a Save would write.
    doc->TakePendingTitle();
    m_documents.push_back(doc.get());
    OpenWindow(m_pMainFrame, *doc);
    return doc.release();
}

void CQzEditApp::OnFileOpen()
{
    // Starts in the folder of the active document, else in the folder used last.
    const CQzEditDoc* active = m_pMainFrame != nullptr ? m_pMainFrame->ActiveDocument() : nullptr;
    const QString folder = active != nullptr && !active->PathName().isEmpty()
                               ? QFileInfo(active->PathName()).absolutePath()
                               : QString();
    const QString path = QzGetOpenFileName(
        m_pMainFrame, QStringLiteral("Open"),
        QStringLiteral("QzEdit Files (*.qze, *.qzl, *.qzp, *.gob, *.goo)|"
                       "*.qze;*.qzl;*.qzp;*.gob;*.goo|QzEdit Files (*.qze)|*.qze|"
                       "Korvath/Varnok Level Files (*.qzl)|*.qzl|"
                       "QzEdit Project Files (*.qzp)|*.qzp|GOB Files (*.gob)|*.gob|"
                       "GOO Files (*.goo)|*.goo||"),
        QStringLiteral("qze"), folder);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CQzEditApp::OpenShellFiles(const QStringList& paths)
{
    if (!m_started) {
        m_pendingOpen += paths;
        return;
    }
    for (const QString& path : paths)
        OpenDocumentFile(path);
    if (m_pMainFrame != nullptr && m_pMainFrame->isVisible()) {
        m_pMainFrame->setWindowState(m_pMainFrame->windowState() & ~Qt::WindowMinimized);
        m_pMainFrame->raise();
        m_pMainFrame->activateWindow();
    }
}

bool CQzEditApp::IsOpenRequestListener() const
{
    return m_shellOpen != nullptr && m_shellOpen->IsListening();
}

void CQzEditApp::RemoveDocument(CQzEditDoc* doc)
{
    const auto it = std::find(m_documents.begin(), m_documents.end(), doc);
    if (it == m_documents.end())
        return;
    m_documents.erase(it);
    doc->deleteLater();
    if (m_pMainFrame)
        m_pMainFrame->UpdateMenus();
}

void CQzEditApp::AddToRecentFileList(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    m_recentFiles.removeAll(full);
    m_recentFiles.prepend(full);
    while (m_recentFiles.size() > Cmd::kRecentFileCount)
        m_recentFiles.removeLast();
    if (m_pMainFrame)
        m_pMainFrame->UpdateMenus();
}

void CQzEditApp::RemoveFromRecentFileList(const QString& path)
{
    if (m_recentFiles.removeAll(path) > 0 && m_pMainFrame)
        m_pMainFrame->UpdateMenus();
}

void CQzEditApp::RegisterCommands()
{
    AddCommand(Cmd::kFileNew, [this] { NewDocument(); });
    AddCommand(Cmd::kFileOpen, [this] { OnFileOpen(); });
    for (int i = 0; i < Cmd::kRecentFileCount; ++i)
        AddCommand(
            Cmd::kFileMru1 + i,
            [this, i] {
                if (i >= m_recentFiles.size())
                    return;
                // An entry that no longer opens (gone, moved, damaged) leaves the list.
                const QString path = m_recentFiles[i];
                if (OpenDocumentFile(path) == nullptr)
                    RemoveFromRecentFileList(path);
            },
            [this, i](CCmdUI& ui) { ui.Enable(i < m_recentFiles.size()); });
    AddCommand(Cmd::kAppExit, [this] {
        if (m_pMainFrame)
            m_pMainFrame->close();
    });
    AddCommand(Cmd::kSetupProduct, [this] { SetupProduct(); });
    RegisterTemplateManagerCommand();
    AddCommand(Cmd::kSelectProduct, [this] { RunSelectProduct(*this, m_pMainFrame); });
    AddCommand(Cmd::kTipOfTheDay, [this] { ShowTipOfTheDay(*this, m_pMainFrame); });
    AddCommand(Cmd::kHelpIndex, [this] { OpenHelpContext(*this, kHelpContextDefault); });
    AddCommand(Cmd::kHelpTutorials,
               [this] { OpenHelpPage(*this, QStringLiteral("tutorial.htm")); });
    AddCommand(Cmd::kHelpFaqs, [this] { OpenHelpPage(*this, QStringLiteral("faq.htm")); });
    AddCommand(Cmd::kAppAbout, [this] { RunAboutBox(*this, false, m_pMainFrame); });
    RegisterFileManagerCommand();
    RegisterMultiLevelEditorCommand();
}
