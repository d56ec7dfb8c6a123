// The Startup Editor driven by its controls' ids: the pages read the script's inventory lines when
// shown, a click on a row's box puts the row's value, OK rewrites and inserts the lines (a page
// never shown leaves its lines alone), a value beyond the row's range keeps the sheet open with the
// range message, and the product decides the bins. The document's command reads the installed
// script, writes the user's copy on OK only, leaves the installed default alone and reports a
// script it cannot read or write.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "episode/ui/StartupEditorDlg.h"
#include "ui/DialogIds.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first page's rows by index: bin 4 (base) / 124 (expansion) with an edit, bin 5 without one
// in the base game only, bin 130 of the expansion only, bin 11 of both, bin 19 (its box locked in
// the base game).
constexpr int kRowBin4 = 3;
constexpr int kRowBin5 = 4;
constexpr int kRowBin130 = 10;
constexpr int kRowBin11 = 18;
constexpr int kRowBin19 = 29;

constexpr const char* kScript = "startup:\n"
                                "\tSetGoalFlags(player, 0);\n"
                                "//\tSetInv(player, 4, 0); // rail\n"
                                "\tSetInv(player, 11, 250);\n"
                                "\tSetInv(player, 19, 3);\n"
                                "\tSetInv(player, 20, 8);\n"
                                "\treturn;\n";

class StartupEditorDlgTest : public AppTest {
protected:
    static QCheckBox* Box(CStartupEditorDlg& sheet, int page, int row)
    {
        return Control<QCheckBox>(*sheet.Page(page), Ctl::kStartupBox + row);
    }
    static QLineEdit* Value(CStartupEditorDlg& sheet, int page, int row)
    {
        return Control<QLineEdit>(*sheet.Page(page), Ctl::kStartupValue + row);
    }
};

TEST_F(StartupEditorDlgTest, ReadsClicksAndWritesTheFirstPage)
{
    EnsureQApplication();
    std::string text = kScript;
    CStartupEditorDlg sheet(text, 0);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Startup Editor"));
    ASSERT_EQ(sheet.PageCount(), 2);
    EXPECT_EQ(sheet.Page(0)->objectName(), QString::number(Dlg::kWeaponsAmmunition));
    EXPECT_EQ(sheet.Page(1)->objectName(), QString::number(Dlg::kPowersArmors));
    sheet.show();

    // As read: bin 4 switched off, bin 11 on with 250, bin 19 on with its box locked.
    EXPECT_FALSE(Box(sheet, 0, kRowBin4)->isChecked());
    EXPECT_FALSE(Value(sheet, 0, kRowBin4)->isEnabled());
    EXPECT_EQ(Value(sheet, 0, kRowBin4)->text(), QStringLiteral("0"));
    EXPECT_TRUE(Box(sheet, 0, kRowBin11)->isChecked());
    EXPECT_EQ(Value(sheet, 0, kRowBin11)->text(), QStringLiteral("250"));
    EXPECT_FALSE(Box(sheet, 0, kRowBin19)->isEnabled());
    EXPECT_TRUE(Value(sheet, 0, kRowBin19)->isEnabled());
    EXPECT_FALSE(Box(sheet, 0, kRowBin130)->isEnabled());
    EXPECT_TRUE(Box(sheet, 0, kRowBin5)->isEnabled());

    // Clicks: bin 4 on takes its full value, bin 11 off takes 0, bin 5 (no edit) on.
    Box(sheet, 0, kRowBin4)->click();
    EXPECT_TRUE(Value(sheet, 0, kRowBin4)->isEnabled());
    EXPECT_EQ(Value(sheet, 0, kRowBin4)->text(), QStringLiteral("30"));
    Box(sheet, 0, kRowBin11)->click();
    EXPECT_FALSE(Value(sheet, 0, kRowBin11)->isEnabled());
    EXPECT_EQ(Value(sheet, 0, kRowBin11)->text(), QStringLiteral("0"));
    Box(sheet, 0, kRowBin5)->click();

    Click(sheet, Ctl::kOk);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(m_messages.isEmpty());
    // Bin 5 goes before the first SetInv line; the second page was never shown, so bin 20 stays.
    EXPECT_EQ(text, "startup:\n"
                    "\tSetGoalFlags(player, 0);\n"
                    "\tSetInv(player, 5, 1);\n"
                    "\tSetInv(player, 4, 30); // rail\n"
                    "//\tSetInv(player, 11, 0);\n"
                    "\tSetInv(player, 19, 3);\n"
                    "\tSetInv(player, 20, 8);\n"
                    "\treturn;\n");
}

TEST_F(StartupEditorDlgTest, AValueBeyondItsRangeKeepsTheSheetOpen)
{
    EnsureQApplication();
    std::string text = kScript;
    CStartupEditorDlg sheet(text, 0);
    sheet.show();
    Value(sheet, 0, kRowBin11)->setText(QStringLiteral("501"));
    EXPECT_FALSE(PressOk(sheet, QStringLiteral("Please enter an integer between 0 and 500.")));
    EXPECT_EQ(text, kScript);
}

