// The "Create Layer", "Create Dome" and "Create Stairs" dialogs by control id: their controls and
// defaults, the look taken from the current surface, the range messages that keep a dialog open,
// the Texture button, the dome's curve boxes, the layer's two settings stored on OK and kept over
// a restart; then the three commands of the document: their enable rules and the stairs run from
// the menu in one undo step, a refusal leaving none.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "level/QzlMaterial.h"
#include "level/QzlSections.h"
#include "level/QzlSurface.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Stairs.h"
#include "tools/ui/CreateDomeDlg.h"
#include "tools/ui/CreateLayerDlg.h"
#include "tools/ui/CreateStairsDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A room from (0, 0, 0) to (2, 2, 2), y up, next to a second room joined through x = 2; its
// material's name in capitals.
CQzlSections MakeRooms()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 2, 2});
    const int next = AddBoxSector(level, {-1, 0, 0}, {0, 2, 2});
    JoinSurfaces(level, BoxSurface(level, 0, kBoxXLow), BoxSurface(level, next, kBoxXHigh));
    FinishFixture(level);
    level.m_materials[0]->m_name = "Floor.MAT";
    return level;
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

class LayerDomeStairsDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CSelection& selection = m_engine.m_view.m_selection;
        selection.m_sector = 0;
        selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxFloor);
        selection.m_pickedNodes = {{1, 0, 1}, {1, 0, 1.5f}};
    }

    CQzlSurface& Floor()
    {
        return *m_engine.m_level.m_surfaces[static_cast<std::size_t>(
            BoxSurface(m_engine.m_level, 0, kBoxFloor))];
    }

    CFixtureEngine m_engine{MakeRooms()};
    CSettings m_settings;
};

TEST_F(LayerDomeStairsDlgTest, ControlsAndDefaults)
{
    m_settings.m_layerHeight = 0.25f;
    m_settings.m_layerIndent = -0.5f;
    CCreateLayerDlg layer(m_engine.m_view, m_settings);
    EXPECT_EQ(layer.objectName(), Id(Dlg::kCreateLayer));
    EXPECT_EQ(layer.windowTitle(), QStringLiteral("Create Layer"));
    // Height and indent from the settings, the surface's material by its name in lower case.
    EXPECT_EQ(Text(layer, Ctl::kLayerHeight), QStringLiteral("0.25"));
    EXPECT_EQ(Text(layer, Ctl::kLayerIndent), QStringLiteral("-0.5"));
    EXPECT_EQ(Text(layer, Ctl::kLayerTextureName), QStringLiteral("floor.mat"));
    EXPECT_TRUE(Control<QLineEdit>(layer, Ctl::kLayerTextureName)->isEnabled());

    CCreateDomeDlg dome(m_engine.m_view);
    EXPECT_EQ(dome.objectName(), Id(Dlg::kCreateDome));
    EXPECT_EQ(dome.windowTitle(), QStringLiteral("Create Dome"));
    EXPECT_EQ(Text(dome, Ctl::kDomeDepth), QStringLiteral("0.4"));
    EXPECT_EQ(Text(dome, Ctl::kDomeSplits), QStringLiteral("4"));
    EXPECT_EQ(Text(dome, Ctl::kDomeTextureName), QStringLiteral("floor.mat"));
    for (const auto& [id, text] : {std::pair{Ctl::kDomeCurveAroundUp, "Curved around up vector"},
                                   {Ctl::kDomeCurveAroundPlane, "Curved around plane vector"},
                                   {Ctl::kDomeOutside, "Outside (same sector)"}}) {
        QCheckBox* box = Control<QCheckBox>(dome, id);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(text));
        EXPECT_TRUE(box->isChecked());
    }
    for (QWidget* dialog : {static_cast<QWidget*>(&layer), static_cast<QWidget*>(&dome)})
        for (const auto& [id, text] : {std::pair{Ctl::kOk, "&OK"},
                                       {Ctl::kCancel, "&Cancel"},
                                       {Ctl::kHelp, "&Help"},
                                       {Ctl::kLookTexture, "&Texture"}}) {
            QPushButton* button = Control<QPushButton>(*dialog, id);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), QString::fromLatin1(text));
        }

    CCreateStairsDlg stairs;
    EXPECT_EQ(stairs.objectName(), Id(Dlg::kCreateStairs));
    EXPECT_EQ(stairs.windowTitle(), QStringLiteral("Create Stairs"));
    EXPECT_EQ(Text(stairs, Ctl::kStairsCount), QStringLiteral("5"));
    EXPECT_EQ(Text(stairs, Ctl::kStairsTotalDepth), QStringLiteral("0.5"));
    EXPECT_EQ(Text(stairs, Ctl::kStairsTotalHeight), QStringLiteral("0.1"));
    EXPECT_TRUE(Control<QRadioButton>(stairs, Ctl::kStairsUp)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(stairs, Ctl::kStairsDown)->isChecked());
    for (const auto& [id, text] :
         {std::pair{Ctl::kOk, "&Ok"}, {Ctl::kCancel, "&Cancel"}, {Ctl::kHelp, "&Help"}})
        EXPECT_EQ(Control<QPushButton>(stairs, id)->text(), QString::fromLatin1(text));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(LayerDomeStairsDlgTest, TheLookComesFromTheCurrentSurface)
{
    m_engine.m_level.FindMaterial("stone.mat");
    Floor().m_material = 1;
    Floor().m_textureWidth = 64.0f;
    Floor().m_textureHeight = 32.0f;
    Floor().m_xTile = 2.0f;
    Floor().m_yTile = 3.0f;
    CCreateLayerDlg layer(m_engine.m_view, m_settings);
    CCreateDomeDlg dome(m_engine.m_view);
    for (const CCarveLook& look : {layer.Params().m_look, dome.Params().m_look}) {
        EXPECT_EQ(look.m_material, 1);
        EXPECT_FLOAT_EQ(look.m_textureWidth, 64.0f);
        EXPECT_FLOAT_EQ(look.m_textureHeight, 32.0f);
        EXPECT_FLOAT_EQ(look.m_xTile, 2.0f);
        EXPECT_FLOAT_EQ(look.m_yTile, 3.0f);
    }
    EXPECT_EQ(layer.m_textureName, "stone.mat");

    // A surface without material: the name stays empty and the builders get no material.
    Floor().m_material = -1;
    CCreateLayerDlg plainLayer(m_engine.m_view, m_settings);
    CCreateDomeDlg plainDome(m_engine.m_view);
    EXPECT_EQ(Text(plainLayer, Ctl::kLayerTextureName), QString());
    EXPECT_EQ(Text(plainDome, Ctl::kDomeTextureName), QString());
    plainLayer.show();
    Click(plainLayer, Ctl::kOk);
    EXPECT_EQ(plainLayer.result(), QDialog::Accepted);
    EXPECT_EQ(plainLayer.Params().m_look.m_material, -1);
    EXPECT_EQ(plainDome.Params().m_look.m_material, -1);
}

