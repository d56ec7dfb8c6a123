// The "Split by Polygon" dialog over an engine whose current surface is a large wall (normal +z):
// its controls and defaults, the spin arrows' wrap-around, the range messages, View picking the
// polygon's corners, OK's two refusals and its close, and the two picked nodes at one point.

#include "AppTestSupport.h"

#include "edit/ui/SplitByPolygonDlg.h"
#include "support/FixtureLevels.h"
#include "support/PointLists.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <vector>

namespace {

const QString kOverlap = QStringLiteral(
    "The snap to grid options causes grid nodes\nto overlap. Please select a smaller grid size.");
const QString kTooFew = QStringLiteral("The specified radius causes too many grid nodes to be\n"
                                       "outside the current surface. Please select a smaller "
                                       "radius.");

CVector3 OnWall(float x, float y)
{
    return {x, y, -10};
}

CQzlSections LargeRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {-10, -10, -10}, {10, 10, 10});
    FinishFixture(level);
    return level;
}

class SplitByPolygonDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        C3dView& view = m_engine.m_view;
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxZLow);
        view.m_selection.m_pickedNodes = {OnWall(0, 0), OnWall(2, 0)};
        m_engine.m_document.m_gridOn = 1;
    }

    QString Text(QWidget& dialog, int id)
    {
        QLineEdit* edit = Control<QLineEdit>(dialog, id);
        return edit == nullptr ? QString() : edit->text();
    }

    void SetText(QWidget& dialog, int id, const QString& text)
    {
        if (QLineEdit* edit = Control<QLineEdit>(dialog, id))
            edit->setText(text);
    }

    const Points& Picked() const { return m_engine.m_view.m_selection.m_pickedNodes; }

    CFixtureEngine m_engine{LargeRoom()};
};

TEST_F(SplitByPolygonDlgTest, ControlsAndDefaults)
{
    CSplitByPolygonDlg dialog(m_engine.m_view);
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kSplitByPolygon));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Split by Polygon"));
    EXPECT_EQ(Text(dialog, Ctl::kPolygonSides), QStringLiteral("4"));
    EXPECT_EQ(Text(dialog, Ctl::kPolygonRadius), QStringLiteral("0.1"));
    QCheckBox* snap = Control<QCheckBox>(dialog, Ctl::kPolygonSnap);
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(snap->text(), QStringLiteral("Snap vertices to grid"));
    EXPECT_FALSE(snap->isChecked());
    for (const int id : {Ctl::kOk, Ctl::kCancel, Ctl::kHelp, Ctl::kPolygonView})
        EXPECT_NE(Control<QPushButton>(dialog, id), nullptr);
    for (const int id : {Ctl::kPolygonSidesSpin, Ctl::kPolygonRadiusSpin})
        EXPECT_NE(Control<QWidget>(dialog, id), nullptr);
}

