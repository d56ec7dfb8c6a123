#pragma once
// The About box (dialog 100, "About QzEdit"), which also serves as the start-up splash.
//
// As the splash it hides its OK button and, at its first paint, queues product set-up
// (app.SetupProduct) so that set-up runs inside the splash's modal loop after the splash has been
// drawn. It closes itself when its time is up (3000 ms after it was shown) or, when set-up takes
// longer, as soon as set-up returns. Set-up runs exactly once: when the splash is closed (or its
// time runs out) before set-up has run, set-up runs then.

#include "app/Splash.h"

#include <QDialog>
#include <QTimer>

class CQzEditApp;
class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // splashMilliseconds: how long the splash stays at least.
    CAboutDlg(CQzEditApp& app, bool splash, QWidget* parent = nullptr,
              int splashMilliseconds = kSplashMilliseconds);
    ~CAboutDlg() override;

    // Runs set-up now when the splash has not run it yet (the splash closed before its first
    // paint, or before the queued set-up came).
    void FinishSetup();

    bool m_bSplash = false;
    // Set once the splash has queued product set-up.
    bool m_bPosted = false;
    // Product set-up has returned.
    bool SetupDone() const { return m_setupState == ESetup::Done; }
    // The splash's timer (id 0): single shot, started when the splash is shown.
    QTimer& SplashTimer() { return m_timer; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    enum class ESetup {
        NotRun,
        Running,
        Done
    };

    void RunSetup();
    void OnTimer();

    CQzEditApp& m_app;
    QTimer m_timer;
    ESetup m_setupState = ESetup::NotRun;
    bool m_timerStarted = false;
    bool m_timeUp = false;
    QLabel* m_version = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_ok = nullptr;
};
