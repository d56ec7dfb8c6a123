#include "episode/ui/MultiLevelEditorDlg.h"

#include "episode/EpisodeArchive.h"
#include "episode/EpisodeFile.h"
#include "episode/MultiLevelEntries.h"
#include "episode/ui/CaptionList.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QVBoxLayout>

#include <array>
#include <cstddef>
#include <utility>

namespace {

using DialogText::Id;
using DialogText::Latin1;
using DialogText::Text;

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kMultiLevelEditor);
constexpr const char* kCaption = "Multi Level Editor";
constexpr const char* kQmlFilter = "QML Files (*.qml)|*.qml||";
constexpr const char* kSaveFilter =
    "QML Files (*.qml)|*.qml|GOB Files (*.gob)|*.gob|GOO Files (*.goo)|*.goo||";
constexpr const char* kAddFilter = "QZE Files (*.qze)|*.qze||";

QLineEdit* Edit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(Id(id));
    return edit;
}

QTextEdit* ListText(QWidget* parent, int id)
{
    auto* text = new QTextEdit(parent);
    text->setObjectName(Id(id));
    text->setAcceptRichText(false);
    text->setLineWrapMode(QTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(12);
    text->setFont(font);
    return text;
}

// A list as its control shows it: every string followed by a line end.
QString ShownList(const std::vector<std::string>& strings)
{
    QString shown = Text(JoinWithCrLf(strings));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// The list of a control: the shown text cut at every line end, or stored as it was when the
// control still holds what it was given.
void StoreList(const QTextEdit& control, const QString& shown, std::vector<std::string>& strings)
{
    QString text = control.toPlainText();
    if (text == shown)
        return;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    strings = SplitAtCrLf(Latin1(text));
}

// An integer field: the number typed, or value when the text is none.
std::int32_t IntegerField(const QLineEdit& edit, std::int32_t value)
{
    bool ok = false;
    const int typed = edit.text().trimmed().toInt(&ok);
    return ok ? typed : value;
}

int Selected(const QComboBox& list, int value)
{
    return list.currentIndex() >= 0 ? list.currentIndex() : value;
}

void Select(QComboBox& list, int value)
{
    list.setCurrentIndex(value >= 0 && value < list.count() ? value : -1);
}

std::string HostPath(const QString& path)
{
    return path.toStdString();
}

}  // namespace

CMultiLevelEditorDlg::CMultiLevelEditorDlg(const CGameResources& game, int product, QWidget* parent)
    : QDialog(parent), m_game(game), m_product(product)
{
    setObjectName(Id(Dlg::kMultiLevelEditor));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    m_masterTitle = Edit(this, Ctl::kMultiMasterTitle);
    m_masterType = CaptionList(this, Ctl::kMultiMasterType, kEpisodeTypeCaptions);
    m_levelTitles = new QComboBox(this);
    m_levelTitles->setObjectName(Id(Ctl::kMultiLevelTitles));
    m_levelTitles->setEditable(true);
    m_levelTitles->setInsertPolicy(QComboBox::NoInsert);
    m_levelTitles->setCompleter(nullptr);
    m_levelPath = Edit(this, Ctl::kMultiLevelPath);
    m_levelFile = Edit(this, Ctl::kMultiLevelFile);
    m_levelType = CaptionList(this, Ctl::kMultiLevelType, kLevelKindCaptions);
    m_levelNumber = Edit(this, Ctl::kMultiLevelNumber);
    m_gotoA = Edit(this, Ctl::kMultiGotoA);
    m_gotoB = Edit(this, Ctl::kMultiGotoB);
    m_lightPower = CaptionList(this, Ctl::kMultiLightPower, kLightPowerNames);
    m_darkPower = CaptionList(this, Ctl::kMultiDarkPower, kDarkPowerNames);
    m_goalsBase = Edit(this, Ctl::kMultiGoalsBase);
    m_cogsBase = Edit(this, Ctl::kMultiCogsBase);
    m_goals = ListText(this, Ctl::kMultiGoals);
    m_texts = ListText(this, Ctl::kMultiTexts);
    m_cogs = ListText(this, Ctl::kMultiCogs);

    const auto button = [this](const char* text, int id) {
        return DialogText::Button(this, text, id);
    };
    QPushButton* open = button("&Open", Ctl::kMultiOpen);
    QPushButton* close = button("&Close", Ctl::kCancel);
    QPushButton* saveAs = button("&Save As", Ctl::kMultiSaveAs);
    QPushButton* help = button("&Help", Ctl::kHelp);
    QPushButton* add = button("&Add", Ctl::kMultiAdd);
    m_delete = button("&Delete", Ctl::kMultiDelete);
    connect(open, &QPushButton::clicked, this, &CMultiLevelEditorDlg::OnOpen);
    connect(close, &QPushButton::clicked, this, &CMultiLevelEditorDlg::reject);
    connect(saveAs, &QPushButton::clicked, this, &CMultiLevelEditorDlg::OnSaveAs);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(add, &QPushButton::clicked, this, &CMultiLevelEditorDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CMultiLevelEditorDlg::OnDelete);
    connect(m_levelTitles, &QComboBox::currentIndexChanged, this,
            &CMultiLevelEditorDlg::OnSelchangeLevelTitles);
    // A selection change puts the new line's text into the edit before it is reported (the
    // index has changed by then): only the current line's edits are the user's title.
    connect(m_levelTitles, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (m_current >= 0 && m_levelTitles->currentIndex() == m_current)
            m_currentTitle = text;
    });

    auto* grid = new QGridLayout;
    const auto label = [this](const char* text) {
        return new QLabel(QString::fromLatin1(text), this);
    };
    grid->addWidget(label("Master Title:"), 0, 0);
    grid->addWidget(m_masterTitle, 0, 1, 1, 3);
    grid->addWidget(label("Master Type:"), 0, 4);
    grid->addWidget(m_masterType, 0, 5);
    grid->addWidget(label("Level Titles:"), 1, 0);
    grid->addWidget(m_levelTitles, 1, 1, 1, 5);
    grid->addWidget(label("Level Path:"), 2, 0);
    grid->addWidget(m_levelPath, 2, 1, 1, 5);
    grid->addWidget(label("Level File:"), 3, 0);
    grid->addWidget(m_levelFile, 3, 1, 1, 3);
    grid->addWidget(label("Level Type:"), 3, 4);
    grid->addWidget(m_levelType, 3, 5);
    grid->addWidget(label("Level #:"), 4, 0);
    grid->addWidget(m_levelNumber, 4, 1);
    grid->addWidget(label("Goto A:"), 4, 2);
    grid->addWidget(m_gotoA, 4, 3);
    grid->addWidget(label("Goto B:"), 4, 4);
    grid->addWidget(m_gotoB, 4, 5);
    grid->addWidget(label("Light Power:"), 5, 0);
    grid->addWidget(m_lightPower, 5, 1, 1, 3);
    grid->addWidget(label("Dark Power:"), 5, 4);
    grid->addWidget(m_darkPower, 5, 5);
    grid->addWidget(label("Goals Base:"), 6, 0);
    grid->addWidget(m_goalsBase, 6, 1, 1, 3);
    grid->addWidget(label("Cogs Base:"), 6, 4);
    grid->addWidget(m_cogsBase, 6, 5);

    auto* lists = new QHBoxLayout;
    for (const auto& [caption, control] :
         {std::pair{"Goals:", m_goals}, std::pair{"Texts:", m_texts}, std::pair{"Cogs:", m_cogs}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(label(caption));
        control->setMinimumSize(DialogUnits(*this, 100, 70));
        column->addWidget(control, 1);
        lists->addLayout(column, 1);
    }

    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {open, close, saveAs, help, add, m_delete})
        buttons->addWidget(each);
    buttons->addStretch(1);

    auto* fields = new QVBoxLayout;
    fields->addLayout(grid);
    fields->addLayout(lists, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    ClearFields();
    FitDialog(*this, DialogUnits(*this, 360, 250));
}

CMultiLevelEditorDlg::~CMultiLevelEditorDlg()
{
    m_levelTitles->disconnect(this);
}

void CMultiLevelEditorDlg::StoreLevelFields()
{
    if (m_current < 0 || m_current >= static_cast<int>(m_list.m_items.size()))
        return;
    CMultiLevelItem& entry = *m_list.m_items[static_cast<std::size_t>(m_current)];
    entry.m_levelTitle = Latin1(m_currentTitle);
    {
        const QSignalBlocker blocker(m_levelTitles);
        m_levelTitles->setItemText(m_current, m_currentTitle);
    }
    entry.m_fileName = Latin1(m_levelFile->text());
    entry.m_levelPath = m_levelPath->text().toStdString();  // a host path, UTF-8
    entry.m_lineNumber = IntegerField(*m_levelNumber, entry.m_lineNumber);
    entry.m_gotoA = IntegerField(*m_gotoA, entry.m_gotoA);
    entry.m_gotoB = IntegerField(*m_gotoB, entry.m_gotoB);
    entry.m_goalsBase = BaseFromText(Latin1(m_goalsBase->text()), entry.m_goalsBase);
    entry.m_cogsBase = BaseFromText(Latin1(m_cogsBase->text()), entry.m_cogsBase);
    entry.m_levelType = Selected(*m_levelType, entry.m_levelType);
    entry.m_lightPower = Selected(*m_lightPower, entry.m_lightPower);
    entry.m_darkPower = Selected(*m_darkPower, entry.m_darkPower);
    StoreList(*m_goals, m_shownGoals, entry.m_goals);
    StoreList(*m_texts, m_shownTexts, entry.m_texts);
    StoreList(*m_cogs, m_shownCogs, entry.m_cogs);
    m_current = -1;
}

void CMultiLevelEditorDlg::OnSelchangeLevelTitles()
{
    StoreLevelFields();
    const int index = m_levelTitles->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_list.m_items.size()))
        return;
    ShowEntry(index);
}

