// The Episode Editor driven by control id: the fields shown, OK storing every field (and marking
// the document modified only when one changed), Cancel changing nothing, stored values outside
// the lists kept, and the document's command opening it modally.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "episode/StartGoalsCogs.h"
#include "episode/ui/EpisodeEditorDlg.h"
#include "ui/DialogIds.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>

#include <string>

namespace {

class EpisodeEditorDlgTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQApplication(); }

    CDocumentFields m_fields = DefaultDocumentFields();
    int m_modified = 0;
};

QComboBox* List(QWidget& dialog, int id)
{
    return Control<QComboBox>(dialog, id);
}

QStringList Items(QComboBox& list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items << list.itemText(i);
    return items;
}

TEST_F(EpisodeEditorDlgTest, ShowsTheFieldsAndTheLists)
{
    m_fields.m_episodeType = 2;
    m_fields.m_levelKind = 1;
    m_fields.m_lightPower = 6;
    m_fields.m_darkPower = 7;
    CEpisodeEditorDlg dialog(m_fields, [this] { ++m_modified; });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Episode Editor"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kEpisodeTitle)->text(),
              QStringLiteral("QzEdit Level"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kEpisodeLevelFile)->text(),
              QStringLiteral("qzedit.qzl"));
    EXPECT_EQ(Items(*List(dialog, Ctl::kEpisodeType)).mid(0, 3),
              (QStringList{"Single User", "Death Match", "Multi Player"}));
    EXPECT_EQ(List(dialog, Ctl::kEpisodeType)->count(), 4);
    EXPECT_EQ(Items(*List(dialog, Ctl::kEpisodeKind)),
              (QStringList{"Level", "Cut Scene", "Decision"}));
    const QStringList light = Items(*List(dialog, Ctl::kEpisodeLightPower));
    const QStringList dark = Items(*List(dialog, Ctl::kEpisodeDarkPower));
    ASSERT_EQ(light.size(), 9);
    ASSERT_EQ(dark.size(), 9);
    EXPECT_EQ(light.front(), QStringLiteral("None"));
    EXPECT_EQ(light.mid(0, 5), dark.mid(0, 5));
    for (int i = 5; i < 9; ++i)
        EXPECT_FALSE(dark.contains(light[i])) << i;
    EXPECT_EQ(List(dialog, Ctl::kEpisodeType)->currentIndex(), 2);
    EXPECT_EQ(List(dialog, Ctl::kEpisodeKind)->currentIndex(), 1);
    EXPECT_EQ(List(dialog, Ctl::kEpisodeLightPower)->currentIndex(), 6);
    EXPECT_EQ(List(dialog, Ctl::kEpisodeDarkPower)->currentIndex(), 7);
    // The message text is shown with the control's own line ends.
    const QString objectives = Control<QTextEdit>(dialog, Ctl::kEpisodeObjectives)->toPlainText();
    EXPECT_TRUE(objectives.startsWith(QStringLiteral("MSGS 4\n\"QZEDIT\"")));
    EXPECT_FALSE(objectives.contains(QLatin1Char('\r')));
}

TEST_F(EpisodeEditorDlgTest, OkStoresEveryFieldAndMarksModified)
{
    CEpisodeEditorDlg dialog(m_fields, [this] { ++m_modified; });
    Control<QLineEdit>(dialog, Ctl::kEpisodeTitle)->setText(QStringLiteral("Deep Mine"));
    Control<QLineEdit>(dialog, Ctl::kEpisodeLevelFile)->setText(QStringLiteral("MINE.QZL"));
    List(dialog, Ctl::kEpisodeType)->setCurrentIndex(3);
    List(dialog, Ctl::kEpisodeKind)->setCurrentIndex(2);
    List(dialog, Ctl::kEpisodeLightPower)->setCurrentIndex(8);
    List(dialog, Ctl::kEpisodeDarkPower)->setCurrentIndex(5);
    Control<QTextEdit>(dialog, Ctl::kEpisodeObjectives)
        ->setPlainText(QStringLiteral("MSGS 1\n\"A\"\t0\t\"B\"\nEND\n"));
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_fields.m_episodeTitle, "Deep Mine");
    // Lower-cased only when the episode file is written.
    EXPECT_EQ(m_fields.m_levelFileName, "MINE.QZL");
    EXPECT_EQ(m_fields.m_episodeType, 3);
    EXPECT_EQ(m_fields.m_levelKind, 2);
    EXPECT_EQ(m_fields.m_lightPower, 8);
    EXPECT_EQ(m_fields.m_darkPower, 5);
    // Stored with the message file's CR LF line ends.
    EXPECT_EQ(m_fields.m_messageText, "MSGS 1\r\n\"A\"\t0\t\"B\"\r\nEND\r\n");
    EXPECT_EQ(m_modified, 1);
}

TEST_F(EpisodeEditorDlgTest, UnchangedOkAndCancelLeaveTheFields)
{
    // Bare line feeds in the stored text and values outside the lists (a damaged file) stay
    // byte for byte when nothing was edited.
    m_fields.m_messageText = "MSGS 0\nEND\n";
    m_fields.m_episodeType = 7;
    m_fields.m_lightPower = -2;
    const CDocumentFields before = m_fields;
    {
        CEpisodeEditorDlg dialog(m_fields, [this] { ++m_modified; });
        EXPECT_EQ(List(dialog, Ctl::kEpisodeType)->currentIndex(), -1);
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(m_fields, before);
    EXPECT_EQ(m_modified, 0);

    CEpisodeEditorDlg dialog(m_fields, [this] { ++m_modified; });
    Control<QLineEdit>(dialog, Ctl::kEpisodeTitle)->setText(QStringLiteral("Other"));
    List(dialog, Ctl::kEpisodeKind)->setCurrentIndex(1);
    Control<QTextEdit>(dialog, Ctl::kEpisodeObjectives)->setPlainText(QStringLiteral("x"));
    Click(dialog, Ctl::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(m_fields, before);
    EXPECT_EQ(m_modified, 0);
}

class EpisodeEditorCommandTest : public AppTest {};

TEST_F(EpisodeEditorCommandTest, CommandOpensTheDialogOnTheDocument)
{
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(false);
    {
        CModalAnswer answer([](QWidget& dialog) {
            EXPECT_EQ(dialog.objectName(), QString::number(Dlg::kEpisodeEditor));
            List(dialog, Ctl::kEpisodeLightPower)->setCurrentIndex(6);
            Click(dialog, Ctl::kCancel);
        });
        TriggerCommand(*m_app->m_pMainFrame, Cmd::kEpisodeEditor);
        EXPECT_TRUE(answer.Answered());
    }
    EXPECT_EQ(doc->m_fields.m_lightPower, 0);
    EXPECT_FALSE(doc->IsModified());

    CModalAnswer answer([](QWidget& dialog) {
        List(dialog, Ctl::kEpisodeLightPower)->setCurrentIndex(6);
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kEpisodeEditor);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(doc->m_fields.m_lightPower, 6);
    EXPECT_TRUE(doc->IsModified());
}

}  // namespace
