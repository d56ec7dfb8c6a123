#include "resources/ui/FileManagerDlg.h"

#include "engine/AssetSources.h"
#include "engine/BitmapImage.h"
#include "engine/ColorMap.h"
#include "engine/DecodeMaterial.h"
#include "engine/MaterialConversion.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "resources/EntryHostPath.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/DragTreeCtrl.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <system_error>

namespace {

using DialogText::Id;
using DialogText::Text;

constexpr unsigned int kHelpContext = 0x20000u + Dlg::kFileManager;

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// The text after the last backslash.
std::string_view FileNameOf(std::string_view path)
{
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The path up to its last backslash (empty without one) and its number of backslashes.
std::string_view DirectoryOf(std::string_view path)
{
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

std::uint32_t Depth(std::string_view path)
{
    return static_cast<std::uint32_t>(std::count(path.begin(), path.end(), '\\'));
}

struct CAddType {
    const char* extension;
    const char* filter;
};
// The add dialog's filters in the order they are offered.
constexpr std::array<CAddType, 17> kAddFilters = {{
    {".qz", "QZ Files (*.qz)|*.qz|"},
    {".cog", "COG Files (*.cog)|*.cog|"},
    {".qzl", "QZL Files (*.qzl)|*.qzl|"},
    {".uni", "UNI Files (*.uni)|*.uni|"},
    {".3do", "3DO Files (*.3do)|*.3do|"},
    {".mat", "MAT Files (*.mat)|*.mat|"},
    {".key", "KEY Files (*.key)|*.key|"},
    {".dat", "DAT Files (*.dat)|*.dat|"},
    {".ai", "AI Files (*.ai*)|*.ai*|"},
    {".cmp", "CMP Files (*.cmp)|*.cmp|"},
    {".par", "PAR Files (*.par)|*.par|"},
    {".per", "PER Files (*.per)|*.per|"},
    {".pup", "PUP Files (*.pup)|*.pup|"},
    {".snd", "SND Files (*.snd)|*.snd|"},
    {".spr", "SPR Files (*.spr)|*.spr|"},
    {".wav", "WAV Files (*.wav)|*.wav|"},
    {".bmp", "BMP Files (*.bmp)|*.bmp|"},
}};
// The order in which a folder's first entry name chooses one of them (".qz" last: it is part of
// ".qzl").
constexpr std::array<const char*, 17> kAddFilterChoice = {
    ".cog", ".qzl", ".uni", ".3do", ".mat", ".key", ".dat", ".ai", ".cmp",
    ".par", ".per", ".pup", ".snd", ".spr", ".wav", ".bmp", ".qz"};

struct CFolderRule {
    const char* contains;
    const char* prefix;
};
constexpr std::array<CFolderRule, 14> kFolders = {{
    {".cog", "cog\\"},
    {".qzl", "qzl\\"},
    {".uni", "misc\\"},
    {".3do", "3do\\"},
    {".mat", "mat\\"},
    {".key", "3do\\key\\"},
    {".ai", "misc\\ai\\"},
    {".cmp", "misc\\cmp\\"},
    {".par", "misc\\par\\"},
    {".per", "misc\\per\\"},
    {".pup", "misc\\pup\\"},
    {".snd", "misc\\snd\\"},
    {".spr", "misc\\spr\\"},
    {".wav", "voiceuu\\"},
}};

// Shows the message of a failed read or write.
void ShowFailure(QWidget* parent, const std::exception& failure)
{
    QzMessageBox(QString::fromLocal8Bit(failure.what()), QMessageBox::Ok, parent);
}

// Asks text with Yes and No while "Warning" is on; with it off the answer is Yes.
bool Confirm(const CSettings& settings, const QString& text, QWidget* parent)
{
    if (settings.m_warning == 0)
        return true;
    return QzMessageBox(text, QMessageBox::Yes | QMessageBox::No, parent) == QMessageBox::Yes;
}

// The palette of a colour map of the game: the one named, else the first of the index.
std::optional<CPalette> GamePalette(const CGameResources* game, std::string_view name)
{
    if (game == nullptr || game->m_archive == nullptr)
        return std::nullopt;
    if (name.empty() && game->m_treeColorMaps.m_entries.empty())
        return std::nullopt;
    const std::string chosen =
        name.empty() ? game->m_treeColorMaps.m_entries.front()->m_name : std::string(name);
    const std::optional<CColorMap> map = GameColorMap(*game, chosen);
    if (!map)
        return std::nullopt;
    return map->GetPalette();
}

}  // namespace

CFileManagerDlg::CFileManagerDlg(const CSettings& settings, const CGameResources* game,
                                 QWidget* parent)
    : QDialog(parent), m_settings(settings), m_game(game)
{
    std::error_code error;
    m_savedDirectory = std::filesystem::current_path(error);

    setObjectName(Id(Dlg::kFileManager));
    setWindowTitle(QStringLiteral("File Manager"));
    setSizeGripEnabled(true);

    m_tree = new CDragTreeCtrl(this);
    m_tree->setObjectName(Id(Ctl::kFileManagerTree));
    m_tree->setHeaderHidden(true);
    m_list = new CDragListCtrl(this);
    m_list->setObjectName(Id(Ctl::kFileManagerList));
    m_list->InsertColumn(160, false, QStringLiteral("Name"));
    m_list->InsertColumn(63, true, QStringLiteral("Offset"));
    m_list->InsertColumn(79, true, QStringLiteral("Size"));
    m_list->setMinimumWidth(160 + 63 + 79 + 24);
    m_list->SetEntryWriter(
        [this](int row, const std::filesystem::path& path) { WriteEntry(row, path); });
    m_list->EnableDragOut(true);

    const auto button = [this](const char* text, int id) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(Id(id));
        b->setAutoDefault(false);
        return b;
    };
    m_open = button("&Open", Ctl::kFileManagerOpen);
    QPushButton* close = button("&Close", Ctl::kCancel);
    m_saveAs = button("&Save As", Ctl::kFileManagerSaveAs);
    QPushButton* help = button("&Help", Ctl::kHelp);
    m_add = button("&Add", Ctl::kFileManagerAdd);
    m_delete = button("&Delete", Ctl::kFileManagerDelete);
    m_new = button("&New", Ctl::kFileManagerNew);

    connect(m_open, &QPushButton::clicked, this, &CFileManagerDlg::OnOpen);
    connect(close, &QPushButton::clicked, this, &CFileManagerDlg::reject);
    connect(m_saveAs, &QPushButton::clicked, this, &CFileManagerDlg::OnSaveAs);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(m_add, &QPushButton::clicked, this, &CFileManagerDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CFileManagerDlg::OnDelete);
    connect(m_new, &QPushButton::clicked, this, &CFileManagerDlg::OnNew);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CFileManagerDlg::OnTreeSelection);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CFileManagerDlg::OnListSelection);
    connect(m_tree, &CDragTreeCtrl::FileDropped, this,
            [this] { AddFile(std::filesystem::path(m_tree->DroppedPath().toStdString())); });

    // Buttons on the right; Add and Delete (or New, in Delete's place) at the bottom.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton* b : {m_open, close, m_saveAs, help})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {m_add, m_delete, m_new})
        buttons->addWidget(b);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_list, 0);
    layout->addLayout(buttons);
    resize(640, 360);

    m_delete->setEnabled(false);
    m_add->setEnabled(false);
    m_saveAs->setEnabled(false);
    m_new->show();
    m_add->hide();
    m_delete->hide();
}

