// qzedit: the application object starts the editor (settings, main frame, splash with product
// set-up, Tip of the Day), the event loop runs, and the settings are written at a normal exit.
// File names on the command line open nothing.
//
// qzedit --report-setup starts without showing anything, sets up the product as the editor would,
// prints where it found its files and game and what set-up made of them, and quits (exit status 0
// when set-up found the game, 1 otherwise). The settings are read, not written.

#include "app/QzEditApp.h"
#include "engine/SoundDevice.h"
#include "ui/UiServices.h"

#include <QApplication>
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

}  // namespace

int main(int argc, char* argv[])
{
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QzEdit"));
    QApplication::setOrganizationName(QStringLiteral("Korvath & Varnok Editor"));

    if (QApplication::arguments().contains(QString::fromLatin1(kReportOption)))
        return ReportSetup();

    CQzEditApp app;
    if (!app.InitInstance())
        return 0;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
