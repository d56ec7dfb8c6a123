// The Color Map and Select Color Map dialogs driven by control id, through the document's picker
// and command: both modes, the Delete rule (a colour map a sector uses stays), the nested Add, OK
// with every sector following its colour map by name as one undo step, the palette grid's
// painting, the palette edit of a level colour map through the colour dialog (a game colour map
// and a file cut short are not edited), and Select Color Map's Apply.

#include "AppTestSupport.h"
#include "LevelListTestSupport.h"
#include "SyntheticGame.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/ColorMapList.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "engine/Undo.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "resources/Tree.h"
#include "resources/ui/ColorMapDlg.h"
#include "resources/ui/SelectColorMapDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "ui/ColorDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

class ColorMapDlgTest : public AppTest {
protected:
    // Three boxes on colour maps 0, 2 and 2 of "DFLT.CMP" and "WARM.CMP" (the game's) and
    // "MINE.CMP" and "SHORT.CMP" (the level's own files, the second cut short in its palette).
    CQzEditDoc& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        CQzlSections level = MakeThreeBoxes(&CQzlSector::m_colormap, {0, 2, 2});
        level.m_colormaps = {"DFLT.CMP", "WARM.CMP", "MINE.CMP", "SHORT.CMP"};
        AddLevelFile(level.m_levelFiles, "mine.cmp", "misc\\cmp\\mine.cmp", MakeTestColorMap());
        AddLevelFile(level.m_levelFiles, "short.cmp", "misc\\cmp\\short.cmp",
                     MakeTestColorMap(831));
        GiveDocumentEngine(*m_doc, std::move(level));
        m_doc->SetModifiedFlag(false);
        return *m_doc;
    }

    const Bytes& FileBytes(const char* name)
    {
        int position = 0;
        EXPECT_TRUE(m_doc->m_level->m_levelFiles.Find(name, position)) << name;
        return *m_doc->m_level->m_levelFiles.m_entries[static_cast<std::size_t>(position)]->m_data;
    }

    std::vector<int> SectorMaps() const
    {
        return SectorIndexes(*m_doc->m_level, &CQzlSector::m_colormap);
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(ColorMapDlgTest, LevelModeDeletesOnlyUnusedMapsAndOkKeepsSectorsOnTheirMaps)
{
    CQzEditDoc& doc = Start();
    const Bytes before = SnapshotBytes(*doc.m_level);
    QString caption;
    QStringList addRows;
    OnListDialog<CColorMapDlg>(&doc, true, [&](CColorMapDlg& dialog) {
        caption = dialog.windowTitle();
        EXPECT_EQ(ListRows(dialog, Ctl::kColorMapList),
                  (QStringList{"dflt.cmp", "warm.cmp", "mine.cmp", "short.cmp"}));
        // The name given selects the first row that begins with it.
        EXPECT_EQ(dialog.SelectedName(), "warm.cmp");
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kColorMapDelete));
        for (const char* used : {"dflt.cmp", "mine.cmp"}) {
            ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, used));
            EXPECT_FALSE(ButtonEnabled(dialog, Ctl::kColorMapDelete)) << used;
            Click(dialog, Ctl::kColorMapDelete);
            EXPECT_EQ(ListRows(dialog, Ctl::kColorMapList).size(), 4) << used;
        }
        // Deleting the middle entry: row 0 is selected after it.
        ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, "warm.cmp"));
        Click(dialog, Ctl::kColorMapDelete);
        EXPECT_EQ(ListRows(dialog, Ctl::kColorMapList),
                  (QStringList{"dflt.cmp", "mine.cmp", "short.cmp"}));
        EXPECT_EQ(dialog.SelectedName(), "dflt.cmp");
        // Add: the nested dialog offers the game's colour maps and the level's ".cmp" files.
        OnListDialog<CColorMapDlg>(&dialog, false, [&](CColorMapDlg& add) {
            addRows = ListRows(add, Ctl::kColorMapList);
            EXPECT_EQ(add.windowTitle(), QStringLiteral("Add Color Map to level"));
            EXPECT_FALSE(add.findChild<QPushButton*>(Id(Ctl::kColorMapAdd))->isVisible());
            EXPECT_FALSE(add.findChild<QPushButton*>(Id(Ctl::kColorMapDelete))->isVisible());
            EXPECT_TRUE(SelectInList(add, Ctl::kColorMapList, "warm.cmp"));
            Click(add, Ctl::kOk);
        });
        Click(dialog, Ctl::kColorMapAdd);
        EXPECT_EQ(ListRows(dialog, Ctl::kColorMapList),
                  (QStringList{"dflt.cmp", "mine.cmp", "short.cmp", "warm.cmp"}));
        EXPECT_EQ(dialog.SelectedName(), "warm.cmp");
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kColorMapDelete));
        // Nothing reaches the level before OK.
        EXPECT_EQ(doc.m_level->m_colormaps.size(), 4U);
        Click(dialog, Ctl::kOk);
    });
    const std::optional<std::string> chosen = doc.PickColorMap("war", kPickInLevel);
    EXPECT_EQ(caption, QStringLiteral("Color Maps in level"));
    EXPECT_EQ(addRows, (QStringList{"dflt.cmp", "warm.cmp", "mine.cmp", "short.cmp"}));
    EXPECT_EQ(chosen, "warm.cmp");
    EXPECT_EQ(doc.m_level->m_colormaps, (Names{"DFLT.CMP", "MINE.CMP", "SHORT.CMP", "WARM.CMP"}));
    // The sectors on "MINE.CMP" follow it from position 2 to 1.
    EXPECT_EQ(SectorMaps(), (std::vector<int>{0, 1, 1}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(LevelIsSound(*doc.m_level));
    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(SnapshotBytes(*doc.m_level), before);
}

TEST_F(ColorMapDlgTest, CancelAndAnUnchangedOkLeaveTheLevel)
{
    CQzEditDoc& doc = Start();
    const Bytes before = SnapshotBytes(*doc.m_level);
    OnListDialog<CColorMapDlg>(&doc, true, [](CColorMapDlg& dialog) {
        ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, "warm.cmp"));
        Click(dialog, Ctl::kColorMapDelete);
        Click(dialog, Ctl::kCancel);
    });
    EXPECT_EQ(doc.PickColorMap("", kPickInLevel), std::nullopt);
    OnListDialog<CColorMapDlg>(&doc, true, [](CColorMapDlg& dialog) { Click(dialog, Ctl::kOk); });
    EXPECT_EQ(doc.PickColorMap("mine", kPickInLevel), "mine.cmp");
    EXPECT_EQ(SnapshotBytes(*doc.m_level), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(CanUndo(*m_engine));
}