CFileManagerDlg::~CFileManagerDlg()
{
    std::error_code error;
    if (!m_savedDirectory.empty())
        std::filesystem::current_path(m_savedDirectory, error);
}

void CFileManagerDlg::reject()
{
    m_tree->clear();
    m_folders.clear();
    QDialog::reject();
}

// --- Tables ---

std::string CFileManagerDlg::FolderPrefix(std::string_view fileName)
{
    const std::string name = ToLowerAscii(fileName);
    for (const CFolderRule& rule : kFolders)
        if (Contains(name, rule.contains))
            return rule.prefix;
    return {};
}

QString CFileManagerDlg::AddFilter(std::string_view folderEntryName)
{
    const std::string name = ToLowerAscii(folderEntryName);
    if (!name.empty()) {
        for (const char* extension : kAddFilterChoice) {
            if (!Contains(name, extension))
                continue;
            for (const CAddType& type : kAddFilters)
                if (std::string_view(type.extension) == extension)
                    return QString::fromLatin1(type.filter) + QLatin1Char('|');
        }
    }
    QString all;
    for (const CAddType& type : kAddFilters)
        all += QString::fromLatin1(type.filter);
    return all + QLatin1Char('|');
}

// --- Reading ---

bool CFileManagerDlg::OpenArchive(const std::filesystem::path& path)
{
    try {
        CGobArchive archive = CGobArchive::Load(path);
        m_archivePath = path;
        m_archive = std::move(archive);
    } catch (const std::exception& failure) {
        ShowFailure(this, failure);
        return false;
    }
    setWindowTitle(QStringLiteral("File Manager - ") + QString::fromStdString(path.string()));
    ReadArchive();
    SetButtonsAfterOpen();
    return true;
}

