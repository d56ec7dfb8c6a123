// qzedit: the application object starts the editor (settings, main frame, splash with product
// set-up, Tip of the Day), the event loop runs, and the settings are written at a normal exit.
// File names on the command line open nothing.

#include "app/QzEditApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QzEdit"));
    QApplication::setOrganizationName(QStringLiteral("Korvath & Varnok Editor"));

    CAppOptions options;
    options.m_defaultGameDir = QZ_DEFAULT_GAME_DIR;
    CQzEditApp app(options);
    if (!app.InitInstance())
        return 0;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
