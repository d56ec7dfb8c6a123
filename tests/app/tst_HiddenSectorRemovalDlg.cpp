// The "Hidden Sector Removal" dialog over an engine on the L corridor: the level of detail's range
// check, the greying of the field by the rendering method, OK storing the settings and running
// the visibility pass with the progress bar and one frame, and Cancel.

#include "AppTestSupport.h"

#include "engine/ui/HiddenSectorRemovalDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <cstdint>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;
using Set = std::vector<std::int32_t>;

const QString kRangeMessage = QStringLiteral("Please enter an integer between 1 and 100.");

class HiddenSectorRemovalDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // The engine draws without a device: the frame does its bookkeeping and tells the views.
        m_engine.m_view.m_skip = 0;
        m_engine.m_settings.m_renderMethod = 0;
        m_engine.m_settings.m_removalLevel = 5;
    }

    QLineEdit* LevelEdit(QWidget& dialog)
    {
        return Control<QLineEdit>(dialog, Ctl::kLevelOfDetail);
    }

    std::vector<Set> VisibleSets() const
    {
        std::vector<Set> sets;
        for (const auto& sector : m_engine.m_level.m_sectors)
            sets.push_back(sector->m_visible);
        return sets;
    }

    CSettings& Settings() { return m_engine.m_settings; }

    CFixtureEngine m_engine{MakeLCorridor()};
};

TEST_F(HiddenSectorRemovalDlgTest, OpensWithTheStoredMethod)
{
    struct CCase {
        int method;
        int checked;
        bool fieldEnabled;
    };
    for (const CCase c :
         {CCase{0, Ctl::kNeighborRendering, true}, CCase{1, Ctl::kPortalRendering, false},
          CCase{2, Ctl::kPotentialVisibleSet, false}}) {
        Settings().m_renderMethod = c.method;
        Settings().m_removalLevel = 17;
        CHiddenSectorRemovalDlg dialog(Settings(), &m_engine.m_view);
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kHiddenSectorRemoval));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Hidden Sector Removal"));
        for (const int id :
             {Ctl::kNeighborRendering, Ctl::kPortalRendering, Ctl::kPotentialVisibleSet}) {
            QRadioButton* radio = Control<QRadioButton>(dialog, id);
            ASSERT_NE(radio, nullptr);
            EXPECT_EQ(radio->isChecked(), id == c.checked) << c.method << " " << id;
        }
        QLineEdit* edit = LevelEdit(dialog);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->isEnabled(), c.fieldEnabled) << c.method;
        EXPECT_EQ(edit->text(), QStringLiteral("17"));
        EXPECT_NE(Control<QProgressBar>(dialog, Ctl::kRemovalProgress), nullptr);
        EXPECT_NE(Control<QPushButton>(dialog, Ctl::kHelp), nullptr);
    }
}

TEST_F(HiddenSectorRemovalDlgTest, RadioButtonsGreyTheField)
{
    CHiddenSectorRemovalDlg dialog(Settings(), &m_engine.m_view);
    QLineEdit* edit = LevelEdit(dialog);
    ASSERT_NE(edit, nullptr);
    Click(dialog, Ctl::kPortalRendering);
    EXPECT_FALSE(edit->isEnabled());
    Click(dialog, Ctl::kNeighborRendering);
    EXPECT_TRUE(edit->isEnabled());
    Click(dialog, Ctl::kPotentialVisibleSet);
    EXPECT_FALSE(edit->isEnabled());
}

