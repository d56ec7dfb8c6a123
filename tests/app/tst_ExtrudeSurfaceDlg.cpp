// The "Extrude Surface" dialog driven by control id over an engine on the box room: its lists,
// the enabling of its controls by type, first vertex and grid nodes, the resets of the angles,
// the indent and the shape, the range checks, the three-vertex rule and the values OK hands
// over; and the command of the 3D view that runs it.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "tools/ui/ExtrudeSurfaceDlg.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdint>
#include <vector>

namespace {

class ExtrudeSurfaceDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_view.m_selection.m_sector = 0;
        m_engine.m_view.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxFloor);
    }

    void SetText(QWidget& dialog, int id, const char* text)
    {
        if (auto* edit = Control<QLineEdit>(dialog, id))
            edit->setText(QString::fromLatin1(text));
    }

    bool Enabled(QWidget& dialog, int id)
    {
        QWidget* control = Control<QWidget>(dialog, id);
        return control != nullptr && control->isEnabled();
    }

    CFixtureEngine m_engine{MakeBoxRoom()};
};

TEST_F(ExtrudeSurfaceDlgTest, OpensWithNewSectorParallelogramAndTheSurfacesVertices)
{
    CExtrudeSurfaceDlg dialog(m_engine.m_view, false);
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kExtrudeSurface));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Extrude Surface"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, Ctl::kExtrudeNewSector)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(dialog, Ctl::kExtrudeParallelogram)->isChecked());
    const QStringList vertices{QStringLiteral("Vertex 0"), QStringLiteral("Vertex 1"),
                               QStringLiteral("Vertex 2"), QStringLiteral("Vertex 3")};
    const auto items = [&](int id) {
        QStringList texts;
        QComboBox* list = Control<QComboBox>(dialog, id);
        for (int i = 0; list != nullptr && i < list->count(); ++i)
            texts << list->itemText(i);
        EXPECT_EQ(list->currentIndex(), 0);
        return texts;
    };
    EXPECT_EQ(items(Ctl::kExtrudeFirstVertex),
              QStringList{QStringLiteral("All Vertices")} + vertices);
    EXPECT_EQ(items(Ctl::kExtrudeSecondVertex), vertices);
    EXPECT_EQ(items(Ctl::kExtrudeThirdVertex), vertices);
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kExtrudeDepth)->text(), QStringLiteral("1"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kExtrudeDepth2)->text(), QStringLiteral("1"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kExtrudeIndent)->text(), QStringLiteral("0"));
    EXPECT_NE(Control<QPushButton>(dialog, Ctl::kHelp), nullptr);
}

TEST_F(ExtrudeSurfaceDlgTest, ControlsAreEnabledByTypeFirstVertexAndNodes)
{
    struct {
        bool twoNodes;
        int type;
        int first;  // first list entry
        bool depth, connect, angles, shapes, indent, moreDepths, firstList;
    } const cases[] = {
        {true, Ctl::kExtrudeNewSector, 0, true, true, true, true, true, false, false},
        {true, Ctl::kExtrudeKeepWithSector, 0, true, true, false, false, false, false, false},
        {true, Ctl::kExtrudeConnectOpposite, 0, false, true, true, false, false, false, false},
        {true, Ctl::kExtrudeNewSectorHidden, 0, true, true, true, true, true, false, false},
        {false, Ctl::kExtrudeNewSector, 0, true, false, false, false, true, false, true},
        {false, Ctl::kExtrudeNewSector, 2, true, false, false, false, false, true, true},
        {false, Ctl::kExtrudeKeepWithSector, 2, true, false, false, false, false, false, true},
        {false, Ctl::kExtrudeNewSectorHidden, 2, true, false, false, false, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "nodes " << c.twoNodes << ", type " << c.type << ", first " << c.first);
        CExtrudeSurfaceDlg dialog(m_engine.m_view, c.twoNodes);
        if (c.first != 0)
            Control<QComboBox>(dialog, Ctl::kExtrudeFirstVertex)->setCurrentIndex(c.first);
        Click(dialog, c.type);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeDepth), c.depth);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeConnectOpposite), c.connect);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeLeftRightAngle), c.angles);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeUpDownAngle), c.angles);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeParallelogram), c.shapes);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeRotatedEnd), c.shapes);
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeIndent), c.indent);
        for (const int id : {Ctl::kExtrudeDepth2, Ctl::kExtrudeDepth3, Ctl::kExtrudeSecondVertex,
                             Ctl::kExtrudeThirdVertex})
            EXPECT_EQ(Enabled(dialog, id), c.moreDepths) << id;
        EXPECT_EQ(Enabled(dialog, Ctl::kExtrudeFirstVertex), c.firstList);
    }
}

