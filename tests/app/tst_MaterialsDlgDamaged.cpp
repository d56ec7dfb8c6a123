// The Materials dialog on damaged levels and hostile group files, driven by control id: every
// row selected, Save (into a file and cancelled), Delete with the question answered, the nested
// Add, OK and Cancel, over a surface whose material index names nothing, over missing records,
// and with "materials.dat" in every odd shape. Nothing crashes, what names nothing stays so, and
// a deletion is one undo step back to the exact bytes.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/Undo.h"
#include "level/LevelFiles.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "resources/ui/MaterialsDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <QComboBox>
#include <QListWidget>

#include <cstdint>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class MaterialsDlgDamagedTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        m_engine.m_settings.m_warning = 1;
        std::filesystem::create_directories(ProgramDir());
        WriteGroups("sky sky.mat\n lava.mat\n");
    }

    void WriteGroups(const std::string& text) const
    {
        std::ofstream(ProgramDir() / "materials.dat", std::ios::binary) << text;
    }
    CDataFolders Folders() const { return CDataFolders{ProgramDir(), {}}; }
    CQzlSections& Level() { return m_engine.m_level; }
    std::int32_t& Material(int sector, EBoxSide side)
    {
        return Level()
            .m_surfaces[static_cast<std::size_t>(BoxSurface(Level(), sector, side))]
            ->m_material;
    }

    static QListWidget& List(QWidget& dialog)
    {
        return *Control<QListWidget>(dialog, Ctl::kMaterialsList);
    }
    // Selects every row in turn, saving each into a file; gives how many rows the list had.
    int SelectAndSaveEveryRow(QWidget& dialog)
    {
        QListWidget& list = List(dialog);
        for (int row = 0; row < list.count(); ++row) {
            list.setCurrentRow(row);
            EXPECT_TRUE(Control<QWidget>(dialog, Ctl::kOk)->isEnabled()) << row;
            m_fileAnswers = {QString::fromStdString((Temp() / "saved.bmp").string())};
            Click(dialog, Ctl::kMaterialsSave);
        }
        return list.count();
    }
    // Answers the nested Add by selecting every row of every group, then OK on "sky.mat" (a
    // material the level does not have) under "All".
    static CModalAnswer AddSkyAfterEveryRow()
    {
        return CModalAnswer([](QWidget& nested) {
            auto* groups = Control<QComboBox>(nested, Ctl::kMaterialsSelection);
            for (int group = groups->count() - 1; group >= 0; --group) {
                groups->setCurrentIndex(group);
                for (int row = 0; row < List(nested).count(); ++row)
                    List(nested).setCurrentRow(row);
            }
            const QList<QListWidgetItem*> sky = List(nested).findItems("sky.mat", Qt::MatchExactly);
            ASSERT_FALSE(sky.isEmpty());
            List(nested).setCurrentItem(sky.front());
            Click(nested, Ctl::kOk);
        });
    }
    // Two joined rooms on "DFLT.MAT", "BRICK.MAT" (sector 1's floor) and "LAVA.MAT" (sector 0's
    // floor).
    static CQzlSections ThreeMaterials()
    {
        CQzlSections level = MakeTwoJoinedRooms();
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("BRICK.MAT"));
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("LAVA.MAT"));
        level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, kBoxFloor))]->m_material = 1;
        level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))]->m_material = 2;
        level.m_colormaps = {"DFLT.CMP"};
        return level;
    }

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CFixtureEngine m_engine{ThreeMaterials()};
};

