// The "Carve Sector/Surface" dialog over an engine on a box room, driven by control id: its
// defaults and the angle fields greyed in sector mode (also in the picture), the angles' range
// check, OK handing the values over, the Texture button's material and Help.

#include "AppTestSupport.h"

#include "edit/ui/CarveSectorSurfaceDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

class CarveSectorSurfaceDlgTest : public AppTest {
protected:
    void Type(QWidget& dialog, int id, const char* text)
    {
        if (auto* edit = Control<QLineEdit>(dialog, id))
            edit->setText(QString::fromLatin1(text));
    }

    CFixtureEngine m_engine{MakeBoxRoom()};
};

TEST_F(CarveSectorSurfaceDlgTest, OpensWithItsDefaultsAndGreysTheAnglesInSectorMode)
{
    for (const int sectorMode : {0, 1}) {
        SCOPED_TRACE(sectorMode);
        m_engine.m_document.m_sectorMode = sectorMode;
        CCarveSectorSurfaceDlg dialog(m_engine.m_view);
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kCarveSectorSurface));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Carve Sector/Surface"));
        for (const int id : {Ctl::kUpDownAngle, Ctl::kLeftRightAngle}) {
            QLineEdit* edit = Control<QLineEdit>(dialog, id);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->text(), QStringLiteral("0"));
            EXPECT_EQ(edit->isEnabled(), sectorMode == 0) << id;
        }
        QCheckBox* catwalk = Control<QCheckBox>(dialog, Ctl::kCreateCatwalk);
        ASSERT_NE(catwalk, nullptr);
        EXPECT_TRUE(catwalk->isChecked());
        EXPECT_EQ(catwalk->text(), QStringLiteral("Create Catwalk"));
        QLineEdit* texture = Control<QLineEdit>(dialog, Ctl::kCarveTextureName);
        ASSERT_NE(texture, nullptr);
        EXPECT_FALSE(texture->isEnabled());
        EXPECT_TRUE(texture->text().isEmpty());
        for (const auto& [id, text] : std::vector<std::pair<int, QString>>{
                 {Ctl::kOk, QStringLiteral("&OK")},
                 {Ctl::kCancel, QStringLiteral("&Cancel")},
                 {Ctl::kCarveHelp, QStringLiteral("&Help")},
                 {Ctl::kCarveTexture, QStringLiteral("&Texture")}}) {
            QPushButton* button = Control<QPushButton>(dialog, id);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), text);
        }
    }
}

TEST_F(CarveSectorSurfaceDlgTest, GreyedAnglesShowGreyedInThePicture)
{
    // The background just inside the right end of each angle field, with the field enabled and
    // with it greyed, as the dialog is drawn.
    std::vector<QRgb> backgrounds;
    for (const int sectorMode : {0, 1}) {
        m_engine.m_document.m_sectorMode = sectorMode;
        CCarveSectorSurfaceDlg dialog(m_engine.m_view);
        dialog.show();
        QApplication::processEvents();
        const QImage picture = dialog.grab().toImage();
        picture.save(QString::fromStdString(
            (TestOutputDir() / ("carve_dialog_" + std::to_string(sectorMode) + ".png")).string()));
        // The texture field is greyed in both modes.
        for (const int id : {Ctl::kUpDownAngle, Ctl::kLeftRightAngle, Ctl::kCarveTextureName}) {
            QLineEdit* edit = Control<QLineEdit>(dialog, id);
            ASSERT_NE(edit, nullptr);
            const QPoint inside =
                edit->mapTo(&dialog, QPoint(edit->width() - 5, edit->height() / 2)) *
                picture.devicePixelRatio();
            backgrounds.push_back(picture.pixel(inside));
        }
        dialog.reject();
    }
    ASSERT_EQ(backgrounds.size(), 6u);
    // Surface mode: both angle fields alike, unlike the greyed texture field.
    EXPECT_EQ(backgrounds[0], backgrounds[1]);
    EXPECT_NE(backgrounds[0], backgrounds[2]);
    // Sector mode: the angle fields look like the greyed texture field, not like themselves
    // enabled.
    EXPECT_EQ(backgrounds[3], backgrounds[5]);
    EXPECT_EQ(backgrounds[4], backgrounds[5]);
    EXPECT_NE(backgrounds[3], backgrounds[0]);
}

