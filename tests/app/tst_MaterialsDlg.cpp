// The Materials dialog driven by control id over an engine with the synthetic game: level mode
// (the sorted list with the materials' numbers, the tiles with their range message, Delete off on
// "dflt.mat", Delete asking while "Warning" is on, the list renumbered, undo giving back the exact
// bytes, the nested Add reusing a material the level has), add mode (the groups of
// "materials.dat" filtering the list, OK adding the material in upper case), OK disabled without
// a selection, and Save writing the bitmap or reporting why it cannot.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/Undo.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/FileIO.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "resources/ui/MaterialsDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/RecordingEngineHost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using ECall = CRecordingEngineHost::ECall;

class MaterialsDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        m_engine.m_settings.m_warning = 1;
        std::filesystem::create_directories(ProgramDir());
        std::ofstream(ProgramDir() / "materials.dat", std::ios::binary) << kGroups;
    }

    CDataFolders Folders() const { return CDataFolders{ProgramDir(), {}}; }
    CQzlSections& Level() { return m_engine.m_level; }

    // The rows of the list as "name#number".
    static QStringList Rows(QWidget& dialog)
    {
        QStringList rows;
        const auto* list = Control<QListWidget>(dialog, Ctl::kMaterialsList);
        for (int i = 0; list != nullptr && i < list->count(); ++i)
            rows << list->item(i)->text() + QLatin1Char('#') +
                        QString::number(list->item(i)->data(Qt::UserRole).toInt());
        return rows;
    }
    static QString Selected(QWidget& dialog)
    {
        const auto* list = Control<QListWidget>(dialog, Ctl::kMaterialsList);
        return list != nullptr && list->currentItem() != nullptr &&
                       list->currentItem()->isSelected()
                   ? list->currentItem()->text()
                   : QString();
    }
    static void Select(QWidget& dialog, const QString& name)
    {
        auto* list = Control<QListWidget>(dialog, Ctl::kMaterialsList);
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        list->setCurrentItem(found.front());
    }
    static QStringList Groups(QWidget& dialog)
    {
        QStringList texts;
        const auto* combo = Control<QComboBox>(dialog, Ctl::kMaterialsSelection);
        for (int i = 0; combo != nullptr && i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static QString Text(QWidget& dialog, int id)
    {
        const auto* edit = Control<QLineEdit>(dialog, id);
        return edit != nullptr ? edit->text() : QString();
    }
    static bool Enabled(QWidget& dialog, int id)
    {
        return Control<QWidget>(dialog, id)->isEnabled();
    }

    static constexpr EBoxSide kBrickSides[] = {kBoxCeiling, kBoxXHigh, kBoxZLow, kBoxZHigh};
    static constexpr const char* kGroups = "switch lava.mat\n"
                                           " red.mat\n"
                                           " 00red.mat\n"
                                           "sky sky.mat\n";

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    // Two joined rooms: materials "DFLT.MAT", "BRICK.MAT" (tiling 2 x 3, on sector 1's ceiling
    // and walls but the portal), "GONE.MAT" (found nowhere), "LAVA.MAT" (on sector 0's floor).
    CFixtureEngine m_engine{[] {
        CQzlSections level = MakeTwoJoinedRooms();
        auto brick = std::make_unique<CQzlMaterial>("BRICK.MAT");
        brick->m_xTile = 2.0f;
        brick->m_yTile = 3.0f;
        level.m_materials.push_back(std::move(brick));
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("GONE.MAT"));
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("LAVA.MAT"));
        for (const EBoxSide side : kBrickSides)
            level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, side))]->m_material = 1;
        level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))]->m_material = 3;
        level.m_colormaps = {"DFLT.CMP", "WARM.CMP"};
        return level;
    }()};
};

