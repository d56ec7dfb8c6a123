// The "Create Light" dialog by control id: its controls as the settings leave them, the rule that
// enables "&Apply" and the end colour and distance, the swatches answering through the colour
// dialog's hook, the range message of the distance that applies nothing, the three settings
// written by Apply and kept over a restart of the application, OK applying and closing, Cancel
// after Apply keeping the light; and the document's "&Light..." command, disabled without a
// current sector, running the dialog on the document's engine as one undo step.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/Undo.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/ui/CreateLightDlg.h"
#include "ui/ColorDialog.h"
#include "ui/ColorSwatch.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace {

constexpr std::uint32_t kBlue = 0x00FF0000;

// The intensities of every corner of sector.
std::vector<std::array<float, 4>> SectorLight(const CQzlSections& level, int sector)
{
    std::vector<std::array<float, 4>> light;
    for (const std::int32_t f : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces)
        for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(f)]->m_vertices)
            light.push_back({corner.m_intensity[0], corner.m_intensity[1], corner.m_intensity[2],
                             corner.m_intensity[3]});
    return light;
}

bool AllAre(const std::vector<std::array<float, 4>>& light, const std::array<float, 4>& value)
{
    for (const auto& corner : light)
        if (corner != value)
            return false;
    return !light.empty();
}

class CreateLightDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_view.m_selection.m_sector = 0;
        m_settings.m_lightDirect = 0;
        m_oldHook = SetColorDialogHook([this](const QColor& initial, QWidget*) {
            m_initialColors.push_back(initial);
            if (m_colorAnswers.empty())
                return std::optional<QColor>();
            const std::optional<QColor> answer = m_colorAnswers.front();
            m_colorAnswers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        SetColorDialogHook(m_oldHook);
        AppTest::TearDown();
    }

    static bool Enabled(QWidget& dialog, int id)
    {
        QWidget* control = Control<QWidget>(dialog, id);
        return control != nullptr && control->isEnabled();
    }

    CFixtureEngine m_engine{MakeTwoJoinedRooms()};
    CSettings m_settings;
    // The colour dialog's answers in order (Cancel once they are used up) and the colours it was
    // started at.
    std::deque<std::optional<QColor>> m_colorAnswers;
    std::vector<QColor> m_initialColors;
    CColorDialogHook m_oldHook;
};

TEST_F(CreateLightDlgTest, ControlsAndTheApplyRule)
{
    m_settings.m_startColor = 0x00102030;
    m_settings.m_endColor = 0x00405060;
    {
        CCreateLightDlg dialog(m_engine.m_view, m_settings);
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kCreateLight));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Light"));
        EXPECT_EQ(Control<CColorSwatch>(dialog, Ctl::kLightStartColor)->Color(),
                  QColor(0x30, 0x20, 0x10));
        EXPECT_EQ(Control<CColorSwatch>(dialog, Ctl::kLightEndColor)->Color(),
                  QColor(0x60, 0x50, 0x40));
        EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kLightDistance)->text(), QStringLiteral("0.5"));
        EXPECT_FALSE(Control<QCheckBox>(dialog, Ctl::kLightDistanceDependent)->isChecked());
        for (const int id : {Ctl::kLightApply, Ctl::kLightEndColorLabel, Ctl::kLightEndColor,
                             Ctl::kLightDistanceLabel, Ctl::kLightDistance})
            EXPECT_FALSE(Enabled(dialog, id)) << id;
        EXPECT_TRUE(Enabled(dialog, Ctl::kLightStartColor));

        // The check box enables the end colour, the distance and Apply; unticked again, Apply
        // stays enabled.
        Click(dialog, Ctl::kLightDistanceDependent);
        for (const int id : {Ctl::kLightApply, Ctl::kLightEndColorLabel, Ctl::kLightEndColor,
                             Ctl::kLightDistanceLabel, Ctl::kLightDistance})
            EXPECT_TRUE(Enabled(dialog, id)) << id;
        Click(dialog, Ctl::kLightDistanceDependent);
        EXPECT_FALSE(Enabled(dialog, Ctl::kLightEndColor));
        EXPECT_TRUE(Enabled(dialog, Ctl::kLightApply));
    }
    {
        // A colour dialog cancelled changes nothing; a colour chosen fills the swatch and
        // enables Apply.
        CCreateLightDlg dialog(m_engine.m_view, m_settings);
        Click(dialog, Ctl::kLightStartColor);
        EXPECT_FALSE(Enabled(dialog, Ctl::kLightApply));
        m_colorAnswers = {QColor(0, 0, 255)};
        Click(dialog, Ctl::kLightStartColor);
        EXPECT_TRUE(Enabled(dialog, Ctl::kLightApply));
        EXPECT_EQ(Control<CColorSwatch>(dialog, Ctl::kLightStartColor)->Color(), QColor(0, 0, 255));
        EXPECT_EQ(dialog.StartColor(), kBlue);
        EXPECT_EQ(m_initialColors,
                  (std::vector<QColor>{QColor(0x30, 0x20, 0x10), QColor(0x30, 0x20, 0x10)}));
    }
    // The check box starts as "LightDirect" leaves it.
    m_settings.m_lightDirect = 1;
    CCreateLightDlg dialog(m_engine.m_view, m_settings);
    EXPECT_TRUE(Control<QCheckBox>(dialog, Ctl::kLightDistanceDependent)->isChecked());
    EXPECT_TRUE(Enabled(dialog, Ctl::kLightDistance));
    EXPECT_FALSE(Enabled(dialog, Ctl::kLightApply));
}

