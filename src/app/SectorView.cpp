#include "app/SectorView.h"

#include "app/ColorsPage.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSector.h"
#include "ui/ColorDialog.h"
#include "ui/FlagDialogs.h"
#include "ui/FormControls.h"
#include "ui/FormFields.h"
#include "ui/ScrollingForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The controls enabled only while the form shows a sector.
constexpr int kSectorControls[] = {
    Ctl::kSectorFlags,          Ctl::kSectorColorMap, Ctl::kSectorAmbientLight,
    Ctl::kSectorSound,          Ctl::kSectorVolume,   Ctl::kSectorFlagsButton,
    Ctl::kSectorColorMapButton, Ctl::kSectorTint,     Ctl::kSectorExtraLight,
};

// The edits whose leaving applies the form.
constexpr int kAppliedOnLeave[] = {
    Ctl::kSectorFlags,  Ctl::kSectorColorMap,   Ctl::kSectorAmbientLight, Ctl::kSectorSound,
    Ctl::kSectorVolume, Ctl::kSectorExtraLight, Ctl::kSectorGroupName,
};

// 256 x component as a byte: below 0 (and not a number) is 0, 256 and above is 255.
std::uint32_t TintByte(float component)
{
    const float scaled = 256.0f * component;
    if (!(scaled >= 0.0f))
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return static_cast<std::uint32_t>(scaled);
}

// The position of the first name of names equal to name, letter case ignored; -1 for none.
int FindName(const std::vector<std::string>& names, const std::string& name)
{
    const auto found = std::ranges::find_if(
        names, [&name](const std::string& entry) { return EqualsNoCase(entry, name); });
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

}  // namespace

CSectorView::CSectorView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent)
{
    QWidget& form = AddScrollingForm(*this);
    CFormLayout layout(form);
    layout.Edit(QStringLiteral("Sector Number:"), Ctl::kSectorNumber, true);
    layout.ButtonEdit(QStringLiteral("Flags:"), Ctl::kSectorFlagsButton, Ctl::kSectorFlags);
    layout
        .ButtonEdit(QStringLiteral("Color Map:"), Ctl::kSectorColorMapButton, Ctl::kSectorColorMap)
        ->setReadOnly(true);
    layout.Edit(QStringLiteral("Ambient Light:"), Ctl::kSectorAmbientLight);
    layout.ButtonEdit(QStringLiteral("Sound:"), Ctl::kSectorSoundButton, Ctl::kSectorSound);
    layout.Edit(QStringLiteral("Volume:"), Ctl::kSectorVolume);
    layout.Edit(QStringLiteral("Extra Light:"), Ctl::kSectorExtraLight);
    layout.Edit(QStringLiteral("Group Name:"), Ctl::kSectorGroupName);

    QGridLayout& grid = layout.Grid();
    const int tintRow = grid.rowCount();
    auto* tintLabel = new QLabel(QStringLiteral("Tint:"), &form);
    m_swatch = new CColorSwatch(&form);
    m_swatch->setObjectName(QString::number(Ctl::kSectorTint));
    m_swatch->setAutoDefault(false);
    tintLabel->setBuddy(m_swatch);
    grid.addWidget(tintLabel, tintRow, 0);
    grid.addWidget(m_swatch, tintRow, 1);
    grid.setRowStretch(tintRow + 1, 1);

    for (const int id : kAppliedOnLeave)
        OnFocusLeave(*form.findChild<QWidget*>(QString::number(id)), [this] { UpdateSector(); });
    const auto button = [&form](int id) {
        return form.findChild<QPushButton*>(QString::number(id));
    };
    connect(button(Ctl::kSectorFlagsButton), &QPushButton::clicked, this, [this] { OnFlags(); });
    connect(button(Ctl::kSectorColorMapButton), &QPushButton::clicked, this,
            [this] { OnColorMap(); });
    connect(button(Ctl::kSectorSoundButton), &QPushButton::clicked, this, [this] { OnSound(); });
    connect(m_swatch, &QPushButton::clicked, this, [this] { OnTint(); });

    OnUpdate(nullptr, 0);
}

std::uint32_t CSectorView::PackTint(const std::array<float, 3>& tint)
{
    return (TintByte(tint[0]) << 16) | (TintByte(tint[1]) << 8) | TintByte(tint[2]);
}

std::array<float, 3> CSectorView::UnpackTint(std::uint32_t packed)
{
    return {static_cast<float>(((packed >> 16) & 255u) / 256.0),
            static_cast<float>(((packed >> 8) & 255u) / 256.0),
            static_cast<float>((packed & 255u) / 256.0)};
}

void CSectorView::DoDataExchange(CFieldExchange& exchange)
{
    exchange.Int(Ctl::kSectorNumber, m_sectorIndex);
    exchange.Hex(Ctl::kSectorFlags, m_flags);
    exchange.Text(Ctl::kSectorColorMap, m_colorMap);
    exchange.Float(Ctl::kSectorAmbientLight, m_ambientLight);
    exchange.Text(Ctl::kSectorSound, m_sound);
    exchange.Float(Ctl::kSectorVolume, m_volume);
    exchange.Float(Ctl::kSectorExtraLight, m_extraLight);
    exchange.Text(Ctl::kSectorGroupName, m_groupName);
}

