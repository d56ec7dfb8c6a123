// The Errors window driven by control id through the document's "E&rrors..." command: the check
// it runs on open ("None" on a clean level, Show disabled), the report of each damaged level with
// Show enabled exactly on the lines that have entries (caret put there or clicked), Show on a
// surface line placing the selection and the camera without changing the level, Clean Up asking
// first (No changes nothing; Yes goes through and checks again), the command given twice, the
// hidden window's check with its fatal flag, and the progress window's section titles.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/ParsingSectorsDlg.h"
#include "app/QzEditDoc.h"
#include "engine/Camera.h"
#include "engine/RenderData.h"
#include "episode/ui/ErrorsDlg.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/DamagedLevels.h"
#include "support/FixtureLevels.h"
#include "support/UndoCheck.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The two joined rooms with a crate in sector 0: the checker finds nothing in it.
CQzlSections CleanLevel()
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    FinishFixture(level);
    return level;
}

class ErrorsDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_doc = StartShownWithDocument();
        ASSERT_NE(m_doc, nullptr);
    }

    void Give(CQzlSections level)
    {
        m_engineView = &GiveDocumentEngine(*m_doc, std::move(level));
        m_doc->SetModifiedFlag(false);
    }

    // The command, then the window it shows, once its first check ran.
    CErrorsDlg* Open()
    {
        TriggerCommand(*m_app->m_pMainFrame, Cmd::kErrors);
        QApplication::processEvents();
        CErrorsDlg* window = m_doc->ErrorsWindow();
        EXPECT_NE(window, nullptr);
        if (window != nullptr) {
            EXPECT_TRUE(window->isVisible());
        }
        return window;
    }

    static QTextEdit* Report(QWidget& window)
    {
        return Control<QTextEdit>(window, Ctl::kErrorsReport);
    }
    static bool ShowEnabled(QWidget& window)
    {
        return Control<QPushButton>(window, Ctl::kErrorsShow)->isEnabled();
    }
    // Puts the caret at the start of line.
    static void PutCaret(QWidget& window, int line)
    {
        QTextEdit* report = Report(window);
        report->setTextCursor(QTextCursor(report->document()->findBlockByNumber(line)));
    }

    CQzEditDoc* m_doc = nullptr;
    C3dView* m_engineView = nullptr;
};

TEST_F(ErrorsDlgTest, NewWindowChecksTheCleanLevelAndShowsNone)
{
    Give(CleanLevel());
    CErrorsDlg* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Errors"));
    const struct {
        int id;
        const char* text;
    } buttons[] = {{Ctl::kOk, "&Ok"},
                   {Ctl::kHelp, "&Help"},
                   {Ctl::kErrorsShow, "&Show"},
                   {Ctl::kErrorsCheck, "&Check"},
                   {Ctl::kErrorsCleanUp, "Clean &Up"}};
    for (const auto& b : buttons)
        EXPECT_EQ(Control<QPushButton>(*window, b.id)->text(), QString::fromLatin1(b.text));
    EXPECT_TRUE(Report(*window)->isReadOnly());
    EXPECT_EQ(Report(*window)->toPlainText(), QStringLiteral("None"));
    EXPECT_TRUE(window->Checker().GetSectorList().empty());
    EXPECT_FALSE(ShowEnabled(*window));
    PutCaret(*window, 0);
    EXPECT_FALSE(ShowEnabled(*window));
    EXPECT_FALSE(m_doc->IsModified());
}

// Each damaged level the editor opens: one report line per entry, Show enabled on every one of
// them and disabled on the line after the last.
TEST_F(ErrorsDlgTest, ReportOfEachDamagedLevelEnablesShowOnItsLines)
{
    for (const CDamagedLevel& damage : DamagedLevels()) {
        if (!damage.m_opens)
            continue;
        Give(MakeDamagedLevel(damage));
        CErrorsDlg* window = Open();
        ASSERT_NE(window, nullptr) << damage.m_name;
        const QString text = Report(*window)->toPlainText();
        const std::size_t entries = window->Checker().GetSectorList().size();
        EXPECT_NE(text, QStringLiteral("None")) << damage.m_name;
        ASSERT_GT(entries, 0U) << damage.m_name;
        EXPECT_EQ(static_cast<std::size_t>(text.count(QLatin1Char('\n'))), entries)
            << damage.m_name;
        const int last = static_cast<int>(entries) - 1;
        for (const int line : {last, 0}) {
            PutCaret(*window, line);
            EXPECT_EQ(window->CurrentLine(), line) << damage.m_name;
            EXPECT_TRUE(ShowEnabled(*window)) << damage.m_name << " line " << line;
        }
        PutCaret(*window, last + 1);
        EXPECT_FALSE(ShowEnabled(*window)) << damage.m_name;
    }
}

