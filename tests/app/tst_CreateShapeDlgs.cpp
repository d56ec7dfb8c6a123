// The "Create Rectangle" and "Create Cylinder"/"Create Pyramid" dialogs over an engine whose
// current surface is the floor of a 4 x 4 hall: their controls and defaults, the spin arrows'
// wrap-around, the range messages that keep the dialog open, View laying the footprint out as the
// picked grid nodes, OK's two refusals and the shape it hands over, the Texture button, and
// Cancel giving back the grid nodes the user had picked.

#include "AppTestSupport.h"

#include "engine/EngineHost.h"
#include "level/QzlMaterial.h"
#include "support/FixtureLevels.h"
#include "support/PointLists.h"
#include "tools/ui/CreateCylinderDlg.h"
#include "tools/ui/CreateRectangleDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const QString kOverlap = QStringLiteral(
    "The snap to grid options causes grid nodes\nto overlap. Please select a smaller grid size.");
const QString kRectangleOutside =
    QStringLiteral("The specified width or depth causes too many grid nodes to be\noutside the "
                   "current surface. Please select a smaller values.");
const QString kRadiusOutside =
    QStringLiteral("The specified radius causes too many grid nodes to be\noutside the current "
                   "surface. Please select a smaller radius.");

constexpr CVector3 kUp{0, 1, 0};

CVector3 OnFloor(float x, float z)
{
    return {x, 0, z};
}

// A hall from (0, 0, 0) to (4, 3, 4), y up; its material's name in capitals.
CQzlSections MakeHall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    level.m_materials[0]->m_name = "Floor.MAT";
    return level;
}

class CreateShapeDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        C3dView& view = m_engine.m_view;
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxFloor);
        Pick({OnFloor(2, 2), OnFloor(2, 3)});
    }

    void Pick(const Points& nodes) { m_engine.m_view.m_selection.m_pickedNodes = nodes; }
    const Points& Picked() const { return m_engine.m_view.m_selection.m_pickedNodes; }

    static QString Text(QWidget& dialog, int id)
    {
        QLineEdit* edit = Control<QLineEdit>(dialog, id);
        return edit == nullptr ? QString() : edit->text();
    }
    static void SetText(QWidget& dialog, int id, const QString& text)
    {
        if (QLineEdit* edit = Control<QLineEdit>(dialog, id))
            edit->setText(text);
    }
    static bool Enabled(QWidget& dialog, int id)
    {
        QWidget* control = Control<QWidget>(dialog, id);
        return control != nullptr && control->isEnabled();
    }

    // The Create Cylinder dialog, or the Create Rectangle one, over the engine.
    std::unique_ptr<CRaisedShapeDlg> MakeDialog(bool cylinder)
    {
        if (cylinder)
            return std::make_unique<CCreateCylinderDlg>(m_engine.m_view, Dlg::kCreateCylinder);
        return std::make_unique<CCreateRectangleDlg>(m_engine.m_view);
    }

    CFixtureEngine m_engine{MakeHall()};
};

