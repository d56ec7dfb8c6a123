// Select Product, the About box as splash (product set-up runs once inside it) and the progress
// window of long passes.

#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/ParsingSectorsDlg.h"
#include "app/QzEditDoc.h"
#include "app/SelectProductDlg.h"
#include "app/SettingsStore.h"
#include "level/QzlTemplate.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const QString kMissing = QStringLiteral("Cannot find Korvath resource files.");

bool HasMaterial(const CQzEditApp& app, const std::string& name)
{
    int position = 0;
    return app.m_product.m_resources.m_treeMaterials.Find(name, position) == 1;
}

std::vector<std::string> TemplateNames(const CQzEditApp& app)
{
    std::vector<std::string> names;
    for (const auto& entry : app.m_product.m_resources.m_templates)
        names.push_back(entry->m_name);
    return names;
}

template <typename T>
T* Child(const QWidget& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

class ProductDialogs : public AppTest {
protected:
    void WriteTemplates(const char* file, const std::string& text)
    {
        std::ofstream(ProgramDir() / file, std::ios::binary) << text;
    }
};

TEST_F(ProductDialogs, SelectProductShowsTheCurrentProductAndTheGameFolders)
{
    CQzEditApp& app = MakeApp();
    app.SetGameFolder(1, Temp() / "varnok");
    for (const int product : {0, 1, 2}) {
        SCOPED_TRACE(product);
        app.m_settings.m_product = product;
        CSelectProductDlg dialog(app);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Product"));
        EXPECT_EQ(Child<QRadioButton>(dialog, Id(Ctl::kKorvath))->isChecked(), product == 0);
        EXPECT_EQ(Child<QRadioButton>(dialog, Id(Ctl::kVarnok))->isChecked(), product == 1);
        EXPECT_EQ(Child<QLineEdit>(dialog, QStringLiteral("GameFolder0"))->text().toStdString(),
                  TestGameDir().string());
        EXPECT_EQ(Child<QLineEdit>(dialog, QStringLiteral("GameFolder1"))->text().toStdString(),
                  (Temp() / "varnok").string());
        EXPECT_EQ(Child<QPushButton>(dialog, Id(Ctl::kOk))->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(Child<QPushButton>(dialog, Id(Ctl::kCancel))->text(), QStringLiteral("&Cancel"));
    }
}

TEST_F(ProductDialogs, OkRunsSetUpWithTheChosenProduct)
{
    CQzEditApp& app = MakeApp();
    ASSERT_TRUE(HasMaterial(app, "dflt.mat"));
    ASSERT_FALSE(HasMaterial(app, "ice.mat"));
    WriteTemplates("varnok.dat", "varnokonly base\n");
    {
        CSelectProductDlg dialog(app);
        dialog.show();
        Child<QRadioButton>(dialog, Id(Ctl::kVarnok))->click();
        Child<QPushButton>(dialog, Id(Ctl::kOk))->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(app.m_settings.m_product, 1);
    EXPECT_EQ(app.m_pMainFrame->windowTitle(), QStringLiteral("QzEdit - Varnok mode"));
    EXPECT_TRUE(HasMaterial(app, "ice.mat"));
    EXPECT_EQ(TemplateNames(app), std::vector<std::string>{"varnokonly"});
    EXPECT_FALSE(app.m_product.m_resources.m_treeSounds.m_entries.empty());
    EXPECT_TRUE(m_messages.isEmpty());

    // OK without a change still runs set-up: the changed template file is read again.
    WriteTemplates("varnok.dat", "again base\n");
    {
        CSelectProductDlg dialog(app);
        Child<QPushButton>(dialog, Id(Ctl::kOk))->click();
    }
    EXPECT_EQ(app.m_settings.m_product, 1);
    EXPECT_EQ(TemplateNames(app), std::vector<std::string>{"again"});
    // The default folder that was only shown is not stored as a choice.
    EXPECT_TRUE(app.Store().GameFolder(0).isEmpty());
    EXPECT_TRUE(app.Store().GameFolder(1).isEmpty());
}

TEST_F(ProductDialogs, CancelChangesNothingAndRunsNothing)
{
    CQzEditApp& app = MakeApp();
    const QString caption = app.m_pMainFrame->windowTitle();
    const std::vector<std::string> before = TemplateNames(app);
    WriteTemplates("korvath.dat", "changed base\n");
    WriteTemplates("varnok.dat", "changed base\n");
    {
        CSelectProductDlg dialog(app);
        dialog.show();
        Child<QRadioButton>(dialog, Id(Ctl::kVarnok))->click();
        Child<QLineEdit>(dialog, QStringLiteral("GameFolder0"))->setText(QStringLiteral("/x"));
        Child<QPushButton>(dialog, Id(Ctl::kCancel))->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(app.m_settings.m_product, 0);
    EXPECT_EQ(TemplateNames(app), before);
    EXPECT_EQ(app.m_pMainFrame->windowTitle(), caption);
    EXPECT_TRUE(app.Store().GameFolder(0).isEmpty());
}

TEST_F(ProductDialogs, AChosenFolderIsStoredAndUsed)
{
    CQzEditApp& app = MakeApp();
    const fs::path empty = Temp() / "no game here";
    fs::create_directories(empty);
    CSelectProductDlg dialog(app);
    QString asked;
    dialog.m_chooseFolder = [&](const QString& title, const QString&) {
        asked = title;
        return QString::fromStdString(empty.string());
    };
    Child<QAbstractButton>(dialog, QStringLiteral("BrowseGameFolder0"))->click();
    EXPECT_EQ(asked, QStringLiteral("Korvath Game Folder"));
    EXPECT_EQ(Child<QLineEdit>(dialog, QStringLiteral("GameFolder0"))->text().toStdString(),
              empty.string());
    Child<QPushButton>(dialog, Id(Ctl::kOk))->click();
    EXPECT_EQ(app.GameFolder(0), empty);
    EXPECT_EQ(m_messages, QStringList{kMissing});
    EXPECT_FALSE(HasMaterial(app, "dflt.mat"));
}

// The splash runs set-up once, after its first paint, and closes when its time is up or, when
// set-up takes longer, when set-up has returned. A missing game makes set-up show one message,
// which counts the runs.
TEST_F(ProductDialogs, TheSplashRunsSetUpExactlyOnce)
{
    CQzEditApp& app = MakeApp(TestOptions(), false);
    ASSERT_TRUE(app.InitInstance());
    app.SetGameFolder(0, Temp() / "missing");
    m_messages.clear();

    struct Case {
        const char* name;
        int splashMs;
        int setupMs;  // how long set-up takes (the message box answers that late)
    };
    for (const Case c : {Case{"time up after set-up", 150, 0}, Case{"set-up longer", 20, 200}}) {
        SCOPED_TRACE(c.name);
        m_messages.clear();
        const CMessageBoxHook recorder = SetMessageBoxHook({});
        SetMessageBoxHook([&, recorder](const QString& text, QMessageBox::StandardButtons b) {
            QThread::msleep(static_cast<unsigned long>(c.setupMs));
            return recorder(text, b);
        });
        CAboutDlg splash(app, true, nullptr, c.splashMs);
        EXPECT_FALSE(Child<QPushButton>(splash, Id(Ctl::kOk))->isVisibleTo(&splash));
        EXPECT_EQ(Child<QLabel>(splash, Id(Ctl::kVersion))->text(),
                  QStringLiteral("QzEdit Version 3.24"));
        EXPECT_FALSE(Child<QLabel>(splash, Id(Ctl::kLegalNotice))->text().isEmpty());
        QElapsedTimer clock;
        clock.start();
        splash.exec();
        EXPECT_GE(clock.elapsed(), std::max(c.splashMs, c.setupMs) - 5);
        EXPECT_TRUE(splash.m_bPosted);
        EXPECT_TRUE(splash.SetupDone());
        splash.FinishSetup();  // nothing more to do
        QApplication::processEvents();
        SetMessageBoxHook(recorder);
        EXPECT_EQ(m_messages, QStringList{kMissing});
    }

    // Closed before it was ever painted: set-up still runs, once.
    m_messages.clear();
    {
        CAboutDlg splash(app, true);
        splash.FinishSetup();
        splash.FinishSetup();
    }
    EXPECT_EQ(m_messages, QStringList{kMissing});

    // The About box from the menu runs nothing and has its OK button.
    m_messages.clear();
    {
        CAboutDlg about(app, false);
        about.show();
        QApplication::processEvents();
        auto* ok = Child<QPushButton>(about, Id(Ctl::kOk));
        EXPECT_TRUE(ok->isVisible());
        ok->click();
        EXPECT_FALSE(about.isVisible());
        about.FinishSetup();
    }
    QApplication::processEvents();
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(ProductDialogs, StartUpWithTheSplashSetsUpTheProductOnce)
{
    CAppOptions options = TestOptions();
    options.m_showSplash = true;
    options.m_defaultGameDir = Temp() / "missing";
    MakeApp(options);
    EXPECT_EQ(m_messages, QStringList{kMissing});
    EXPECT_EQ(m_app->m_pMainFrame->windowTitle(), QStringLiteral("QzEdit - Korvath mode"));
    EXPECT_FALSE(m_app->m_product.m_resources.m_templates.empty());
}

// Start-up as the user meets it: the splash's timer is the real one of 3000 ms. The test does not
// sit through it: once set-up runs inside the splash (its message comes), the test sees the timer
// running and lets the time run out at once.
TEST_F(ProductDialogs, TheStartUpSplashStaysThreeSeconds)
{
    CAppOptions options = TestOptions();
    options.m_showSplash = true;
    options.m_splashMilliseconds = CAppOptions{}.m_splashMilliseconds;
    options.m_defaultGameDir = Temp() / "missing";
    struct {
        int interval = 0;
        int remaining = 0;
        bool singleShot = false;
        Qt::TimerType type = Qt::CoarseTimer;
    } seen;
    const CMessageBoxHook recorder = SetMessageBoxHook({});
    SetMessageBoxHook([&](const QString& text, QMessageBox::StandardButtons buttons) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* splash = qobject_cast<CAboutDlg*>(widget); splash && splash->isVisible()) {
                QTimer& timer = splash->SplashTimer();
                seen = {timer.interval(), timer.remainingTime(), timer.isSingleShot(),
                        timer.timerType()};
                timer.start(0);
            }
        return recorder(text, buttons);
    });
    QElapsedTimer clock;
    clock.start();
    MakeApp(options);
    SetMessageBoxHook(recorder);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(seen.interval, 3000);
    EXPECT_GT(seen.remaining, 2000);
    EXPECT_TRUE(seen.singleShot);
    EXPECT_EQ(seen.type, Qt::PreciseTimer);
    EXPECT_EQ(m_messages, QStringList{kMissing});
    EXPECT_FALSE(m_app->m_product.m_resources.m_templates.empty());
}

// How many pixels of area in image are near colour (each channel within 48).
int PixelsNear(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 48 &&
                std::abs(pixel.green() - colour.green()) < 48 &&
                std::abs(pixel.blue() - colour.blue()) < 48)
                ++count;
        }
    return count;
}

// A long pass of a document shows its progress window centred over the main window, drawn
// before the pass goes on: no event loop runs between the steps. The main window's picture as the
// window system holds it shows the caption and the bar at each point.
TEST_F(ProductDialogs, TheProgressWindowIsCentredAndDrawnBeforeThePassGoesOn)
{
    CAppOptions options = TestOptions();
    options.m_showMainFrame = true;
    CQzEditApp& app = MakeApp(options);
    CMainFrame& frame = *app.m_pMainFrame;
    frame.showNormal();
    frame.resize(900, 700);
    CQzEditDoc* doc = app.NewDocument();
    QApplication::processEvents();
    ASSERT_TRUE(frame.windowHandle()->isExposed());

    CEngineHost& host = *doc;
    host.BeginProgress("Parsing Sector Definitions...", 10);
    auto* dialog = frame.findChild<CParsingSectorsDlg*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isWindow()) << "a window of its own is drawn only after the pass";
    const QPoint centre = dialog->mapTo(&frame, dialog->rect().center());
    EXPECT_LE((centre - frame.rect().center()).manhattanLength(), 2);
    EXPECT_EQ(dialog->Caption()->text(), QStringLiteral("Parsing Sector Definitions..."));

    for (int i = 0; i < 5; ++i)
        host.StepProgress();
    QScreen* screen = frame.screen();
    const QImage shot = screen->grabWindow(frame.winId()).toImage();
    shot.save(QString::fromStdString((TestOutputDir() / "progress_window.png").string()));
    const QColor highlight = dialog->palette().color(QPalette::Highlight);
    const QRect caption(dialog->Caption()->mapTo(&frame, QPoint(0, 0)), dialog->Caption()->size());
    EXPECT_GT(PixelsNear(shot, caption, highlight), caption.width() * caption.height() / 2)
        << "the caption is not drawn";
    EXPECT_GT(PixelsNear(shot, caption, dialog->palette().color(QPalette::HighlightedText)), 20)
        << "the caption has no text";
    // Half the bar is filled: its left quarter shows the chunk, its right quarter does not.
    const QRect bar(dialog->Progress()->mapTo(&frame, QPoint(0, 0)), dialog->Progress()->size());
    const QRect left(bar.left() + 4, bar.top() + 4, bar.width() / 4, bar.height() - 8);
    const QRect right(bar.right() - bar.width() / 4, bar.top() + 4, bar.width() / 4 - 4,
                      bar.height() - 8);
    EXPECT_GT(PixelsNear(shot, left, highlight), left.width() * left.height() / 2);
    EXPECT_EQ(PixelsNear(shot, right, highlight), 0);

    host.EndProgress();
    QApplication::processEvents();
    EXPECT_EQ(frame.findChild<CParsingSectorsDlg*>(), nullptr);
}