TEST_F(ColorMapDlgTest, GridShowsThePaletteAndAClickEditsALevelColorMap)
{
    CQzEditDoc& doc = Start();
    // A colour material of palette entry 255, shown through the edited map and through another:
    // only the first takes the new colour, at once.
    AddLevelFile(doc.m_level->m_levelFiles, "glow.mat", "mat\\glow.mat",
                 MakeSyntheticColorMat(255));
    C3dView& engine = *doc.m_pEngine;
    const CAssetSources sources{&engine.GetGame(), &doc.m_level->m_levelFiles};
    const CTexture* throughMine =
        engine.m_textureCache->GetTexture(sources, "glow.mat", "mine.cmp");
    const CTexture* throughWarm =
        engine.m_textureCache->GetTexture(sources, "glow.mat", "warm.cmp");
    ASSERT_NE(throughMine, nullptr);
    ASSERT_NE(throughWarm, nullptr);
    const std::vector<std::uint16_t> warmBefore = throughWarm->CelTexels(0);
    ASSERT_FALSE(throughMine->CelTexels(0).empty());
    EXPECT_EQ(throughMine->CelTexels(0)[0], 0xF80F);  // (255, 0, 127) as 5-6-5
    int asked = 0;
    QColor initial;
    const CColorDialogHook old =
        SetColorDialogHook([&](const QColor& start, QWidget*) -> std::optional<QColor> {
            ++asked;
            initial = start;
            return QColor(1, 2, 3);
        });
    QImage painted;
    QImage whole;  // the dialog: list, grid and buttons
    QRect gridAt;
    OnListDialog<CColorMapDlg>(&doc, true, [&](CColorMapDlg& dialog) {
        CColorMapGrid& grid = dialog.Grid();
        EXPECT_EQ(dialog.SelectedName(), "mine.cmp");
        painted = grid.grab().toImage();
        whole = dialog.grab().toImage();
        gridAt = grid.geometry();
        // A game colour map is shown but not edited.
        ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, "dflt.cmp"));
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(grid.width() - 1, grid.height() - 1));
        EXPECT_EQ(asked, 0);
        // A file cut short inside its palette: the last palette stays shown, nothing is edited.
        const std::optional<CPalette> shown = grid.Palette();
        ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, "short.cmp"));
        EXPECT_EQ(grid.Palette(), shown);
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(asked, 0);
        // The bottom-right cell is entry 255; a click beside the grid does nothing.
        ASSERT_TRUE(SelectInList(dialog, Ctl::kColorMapList, "mine.cmp"));
        dialog.OnLButtonDown(grid.geometry().bottomRight() + QPoint(3, 3));
        EXPECT_EQ(asked, 0);
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(grid.width() - 1, grid.height() - 1));
        EXPECT_EQ(asked, 1);
        ASSERT_TRUE(grid.Palette().has_value());
        EXPECT_EQ((*grid.Palette())[3 * 255], 1);
        Click(dialog, Ctl::kCancel);  // Cancel keeps the edit
    });
    EXPECT_EQ(doc.PickColorMap("mine", kPickInLevel), std::nullopt);
    SetColorDialogHook(old);
    SavePictures({{"colormap_grid.png", &painted}, {"colormap_dialog.png", &whole}});
    // The dialog shows the grid where it lays it out, beside the list.
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(
        whole.pixelColor(gridAt.topLeft() + QPoint(gridAt.width() / 32, gridAt.height() / 32)),
        QColor(0, 255, 0));

    // Entry i of the test colour map is (i, 255 - i, i / 2): the middle of each cell shows it.
    ASSERT_FALSE(painted.isNull());
    for (const int index : {0, 17, 136, 255}) {
        const int r = index / 16;
        const int c = index % 16;
        const QPoint middle((2 * c + 1) * painted.width() / 32,
                            (2 * r + 1) * painted.height() / 32);
        EXPECT_EQ(painted.pixelColor(middle), QColor(index, 255 - index, index / 2)) << index;
    }

    EXPECT_EQ(initial, QColor(255, 0, 127));
    Bytes want = MakeTestColorMap();
    want[64 + 3 * 255] = 1;
    want[65 + 3 * 255] = 2;
    want[66 + 3 * 255] = 3;
    EXPECT_EQ(FileBytes("mine.cmp"), want);
    EXPECT_EQ(FileBytes("short.cmp"), MakeTestColorMap(831));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(LevelIsSound(*doc.m_level));
    ASSERT_FALSE(throughMine->CelTexels(0).empty());
    EXPECT_EQ(throughMine->CelTexels(0)[0], 0x0000);  // (1, 2, 3) as 5-6-5
    EXPECT_EQ(throughWarm->CelTexels(0), warmBefore);
}

