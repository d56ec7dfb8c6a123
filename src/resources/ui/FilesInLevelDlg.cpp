#include "resources/ui/FilesInLevelDlg.h"

#include "engine/AssetSources.h"
#include "engine/DecodeMaterial.h"
#include "engine/MaterialConversion.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/Tree.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/DragTreeCtrl.h"
#include "resources/ui/EditorDlg.h"
#include "resources/ui/RenameDlg.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

using DialogText::Id;
using DialogText::Latin1;
using DialogText::Text;

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kFilesInLevel);

const char* const kAddFilter =
    "COG Files (*.cog)|*.cog|3DO Files (*.3do)|*.3do|MAT Files (*.mat)|*.mat|"
    "WAV Files (*.wav)|*.wav|AI Files (*.ai)|*.ai|CMP Files (*.cmp)|*.cmp|"
    "PAR Files (*.par)|*.par|PER Files (*.per)|*.per|PUP Files (*.pup)|*.pup|"
    "SND Files (*.snd)|*.snd|SPR Files (*.spr)|*.spr|KEY Files (*.key)|*.key|"
    "BMP Files (*.bmp)|*.bmp||";

}  // namespace

CFilesInLevelDlg::CFilesInLevelDlg(CQzlSections& level, const CGameResources& game,
                                   CSettings& settings, std::function<void()> markModified,
                                   QWidget* parent)
    : QDialog(parent), m_level(level), m_game(game), m_settings(settings),
      m_markModified(std::move(markModified))
{
    setObjectName(Id(Dlg::kFilesInLevel));
    setWindowTitle(QStringLiteral("Files in Level"));

    m_tree = new CDragTreeCtrl(this);
    m_tree->setObjectName(Id(Ctl::kFilesTree));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumWidth(fontMetrics().averageCharWidth() * 24);

    m_palette = new QComboBox(this);
    m_palette->setObjectName(Id(Ctl::kFilesPalette));
    for (const std::string& name : m_level.m_colormaps)
        m_palette->addItem(Text(ToLowerAscii(name)));
    if (m_palette->count() > 0)
        m_palette->setCurrentIndex(0);

    m_list = new CDragListCtrl(this);
    m_list->setObjectName(Id(Ctl::kFilesList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->InsertColumn(160, false, QStringLiteral("Name"));
    m_list->InsertColumn(63, true, QStringLiteral("Offset"));
    m_list->InsertColumn(79, true, QStringLiteral("Size"));
    m_list->setMinimumWidth(160 + 63 + 79 + 24);
    m_list->SetEntryWriter(
        [this](int row, const std::filesystem::path& path) { WriteDragOutFile(row, path); });
    m_list->EnableDragOut(true);

    const auto button = [this](const char* text, int id) {
        auto* made = new QPushButton(QString::fromLatin1(text), this);
        made->setObjectName(Id(id));
        made->setAutoDefault(false);
        return made;
    };
    QPushButton* ok = button("&OK", Ctl::kOk);
    QPushButton* help = button("&Help", Ctl::kHelp);
    m_edit = button("&Edit", Ctl::kFilesEdit);
    QPushButton* add = button("&Add", Ctl::kFilesAdd);
    m_delete = button("&Delete", Ctl::kFilesDelete);
    m_rename = button("&Rename", Ctl::kFilesRename);
    m_save = button("&Save", Ctl::kFilesSave);
    connect(ok, &QPushButton::clicked, this, &CFilesInLevelDlg::accept);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(m_edit, &QPushButton::clicked, this, &CFilesInLevelDlg::OnEdit);
    connect(add, &QPushButton::clicked, this, &CFilesInLevelDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CFilesInLevelDlg::OnDelete);
    connect(m_rename, &QPushButton::clicked, this, &CFilesInLevelDlg::OnRename);
    connect(m_save, &QPushButton::clicked, this, &CFilesInLevelDlg::OnSave);

    auto* left = new QVBoxLayout;
    left->addWidget(m_tree, 1);
    auto* paletteRow = new QHBoxLayout;
    paletteRow->addWidget(new QLabel(QStringLiteral("Palette:"), this));
    paletteRow->addWidget(m_palette, 1);
    left->addLayout(paletteRow);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {ok, help, m_edit, add, m_delete, m_rename, m_save})
        buttons->addWidget(each);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CFilesInLevelDlg::OnTreeSelection);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CFilesInLevelDlg::OnRowSelection);
    // Files dropped on the tree come one by one, in the order of the drop.
    connect(m_tree, &CDragTreeCtrl::FileDropped, this,
            [this] { AddFiles({m_tree->DroppedPath()}); });

    BuildTree();
    m_folderItems[kLevelFilesRoot]->setExpanded(true);
    SelectFolder(kLevelFilesCog);
    m_tree->setFocus();
}

