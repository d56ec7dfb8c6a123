// The "Create Landscape" dialog over an engine whose current surface is the floor of a hall: its
// controls and start values (the floor's look), the ranges whose framework messages keep the
// dialog open, the Texture button, and the values OK hands to the builder.

#include "AppTestSupport.h"

#include "engine/EngineHost.h"
#include "level/QzlMaterial.h"
#include "support/FixtureLevels.h"
#include "tools/ui/CreateLandscapeDlg.h"

#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <string>

namespace {

// A hall from (0, 0, 0) to (4, 3, 4), its floor in "Floor.MAT" 64 by 32 texels, tiled 2 by 3.
CQzlSections MakeHall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    level.m_materials[0]->m_name = "Floor.MAT";
    CQzlSurface& floor = *level.m_surfaces[BoxSurface(level, 0, kBoxFloor)];
    floor.m_textureWidth = 64.0f;
    floor.m_textureHeight = 32.0f;
    floor.m_xTile = 2.0f;
    floor.m_yTile = 3.0f;
    return level;
}

class CreateLandscapeDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        C3dView& view = m_engine.m_view;
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxFloor);
        view.m_selection.m_pickedNodes = {CVector3{1, 0, 1}, CVector3{1, 0, 3}};
    }

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

    CFixtureEngine m_engine{MakeHall()};
};

TEST_F(CreateLandscapeDlgTest, ControlsAndStartValues)
{
    CCreateLandscapeDlg dialog(m_engine.m_view);
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kCreateLandscape));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Landscape"));
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeTextureName), QStringLiteral("floor.mat"));
    EXPECT_FALSE(Control<QLineEdit>(dialog, Ctl::kLandscapeTextureName)->isEnabled());
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeSplits), QStringLiteral("2"));
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeMaxDepth), QStringLiteral("0.2"));
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeMinDepth), QStringLiteral("0"));
    for (const auto& [id, text] :
         {std::pair{Ctl::kOk, "&OK"}, std::pair{Ctl::kCancel, "&Cancel"},
          std::pair{Ctl::kHelp, "&Help"}, std::pair{Ctl::kLandscapeTexture, "&Texture"}}) {
        QPushButton* button = Control<QPushButton>(dialog, id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), QString::fromLatin1(text));
    }

    // OK without a change hands over the start values, the floor's look and the two nodes.
    dialog.show();
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CLandscapeParams& params = dialog.m_params;
    EXPECT_EQ(params.m_splits, 2);
    EXPECT_FLOAT_EQ(params.m_maxDepth, 0.2f);
    EXPECT_FLOAT_EQ(params.m_minDepth, 0.0f);
    EXPECT_EQ(params.m_look.m_material, 0);
    EXPECT_FLOAT_EQ(params.m_look.m_textureWidth, 64.0f);
    EXPECT_FLOAT_EQ(params.m_look.m_textureHeight, 32.0f);
    EXPECT_FLOAT_EQ(params.m_look.m_xTile, 2.0f);
    EXPECT_FLOAT_EQ(params.m_look.m_yTile, 3.0f);
    EXPECT_EQ(params.m_node0, (CVector3{1, 0, 1}));
    EXPECT_EQ(params.m_node1, (CVector3{1, 0, 3}));
    EXPECT_TRUE(m_messages.isEmpty());
}

// Each field out of its range, or no number, brings the framework's message and keeps the
// dialog open; the ends of the ranges are taken.
TEST_F(CreateLandscapeDlgTest, RangesKeepTheDialogOpen)
{
    const QString splits = QStringLiteral("Please enter an integer between 1 and 4.");
    const QString maximum = QStringLiteral("Please enter a number between 0 and 100.");
    const QString minimum = QStringLiteral("Please enter a number between -100 and 0.");
    struct {
        int id;
        const char* text;
        QString message;
    } const cases[] = {
        {Ctl::kLandscapeSplits, "0", splits},
        {Ctl::kLandscapeSplits, "5", splits},
        {Ctl::kLandscapeSplits, "2.5", QStringLiteral("Please enter an integer.")},
        {Ctl::kLandscapeMaxDepth, "-0.1", maximum},
        {Ctl::kLandscapeMaxDepth, "100.5", maximum},
        {Ctl::kLandscapeMaxDepth, "deep", QStringLiteral("Please enter a number.")},
        {Ctl::kLandscapeMinDepth, "0.1", minimum},
        {Ctl::kLandscapeMinDepth, "-101", minimum},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.text);
        m_messages.clear();
        CCreateLandscapeDlg dialog(m_engine.m_view);
        dialog.show();
        SetText(dialog, c.id, QString::fromLatin1(c.text));
        Click(dialog, Ctl::kOk);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(m_messages, QStringList{c.message});
        EXPECT_EQ(dialog.m_params.m_splits, 2);
        dialog.reject();
    }

    m_messages.clear();
    CCreateLandscapeDlg dialog(m_engine.m_view);
    dialog.show();
    SetText(dialog, Ctl::kLandscapeSplits, QStringLiteral("4"));
    SetText(dialog, Ctl::kLandscapeMaxDepth, QStringLiteral("100"));
    SetText(dialog, Ctl::kLandscapeMinDepth, QStringLiteral("-100"));
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.m_params.m_splits, 4);
    EXPECT_FLOAT_EQ(dialog.m_params.m_maxDepth, 100.0f);
    EXPECT_FLOAT_EQ(dialog.m_params.m_minDepth, -100.0f);
}

// "&Texture" takes the material picked from the level's list (a cancelled pick changes nothing);
// what was typed in the other fields stays.
TEST_F(CreateLandscapeDlgTest, TextureButtonTakesTheMaterialPicked)
{
    m_engine.m_level.FindMaterial("stone.mat");
    const CMaterialChoice stone{1, "stone.mat", 16, 8, 4.0f, 5.0f};
    m_engine.m_host.m_materialChoices = {std::nullopt, stone};
    CCreateLandscapeDlg dialog(m_engine.m_view);
    dialog.show();
    SetText(dialog, Ctl::kLandscapeSplits, QStringLiteral("3"));
    Click(dialog, Ctl::kLandscapeTexture);  // cancelled
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeTextureName), QStringLiteral("floor.mat"));
    Click(dialog, Ctl::kLandscapeTexture);
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeTextureName), QStringLiteral("stone.mat"));
    EXPECT_EQ(Text(dialog, Ctl::kLandscapeSplits), QStringLiteral("3"));
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CCarveLook& look = dialog.m_params.m_look;
    EXPECT_EQ(look.m_material, 1);
    EXPECT_FLOAT_EQ(look.m_textureWidth, 16.0f);
    EXPECT_FLOAT_EQ(look.m_textureHeight, 8.0f);
    EXPECT_FLOAT_EQ(look.m_xTile, 4.0f);
    EXPECT_FLOAT_EQ(look.m_yTile, 5.0f);
    EXPECT_EQ(dialog.m_params.m_splits, 3);
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::PickMaterial), 2u);
    EXPECT_TRUE(m_messages.isEmpty());
}

}  // namespace
