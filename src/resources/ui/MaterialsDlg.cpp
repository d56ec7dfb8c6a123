#include "resources/ui/MaterialsDlg.h"

#include "engine/AssetSources.h"
#include "engine/BitmapImage.h"
#include "engine/C3dView.h"
#include "engine/DecodeMaterial.h"
#include "engine/Preview.h"
#include "engine/Questions.h"
#include "engine/Undo.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/MaterialGroupIndex.h"
#include "resources/ui/ResourceListControls.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/FormFields.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <memory>

namespace {

using DialogText::Button;
using DialogText::Id;
using DialogText::Latin1;
using DialogText::Text;

constexpr const char* kUsedQuestion = "The selected material is used at several surfaces.\n\n"
                                      "Are you sure that you want to continue deletion?";
constexpr double kTileLow = 1.0;
constexpr double kTileHigh = 100.0;

QLineEdit* Edit(QWidget* parent, int id, bool readOnly)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(Id(id));
    edit->setReadOnly(readOnly);
    return edit;
}

}  // namespace

CMaterialsDlg::CMaterialsDlg(C3dView& engine, CDataFolders folders, std::string material, int mode,
                             QWidget* parent)
    : QDialog(parent), m_engine(engine), m_folders(std::move(folders)),
      m_strMaterial(std::move(material)), m_nMode(mode)
{
    setObjectName(Id(Dlg::kMaterials));
    setWindowTitle(QString::fromLatin1(PickerCaption(EPicker::Material, m_nMode)));

    m_comboSelection = new QComboBox(this);
    m_comboSelection->setObjectName(Id(Ctl::kMaterialsSelection));
    m_listMaterials = new QListWidget(this);
    m_listMaterials->setObjectName(Id(Ctl::kMaterialsList));
    // Several columns, scrolled sideways.
    m_listMaterials->setFlow(QListView::TopToBottom);
    m_listMaterials->setWrapping(true);
    m_listMaterials->setResizeMode(QListView::Adjust);
    m_listMaterials->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_listMaterials->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listMaterials->setSelectionMode(QAbstractItemView::SingleSelection);
    m_comboPalette = new QComboBox(this);
    m_comboPalette->setObjectName(Id(Ctl::kMaterialsPalette));
    m_tileX = Edit(this, Ctl::kMaterialsTileX, false);
    m_tileY = Edit(this, Ctl::kMaterialsTileY, false);
    m_width = Edit(this, Ctl::kMaterialsWidth, true);
    m_height = Edit(this, Ctl::kMaterialsHeight, true);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFixedSize(DialogUnits(*this, 100, 100));
    m_pPreview = new CPreviewWidget(engine, frame);
    m_pPreview->setObjectName(Id(Ctl::kMaterialsPreview));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    frameLayout->addWidget(m_pPreview);

    m_ok = Button(this, "&Ok", Ctl::kOk);
    m_ok->setDefault(true);
    auto* cancel = Button(this, "&Cancel", Ctl::kCancel);
    auto* help = Button(this, "&Help", Ctl::kHelp);
    auto* save = Button(this, "&Save", Ctl::kMaterialsSave);
    m_add = Button(this, "&Add", Ctl::kMaterialsAdd);
    m_delete = Button(this, "&Delete", Ctl::kMaterialsDelete);
    connect(m_ok, &QPushButton::clicked, this, &CMaterialsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMaterialsDlg::reject);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(Dlg::kMaterials); });
    connect(save, &QPushButton::clicked, this, &CMaterialsDlg::OnSave);
    connect(m_add, &QPushButton::clicked, this, &CMaterialsDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CMaterialsDlg::OnDelete);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Selection:"), this), 0, 0);
    fields->addWidget(m_comboSelection, 0, 1, 1, 3);
    fields->addWidget(m_listMaterials, 1, 0, 1, 4);
    fields->addWidget(new QLabel(QStringLiteral("Palette:"), this), 2, 0);
    fields->addWidget(m_comboPalette, 2, 1, 1, 3);
    fields->addWidget(new QLabel(QStringLiteral("X Tile:"), this), 3, 0);
    fields->addWidget(m_tileX, 3, 1);
    fields->addWidget(new QLabel(QStringLiteral("Y Tile:"), this), 3, 2);
    fields->addWidget(m_tileY, 3, 3);
    auto* sizes = new QHBoxLayout;
    sizes->addWidget(new QLabel(QStringLiteral("X:"), this));
    sizes->addWidget(m_width);
    sizes->addWidget(new QLabel(QStringLiteral("Y:"), this));
    sizes->addWidget(m_height);
    auto* preview = new QVBoxLayout;
    preview->addWidget(frame, 0, Qt::AlignHCenter);
    preview->addLayout(sizes);
    preview->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_ok, cancel, help, save, m_add, m_delete})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(fields, 1);
    layout->addLayout(preview);
    layout->addLayout(buttons);

    // The level's colour maps, lower-cased; the current sector's is chosen, else the first.
    m_filling = true;
    FillColorMapCombo(*m_comboPalette, m_engine.GetLevel(), m_engine.m_selection.m_sector);

    m_comboSelection->addItem(QString::fromLatin1(kAllMaterialGroups));
    if (m_nMode != kPickInLevel) {
        ReadGroups();
        m_add->hide();
        m_delete->hide();
    }
    m_comboSelection->setCurrentIndex(0);
    m_filling = false;

    connect(m_comboSelection, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            OnSelchangeSelection();
    });
    connect(m_listMaterials, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling)
            OnSelchangeMaterialList();
    });
    connect(m_comboPalette, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            OnSelchangePalette();
    });

    ExchangeSizes();
    OnSelchangeSelection();
    FitDialog(*this, DialogUnits(*this, 320, 160));
}