TEST(ParsingSectorsDlg, RangeAndSteps)
{
    EnsureQApplication();
    struct Case {
        int upperBound;
        int steps;
        int range;     // the dialog's upper bound
        int position;  // after the steps
    };
    const Case cases[] = {
        {10, 3, 10, 3}, {10, 12, 10, 10},  // past the end the bar stays full
        {0, 2, 0, 0},                      // an empty bar stays empty
        {-4, 1, 0, 0},  {100000, 1, 65535, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upperBound);
        CParsingSectorsDlg dialog;
        ASSERT_TRUE(dialog.Create(nullptr, c.upperBound));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Parsing Sectors..."));
        auto* bar = dialog.findChild<QProgressBar*>(Id(Ctl::kParsingProgress));
        ASSERT_EQ(bar, dialog.Progress());
        EXPECT_EQ(dialog.UpperBound(), c.range);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_GT(bar->maximum(), 0) << "no busy indicator";
        for (int i = 0; i < c.steps; ++i)
            dialog.StepIt();
        EXPECT_EQ(dialog.Position(), c.position);
        EXPECT_EQ(bar->value(), c.position);
        if (c.range > 0 && c.position == c.range) {
            EXPECT_EQ(bar->value(), bar->maximum());
        }
        dialog.setWindowTitle(QStringLiteral("Parsing Sector Definitions..."));
        dialog.hide();
    }
}

}  // namespace
