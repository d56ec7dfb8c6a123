// The "Create Door" and "Create Elevator" dialogs driven by control id over an engine with the
// synthetic game: the templates each lists (sorted, each with its entry), the model's extents and
// the preview's model, the enabling of the depths, connect and OK (never for a model without a
// size), the range checks, the fit checks with their messages, and the values OK hands over.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/Camera.h"
#include "engine/ui/PreviewWidget.h"
#include "level/TemplateList.h"
#include "support/FixtureLevels.h"
#include "tools/DoorElevatorFit.h"
#include "tools/ui/CreateDoorDlg.h"
#include "tools/ui/CreateElevatorDlg.h"
#include "tools/ui/TemplateModelPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>
#include <string>
#include <utility>

namespace {

// Templates of our own after the game's: door and elevator names of every kind, a few with a model
// of the game, one whose model is found nowhere.
constexpr const char* kExtraTemplates = "14dhatch _decor model3d=crate.3do\n"
                                        "gate14d _decor model3d=crate.3do\n"
                                        "doorframe _decor model3d=crate.3do\n"
                                        "doorframe2 _decor model3d=lamp.3do\n"
                                        "ghostdoor _decor model3d=nowhere.3do\n"
                                        "cargoelevator _decor model3d=crate.3do\n"
                                        "lift _decor model3d=lamp.3do\n"
                                        "elevswitch _decor model3d=crate.3do\n"
                                        "flatlift _decor type=decor\n";

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

class ModelDialogTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        for (auto& entry : ReadTemplateList(kExtraTemplates))
            m_engine.m_game.m_templates.push_back(std::move(entry));
        Place(BoxSurface(m_engine.m_level, 0, kBoxZLow), {2, 0, 0}, {2, 1, 0});
    }

    // The current surface of sector 0 and the two grid nodes.
    void Place(int surface, const CVector3& first, const CVector3& second)
    {
        m_engine.m_view.m_selection.m_sector = 0;
        m_engine.m_view.m_selection.m_surface = surface;
        m_engine.m_view.m_selection.m_pickedNodes = {first, second};
    }

    static void SetText(QWidget& dialog, int id, const char* text)
    {
        if (auto* edit = Control<QLineEdit>(dialog, id))
            edit->setText(QString::fromLatin1(text));
    }
    static QString Text(QWidget& dialog, int id)
    {
        const auto* edit = Control<QLineEdit>(dialog, id);
        return edit != nullptr ? edit->text() : QString();
    }
    static bool Enabled(QWidget& dialog, int id)
    {
        const QWidget* control = Control<QWidget>(dialog, id);
        return control != nullptr && control->isEnabled();
    }
    static QStringList Items(QWidget& dialog)
    {
        QStringList texts;
        const QComboBox* list = Control<QComboBox>(dialog, Ctl::kModelTemplate);
        for (int i = 0; list != nullptr && i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }
    static void Choose(QWidget& dialog, const char* name)
    {
        QComboBox* list = Control<QComboBox>(dialog, Ctl::kModelTemplate);
        const int at = list->findText(QString::fromLatin1(name));
        ASSERT_GE(at, 0) << name;
        list->setCurrentIndex(at);
    }
    // The position of the template name in the game's list.
    int Entry(const char* name) const
    {
        const auto& templates = m_engine.m_game.m_templates;
        for (std::size_t i = 0; i < templates.size(); ++i)
            if (templates[i]->m_name == name)
                return static_cast<int>(i);
        return -1;
    }

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CFixtureEngine m_engine{[] {
        // A room from (0, 0, 0) to (4, 3, 4).
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        return level;
    }()};
};

