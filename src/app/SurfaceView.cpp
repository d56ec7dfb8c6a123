#include "app/SurfaceView.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "framework/CFormat.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlAdjoin.h"
#include "level/QzlMaterial.h"
#include "level/QzlSector.h"
#include "ui/FlagDialogs.h"
#include "ui/FormControls.h"
#include "ui/FormFields.h"
#include "ui/ScrollingForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <optional>

namespace {

const QStringList kGeometryModes = {
    QStringLiteral("0 - Not Rendered"),   QStringLiteral("1 - Draw Vertices"),
    QStringLiteral("2 - Draw Wireframe"), QStringLiteral("3 - Draw Solid Color"),
    QStringLiteral("4 - Draw Textured"),  QStringLiteral("5 - Draw Textured"),
};
const QStringList kLightModes = {
    QStringLiteral("0 - Fully Lit"), QStringLiteral("1 - Not Lit"), QStringLiteral("2 - Diffuse"),
    QStringLiteral("3 - Gouraud"),   QStringLiteral("4 - Gouraud"), QStringLiteral("5 - Gouraud"),
};
const QStringList kTextureModes = {
    QStringLiteral("0 - Affine"),
    QStringLiteral("1 - Perspective"),
    QStringLiteral("2 - Perspective"),
    QStringLiteral("3 - Perspective"),
};

// The controls enabled only while the form shows a surface, and those only while it has an
// adjoin.
constexpr int kSurfaceControls[] = {
    Ctl::kSurfaceFlags,      Ctl::kSurfaceFlagsButton, Ctl::kFaceFlags,
    Ctl::kFaceFlagsButton,   Ctl::kSurfaceMaterial,    Ctl::kSurfaceMaterialButton,
    Ctl::kSurfaceGeometry,   Ctl::kSurfaceTexture,     Ctl::kSurfaceLightMode,
    Ctl::kSurfaceExtraLight,
};
constexpr int kAdjoinControls[] = {Ctl::kAdjoinFlagsButton, Ctl::kAdjoinFlags, Ctl::kCopyToOther};
// Always disabled.
constexpr int kAdjoinIndexControl[] = {Ctl::kSurfaceAdjoin};

// The edits whose leaving applies the form (the mode lists apply through their own handler).
constexpr int kAppliedOnLeave[] = {
    Ctl::kSurfaceFlags,      Ctl::kFaceFlags,     Ctl::kSurfaceMaterial,
    Ctl::kSurfaceExtraLight, Ctl::kSurfaceAdjoin, Ctl::kAdjoinFlags,
};

// The width of the mode lists' text, in characters, below which they do not shrink.
constexpr int kListMinimumCharacters = 4;

// Selects entry (-1 none) of list and shows its text.
void SelectEntry(QComboBox& list, int entry)
{
    if (list.currentIndex() != entry)
        list.setCurrentIndex(entry);
    const QString text = entry >= 0 ? list.itemText(entry) : QString();
    if (list.currentText() != text)
        list.setEditText(text);
    // A list narrower than its text shows the text's start, the mode's number.
    if (list.lineEdit() != nullptr && !list.lineEdit()->hasFocus())
        list.lineEdit()->setCursorPosition(0);
}

}  // namespace

