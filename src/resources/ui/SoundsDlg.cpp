#include "resources/ui/SoundsDlg.h"

#include "engine/Dsound.h"
#include "engine/EngineHost.h"
#include "engine/Questions.h"
#include "level/QzlSections.h"
#include "level/SectorLists.h"
#include "ui/DialogIds.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kSounds);

}  // namespace

CSoundsDlg::CSoundsDlg(CQzlSections& level, const CGameResources& game, SoundDevice* device,
                       std::string_view sound, int mode, CLevelChangeRunner change, QWidget* parent)
    : CLevelListDlg({Dlg::kSounds, Ctl::kSoundsList, Ctl::kSoundsAdd, Ctl::kSoundsDelete}, mode,
                    "&Ok", kHelpContext, parent),
      m_level(level), m_game(game), m_device(device), m_change(std::move(change)),
      m_pSound(std::make_unique<CDsound>(device, &game, &level))
{
    m_chosen = std::string(sound);
    m_play = MakeButton("&Play", Ctl::kSoundsPlay);
    connect(m_play, &QPushButton::clicked, this, &CSoundsDlg::OnPlay);
    ButtonColumn()->addWidget(m_play);
    ButtonColumn()->addStretch(1);

    setWindowTitle(QString::fromLatin1(PickerCaption(EPicker::Sound, mode)));
    SetNames(PickerNames(m_level, m_game, EPicker::Sound, mode));
    if (IsLevelMode())
        m_nSoundsUsed = ::SoundsUsed(m_level);
    SelectByPrefix(m_chosen);
    OnSelectionChanged();
}

CSoundsDlg::~CSoundsDlg() = default;

void CSoundsDlg::OnSelectionChanged()
{
    const bool selected = SelectedRow() >= 0;
    // A sector whose sound is deleted goes without a sound at OK.
    DeleteButton()->setEnabled(IsLevelMode() && selected &&
                               m_nSoundsUsed < static_cast<int>(Names().size()));
    m_play->setEnabled(selected);
}

void CSoundsDlg::OnPlay()
{
    if (SelectedRow() < 0)
        return;
    const int index = m_pSound->LoadSound(SelectedName());
    if (index >= 0)
        m_pSound->PlayAt(index, 0);
}

std::optional<std::string> CSoundsDlg::RunAddDialog()
{
    CSoundsDlg add(m_level, m_game, m_device, "", kPickToAdd, m_change, this);
    if (add.exec() != QDialog::Accepted)
        return std::nullopt;
    return add.Sound();
}

void CSoundsDlg::WriteLevel()
{
    const std::vector<std::string> names = Names();
    m_change([&] { return SetSoundList(m_level, names); });
}
