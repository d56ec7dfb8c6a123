#include "app/ColorsPage.h"

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/ui/GlSurface.h"
#include "ui/ColorDialog.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include <utility>

namespace {

using DialogText::Id;

struct CColorField {
    int id;
    const char* caption;
    std::uint32_t CSettings::*setting;
};

constexpr CColorField kColorFields[CColorsPage::kColorCount] = {
    {Ctl::kColorSelectedVertex, "Selected Vertex:", &CSettings::m_colorSelect},
    {Ctl::kColorLinkedVertex, "Linked Vertex:", &CSettings::m_colorLink},
    {Ctl::kColorUnlinkedVertex, "Un-Linked Vertex:", &CSettings::m_colorUnlink},
    {Ctl::kColorGhostObject, "Ghost Object:", &CSettings::m_colorGhost},
    {Ctl::kColorAdjoinedSurface, "Adjoined Surface:", &CSettings::m_colorAdjoin},
    {Ctl::kColorGridNode, "Grid Node:", &CSettings::m_colorGrid},
    {Ctl::kColorBackground, "Background:", &CSettings::m_colorBackground},
    {Ctl::kColorWireframes, "Wireframes:", &CSettings::m_colorWireframe},
    {Ctl::kColorSectorsWithCogs, "Sectors with Cogs:", &CSettings::m_colorCogWireframe},
    {Ctl::kColorSurfacesWithCogs, "Surfaces with Cogs:", &CSettings::m_colorSurfCogWireframe},
};

}  // namespace

// ---- CColorsPage ----

CColorsPage::CColorsPage(CQzEditDoc& doc, QWidget* parent)
    : CPropertyPage(Dlg::kColorsPage, QStringLiteral("Colors"), parent), m_doc(doc)
{
    // Two columns of label and swatch, in the order of the settings.
    auto* grid = new QGridLayout(this);
    constexpr std::size_t kRows = 5;
    for (std::size_t i = 0; i < kColorCount; ++i) {
        const int row = static_cast<int>(i % kRows);
        const int column = static_cast<int>(i / kRows) * 2;
        auto* label = new QLabel(QString::fromLatin1(kColorFields[i].caption), this);
        m_swatches[i] = new CColorSwatch(this);
        m_swatches[i]->setObjectName(Id(kColorFields[i].id));
        label->setBuddy(m_swatches[i]);
        grid->addWidget(label, row, column);
        grid->addWidget(m_swatches[i], row, column + 1);
        connect(m_swatches[i], &QPushButton::clicked, this, [this, i] { OnSwatch(i); });
        // The surfaces with cogs keep their colour but have no swatch to show.
        if (kColorFields[i].id == Ctl::kColorSurfacesWithCogs) {
            label->hide();
            m_swatches[i]->hide();
        }
    }
    m_transparent = new QCheckBox(QStringLiteral("Transparent Rendering"), this);
    m_transparent->setObjectName(Id(Ctl::kTransparentRendering));
    connect(m_transparent, &QCheckBox::toggled, this, &CColorsPage::OnControlChanged);
    grid->addWidget(m_transparent, static_cast<int>(kRows), 0, 1, 4);
    grid->setRowStretch(static_cast<int>(kRows) + 1, 1);
}

CColorsPage::~CColorsPage() = default;

CColorsPage::CColorDialog CColorsPage::SetColorDialog(CColorDialog dialog)
{
    return SetColorDialogHook(std::move(dialog));
}

QColor CColorsPage::FromSetting(std::uint32_t bgr)
{
    return SettingColor(bgr);
}

std::uint32_t CColorsPage::ToSetting(const QColor& color)
{
    return ColorSetting(color);
}

void CColorsPage::OnInitDialog()
{
    const CSettings& settings = m_doc.m_app.m_settings;
    for (std::size_t i = 0; i < kColorCount; ++i)
        m_swatches[i]->SetColor(FromSetting(settings.*kColorFields[i].setting));
    m_transparent->setChecked(settings.m_adjoinTransparent != 0);
}

void CColorsPage::OnSwatch(std::size_t index)
{
    CColorSwatch& swatch = *m_swatches[index];
    const std::optional<QColor> chosen = QzGetColor(swatch.Color(), this);
    if (!chosen)
        return;
    swatch.SetColor(*chosen);
    SetModified(true);
}

void CColorsPage::ApplyColors()
{
    CSettings& settings = m_doc.m_app.m_settings;
    for (std::size_t i = 0; i < kColorCount; ++i)
        settings.*kColorFields[i].setting = ToSetting(m_swatches[i]->Color());
    settings.m_adjoinTransparent = m_transparent->isChecked() ? 1 : 0;

    CQzEditView* view = m_doc.View3d();
    if (view != nullptr)
        view->RecreateDevice();
    if (m_doc.m_pEngine != nullptr) {
        // The vertex colours go to the sectors' buffers on the view's device.
        const CQzEditView::CDeviceScope scope(view);
        RefreshAllSectors(*m_doc.m_pEngine);
    }
}