CSurfaceView::CSurfaceView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent)
{
    QWidget& form = AddScrollingForm(*this);
    CFormLayout layout(form);
    layout.Edit(QStringLiteral("Surface Number:"), Ctl::kSurfaceNumber, true);
    layout
        .ButtonEdit(QStringLiteral("Material:"), Ctl::kSurfaceMaterialButton, Ctl::kSurfaceMaterial)
        ->setReadOnly(true);
    layout.ButtonEdit(QStringLiteral("Surface Flags:"), Ctl::kSurfaceFlagsButton,
                      Ctl::kSurfaceFlags);
    layout.ButtonEdit(QStringLiteral("Face Flags:"), Ctl::kFaceFlagsButton, Ctl::kFaceFlags);
    m_geometryList =
        layout.Combo(QStringLiteral("Geometry:"), Ctl::kSurfaceGeometry, kGeometryModes);
    m_lightList = layout.Combo(QStringLiteral("Light Mode:"), Ctl::kSurfaceLightMode, kLightModes);
    m_textureList = layout.Combo(QStringLiteral("Texture:"), Ctl::kSurfaceTexture, kTextureModes);
    layout.Edit(QStringLiteral("Extra Light:"), Ctl::kSurfaceExtraLight);
    layout.Edit(QStringLiteral("Adjoin:"), Ctl::kSurfaceAdjoin);
    layout.ButtonEdit(QStringLiteral("Adjoin Flag:"), Ctl::kAdjoinFlagsButton, Ctl::kAdjoinFlags);
    layout.Button(QStringLiteral("Copy To Other"), Ctl::kCopyToOther);
    layout.Finish();

    for (const int id : kAppliedOnLeave)
        OnFocusLeave(*form.findChild<QWidget*>(QString::number(id)), [this] { UpdateSurface(); });
    for (QComboBox* list : {m_geometryList, m_lightList, m_textureList}) {
        // The lists may be narrower than their longest entry: the column is narrow.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(kListMinimumCharacters);
        OnFocusLeave(*list, [this, list] { OnModeListLeft(*list); });
    }
    const auto clicked = [this, &form](int id, void (CSurfaceView::*handler)()) {
        connect(form.findChild<QPushButton*>(QString::number(id)), &QPushButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    };
    clicked(Ctl::kSurfaceMaterialButton, &CSurfaceView::OnMaterial);
    clicked(Ctl::kSurfaceFlagsButton, &CSurfaceView::OnSurfaceFlags);
    clicked(Ctl::kFaceFlagsButton, &CSurfaceView::OnFaceFlags);
    clicked(Ctl::kAdjoinFlagsButton, &CSurfaceView::OnAdjoinFlags);
    clicked(Ctl::kCopyToOther, &CSurfaceView::OnCopyToOther);

    OnUpdate(nullptr, 0);
}

int CSurfaceView::LeadingNumberEntry(std::string_view text, int count, int current)
{
    const int number = AtoiC(std::string(text).c_str());
    if (number < 0)
        return -1;
    return number < count ? number : current;
}

void CSurfaceView::DoDataExchange(CFieldExchange& exchange)
{
    if (exchange.Saving()) {
        m_texture = m_textureList->currentIndex();
        m_lightMode = m_lightList->currentIndex();
        m_geometry = m_geometryList->currentIndex();
    } else {
        SelectEntry(*m_textureList, m_texture);
        SelectEntry(*m_lightList, m_lightMode);
        SelectEntry(*m_geometryList, m_geometry);
    }
    exchange.Int(Ctl::kSurfaceNumber, m_surfaceIndex);
    exchange.Hex(Ctl::kSurfaceFlags, m_surfaceFlags);
    exchange.Hex(Ctl::kFaceFlags, m_faceFlags);
    exchange.Text(Ctl::kSurfaceMaterial, m_material);
    exchange.Float(Ctl::kSurfaceExtraLight, m_extraLight);
    exchange.Int(Ctl::kSurfaceAdjoin, m_adjoinIndex);
    exchange.Hex(Ctl::kAdjoinFlags, m_adjoinFlags);
}

void CSurfaceView::PushToControls()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    DoDataExchange(exchange);
}

void CSurfaceView::OnUpdate(CDocView*, long)
{
    const C3dView* engine = Document().m_pEngine;
    const CQzlSections& level = *Document().m_level;
    const int current = engine != nullptr ? engine->m_selection.m_surface : -1;
    bool adjoined = false;
    if (InRange(level.m_surfaces, current) && Document().m_state.m_sectorMode == 0) {
        const CQzlSurface& surface = *At(level.m_surfaces, current);
        m_surfaceIndex = current;
        m_material = InRange(level.m_materials, surface.m_material)
                         ? ToLowerAscii(At(level.m_materials, surface.m_material)->m_name)
                         : std::string();
        m_surfaceFlags = surface.m_surfaceFlags;
        m_faceFlags = surface.m_faceFlags;
        // A mode beyond its list selects no entry; the apply then keeps the record's mode.
        m_geometry =
            surface.m_geo >= 0 && surface.m_geo < m_geometryList->count() ? surface.m_geo : -1;
        m_lightMode =
            surface.m_light >= 0 && surface.m_light < m_lightList->count() ? surface.m_light : -1;
        m_texture =
            surface.m_tex >= 0 && surface.m_tex < m_textureList->count() ? surface.m_tex : -1;
        m_extraLight = surface.m_extraLight;
        m_adjoinIndex = surface.m_adjoin;
        adjoined = InRange(level.m_adjoins, m_adjoinIndex);
        if (adjoined)
            m_adjoinFlags = At(level.m_adjoins, m_adjoinIndex)->m_flags;
    } else {
        m_surfaceIndex = -1;
        m_adjoinIndex = -1;
    }

    EnableControls(*this, kSurfaceControls, m_surfaceIndex >= 0);
    EnableControls(*this, kAdjoinIndexControl, false);
    EnableControls(*this, kAdjoinControls, adjoined);
    PushToControls();
}