TEST_F(ExtrudeSurfaceDlgTest, TypesResetTheAnglesTheShapeAndTheIndent)
{
    CExtrudeSurfaceDlg dialog(m_engine.m_view, true);
    SetText(dialog, Ctl::kExtrudeLeftRightAngle, "10");
    SetText(dialog, Ctl::kExtrudeUpDownAngle, "-20");
    SetText(dialog, Ctl::kExtrudeIndent, "0.5");
    Click(dialog, Ctl::kExtrudeRotatedEnd);
    Click(dialog, Ctl::kExtrudeKeepWithSector);
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kExtrudeLeftRightAngle)->text(), QStringLiteral("0"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kExtrudeUpDownAngle)->text(), QStringLiteral("0"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kExtrudeIndent)->text(), QStringLiteral("0"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, Ctl::kExtrudeParallelogram)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dialog, Ctl::kExtrudeRotatedEnd)->isChecked());

    // A single first vertex sets the indent to 0 as well.
    CExtrudeSurfaceDlg single(m_engine.m_view, false);
    SetText(single, Ctl::kExtrudeIndent, "0.5");
    Control<QComboBox>(single, Ctl::kExtrudeFirstVertex)->setCurrentIndex(1);
    EXPECT_EQ(Control<QLineEdit>(single, Ctl::kExtrudeIndent)->text(), QStringLiteral("0"));
}

TEST_F(ExtrudeSurfaceDlgTest, FieldsOutOfRangeKeepTheDialogOpen)
{
    struct {
        int id;
        const char* text;
        const char* message;
    } const cases[] = {
        {Ctl::kExtrudeDepth, "0", "Please enter a number between 0.01 and 100."},
        {Ctl::kExtrudeDepth, "100.01", "Please enter a number between 0.01 and 100."},
        {Ctl::kExtrudeLeftRightAngle, "46", "Please enter a number between -45 and 45."},
        {Ctl::kExtrudeUpDownAngle, "-45.5", "Please enter a number between -45 and 45."},
        {Ctl::kExtrudeIndent, "1.1", "Please enter a number between -1 and 1."},
        {Ctl::kExtrudeDepth2, "-1", "Please enter a number between 0.01 and 100."},
        {Ctl::kExtrudeDepth3, "abc", "Please enter a number between 0.01 and 100."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_messages.clear();
        CExtrudeSurfaceDlg dialog(m_engine.m_view, true);
        dialog.show();
        SetText(dialog, c.id, c.text);
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        dialog.reject();
    }
}

TEST_F(ExtrudeSurfaceDlgTest, ASingleFirstVertexNeedsThreeDifferentVertices)
{
    CExtrudeSurfaceDlg dialog(m_engine.m_view, false);
    dialog.show();
    Control<QComboBox>(dialog, Ctl::kExtrudeFirstVertex)->setCurrentIndex(1);  // vertex 0
    Click(dialog, Ctl::kOk);  // the other two lists show vertex 0 too
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("You must select three different vertices.")});
    EXPECT_TRUE(dialog.isVisible());

    m_messages.clear();
    Control<QComboBox>(dialog, Ctl::kExtrudeSecondVertex)->setCurrentIndex(2);
    Control<QComboBox>(dialog, Ctl::kExtrudeThirdVertex)->setCurrentIndex(3);
    SetText(dialog, Ctl::kExtrudeDepth2, "2");
    SetText(dialog, Ctl::kExtrudeDepth3, "2.5");
    Click(dialog, Ctl::kExtrudeNewSectorHidden);
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CExtrudeParams& params = dialog.Params();
    EXPECT_EQ(params.m_vertex1, 0);
    EXPECT_EQ(params.m_vertex2, 2);
    EXPECT_EQ(params.m_vertex3, 3);
    EXPECT_EQ(params.m_depth, 1.0f);
    EXPECT_EQ(params.m_depth2, 2.0f);
    EXPECT_EQ(params.m_depth3, 2.5f);
    EXPECT_EQ(params.m_type, EExtrudeType::NewSectorHidden);
    EXPECT_EQ(params.m_shape, 0);
}