TEST_F(CarveSectorSurfaceDlgTest, AnglesOutOfRangeKeepTheDialogOpen)
{
    struct Case {
        int field;
        const char* text;
        const char* message;
    };
    const QString range = QStringLiteral("Please enter a number between -45 and 45.");
    const QString number = QStringLiteral("Please enter a number.");
    const Case cases[] = {
        {Ctl::kUpDownAngle, "45.5", "range"},  {Ctl::kUpDownAngle, "-46", "range"},
        {Ctl::kLeftRightAngle, "90", "range"}, {Ctl::kUpDownAngle, "abc", "number"},
        {Ctl::kLeftRightAngle, "", "number"},  {Ctl::kUpDownAngle, "5x", "number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_messages.clear();
        CCarveSectorSurfaceDlg dialog(m_engine.m_view);
        dialog.show();
        Type(dialog, c.field, c.text);
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(m_messages, QStringList{std::string(c.message) == "range" ? range : number});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(dialog, c.field));
        dialog.reject();
    }
}

TEST_F(CarveSectorSurfaceDlgTest, OkHandsTheValuesOver)
{
    CCarveSectorSurfaceDlg dialog(m_engine.m_view);
    dialog.show();
    Type(dialog, Ctl::kUpDownAngle, "-45");
    Type(dialog, Ctl::kLeftRightAngle, " 12.5 ");
    Click(dialog, Ctl::kCreateCatwalk);
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_upDown, -45.0f);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_leftRight, 12.5f);
    EXPECT_FALSE(dialog.m_choice.m_catwalk);
    EXPECT_EQ(dialog.m_choice.m_look.m_material, 0);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_look.m_textureWidth, 128.0f);
}

TEST_F(CarveSectorSurfaceDlgTest, TextureButtonTakesTheMaterialPicked)
{
    m_engine.m_host.m_materialChoices = {CMaterialChoice{0, "dflt.mat", 64, 16, 2.0f, 3.0f},
                                         std::nullopt};
    CCarveSectorSurfaceDlg dialog(m_engine.m_view);
    dialog.show();
    Type(dialog, Ctl::kUpDownAngle, "10");
    Click(dialog, Ctl::kCarveTexture);
    QLineEdit* texture = Control<QLineEdit>(dialog, Ctl::kCarveTextureName);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->text(), QStringLiteral("dflt.mat"));
    // Cancel in the picker keeps the material chosen before; the angles typed stay.
    Click(dialog, Ctl::kCarveTexture);
    EXPECT_EQ(texture->text(), QStringLiteral("dflt.mat"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kUpDownAngle)->text(), QStringLiteral("10"));
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_choice.m_textureName, "dflt.mat");
    EXPECT_FLOAT_EQ(dialog.m_choice.m_look.m_textureWidth, 64.0f);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_look.m_textureHeight, 16.0f);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_look.m_xTile, 2.0f);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_look.m_yTile, 3.0f);
    EXPECT_FLOAT_EQ(dialog.m_choice.m_upDown, 10.0f);
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::PickMaterial), 2u);
}

TEST_F(CarveSectorSurfaceDlgTest, HelpShowsTheDialogsPage)
{
    std::vector<unsigned int> contexts;
    const CHelpHandler old =
        SetHelpHandler([&contexts](unsigned int context) { contexts.push_back(context); });
    CCarveSectorSurfaceDlg dialog(m_engine.m_view);
    dialog.show();
    Click(dialog, Ctl::kCarveHelp);
    SetHelpHandler(old);
    EXPECT_EQ(contexts, std::vector<unsigned int>{0x20000u + Dlg::kCarveSectorSurface});
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