TEST_F(CreateShapeDlgTest, ControlsAndDefaults)
{
    const std::vector<int> shared = {Ctl::kShapeHeight, Ctl::kShapeUpDownAngle,
                                     Ctl::kShapeLeftRightAngle, Ctl::kShapeTextureName};
    {
        CCreateRectangleDlg dialog(m_engine.m_view);
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kCreateRectangle));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Rectangle"));
        EXPECT_EQ(Text(dialog, Ctl::kRectangleWidth), QStringLiteral("0.4"));
        EXPECT_EQ(Text(dialog, Ctl::kRectangleDepth), QStringLiteral("0.2"));
    }
    for (const int mode : {Dlg::kCreateCylinder, Dlg::kCreatePyramidMode}) {
        CCreateCylinderDlg dialog(m_engine.m_view, mode);
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kCreateCylinder));
        EXPECT_EQ(dialog.windowTitle(), mode == Dlg::kCreateCylinder
                                            ? QStringLiteral("Create Cylinder")
                                            : QStringLiteral("Create Pyramid"));
        EXPECT_EQ(Text(dialog, Ctl::kCylinderSides), QStringLiteral("4"));
        EXPECT_EQ(Text(dialog, Ctl::kCylinderRadius), QStringLiteral("0.1"));
        for (const int id : {Ctl::kCylinderSidesSpin, Ctl::kCylinderRadiusSpin})
            EXPECT_NE(Control<QWidget>(dialog, id), nullptr);
    }
    for (const bool cylinder : {false, true}) {
        const std::unique_ptr<CRaisedShapeDlg> dialog = MakeDialog(cylinder);
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        EXPECT_EQ(Text(*dialog, Ctl::kShapeHeight), QStringLiteral("0.4"));
        EXPECT_EQ(Text(*dialog, Ctl::kShapeUpDownAngle), QStringLiteral("0"));
        EXPECT_EQ(Text(*dialog, Ctl::kShapeLeftRightAngle), QStringLiteral("0"));
        // The surface's material, by its name in lower case.
        EXPECT_EQ(Text(*dialog, Ctl::kShapeTextureName), QStringLiteral("floor.mat"));
        QCheckBox* snap = Control<QCheckBox>(*dialog, Ctl::kShapeSnap);
        ASSERT_NE(snap, nullptr);
        EXPECT_EQ(snap->text(), QStringLiteral("Snap vertices to grid"));
        EXPECT_FALSE(snap->isChecked());
        for (const auto& [id, text] : {std::pair{Ctl::kOk, "&Ok"},
                                       {Ctl::kCancel, "&Cancel"},
                                       {Ctl::kHelp, "&Help"},
                                       {Ctl::kShapeView, "&View"},
                                       {Ctl::kShapeTexture, "&Texture"}}) {
            QPushButton* button = Control<QPushButton>(*dialog, id);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), QString::fromLatin1(text));
        }
        for (const int id : shared)
            EXPECT_NE(Control<QLineEdit>(*dialog, id), nullptr) << id;
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