void CMultiLevelEditorDlg::ShowEntry(int index)
{
    const CMultiLevelItem& entry = *m_list.m_items[static_cast<std::size_t>(index)];
    {
        const QSignalBlocker blocker(m_levelTitles);
        m_levelTitles->setCurrentIndex(index);
        m_levelTitles->setEditText(Text(entry.m_levelTitle));
    }
    m_currentTitle = Text(entry.m_levelTitle);
    m_levelFile->setText(Text(entry.m_fileName));
    m_levelPath->setText(QString::fromStdString(entry.m_levelPath));
    m_levelNumber->setText(QString::number(entry.m_lineNumber));
    m_gotoA->setText(QString::number(entry.m_gotoA));
    m_gotoB->setText(QString::number(entry.m_gotoB));
    m_goalsBase->setText(Text(FormatC("%05d", entry.m_goalsBase)));
    m_cogsBase->setText(Text(FormatC("%05d", entry.m_cogsBase)));
    m_shownGoals = ShownList(entry.m_goals);
    m_shownTexts = ShownList(entry.m_texts);
    m_shownCogs = ShownList(entry.m_cogs);
    m_goals->setPlainText(m_shownGoals);
    m_texts->setPlainText(m_shownTexts);
    m_cogs->setPlainText(m_shownCogs);
    Select(*m_levelType, entry.m_levelType);
    Select(*m_lightPower, entry.m_lightPower);
    Select(*m_darkPower, entry.m_darkPower);
    m_current = index;
    m_delete->setEnabled(true);
}

