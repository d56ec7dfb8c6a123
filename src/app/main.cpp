// qzedit: creates the application, shows the main frame and runs the event loop.

#include "app/MainFrame.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QzEdit"));
    QApplication::setOrganizationName(QStringLiteral("Korvath & Varnok Editor"));

    CMainFrame frame;
    frame.show();
    return QApplication::exec();
}