TEST_F(LayerDomeStairsDlgTest, ValuesOutOfRangeKeepTheDialogOpen)
{
    const QString number = QStringLiteral("Please enter a number.");
    const QString height = QStringLiteral("Please enter a number between 0.01 and 100.");
    const QString indent = QStringLiteral("Please enter a number between -1 and 1.");
    const QString splits = QStringLiteral("Please enter an integer between 1 and 100.");
    const QString size = QStringLiteral("Please enter a number between 0.1 and 100.");
    struct {
        int dialog;  // 0 layer, 1 dome, 2 stairs
        int id;
        const char* text;
        QString message;
    } const cases[] = {
        {0, Ctl::kLayerHeight, "0.005", height},
        {0, Ctl::kLayerHeight, "100.5", height},
        {0, Ctl::kLayerHeight, "high", number},
        {0, Ctl::kLayerIndent, "1.5", indent},
        {0, Ctl::kLayerIndent, "-1.5", indent},
        {1, Ctl::kDomeDepth, "0.005", height},
        {1, Ctl::kDomeSplits, "0", splits},
        {1, Ctl::kDomeSplits, "101", splits},
        {1, Ctl::kDomeSplits, "2.5", QStringLiteral("Please enter an integer.")},
        {2, Ctl::kStairsCount, "0", splits},
        {2, Ctl::kStairsCount, "101", splits},
        {2, Ctl::kStairsTotalDepth, "0.05", size},
        {2, Ctl::kStairsTotalHeight, "100.5", size},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::unique_ptr<QDialog> dialog;
        if (c.dialog == 0)
            dialog = std::make_unique<CCreateLayerDlg>(m_engine.m_view, m_settings);
        else if (c.dialog == 1)
            dialog = std::make_unique<CCreateDomeDlg>(m_engine.m_view);
        else
            dialog = std::make_unique<CCreateStairsDlg>();
        dialog->show();
        SetText(*dialog, c.id, QString::fromLatin1(c.text));
        m_messages.clear();
        Click(*dialog, Ctl::kOk);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(m_messages, QStringList{c.message});
        EXPECT_TRUE(Control<QLineEdit>(*dialog, c.id)->hasSelectedText());
        dialog->reject();
    }
    // Nothing was stored.
    const CSettings defaults;
    EXPECT_EQ(m_settings.m_layerHeight, defaults.m_layerHeight);
    EXPECT_EQ(m_settings.m_layerIndent, defaults.m_layerIndent);
}