// Width and Depth, Sides and Radius count only with exactly two picked nodes: otherwise they are
// disabled (and a surface outline with more corners than Sides allows does not hold OK up).
TEST_F(CreateShapeDlgTest, SizeFieldsOnlyWithTwoNodes)
{
    Pick({OnFloor(1, 1), OnFloor(1, 2), OnFloor(2, 2)});
    CCreateRectangleDlg rectangle(m_engine.m_view);
    EXPECT_FALSE(Enabled(rectangle, Ctl::kRectangleWidth));
    EXPECT_FALSE(Enabled(rectangle, Ctl::kRectangleDepth));
    EXPECT_TRUE(Enabled(rectangle, Ctl::kShapeHeight));
    CCreateCylinderDlg cylinder(m_engine.m_view, Dlg::kCreateCylinder);
    for (const int id : {Ctl::kCylinderSides, Ctl::kCylinderRadius, Ctl::kCylinderSidesSpin,
                         Ctl::kCylinderRadiusSpin})
        EXPECT_FALSE(Enabled(cylinder, id)) << id;

    // No nodes: the floor's corners are the outline at once, Sides shows their count.
    Pick({});
    CCreateCylinderDlg fromSurface(m_engine.m_view, Dlg::kCreateCylinder);
    EXPECT_EQ(Picked().size(), 4u);
    EXPECT_EQ(Text(fromSurface, Ctl::kCylinderSides), QStringLiteral("4"));
    EXPECT_FALSE(Enabled(fromSurface, Ctl::kCylinderSides));
    const Points corners = Picked();
    fromSurface.show();
    Click(fromSurface, Ctl::kShapeView);
    EXPECT_EQ(Picked(), corners);
    Click(fromSurface, Ctl::kOk);
    EXPECT_EQ(fromSurface.result(), QDialog::Accepted);

    // A floor of 26 corners: Sides shows more than it allows, yet OK takes the outline.
    CQzlSections round = MakeEmptyLevel();
    const int sector = AddEmptySector(round);
    std::vector<CVector3> rim;
    for (int i = 0; i < 26; ++i) {
        const double a = 6.283185307179586 * i / 26;
        rim.push_back(
            OnFloor(static_cast<float>(3 * std::cos(a)), static_cast<float>(3 * std::sin(a))));
    }
    const int floor = AddFacingSurface(round, sector, {0, 1, 0}, rim);
    FinishFixture(round);
    CFixtureEngine engine(std::move(round));
    engine.m_view.m_selection.m_sector = sector;
    engine.m_view.m_selection.m_surface = floor;
    CCreateCylinderDlg many(engine.m_view, Dlg::kCreateCylinder);
    EXPECT_EQ(Text(many, Ctl::kCylinderSides), QStringLiteral("26"));
    many.show();
    Click(many, Ctl::kOk);
    EXPECT_EQ(many.result(), QDialog::Accepted);
    EXPECT_EQ(engine.m_view.m_selection.m_pickedNodes.size(), 26u);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(CreateShapeDlgTest, SpinArrowsStepAndWrap)
{
    ExpectSpinSteps(
        [this] {
            return std::make_unique<CCreateCylinderDlg>(m_engine.m_view, Dlg::kCreateCylinder);
        },
        {
            {Ctl::kCylinderSides, Ctl::kCylinderSidesSpin, "4", "up", "5"},
            {Ctl::kCylinderSides, Ctl::kCylinderSidesSpin, "4", "down", "3"},
            {Ctl::kCylinderSides, Ctl::kCylinderSidesSpin, "3", "down", "24"},
            {Ctl::kCylinderSides, Ctl::kCylinderSidesSpin, "24", "up", "3"},
            {Ctl::kCylinderRadius, Ctl::kCylinderRadiusSpin, "1", "down", "0.99"},
            {Ctl::kCylinderRadius, Ctl::kCylinderRadiusSpin, "1", "up", "1.01"},
            {Ctl::kCylinderRadius, Ctl::kCylinderRadiusSpin, "0.1", "down", "100"},
            {Ctl::kCylinderRadius, Ctl::kCylinderRadiusSpin, "100", "up", "0.1"},
        });
    EXPECT_TRUE(m_messages.isEmpty());

    // A bad field stops the step with its message; nothing changes.
    CCreateCylinderDlg dialog(m_engine.m_view, Dlg::kCreateCylinder);
    SetText(dialog, Ctl::kShapeHeight, QStringLiteral("x"));
    ClickSpin(dialog, Ctl::kCylinderSidesSpin, "up");
    EXPECT_EQ(Text(dialog, Ctl::kCylinderSides), QStringLiteral("4"));
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Please enter a number.")});
}

// A field that holds no valid value stops View and OK with the framework's message: the dialog
// stays open and the picked nodes stay as they were.
TEST_F(CreateShapeDlgTest, BadFieldsKeepTheDialogOpen)
{
    const QString sizes = QStringLiteral("Please enter a number between 0.01 and 100.");
    const QString angles = QStringLiteral("Please enter a number between -45 and 45.");
    struct CCase {
        bool cylinder;
        int id;
        const char* text;
        QString message;
    };
    const CCase cases[] = {
        {false, Ctl::kRectangleWidth, "0", sizes},
        {false, Ctl::kRectangleDepth, "100.5", sizes},
        {false, Ctl::kShapeHeight, "abc", QStringLiteral("Please enter a number.")},
        {false, Ctl::kShapeUpDownAngle, "46", angles},
        {false, Ctl::kShapeLeftRightAngle, "-45.5", angles},
        {true, Ctl::kCylinderSides, "2",
         QStringLiteral("Please enter an integer between 3 and 24.")},
        {true, Ctl::kCylinderSides, "4.5", QStringLiteral("Please enter an integer.")},
        {true, Ctl::kCylinderRadius, "0.05",
         QStringLiteral("Please enter a number between 0.1 and 100.")},
        {true, Ctl::kShapeHeight, "0.001", sizes},
    };
    const Points nodes = Picked();
    for (const CCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.text);
        m_messages.clear();
        const std::unique_ptr<CRaisedShapeDlg> dialog = MakeDialog(c.cylinder);
        dialog->show();
        SetText(*dialog, c.id, QString::fromLatin1(c.text));
        Click(*dialog, Ctl::kShapeView);
        Click(*dialog, Ctl::kOk);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(m_messages, (QStringList{c.message, c.message}));
        EXPECT_EQ(Picked(), nodes);
        dialog->reject();
    }
}