void CSectorView::PushToControls()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    DoDataExchange(exchange);
    m_swatch->SetColor(CColorsPage::FromSetting(m_tint));
}

void CSectorView::OnUpdate(CDocView*, long)
{
    const C3dView* engine = Document().m_pEngine;
    const CQzlSections& level = *Document().m_level;
    const int current = engine != nullptr ? engine->m_selection.m_sector : -1;
    if (InRange(level.m_sectors, current)) {
        const CQzlSector& sector = *At(level.m_sectors, current);
        m_sectorIndex = current;
        m_flags = sector.m_flags;
        m_colorMap = InRange(level.m_colormaps, sector.m_colormap)
                         ? ToLowerAscii(At(level.m_colormaps, sector.m_colormap))
                         : std::string();
        m_ambientLight = sector.m_ambientLight;
        m_extraLight = sector.m_extraLight;
        m_tint = PackTint({sector.m_tint[0], sector.m_tint[1], sector.m_tint[2]});
        m_sound = InRange(level.m_sounds, sector.m_sound)
                      ? ToLowerAscii(At(level.m_sounds, sector.m_sound))
                      : std::string();
        m_volume = sector.m_soundVolume;
        m_groupName = sector.m_groupName;
    } else {
        m_sectorIndex = -1;
    }

    EnableControls(*this, kSectorControls, m_sectorIndex >= 0);
    PushToControls();
}

bool CSectorView::UpdateSector()
{
    C3dView* engine = Document().m_pEngine;
    const int current = engine != nullptr ? engine->m_selection.m_sector : -1;
    const bool read =
        ReadFields(*this, m_applying, [this](CFieldExchange& fields) { DoDataExchange(fields); });
    // A field that does not read leaves the record as it was; so does a form that shows another
    // sector than the current one.
    CQzlSections& level = *Document().m_level;
    if (!read || engine == nullptr || m_sectorIndex < 0 || m_sectorIndex != current ||
        !InRange(level.m_sectors, current))
        return false;

    CQzlSector& sector = *At(level.m_sectors, current);
    sector.m_flags = m_flags;
    const int colorMap = FindName(level.m_colormaps, m_colorMap);
    if (colorMap >= 0)
        sector.m_colormap = colorMap;
    sector.m_ambientLight = m_ambientLight;
    sector.m_extraLight = m_extraLight;
    // The form holds the tint in bytes: the record's components change only when the form's tint
    // is another than theirs, so that an edit of another field keeps them exact.
    if (m_tint != PackTint({sector.m_tint[0], sector.m_tint[1], sector.m_tint[2]}))
        std::ranges::copy(UnpackTint(m_tint), sector.m_tint);
    // A sound the list does not hold shows as none; it stays for Clean Up to repair unless the
    // user names one.
    const int sound = FindName(level.m_sounds, m_sound);
    if (sound >= 0 || InRange(level.m_sounds, sector.m_sound))
        sector.m_sound = sound;
    sector.m_soundVolume = m_volume;
    sector.m_groupName = m_groupName;
    {
        // The vertex colours go to the sector's buffers on the 3D view's device.
        const CQzEditView::CDeviceScope scope(Document().View3d());
        RefreshSector(*engine, current);
    }
    Document().SetModifiedFlag(true);
    Document().UpdateAllViews(this);
    return true;
}

bool CSectorView::ApplyChosenName(const std::optional<std::string>& chosen, std::string& field)
{
    if (!chosen)
        return false;
    field = *chosen;
    PushToControls();
    return UpdateSector();
}

void CSectorView::OnFlags()
{
    if (!EditFlagsInDialog(SectorFlagsTemplate(), m_flags, this))
        return;
    PushToControls();
    UpdateSector();
}

void CSectorView::OnColorMap()
{
    if (!ApplyChosenName(Document().PickColorMap(m_colorMap, kPickInLevel), m_colorMap))
        return;
    // The sector's textures decoded through the new colour map, then shown.
    C3dView& engine = *Document().m_pEngine;
    const int sector = engine.m_selection.m_sector;
    const CQzEditView::CDeviceScope scope(Document().View3d());
    if (engine.m_textureCache != nullptr)
        engine.m_textureCache->ReloadSectorTextures(
            CAssetSources{&engine.GetGame(), &engine.GetLevel().m_levelFiles}, engine.GetLevel(),
            sector);
    RebuildSector(engine, sector);
}

void CSectorView::OnTint()
{
    const std::optional<QColor> chosen = QzGetColor(CColorsPage::FromSetting(m_tint), this);
    if (!chosen)
        return;
    m_tint = CColorsPage::ToSetting(*chosen);
    m_swatch->SetColor(CColorsPage::FromSetting(m_tint));
    UpdateSector();
}

void CSectorView::OnSound()
{
    ApplyChosenName(Document().PickSound(m_sound, kPickInLevel), m_sound);
}