TEST_F(CreateLightDlgTest, ADistanceOutOfRangeAppliesNothing)
{
    const std::vector<std::uint8_t> before = SnapshotBytes(m_engine.m_level);
    const CSettings settingsBefore = m_settings;
    for (const char* distance : {"0.005", "10.5"}) {
        SCOPED_TRACE(distance);
        m_messages.clear();
        CCreateLightDlg dialog(m_engine.m_view, m_settings);
        m_colorAnswers = {QColor(0, 0, 255)};
        Click(dialog, Ctl::kLightStartColor);
        Control<QLineEdit>(dialog, Ctl::kLightDistance)->setText(QString::fromLatin1(distance));
        Click(dialog, Ctl::kLightApply);
        dialog.accept();
        EXPECT_EQ(m_messages, QStringList(QStringLiteral("Please enter a number between 0.01 and "
                                                         "10.")) +
                                  QStringList(QStringLiteral("Please enter a number between "
                                                             "0.01 and 10.")));
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(SnapshotBytes(m_engine.m_level), before);
    EXPECT_FALSE(CanUndo(m_engine.m_view));
    EXPECT_EQ(m_settings.m_startColor, settingsBefore.m_startColor);
    EXPECT_EQ(m_settings.m_lightDirect, settingsBefore.m_lightDirect);
}

TEST_F(CreateLightDlgTest, CancelAfterApplyKeepsTheLightAndOkAppliesAndCloses)
{
    {
        CCreateLightDlg dialog(m_engine.m_view, m_settings);
        m_colorAnswers = {QColor(0, 0, 255)};
        Click(dialog, Ctl::kLightStartColor);
        Click(dialog, Ctl::kLightApply);
        EXPECT_TRUE(AllAre(SectorLight(m_engine.m_level, 0), {1, 0, 0, 1}));
        EXPECT_TRUE(AllAre(SectorLight(m_engine.m_level, 1), {1, 1, 1, 1}));
        EXPECT_TRUE(LevelIsSound(m_engine.m_level));
        Click(dialog, Ctl::kCancel);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_TRUE(AllAre(SectorLight(m_engine.m_level, 0), {1, 0, 0, 1}));
    EXPECT_EQ(m_settings.m_startColor, kBlue);
    EXPECT_EQ(m_engine.m_level.m_undoList.size(), 1u);

    // OK: the light of the dialog, then closed.
    CCreateLightDlg dialog(m_engine.m_view, m_settings);
    m_colorAnswers = {QColor(255, 255, 255)};
    Click(dialog, Ctl::kLightStartColor);
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(AllAre(SectorLight(m_engine.m_level, 0), {1, 1, 1, 1}));
    EXPECT_EQ(m_engine.m_level.m_undoList.size(), 2u);
}

TEST_F(CreateLightDlgTest, ApplyWritesTheSettingsAndARestartKeepsThem)
{
    MakeApp();
    CSettings& settings = m_app->m_settings;
    settings.m_lightDirect = 0;
    {
        CCreateLightDlg dialog(m_engine.m_view, settings);
        m_colorAnswers = {QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)};
        Click(dialog, Ctl::kLightStartColor);
        Click(dialog, Ctl::kLightDistanceDependent);
        Click(dialog, Ctl::kLightEndColor);
        Control<QLineEdit>(dialog, Ctl::kLightDistance)->setText(QStringLiteral("2"));
        // Nothing is written before Apply.
        EXPECT_EQ(settings.m_lightDirect, 0);
        Click(dialog, Ctl::kLightApply);
        Click(dialog, Ctl::kCancel);
    }
    EXPECT_EQ(settings.m_startColor, 0x00332211u);
    EXPECT_EQ(settings.m_endColor, 0x00665544u);
    EXPECT_EQ(settings.m_lightDirect, 1);

    EndApp();
    MakeApp();
    EXPECT_EQ(m_app->m_settings.m_startColor, 0x00332211u);
    EXPECT_EQ(m_app->m_settings.m_endColor, 0x00665544u);
    EXPECT_EQ(m_app->m_settings.m_lightDirect, 1);
    CCreateLightDlg dialog(m_engine.m_view, m_app->m_settings);
    EXPECT_EQ(Control<CColorSwatch>(dialog, Ctl::kLightStartColor)->Color(),
              QColor(0x11, 0x22, 0x33));
    EXPECT_TRUE(Control<QCheckBox>(dialog, Ctl::kLightDistanceDependent)->isChecked());
}

TEST_F(CreateLightDlgTest, TheLightCommandNeedsASectorAndIsOneUndoStep)
{
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    C3dView& engine = GiveDocumentEngine(*doc, MakeTwoJoinedRooms());
    m_app->m_settings.m_lightDirect = 0;
    CMainFrame& frame = *m_app->m_pMainFrame;
    const auto enabled = [&frame] {
        frame.UpdateCommandUI();
        const QAction* action = frame.Action(Cmd::kCreateLight);
        return action != nullptr && action->isEnabled();
    };
    // A surface and a corner without a sector are not enough.
    engine.m_selection.m_sector = -1;
    engine.m_selection.m_surface = engine.m_selection.m_vertexSurface = 0;
    engine.m_selection.m_vertex = 0;
    EXPECT_FALSE(enabled());
    engine.m_selection.m_sector = 0;
    EXPECT_TRUE(enabled());

    bool shown = false;
    OnModal<CCreateLightDlg>(&frame, [this, &shown](CCreateLightDlg& dialog) {
        shown = true;
        m_colorAnswers = {QColor(0, 0, 255)};
        Click(dialog, Ctl::kLightStartColor);
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(frame, Cmd::kCreateLight);
    ASSERT_TRUE(shown);
    // The current corner alone, as one undo step that marks the document modified.
    const CQzlVertex& corner = doc->m_level->m_surfaces[0]->m_vertices[0];
    EXPECT_EQ(corner.m_intensity[0], 1.0f);
    EXPECT_EQ(corner.m_intensity[1], 0.0f);
    EXPECT_EQ(doc->m_level->m_surfaces[0]->m_vertices[1].m_intensity[1], 1.0f);
    EXPECT_EQ(doc->m_level->m_undoList.size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    // Undo gives the corner its light back.
    TriggerCommand(frame, Cmd::kEditUndo);
    EXPECT_TRUE(AllAre(SectorLight(*doc->m_level, 0), {1, 1, 1, 1}));
}

}  // namespace