// A level with a broken link and a thing naming another sector; the surface line is clicked, then
// shown.
TEST_F(ErrorsDlgTest, ClickedSurfaceLineIsShownWithoutChangingTheLevel)
{
    CQzlSections level = CleanLevel();
    level.m_adjoins[0]->m_mirror = -1;
    level.m_things[0]->m_sector = 1;
    Give(std::move(level));
    CErrorsDlg* window = Open();
    ASSERT_NE(window, nullptr);
    const CLevelChecker& checker = window->Checker();
    int line = -1;
    for (std::size_t i = 0; i < checker.GetSectorList().size() && line < 0; ++i)
        if (checker.GetSurfaceList()[i] >= 0 && checker.GetVertexList()[i] == -1 &&
            checker.GetThingList()[i] == -1)
            line = static_cast<int>(i);
    ASSERT_GE(line, 0) << Report(*window)->toPlainText().toStdString();
    // The caret first on the empty line after the report, then clicked into that line.
    PutCaret(*window, static_cast<int>(checker.GetSectorList().size()));
    ASSERT_FALSE(ShowEnabled(*window));
    QTextEdit* report = Report(*window);
    QTextCursor at(report->document()->findBlockByNumber(line));
    at.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, report->cursorRect(at).center());
    EXPECT_EQ(window->CurrentLine(), line);
    ASSERT_TRUE(ShowEnabled(*window));

    const CQzlSections& shown = *m_doc->m_level;
    const std::vector<std::uint8_t> stored = SnapshotBytes(shown);
    const int sector = checker.GetSectorList()[static_cast<std::size_t>(line)];
    const int surface = checker.GetSurfaceList()[static_cast<std::size_t>(line)];
    Click(*window, Ctl::kErrorsShow);
    EXPECT_EQ(m_engineView->m_selection.m_sector, sector);
    EXPECT_EQ(m_engineView->m_selection.m_surface, surface);
    // The wall x = 1 of sector 0: 0.5 in front of its middle, looking at it.
    const CVector3 position = GetCameraPosition(*m_engineView);
    EXPECT_NEAR(position.x, 0.5f, 1e-5f);
    EXPECT_NEAR(position.y, 0.5f, 1e-5f);
    EXPECT_NEAR(position.z, 0.5f, 1e-5f);
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(*m_engineView, forward, up);
    EXPECT_NEAR(forward.x, 1.0f, 1e-5f);
    EXPECT_EQ(SnapshotBytes(shown), stored);
    EXPECT_TRUE(shown.m_undoList.empty());
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ErrorsDlgTest, CleanUpAsksFirstAndNoChangesNothing)
{
    CQzlSections level = CleanLevel();
    level.m_things[0]->m_sector = 1;
    Give(std::move(level));
    CErrorsDlg* window = Open();
    ASSERT_NE(window, nullptr);
    const std::vector<std::uint8_t> stored = SnapshotBytes(*m_doc->m_level);
    const QString report = Report(*window)->toPlainText();
    const QString question =
        QStringLiteral("This will attempt to perform the following actions:\n\n"
                       "1: Deletion of overlapping vertices\n"
                       "2: Deletion of surfaces with less than 3 vertices\n"
                       "3: Deletion of sectors with less than 4 surfaces\n"
                       "4: Deletion of illegal adjoins\n"
                       "5: Eliminate redundant materials\n"
                       "6: Ensuring that Objects Sector # matches the sector they are in\n"
                       "7: Eliminate illegal sound objects\n"
                       "8: Remove exessive parameters from cog scripts\n\n"
                       "Are you sure you want to do this?");
    m_messages.clear();
    m_answers = {QMessageBox::No};
    Click(*window, Ctl::kErrorsCleanUp);
    EXPECT_EQ(m_messages, QStringList{question});
    EXPECT_EQ(SnapshotBytes(*m_doc->m_level), stored);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_doc->m_level->m_undoList.empty());
    EXPECT_EQ(Report(*window)->toPlainText(), report);
}