TEST_F(LayerDomeStairsDlgTest, OkHandsTheValuesOver)
{
    CCreateDomeDlg dome(m_engine.m_view);
    dome.show();
    SetText(dome, Ctl::kDomeDepth, QStringLiteral("0.75"));
    SetText(dome, Ctl::kDomeSplits, QStringLiteral("7"));
    Control<QCheckBox>(dome, Ctl::kDomeCurveAroundPlane)->setChecked(false);
    Control<QCheckBox>(dome, Ctl::kDomeOutside)->setChecked(false);
    Click(dome, Ctl::kOk);
    ASSERT_EQ(dome.result(), QDialog::Accepted);
    const CDomeParams params = dome.Params();
    EXPECT_FLOAT_EQ(params.m_depth, 0.75f);
    EXPECT_EQ(params.m_splits, 7);
    EXPECT_TRUE(params.m_curveAroundUp);
    EXPECT_FALSE(params.m_curveAroundPlane);
    EXPECT_FALSE(params.m_outside);
    EXPECT_EQ(params.m_look.m_material, 0);

    CCreateStairsDlg stairs;
    stairs.show();
    SetText(stairs, Ctl::kStairsCount, QStringLiteral("100"));
    SetText(stairs, Ctl::kStairsTotalDepth, QStringLiteral("0.1"));
    SetText(stairs, Ctl::kStairsTotalHeight, QStringLiteral("100"));
    Control<QRadioButton>(stairs, Ctl::kStairsDown)->click();
    Click(stairs, Ctl::kOk);
    ASSERT_EQ(stairs.result(), QDialog::Accepted);
    EXPECT_EQ(stairs.m_params.m_count, 100);
    EXPECT_FLOAT_EQ(stairs.m_params.m_totalDepth, 0.1f);
    EXPECT_FLOAT_EQ(stairs.m_params.m_totalHeight, 100.0f);
    EXPECT_FALSE(stairs.m_params.m_up);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(LayerDomeStairsDlgTest, TextureButtonTakesTheMaterialPicked)
{
    m_engine.m_level.FindMaterial("stone.mat");
    const CMaterialChoice stone{1, "stone.mat", 64, 32, 2.0f, 3.0f};
    m_engine.m_host.m_materialChoices = {std::nullopt, stone};
    CCreateLayerDlg layer(m_engine.m_view, m_settings);
    layer.show();
    SetText(layer, Ctl::kLayerHeight, QStringLiteral("2"));
    const CCarveLook before = layer.m_look;
    Click(layer, Ctl::kLookTexture);  // cancelled: nothing changes
    EXPECT_EQ(Text(layer, Ctl::kLayerTextureName), QStringLiteral("floor.mat"));
    EXPECT_EQ(layer.m_textureName, "floor.mat");
    EXPECT_EQ(layer.m_look.m_material, before.m_material);
    EXPECT_EQ(layer.m_look.m_textureWidth, before.m_textureWidth);
    EXPECT_EQ(layer.m_look.m_xTile, before.m_xTile);
    Click(layer, Ctl::kLookTexture);
    EXPECT_EQ(Text(layer, Ctl::kLayerTextureName), QStringLiteral("stone.mat"));
    EXPECT_EQ(Text(layer, Ctl::kLayerHeight), QStringLiteral("2"));  // what was typed stays
    // The picker lists the level's materials with no name chosen.
    for (const CRecordingEngineHost::CCall& call : m_engine.m_host.m_calls)
        if (call.kind == CRecordingEngineHost::ECall::PickMaterial) {
            EXPECT_EQ(call.text, "");
            EXPECT_EQ(call.number, kPickInLevel);
        }
    Click(layer, Ctl::kOk);
    ASSERT_EQ(layer.result(), QDialog::Accepted);
    const CLayerParams params = layer.Params();
    EXPECT_EQ(params.m_look.m_material, 1);
    EXPECT_FLOAT_EQ(params.m_look.m_textureWidth, 64.0f);
    EXPECT_FLOAT_EQ(params.m_look.m_textureHeight, 32.0f);
    EXPECT_FLOAT_EQ(params.m_look.m_xTile, 2.0f);
    EXPECT_FLOAT_EQ(params.m_look.m_yTile, 3.0f);
    EXPECT_FLOAT_EQ(params.m_height, 2.0f);
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::PickMaterial), 2u);
}