TEST_F(MaterialsDlgTest, LevelModeListsTheLevelsMaterialsSortedWithTheirNumbers)
{
    m_engine.m_view.m_selection.m_sector = 1;
    Level().m_sectors[1]->m_colormap = 1;
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "LA", kPickInLevel);
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kMaterials));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Materials in level"));
    // "gone.mat" is found nowhere and not listed.
    EXPECT_EQ(Rows(dialog), (QStringList{"brick.mat#1", "dflt.mat#0", "lava.mat#3"}));
    EXPECT_EQ(Groups(dialog), QStringList{"All"});
    EXPECT_EQ(Control<QComboBox>(dialog, Ctl::kMaterialsPalette)->currentText(), "warm.cmp");
    EXPECT_NE(Control<CPreviewWidget>(dialog, Ctl::kMaterialsPreview), nullptr);
    for (const int id : {Ctl::kOk, Ctl::kCancel, Ctl::kHelp, Ctl::kMaterialsSave,
                         Ctl::kMaterialsAdd, Ctl::kMaterialsDelete})
        EXPECT_FALSE(Control<QPushButton>(dialog, id)->isHidden()) << id;

    // The first name that begins with the initial one; lava.mat is 32 x 32.
    EXPECT_EQ(Selected(dialog), "lava.mat");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsWidth), "32");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsHeight), "32");
    EXPECT_TRUE(Control<QLineEdit>(dialog, Ctl::kMaterialsWidth)->isReadOnly());
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsTileX), "1");
    EXPECT_TRUE(Enabled(dialog, Ctl::kMaterialsDelete));

    // brick.mat: 64 x 32, its tiles; "dflt.mat" cannot be deleted.
    Select(dialog, "brick.mat");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsWidth), "64");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsHeight), "32");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsTileX), "2");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsTileY), "3");
    Select(dialog, "dflt.mat");
    EXPECT_FALSE(Enabled(dialog, Ctl::kMaterialsDelete));
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsWidth), "64");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsHeight), "64");

    dialog.show();
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(dialog.Choice(), (CMaterialChoice{0, "dflt.mat", 64, 64, 1.0f, 1.0f}));
}

TEST_F(MaterialsDlgTest, TileOutOfRangeKeepsTheDialogOpenAndOkWritesTheTilesUndoably)
{
    const Bytes before = WriteLevelBytes(Level());
    for (const char* bad : {"150", "0.5"}) {
        CMaterialsDlg dialog(m_engine.m_view, Folders(), "brick", kPickInLevel);
        dialog.show();
        Control<QLineEdit>(dialog, Ctl::kMaterialsTileY)->setText(QString::fromLatin1(bad));
        PressOk(dialog, QStringLiteral("Please enter a number between 1 and 100."));
        EXPECT_EQ(WriteLevelBytes(Level()), before) << bad;
    }

    m_engine.m_host.Clear();
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "brick", kPickInLevel);
    dialog.show();
    Control<QLineEdit>(dialog, Ctl::kMaterialsTileX)->setText("4.5");
    Control<QLineEdit>(dialog, Ctl::kMaterialsTileY)->setText("100");
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(dialog.Choice(), (CMaterialChoice{1, "brick.mat", 64, 32, 4.5f, 100.0f}));
    EXPECT_EQ(Level().m_materials[1]->m_xTile, 4.5f);
    EXPECT_EQ(Level().m_materials[1]->m_yTile, 100.0f);
    EXPECT_TRUE(LevelIsSound(Level()));
    EXPECT_EQ(m_engine.m_host.Numbers(ECall::SetModifiedFlag).back(), 1);
    ASSERT_TRUE(Undo(m_engine.m_view));
    EXPECT_EQ(WriteLevelBytes(Level()), before);
}

TEST_F(MaterialsDlgTest, WithoutTheArchiveOkKeepsTheSelectedMaterialsTiles)
{
    // No preview and no size without the game's archive, but the edits still follow the
    // selection: OK on brick.mat (2 x 3) after dflt.mat (1 x 1) leaves brick.mat's tiling.
    m_engine.m_game.m_archive = nullptr;
    const Bytes before = WriteLevelBytes(Level());
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "dflt", kPickInLevel);
    dialog.show();
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsTileX), "1");
    Select(dialog, "brick.mat");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsTileX), "2");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsTileY), "3");
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(Level().m_materials[1]->m_xTile, 2.0f);
    EXPECT_EQ(Level().m_materials[1]->m_yTile, 3.0f);
    EXPECT_EQ(WriteLevelBytes(Level()), before);
    EXPECT_TRUE(LevelIsSound(Level()));
}

TEST_F(MaterialsDlgTest, OkIsDisabledWhileNoMaterialIsSelected)
{
    const Bytes before = WriteLevelBytes(Level());
    CMaterialsDlg level(m_engine.m_view, Folders(), "nosuch", kPickInLevel);
    level.show();
    EXPECT_EQ(Selected(level), QString());
    EXPECT_FALSE(Enabled(level, Ctl::kOk));
    EXPECT_FALSE(Enabled(level, Ctl::kMaterialsDelete));
    level.accept();
    EXPECT_TRUE(level.isVisible());
    Select(level, "lava.mat");
    EXPECT_TRUE(Enabled(level, Ctl::kOk));

    // A group without offered members leaves the add-mode list empty.
    std::ofstream(ProgramDir() / "materials.dat", std::ios::binary) << "wall nosuch.mat\n";
    CMaterialsDlg add(m_engine.m_view, Folders(), "", kPickToAdd);
    add.show();
    Control<QComboBox>(add, Ctl::kMaterialsSelection)->setCurrentIndex(1);
    EXPECT_TRUE(Rows(add).isEmpty());
    EXPECT_FALSE(Enabled(add, Ctl::kOk));
    add.accept();
    EXPECT_TRUE(add.isVisible());
    EXPECT_EQ(WriteLevelBytes(Level()), before);
}

