#pragma once
// The application services of the About box, the Tip of the Day, Select Product and the help.

#include <QString>

class CQzEditApp;
class QWidget;

// How long the start-up splash stays at least.
inline constexpr int kSplashMilliseconds = 3000;

// The About box (57664) with splash false; at start-up with splash true: the splash runs
// product set-up (app.SetupProduct) once after its first paint and closes when its time is up
// (kSplashMilliseconds after it opened, unless the application's start-up options shorten it),
// or when set-up has returned if that takes longer.
void RunAboutBox(CQzEditApp& app, bool splash, QWidget* parent = nullptr);

// Tip of the Day at start-up (when "StartUp" in "Tip" is 0) and from the menu (504).
void ShowTipAtStartup(CQzEditApp& app, QWidget* parent = nullptr);
void ShowTipOfTheDay(CQzEditApp& app, QWidget* parent = nullptr);

// Select Product (2007): runs the dialog; OK stores the product and its folder and runs set-up.
void RunSelectProduct(CQzEditApp& app, QWidget* parent = nullptr);

// Help: the help page of a context (Help Index 0x1E142, F1 with the active view's context),
// and the tutorial and FAQ pages; each opens a local HTML page of the program folder's "help"
// folder with the desktop's browser.
void OpenHelpContext(CQzEditApp& app, unsigned int context);
void OpenHelpPage(CQzEditApp& app, const QString& page);  // "tutorial.htm", "faq.htm"
