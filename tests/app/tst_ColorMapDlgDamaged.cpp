// The Color Map and Select Color Map dialogs on damaged levels, driven by control id: every row
// selected and its grid clicked (the colour dialog answering), Delete, the nested Add, OK,
// Cancel and Apply, over a sector whose colour-map index names nothing, a missing sector, a
// missing level file, and colour maps of 0, 63, 64, 831 and 832 bytes or of no data. Only the
// colour map that holds a whole palette is edited; the damaged index stays as it was through OK;
// OK is one undo step back to the exact bytes.

#include "AppTestSupport.h"
#include "LevelListTestSupport.h"

#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/ui/ColorMapDlg.h"
#include "resources/ui/SelectColorMapDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "ui/ColorDialog.h"
#include "ui/DialogText.h"

#include <QTest>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

class ColorMapDlgDamagedTest : public AppTest {
protected:
    // Three boxes on "FULL.CMP" (832 bytes), the damaged index and "NODATA.CMP"; the level's
    // files also hold colour maps of 0, 63, 64 and 831 bytes, one without data, and a missing
    // entry before them all.
    static CQzlSections Level(std::int32_t damaged)
    {
        CQzlSections level = MakeThreeBoxes(&CQzlSector::m_colormap, {0, damaged, 1});
        level.m_colormaps = {"FULL.CMP", "NODATA.CMP", "B0.CMP", "B63.CMP", "B64.CMP", "B831.CMP"};
        AddLevelFile(level.m_levelFiles, "full.cmp", "misc\\cmp\\full.cmp", MakeTestColorMap(832));
        AddLevelFile(level.m_levelFiles, "nodata.cmp", "misc\\cmp\\nodata.cmp", Bytes{});
        for (const int size : {0, 63, 64, 831})
            AddLevelFile(level.m_levelFiles, "b" + std::to_string(size) + ".cmp",
                         "misc\\cmp\\b" + std::to_string(size) + ".cmp",
                         MakeTestColorMap(static_cast<std::size_t>(size)));
        int position = 0;
        level.m_levelFiles.Find("nodata.cmp", position);
        level.m_levelFiles.m_entries[static_cast<std::size_t>(position)]->m_data.reset();
        level.m_levelFiles.m_entries.insert(level.m_levelFiles.m_entries.begin(), nullptr);
        return level;
    }

    static CLevelChangeRunner Runner(C3dView& view)
    {
        return [&view](const std::function<bool()>& change) { return RunUndoable(view, change); };
    }

    // Selects every row and clicks the first and the last cell of the grid on each; gives the
    // names whose grid asked for a colour.
    static QStringList ClickEveryGrid(CColorMapDlg& dialog, int& asked)
    {
        QStringList edited;
        auto* list = Control<QListWidget>(dialog, Ctl::kColorMapList);
        CColorMapGrid& grid = dialog.Grid();
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            const int before = asked;
            QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(1, 1));
            QTest::mouseClick(&grid, Qt::LeftButton, {},
                              QPoint(grid.width() - 2, grid.height() - 2));
            if (asked != before)
                edited << list->item(row)->text();
        }
        return edited;
    }

    static const Bytes& FileBytes(const CQzlSections& level, const char* name)
    {
        int position = 0;
        EXPECT_TRUE(level.m_levelFiles.Find(name, position)) << name;
        return *level.m_levelFiles.m_entries[static_cast<std::size_t>(position)]->m_data;
    }
};