TEST_F(CreateShapeDlgTest, ViewLaysTheFootprintOutAndOkHandsTheShapeOver)
{
    CCreateRectangleDlg dialog(m_engine.m_view);
    dialog.show();
    SetText(dialog, Ctl::kRectangleWidth, QStringLiteral("1"));
    SetText(dialog, Ctl::kRectangleDepth, QStringLiteral("2"));
    SetText(dialog, Ctl::kShapeHeight, QStringLiteral("1.5"));
    SetText(dialog, Ctl::kShapeUpDownAngle, QStringLiteral("10"));
    Click(dialog, Ctl::kShapeView);
    // Centred on (2, 0, 2), depth along +z (towards the second node), width along x; the first
    // edge runs along the depth axis.
    const Points rectangle = {OnFloor(1.5f, 1), OnFloor(1.5f, 3), OnFloor(2.5f, 3),
                              OnFloor(2.5f, 1)};
    EXPECT_TRUE(SamePoints(Picked(), rectangle));
    EXPECT_EQ(m_engine.m_view.m_markers.size(), 4u);
    // A later View starts from the footprint, not from width and depth.
    SetText(dialog, Ctl::kRectangleWidth, QStringLiteral("3"));
    Click(dialog, Ctl::kShapeView);
    EXPECT_TRUE(SamePoints(Picked(), rectangle));

    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CRaisedShape& shape = dialog.m_shape;
    EXPECT_EQ(shape.m_base, OnFloor(2, 2));
    EXPECT_EQ(shape.m_second, OnFloor(2, 3));
    EXPECT_LT(VectorLength(shape.m_normal - kUp), 1e-6f);
    EXPECT_LT(VectorLength(shape.m_depthAxis - CVector3{0, 0, 1}), 1e-6f);
    EXPECT_LT(VectorLength(shape.m_widthAxis - CVector3{1, 0, 0}), 1e-6f);
    EXPECT_FLOAT_EQ(shape.m_height, 1.5f);
    EXPECT_FLOAT_EQ(shape.m_upDown, 10.0f);
    EXPECT_FLOAT_EQ(shape.m_leftRight, 0.0f);
    EXPECT_EQ(shape.m_look.m_material, 0);
    EXPECT_TRUE(m_messages.isEmpty());

    // The cylinder: Sides 4, Radius 1 gives the square of side 2 around the base point, its
    // first corner the one whose edge runs along the depth axis.
    Pick({OnFloor(2, 2), OnFloor(2, 3)});
    CCreateCylinderDlg cylinder(m_engine.m_view, Dlg::kCreateCylinder);
    cylinder.show();
    SetText(cylinder, Ctl::kCylinderRadius, QStringLiteral("1"));
    Click(cylinder, Ctl::kOk);
    EXPECT_EQ(cylinder.result(), QDialog::Accepted);
    EXPECT_TRUE(SamePoints(Picked(), {OnFloor(3, 1), OnFloor(3, 3), OnFloor(1, 3), OnFloor(1, 1)}));
    EXPECT_TRUE(m_messages.isEmpty());
}

