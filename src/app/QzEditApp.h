#pragma once
// The application object: settings, product set-up and its game resources, the main frame, the
// open documents, the application's commands and the idle loop that drives walk mode.
//
// One object per process (CQzEditApp::Get() reaches it from anywhere); the caller owns the
// QApplication around it. Tests make their own with a settings file and a program folder in a
// temporary directory.

#include "app/CommandTarget.h"
#include "app/Splash.h"
#include "framework/DataFolders.h"
#include "framework/Settings.h"
#include "level/ProductSetup.h"
#include "ui/UiServices.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <vector>

class CMainFrame;
class CQzEditDoc;
class CSettingsStore;
class CShellOpenServer;
class Clock;
class KeyState;
class Random;
class SoundDevice;
class QSettings;

// How the application starts.
struct CAppOptions {
    // The settings file (an INI file); empty: the user's configuration folder
    // (~/.config/Korvath & Varnok Editor/QzEdit.ini).
    QString m_settingsFile;
    // The program folder: new.qze, newvarnok.qze, korvath.dat, varnok.dat, the start and goals
    // cogs, help pages. Empty: found from the executable's folder (FindProgramFolder).
    std::filesystem::path m_programDir;
    // The game folder of a product when the user has chosen none. Empty: "game" in the program
    // folder, where the build and the installation put the synthetic game.
    std::filesystem::path m_defaultGameDir;
    // The user's copies of the program folder's data files (template lists, start and goals cog
    // scripts, material groups). Empty: the desktop's data location
    // (~/.local/share/Korvath & Varnok Editor/QzEdit).
    std::filesystem::path m_userDataDir;
    // Start-up shows the splash (which runs product set-up) and the Tip of the Day; without
    // them product set-up runs directly.
    bool m_showSplash = true;
    bool m_showTip = true;
    // How long the splash stays at least (tests shorten it).
    int m_splashMilliseconds = kSplashMilliseconds;
    // Show the main frame (tests may leave it hidden).
    bool m_showMainFrame = true;
    // Open an audio device (tests run silent).
    bool m_openSound = true;
    // Files to open as documents once product set-up has run (the command line's).
    QStringList m_openFiles;
    // Take the open requests of later editors of this user and display (ShellOpen.h).
    bool m_listenForOpenRequests = false;
};

// The program folder of an executable in exeDir: exeDir itself when it holds the program's files
// (the build's folder, or a program folder copied as a whole), else the data folder of an
// installed program (<prefix>/share/qzedit for <prefix>/bin) when that holds them, else exeDir.
std::filesystem::path FindProgramFolder(const std::filesystem::path& exeDir);

class CQzEditApp : public QObject, public CCommandTarget {
    Q_OBJECT

public:
    explicit CQzEditApp(CAppOptions options = {});
    ~CQzEditApp() override;
    CQzEditApp(const CQzEditApp&) = delete;
    CQzEditApp& operator=(const CQzEditApp&) = delete;

    // The running application object (null before construction and after destruction).
    static CQzEditApp* Get();

    // Start-up: settings, main frame, window placement, splash with product set-up, Tip of the
    // Day. False when the main frame cannot be made.
    bool InitInstance();
    // Writes the settings (and the recent-file list); called once at a normal exit.
    int ExitInstance();

    // One idle step: the frame routine of every document's 3D view that has an engine (unforced).
    // True while any of them wants to go on (walk mode).
    bool OnIdle();
    // Starts the idle loop (a zero-time timer) when it is not running; the views call it after
    // anything that may start an animation.
    void WakeIdle();

    // Product set-up for the "Product" setting (command 13): caption, archives, indexes,
    // template list; shows the message of a missing archive.
    void SetupProduct();

    // Documents.
    CQzEditDoc* NewDocument();                          // Cmd::kFileNew
    CQzEditDoc* OpenDocumentFile(const QString& path);  // null when it failed (message shown)
    void OnFileOpen();                                  // Cmd::kFileOpen
    // Opens each of paths as Open does (a file that fails gives its message and the others still
    // open) and brings the main window to the front: the files of the command line and of open
    // requests. Before start-up has set up the product they wait for it.
    void OpenShellFiles(const QStringList& paths);
    // Whether this editor takes the open requests of later ones.
    bool IsOpenRequestListener() const;
    // Removes doc (already closed by the document) from the list.
    void RemoveDocument(CQzEditDoc* doc);
    const std::vector<CQzEditDoc*>& Documents() const { return m_documents; }
    // Adds path to the front of the recent-file list (4 entries).
    void AddToRecentFileList(const QString& path);
    // Removes path (as it stands in the list) from the recent-file list.
    void RemoveFromRecentFileList(const QString& path);
    const QStringList& RecentFiles() const { return m_recentFiles; }

    // The game folder of product: the user's choice, else the default game folder.
    std::filesystem::path GameFolder(int product) const;
    void SetGameFolder(int product, const std::filesystem::path& folder);

    // After the File Manager wrote archive: when it is one of the game's archives, the game reads
    // the new file (archives reopened, indexes rebuilt) and every document's engine loads its
    // textures anew. A file that cannot be read back leaves the game as it was, with its message.
    void GameArchiveWritten(const std::filesystem::path& archive);

    // The Template Manager, modal, with the document whose level drives its used-in-level filter
    // (null: none). On OK the list goes to the user's copy of the product's template file and then
    // replaces the product's list; every open document's things take their models anew from it.
    // The level is not changed.
    void RunTemplateManager(CQzEditDoc* doc, QWidget* parent);

    // The program folder's data files with the user's copies over them.
    CDataFolders DataFolders() const { return {m_programDir, m_userDataDir}; }

    CSettings m_settings;
    std::filesystem::path m_programDir;
    std::filesystem::path m_userDataDir;
    CProductSetup m_product;

    CMainFrame* m_pMainFrame = nullptr;  // owned: deleted by the destructor
    // The game Test Level started (a CGameLauncher), while it runs: one game at a time, since
    // every document's Test Level writes the same test archive.
    QPointer<QObject> m_testGame;

    CSettingsStore& Store() { return *m_store; }
    QSettings& Profile() { return *m_profile; }
    const KeyState& Keys() const { return *m_keys; }
    Clock& GetClock() { return *m_clock; }
    Random& GetRandom() { return *m_random; }
    SoundDevice* Sound() { return m_sound.get(); }
    const CAppOptions& Options() const { return m_options; }

private:
    void RegisterCommands();
    void RegisterFileManagerCommand();
    // "Template &Manager..." with no document open (QzEditAppTemplates.cpp).
    void RegisterTemplateManagerCommand();
    // "Multi &Level Editor..." (QzEditAppMultiLevel.cpp).
    void RegisterMultiLevelEditorCommand();

    CAppOptions m_options;
    std::unique_ptr<QSettings> m_profile;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<KeyState> m_keys;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<Random> m_random;
    std::unique_ptr<SoundDevice> m_sound;
    std::vector<CQzEditDoc*> m_documents;  // owned: RemoveDocument deletes them (deleteLater)
    QStringList m_recentFiles;
    std::unique_ptr<CShellOpenServer> m_shellOpen;
    // Files asked for before start-up was done, and whether it is.
    QStringList m_pendingOpen;
    bool m_started = false;
    QTimer m_idleTimer;
    // The help handler that was installed before this application's.
    CHelpHandler m_previousHelpHandler;
};