void CFilesInLevelDlg::BuildTree()
{
    const auto folders = LevelFileFolders();
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const CLevelFileFolder& folder = folders[i];
        QTreeWidgetItem* item =
            folder.m_parent < 0
                ? new QTreeWidgetItem(m_tree)
                : new QTreeWidgetItem(m_folderItems[static_cast<std::size_t>(folder.m_parent)]);
        item->setText(0, QString::fromLatin1(folder.m_label));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        m_folderItems.push_back(item);
    }
}

void CFilesInLevelDlg::SelectFolder(int folder)
{
    if (folder < 0 || static_cast<std::size_t>(folder) >= m_folderItems.size())
        return;
    QTreeWidgetItem* item = m_folderItems[static_cast<std::size_t>(folder)];
    m_selecting = true;
    m_tree->clearSelection();
    m_tree->setCurrentItem(item);
    item->setSelected(true);
    m_selecting = false;
    // The list is refilled also when the folder was selected already (no notice comes then).
    m_currentFolder = folder;
    FillList();
    item->setExpanded(true);
    m_tree->scrollToItem(item);
    m_tree->setFocus();
}

void CFilesInLevelDlg::OnTreeSelection()
{
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    if (selected.isEmpty())
        return;
    const CWaitCursor wait;
    m_currentFolder = selected.front()->data(0, Qt::UserRole).toInt();
    if (!m_selecting)
        FillList();
}

void CFilesInLevelDlg::FillList()
{
    m_filling = true;
    m_list->clear();
    m_selectedRow = -1;
    if (m_currentFolder >= 0) {
        const CLevelFileFolder& folder =
            LevelFileFolders()[static_cast<std::size_t>(m_currentFolder)];
        for (const int i : LevelFilesInFolder(m_level.m_levelFiles, folder)) {
            const CTreeObject& entry = *m_level.m_levelFiles.m_entries[static_cast<std::size_t>(i)];
            m_list->AddRow({Text(entry.m_name), QString::number(entry.m_offset),
                            QString::number(entry.m_size)},
                           i);
        }
    }
    m_filling = false;
    EnableRowButtons(false);
}

void CFilesInLevelDlg::EnableRowButtons(bool enable)
{
    for (QPushButton* each : {m_edit, m_delete, m_rename, m_save})
        each->setEnabled(enable);
}

void CFilesInLevelDlg::OnRowSelection()
{
    if (m_filling)
        return;
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        m_selectedRow = -1;
        EnableRowButtons(false);
        return;
    }
    const CWaitCursor wait;
    m_selecting = true;
    m_tree->clearSelection();
    m_selecting = false;
    QTreeWidgetItem* row = m_list->currentItem();
    if (row == nullptr || !row->isSelected())
        row = selected.front();
    m_selectedRow = m_list->indexOfTopLevelItem(row);
    EnableRowButtons(true);
}

int CFilesInLevelDlg::EntryOfRow(int row) const
{
    const qint64 entry = m_list->RowData(row);
    if (entry < 0 || static_cast<std::size_t>(entry) >= m_level.m_levelFiles.m_entries.size())
        return -1;
    return static_cast<int>(entry);
}

int CFilesInLevelDlg::SelectedEntry() const
{
    return EntryOfRow(m_selectedRow);
}

void CFilesInLevelDlg::Modified()
{
    if (m_markModified)
        m_markModified();
}

void CFilesInLevelDlg::AddFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        AddFile(path);
}

bool CFilesInLevelDlg::AddFile(const QString& path)
{
    // The path is opened as given; the name the level keeps is the file's name in lower case.
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(path.toStdString());
    } catch (const CFileException&) {
        return false;
    }
    const std::string fileName = ToLowerAscii(Latin1(QFileInfo(path).fileName()));
    const std::string currentFolder =
        m_currentFolder >= 0 ? LevelFileFolders()[static_cast<std::size_t>(m_currentFolder)].m_path
                             : "";
    std::string name;
    std::string folder;
    if (fileName.find(".bmp") != std::string::npos) {
        const std::string colorMapName = Latin1(m_palette->currentText());
        const CColorMap colorMap =
            FindColorMap(CAssetSources{&m_game, &m_level.m_levelFiles}, colorMapName);
        if (colorMap.IsEmpty()) {
            QzMessageBox(QStringLiteral("The color map \"") + Text(colorMapName) +
                             QStringLiteral("\" cannot be read."),
                         QMessageBox::Ok, this);
            return false;
        }
        try {
            bytes = ConvertBmpToMat(bytes, colorMap.GetPalette(), fileName);
        } catch (const CArchiveException& e) {
            QzMessageBox(Text(e.what()), QMessageBox::Ok, this);
            return false;
        }
        name = MaterialNameForBitmap(fileName);
        folder = "mat\\";
    } else {
        name = fileName;
        folder = LevelFileFolderFor(name, currentFolder);
        if (folder.empty())
            return false;
    }
    const std::string entryPath = folder + name;

    const int existing = FindLevelFileByPath(m_level.m_levelFiles, entryPath);
    if (existing >= 0 && m_settings.m_warning != 0) {
        const std::string question =
            "The item \"" +
            m_level.m_levelFiles.m_entries[static_cast<std::size_t>(existing)]->m_name +
            "\" already exist. Do you want to overwrite the existing item?";
        if (QzMessageBox(Text(question), QMessageBox::Yes | QMessageBox::No, this) !=
            QMessageBox::Yes)
            return false;
    }
    try {
        AddLevelFile(m_level.m_levelFiles, name, entryPath, std::move(bytes));
    } catch (const CArchiveException& e) {
        QzMessageBox(Text(e.what()), QMessageBox::Ok, this);
        return false;
    }
    SelectFolder(LevelFileFolderOf(entryPath));
    Modified();
    return true;
}