TEST_F(MaterialsDlgTest, AddModeFiltersByGroupAndAddsOrReusesTheRecord)
{
    AddLevelFile(Level(), "mine.mat", "x");
    const Bytes before = WriteLevelBytes(Level());
    {
        CMaterialsDlg dialog(m_engine.m_view, Folders(), "", kPickToAdd);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add Material to level"));
        EXPECT_EQ(Groups(dialog), (QStringList{"All", "Switch", "Sky"}));
        EXPECT_TRUE(Control<QPushButton>(dialog, Ctl::kMaterialsAdd)->isHidden());
        EXPECT_TRUE(Control<QPushButton>(dialog, Ctl::kMaterialsDelete)->isHidden());
        // Every material of the game and of the level's files, sorted; the first selected.
        const QStringList all = Rows(dialog);
        EXPECT_EQ(all.size(),
                  static_cast<qsizetype>(m_engine.m_game.m_treeMaterials.m_entries.size() + 1));
        EXPECT_TRUE(all.contains("mine.mat#-1"));
        EXPECT_EQ(Selected(dialog), all.front().section('#', 0, 0));
        Control<QComboBox>(dialog, Ctl::kMaterialsSelection)->setCurrentIndex(1);
        EXPECT_EQ(Rows(dialog), (QStringList{"00red.mat#-1", "lava.mat#-1", "red.mat#-1"}));
        Control<QComboBox>(dialog, Ctl::kMaterialsSelection)->setCurrentIndex(2);
        EXPECT_EQ(Rows(dialog), (QStringList{"sky.mat#-1"}));
        // sky.mat is 128 x 32.
        EXPECT_EQ(Text(dialog, Ctl::kMaterialsWidth), "128");

        dialog.show();
        ASSERT_TRUE(PressOk(dialog, {}));
        EXPECT_EQ(dialog.Choice(), (CMaterialChoice{4, "sky.mat", 128, 32, 1.0f, 1.0f}));
        ASSERT_EQ(Level().m_materials.size(), 5u);
        EXPECT_EQ(Level().m_materials[4]->m_name, "SKY.MAT");
        EXPECT_TRUE(LevelIsSound(Level()));
        ASSERT_TRUE(Undo(m_engine.m_view));
        EXPECT_EQ(WriteLevelBytes(Level()), before);
    }

    // A material the level has keeps its record, tiling included; nothing goes onto the undo
    // list.
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "", kPickToAdd);
    dialog.show();
    Control<QComboBox>(dialog, Ctl::kMaterialsSelection)->setCurrentIndex(1);
    Select(dialog, "lava.mat");
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(dialog.Choice(), (CMaterialChoice{3, "lava.mat", 32, 32, 1.0f, 1.0f}));
    EXPECT_EQ(WriteLevelBytes(Level()), before);
    EXPECT_FALSE(CanUndo(m_engine.m_view));
}

