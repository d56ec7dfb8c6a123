// The application's side of the engine's pickers: the document's pickers over the level and the
// synthetic game, and the data files the program installs (the material group file) with the user's
// copies over them.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/Questions.h"
#include "resources/MaterialGroups.h"
#include "resources/Tree.h"
#include "resources/ui/ColorMapDlg.h"
#include "resources/ui/SoundsDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class PickersTest : public AppTest {};

TEST_F(PickersTest, DocumentPickersShowTheResourceDialogsOverTheLevelAndTheGame)
{
    MakeApp(TestOptions(), false);
    m_app->SetupProduct();
    ASSERT_FALSE(m_app->m_product.m_resources.m_treeMaterials.m_entries.empty());
    CQzEditDoc doc(*m_app);
    *doc.m_level = MakeBoxRoom();
    doc.m_level->m_sounds = {"JUMP.WAV"};
    CEngineHost& host = doc;
    ASSERT_FALSE(doc.IsModified());

    // Level mode (the Materials dialog): the level's material as it stands; its OK marks the
    // document modified.
    QString caption;
    OnPicker(&doc, PickerChoose(QStringLiteral("dflt.mat"), &caption));
    const std::optional<CMaterialChoice> dflt = host.PickMaterial("", kPickInLevel);
    EXPECT_EQ(caption, QStringLiteral("Materials in level"));
    EXPECT_EQ(dflt, (CMaterialChoice{0, "dflt.mat", 64, 64, 1.0f, 1.0f}));
    EXPECT_EQ(doc.m_level->m_materials.size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);

    // Cancel gives nothing and changes nothing.
    OnPicker(&doc, PickerCancel);
    EXPECT_EQ(host.PickMaterial("", kPickToAdd), std::nullopt);
    EXPECT_EQ(doc.m_level->m_materials.size(), 1u);
    EXPECT_FALSE(doc.IsModified());

    // Add mode: the game's material joins the level, which is then modified.
    OnPicker(&doc, PickerChoose(QStringLiteral("brick.mat"), &caption));
    const std::optional<CMaterialChoice> brick = host.PickMaterial("", kPickToAdd);
    EXPECT_EQ(caption, QStringLiteral("Add Material to level"));
    EXPECT_EQ(brick, (CMaterialChoice{1, "brick.mat", 64, 32, 1.0f, 1.0f}));
    ASSERT_EQ(doc.m_level->m_materials.size(), 2u);
    EXPECT_EQ(doc.m_level->m_materials[1]->m_name, "BRICK.MAT");
    EXPECT_TRUE(doc.IsModified());

    // The colour-map and sound pickers are the Color Map and Sounds dialogs.
    OnModal<CColorMapDlg>(&doc, [&caption](CColorMapDlg& dialog) {
        caption = dialog.windowTitle();
        ChooseInList(dialog, Ctl::kColorMapList, QStringLiteral("warm.cmp"));
    });
    EXPECT_EQ(host.PickColorMap("", kPickToAdd), "warm.cmp");
    EXPECT_EQ(caption, QStringLiteral("Add Color Map to level"));
    OnModal<CSoundsDlg>(&doc, [&caption](CSoundsDlg& dialog) {
        caption = dialog.windowTitle();
        ChooseInList(dialog, Ctl::kSoundsList, QStringLiteral("jump.wav"));
    });
    EXPECT_EQ(host.PickSound("ju", kPickInLevel), "jump.wav");
    EXPECT_EQ(caption, QStringLiteral("Sounds in level"));
    OnModal<CSoundsDlg>(&doc, [](CSoundsDlg& dialog) { Click(dialog, Ctl::kCancel); });
    EXPECT_EQ(host.PickSound("", kPickToAdd), std::nullopt);

    // A template of the product's list with its model's extents (the engine measures it).
    C3dView engine(*doc.m_level, m_app->m_settings, doc.m_state, m_app->m_product.m_resources, doc,
                   m_app->Keys(), m_app->GetClock(), m_app->GetRandom());
    doc.m_pEngine = &engine;
    OnTemplateDlg(&doc, TemplateChoose(QStringLiteral("lamp"), &caption));
    const std::optional<CTemplateChoice> lamp = host.PickTemplate("", kPickToAdd);
    EXPECT_EQ(caption, QStringLiteral("Add Template to level"));
    ASSERT_TRUE(lamp.has_value());
    EXPECT_EQ(lamp->m_name, "lamp");
    EXPECT_NEAR(lamp->m_extents.y, 0.16f, 1e-5f);
    EXPECT_NEAR(lamp->m_extents.x, 0.04f, 1e-5f);
    OnTemplateDlg(&doc, TemplateCancel);
    EXPECT_EQ(host.PickTemplate("", kPickInLevel), std::nullopt);
    doc.m_pEngine = nullptr;
}

// The installed "materials.dat" names materials of the synthetic game in every group, and has the
// group "switch" that the Create Switch dialog reads.
TEST_F(PickersTest, InstalledMaterialGroupsNameTheGamesMaterials)
{
    MakeApp(TestOptions(), false);
    const CDataFolders folders = m_app->DataFolders();
    EXPECT_EQ(folders.m_installed, ProgramDir());
    EXPECT_EQ(folders.m_user, UserDataDir());
    EXPECT_EQ(folders.ReadPath(kMaterialGroupFile), ProgramDir() / "materials.dat");
    const std::vector<std::uint8_t> bytes = folders.Read(kMaterialGroupFile);
    const std::string text(bytes.begin(), bytes.end());

    Names known;
    for (const int product : {0, 1}) {
        const auto game = LoadSyntheticGame(TestGameDir(), product);
        for (const auto& entry : game->m_resources.m_treeMaterials.m_entries)
            known.push_back(entry->m_name);
    }
    const auto isKnown = [&known](const std::string& name) {
        return std::find(known.begin(), known.end(), name) != known.end();
    };

    const std::vector<CMaterialGroupLine> lines = ReadMaterialGroups(text);
    ASSERT_FALSE(lines.empty());
    for (const CMaterialGroupLine& line : lines) {
        EXPECT_FALSE(line.m_group.empty()) << line.m_material;
        EXPECT_TRUE(isKnown(line.m_material)) << line.m_material;
    }
    const Names groups = MaterialGroupNames(lines);
    EXPECT_NE(std::find(groups.begin(), groups.end(), "Switch"), groups.end());
    const Names switches = ReadSwitchMaterials(text);
    EXPECT_GE(switches.size(), 2u);
    for (const std::string& name : switches)
        EXPECT_TRUE(isKnown(name)) << name;

    // The user's copy takes the place of the installed one.
    std::filesystem::create_directories(UserDataDir());
    std::ofstream(UserDataDir() / "materials.dat") << "switch lava.mat\n";
    const std::vector<std::uint8_t> mine = folders.Read(kMaterialGroupFile);
    EXPECT_EQ(ReadSwitchMaterials(std::string(mine.begin(), mine.end())), Names{"lava.mat"});
}

TEST_F(PickersTest, UserDataFolderIsTheDesktopsDataLocation)
{
    EnsureQApplication();
    CAppOptions options = TestOptions();
    options.m_settingsFile = SettingsFile();
    options.m_programDir = ProgramDir();
    CQzEditApp app(options);
    EXPECT_FALSE(app.m_userDataDir.empty());
    EXPECT_EQ(app.m_userDataDir,
              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    EXPECT_EQ(app.DataFolders().m_user, app.m_userDataDir);
}

}  // namespace