// The curve boxes can be changed only with exactly two grid nodes picked; disabled, they still
// show and hand over their state.
TEST_F(LayerDomeStairsDlgTest, CurveBoxesOnlyWithTwoNodes)
{
    for (const std::size_t nodes : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(nodes);
        m_engine.m_view.m_selection.m_pickedNodes.assign(nodes, {1, 0, 1});
        CCreateDomeDlg dome(m_engine.m_view);
        for (const int id : {Ctl::kDomeCurveAroundUp, Ctl::kDomeCurveAroundPlane}) {
            QCheckBox* box = Control<QCheckBox>(dome, id);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->isEnabled(), nodes == 2);
            EXPECT_TRUE(box->isChecked());
        }
        EXPECT_TRUE(Control<QCheckBox>(dome, Ctl::kDomeOutside)->isEnabled());
        dome.show();
        Click(dome, Ctl::kOk);
        ASSERT_EQ(dome.result(), QDialog::Accepted);
        EXPECT_TRUE(dome.Params().m_curveAroundUp);
        EXPECT_TRUE(dome.Params().m_curveAroundPlane);
    }
}

// OK stores height and indent in the application's settings; a normal exit writes them and the
// next start reads them back, and the next dialog starts with them.
TEST_F(LayerDomeStairsDlgTest, OkStoresTheLayerSettingsAndTheyLastOverARestart)
{
    CQzEditApp& app = MakeApp();
    {
        CCreateLayerDlg layer(m_engine.m_view, app.m_settings);
        layer.show();
        SetText(layer, Ctl::kLayerHeight, QStringLiteral("0.35"));
        SetText(layer, Ctl::kLayerIndent, QStringLiteral("-0.25"));
        Click(layer, Ctl::kOk);
        ASSERT_EQ(layer.result(), QDialog::Accepted);
    }
    EXPECT_EQ(app.m_settings.m_layerHeight, 0.35f);
    EXPECT_EQ(app.m_settings.m_layerIndent, -0.25f);
    EndApp();
    {
        QSettings written(SettingsFile(), QSettings::IniFormat);
        EXPECT_EQ(written.value(QStringLiteral("Preferences/LayerHeight")).toString(),
                  QStringLiteral("0.350000"));
        EXPECT_EQ(written.value(QStringLiteral("Preferences/LayerIndent")).toString(),
                  QStringLiteral("-0.250000"));
    }
    CQzEditApp& again = MakeApp();
    EXPECT_EQ(again.m_settings.m_layerHeight, 0.35f);
    EXPECT_EQ(again.m_settings.m_layerIndent, -0.25f);
    CCreateLayerDlg next(m_engine.m_view, again.m_settings);
    EXPECT_EQ(Text(next, Ctl::kLayerHeight), QStringLiteral("0.35"));
    EXPECT_EQ(Text(next, Ctl::kLayerIndent), QStringLiteral("-0.25"));
}

// ---- The commands of the document ----

class LayerDomeStairsCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }
    CQzlSections& Level() { return *m_doc->m_level; }

    // The rooms in a running document, the wall x = 2 of sector 0 current with two nodes up it.
    C3dView& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        C3dView& engine = GiveDocumentEngine(*m_doc, MakeRooms());
        // Built as the editor builds an opened level: the portals' distances are computed.
        RebuildAll(engine, false);
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_surface = BoxSurface(Level(), 0, kBoxXHigh);
        engine.m_selection.m_pickedNodes = {{2, 0.5f, 1}, {2, 1.5f, 1}};
        return engine;
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    // Runs command id with act on its dialog of type T; act closes it.
    template <typename T>
    void Run(int id, const std::function<void(T&)>& act)
    {
        bool shown = false;
        OnModal<T>(&Frame(), [&shown, act](T& dialog) {
            shown = true;
            act(dialog);
            if (dialog.isVisible())
                dialog.reject();
        });
        TriggerCommand(Frame(), id);
        EXPECT_TRUE(shown);
    }
    void RunStairs(const std::function<void(CCreateStairsDlg&)>& act)
    {
        Run<CCreateStairsDlg>(Cmd::kCreateStairs, act);
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(LayerDomeStairsCommandsTest, EnableRules)
{
    C3dView& engine = Start();
    struct CCase {
        const char* name;
        int surface;  // -1 none
        std::size_t nodes;
        bool layerAndDome;
        bool stairs;
    };
    const int wall = BoxSurface(Level(), 0, kBoxXHigh);
    const int portal = BoxSurface(Level(), 0, kBoxXLow);
    for (const CCase& c :
         {CCase{"no surface", -1, 2, false, false}, CCase{"wall, no node", wall, 0, true, false},
          CCase{"wall, one node", wall, 1, true, false},
          CCase{"wall, two nodes", wall, 2, true, true},
          CCase{"wall, three nodes", wall, 3, true, false},
          CCase{"portal, two nodes", portal, 2, false, true}}) {
        SCOPED_TRACE(c.name);
        engine.m_selection.m_surface = c.surface;
        engine.m_selection.m_pickedNodes.assign(c.nodes, {2, 1, 1});
        EXPECT_EQ(Enabled(Cmd::kCreateLayer), c.layerAndDome);
        EXPECT_EQ(Enabled(Cmd::kCreateDome), c.layerAndDome);
        EXPECT_EQ(Enabled(Cmd::kCreateStairs), c.stairs);
    }
}

TEST_F(LayerDomeStairsCommandsTest, StairsBuildInOneUndoStep)
{
    Start();
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    RunStairs([](CCreateStairsDlg& dialog) { Click(dialog, Ctl::kCancel); });
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_TRUE(Level().m_undoList.empty());

    RunStairs([](CCreateStairsDlg& dialog) {
        SetText(dialog, Ctl::kStairsCount, QStringLiteral("4"));
        Click(dialog, Ctl::kOk);
    });
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Level().m_sectors.size(), 2u + 4u);
    EXPECT_TRUE(LevelIsSound(Level()));
    EXPECT_EQ(Level().m_undoList.size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());
    const std::vector<std::uint8_t> built = SnapshotBytes(Level());
    TriggerCommand(Frame(), Cmd::kEditUndo);
    EXPECT_EQ(SnapshotBytes(Level()), before);
    TriggerCommand(Frame(), Cmd::kEditRedo);
    EXPECT_EQ(SnapshotBytes(Level()), built);
}

// The Layer command's dialog works on the application's settings: Cancel leaves them, OK stores
// what was typed, and the next run starts from it.
TEST_F(LayerDomeStairsCommandsTest, LayerCommandKeepsItsValuesInTheSettings)
{
    C3dView& engine = Start();
    engine.m_selection.m_surface = BoxSurface(Level(), 0, kBoxFloor);
    const CSettings& settings = m_app->m_settings;
    const float height = settings.m_layerHeight;
    Run<CCreateLayerDlg>(Cmd::kCreateLayer, [](CCreateLayerDlg& dialog) {
        SetText(dialog, Ctl::kLayerHeight, QStringLiteral("0.3"));
        Click(dialog, Ctl::kCancel);
    });
    EXPECT_EQ(settings.m_layerHeight, height);
    Run<CCreateLayerDlg>(Cmd::kCreateLayer, [](CCreateLayerDlg& dialog) {
        SetText(dialog, Ctl::kLayerHeight, QStringLiteral("0.3"));
        SetText(dialog, Ctl::kLayerIndent, QStringLiteral("0.05"));
        Click(dialog, Ctl::kOk);
    });
    EXPECT_EQ(settings.m_layerHeight, 0.3f);
    EXPECT_EQ(settings.m_layerIndent, 0.05f);
    Run<CCreateLayerDlg>(Cmd::kCreateLayer, [](CCreateLayerDlg& dialog) {
        EXPECT_EQ(Text(dialog, Ctl::kLayerHeight), QStringLiteral("0.3"));
        EXPECT_EQ(Text(dialog, Ctl::kLayerIndent), QStringLiteral("0.05"));
        Click(dialog, Ctl::kCancel);
    });
    Run<CCreateDomeDlg>(Cmd::kCreateDome, [](CCreateDomeDlg& dialog) {
        EXPECT_EQ(Text(dialog, Ctl::kDomeDepth), QStringLiteral("0.4"));
        Click(dialog, Ctl::kCancel);
    });
}

// Steps that would not meet: the message, the level byte for byte as it was, no undo step and
// the modified flag as it was.
TEST_F(LayerDomeStairsCommandsTest, RefusedStairsLeaveNoUndoStep)
{
    Start();
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    const bool modified = m_doc->IsModified();
    RunStairs([](CCreateStairsDlg& dialog) {
        SetText(dialog, Ctl::kStairsCount, QStringLiteral("2"));
        SetText(dialog, Ctl::kStairsTotalHeight, QStringLiteral("9"));
        Click(dialog, Ctl::kOk);
    });
    EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(kStairsNoOverlap)});
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_TRUE(Level().m_undoList.empty());
    EXPECT_EQ(m_doc->IsModified(), modified);
}

}  // namespace