TEST_F(MaterialsDlgTest, DeleteAsksWhileWarningIsOnRenumbersAndUndoes)
{
    const Bytes before = WriteLevelBytes(Level());
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "brick", kPickInLevel);
    dialog.show();

    // No: nothing changes, the sectors that use it are noted.
    m_engine.m_host.ScriptAnswers({false});
    Click(dialog, Ctl::kMaterialsDelete);
    EXPECT_EQ(m_engine.m_host.Questions(),
              std::vector<std::string>{"The selected material is used at several surfaces.\n\n"
                                       "Are you sure that you want to continue deletion?"});
    EXPECT_EQ(WriteLevelBytes(Level()), before);
    EXPECT_EQ(dialog.SectorsToRebuild(), std::vector<int>{1});
    EXPECT_EQ(Rows(dialog), (QStringList{"brick.mat#1", "dflt.mat#0", "lava.mat#3"}));

    // Yes: the walls take "dflt.mat", the numbers above drop by one, "dflt.mat" is selected.
    m_engine.m_host.Clear();
    m_engine.m_host.ScriptAnswers({true});
    Click(dialog, Ctl::kMaterialsDelete);
    EXPECT_EQ(m_engine.m_host.Questions().size(), 1u);
    EXPECT_EQ(Rows(dialog), (QStringList{"dflt.mat#0", "lava.mat#2"}));
    EXPECT_EQ(Selected(dialog), "dflt.mat");
    EXPECT_EQ(dialog.SectorsToRebuild(), std::vector<int>{1});
    ASSERT_EQ(Level().m_materials.size(), 3u);
    for (const EBoxSide side : kBrickSides)
        EXPECT_EQ(
            Level().m_surfaces[static_cast<std::size_t>(BoxSurface(Level(), 1, side))]->m_material,
            0);
    EXPECT_EQ(
        Level().m_surfaces[static_cast<std::size_t>(BoxSurface(Level(), 0, kBoxFloor))]->m_material,
        2);
    EXPECT_TRUE(LevelIsSound(Level()));
    EXPECT_GE(m_engine.m_host.Count(ECall::SetModifiedFlag), 1u);
    const Bytes after = WriteLevelBytes(Level());

    // An unused material goes without a question; with "Warning" off a used one too.
    Select(dialog, "lava.mat");
    m_engine.m_settings.m_warning = 0;
    m_engine.m_host.Clear();
    Click(dialog, Ctl::kMaterialsDelete);
    EXPECT_TRUE(m_engine.m_host.Questions().empty());
    EXPECT_EQ(Rows(dialog), QStringList{"dflt.mat#0"});
    EXPECT_EQ(dialog.SectorsToRebuild(), (std::vector<int>{1, 0}));
    dialog.reject();

    // Each delete is one undo step back to the exact bytes.
    ASSERT_TRUE(Undo(m_engine.m_view));
    EXPECT_EQ(WriteLevelBytes(Level()), after);
    ASSERT_TRUE(Undo(m_engine.m_view));
    EXPECT_EQ(WriteLevelBytes(Level()), before);
}

TEST_F(MaterialsDlgTest, NestedAddListsTheAddedMaterialAndReusesOneTheLevelHas)
{
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "", kPickInLevel);
    dialog.show();
    const auto choose = [](const char* name) {
        return CModalAnswer([name](QWidget& nested) {
            EXPECT_EQ(nested.windowTitle(), QStringLiteral("Add Material to level"));
            Select(nested, QString::fromLatin1(name));
            Click(nested, Ctl::kOk);
        });
    };
    {
        const CModalAnswer answer = choose("sky.mat");
        Click(dialog, Ctl::kMaterialsAdd);
        EXPECT_TRUE(answer.Answered());
    }
    EXPECT_EQ(Rows(dialog), (QStringList{"brick.mat#1", "dflt.mat#0", "lava.mat#3", "sky.mat#4"}));
    EXPECT_EQ(Selected(dialog), "sky.mat");
    EXPECT_EQ(Text(dialog, Ctl::kMaterialsWidth), "128");
    ASSERT_EQ(Level().m_materials.size(), 5u);
    {
        const CModalAnswer answer = choose("brick.mat");
        Click(dialog, Ctl::kMaterialsAdd);
        EXPECT_TRUE(answer.Answered());
    }
    EXPECT_EQ(Level().m_materials.size(), 5u);
    EXPECT_EQ(Rows(dialog).size(), 4);
    EXPECT_EQ(Selected(dialog), "brick.mat");
    EXPECT_TRUE(LevelIsSound(Level()));
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(dialog.Choice().m_index, 1);
}

TEST_F(MaterialsDlgTest, SaveWritesTheBitmapOrSaysWhyNot)
{
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "brick", kPickInLevel);
    dialog.show();
    const std::filesystem::path path = Temp() / "brick.bmp";
    m_fileAnswers = {QString::fromStdString(path.string())};
    Click(dialog, Ctl::kMaterialsSave);
    EXPECT_TRUE(m_messages.isEmpty());
    const Bytes bmp = ReadFileBytes(path);
    ASSERT_GT(bmp.size(), 54u + 1024u + 64u * 32u - 1u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');

    // Cancel writes nothing; a path that cannot be written is reported.
    Click(dialog, Ctl::kMaterialsSave);
    m_fileAnswers = {QString::fromStdString((Temp() / "nowhere" / "x.bmp").string())};
    Click(dialog, Ctl::kMaterialsSave);
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_FALSE(std::filesystem::exists(Temp() / "nowhere"));
}

}  // namespace