CMaterialsDlg::~CMaterialsDlg() = default;

void CMaterialsDlg::ReadGroups()
{
    // Without the group file every material is offered under "All".
    const std::vector<CMaterialGroupLine> lines =
        ReadMaterialGroups(ReadMaterialGroupText(m_folders));
    for (const std::string& name : MaterialGroupNames(lines))
        m_comboSelection->addItem(Text(name));
    m_groups = BuildMaterialGroupIndex(lines);
    // The drop-down shows every group (two at least).
    m_comboSelection->setMaxVisibleItems(std::max(2, m_comboSelection->count()));
}

void CMaterialsDlg::OnSelchangeSelection()
{
    const CQzlSections& level = m_engine.GetLevel();
    int row = -1;
    if (m_nMode != kPickInLevel) {
        m_items = AddMaterialItems(level, m_engine.GetGame(), m_groups,
                                   Latin1(m_comboSelection->currentText()));
        SortMaterialItems(m_items);
        row = m_items.empty() ? -1 : 0;
    } else {
        m_items = LevelMaterialItems(level, m_engine.GetGame());
        SortMaterialItems(m_items);
        const std::string start = ToLowerAscii(m_strMaterial);
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].m_name.compare(0, start.size(), start) == 0) {
                row = static_cast<int>(i);
                break;
            }
        }
    }
    FillList(row);
    OnSelchangeMaterialList();
}

void CMaterialsDlg::FillList(int row)
{
    m_filling = true;
    m_listMaterials->clear();
    for (const CMaterialListItem& item : m_items) {
        auto* entry = new QListWidgetItem(Text(item.m_name), m_listMaterials);
        entry->setData(Qt::UserRole, item.m_item);
    }
    m_listMaterials->setCurrentRow(row);
    m_filling = false;
}

int CMaterialsDlg::SelectedRow() const
{
    const int row = m_listMaterials->currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < m_items.size() &&
                   m_listMaterials->currentItem() != nullptr &&
                   m_listMaterials->currentItem()->isSelected()
               ? row
               : -1;
}

std::string CMaterialsDlg::SelectedPalette() const
{
    return m_comboPalette->currentIndex() < 0 ? std::string()
                                              : Latin1(m_comboPalette->currentText());
}

void CMaterialsDlg::ExchangeSizes()
{
    CFieldExchange dx(*this, CFieldExchange::EDirection::ToControls);
    dx.Float(Ctl::kMaterialsTileX, m_fTileX);
    dx.Float(Ctl::kMaterialsTileY, m_fTileY);
    dx.Int(Ctl::kMaterialsWidth, m_nWidth);
    dx.Int(Ctl::kMaterialsHeight, m_nHeight);
}

void CMaterialsDlg::OnSelchangeMaterialList()
{
    const int row = SelectedRow();
    // OK needs a material: the dialog never closes without one.
    m_ok->setEnabled(row >= 0);
    if (row < 0) {
        m_delete->setEnabled(false);
        return;
    }
    const CMaterialListItem& item = m_items[static_cast<std::size_t>(row)];
    CQzlSections& level = m_engine.GetLevel();
    if (m_nMode == kPickInLevel) {
        if (item.m_item >= 0 && static_cast<std::size_t>(item.m_item) < level.m_materials.size()) {
            const CQzlMaterial& material =
                *level.m_materials[static_cast<std::size_t>(item.m_item)];
            m_fTileX = material.m_xTile;
            m_fTileY = material.m_yTile;
        }
        m_delete->setEnabled(!EqualsNoCase(item.m_name, "dflt.mat"));
    }
    // The edits show this material's tiles whatever follows: OK reads them back.
    ExchangeSizes();
    // Without the game's archive there is no preview and no size.
    if (m_engine.GetGame().m_archive == nullptr)
        return;
    m_pPreview->ShowMaterial(item.m_name, SelectedPalette());
    // The size of the texture the preview shows (with the decoding's fallbacks).
    CAssetSources sources;
    sources.m_game = &m_engine.GetGame();
    sources.m_levelFiles = &level.m_levelFiles;
    const std::unique_ptr<CBitmapImage> image =
        DecodeMaterial(sources, item.m_name, SelectedPalette());
    m_nWidth = image ? image->GetWidth() : 0;
    m_nHeight = image ? image->GetHeight() : 0;
    ExchangeSizes();
    m_pPreview->update();
}

