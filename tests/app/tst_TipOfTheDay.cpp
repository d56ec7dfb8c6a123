// The Tip of the Day: which line it shows, where the next dialog goes on, the time stamp, the
// start-up switch, and files that are missing or hold no tip.

#include "AppTestSupport.h"

#include "app/Splash.h"
#include "app/TipOfTheDayDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const kTips = "; Tips for the test\n"
                          "\n"
                          "First tip\n"
                          "\tan indented line is skipped\n"
                          " so is one that begins with a blank\n"
                          "Second tip\n"
                          "; a comment between tips\n"
                          "Third tip\n"
                          "\n";

class TipOfTheDay : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        MakeApp();
        m_file = Temp() / "tips.txt";
        Write(m_file, kTips);
    }

    static void Write(const fs::path& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

    static QString Shown(const CTipOfTheDayDlg& dialog)
    {
        return dialog.findChild<QLabel*>(Id(Ctl::kTipText))->text();
    }
    static QPushButton* Button(const CTipOfTheDayDlg& dialog, int id)
    {
        return dialog.findChild<QPushButton*>(Id(id));
    }
    QSettings& Profile() { return m_app->Profile(); }

    fs::path m_file;
};

TEST_F(TipOfTheDay, ShowsTipsInTurnAndGoesOnWhereTheLastDialogStopped)
{
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        dialog.show();
        EXPECT_EQ(Shown(dialog), QStringLiteral("First tip"));
        EXPECT_EQ(dialog.m_strTip, QStringLiteral("First tip\n"));
        EXPECT_TRUE(Button(dialog, Ctl::kNextTip)->isEnabled());
        Button(dialog, Ctl::kNextTip)->click();
        EXPECT_EQ(Shown(dialog), QStringLiteral("Second tip"));
    }
    // The next dialog shows the tip after the last one shown, then wraps to the first.
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        EXPECT_EQ(Shown(dialog), QStringLiteral("Third tip"));
        dialog.OnNextTip();
        EXPECT_EQ(Shown(dialog), QStringLiteral("First tip"));
        dialog.OnNextTip();
        dialog.OnNextTip();
        dialog.OnNextTip();
        EXPECT_EQ(Shown(dialog), QStringLiteral("First tip"));
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(TipOfTheDay, AnotherTimeStampStartsAgainAtTheFirstTip)
{
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        dialog.OnNextTip();
        EXPECT_EQ(Shown(dialog), QStringLiteral("Second tip"));
    }
    const QString stamp = Profile().value(QStringLiteral("Tip/TimeStamp")).toString();
    EXPECT_FALSE(stamp.isEmpty());
    EXPECT_EQ(stamp, stamp.trimmed());
    EXPECT_GT(Profile().value(QStringLiteral("Tip/FilePos")).toInt(), 0);

    // The file was replaced: its stamp differs from the one kept.
    Profile().setValue(QStringLiteral("Tip/TimeStamp"), QStringLiteral("Thu Jan  1 00:00:00 1970"));
    CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
    EXPECT_EQ(Shown(dialog), QStringLiteral("First tip"));
    EXPECT_EQ(Profile().value(QStringLiteral("Tip/TimeStamp")).toString(), stamp);
}

TEST_F(TipOfTheDay, FilesWithoutATipEnd)
{
    for (const char* text : {"", "; only a comment\n\n\t\n   \n", "\n\n\n"}) {
        SCOPED_TRACE(text);
        Write(m_file, text);
        // Rewritten within the same second the file keeps its stamp; the position must not
        // come from the file before.
        Profile().remove(QStringLiteral("Tip/TimeStamp"));
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        EXPECT_EQ(Shown(dialog), QString::fromLatin1(CTipOfTheDayDlg::kNoTipInFile));
        EXPECT_FALSE(Button(dialog, Ctl::kNextTip)->isEnabled());
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(TipOfTheDay, WithoutTheFileSaysSoAndKeepsNoPosition)
{
    Profile().setValue(QStringLiteral("Tip/FilePos"), 7);
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, Temp() / "missing.txt");
        EXPECT_EQ(Shown(dialog),
                  QStringLiteral("Tips file does not exist in the prescribed directory"));
        EXPECT_FALSE(Button(dialog, Ctl::kNextTip)->isEnabled());
    }
    EXPECT_EQ(Profile().value(QStringLiteral("Tip/FilePos")).toInt(), 7);
}

