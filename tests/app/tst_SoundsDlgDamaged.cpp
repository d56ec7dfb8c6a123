// The Sounds dialog on damaged levels, driven by control id: every row selected and played
// (sounds of no data, of no bytes, cut short inside their header, found nowhere, behind a
// missing level file entry), Delete where it is offered, the nested Add, OK and Cancel, over a
// sector whose sound index names nothing and a missing sector. Nothing plays, nothing crashes, a
// negative index stays, one beyond the list becomes none, and OK is one undo step back to the
// exact bytes.

#include "AppTestSupport.h"
#include "LevelListTestSupport.h"

#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/ui/SoundsDlg.h"
#include "support/FixtureLevels.h"
#include "support/RecordingSoundDevice.h"

#include <QListWidget>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

// Three boxes on "A.WAV", the damaged index and "C.WAV" of "A.WAV" (no bytes), "B.WAV" (no
// data), "C.WAV" (a header cut short) and "D.WAV" (found nowhere); the level's files also hold
// "e.wav" (cut short) behind a missing entry.
CQzlSections DamagedSoundLevel(std::int32_t damaged)
{
    CQzlSections level = MakeThreeBoxes(&CQzlSector::m_sound, {0, damaged, 2});
    level.m_sounds = {"A.WAV", "B.WAV", "C.WAV", "D.WAV"};
    const Bytes cut = {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0x7F, 'W', 'A', 'V', 'E', 'f', 'm'};
    AddLevelFile(level.m_levelFiles, "a.wav", "sound\\a.wav", Bytes{});
    AddLevelFile(level.m_levelFiles, "b.wav", "sound\\b.wav", Bytes{});
    AddLevelFile(level.m_levelFiles, "c.wav", "sound\\c.wav", cut);
    AddLevelFile(level.m_levelFiles, "e.wav", "sound\\e.wav", cut);
    int position = 0;
    level.m_levelFiles.Find("b.wav", position);
    level.m_levelFiles.m_entries[static_cast<std::size_t>(position)]->m_data.reset();
    level.m_levelFiles.m_entries.insert(level.m_levelFiles.m_entries.begin(), nullptr);
    return level;
}

CLevelChangeRunner Runner(C3dView& view)
{
    return [&view](const std::function<bool()>& change) { return RunUndoable(view, change); };
}

void PlayEveryRow(CSoundsDlg& dialog)
{
    auto* list = Control<QListWidget>(dialog, Ctl::kSoundsList);
    for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row);
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kSoundsPlay)) << row;
        Click(dialog, Ctl::kSoundsPlay);
    }
}

class SoundsDlgDamagedTest : public AppTest {};

TEST_F(SoundsDlgDamagedTest, ADamagedIndexNeitherPlaysNorKeepsASoundBeyondTheList)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t damaged;
        int used;
        bool deletes;  // Delete is offered: the sectors use fewer entries than the list has
        Names list;    // after OK
        std::int32_t after;
    };
    const Case cases[] = {
        {-5, 3, true, {"A.WAV", "B.WAV", "C.WAV", "E.WAV"}, -5},
        {4, 5, false, {"A.WAV", "B.WAV", "C.WAV", "D.WAV", "E.WAV"}, -1},
        {kMax,
         std::numeric_limits<int>::max(),
         false,
         {"A.WAV", "B.WAV", "C.WAV", "D.WAV", "E.WAV"},
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damaged);
        CRecordingSoundDevice device;
        CFixtureEngine engine(DamagedSoundLevel(c.damaged));
        CQzlSections& level = engine.m_level;
        const Bytes before = SnapshotBytes(level);
        CSoundsDlg dialog(level, engine.m_game, &device, "", kPickInLevel, Runner(engine.m_view));
        dialog.show();
        EXPECT_EQ(dialog.SoundsUsed(), c.used);
        PlayEveryRow(dialog);
        ASSERT_TRUE(SelectInList(dialog, Ctl::kSoundsList, "d.wav"));
        EXPECT_EQ(ButtonEnabled(dialog, Ctl::kSoundsDelete), c.deletes);
        Click(dialog, Ctl::kSoundsDelete);
        OnListDialog<CSoundsDlg>(&dialog, false, [](CSoundsDlg& add) {
            EXPECT_EQ(ListRows(add, Ctl::kSoundsList),
                      (QStringList{"a.wav", "b.wav", "c.wav", "e.wav"}));
            PlayEveryRow(add);
            ASSERT_TRUE(SelectInList(add, Ctl::kSoundsList, "e.wav"));
            Click(add, Ctl::kOk);
        });
        Click(dialog, Ctl::kSoundsAdd);
        EXPECT_TRUE(device.m_buffers.empty());
        Click(dialog, Ctl::kOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Sound(), "e.wav");
        EXPECT_EQ(level.m_sounds, c.list);
        EXPECT_EQ(SectorIndexes(level, &CQzlSector::m_sound), (std::vector<int>{0, c.after, 2}));
        ASSERT_TRUE(Undo(engine.m_view));
        EXPECT_EQ(SnapshotBytes(level), before);
    }
}

TEST_F(SoundsDlgDamagedTest, AMissingSectorIsPassedOver)
{
    CRecordingSoundDevice device;
    CFixtureEngine engine(DamagedSoundLevel(1));
    CQzlSections& level = engine.m_level;
    level.m_sectors[1].reset();
    {
        CSoundsDlg dialog(level, engine.m_game, &device, "b", kPickInLevel, Runner(engine.m_view));
        dialog.show();
        EXPECT_EQ(dialog.SoundsUsed(), 3);
        PlayEveryRow(dialog);
        Click(dialog, Ctl::kCancel);
    }
    EXPECT_EQ(level.m_sounds.size(), 4u);
    CSoundsDlg dialog(level, engine.m_game, &device, "b", kPickInLevel, Runner(engine.m_view));
    dialog.show();
    ASSERT_TRUE(SelectInList(dialog, Ctl::kSoundsList, "a.wav"));
    Click(dialog, Ctl::kSoundsDelete);
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(level.m_sounds, (Names{"B.WAV", "C.WAV", "D.WAV"}));
    EXPECT_EQ(level.m_sectors[0]->m_sound, -1);
    EXPECT_EQ(level.m_sectors[1], nullptr);
    EXPECT_EQ(level.m_sectors[2]->m_sound, 1);
    EXPECT_TRUE(device.m_buffers.empty());
}

}  // namespace
