#include "tools/ui/CreateSwitchDlg.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/DataFolders.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "resources/MaterialGroups.h"
#include "tools/ui/TemplateModelPane.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <optional>

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ComboText(const QComboBox& list)
{
    return list.currentIndex() < 0 ? std::string() : list.currentText().toLatin1().toStdString();
}

// A disabled edit named id that only shows a value.
QLineEdit* DisplayEdit(QWidget* parent, int id, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::number(id));
    edit->setEnabled(false);
    return edit;
}

void AddRow(QGridLayout& grid, int row, const char* label, QWidget* field)
{
    auto* text = new QLabel(QString::fromLatin1(label), field->parentWidget());
    text->setBuddy(field);
    grid.addWidget(text, row, 0);
    grid.addWidget(field, row, 1);
}

}  // namespace

std::vector<std::string> ReadSwitchList(const CDataFolders& folders)
{
    // Without the group file the list stays empty, and OK says that a switch material is needed.
    return ReadSwitchMaterials(ReadMaterialGroupText(folders));
}

CCreateSwitchDlg::CCreateSwitchDlg(C3dView& engine, std::vector<std::string> switchMaterials,
                                   QWidget* parent)
    : QDialog(parent), m_engine(engine)
{
    setObjectName(QString::number(Dlg::kCreateSwitch));
    setWindowTitle(QStringLiteral("Create Switch"));

    auto* group = new QGroupBox(QStringLiteral("Switch"), this);
    m_depth = NumberEdit(group, Ctl::kSwitchDepth, m_params.m_depth);
    m_height = NumberEdit(group, Ctl::kSwitchHeight, m_params.m_height);
    m_width = NumberEdit(group, Ctl::kSwitchWidth, m_params.m_width);
    auto* sizes = new QGridLayout;
    AddRow(*sizes, 0, "Depth:", m_depth);
    AddRow(*sizes, 1, "Height:", m_height);
    AddRow(*sizes, 2, "Width:", m_width);
    sizes->setRowStretch(3, 1);

    m_list = new QComboBox(group);
    m_list->setObjectName(QString::number(Ctl::kSwitchList));
    // The list is sorted: entry 0 is the alphabetically first member of the group.
    std::stable_sort(
        switchMaterials.begin(), switchMaterials.end(),
        [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    for (const std::string& name : switchMaterials)
        m_list->addItem(Latin1(name));

    QFrame* frame =
        FramedPreview(engine, group, Ctl::kSwitchPreview, DialogUnits(*this, 80, 80), m_preview);

    auto* material = new QVBoxLayout;
    material->addWidget(m_list);
    material->addWidget(frame, 0, Qt::AlignHCenter);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addLayout(sizes);
    groupLayout->addLayout(material);

    auto* siding = new QGroupBox(QStringLiteral("Siding"), this);
    m_siding = DisplayEdit(siding, Ctl::kSwitchSiding, Latin1(m_params.m_sidingMaterial));
    auto* texture = new QPushButton(QStringLiteral("&Texture"), siding);
    texture->setObjectName(QString::number(Ctl::kSwitchTexture));
    texture->setAutoDefault(false);
    connect(texture, &QPushButton::clicked, this, &CCreateSwitchDlg::OnTexture);
    auto* sidingLayout = new QGridLayout(siding);
    AddRow(*sidingLayout, 0, "Texture:", m_siding);
    sidingLayout->addWidget(texture, 0, 2);

    m_x = DisplayEdit(this, Ctl::kSwitchX, QString::number(m_params.m_textureWidth));
    m_y = DisplayEdit(this, Ctl::kSwitchY, QString::number(m_params.m_textureHeight));
    auto* size = new QGridLayout;
    AddRow(*size, 0, "X:", m_x);
    auto* yLabel = new QLabel(QStringLiteral("Y:"), this);
    yLabel->setBuddy(m_y);
    size->addWidget(yLabel, 0, 2);
    size->addWidget(m_y, 0, 3);

    QPushButton* ok = nullptr;
    QDialogButtonBox* buttons = ModelDialogButtons(*this, Dlg::kCreateSwitch, ok);

    auto* fields = new QVBoxLayout;
    fields->addWidget(group);
    fields->addWidget(siding);
    fields->addLayout(size);
    fields->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    if (m_list->count() > 0)
        m_list->setCurrentIndex(0);
    OnSelchangeSwitch();
    connect(m_list, &QComboBox::currentIndexChanged, this, &CCreateSwitchDlg::OnSelchangeSwitch);
    FitDialog(*this, DialogUnits(*this, 240, 150));
}

CCreateSwitchDlg::~CCreateSwitchDlg() = default;

void CCreateSwitchDlg::OnSelchangeSwitch()
{
    // Only an entry of the list names the switch material.
    m_params.m_switchMaterial = ComboText(*m_list);
    m_params.m_textureWidth = 0;
    m_params.m_textureHeight = 0;
    if (!m_params.m_switchMaterial.empty()) {
        const CQzlSections& level = m_engine.GetLevel();
        const std::string colormap =
            level.m_colormaps.empty() ? std::string() : ToLowerAscii(level.m_colormaps.front());
        m_preview->ShowMaterial(m_params.m_switchMaterial, colormap);
        // A material found nowhere keeps the size 0 x 0: OK then says so instead of fitting a
        // texture of no size.
        if (const std::optional<CTextureSize> size =
                SwitchTextureSize(m_engine, m_params.m_switchMaterial)) {
            m_params.m_textureWidth = size->m_width;
            m_params.m_textureHeight = size->m_height;
        }
    }
    m_x->setText(QString::number(m_params.m_textureWidth));
    m_y->setText(QString::number(m_params.m_textureHeight));
    m_preview->update();
}

void CCreateSwitchDlg::OnTexture()
{
    const std::optional<CMaterialChoice> material = m_engine.GetHost().PickMaterial("", kPickToAdd);
    if (!material)
        return;
    m_params.m_sidingMaterial = material->m_name;
    m_siding->setText(Latin1(m_params.m_sidingMaterial));
}

void CCreateSwitchDlg::accept()
{
    CSwitchParams params = m_params;
    if (!ReadRangeField(*this, *m_depth, kSwitchDepthRange, params.m_depth) ||
        !ReadRangeField(*this, *m_height, kSwitchSizeRange, params.m_height) ||
        !ReadRangeField(*this, *m_width, kSwitchSizeRange, params.m_width))
        return;
    m_params.m_depth = params.m_depth;
    m_params.m_height = params.m_height;
    m_params.m_width = params.m_width;
    if (!PassesCheck(*this, SwitchRefusal(m_engine, params)))
        return;
    QDialog::accept();
}