TEST_F(ModelDialogTest, EachDialogListsItsTemplatesSortedWithTheirEntries)
{
    CCreateDoorDlg door(m_engine.m_view);
    EXPECT_EQ(door.objectName(), Id(Dlg::kCreateDoor));
    EXPECT_EQ(door.windowTitle(), QStringLiteral("Create Door"));
    // "14d" only at the start, an excluded name only when equal, sorted.
    EXPECT_EQ(Items(door), (QStringList{"14dhatch", "door", "doorframe2", "ghostdoor"}));
    CCreateElevatorDlg elevator(m_engine.m_view);
    EXPECT_EQ(elevator.objectName(), Id(Dlg::kCreateElevator));
    EXPECT_EQ(elevator.windowTitle(), QStringLiteral("Create Elevator"));
    EXPECT_EQ(Items(elevator), (QStringList{"cargoelevator", "flatlift", "lift"}));

    for (QDialog* dialog : std::initializer_list<QDialog*>{&door, &elevator}) {
        const QComboBox* list = Control<QComboBox>(*dialog, Ctl::kModelTemplate);
        for (int i = 0; i < list->count(); ++i)
            EXPECT_EQ(list->itemData(i).toInt(), Entry(list->itemText(i).toLatin1().constData()));
        EXPECT_EQ(list->currentIndex(), 0);
        // Cancel is the default button; the extents are shown, not edited.
        EXPECT_TRUE(Control<QPushButton>(*dialog, Ctl::kCancel)->isDefault());
        EXPECT_FALSE(Control<QPushButton>(*dialog, Ctl::kOk)->isDefault());
        EXPECT_NE(Control<QPushButton>(*dialog, Ctl::kHelp), nullptr);
        for (const int id : {Ctl::kModelX, Ctl::kModelY, Ctl::kModelZ})
            EXPECT_FALSE(Enabled(*dialog, id)) << id;
    }

    // The door's defaults: both sides sunken by 0.05, opening up, not connected.
    for (const int id : {Ctl::kFrontSunken, Ctl::kBackSunken, Ctl::kOpeningUp})
        EXPECT_TRUE(Control<QRadioButton>(door, id)->isChecked()) << id;
    EXPECT_EQ(Text(door, Ctl::kFrontDepth), QStringLiteral("0.05"));
    EXPECT_EQ(Text(door, Ctl::kBackDepth), QStringLiteral("0.05"));
    EXPECT_FALSE(Control<QCheckBox>(door, Ctl::kConnectOpposite)->isChecked());
    // The elevator's: up, a shaft of 1.
    EXPECT_TRUE(Control<QRadioButton>(elevator, Ctl::kDirectionUp)->isChecked());
    EXPECT_EQ(Text(elevator, Ctl::kShaftHeight), QStringLiteral("1"));
    EXPECT_FALSE(Control<QCheckBox>(elevator, Ctl::kConnectOpposite)->isChecked());
}

