// qzedit: the application object starts the editor (settings, main frame, splash with product
// set-up, Tip of the Day), the event loop runs, and the settings are written at a normal exit.
//
// qzedit FILE... opens each file as a document once the product is set up, as File > Open does
// (the desktop starts it so for a double-clicked level). When an editor of this user runs on the
// same display already, the files go to it instead and this process ends (ShellOpen.h); the
// first editor takes the requests of later ones. Arguments beginning with "-" are options.
//
// qzedit --report-setup starts without showing anything, sets up the product as the editor would,
// prints where it found its files and game and what set-up made of them, and quits (exit status 0
// when set-up found the game, 1 otherwise). The settings are read, not written.

#include "app/QzEditApp.h"
#include "app/ShellOpen.h"
#include "engine/SoundDevice.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kReportOption = "--report-setup";

int ReportSetup()
{
    QStringList messages;
    SetMessageBoxHook([&messages](const QString& text, QMessageBox::StandardButtons) {
        messages.push_back(text);
        return QMessageBox::Ok;
    });

    CAppOptions options;
    options.m_showSplash = false;
    options.m_showTip = false;
    options.m_showMainFrame = false;
    CQzEditApp app(options);
    if (!app.InitInstance()) {
        std::fprintf(stderr, "qzedit: the main window could not be made\n");
        return 1;
    }
    const int product = app.m_settings.m_product;
    const CGameResources& resources = app.m_product.m_resources;
    const char* caption = CProductSetup::Caption(product);
    std::printf("program folder: %s\n", app.m_programDir.c_str());
    std::printf("game folder: %s\n", app.GameFolder(product).c_str());
    std::printf("product: %d (%s)\n", product, caption ? caption : "unknown");
    std::printf("main archive: %s\n", app.m_product.m_archivePath.c_str());
    std::printf("sound archive: %s\n", app.m_product.m_soundArchivePath.c_str());
    std::printf("materials: %zu\n", resources.m_treeMaterials.m_entries.size());
    std::printf("sounds: %zu\n", resources.m_treeSounds.m_entries.size());
    std::printf("templates: %zu\n", resources.m_templates.size());
    std::printf("sound device: %s\n",
                app.Sound() != nullptr && app.Sound()->IsOpen() ? "open" : "silent");
    for (const QString& message : messages)
        std::printf("message: %s\n", message.toLocal8Bit().constData());
    const bool found = messages.isEmpty() && !resources.m_treeMaterials.m_entries.empty() &&
                       !resources.m_templates.empty();
    std::printf("set-up: %s\n", found ? "ok" : "failed");
    return found ? 0 : 1;
}

// The file names of the command line as absolute paths (a running editor has a folder of its own).
QStringList CommandLineFiles()
{
    QStringList files;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(u'-'))
            files.push_back(QDir::cleanPath(QFileInfo(arguments[i]).absoluteFilePath()));
    return files;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QzEdit"));
    QApplication::setOrganizationName(QStringLiteral("Korvath & Varnok Editor"));
    // The desktop finds the entry (and its icon) by this name; the windows carry the icon too.
    QApplication::setDesktopFileName(QStringLiteral("qzedit"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/qzedit.svg")));

    if (QApplication::arguments().contains(QString::fromLatin1(kReportOption)))
        return ReportSetup();

    const QStringList files = CommandLineFiles();
    if (!files.isEmpty() && SendOpenRequest(ShellOpenServerName(), files))
        return 0;

    CAppOptions options;
    options.m_openFiles = files;
    options.m_listenForOpenRequests = true;
    CQzEditApp app(options);
    if (!app.InitInstance())
        return 0;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