void CFileManagerDlg::ReadArchive()
{
    m_filling = true;
    m_tree->clear();
    m_list->clear();
    m_selectedRows.clear();
    m_currentFolder = -1;
    m_folders = CGobArchive::BuildFolderTree(m_archive.GetDirectory(), m_archivePath);
    std::vector<QTreeWidgetItem*> items;
    items.reserve(m_folders.size());
    for (std::size_t i = 0; i < m_folders.size(); ++i) {
        const CGobFolderItem& folder = m_folders[i];
        QTreeWidgetItem* item = nullptr;
        if (folder.m_parent >= 0 && static_cast<std::size_t>(folder.m_parent) < items.size())
            item = new QTreeWidgetItem(items[static_cast<std::size_t>(folder.m_parent)]);
        else
            item = new QTreeWidgetItem(m_tree);
        item->setText(0, Text(folder.m_label));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        items.push_back(item);
    }
    if (!items.empty()) {
        items.front()->setExpanded(true);
        m_tree->scrollToItem(items.front());
    }
    m_filling = false;
    m_tree->setFocus();
}

void CFileManagerDlg::SetButtonsAfterOpen()
{
    m_add->setEnabled(true);
    m_saveAs->setEnabled(false);
    m_delete->setEnabled(false);
    m_new->hide();
    m_add->show();
    m_delete->show();
}

void CFileManagerDlg::FillList(int folderItem)
{
    m_filling = true;
    m_list->clear();
    m_selectedRows.clear();
    const CGobFolderItem& folder = m_folders.at(static_cast<std::size_t>(folderItem));
    const bool root = folderItem == 0;
    const std::string_view directory = root ? std::string_view() : DirectoryOf(folder.m_path);
    const std::uint32_t depth = root ? 0 : folder.m_size;
    const std::vector<CGobEntry>& entries = m_archive.GetEntries();
    std::size_t first = 0;
    if (folder.m_offset >= CGobArchive::kHeaderSize)
        first = (folder.m_offset - CGobArchive::kHeaderSize) / CGobArchive::kRecordSize;
    for (std::size_t i = first; i < entries.size(); ++i) {
        const CGobEntry& entry = entries[i];
        if (Depth(entry.m_path) != depth || DirectoryOf(entry.m_path) != directory)
            break;
        m_list->AddRow({Text(FileNameOf(entry.m_path)), QString::number(entry.m_offset),
                        QString::number(entry.m_size)},
                       static_cast<qint64>(i));
    }
    m_filling = false;
}

void CFileManagerDlg::OnTreeSelection()
{
    if (m_filling)
        return;
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    if (selected.isEmpty())
        return;
    CWaitCursor wait;
    m_currentFolder = selected.front()->data(0, Qt::UserRole).toInt();
    if (m_currentFolder < 0 || static_cast<std::size_t>(m_currentFolder) >= m_folders.size()) {
        m_currentFolder = -1;
        return;
    }
    FillList(m_currentFolder);
    m_add->setEnabled(true);
    m_saveAs->setEnabled(false);
    m_delete->setEnabled(false);
}

void CFileManagerDlg::OnListSelection()
{
    if (m_filling)
        return;
    CWaitCursor wait;
    m_filling = true;
    m_tree->clearSelection();
    m_filling = false;
    m_currentFolder = -1;
    // Rows keep the order in which they became selected.
    std::vector<int> now;
    for (const QTreeWidgetItem* item : m_list->selectedItems())
        now.push_back(m_list->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)));
    std::erase_if(m_selectedRows,
                  [&](int row) { return std::find(now.begin(), now.end(), row) == now.end(); });
    std::sort(now.begin(), now.end());
    for (const int row : now)
        if (std::find(m_selectedRows.begin(), m_selectedRows.end(), row) == m_selectedRows.end())
            m_selectedRows.push_back(row);
    m_add->setEnabled(false);
    m_saveAs->setEnabled(!m_selectedRows.empty());
    m_delete->setEnabled(!m_selectedRows.empty());
}