// OK's refusals: the message, the dialog open, the footprint left picked.
TEST_F(CreateShapeDlgTest, OkRefusesWithItsMessage)
{
    struct CCase {
        const char* name;
        bool cylinder;
        Points nodes;
        float grid;
        std::function<void(QWidget&)> fill;
        QString message;
    };
    const auto snap = [](QWidget& dialog) { Click(dialog, Ctl::kShapeSnap); };
    const CCase cases[] = {
        {"a picked triangle is no rectangle",
         false,
         {OnFloor(1, 1), OnFloor(1, 2), OnFloor(2, 2)},
         0.0f,
         [](QWidget&) {},
         kRectangleOutside},
        {"a rectangle wholly beyond the floor",
         false,
         {OnFloor(20, 20), OnFloor(20, 21)},
         0.0f,
         [](QWidget&) {},
         kRectangleOutside},
        {"snapped to a grid wider than the rectangle",
         false,
         {OnFloor(1.5f, 1.5f), OnFloor(1.5f, 2.5f)},
         2.0f,
         snap,
         kOverlap},
        {"a cylinder wholly beyond the floor",
         true,
         {OnFloor(20, 20), OnFloor(20, 21)},
         0.0f,
         [](QWidget&) {},
         kRadiusOutside},
        {"a cylinder snapped to a grid wider than it",
         true,
         {OnFloor(1.5f, 1.5f), OnFloor(1.5f, 2.5f)},
         2.0f,
         snap,
         kOverlap},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_messages.clear();
        Pick(c.nodes);
        m_engine.m_settings.m_grid = c.grid;
        const std::unique_ptr<CRaisedShapeDlg> dialog = MakeDialog(c.cylinder);
        dialog->show();
        c.fill(*dialog);
        Click(*dialog, Ctl::kOk);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(m_messages, QStringList{c.message});
        dialog->reject();
    }
}

TEST_F(CreateShapeDlgTest, TextureButtonTakesTheMaterialPicked)
{
    m_engine.m_level.FindMaterial("stone.mat");
    const CMaterialChoice stone{1, "stone.mat", 64, 32, 2.0f, 3.0f};
    m_engine.m_host.m_materialChoices = {std::nullopt, stone};
    CCreateRectangleDlg dialog(m_engine.m_view);
    dialog.show();
    SetText(dialog, Ctl::kShapeHeight, QStringLiteral("2"));
    Click(dialog, Ctl::kShapeTexture);  // cancelled
    EXPECT_EQ(Text(dialog, Ctl::kShapeTextureName), QStringLiteral("floor.mat"));
    Click(dialog, Ctl::kShapeTexture);
    EXPECT_EQ(Text(dialog, Ctl::kShapeTextureName), QStringLiteral("stone.mat"));
    EXPECT_EQ(Text(dialog, Ctl::kShapeHeight), QStringLiteral("2"));  // what was typed stays
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CCarveLook& look = dialog.m_shape.m_look;
    EXPECT_EQ(look.m_material, 1);
    EXPECT_FLOAT_EQ(look.m_textureWidth, 64.0f);
    EXPECT_FLOAT_EQ(look.m_textureHeight, 32.0f);
    EXPECT_FLOAT_EQ(look.m_xTile, 2.0f);
    EXPECT_FLOAT_EQ(look.m_yTile, 3.0f);
    EXPECT_FLOAT_EQ(dialog.m_shape.m_height, 2.0f);
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::PickMaterial), 2u);
}

// Cancel gives back the grid nodes the user had picked, after a View and also when the outline
// was the surface's own corners.
TEST_F(CreateShapeDlgTest, CancelGivesBackTheUsersGridNodes)
{
    struct CCase {
        const char* name;
        bool cylinder;
        Points nodes;
        bool view;
    };
    const CCase cases[] = {
        {"rectangle after View", false, {OnFloor(2, 2), OnFloor(2, 3)}, true},
        {"free polygon after View, snapped",
         false,
         {OnFloor(1.1f, 1.1f), OnFloor(1.2f, 2.9f), OnFloor(2.7f, 2.3f), OnFloor(2.6f, 1.4f)},
         true},
        {"cylinder after View", true, {OnFloor(2, 2), OnFloor(2, 3)}, true},
        {"cylinder on the surface's own corners", true, {}, false},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pick(c.nodes);
        m_engine.m_settings.m_grid = 1.0f;
        const std::unique_ptr<CRaisedShapeDlg> dialog = MakeDialog(c.cylinder);
        dialog->show();
        Click(*dialog, Ctl::kShapeSnap);
        if (c.view) {
            Click(*dialog, Ctl::kShapeView);
            EXPECT_NE(Picked(), c.nodes);
        }
        Click(*dialog, Ctl::kCancel);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(Picked(), c.nodes);
        EXPECT_EQ(m_engine.m_view.m_markers.size(), c.nodes.size());
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

}  // namespace
