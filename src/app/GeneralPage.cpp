#include "app/GeneralPage.h"

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "app/SettingsStore.h"
#include "engine/C3dView.h"
#include "engine/gl/GlDisplayModes.h"
#include "geometry/SectorBounds.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using DialogText::Id;

// A number of the page: its edit, caption and the setting it edits (its type and range are the
// setting's).
struct CNumberField {
    int id;
    const char* caption;
    std::string_view setting;
};

// In the order the page reads them.
constexpr CNumberField kNumberFields[] = {
    {Ctl::kHorizonDistance, "Horizon Distance:", "Horizon Distance"},
    {Ctl::kThreeDoDistance, "3DO Distance:", "3DO Distance"},
    {Ctl::kGridDistance, "Grid Distance:", "Grid Distance"},
    {Ctl::kGridAlignment, "Grid Alignment:", "Alignment"},
    {Ctl::kFrameRate, "Frame Rate (desired):", "FrameRate"},
    {Ctl::kVertexSize, "Vertex Size:", "VertexScaling"},
};

// A yes/no list: 1 is stored exactly when "Yes" is chosen. It edits a setting or one of the
// document's switches.
struct CYesNoField {
    int id;
    const char* caption;
    std::int32_t CSettings::*setting;
    std::int32_t CDocumentFields::*document;
};

// In the order they are stored.
constexpr CYesNoField kYesNoFields[] = {
    {Ctl::kDithered, "Dithered:", &CSettings::m_textureDithering, nullptr},
    {Ctl::kThreeDoCollision, "3DO Collision Detect:", &CSettings::m_threeDoCollision, nullptr},
    {Ctl::kWarnings, "Warnings:", &CSettings::m_warning, nullptr},
    {Ctl::kCopyLight, "Copy Light Intensities:", &CSettings::m_copyLight, nullptr},
    {Ctl::kCdSound, "CD Sound:", &CSettings::m_cdSound, nullptr},
    {Ctl::kErrorChecking, "Error Checking:", &CSettings::m_errorChecking, nullptr},
    {Ctl::kIncludeStartUpCog, "Include StartUp Cog:", nullptr, &CDocumentFields::m_startCogOn},
    {Ctl::kIncludeGoalsCog, "Include Goals Cog:", nullptr, &CDocumentFields::m_goalsCogOn},
};

static_assert(std::size(kYesNoFields) == 8);

// The controls whose change enables Apply.
constexpr int kMarkModified[] = {
    Ctl::kAdjoinRendering, Ctl::kStretchFactor, Ctl::kTextureMapping, Ctl::kDevice,
    Ctl::kDithered,        Ctl::kErrorChecking, Ctl::kWarnings,       Ctl::kHorizonDistance,
    Ctl::kThreeDoDistance, Ctl::kFrameRate,     Ctl::kVertexSize,     Ctl::kGridAlignment,
};

bool MarksModified(int id)
{
    return std::ranges::find(kMarkModified, id) != std::end(kMarkModified);
}

const QStringList kYesNo = {QStringLiteral("No"), QStringLiteral("Yes")};
// "Adjoin" 0, 1 and 2.
const QStringList kAdjoinTexts = {QStringLiteral("None"), QStringLiteral("Transparent"),
                                  QStringLiteral("Solid")};
// "Texture Mapping" 1 and 0.
const QString kNearest = QStringLiteral("Nearest");
const QString kLinear = QStringLiteral("Linear");

// The table row of a setting.
const CSettingInfo& Setting(std::string_view name)
{
    for (const CSettingInfo& info : CSettings::Table())
        if (info.name == name)
            return info;
    throw std::logic_error("no such setting");
}

QStringList Texts(const std::vector<std::string>& list)
{
    QStringList texts;
    for (const std::string& text : list)
        texts.push_back(QString::fromStdString(text));
    return texts;
}

// Selects the entry at position, or entry 0 when the list has no such entry.
void SelectPosition(QComboBox& list, std::int32_t position)
{
    list.setCurrentIndex(position >= 0 && position < list.count() ? position : 0);
}

}  // namespace

CGeneralPage::CGeneralPage(CQzEditDoc& doc, QWidget* parent)
    : CPropertyPage(Dlg::kGeneralPage, QStringLiteral("General"), parent), m_doc(doc)
{
    // Two columns of label and control: the numbers and lists down the left, the switches
    // down the right, in the order of the settings.
    auto* grid = new QGridLayout(this);
    int row = 0;
    int column = 0;
    const auto addRow = [&](const char* caption, QWidget* control) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(control);
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        if (++row == 9) {
            row = 0;
            column = 2;
        }
    };
    const auto makeList = [&](int id, const QStringList& texts) {
        auto* list = new QComboBox(this);
        list->setObjectName(Id(id));
        list->addItems(texts);
        if (MarksModified(id))
            connect(list, &QComboBox::currentIndexChanged, this, &CGeneralPage::OnControlChanged);
        return list;
    };
    const auto yesNo = [&](int id) {
        for (std::size_t i = 0; i < kYesNoCount; ++i)
            if (kYesNoFields[i].id == id) {
                m_yesNo[i] = makeList(id, kYesNo);
                addRow(kYesNoFields[i].caption, m_yesNo[i]);
            }
    };
    const auto number = [&](std::size_t i) {
        m_numbers[i] = new QLineEdit(this);
        m_numbers[i]->setObjectName(Id(kNumberFields[i].id));
        if (MarksModified(kNumberFields[i].id))
            connect(m_numbers[i], &QLineEdit::textChanged, this, &CGeneralPage::OnControlChanged);
        addRow(kNumberFields[i].caption, m_numbers[i]);
    };

    for (std::size_t i = 0; i < 4; ++i)
        number(i);
    m_adjoin = makeList(Ctl::kAdjoinRendering, kAdjoinTexts);
    addRow("Adjoin Rendering:", m_adjoin);
    m_stretch = makeList(Ctl::kStretchFactor, {});
    addRow("Stretch Factor:", m_stretch);
    yesNo(Ctl::kThreeDoCollision);
    m_device = makeList(Ctl::kDevice, {});
    // A renderer's name can be long; the open list shows it whole.
    m_device->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_device->setMinimumContentsLength(16);
    addRow("DirectX Device:", m_device);
    yesNo(Ctl::kCdSound);
    number(4);
    number(5);
    yesNo(Ctl::kErrorChecking);
    m_textureMapping = makeList(Ctl::kTextureMapping, {kNearest, kLinear});
    addRow("Texture Mapping:", m_textureMapping);
    yesNo(Ctl::kDithered);
    yesNo(Ctl::kWarnings);
    yesNo(Ctl::kCopyLight);
    yesNo(Ctl::kIncludeStartUpCog);
    yesNo(Ctl::kIncludeGoalsCog);
    grid->setRowStretch(9, 1);
}