int CFileManagerDlg::EntryOfRow(int row) const
{
    const qint64 index = m_list->RowData(row);
    if (index < 0 || static_cast<std::size_t>(index) >= m_archive.GetEntries().size())
        return -1;
    return static_cast<int>(index);
}

// --- Writing ---

void CFileManagerDlg::Changed()
{
    if (m_archiveWritten)
        m_archiveWritten(m_archivePath);
}

void CFileManagerDlg::WriteArchive(const std::string& entryPath,
                                   std::span<const std::uint8_t> bytes, bool reread)
{
    try {
        CGobArchive::WriteArchive(m_archivePath, entryPath, bytes);
        m_archive = CGobArchive::Load(m_archivePath);
    } catch (const std::exception& failure) {
        ShowFailure(this, failure);
        return;
    }
    if (reread)
        ReadArchive();
    Changed();
}

bool CFileManagerDlg::RewriteArchive(const std::string& entryPath, bool reread)
{
    bool removed = false;
    try {
        removed = CGobArchive::RewriteArchive(m_archivePath, entryPath);
        m_archive = CGobArchive::Load(m_archivePath);
    } catch (const std::exception& failure) {
        ShowFailure(this, failure);
        return false;
    }
    if (reread)
        ReadArchive();
    if (removed)
        Changed();
    return removed;
}

// --- Commands ---

void CFileManagerDlg::OnOpen()
{
    const QString path = QzGetOpenFileName(
        this, QStringLiteral("Open"), QStringLiteral("GOB/GOO Files (*.gob, *goo)|*.gob;*.goo||"),
        QStringLiteral("GOB"));
    if (path.isEmpty())
        return;
    OpenArchive(std::filesystem::path(path.toStdString()));
}

void CFileManagerDlg::OnNew()
{
    const QString path = QzGetSaveFileName(
        this, QStringLiteral("New"),
        QStringLiteral("GOB Files (*.gob)|*.gob|GOO Files (*.goo)|*.goo||"), QStringLiteral("GOB"));
    if (path.isEmpty())
        return;
    const std::filesystem::path file(path.toStdString());
    try {
        CGobArchive::CreateEmptyArchive(file);
    } catch (const std::exception& failure) {
        ShowFailure(this, failure);
        return;
    }
    OpenArchive(file);
    // A file made anew over an archive in use is a change to that archive as well.
    if (m_archiveWritten)
        m_archiveWritten(file);
}

void CFileManagerDlg::OnAdd()
{
    std::string folderName;
    if (m_currentFolder >= 0)
        folderName =
            std::string(FileNameOf(m_folders.at(static_cast<std::size_t>(m_currentFolder)).m_path));
    const QString path = QzGetOpenFileName(this, QStringLiteral("Add"), AddFilter(folderName),
                                           QStringLiteral("QZL"));
    if (path.isEmpty())
        return;
    AddFile(std::filesystem::path(path.toStdString()));
}

void CFileManagerDlg::AddFile(const std::filesystem::path& source)
{
    if (m_archivePath.empty())
        return;
    // The file is opened as given; its name is matched without regard to case.
    const std::string fileName = source.filename().string();
    const std::string lowerName = ToLowerAscii(fileName);
    std::vector<std::uint8_t> bytes;
    std::string name = fileName;
    try {
        bytes = ReadFileBytes(source);
        if (Contains(lowerName, ".bmp")) {
            CBitmapImage image;
            if (!image.ReadBmp(bytes, fileName)) {
                QzMessageBox(QStringLiteral("%1 is not a BMP file.").arg(Text(fileName)),
                             QMessageBox::Ok, this);
                return;
            }
            if (const std::optional<CPalette> palette = GamePalette(m_game, "dflt.cmp"))
                image.ReducePalette(*palette);
            bytes = image.WriteMat();
            name = MaterialNameForBitmap(fileName);
        }
    } catch (const std::exception& failure) {
        ShowFailure(this, failure);
        return;
    }
    const std::string entryPath = FolderPrefix(name) + name;

    // An entry of the same path (letter case aside) is replaced, after the question.
    const std::string lowerPath = ToLowerAscii(entryPath);
    for (const CGobEntry& entry : m_archive.GetEntries()) {
        if (ToLowerAscii(entry.m_path) != lowerPath)
            continue;
        const std::string shown(FileNameOf(entry.m_path));
        if (!Confirm(m_settings,
                     QStringLiteral("The item \"") + Text(shown) +
                         QStringLiteral("\" already exist. Do you want to overwrite the existing "
                                        "item?"),
                     this))
            return;
        const std::string stored = entry.m_path;  // the loop's entry goes with the rewrite
        if (!RewriteArchive(stored, true))
            return;
        break;
    }
    WriteArchive(entryPath, bytes, true);
}