TEST_F(ModelDialogTest, ChoosingATemplateShowsItsModelAndItsExtents)
{
    CCreateDoorDlg dialog(m_engine.m_view);
    CTemplateModelPane& pane = dialog.Pane();
    C3dView& preview = pane.Preview().Engine();
    const struct {
        const char* name;
        const char* model;  // file name of the preview's model; null: none
    } cases[] = {
        {"door", "door.3do"},
        {"doorframe2", "lamp.3do"},
        {"ghostdoor", nullptr},
        {"14dhatch", "crate.3do"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Choose(dialog, c.name);
        EXPECT_EQ(pane.TemplateName(), c.name);
        const CBoundingBox box = preview.m_levelBox;
        const CVector3 extents = box.max - box.min;
        EXPECT_EQ(pane.Extents(), extents);
        EXPECT_EQ(Text(dialog, Ctl::kModelX), DialogNumber(extents.x));
        EXPECT_EQ(Text(dialog, Ctl::kModelY), DialogNumber(extents.y));
        EXPECT_EQ(Text(dialog, Ctl::kModelZ), DialogNumber(extents.z));
        if (c.model == nullptr) {
            // Found nowhere: no model, no size, and no OK.
            EXPECT_EQ(preview.m_previewModel, nullptr);
            EXPECT_EQ(extents, CVector3{});
            EXPECT_FALSE(Enabled(dialog, Ctl::kOk));
        } else {
            ASSERT_NE(preview.m_previewModel, nullptr);
            EXPECT_EQ(preview.m_previewModel->m_fileName, c.model);
            EXPECT_GT(extents.x, 0.0f);
            EXPECT_GT(extents.y, 0.0f);
            EXPECT_GT(extents.z, 0.0f);
            EXPECT_TRUE(Enabled(dialog, Ctl::kOk));
        }
    }
}

TEST_F(ModelDialogTest, WithoutTheGameArchiveNothingIsLoadedAndOkStaysOff)
{
    m_engine.m_game.m_archive = nullptr;
    CCreateDoorDlg door(m_engine.m_view);
    EXPECT_FALSE(Items(door).isEmpty());
    EXPECT_TRUE(door.Pane().TemplateName().empty());
    EXPECT_EQ(door.Pane().Preview().Engine().m_previewModel, nullptr);
    EXPECT_EQ(Text(door, Ctl::kModelX), QStringLiteral("0"));
    EXPECT_FALSE(Enabled(door, Ctl::kOk));
    Choose(door, "door");
    EXPECT_FALSE(Enabled(door, Ctl::kOk));
    // Pressed all the same (it is off): nothing is accepted.
    door.show();
    door.accept();
    EXPECT_EQ(door.result(), QDialog::Rejected);

    CCreateElevatorDlg elevator(m_engine.m_view);
    EXPECT_EQ(Text(elevator, Ctl::kSubShaftHeight), QStringLiteral("0"));
    EXPECT_FALSE(Enabled(elevator, Ctl::kOk));

    // No template to offer at all: an empty list, nothing shown.
    m_engine.m_game.m_templates.clear();
    CCreateDoorDlg empty(m_engine.m_view);
    EXPECT_TRUE(Items(empty).isEmpty());
    EXPECT_FALSE(Enabled(empty, Ctl::kOk));
}

TEST_F(ModelDialogTest, DoorControlsFollowSunkenAndConnect)
{
    const struct {
        const char* name;
        std::vector<int> clicks;
        bool frontDepth, backDepth, connect;
    } cases[] = {
        {"defaults", {}, true, true, true},
        {"front simple", {Ctl::kFrontSimple}, false, true, true},
        {"front simple then sunken", {Ctl::kFrontSimple, Ctl::kFrontSunken}, true, true, true},
        {"back simple", {Ctl::kBackSimple}, true, false, false},
        {"connect", {Ctl::kConnectOpposite}, true, false, true},
        {"connect, then back simple",
         {Ctl::kConnectOpposite, Ctl::kBackSimple},
         true,
         false,
         false},
        {"connect, back simple, sunken",
         {Ctl::kConnectOpposite, Ctl::kBackSimple, Ctl::kBackSunken},
         true,
         false,
         true},
        {"connect on and off", {Ctl::kConnectOpposite, Ctl::kConnectOpposite}, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCreateDoorDlg dialog(m_engine.m_view);
        for (const int id : c.clicks)
            Click(dialog, id);
        EXPECT_EQ(Enabled(dialog, Ctl::kFrontDepth), c.frontDepth);
        EXPECT_EQ(Enabled(dialog, Ctl::kBackDepth), c.backDepth);
        EXPECT_EQ(Enabled(dialog, Ctl::kConnectOpposite), c.connect);
        EXPECT_TRUE(Enabled(dialog, Ctl::kOk));
    }
}

TEST_F(ModelDialogTest, DoorOkChecksRangesAndTheFitWithTheirMessages)
{
    // A room behind the wall z = 0, 1 away, for the joined door.
    AddBoxSector(m_engine.m_level, {0, 0, -4}, {4, 3, -1});
    const int wall = BoxSurface(m_engine.m_level, 0, kBoxZLow);
    const int floor = BoxSurface(m_engine.m_level, 0, kBoxFloor);
    FinishFixture(m_engine.m_level);
    const QString range = QStringLiteral("Please enter a number between 0.01 and 10.");
    const QString exceeds = Latin1(kDoorExceedsText);
    const QString noOpposite = Latin1(kDoorNoOppositeText);
    // The first template (14dhatch) is h wide: grid node 0 at x = h / 2 puts a corner on the
    // wall's edge x = 0.
    const float h = CCreateDoorDlg(m_engine.m_view).Pane().Extents().x / 2.0f;
    ASSERT_GT(h, 0.0f);
    const struct {
        const char* name;
        int surface;
        CVector3 first;
        std::vector<int> clicks;
        const char* frontDepth;
        const char* backDepth;
        QString message;  // empty: accepted
    } cases[] = {
        {"inside", wall, {2, 0, 0}, {}, "0.05", "0.05", {}},
        {"corner on the wall's edge", wall, {h, 0, 0}, {}, "0.05", "0.05", {}},
        {"corner within 0.001 of the edge", wall, {h - 0.0005f, 0, 0}, {}, "0.05", "0.05", {}},
        {"across the wall's edge", wall, {h * 0.9f, 0, 0}, {}, "0.05", "0.05", exceeds},
        {"front depth 0", wall, {2, 0, 0}, {}, "0", "0.05", range},
        {"back depth above 10", wall, {2, 0, 0}, {}, "0.05", "10.5", range},
        {"front depth no number", wall, {2, 0, 0}, {}, "x", "0.05", range},
        {"front simple, its depth not handed over",
         wall,
         {2, 0, 0},
         {Ctl::kFrontSimple},
         "5",
         "0.05",
         {}},
        {"joined to the room behind", wall, {2, 0, 0}, {Ctl::kConnectOpposite}, "0.05", "0.05", {}},
        {"joined, nothing behind the floor",
         floor,
         {2, 0, 2},
         {Ctl::kConnectOpposite},
         "0.05",
         "0.05",
         noOpposite},
        {"back simple: connect off, no test",
         floor,
         {2, 0, 2},
         {Ctl::kConnectOpposite, Ctl::kBackSimple},
         "0.05",
         "0.05",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CVector3 second =
            c.surface == wall ? c.first + CVector3{0, 1, 0} : c.first + CVector3{0, 0, 1};
        Place(c.surface, c.first, second);
        CCreateDoorDlg dialog(m_engine.m_view);
        dialog.show();
        for (const int id : c.clicks)
            Click(dialog, id);
        SetText(dialog, Ctl::kFrontDepth, c.frontDepth);
        SetText(dialog, Ctl::kBackDepth, c.backDepth);
        PressOk(dialog, c.message);
    }
}

TEST_F(ModelDialogTest, DoorOkHandsTheDialogsValuesToTheBuilder)
{
    const struct {
        const char* name;
        std::vector<int> clicks;
        float frontDepth, backDepth;
        bool connect;
        int direction;
    } cases[] = {
        {"defaults", {}, 0.25f, 0.5f, false, 0},
        {"down", {Ctl::kOpeningDown}, 0.25f, 0.5f, false, 1},
        {"left, front simple", {Ctl::kOpeningLeft, Ctl::kFrontSimple}, 0.0f, 0.5f, false, 2},
        {"right, back simple", {Ctl::kOpeningRight, Ctl::kBackSimple}, 0.25f, 0.0f, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCreateDoorDlg dialog(m_engine.m_view);
        dialog.show();
        Choose(dialog, "14dhatch");
        SetText(dialog, Ctl::kFrontDepth, "0.25");
        SetText(dialog, Ctl::kBackDepth, "0.5");
        for (const int id : c.clicks)
            Click(dialog, id);
        Click(dialog, Ctl::kOk);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        const CDoorParams& p = dialog.Params();
        const CVector3 extents = dialog.Pane().Extents();
        EXPECT_EQ(p.m_template, "14dhatch");
        EXPECT_EQ(p.m_width, extents.x);
        EXPECT_EQ(p.m_height, extents.y);
        EXPECT_EQ(p.m_thickness, extents.z);
        EXPECT_EQ(p.m_frontDepth, c.frontDepth);
        EXPECT_EQ(p.m_backDepth, c.backDepth);
        EXPECT_EQ(p.m_connect, c.connect);
        EXPECT_EQ(p.m_direction, c.direction);
    }
}

TEST_F(ModelDialogTest, ElevatorSubShaftFollowsTheModelAndConnectTurnsTheShaftOff)
{
    CCreateElevatorDlg dialog(m_engine.m_view);
    CTemplateModelPane& pane = dialog.Pane();
    // The first model (cargoelevator): the sub-shaft is its height.
    EXPECT_GT(pane.Extents().y, 0.0f);
    EXPECT_EQ(Text(dialog, Ctl::kSubShaftHeight), DialogNumber(pane.Extents().y));
    // The preview's camera stands at 0.4.
    EXPECT_EQ(pane.Preview().Engine().m_camera.m_position.y, 0.4f);
    // Another model resets it to that model's height, even over the user's value.
    SetText(dialog, Ctl::kSubShaftHeight, "7");
    const float first = pane.Extents().y;
    Choose(dialog, "lift");
    EXPECT_NE(pane.Extents().y, first);
    EXPECT_EQ(Text(dialog, Ctl::kSubShaftHeight), DialogNumber(pane.Extents().y));
    EXPECT_EQ(pane.Preview().Engine().m_camera.m_position.y, 0.4f);
    EXPECT_TRUE(Enabled(dialog, Ctl::kOk));
    // A template naming no model file: no size, no OK; the sub-shaft follows (0).
    Choose(dialog, "flatlift");
    EXPECT_EQ(Text(dialog, Ctl::kSubShaftHeight), QStringLiteral("0"));
    EXPECT_FALSE(Enabled(dialog, Ctl::kOk));
    Choose(dialog, "lift");

    EXPECT_TRUE(Enabled(dialog, Ctl::kShaftHeight));
    Click(dialog, Ctl::kConnectOpposite);
    EXPECT_FALSE(Enabled(dialog, Ctl::kShaftHeight));
    Click(dialog, Ctl::kConnectOpposite);
    EXPECT_TRUE(Enabled(dialog, Ctl::kShaftHeight));
}

TEST_F(ModelDialogTest, ElevatorOkChecksRangesAndTheFootprint)
{
    const int floor = BoxSurface(m_engine.m_level, 0, kBoxFloor);
    const QString exceeds = Latin1(kElevatorExceedsText);
    const struct {
        const char* name;
        CVector3 first;
        const char* shaft;
        const char* subShaft;
        QString message;
    } cases[] = {
        {"inside", {2, 0, 2}, "2", "0.5", {}},
        {"sub-shaft 0", {2, 0, 2}, "1", "0", {}},
        {"shaft below 0.1",
         {2, 0, 2},
         "0.05",
         "0",
         QStringLiteral("Please enter a number between 0.1 and 100.")},
        {"sub-shaft above 100",
         {2, 0, 2},
         "1",
         "100.5",
         QStringLiteral("Please enter a number between 0 and 100.")},
        {"footprint across the wall", {2, 0, 0.01f}, "1", "0", exceeds},
        {"footprint centred on the wall's edge", {2, 0, 0}, "1", "0", exceeds},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Place(floor, c.first, c.first + CVector3{0, 0, 1});
        CCreateElevatorDlg dialog(m_engine.m_view);
        dialog.show();
        Choose(dialog, "lift");
        Click(dialog, Ctl::kDirectionDown);
        SetText(dialog, Ctl::kShaftHeight, c.shaft);
        SetText(dialog, Ctl::kSubShaftHeight, c.subShaft);
        if (!PressOk(dialog, c.message))
            continue;
        const CElevatorParams& p = dialog.Params();
        const CVector3 extents = dialog.Pane().Extents();
        EXPECT_EQ(p.m_template, "lift");
        EXPECT_EQ(p.m_width, extents.x);
        EXPECT_EQ(p.m_height, extents.y);
        EXPECT_EQ(p.m_depth, extents.z);
        EXPECT_EQ(p.m_shaftHeight, std::stof(c.shaft));
        EXPECT_EQ(p.m_subShaftHeight, std::stof(c.subShaft));
        EXPECT_FALSE(p.m_up);
        EXPECT_FALSE(p.m_connect);
    }
}

}  // namespace