CGeneralPage::~CGeneralPage() = default;

void CGeneralPage::OnInitDialog()
{
    // The lists of the 3D view's device; before it has one, the render layer's display modes
    // and no device.
    const C3dView* engine = m_doc.m_pEngine;
    const bool listed = engine != nullptr && !engine->m_viewport.m_displayModes.empty();
    m_stretch->addItems(Texts(listed ? engine->m_viewport.m_displayModes : DisplayModeList()));
    // "None" draws at the window's size.
    m_stretch->setItemData(0, QStringLiteral("The window's own size"), Qt::ToolTipRole);
    if (engine != nullptr)
        m_device->addItems(Texts(engine->m_viewport.m_deviceNames));

    m_values = m_doc.m_app.m_settings;
    for (std::size_t i = 0; i < kNumberCount; ++i) {
        const CSettingInfo& info = Setting(kNumberFields[i].setting);
        if (info.kind == ESettingKind::Float)
            PushFloat(*m_numbers[i], m_values.*info.floatMember);
        else
            PushInt(*m_numbers[i], m_values.*info.intMember);
    }
    for (std::size_t i = 0; i < kYesNoCount; ++i) {
        const CYesNoField& field = kYesNoFields[i];
        const std::int32_t value =
            field.setting != nullptr ? m_values.*field.setting : m_doc.m_fields.*field.document;
        m_yesNo[i]->setCurrentIndex(value != 0 ? 1 : 0);
    }
    // An "Adjoin" that names no text shows none.
    m_adjoin->setCurrentIndex(
        m_values.m_adjoin >= 0 && m_values.m_adjoin < kAdjoinTexts.size() ? m_values.m_adjoin : -1);
    m_textureMapping->setCurrentText(m_values.m_textureMapping != 0 ? kNearest : kLinear);
    SelectPosition(*m_stretch, m_values.m_stretchMode);
    SelectPosition(*m_device, m_values.m_device);
}

bool CGeneralPage::PullControls()
{
    for (std::size_t i = 0; i < kNumberCount; ++i) {
        const CSettingInfo& info = Setting(kNumberFields[i].setting);
        const CSettingRange& range = *SettingRange(info.name);
        const bool valid =
            info.kind == ESettingKind::Float
                ? PullFloat(*m_numbers[i], m_values.*info.floatMember, range.low, range.high)
                : PullInt(*m_numbers[i], m_values.*info.intMember, static_cast<int>(range.low),
                          static_cast<int>(range.high));
        if (!valid)
            return false;
    }
    return true;
}

void CGeneralPage::ApplySettings()
{
    CSettings& settings = m_doc.m_app.m_settings;
    for (const CNumberField& field : kNumberFields) {
        const CSettingInfo& info = Setting(field.setting);
        if (info.kind == ESettingKind::Float)
            settings.*info.floatMember = m_values.*info.floatMember;
        else
            settings.*info.intMember = m_values.*info.intMember;
    }

    settings.m_textureMapping = m_textureMapping->currentText() == kNearest ? 1 : 0;
    const CDocumentFields before = m_doc.m_fields;
    for (std::size_t i = 0; i < kYesNoCount; ++i) {
        const CYesNoField& field = kYesNoFields[i];
        const std::int32_t value = m_yesNo[i]->currentText() == kYesNo[1] ? 1 : 0;
        if (field.setting != nullptr)
            settings.*field.setting = value;
        else
            m_doc.m_fields.*field.document = value;
    }
    m_doc.ImportStartGoalsCogs();
    // The switches are stored with the document, and the level's cogs followed them.
    if (m_doc.m_fields != before)
        m_doc.SetModifiedFlag(true);

    // Another text (none chosen) leaves "Adjoin" as it was.
    if (const qsizetype adjoin = kAdjoinTexts.indexOf(m_adjoin->currentText()); adjoin >= 0)
        settings.m_adjoin = static_cast<std::int32_t>(adjoin);
    if (m_stretch->currentIndex() >= 0)
        settings.m_stretchMode = m_stretch->currentIndex();
    if (m_device->currentIndex() >= 0)
        settings.m_device = m_device->currentIndex();

    if (CQzEditView* view = m_doc.View3d())
        view->RecreateDevice();
    UpdateSectorBounds(*m_doc.m_level, false);
    m_doc.UpdateAllViews(nullptr);
}