TEST_F(TipOfTheDay, APositionThatCannotBeSoughtIsReported)
{
    Write(m_file, kTips);
    CTipOfTheDayDlg first(*m_app, nullptr, m_file);  // keeps the file's stamp
    Profile().setValue(QStringLiteral("Tip/FilePos"), -5);
    CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Trouble reading the tips file")});
}

TEST_F(TipOfTheDay, CloseWritesTheStartUpSwitchEscapeDoesNot)
{
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        EXPECT_TRUE(dialog.m_bStartup);
        auto* startup = dialog.findChild<QCheckBox*>(Id(Ctl::kShowTipsOnStartUp));
        ASSERT_NE(startup, nullptr);
        EXPECT_TRUE(startup->isChecked());
        EXPECT_EQ(startup->text(), QStringLiteral("&Show Tips on StartUp"));
        startup->setChecked(false);
        dialog.show();
        Button(dialog, Ctl::kOk)->click();
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(Profile().value(QStringLiteral("Tip/StartUp")).toInt(), 1);
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        EXPECT_FALSE(dialog.m_bStartup);
        dialog.findChild<QCheckBox*>(Id(Ctl::kShowTipsOnStartUp))->setChecked(true);
        dialog.reject();
    }
    EXPECT_EQ(Profile().value(QStringLiteral("Tip/StartUp")).toInt(), 1);
    {
        CTipOfTheDayDlg dialog(*m_app, nullptr, m_file);
        dialog.findChild<QCheckBox*>(Id(Ctl::kShowTipsOnStartUp))->setChecked(true);
        dialog.accept();
    }
    EXPECT_EQ(Profile().value(QStringLiteral("Tip/StartUp")).toInt(), 0);
}

// At start-up the dialog shows only while "StartUp" is 0; the file is looked for in the current
// directory, then in the program folder.
TEST_F(TipOfTheDay, StartUpFindsTheFileAndObeysTheSwitch)
{
    const fs::path here = fs::current_path();
    const fs::path empty = Temp() / "empty";
    fs::create_directories(empty);
    fs::current_path(empty);
    {
        CTipOfTheDayDlg dialog(*m_app);
        EXPECT_EQ(dialog.TipsFile(), ProgramDir() / "tips.txt");
        EXPECT_FALSE(Shown(dialog).isEmpty());
        EXPECT_FALSE(Shown(dialog).startsWith(QLatin1Char(';')));
    }
    Write(empty / "tips.txt", "Tip of the current directory\n");
    {
        CTipOfTheDayDlg dialog(*m_app);
        EXPECT_EQ(Shown(dialog), QStringLiteral("Tip of the current directory"));
    }

    // "StartUp" 1: nothing is shown, the position is still kept.
    Profile().setValue(QStringLiteral("Tip/StartUp"), 1);
    Profile().remove(QStringLiteral("Tip/FilePos"));
    ShowTipAtStartup(*m_app);
    EXPECT_TRUE(Profile().contains(QStringLiteral("Tip/FilePos")));

    // "StartUp" 0: the dialog shows; its Close button ends it.
    Profile().setValue(QStringLiteral("Tip/StartUp"), 0);
    bool shown = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<CTipOfTheDayDlg*>(widget);
                dialog != nullptr && dialog->isVisible()) {
                shown = true;
                dialog->findChild<QPushButton*>(Id(Ctl::kOk))->click();
            }
    });
    closer.start();
    ShowTipAtStartup(*m_app);
    closer.stop();
    fs::current_path(here);
    EXPECT_TRUE(shown);
}

}  // namespace
