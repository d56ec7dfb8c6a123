// The "Expand Surface" dialog driven by its control ids: the start values from the surface's
// extents, the fields each shape button enables, the range message that keeps the dialog open
// (disabled fields checked too), and the values OK hands over; its command in the running editor.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "support/FixtureLevels.h"
#include "tools/ui/ExpandSurfaceDlg.h"
#include "ui/DialogIds.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <array>
#include <functional>

namespace {

// A surface 1.25 high (0.75 up, 0.5 down) and 1.25 wide.
constexpr CExpandBox kBox{0.75f, 0.5f, 0.25f, 1.0f};

constexpr std::array<int, 11> kEdits{
    Ctl::kExpandLeft,          Ctl::kExpandRight,         Ctl::kExpandTop,
    Ctl::kExpandBottom,        Ctl::kExpandDepth,         Ctl::kExpandCylinderHeight,
    Ctl::kExpandCylinderWidth, Ctl::kExpandCylinderSides, Ctl::kExpandCircleHeight,
    Ctl::kExpandCircleWidth,   Ctl::kExpandCircleSides,
};

class ExpandSurfaceDlgTest : public AppTest {
protected:
    QString Text(QWidget& dialog, int id) { return Control<QLineEdit>(dialog, id)->text(); }

    void Type(QWidget& dialog, int id, const QString& text)
    {
        Control<QLineEdit>(dialog, id)->setText(text);
    }
};

TEST_F(ExpandSurfaceDlgTest, OpensRectangularWithTheSurfacesExtents)
{
    CExpandSurfaceDlg dialog(kBox);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Expand Surface"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, Ctl::kExpandRectangular)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dialog, Ctl::kExpandCylindrical)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dialog, Ctl::kExpandCircular)->isChecked());
    const std::array<const char*, 11> texts{"0",    "0", "0",    "0",    "1", "1.25",
                                            "1.25", "4", "1.25", "1.25", "8"};
    for (std::size_t i = 0; i < kEdits.size(); ++i)
        EXPECT_EQ(Text(dialog, kEdits[i]), QString::fromLatin1(texts[i])) << kEdits[i];
}

TEST_F(ExpandSurfaceDlgTest, EachShapeButtonEnablesItsOwnFieldsOnly)
{
    struct CRow {
        int button;
        std::array<bool, 11> enabled;
    };
    const CRow rows[] = {
        {Ctl::kExpandCylindrical, {0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0}},
        {Ctl::kExpandCircular, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
        {Ctl::kExpandRectangular, {1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
        // A second click on the chosen button keeps it chosen.
        {Ctl::kExpandRectangular, {1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
    };
    CExpandSurfaceDlg dialog(kBox);
    for (const CRow& row : rows) {
        SCOPED_TRACE(row.button);
        Click(dialog, row.button);
        for (const int shape :
             {Ctl::kExpandRectangular, Ctl::kExpandCylindrical, Ctl::kExpandCircular})
            EXPECT_EQ(Control<QRadioButton>(dialog, shape)->isChecked(), shape == row.button);
        for (std::size_t i = 0; i < kEdits.size(); ++i)
            EXPECT_EQ(Control<QLineEdit>(dialog, kEdits[i])->isEnabled(), row.enabled[i])
                << kEdits[i];
    }
}

TEST_F(ExpandSurfaceDlgTest, AValueOutOfRangeKeepsTheDialogOpen)
{
    struct CCase {
        int edit;
        const char* text;
        const char* message;
    };
    const CCase cases[] = {
        {Ctl::kExpandLeft, "-1", "Please enter a number between 0 and 1000."},
        {Ctl::kExpandDepth, "0.001", "Please enter a number between 0.01 and 1000."},
        {Ctl::kExpandDepth, "deep", "Please enter a number between 0.01 and 1000."},
        // A disabled field is checked too.
        {Ctl::kExpandCylinderHeight, "1.2", "Please enter a number between 1.25 and 1000."},
        {Ctl::kExpandCircleWidth, "1001", "Please enter a number between 1.25 and 1000."},
        {Ctl::kExpandCylinderSides, "2", "Please enter an integer between 3 and 24."},
        {Ctl::kExpandCircleSides, "25", "Please enter an integer between 6 and 24."},
        {Ctl::kExpandCircleSides, "6.5", "Please enter an integer between 6 and 24."},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.text);
        CExpandSurfaceDlg dialog(kBox);
        dialog.show();
        Type(dialog, c.edit, QString::fromLatin1(c.text));
        m_messages.clear();
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
    }
}

TEST_F(ExpandSurfaceDlgTest, OkHandsOverTheChosenShapeAndItsValues)
{
    CExpandSurfaceDlg dialog(kBox);
    dialog.show();
    // A height 0.0001 below the surface's still passes.
    Type(dialog, Ctl::kExpandCylinderHeight, QStringLiteral("1.2499"));
    Type(dialog, Ctl::kExpandCylinderSides, QStringLiteral("6"));
    Type(dialog, Ctl::kExpandDepth, QStringLiteral("2.5"));
    Click(dialog, Ctl::kExpandCylindrical);
    m_messages.clear();
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_values.m_shape, EExpandShape::Cylindrical);
    EXPECT_FLOAT_EQ(dialog.m_values.m_cylinderHeight, 1.2499f);
    EXPECT_EQ(dialog.m_values.m_cylinderSides, 6);
    EXPECT_FLOAT_EQ(dialog.m_values.m_depth, 2.5f);
    EXPECT_FLOAT_EQ(dialog.m_values.m_circleWidth, 1.25f);
}

// ---- The command in the running editor ----

class ExpandSurfaceCommandTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    bool Enabled()
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(Cmd::kExpandSurface);
        return action != nullptr && action->isEnabled();
    }

    // Acts on the Expand Surface dialog once it is up, then presses button.
    void OnDialog(std::function<void(CExpandSurfaceDlg&)> act, int button)
    {
        OnModal<CExpandSurfaceDlg>(&Frame(), [this, act, button](CExpandSurfaceDlg& dialog) {
            ++m_shown;
            act(dialog);
            Click(dialog, button);
        });
    }

    int m_shown = 0;
};

TEST_F(ExpandSurfaceCommandTest, TheDialogsShapeIsBuiltInOneUndoStep)
{
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    C3dView& engine = GiveDocumentEngine(*doc, MakeBoxRoom());
    ASSERT_TRUE(FocusView3d(*doc));
    CSelection& selection = engine.m_selection;
    selection.m_sector = 0;
    selection.m_surface = BoxSurface(*doc->m_level, 0, kBoxXHigh);
    // Enabled with a current surface and exactly two grid nodes.
    selection.m_pickedNodes = {{1, 0, 0.5f}};
    EXPECT_FALSE(Enabled());
    selection.m_pickedNodes.push_back({1, 1, 0.5f});
    EXPECT_TRUE(Enabled());

    // Cancel changes nothing.
    OnDialog([](CExpandSurfaceDlg&) {}, Ctl::kCancel);
    EXPECT_TRUE(Frame().RouteCommand(Cmd::kExpandSurface));
    EXPECT_EQ(m_shown, 1);
    EXPECT_EQ(doc->m_level->m_sectors.size(), 1u);
    EXPECT_TRUE(doc->m_level->m_undoList.empty());

    OnDialog(
        [](CExpandSurfaceDlg& dialog) {
            Click(dialog, Ctl::kExpandCylindrical);
            Control<QLineEdit>(dialog, Ctl::kExpandCylinderSides)->setText(QStringLiteral("5"));
        },
        Ctl::kOk);
    EXPECT_TRUE(Frame().RouteCommand(Cmd::kExpandSurface));
    EXPECT_EQ(m_shown, 2);
    ASSERT_EQ(doc->m_level->m_sectors.size(), 2u);
    EXPECT_EQ(doc->m_level->m_sectors[1]->m_surfaces.size(), 7u);
    EXPECT_EQ(doc->m_level->m_undoList.size(), 1u);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ExpandSurfaceCommandTest, AnAdjoinedSurfaceIsRefusedBeforeTheDialog)
{
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    C3dView& engine = GiveDocumentEngine(*doc, MakeTwoJoinedRooms());
    ASSERT_TRUE(FocusView3d(*doc));
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*doc->m_level, 0, kBoxXHigh);
    engine.m_selection.m_pickedNodes = {{1, 0, 0.5f}, {1, 1, 0.5f}};
    m_messages.clear();
    EXPECT_TRUE(Frame().RouteCommand(Cmd::kExpandSurface));
    EXPECT_EQ(m_shown, 0);
    EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(kExpandAdjoined)});
    EXPECT_EQ(doc->m_level->m_sectors.size(), 2u);
}

}  // namespace