TEST_F(ColorMapDlgTest, SelectColorMapAppliesOneMapToEverySector)
{
    CQzEditDoc& doc = Start();
    const Bytes before = SnapshotBytes(*doc.m_level);
    m_app->m_pMainFrame->UpdateCommandUI();
    QStringList rows;
    OnModal<CSelectColorMapDlg>(m_app.get(), [&](CSelectColorMapDlg& dialog) {
        rows = ListRows(dialog, Ctl::kSelectColorMapList);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Color Map"));
        ASSERT_TRUE(SelectInList(dialog, Ctl::kSelectColorMapList, "warm.cmp"));
        Click(dialog, Ctl::kApplyNow);
        EXPECT_EQ(doc.m_level->m_colormaps, Names{"warm.cmp"});
        Click(dialog, Ctl::kCancel);  // Cancel after Apply keeps it
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kSelectColorMap);
    EXPECT_EQ(rows, (QStringList{"dflt.cmp", "warm.cmp", "mine.cmp", "short.cmp"}));
    EXPECT_EQ(doc.m_level->m_colormaps, Names{"warm.cmp"});
    EXPECT_EQ(SectorMaps(), (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(LevelIsSound(*doc.m_level));
    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(SnapshotBytes(*doc.m_level), before);

    // OK applies the selected row 0 (the first listed) before it closes.
    OnModal<CSelectColorMapDlg>(m_app.get(),
                                [](CSelectColorMapDlg& dialog) { Click(dialog, Ctl::kOk); });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kSelectColorMap);
    EXPECT_EQ(doc.m_level->m_colormaps, Names{"dflt.cmp"});
    EXPECT_EQ(SectorMaps(), (std::vector<int>{0, 0, 0}));
}

}  // namespace