TEST_F(MaterialsDlgDamagedTest, ASurfaceMaterialNamingNothingStaysSoThroughEveryButton)
{
    struct Case {
        const char* what;
        std::int32_t index;
        std::int32_t afterDelete;  // after "BRICK.MAT" (1) went: still naming nothing
    };
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const Case cases[] = {
        {"negative", -7, -7}, {"the list's size", 3, 2}, {"the largest int", kMax, kMax - 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Material(0, kBoxCeiling) = c.index;
        const Bytes before = WriteLevelBytes(Level());
        CMaterialsDlg dialog(m_engine.m_view, Folders(), "brick", kPickInLevel);
        dialog.show();
        EXPECT_EQ(SelectAndSaveEveryRow(dialog), 3);
        EXPECT_TRUE(m_messages.isEmpty());
        // Delete "BRICK.MAT": its surface is used, the question is answered yes.
        List(dialog).setCurrentRow(0);
        ASSERT_EQ(List(dialog).currentItem()->text(), "brick.mat");
        m_engine.m_host.ScriptAnswers({true});
        Click(dialog, Ctl::kMaterialsDelete);
        EXPECT_EQ(List(dialog).count(), 2);
        EXPECT_EQ(Material(0, kBoxCeiling), c.afterDelete);
        EXPECT_EQ(Material(1, kBoxFloor), 0);
        EXPECT_EQ(Material(0, kBoxFloor), 1);
        EXPECT_EQ(dialog.SectorsToRebuild(), std::vector<int>{1});
        const Bytes afterDelete = WriteLevelBytes(Level());
        // The nested Add, then OK: the material added is chosen.
        {
            const CModalAnswer answer = AddSkyAfterEveryRow();
            Click(dialog, Ctl::kMaterialsAdd);
            EXPECT_TRUE(answer.Answered());
        }
        ASSERT_TRUE(PressOk(dialog, {}));
        EXPECT_EQ(dialog.Choice().m_index, static_cast<int>(Level().m_materials.size()) - 1);
        EXPECT_EQ(Material(0, kBoxCeiling), c.afterDelete);
        // Undo: the Add, then the Delete, each back to the exact bytes.
        ASSERT_TRUE(Undo(m_engine.m_view));
        EXPECT_EQ(WriteLevelBytes(Level()), afterDelete);
        ASSERT_TRUE(Undo(m_engine.m_view));
        EXPECT_EQ(WriteLevelBytes(Level()), before);
        // Cancel changes nothing.
        CMaterialsDlg cancelled(m_engine.m_view, Folders(), "", kPickInLevel);
        cancelled.show();
        SelectAndSaveEveryRow(cancelled);
        Click(cancelled, Ctl::kCancel);
        EXPECT_EQ(WriteLevelBytes(Level()), before);
    }
}

TEST_F(MaterialsDlgDamagedTest, MissingRecordsArePassedOver)
{
    struct Case {
        const char* what;
        std::function<void(CQzlSections&)> damage;
        int rows;  // in level mode
    };
    const Case cases[] = {
        {"material",
         [](CQzlSections& l) { l.m_materials.insert(l.m_materials.begin() + 1, nullptr); }, 3},
        {"sector", [](CQzlSections& l) { l.m_sectors[1].reset(); }, 3},
        {"surface",
         [](CQzlSections& l) {
             l.m_surfaces[static_cast<std::size_t>(BoxSurface(l, 1, kBoxFloor))].reset();
         },
         3},
        {"level file",
         [](CQzlSections& l) {
             // "own.mat" of no bytes, "void.mat" of no data, behind a missing entry.
             AddLevelFile(l.m_levelFiles, "own.mat", "mat\\own.mat", Bytes{});
             const int at = AddLevelFile(l.m_levelFiles, "void.mat", "mat\\void.mat", Bytes{});
             l.m_levelFiles.m_entries[static_cast<std::size_t>(at)]->m_data.reset();
             l.m_levelFiles.m_entries.insert(l.m_levelFiles.m_entries.begin(), nullptr);
             l.m_materials.push_back(std::make_unique<CQzlMaterial>("OWN.MAT"));
             l.m_materials.push_back(std::make_unique<CQzlMaterial>("VOID.MAT"));
         },
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level = ThreeMaterials();
        c.damage(level);
        CFixtureEngine engine(std::move(level));
        engine.m_game = std::move(m_engine.m_game);
        engine.m_settings.m_warning = 1;
        CMaterialsDlg dialog(engine.m_view, Folders(), "", kPickInLevel);
        dialog.show();
        EXPECT_EQ(SelectAndSaveEveryRow(dialog), c.rows);
        // Delete the last row (not "dflt.mat"), the question answered yes.
        List(dialog).setCurrentRow(List(dialog).count() - 1);
        engine.m_host.ScriptAnswers({true});
        Click(dialog, Ctl::kMaterialsDelete);
        EXPECT_EQ(List(dialog).count(), c.rows - 1);
        {
            const CModalAnswer answer = AddSkyAfterEveryRow();
            Click(dialog, Ctl::kMaterialsAdd);
            EXPECT_TRUE(answer.Answered());
        }
        ASSERT_TRUE(PressOk(dialog, {}));
        const int chosen = dialog.Choice().m_index;
        ASSERT_GE(chosen, 0);
        ASSERT_LT(static_cast<std::size_t>(chosen), engine.m_level.m_materials.size());
        EXPECT_NE(engine.m_level.m_materials[static_cast<std::size_t>(chosen)], nullptr);
        m_engine.m_game = std::move(engine.m_game);
    }
}

TEST_F(MaterialsDlgDamagedTest, AnyGroupFileGivesItsGroupsOrJustAll)
{
    const std::string longLine = "sky " + std::string(100 * 1024, 'x') + "\n";
    struct Case {
        const char* what;
        std::string text;
        QStringList groups;
    };
    const Case cases[] = {
        {"empty", "", {"All"}},
        {"CR only", "sky sky.mat\r lava.mat\r", {"All", "Sky"}},
        {"tabs", "sky\tsky.mat\n\tlava.mat", {"All", "Sky\tsky.mat", "\tlava.mat"}},
        {"100 KB line", longLine, {"All", "Sky"}},
        {"NUL bytes", std::string("s\0y sky.mat\n", 12), {"All", QString::fromLatin1("S\0y", 3)}},
        {"no last line end", "sky sky.mat\n lava.mat", {"All", "Sky"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteGroups(c.text);
        CMaterialsDlg dialog(m_engine.m_view, Folders(), "", kPickToAdd);
        dialog.show();
        auto* groups = Control<QComboBox>(dialog, Ctl::kMaterialsSelection);
        QStringList texts;
        for (int i = 0; i < groups->count(); ++i)
            texts << groups->itemText(i);
        EXPECT_EQ(texts, c.groups);
        for (int i = groups->count() - 1; i >= 0; --i) {
            groups->setCurrentIndex(i);
            EXPECT_EQ(Control<QWidget>(dialog, Ctl::kOk)->isEnabled(), List(dialog).count() > 0);
        }
        Click(dialog, Ctl::kCancel);
    }
    // No group file at all: "All" only.
    std::filesystem::remove(ProgramDir() / "materials.dat");
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "", kPickToAdd);
    EXPECT_EQ(Control<QComboBox>(dialog, Ctl::kMaterialsSelection)->count(), 1);
}

TEST_F(MaterialsDlgDamagedTest, APaletteCutShortOrFoundNowhereShowsAndSavesWithoutAFault)
{
    Level().m_colormaps = {"DFLT.CMP", "B63.CMP", "B831.CMP", "NONE.CMP"};
    AddLevelFile(Level().m_levelFiles, "b63.cmp", "misc\\cmp\\b63.cmp", MakeTestColorMap(63));
    AddLevelFile(Level().m_levelFiles, "b831.cmp", "misc\\cmp\\b831.cmp", MakeTestColorMap(831));
    const Bytes before = WriteLevelBytes(Level());
    CMaterialsDlg dialog(m_engine.m_view, Folders(), "", kPickInLevel);
    dialog.show();
    auto* palettes = Control<QComboBox>(dialog, Ctl::kMaterialsPalette);
    ASSERT_EQ(palettes->count(), 4);
    for (int palette = palettes->count() - 1; palette >= 0; --palette) {
        SCOPED_TRACE(palette);
        palettes->setCurrentIndex(palette);
        EXPECT_EQ(SelectAndSaveEveryRow(dialog), 3);
    }
    Click(dialog, Ctl::kCancel);
    EXPECT_EQ(WriteLevelBytes(Level()), before);
}

}  // namespace