// Yes runs the repairs and checks again: a thing in no sector goes, and a finding that the
// repairs leave (a cog with too few values) made behind the window shows in the report. The
// repairs are one undo step that gives the level back; the document is modified.
TEST_F(ErrorsDlgTest, CleanUpYesRepairsInOneStepAndChecksAgain)
{
    CQzlSections level = CleanLevel();
    AddLevelFile(level, "few.cog", "symbols\r\nsector door\r\nend\r\n");
    AddCog(level, "few.cog", {});
    AddCrate(level, 1, {5.0f, 0.5f, 0.5f});
    Give(std::move(level));
    RebuildAll(*m_engineView, true);  // as the editor opens a level
    CErrorsDlg* window = Open();
    ASSERT_NE(window, nullptr);
    const std::size_t things = m_doc->m_level->m_things.size();
    const std::vector<std::uint8_t> stored = SnapshotBytes(*m_doc->m_level);
    m_messages.clear();
    m_answers = {QMessageBox::Yes};
    Click(*window, Ctl::kErrorsCleanUp);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_messages[0].toStdString(), CErrorsDlg::kCleanUpQuestion);
    EXPECT_EQ(Report(*window)->toPlainText(),
              QStringLiteral("Cog few.cog contains too few parameters\n"));
    EXPECT_EQ(m_doc->m_level->m_things.size(), things - 1);
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1U);
    EXPECT_TRUE(m_doc->IsModified());
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kEditUndo);
    EXPECT_EQ(SnapshotBytes(*m_doc->m_level), stored);
}

TEST_F(ErrorsDlgTest, CommandTwiceLeavesOneWindow)
{
    Give(CleanLevel());
    const QPointer<CErrorsDlg> first = Open();
    ASSERT_FALSE(first.isNull());
    CErrorsDlg* second = Open();
    EXPECT_TRUE(first.isNull());
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows += qobject_cast<CErrorsDlg*>(widget) != nullptr ? 1 : 0;
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(m_doc->ErrorsWindow(), second);
    // Ok closes it and the document holds none.
    Click(*second, Ctl::kOk);
    QApplication::processEvents();
    EXPECT_EQ(m_doc->ErrorsWindow(), nullptr);
}

// What Test Level asks of the document: a hidden window whose check gives the fatal flag.
TEST_F(ErrorsDlgTest, HiddenWindowGivesTheFatalFlag)
{
    const struct {
        const char* name;
        void (*damage)(CQzlSections&);
        int fatal;
        bool none;  // the report is "None"
    } cases[] = {
        {"clean", [](CQzlSections&) {}, 0, true},
        {"warning only", [](CQzlSections& l) { l.m_things[0]->m_sector = 1; }, 0, false},
        {"sector of three surfaces", [](CQzlSections& l) { l.m_sectors[1]->m_surfaces.resize(3); },
         1, false},
    };
    for (const auto& c : cases) {
        CQzlSections level = CleanLevel();
        c.damage(level);
        Give(std::move(level));
        EXPECT_EQ(m_doc->CheckInHiddenErrorsWindow(), c.fatal) << c.name;
        CErrorsDlg* window = m_doc->ErrorsWindow();
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_FALSE(window->isVisible()) << c.name;
        EXPECT_EQ(Report(*window)->toPlainText() == QStringLiteral("None"), c.none) << c.name;
    }
}

// The checker names its sections in the progress window's caption.
TEST_F(ErrorsDlgTest, ProgressWindowTakesEachSectionsTitle)
{
    m_doc->BeginProgress("Checking Sector Geometry...", 5);
    const auto progress = m_app->m_pMainFrame->window()->findChildren<CParsingSectorsDlg*>();
    ASSERT_EQ(progress.size(), 1);
    EXPECT_EQ(progress[0]->Caption()->text(), QStringLiteral("Checking Sector Geometry..."));
    m_doc->SetProgressTitle("Checking Cog Parameters...");
    EXPECT_EQ(progress[0]->windowTitle(), QStringLiteral("Checking Cog Parameters..."));
    EXPECT_EQ(progress[0]->Caption()->text(), QStringLiteral("Checking Cog Parameters..."));
    m_doc->EndProgress();
    m_doc->SetProgressTitle("after the end");
}

}  // namespace