void CFilesInLevelDlg::OnAdd()
{
    AddFiles(QzGetOpenFileNames(this, QStringLiteral("Add"), QString::fromLatin1(kAddFilter)));
}

void CFilesInLevelDlg::OnDelete()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    DeleteLevelFile(m_level.m_levelFiles, entry);
    delete m_list->takeTopLevelItem(m_selectedRow);
    m_selectedRow = -1;
    EnableRowButtons(false);
    // The rows after it point at entries that moved up by one: the list is filled anew.
    if (m_currentFolder >= 0)
        SelectFolder(m_currentFolder);
    Modified();
}

void CFilesInLevelDlg::OnEdit()
{
    const int index = SelectedEntry();
    if (index < 0)
        return;
    CTreeObject& entry = *m_level.m_levelFiles.m_entries[static_cast<std::size_t>(index)];
    const char* title = LevelFileEditorTitle(entry.m_name);
    if (title == nullptr) {
        QzMessageBox(QStringLiteral("No editor exist for this item."), QMessageBox::Ok, this);
        return;
    }
    if (!EditLevelFileText(m_level.m_levelFiles, index, QString::fromLatin1(title), m_settings,
                           kHelpContext, this))
        return;
    const int row = m_selectedRow;
    FillList();
    if (QTreeWidgetItem* item = m_list->topLevelItem(row))
        m_list->setCurrentItem(item);
    Modified();
}

void CFilesInLevelDlg::OnRename()
{
    int index = SelectedEntry();
    if (index < 0)
        return;
    const std::string oldName =
        m_level.m_levelFiles.m_entries[static_cast<std::size_t>(index)]->m_name;
    CRenameDlg dialog(Text(oldName), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string newName = Latin1(dialog.m_newName);
    switch (RenameLevelFile(m_level.m_levelFiles, index, newName)) {
    case ERenameResult::unchanged:
        return;
    case ERenameResult::badName:
        QzMessageBox(QStringLiteral("The name \"") + dialog.m_newName +
                         QStringLiteral("\" cannot be used for a file."),
                     QMessageBox::Ok, this);
        return;
    case ERenameResult::exists:
        QzMessageBox(QStringLiteral("The item \"") + dialog.m_newName +
                         QStringLiteral("\" already exist."),
                     QMessageBox::Ok, this);
        return;
    case ERenameResult::renamed:
        break;
    }
    // The entry moved to its sorted place; the rows are filled anew and its row selected.
    FillList();
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (m_list->RowData(row) == index) {
            m_list->setCurrentItem(m_list->topLevelItem(row));
            break;
        }
    }
    Modified();
}

void CFilesInLevelDlg::OnSave()
{
    const int index = SelectedEntry();
    if (index < 0)
        return;
    const CTreeObject& entry = *m_level.m_levelFiles.m_entries[static_cast<std::size_t>(index)];
    const CLevelFileSaveType type = LevelFileSaveType(entry.m_name);
    // A name that would leave the folder is not offered as the file's name.
    QString start = QzLastFileFolder();
    if (IsSafeLevelFileName(entry.m_name))
        start =
            start.isEmpty() ? Text(entry.m_name) : start + QLatin1Char('/') + Text(entry.m_name);
    const QString path =
        QzGetSaveFileName(this, QStringLiteral("Save As"), QString::fromLatin1(type.m_filter),
                          QString::fromLatin1(type.m_extension), start);
    if (path.isEmpty())
        return;
    try {
        WriteFileAtomic(path.toStdString(), LevelFileBytes(entry));
    } catch (const std::exception& e) {
        QzMessageBox(Text(e.what()), QMessageBox::Ok, this);
    }
}

void CFilesInLevelDlg::WriteDragOutFile(int row, const std::filesystem::path& path)
{
    // The list placed path inside its temporary folder from the row's name (EntryHostPath).
    const int index = EntryOfRow(row);
    if (index < 0)
        return;
    try {
        WriteFileAtomic(
            path, LevelFileBytes(*m_level.m_levelFiles.m_entries[static_cast<std::size_t>(index)]));
    } catch (const std::exception& e) {
        QzMessageBox(Text(e.what()), QMessageBox::Ok, this);
    }
}
