#include "app/Splash.h"

#include "app/AboutDlg.h"
#include "app/QzEditApp.h"
#include "app/SelectProductDlg.h"
#include "app/TipOfTheDayDlg.h"

void RunAboutBox(CQzEditApp& app, bool splash, QWidget* parent)
{
    CAboutDlg dialog(app, splash, parent, app.Options().m_splashMilliseconds);
    dialog.exec();
    // A splash closed before set-up ran (Escape before its first paint) still sets up the
    // product: the editor needs its game.
    dialog.FinishSetup();
}

void ShowTipAtStartup(CQzEditApp& app, QWidget* parent)
{
    // The dialog is made in any case: it checks the tips file's time stamp and keeps the read
    // position.
    CTipOfTheDayDlg dialog(app, parent);
    if (dialog.m_bStartup)
        dialog.exec();
}

void ShowTipOfTheDay(CQzEditApp& app, QWidget* parent)
{
    CTipOfTheDayDlg dialog(app, parent);
    dialog.exec();
}

void RunSelectProduct(CQzEditApp& app, QWidget* parent)
{
    CSelectProductDlg dialog(app, parent);
    dialog.exec();
}
