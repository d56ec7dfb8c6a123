#include "app/Splash.h"

#include "app/QzEditApp.h"

void RunAboutBox(CQzEditApp& app, bool splash, QWidget*)
{
    if (splash)
        app.SetupProduct();
}
void ShowTipAtStartup(CQzEditApp&, QWidget*) {}
void ShowTipOfTheDay(CQzEditApp&, QWidget*) {}
void RunSelectProduct(CQzEditApp&, QWidget*) {}
void OpenHelpContext(CQzEditApp&, unsigned int) {}
void OpenHelpPage(CQzEditApp&, const QString&) {}