TEST_F(ExtrudeSurfaceDlgTest, OkWithTwoNodesHandsOverAnglesAndShape)
{
    CExtrudeSurfaceDlg dialog(m_engine.m_view, true);
    dialog.show();
    SetText(dialog, Ctl::kExtrudeDepth, "2.5");
    SetText(dialog, Ctl::kExtrudeLeftRightAngle, "-30");
    SetText(dialog, Ctl::kExtrudeUpDownAngle, "15");
    SetText(dialog, Ctl::kExtrudeIndent, "-0.25");
    Click(dialog, Ctl::kExtrudeRotatedEnd);
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CExtrudeParams& params = dialog.Params();
    EXPECT_EQ(params.m_depth, 2.5f);
    EXPECT_EQ(params.m_leftRightAngle, -30.0f);
    EXPECT_EQ(params.m_upDownAngle, 15.0f);
    EXPECT_EQ(params.m_indent, -0.25f);
    EXPECT_EQ(params.m_vertex1, -1);
    EXPECT_EQ(params.m_shape, 1);
    EXPECT_EQ(params.m_type, EExtrudeType::NewSector);
}

}  // namespace

// ---- The Extrude Surface command of the 3D view ----

namespace {

class ExtrudeCommandTest : public AppTest {
protected:
    // The main frame shown with one document whose engine (of the test's own) works on the box
    // room, its floor current and the 3D view focused.
    C3dView& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        C3dView& engine = GiveDocumentEngine(*m_doc, MakeBoxRoom());
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
        EXPECT_TRUE(FocusView3d(*m_doc));
        return engine;
    }

    // The offscreen platform leaves no window active once a modal dialog has closed: the main
    // frame is made active again and the 3D view focused.
    void Refocus()
    {
        m_app->m_pMainFrame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_app->m_pMainFrame));
        ASSERT_TRUE(FocusView3d(*m_doc));
    }

    bool Enabled(int id)
    {
        m_app->m_pMainFrame->UpdateCommandUI();
        const QAction* action = m_app->m_pMainFrame->Action(id);
        return action != nullptr && action->isEnabled();
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(ExtrudeCommandTest, TheEKeyRunsTheDialogAndExtrudesOnOk)
{
    C3dView& engine = Start();
    CQzEditView& view = *m_doc->Frame()->View3d();
    EXPECT_TRUE(Enabled(Cmd::kExtrudeSurface));
    const std::vector<std::uint8_t> before = WriteLevelBytes(*m_doc->m_level);

    {
        SCOPED_TRACE("Cancel");
        const CModalAnswer answer([](QWidget& dialog) { Click(dialog, Ctl::kCancel); });
        QTest::keyClick(&view, Qt::Key_E);
        EXPECT_TRUE(answer.Answered());
        EXPECT_EQ(WriteLevelBytes(*m_doc->m_level), before);
        EXPECT_FALSE(Enabled(Cmd::kEditUndo));
    }
    {
        SCOPED_TRACE("OK");
        Refocus();
        const CModalAnswer answer([](QWidget& dialog) {
            Control<QLineEdit>(dialog, Ctl::kExtrudeDepth)->setText(QStringLiteral("0.5"));
            Click(dialog, Ctl::kOk);
        });
        QTest::keyClick(&view, Qt::Key_E);
        EXPECT_TRUE(answer.Answered());
        ASSERT_EQ(m_doc->m_level->m_sectors.size(), 2u);
        EXPECT_EQ(engine.m_selection.m_sector, 1);
        EXPECT_TRUE(Enabled(Cmd::kEditUndo));
        EXPECT_TRUE(m_messages.isEmpty());
    }
    {
        SCOPED_TRACE("an adjoined surface: the builder's message, no undo step");
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
        const std::size_t steps = m_doc->m_level->m_undoList.size();
        Refocus();
        const CModalAnswer answer([](QWidget& dialog) { Click(dialog, Ctl::kOk); });
        QTest::keyClick(&view, Qt::Key_E);
        EXPECT_TRUE(answer.Answered());
        EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(kExtrudeAdjoinedText.data(),
                                                              kExtrudeAdjoinedText.size())});
        EXPECT_EQ(m_doc->m_level->m_undoList.size(), steps);
    }
    engine.m_selection.m_surface = -1;
    EXPECT_FALSE(Enabled(Cmd::kExtrudeSurface));
}

}  // namespace
