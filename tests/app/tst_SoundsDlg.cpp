// The Sounds dialog driven by control id, through the document's picker: both modes, the Delete
// rule (more entries than the sectors use), the nested Add, OK with every sector following its
// sound by name (-1 when it is gone) as one undo step, Cancel, Play through a recording sound
// device, and a name that no entry begins with.

#include "AppTestSupport.h"
#include "LevelListTestSupport.h"

#include "app/QzEditDoc.h"
#include "engine/Undo.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "resources/ui/SoundsDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/RecordingSoundDevice.h"

#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

class SoundsDlgTest : public AppTest {
protected:
    // Three boxes on the sounds 1, none and 0 of "JUMP.WAV", "SWITCH.WAV", "STEP1.WAV", and a
    // sound of the level's own, "mine.wav".
    CQzEditDoc& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        CQzlSections level = MakeThreeBoxes(&CQzlSector::m_sound, {1, -1, 0});
        level.m_sounds = {"JUMP.WAV", "SWITCH.WAV", "STEP1.WAV"};
        AddLevelFile(level, "mine.wav", "RIFF");
        GiveDocumentEngine(*m_doc, std::move(level));
        m_doc->SetModifiedFlag(false);
        return *m_doc;
    }

    std::vector<int> SectorSounds() const
    {
        return SectorIndexes(*m_doc->m_level, &CQzlSector::m_sound);
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(SoundsDlgTest, LevelModeAddDeleteAndOkRenumberTheSectorsByName)
{
    CQzEditDoc& doc = Start();
    const Bytes before = SnapshotBytes(*doc.m_level);
    QString caption;
    QStringList addRows;
    OnListDialog<CSoundsDlg>(&doc, true, [&](CSoundsDlg& dialog) {
        caption = dialog.windowTitle();
        EXPECT_EQ(ListRows(dialog, Ctl::kSoundsList),
                  (QStringList{"jump.wav", "switch.wav", "step1.wav"}));
        EXPECT_EQ(dialog.SoundsUsed(), 2);
        EXPECT_EQ(dialog.SelectedName(), "switch.wav");
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kSoundsPlay));
        // Three entries, two used: Delete is offered, also for a sound a sector uses.
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kSoundsDelete));
        Click(dialog, Ctl::kSoundsDelete);
        EXPECT_EQ(ListRows(dialog, Ctl::kSoundsList), (QStringList{"jump.wav", "step1.wav"}));
        EXPECT_EQ(dialog.SelectedName(), "jump.wav");
        // Two entries, two used: no Delete until one is added.
        EXPECT_FALSE(ButtonEnabled(dialog, Ctl::kSoundsDelete));
        OnListDialog<CSoundsDlg>(&dialog, false, [&](CSoundsDlg& add) {
            addRows = ListRows(add, Ctl::kSoundsList);
            EXPECT_EQ(add.windowTitle(), QStringLiteral("Add Sound to level"));
            EXPECT_FALSE(add.findChild<QPushButton*>(Id(Ctl::kSoundsAdd))->isVisible());
            EXPECT_FALSE(add.findChild<QPushButton*>(Id(Ctl::kSoundsDelete))->isVisible());
            EXPECT_EQ(add.SoundsUsed(), -1);
            EXPECT_TRUE(SelectInList(add, Ctl::kSoundsList, "dooropen.wav"));
            Click(add, Ctl::kOk);
        });
        Click(dialog, Ctl::kSoundsAdd);
        EXPECT_EQ(ListRows(dialog, Ctl::kSoundsList),
                  (QStringList{"jump.wav", "step1.wav", "dooropen.wav"}));
        EXPECT_EQ(dialog.SelectedName(), "dooropen.wav");
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kSoundsDelete));
        EXPECT_EQ(doc.m_level->m_sounds.size(), 3U);  // nothing before OK
        ASSERT_TRUE(SelectInList(dialog, Ctl::kSoundsList, "step1.wav"));
        Click(dialog, Ctl::kOk);
    });
    EXPECT_EQ(doc.PickSound("sw", kPickInLevel), "step1.wav");
    EXPECT_EQ(caption, QStringLiteral("Sounds in level"));
    // The game's sounds, then the level's own ".wav" files.
    ASSERT_FALSE(addRows.isEmpty());
    EXPECT_TRUE(addRows.contains(QStringLiteral("dooropen.wav")));
    EXPECT_EQ(addRows.back(), QStringLiteral("mine.wav"));
    EXPECT_EQ(doc.m_level->m_sounds, (Names{"JUMP.WAV", "STEP1.WAV", "DOOROPEN.WAV"}));
    // The sector on "SWITCH.WAV" has none now; "JUMP.WAV" stays at 0.
    EXPECT_EQ(SectorSounds(), (std::vector<int>{-1, -1, 0}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(LevelIsSound(*doc.m_level));
    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(SnapshotBytes(*doc.m_level), before);
}

TEST_F(SoundsDlgTest, CancelLeavesTheLevelAndAnUnknownNameSelectsNothing)
{
    CQzEditDoc& doc = Start();
    const Bytes before = SnapshotBytes(*doc.m_level);
    OnListDialog<CSoundsDlg>(&doc, true, [](CSoundsDlg& dialog) {
        EXPECT_EQ(dialog.SelectedRow(), -1);
        EXPECT_FALSE(ButtonEnabled(dialog, Ctl::kSoundsPlay));
        EXPECT_FALSE(ButtonEnabled(dialog, Ctl::kSoundsDelete));
        ASSERT_TRUE(SelectInList(dialog, Ctl::kSoundsList, "jump.wav"));
        EXPECT_TRUE(ButtonEnabled(dialog, Ctl::kSoundsPlay));
        Click(dialog, Ctl::kSoundsDelete);
        Click(dialog, Ctl::kCancel);
    });
    EXPECT_EQ(doc.PickSound("zzz", kPickInLevel), std::nullopt);
    EXPECT_EQ(SnapshotBytes(*doc.m_level), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(CanUndo(*m_engine));
}

TEST_F(SoundsDlgTest, PlayPlaysTheSelectedSoundOnceThroughTheDialogsDevice)
{
    CQzEditDoc& doc = Start();
    CRecordingSoundDevice device;
    int changes = 0;
    CSoundsDlg dialog(*doc.m_level, m_app->m_product.m_resources, &device, "jump", kPickInLevel,
                      [&changes](const std::function<bool()>&) { return ++changes > 0; });
    Click(dialog, Ctl::kSoundsPlay);
    ASSERT_EQ(device.m_buffers.size(), 1U);
    EXPECT_TRUE(device.m_buffers[0].m_playing);
    EXPECT_FALSE(device.m_buffers[0].m_looping);
    EXPECT_NE(std::ranges::find(device.m_log, "#0 play once"), device.m_log.end());
    // A sound found nowhere plays nothing.
    doc.m_level->m_sounds.push_back("NOWHERE.WAV");
    CSoundsDlg other(*doc.m_level, m_app->m_product.m_resources, &device, "nowhere", kPickInLevel,
                     [&changes](const std::function<bool()>&) { return ++changes > 0; });
    Click(other, Ctl::kSoundsPlay);
    EXPECT_EQ(device.m_buffers.size(), 1U);
    EXPECT_EQ(changes, 0);
}

}  // namespace