TEST_F(SplitByPolygonDlgTest, SpinArrowsStepAndWrap)
{
    ExpectSpinSteps([this] { return std::make_unique<CSplitByPolygonDlg>(m_engine.m_view); },
                    {
                        {Ctl::kPolygonSides, Ctl::kPolygonSidesSpin, "4", "up", "5"},
                        {Ctl::kPolygonSides, Ctl::kPolygonSidesSpin, "3", "down", "24"},
                        {Ctl::kPolygonSides, Ctl::kPolygonSidesSpin, "24", "up", "3"},
                        {Ctl::kPolygonRadius, Ctl::kPolygonRadiusSpin, "1", "down", "0.99"},
                        {Ctl::kPolygonRadius, Ctl::kPolygonRadiusSpin, "100", "up", "0.1"},
                        {Ctl::kPolygonRadius, Ctl::kPolygonRadiusSpin, "0.1", "down", "100"},
                        {Ctl::kPolygonRadius, Ctl::kPolygonRadiusSpin, "0.11", "down", "0.1"},
                    });
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(SplitByPolygonDlgTest, ViewPicksThePolygonsCorners)
{
    CSplitByPolygonDlg dialog(m_engine.m_view);
    dialog.show();
    SetText(dialog, Ctl::kPolygonRadius, QStringLiteral("1"));
    Click(dialog, Ctl::kPolygonView);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(SamePoints(Picked(), {OnWall(-1, 1), OnWall(1, 1), OnWall(1, -1), OnWall(-1, -1)}));
    EXPECT_EQ(m_engine.m_view.m_markers.size(), 4u);
    // View again starts from the same two nodes, not from the corners.
    SetText(dialog, Ctl::kPolygonRadius, QStringLiteral("2"));
    Click(dialog, Ctl::kPolygonView);
    EXPECT_TRUE(SamePoints(Picked(), {OnWall(-2, 2), OnWall(2, 2), OnWall(2, -2), OnWall(-2, -2)}));
    // Cancel leaves the corners picked.
    Click(dialog, Ctl::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Picked().size(), 4u);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(SplitByPolygonDlgTest, OkRefusesWithItsMessageAndStaysOpen)
{
    const QString sidesRange = QStringLiteral("Please enter an integer between 3 and 24.");
    const QString radiusRange = QStringLiteral("Please enter a number between 0.1 and 100.");
    struct CCase {
        const char* sides;
        const char* radius;
        bool snap;
        QString message;
        std::size_t picked;  // the picked nodes afterwards: 2 when nothing was computed
    };
    const CCase cases[] = {
        {"2", "1", false, sidesRange, 2},
        {"25", "1", false, sidesRange, 2},
        {"four", "1", false, sidesRange, 2},
        {"4", "0.05", false, radiusRange, 2},
        {"4", "100.5", false, radiusRange, 2},
        // A small radius on a coarse grid: every corner snaps to the same node.
        {"4", "0.1", true, kOverlap, 4},
        // The polygon holds the whole wall.
        {"4", "100", false, kTooFew, 0},
    };
    m_engine.m_settings.m_grid = 1.0f;
    for (const CCase& c : cases) {
        SCOPED_TRACE(std::string(c.sides) + " " + c.radius);
        m_messages.clear();
        m_engine.m_view.m_selection.m_pickedNodes = {OnWall(0.3f, 0.3f), OnWall(2, 0.3f)};
        CSplitByPolygonDlg dialog(m_engine.m_view);
        dialog.show();
        SetText(dialog, Ctl::kPolygonSides, QString::fromLatin1(c.sides));
        SetText(dialog, Ctl::kPolygonRadius, QString::fromLatin1(c.radius));
        Control<QCheckBox>(dialog, Ctl::kPolygonSnap)->setChecked(c.snap);
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(m_messages, QStringList{c.message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(Picked().size(), c.picked);
        dialog.reject();
    }
}

TEST_F(SplitByPolygonDlgTest, OkClosesWithTheCornersPicked)
{
    CSplitByPolygonDlg dialog(m_engine.m_view);
    dialog.show();
    SetText(dialog, Ctl::kPolygonSides, QStringLiteral("6"));
    SetText(dialog, Ctl::kPolygonRadius, QStringLiteral("3"));
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.m_values.m_sides, 6);
    EXPECT_FLOAT_EQ(dialog.m_values.m_radius, 3.0f);
    EXPECT_EQ(Picked().size(), 6u);
}

TEST_F(SplitByPolygonDlgTest, NodesAtOnePointAreRefused)
{
    m_engine.m_view.m_selection.m_pickedNodes = {OnWall(1, 1), OnWall(1, 1)};
    CSplitByPolygonDlg dialog(m_engine.m_view);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(
        m_messages.front().startsWith(QStringLiteral("The two grid nodes are at the same")));
    EXPECT_EQ(Picked().size(), 2u);
}

TEST_F(SplitByPolygonDlgTest, HelpShowsTheDialogsPage)
{
    unsigned int context = 0;
    const CHelpHandler old = SetHelpHandler([&context](unsigned int c) { context = c; });
    CSplitByPolygonDlg dialog(m_engine.m_view);
    dialog.show();
    Click(dialog, Ctl::kHelp);
    EXPECT_EQ(context, 0x20000u + 5014u);
    EXPECT_TRUE(dialog.isVisible());
    SetHelpHandler(old);
}

}  // namespace