void CMaterialsDlg::OnSelchangePalette()
{
    const int row = SelectedRow();
    if (row < 0 || m_engine.GetGame().m_archive == nullptr)
        return;
    m_pPreview->ShowMaterial(m_items[static_cast<std::size_t>(row)].m_name, SelectedPalette());
    m_pPreview->update();
}

void CMaterialsDlg::accept()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const CMaterialListItem& item = m_items[static_cast<std::size_t>(row)];
    CQzlSections& level = m_engine.GetLevel();
    if (m_nMode == kPickInLevel) {
        float tileX = m_fTileX;
        float tileY = m_fTileY;
        CFieldExchange dx(*this, CFieldExchange::EDirection::FromControls);
        dx.Float(Ctl::kMaterialsTileX, tileX);
        dx.FloatRange(Ctl::kMaterialsTileX, tileX, kTileLow, kTileHigh);
        dx.Float(Ctl::kMaterialsTileY, tileY);
        dx.FloatRange(Ctl::kMaterialsTileY, tileY, kTileLow, kTileHigh);
        if (!dx.Ok())
            return;
        if (item.m_item < 0 || static_cast<std::size_t>(item.m_item) >= level.m_materials.size())
            return;
        m_fTileX = tileX;
        m_fTileY = tileY;
        m_strMaterial = item.m_name;
        m_nMaterial = item.m_item;
        RunUndoable(m_engine,
                    [&] { return SetMaterialTiles(level, m_nMaterial, m_fTileX, m_fTileY); });
    } else {
        m_strMaterial = item.m_name;
        RunUndoable(m_engine, [&] {
            bool appended = false;
            m_nMaterial = AddLevelMaterial(level, m_strMaterial, appended);
            return appended;
        });
        // The record the level holds gives the tiling.
        const CQzlMaterial& material = *level.m_materials[static_cast<std::size_t>(m_nMaterial)];
        m_fTileX = material.m_xTile;
        m_fTileY = material.m_yTile;
    }
    m_engine.GetHost().SetModifiedFlag(true);
    QDialog::accept();
}

CMaterialChoice CMaterialsDlg::Choice() const
{
    CMaterialChoice choice;
    choice.m_index = m_nMaterial;
    choice.m_name = m_strMaterial;
    choice.m_width = m_nWidth;
    choice.m_height = m_nHeight;
    choice.m_tileX = m_fTileX;
    choice.m_tileY = m_fTileY;
    return choice;
}

void CMaterialsDlg::OnAdd()
{
    CMaterialsDlg nested(m_engine, m_folders, std::string(), kPickToAdd, this);
    if (nested.exec() != QDialog::Accepted)
        return;
    const std::string name = nested.Choice().m_name;
    auto listed = std::find_if(m_items.begin(), m_items.end(), [&](const CMaterialListItem& item) {
        return EqualsNoCase(item.m_name, name);
    });
    if (listed == m_items.end()) {
        m_items.push_back({name, nested.Choice().m_index});
        SortMaterialItems(m_items);
        listed = std::find_if(m_items.begin(), m_items.end(), [&](const CMaterialListItem& item) {
            return EqualsNoCase(item.m_name, name);
        });
    }
    // The level's record of that name, new or reused, is selected.
    FillList(static_cast<int>(listed - m_items.begin()));
    OnSelchangeMaterialList();
    m_engine.GetHost().SetModifiedFlag(true);
}

void CMaterialsDlg::OnDelete()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const int material = m_items[static_cast<std::size_t>(row)].m_item;
    CQzlSections& level = m_engine.GetLevel();
    if (material < 0 || static_cast<std::size_t>(material) >= level.m_materials.size())
        return;
    const std::vector<int> users = SectorsUsingMaterial(level, material);
    for (const int sector : users)
        if (std::find(m_sectorsToRebuild.begin(), m_sectorsToRebuild.end(), sector) ==
            m_sectorsToRebuild.end())
            m_sectorsToRebuild.push_back(sector);
    if (!users.empty() && !Confirm(m_engine, kUsedQuestion))
        return;
    RunUndoable(m_engine, [&] {
        DeleteMaterial(level, material);
        return true;
    });
    const int next = RenumberMaterialItems(m_items, material);
    FillList(next);
    OnSelchangeMaterialList();
    m_engine.GetHost().SetModifiedFlag(true);
}

void CMaterialsDlg::OnSave()
{
    const QString path =
        QzGetSaveFileName(this, QStringLiteral("Save As"),
                          QStringLiteral("BMP Files (*.bmp)|*.bmp||"), QStringLiteral("BMP"));
    if (path.isEmpty())
        return;
    const int row = SelectedRow();
    if (row < 0 || m_engine.GetGame().m_archive == nullptr)
        return;
    std::string error;
    if (!SaveMaterialBitmap(m_pPreview->Engine(), m_items[static_cast<std::size_t>(row)].m_name,
                            SelectedPalette(), path.toStdString(), error))
        QzMessageBox(Text(error), QMessageBox::Ok, this);
}