TEST_F(StartupEditorDlgTest, TheSecondPageAndTheExpansionsBins)
{
    EnsureQApplication();
    std::string text =
        "\tSetGoalFlags(player, 0);\n\tSetInv(player, 124, 7);\n\tSetInv(player, 20, 8);\n";
    CStartupEditorDlg sheet(text, 1);
    sheet.show();
    EXPECT_TRUE(Box(sheet, 0, kRowBin4)->isChecked());
    EXPECT_EQ(Value(sheet, 0, kRowBin4)->text(), QStringLiteral("7"));
    EXPECT_FALSE(Box(sheet, 0, kRowBin5)->isEnabled());
    EXPECT_TRUE(Box(sheet, 0, kRowBin130)->isEnabled());
    EXPECT_TRUE(Box(sheet, 0, kRowBin19)->isEnabled());

    sheet.SetActivePage(1);
    EXPECT_TRUE(Box(sheet, 1, 0)->isChecked());
    EXPECT_EQ(Value(sheet, 1, 0)->text(), QStringLiteral("8"));
    // Bin 21 may also be selected: its SetInvAvailable line comes with it. Bin 63 takes 2.
    Box(sheet, 1, 1)->click();
    EXPECT_EQ(Value(sheet, 1, 1)->text(), QStringLiteral("4"));
    Box(sheet, 1, 23)->click();
    EXPECT_EQ(Value(sheet, 1, 23)->text(), QStringLiteral("2"));
    Box(sheet, 1, 23)->click();
    EXPECT_EQ(Value(sheet, 1, 23)->text(), QStringLiteral("1"));
    Box(sheet, 1, 23)->click();
    Click(sheet, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(text, "\tSetGoalFlags(player, 0);\n"
                    "\tSetInvAvailable(player, 21, 1);\n"
                    "\tSetInv(player, 63, 2);\n"
                    "\tSetInv(player, 21, 4);\n"
                    "\tSetInv(player, 124, 7);\n"
                    "\tSetInv(player, 20, 8);\n");
}

TEST_F(StartupEditorDlgTest, TheCommandWritesTheUsersCopyOnOkOrApply)
{
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    CMainFrame& frame = *m_app->m_pMainFrame;
    const std::string installed = ReadText(ProgramDir() / "qzedit_start.cog");
    ASSERT_NE(installed.find("SetInv(player, 1,"), std::string::npos);
    const auto run = [&frame] {
        frame.UpdateCommandUI();
        QAction* action = frame.Action(Cmd::kStartupEditor);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
    };

    bool shownOn = false;
    OnModal<CStartupEditorDlg>(m_app.get(), [&shownOn](CStartupEditorDlg& sheet) {
        shownOn = Control<QCheckBox>(*sheet.Page(0), Ctl::kStartupBox)->isChecked();
        Control<QCheckBox>(*sheet.Page(0), Ctl::kStartupBox + kRowBin4)->click();
        Click(sheet, Ctl::kCancel);
    });
    run();
    EXPECT_TRUE(shownOn);
    EXPECT_FALSE(std::filesystem::exists(UserDataDir() / "qzedit_start.cog"));

    // Apply, then Cancel: what Apply did is kept.
    OnModal<CStartupEditorDlg>(m_app.get(), [](CStartupEditorDlg& sheet) {
        Control<QCheckBox>(*sheet.Page(0), Ctl::kStartupBox + kRowBin4)->click();
        Click(sheet, Ctl::kApplyNow);
        Click(sheet, Ctl::kCancel);
    });
    run();
    EXPECT_NE(ReadText(UserDataDir() / "qzedit_start.cog").find("\tSetInv(player, 4, 30);\n"),
              std::string::npos);
    std::filesystem::remove(UserDataDir() / "qzedit_start.cog");

    OnModal<CStartupEditorDlg>(m_app.get(), [](CStartupEditorDlg& sheet) {
        Control<QCheckBox>(*sheet.Page(0), Ctl::kStartupBox + kRowBin4)->click();
        Click(sheet, Ctl::kOk);
    });
    run();
    const std::string copy = ReadText(UserDataDir() / "qzedit_start.cog");
    EXPECT_NE(copy.find("\tSetInv(player, 4, 30);\n"), std::string::npos);
    EXPECT_EQ(ReadText(ProgramDir() / "qzedit_start.cog"), installed);
    EXPECT_TRUE(m_messages.isEmpty());

    // A script that cannot be read, or a user's copy that cannot be written, is reported and
    // nothing is written.
    std::filesystem::remove(UserDataDir() / "qzedit_start.cog");
    std::filesystem::remove(ProgramDir() / "qzedit_start.cog");
    run();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("qzedit_start.cog")));
    std::ofstream(ProgramDir() / "qzedit_start.cog") << installed;
    std::filesystem::remove_all(UserDataDir());
    std::ofstream(UserDataDir()) << "in the way";
    OnModal<CStartupEditorDlg>(m_app.get(), [](CStartupEditorDlg& sheet) {
        Control<QCheckBox>(*sheet.Page(0), Ctl::kStartupBox + kRowBin4)->click();
        Click(sheet, Ctl::kOk);
    });
    run();
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages[1].contains(QStringLiteral("qzedit_start.cog")));
    EXPECT_EQ(ReadText(ProgramDir() / "qzedit_start.cog"), installed);

    // Switched off in the episode fields, the command is greyed.
    doc->m_fields.m_startCogOn = 0;
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(Cmd::kStartupEditor)->isEnabled());
}

}  // namespace