void CMultiLevelEditorDlg::ClearFields()
{
    {
        const QSignalBlocker blocker(m_levelTitles);
        m_levelTitles->setCurrentIndex(-1);
        m_levelTitles->setEditText(QString());
    }
    m_currentTitle.clear();
    for (QLineEdit* edit : {m_levelPath, m_levelFile, m_goalsBase, m_cogsBase})
        edit->clear();
    m_levelNumber->setText(QStringLiteral("10"));
    m_gotoA->setText(QStringLiteral("-1"));
    m_gotoB->setText(QStringLiteral("-1"));
    for (QTextEdit* text : {m_goals, m_texts, m_cogs})
        text->clear();
    m_shownGoals.clear();
    m_shownTexts.clear();
    m_shownCogs.clear();
    for (QComboBox* list : {m_levelType, m_lightPower, m_darkPower})
        list->setCurrentIndex(0);
    m_current = -1;
    m_delete->setEnabled(false);
}

void CMultiLevelEditorDlg::SetPath(const QString& path)
{
    m_path = path;
    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral(" - ") + path);
}

void CMultiLevelEditorDlg::OnOpen()
{
    const QString path = QzGetOpenFileName(this, QStringLiteral("Open"),
                                           QString::fromLatin1(kQmlFilter), QStringLiteral("qml"));
    if (path.isEmpty())
        return;
    CMultiLevelList read;
    try {
        read = ReadMultiLevelBytes(ReadFileBytes(HostPath(path)));
    } catch (const CFileException& e) {
        QzMessageBox(Text(e.what()) + QStringLiteral(" The list is left as it was."),
                     QMessageBox::Ok, this);
        return;
    } catch (const CArchiveException& e) {
        QzMessageBox(Text(FormatC("\"%s\" is not a multi-level file that can be read: %s The "
                                  "list is left as it was.",
                                  HostPath(path).c_str(), e.what())),
                     QMessageBox::Ok, this);
        return;
    }
    // Only a file that was read becomes the one Close writes to.
    SetPath(path);
    ClearFields();
    {
        const QSignalBlocker blocker(m_levelTitles);
        m_levelTitles->clear();
    }
    m_list = std::move(read);
    {
        const QSignalBlocker blocker(m_levelTitles);
        for (const auto& entry : m_list.m_items)
            m_levelTitles->addItem(Text(entry->m_levelTitle));
    }
    Select(*m_masterType, m_list.m_masterType);
    m_masterTitle->setText(Text(m_list.m_masterTitle));
    if (m_list.m_items.empty())
        ClearFields();
    else
        ShowEntry(0);
}