bool CSurfaceView::UpdateSurface()
{
    C3dView* engine = Document().m_pEngine;
    const int current = engine != nullptr ? engine->m_selection.m_surface : -1;
    const bool read =
        ReadFields(*this, m_applying, [this](CFieldExchange& fields) { DoDataExchange(fields); });
    // A field that does not read leaves the records as they were; so does a form that shows
    // another surface than the current one.
    CQzlSections& level = *Document().m_level;
    if (!read || engine == nullptr || m_surfaceIndex < 0 || m_surfaceIndex != current ||
        !InRange(level.m_surfaces, current))
        return false;

    const CQzEditView::CDeviceScope scope(Document().View3d());
    CQzlSurface& surface = *At(level.m_surfaces, current);
    surface.m_surfaceFlags = m_surfaceFlags;
    surface.m_faceFlags = m_faceFlags;
    // A list without a selection keeps the record's mode.
    if (m_geometry >= 0)
        surface.m_geo = m_geometry;
    if (m_lightMode >= 0)
        surface.m_light = m_lightMode;
    if (m_texture >= 0)
        surface.m_tex = m_texture;
    surface.m_extraLight = m_extraLight;
    // A material the list does not hold shows as none; it stays for Clean Up to repair unless
    // the user names one.
    if (InRange(level.m_materials, surface.m_material))
        surface.m_material = -1;
    // The adjoin the form shows is the surface's own.
    if (m_adjoinIndex >= 0 && m_adjoinIndex == surface.m_adjoin &&
        InRange(level.m_adjoins, m_adjoinIndex))
        At(level.m_adjoins, m_adjoinIndex)->m_flags = m_adjoinFlags;

    if (!m_material.empty()) {
        int material = -1;
        for (std::size_t i = 0; i < level.m_materials.size() && material < 0; ++i)
            if (EqualsNoCase(level.m_materials[i]->m_name, m_material))
                material = static_cast<int>(i);
        if (material < 0) {
            // A name the level does not hold becomes a new material of the level.
            material = static_cast<int>(level.m_materials.size());
            level.m_materials.push_back(std::make_unique<CQzlMaterial>(ToUpperAscii(m_material)));
        }
        const CQzlMaterial& record = *At(level.m_materials, material);
        surface.m_material = material;
        surface.m_xTile = record.m_xTile;
        surface.m_yTile = record.m_yTile;

        const CGameResources& game = engine->GetGame();
        if (game.m_archive != nullptr && engine->m_textureCache != nullptr) {
            const std::string colorMap =
                level.m_colormaps.empty() ? std::string() : ToLowerAscii(level.m_colormaps[0]);
            CTexture* texture = engine->m_textureCache->GetTexture(
                CAssetSources{&game, &level.m_levelFiles}, m_material, colorMap);
            if (texture != nullptr) {
                surface.m_texture = texture;
                surface.m_textureWidth = static_cast<float>(texture->m_width);
                surface.m_textureHeight = static_cast<float>(texture->m_height);
            }
        }
    }

    RebuildSector(*engine, engine->m_selection.m_sector);
    Document().SetModifiedFlag(true);
    Document().UpdateAllViews(this);
    return true;
}

void CSurfaceView::OnModeListLeft(QComboBox& list)
{
    const int entry =
        LeadingNumberEntry(list.currentText().toStdString(), list.count(), list.currentIndex());
    SelectEntry(list, entry);
    UpdateSurface();
}

void CSurfaceView::OnMaterial()
{
    const std::optional<CMaterialChoice> chosen = Document().PickMaterial(m_material, kPickInLevel);
    if (!chosen)
        return;
    m_material = chosen->m_name;
    PushToControls();
    UpdateSurface();
}

void CSurfaceView::OnFlagButton(const CFlagDialogTemplate& dialog, std::uint32_t& flags)
{
    if (!EditFlagsInDialog(dialog, flags, this))
        return;
    PushToControls();
    UpdateSurface();
}

void CSurfaceView::OnSurfaceFlags()
{
    OnFlagButton(SurfaceFlagsTemplate(), m_surfaceFlags);
}

void CSurfaceView::OnFaceFlags()
{
    OnFlagButton(FaceFlagsTemplate(), m_faceFlags);
}

void CSurfaceView::OnAdjoinFlags()
{
    OnFlagButton(AdjoinFlagsTemplate(), m_adjoinFlags);
}

void CSurfaceView::OnCopyToOther()
{
    C3dView* engine = Document().m_pEngine;
    if (engine == nullptr)
        return;
    const int current = engine->m_selection.m_surface;
    if (!UpdateSurface())
        return;
    CQzlSections& level = engine->GetLevel();
    if (!InRange(level.m_surfaces, current))
        return;
    const CQzlSurface& surface = *At(level.m_surfaces, current);
    if (!InRange(level.m_adjoins, surface.m_adjoin))
        return;
    // The surface on the other side: the first, in sector order, whose adjoin is the mirror.
    const int mirror = At(level.m_adjoins, surface.m_adjoin)->m_mirror;
    if (!InRange(level.m_adjoins, mirror))
        return;
    for (std::size_t sector = 0; sector < level.m_sectors.size(); ++sector) {
        for (const std::int32_t index : level.m_sectors[sector]->m_surfaces) {
            if (!InRange(level.m_surfaces, index) || index == current)
                continue;
            CQzlSurface& other = *At(level.m_surfaces, index);
            if (other.m_adjoin != mirror)
                continue;
            other.m_surfaceFlags = surface.m_surfaceFlags;
            other.m_faceFlags = surface.m_faceFlags;
            other.m_geo = surface.m_geo;
            other.m_light = surface.m_light;
            other.m_tex = surface.m_tex;
            other.m_extraLight = surface.m_extraLight;
            other.m_material = surface.m_material;
            At(level.m_adjoins, mirror)->m_flags = m_adjoinFlags;
            const CQzEditView::CDeviceScope scope(Document().View3d());
            RebuildSector(*engine, static_cast<int>(sector));
            return;
        }
    }
}