TEST_F(HiddenSectorRemovalDlgTest, LevelOutOfRangeKeepsTheDialogOpen)
{
    for (const char* text : {"0", "101", "-3", "abc", "", "5x"}) {
        m_messages.clear();
        m_engine.m_host.Clear();
        CHiddenSectorRemovalDlg dialog(Settings(), &m_engine.m_view);
        dialog.show();
        Click(dialog, Ctl::kPortalRendering);
        LevelEdit(dialog)->setText(QString::fromLatin1(text));
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(m_messages, QStringList{kRangeMessage}) << text;
        EXPECT_TRUE(dialog.isVisible()) << text;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << text;
        EXPECT_EQ(Settings().m_removalLevel, 5) << text;
        EXPECT_EQ(Settings().m_renderMethod, 0) << text;
        EXPECT_EQ(VisibleSets(), std::vector<Set>(3)) << text;
        EXPECT_EQ(m_engine.m_host.Count(ECall::ViewsChanged), 0u) << text;
        dialog.reject();
    }
}

TEST_F(HiddenSectorRemovalDlgTest, GreyedLevelIsStillStored)
{
    CHiddenSectorRemovalDlg dialog(Settings(), &m_engine.m_view);
    dialog.show();
    Click(dialog, Ctl::kPortalRendering);
    LevelEdit(dialog)->setText(QStringLiteral(" 42 "));
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Settings().m_removalLevel, 42);
    EXPECT_EQ(Settings().m_renderMethod, 1);
    EXPECT_EQ(dialog.m_levelOfDetail, 42);
}

TEST_F(HiddenSectorRemovalDlgTest, OkRunsThePassWithTheProgressBarAndDrawsAFrame)
{
    struct CCase {
        int level;
        int method;
        int radio;
        std::vector<Set> visible;
    };
    const std::vector<CCase> cases = {
        {1, 0, Ctl::kNeighborRendering, {{0, 1}, {0, 1, 2}, {1, 2}}},
        {100, 0, Ctl::kNeighborRendering, {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}},
        {1, 2, Ctl::kPotentialVisibleSet, {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}},
    };
    for (const CCase& c : cases) {
        m_engine.m_host.Clear();
        CHiddenSectorRemovalDlg dialog(Settings(), &m_engine.m_view);
        dialog.show();
        Click(dialog, Ctl::kNeighborRendering);
        LevelEdit(dialog)->setText(QString::number(c.level));
        Click(dialog, c.radio);
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.level;
        EXPECT_EQ(Settings().m_removalLevel, c.level);
        EXPECT_EQ(Settings().m_renderMethod, c.method);
        EXPECT_EQ(VisibleSets(), c.visible) << c.level << " " << c.method;
        QProgressBar* progress = Control<QProgressBar>(dialog, Ctl::kRemovalProgress);
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(progress->maximum(), 3);
        EXPECT_EQ(progress->value(), 3);
        EXPECT_EQ(m_engine.m_host.Count(ECall::SetStatusText), 3u);
        // One forced frame, which tells the views.
        EXPECT_EQ(m_engine.m_host.Count(ECall::ViewsChanged), 1u);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(HiddenSectorRemovalDlgTest, OkWithoutAnEngineStoresTheSettings)
{
    CHiddenSectorRemovalDlg dialog(Settings(), nullptr);
    dialog.show();
    LevelEdit(dialog)->setText(QStringLiteral("9"));
    Click(dialog, Ctl::kPotentialVisibleSet);
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Settings().m_removalLevel, 9);
    EXPECT_EQ(Settings().m_renderMethod, 2);
    EXPECT_EQ(VisibleSets(), std::vector<Set>(3));
}

TEST_F(HiddenSectorRemovalDlgTest, CancelChangesNothing)
{
    CHiddenSectorRemovalDlg dialog(Settings(), &m_engine.m_view);
    dialog.show();
    Click(dialog, Ctl::kPotentialVisibleSet);
    LevelEdit(dialog)->setText(QStringLiteral("0"));
    Click(dialog, Ctl::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Settings().m_removalLevel, 5);
    EXPECT_EQ(Settings().m_renderMethod, 0);
    EXPECT_EQ(VisibleSets(), std::vector<Set>(3));
    EXPECT_TRUE(m_engine.m_host.m_calls.empty());
}

}  // namespace