bool CMultiLevelEditorDlg::WriteList(const QString& path)
{
    m_list.m_masterTitle = Latin1(m_masterTitle->text());
    m_list.m_masterType = Selected(*m_masterType, m_list.m_masterType);
    try {
        WriteFileAtomic(HostPath(path), WriteMultiLevelBytes(m_list));
    } catch (const CFileException& e) {
        QzMessageBox(Text(e.what()) + QStringLiteral(" The list was not saved."), QMessageBox::Ok,
                     this);
        return false;
    }
    return true;
}

void CMultiLevelEditorDlg::OnSaveAs()
{
    // The level shown stays the one the fields edit.
    const int shown = m_current;
    StoreLevelFields();
    const QString path = QzGetSaveFileName(this, QStringLiteral("Save As"),
                                           QString::fromLatin1(kSaveFilter), QStringLiteral("qml"));
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().toLower() == QStringLiteral("qml")) {
            if (WriteList(path))
                SetPath(path);
        } else {
            BuildEpisodeArchive(path);
        }
    }
    if (shown >= 0)
        ShowEntry(shown);
}

void CMultiLevelEditorDlg::BuildEpisodeArchive(const QString& path)
{
    m_list.m_masterTitle = Latin1(m_masterTitle->text());
    m_list.m_masterType = Selected(*m_masterType, m_list.m_masterType);
    CEpisodeArchiveResult result;
    try {
        const CWaitCursor wait;
        result =
            ::BuildEpisodeArchive(HostPath(path), m_list.m_masterTitle, m_list.m_masterType,
                                  m_list.m_items, LevelFileOpener(m_product), m_game, m_product);
    } catch (const CFileException& e) {
        QzMessageBox(Text(e.what()) + QStringLiteral(" The episode archive was not written."),
                     QMessageBox::Ok, this);
        return;
    } catch (const CArchiveException& e) {
        QzMessageBox(Text(FormatC("The episode archive \"%s\" was not written: %s",
                                  HostPath(path).c_str(), e.what())),
                     QMessageBox::Ok, this);
        return;
    }
    if (result.m_skipped.empty())
        return;
    std::string text = "The episode archive was written without these items:";
    for (const std::string& skipped : result.m_skipped)
        text += "\n" + skipped;
    QzMessageBox(Text(text), QMessageBox::Ok, this);
}

void CMultiLevelEditorDlg::OnAdd()
{
    StoreLevelFields();
    const QStringList paths =
        QzGetOpenFileNames(this, QStringLiteral("Add"), QString::fromLatin1(kAddFilter));
    if (paths.isEmpty())
        return;
    std::string failed;
    bool added = false;
    {
        const CWaitCursor wait;
        for (const QString& path : paths) {
            CLevelFile file;
            try {
                file = LoadLevelFile(HostPath(path), m_product);
            } catch (const CFileException& e) {
                failed += std::string("\n") + e.what();
                continue;
            } catch (const CArchiveException& e) {
                failed += FormatC("\n\"%s\": %s", HostPath(path).c_str(), e.what());
                continue;
            }
            const CDocumentFields& fields = file.m_contents.m_document;
            // The first level of an empty list names the episode when it has no name yet.
            if (m_list.m_items.empty() && m_masterTitle->text().isEmpty())
                m_masterTitle->setText(Text(fields.m_episodeTitle));
            std::unique_ptr<CMultiLevelItem> entry = EntryFromLevel(HostPath(path), fields);
            const QString title = Text(entry->m_levelTitle);
            AppendEntry(m_list.m_items, std::move(entry));
            const QSignalBlocker blocker(m_levelTitles);
            m_levelTitles->addItem(title);
            added = true;
        }
    }
    if (added)
        ShowEntry(static_cast<int>(m_list.m_items.size()) - 1);
    if (!failed.empty())
        QzMessageBox(Text("These levels could not be added:" + failed), QMessageBox::Ok, this);
}

void CMultiLevelEditorDlg::OnDelete()
{
    if (m_current < 0 || m_current >= static_cast<int>(m_list.m_items.size()))
        return;
    const int index = m_current;
    m_list.m_items.erase(m_list.m_items.begin() + index);
    {
        const QSignalBlocker blocker(m_levelTitles);
        m_levelTitles->removeItem(index);
    }
    // No line stays selected, so that choosing any of them shows it.
    ClearFields();
}

void CMultiLevelEditorDlg::reject()
{
    StoreLevelFields();
    // A list that could not be written stays open (the message said so), so that it can still
    // be saved under another name.
    if (!m_path.isEmpty() && !WriteList(m_path))
        return;
    QDialog::reject();
}