void CFileManagerDlg::WriteEntry(int row, const std::filesystem::path& path)
{
    const int entry = EntryOfRow(row);
    if (entry < 0)
        return;
    try {
        WriteFileAtomic(path, m_archive.GetData(static_cast<std::size_t>(entry)));
    } catch (const std::exception& failure) {
        ShowFailure(this, failure);
    }
}

void CFileManagerDlg::OnSaveAs()
{
    std::filesystem::path folder;
    for (std::size_t i = 0; i < m_selectedRows.size(); ++i) {
        const int entry = EntryOfRow(m_selectedRows[i]);
        if (entry < 0)
            continue;
        const CGobEntry& record = m_archive.GetEntries()[static_cast<std::size_t>(entry)];
        const std::string name(FileNameOf(record.m_path));
        std::filesystem::path output;
        bool asBitmap = false;
        if (i == 0) {
            const std::size_t dot = name.find('.');
            const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
            const std::string upper = ToUpperAscii(extension);
            const bool mat = ToLowerAscii(extension) == "mat";
            QString filter =
                QStringLiteral("%1 Files (*.%2)|*.%2|").arg(Text(upper), Text(extension));
            if (mat)
                filter += QStringLiteral("BMP Files (*.bmp)|*.bmp|");
            filter += QLatin1Char('|');
            // The dialog proposes the entry's name, cleaned as a file name, in its last folder.
            const std::filesystem::path last(QzLastFileFolder().toStdString());
            const std::optional<std::filesystem::path> proposed = EntryHostPath(last, name);
            const QString chosen =
                QzGetSaveFileName(this, QStringLiteral("Save As"), filter, QString(),
                                  QString::fromStdString((proposed ? *proposed : last).string()));
            if (chosen.isEmpty())
                return;
            output = std::filesystem::path(chosen.toStdString());
            folder = output.parent_path();
            if (mat && ToLowerAscii(output.extension().string()) == ".bmp") {
                asBitmap = true;
                const std::string file = output.filename().string();
                output = folder / (file.substr(0, file.find('.')) + ".bmp");
            }
        } else {
            const std::optional<std::filesystem::path> placed =
                EntryHostPath(folder, record.m_path);
            if (!placed) {
                QzMessageBox(QStringLiteral("The item \"") + Text(record.m_path) +
                                 QStringLiteral("\" has no name that can be saved as a file."),
                             QMessageBox::Ok, this);
                continue;
            }
            output = *placed;
        }
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(output, error)) &&
            !Confirm(m_settings,
                     QStringLiteral("The file \"") + QString::fromStdString(output.string()) +
                         QStringLiteral("\" already exists. Do you want to replace it?"),
                     this))
            continue;
        try {
            const std::span<const std::uint8_t> bytes =
                m_archive.GetData(static_cast<std::size_t>(entry));
            if (asBitmap) {
                const std::optional<CPalette> palette = GamePalette(m_game, "");
                WriteFileAtomic(
                    output,
                    ConvertMatToBmp(bytes, palette ? *palette : CColorMap::GreyRamp(), name));
            } else {
                WriteFileAtomic(output, bytes);
            }
        } catch (const std::exception& failure) {
            ShowFailure(this, failure);
            return;
        }
    }
}

void CFileManagerDlg::OnDelete()
{
    std::vector<std::string> paths;
    for (const int row : m_selectedRows) {
        const int entry = EntryOfRow(row);
        if (entry >= 0)
            paths.push_back(m_archive.GetEntries()[static_cast<std::size_t>(entry)].m_path);
    }
    if (paths.empty())
        return;
    if (!Confirm(m_settings, QStringLiteral("Do you want to delete the selected items?"), this))
        return;
    for (std::size_t i = 0; i < paths.size(); ++i)
        RewriteArchive(paths[i], i + 1 == paths.size());
    m_selectedRows.clear();
}
