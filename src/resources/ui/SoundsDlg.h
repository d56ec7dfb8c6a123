#pragma once
// Sounds (6143): the level's sounds ("Sounds in level": list, Add, Delete, Play) or the picker
// of a sound to add ("Add Sound to level": the game's sounds and the level's own ".wav" files).
// Play plays the selected sound once through the dialog's own sound object. In level mode OK
// writes the list into the level with every sector following its sound by name (-1 when its
// sound is gone; level/SectorLists.h SetSoundList), as one undoable change; Cancel leaves the
// level as it was.

#include "resources/ui/LevelListDlg.h"

#include <memory>

class CDsound;
class CQzlSections;
class SoundDevice;
struct CGameResources;

class CSoundsDlg : public CLevelListDlg {
    Q_OBJECT

public:
    // sound is the name to select; mode kPickInLevel or kPickToAdd; device (may be null) plays.
    CSoundsDlg(CQzlSections& level, const CGameResources& game, SoundDevice* device,
               std::string_view sound, int mode, CLevelChangeRunner change,
               QWidget* parent = nullptr);
    ~CSoundsDlg() override;

    // The name chosen (valid after OK): the entry selected, or the name given when none was.
    const std::string& Sound() const { return m_chosen; }
    // One more than the highest sound index a sector uses; -1 without sectors and in add mode.
    int SoundsUsed() const { return m_nSoundsUsed; }

    void OnPlay();

protected:
    void OnSelectionChanged() override;
    std::optional<std::string> RunAddDialog() override;
    void WriteLevel() override;

private:
    CQzlSections& m_level;
    const CGameResources& m_game;
    SoundDevice* m_device;
    CLevelChangeRunner m_change;
    int m_nSoundsUsed = -1;
    std::unique_ptr<CDsound> m_pSound;
    QPushButton* m_play = nullptr;
};