TEST_F(ColorMapDlgDamagedTest, OnlyAWholePaletteIsEditedAndADamagedIndexStaysThroughOk)
{
    int asked = 0;
    const CColorDialogHook old = SetColorDialogHook([&asked](const QColor&, QWidget*) {
        ++asked;
        return std::optional<QColor>(QColor(1, 2, 3));
    });
    for (const std::int32_t damaged : {-5, 6, std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(damaged);
        CFixtureEngine engine(Level(damaged));
        CQzlSections& level = engine.m_level;
        const Bytes before = SnapshotBytes(level);
        int edits = 0;
        CColorMapDlg dialog(level, engine.m_game, "", kPickInLevel, Runner(engine.m_view),
                            [&edits](const std::string&) { ++edits; });
        dialog.show();
        asked = 0;
        EXPECT_EQ(ClickEveryGrid(dialog, asked), QStringList{"full.cmp"});
        EXPECT_EQ(asked, 2);
        EXPECT_EQ(edits, 2);
        Bytes want = MakeTestColorMap(832);
        for (const std::size_t at : {64u, 829u})
            for (std::size_t i = 0; i < 3; ++i)
                want[at + i] = static_cast<std::uint8_t>(i + 1);
        EXPECT_EQ(FileBytes(level, "full.cmp"), want);
        EXPECT_EQ(FileBytes(level, "b831.cmp"), MakeTestColorMap(831));
        // Delete every colour map no sector uses, then add one back.
        for (const char* name : {"b0.cmp", "b63.cmp", "b64.cmp", "b831.cmp"}) {
            ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, name));
            EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kColorMapDelete)) << name;
            Click(dialog, Ctl::kColorMapDelete);
        }
        for (const char* name : {"full.cmp", "nodata.cmp"}) {
            ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, name));
            EXPECT_FALSE(ButtonEnabled(dialog, Ctl::kColorMapDelete)) << name;
        }
        OnListDialog<CColorMapDlg>(&dialog, false, [&](CColorMapDlg& add) {
            EXPECT_TRUE(ClickEveryGrid(add, asked).isEmpty());  // add mode edits nothing
            ASSERT_TRUE(SelectInList(add, Ctl::kColorMapList, "b64.cmp"));
            Click(add, Ctl::kOk);
        });
        Click(dialog, Ctl::kColorMapAdd);
        EXPECT_EQ(ListRows(dialog, Ctl::kColorMapList),
                  (QStringList{"full.cmp", "nodata.cmp", "b64.cmp"}));
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(level.m_colormaps, (Names{"FULL.CMP", "NODATA.CMP", "B64.CMP"}));
        EXPECT_EQ(SectorIndexes(level, &CQzlSector::m_colormap), (std::vector<int>{0, damaged, 1}));
        ASSERT_TRUE(Undo(engine.m_view));
        EXPECT_EQ(SnapshotBytes(level), before);
    }
    SetColorDialogHook(old);
}

TEST_F(ColorMapDlgDamagedTest, AMissingSectorIsPassedOverByBothDialogs)
{
    CFixtureEngine engine(Level(2));
    CQzlSections& level = engine.m_level;
    level.m_sectors[1].reset();
    {
        CColorMapDlg dialog(level, engine.m_game, "b0", kPickInLevel, Runner(engine.m_view), {});
        dialog.show();
        EXPECT_EQ(dialog.SelectedName(), "b0.cmp");
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kColorMapDelete));  // the missing sector uses none
        Click(dialog, Ctl::kColorMapDelete);
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(level.m_colormaps.size(), 5u);
        EXPECT_EQ(dialog.ColorMap(), "full.cmp");
    }
    {
        CColorMapDlg dialog(level, engine.m_game, "", kPickInLevel, Runner(engine.m_view), {});
        dialog.show();
        Click(dialog, Ctl::kCancel);
        EXPECT_EQ(level.m_colormaps.size(), 5u);
    }
    // Select Color Map: every row applied in turn, then OK and Cancel.
    CSelectColorMapDlg select(engine.m_view, Runner(engine.m_view));
    select.show();
    auto* list = Control<QListWidget>(select, Ctl::kSelectColorMapList);
    ASSERT_EQ(list->count(), 6);
    for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row);
        Click(select, Ctl::kApplyNow);
        EXPECT_EQ(level.m_colormaps, Names{DialogText::Latin1(list->item(row)->text())});
        EXPECT_EQ(level.m_sectors[0]->m_colormap, 0);
        EXPECT_EQ(level.m_sectors[1], nullptr);
    }
    Click(select, Ctl::kOk);
    EXPECT_EQ(level.m_colormaps, Names{"nodata.cmp"});
}

}  // namespace
