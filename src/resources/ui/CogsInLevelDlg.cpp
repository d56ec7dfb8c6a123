#include "resources/ui/CogsInLevelDlg.h"

#include "framework/Exceptions.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"
#include "resources/ui/EditorDlg.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <span>
#include <utility>

namespace {

using DialogText::Id;
using DialogText::Latin1;
using DialogText::Text;

std::size_t At(int index)
{
    return static_cast<std::size_t>(index);
}

// The help of the dialog's own page; the script editor shows resource help 142.
constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kCogsInLevel);
constexpr unsigned int kCogEditorHelp = 0x1008EU;
// A tool tip shows at most this many characters of its field.
constexpr qsizetype kTipLength = 79;

void SetField(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0);
    field->setToolTip(text.left(kTipLength));
}

void ShowText(std::span<const std::uint8_t> bytes, CSettings& settings, QWidget* parent)
{
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    EditTextBytes(QStringLiteral("Cog Editor"),
                  bytes.first(static_cast<std::size_t>(end - bytes.begin())), settings,
                  kCogEditorHelp, parent);
}

}  // namespace

CCogsInLevelDlg::CCogsInLevelDlg(CCogsInLevelContext context, int mode, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_mode(mode)
{
    setObjectName(Id(Dlg::kCogsInLevel));
    setSizeGripEnabled(true);
    if (m_mode == 0)
        setAttribute(Qt::WA_DeleteOnClose);

    m_listBox = new QListWidget(this);
    m_listBox->setObjectName(Id(Ctl::kCogsList));
    m_listBox->setSortingEnabled(true);
    m_listBox->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listBox->setMinimumWidth(fontMetrics().averageCharWidth() * 24);

    // The symbol rows with the scroll bar at their right.
    m_rows = new QWidget(this);
    auto* rows = new QGridLayout(m_rows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(2);
    const int charWidth = fontMetrics().averageCharWidth();
    for (int r = 0; r < kCogSymbolRows; ++r) {
        auto* name = new QLineEdit(m_rows);
        name->setObjectName(Id(Ctl::kCogsNameFields[r]));
        name->setReadOnly(true);
        name->setFocusPolicy(Qt::NoFocus);
        name->setFixedWidth(charWidth * 32);
        auto* value = new QLineEdit(m_rows);
        value->setObjectName(Id(Ctl::kCogsValueFields[r]));
        value->setFixedWidth(charWidth * 20);
        connect(value, &QLineEdit::editingFinished, this, [this, r] { CommitValue(r); });
        connect(value, &QLineEdit::textEdited, this,
                [value](const QString& text) { value->setToolTip(text.left(kTipLength)); });
        rows->addWidget(name, r, 0);
        rows->addWidget(value, r, 1);
        m_names[At(r)] = name;
        m_values[At(r)] = value;
    }
    m_scroll = new QScrollBar(Qt::Vertical, m_rows);
    m_scroll->setObjectName(Id(Ctl::kCogsScroll));
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(1);
    rows->addWidget(m_scroll, 0, 2, kCogSymbolRows, 1);
    rows->setRowStretch(kCogSymbolRows, 1);
    connect(m_scroll, &QScrollBar::actionTriggered, this, &CCogsInLevelDlg::OnScrollAction);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_filling)
            return;
        CommitValues();
        m_first = value;
        ShowSelected();
    });

    const auto button = [this](const char* text, int id) {
        return DialogText::Button(this, text, id);
    };
    QPushButton* ok = button("&Ok", Ctl::kOk);
    QPushButton* apply = button("&Apply", Ctl::kApplyNow);
    QPushButton* cancel = button("&Cancel", Ctl::kCancel);
    QPushButton* help = button("&Help", Ctl::kHelp);
    m_add = button("&Add", Ctl::kCogsAdd);
    m_delete = button("&Delete", Ctl::kCogsDelete);
    m_edit = button("&Edit", Ctl::kCogsEdit);
    m_view = button("&View", Ctl::kCogsView);
    connect(ok, &QPushButton::clicked, this, &CCogsInLevelDlg::accept);
    connect(apply, &QPushButton::clicked, this, &CCogsInLevelDlg::Apply);
    connect(cancel, &QPushButton::clicked, this, &CCogsInLevelDlg::reject);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(m_add, &QPushButton::clicked, this, &CCogsInLevelDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CCogsInLevelDlg::OnDelete);
    connect(m_edit, &QPushButton::clicked, this, &CCogsInLevelDlg::OnEdit);
    connect(m_view, &QPushButton::clicked, this, &CCogsInLevelDlg::OnView);

    auto* column = new QVBoxLayout;
    for (QPushButton* each : {ok, apply, cancel, help, m_add, m_delete})
        column->addWidget(each);
    // The column shows X, then Z, then Y.
    const char* const axisTexts[3] = {"X:", "Y:", "Z:"};
    const int axisIds[3] = {Ctl::kCogsX, Ctl::kCogsY, Ctl::kCogsZ};
    for (std::size_t a = 0; a < 3; ++a) {
        m_axisLabels[a] = new QLabel(QString::fromLatin1(axisTexts[a]), this);
        m_axes[a] = new QLineEdit(this);
        m_axes[a]->setObjectName(Id(axisIds[a]));
        m_axes[a]->setEnabled(false);
        m_axes[a]->setFixedWidth(charWidth * 10);
    }
    for (const std::size_t a : {std::size_t{0}, std::size_t{2}, std::size_t{1}}) {
        auto* line = new QHBoxLayout;
        line->addStretch(1);
        line->addWidget(m_axisLabels[a]);
        line->addWidget(m_axes[a]);
        column->addLayout(line);
    }
    column->addWidget(m_edit);
    column->addWidget(m_view);
    column->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_listBox, 1);
    layout->addWidget(m_rows);
    layout->addLayout(column);

    if (m_mode == 0) {
        m_list = LoadCogWorkList(*m_context.m_level);
        setWindowTitle(QStringLiteral("Cogs in level"));
    } else {
        m_rows->hide();
        m_add->hide();
        m_delete->hide();
        m_edit->hide();
        for (const auto& entry : m_context.m_game->m_treeCogs.m_entries)
            if (entry)
                m_list.m_cogs.emplace_back(entry->m_name);
        for (const auto& entry : m_context.m_level->m_levelFiles.m_entries)
            if (entry && FindNoCase(entry->m_name, ".cog") != std::string::npos)
                m_list.m_cogs.emplace_back(entry->m_name);
        m_list.m_origins.assign(m_list.m_cogs.size(), -1);
        setWindowTitle(QStringLiteral("Add Cog to level"));
    }
    FillList();
    m_edit->setEnabled(false);
    m_view->setEnabled(false);
    connect(m_listBox, &QListWidget::currentRowChanged, this, [this] {
        if (m_filling)
            return;
        CommitValues();
        ShowSelected();
    });
    if (m_listBox->count() > 0)
        SelectRow(0);
    else
        ClearRows();
    ShowDirection();
}

CCogsInLevelDlg::~CCogsInLevelDlg()
{
    // Hiding the window on its way out moves the focus, and a value field being edited reports
    // that it finished: nothing may reach this object's handlers any more.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void CCogsInLevelDlg::FillList()
{
    m_filling = true;
    m_listBox->clear();
    for (const CQzlCog& cog : m_list.m_cogs)
        m_listBox->addItem(Text(m_mode == 0 ? ToLowerAscii(cog.m_script) : cog.m_script));
    m_filling = false;
    m_delete->setEnabled(m_listBox->count() > 0);
}

std::vector<std::string> CCogsInLevelDlg::RowTexts() const
{
    std::vector<std::string> texts;
    for (int row = 0; row < m_listBox->count(); ++row)
        texts.push_back(Latin1(m_listBox->item(row)->text()));
    return texts;
}

int CCogsInLevelDlg::SelectedEntry() const
{
    return CogEntryOfRow(RowTexts(), m_listBox->currentRow(), m_list.m_cogs);
}

void CCogsInLevelDlg::SelectRow(int row)
{
    m_filling = true;
    m_listBox->setCurrentRow(row);
    m_filling = false;
    ShowSelected();
}

void CCogsInLevelDlg::ClearRows()
{
    m_filling = true;
    for (int r = 0; r < kCogSymbolRows; ++r) {
        SetField(m_names[At(r)], QString());
        SetField(m_values[At(r)], QString());
        m_values[At(r)]->setEnabled(false);
    }
    m_scroll->hide();
    m_filling = false;
    m_shownEntry = -1;
    m_shownCount = 0;
}

void CCogsInLevelDlg::ShowSelected()
{
    if (m_mode != 0) {
        m_view->setEnabled(m_listBox->currentRow() >= 0);
        return;
    }
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const CQzlCog& cog = m_list.m_cogs[At(entry)];
    std::vector<std::string> labels;
    std::vector<std::string> defaults;
    std::vector<std::string> types;
    GetCogSymbols(*m_context.m_level, *m_context.m_game, cog, labels, defaults, types);
    const int count = static_cast<int>(labels.size());
    m_first = ClampFirstCogSymbol(m_first, count);

    m_filling = true;
    for (int r = 0; r < kCogSymbolRows; ++r) {
        QLineEdit* name = m_names[At(r)];
        QLineEdit* value = m_values[At(r)];
        const int symbol = m_first + r;
        if (r >= count - m_first) {
            SetField(name, QString());
            SetField(value, QString());
            value->setEnabled(false);
            continue;
        }
        value->setEnabled(true);
        SetField(name, Text(labels[At(symbol)]));
        SetField(value, At(symbol) < cog.m_values.size()
                            ? Text(ToLowerAscii(cog.m_values[At(symbol)]))
                            : QString());
    }
    m_scroll->setVisible(CogScrollShown(count));
    m_scroll->setRange(0, CogScrollMaximum(count));
    m_scroll->setValue(m_first);
    m_scroll->setEnabled(CogScrollMaximum(count) > 0);
    m_filling = false;

    m_shownEntry = entry;
    m_shownCount = count;
    setWindowTitle(QStringLiteral("Cogs in level - %1").arg(entry));
    m_levelFile = LevelFileOfScript(cog.m_script);
    m_edit->setEnabled(m_levelFile >= 0);
    m_view->setEnabled(true);
}

void CCogsInLevelDlg::CommitValues()
{
    for (int r = 0; r < kCogSymbolRows; ++r)
        if (m_values[At(r)]->isModified())
            CommitValue(r);
}

void CCogsInLevelDlg::CommitValue(int row)
{
    QLineEdit* field = m_values[At(row)];
    field->setModified(false);
    if (m_filling || m_mode != 0 || m_shownEntry < 0 || At(m_shownEntry) >= m_list.m_cogs.size())
        return;
    const int symbol = m_first + row;
    if (symbol >= m_shownCount)
        return;
    CQzlCog& cog = m_list.m_cogs[At(m_shownEntry)];
    std::vector<std::string> labels;
    std::vector<std::string> defaults;
    std::vector<std::string> types;
    GetCogSymbols(*m_context.m_level, *m_context.m_game, cog, labels, defaults, types);
    SetCogValue(cog, defaults, symbol, Latin1(field->text()));
}

void CCogsInLevelDlg::OnScrollAction(int action)
{
    // Page up and down go all the way to the first or the last position.
    if (action == QAbstractSlider::SliderPageStepAdd)
        m_scroll->setSliderPosition(m_scroll->maximum());
    else if (action == QAbstractSlider::SliderPageStepSub)
        m_scroll->setSliderPosition(m_scroll->minimum());
}

void CCogsInLevelDlg::OnAdd()
{
    if (m_mode != 0)
        return;
    CommitValues();
    std::string chosen;
    {
        CCogsInLevelDlg picker(m_context, 1, this);
        if (picker.exec() != QDialog::Accepted)
            return;
        chosen = picker.ChosenName();
    }
    if (chosen.empty())
        return;
    Edit([&] { AddCogToWorkList(m_list, *m_context.m_level, chosen); });
    FillList();
    // The new instance is the last of its script, so the last row of its text stands for it.
    const std::vector<std::string> texts = RowTexts();
    const auto last = std::find(texts.rbegin(), texts.rend(), ToLowerAscii(chosen));
    SelectRow(last == texts.rend() ? 0 : static_cast<int>(texts.rend() - last) - 1);
}

void CCogsInLevelDlg::OnDelete()
{
    if (m_mode != 0)
        return;
    CommitValues();
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const int row = m_listBox->currentRow();
    // The level's instance stays until Apply, and with it its script's name.
    DeleteCogFromWorkList(m_list, entry);
    m_filling = true;
    delete m_listBox->takeItem(row);
    m_filling = false;
    m_view->setEnabled(false);
    m_delete->setEnabled(m_listBox->count() > 0);
    if (m_listBox->count() > 0) {
        SelectRow(std::min(row, m_listBox->count() - 1));
    } else {
        ClearRows();
        m_edit->setEnabled(false);
        setWindowTitle(QStringLiteral("Cogs in level"));
    }
}

void CCogsInLevelDlg::OnEdit()
{
    if (m_mode != 0 || m_levelFile < 0)
        return;
    CommitValues();
    if (!EditLevelFileText(m_context.m_level->m_levelFiles, m_levelFile,
                           QStringLiteral("Cog Editor"), *m_context.m_settings, kCogEditorHelp,
                           this))
        return;
    m_context.m_modified();
    ShowSelected();
}

void CCogsInLevelDlg::OnView()
{
    if (m_listBox->currentRow() < 0)
        return;
    std::string script;
    if (m_mode == 0) {
        const int entry = SelectedEntry();
        if (entry < 0)
            return;
        script = m_list.m_cogs[At(entry)].m_script;
    } else {
        script = Latin1(m_listBox->currentItem()->text());
    }
    const CGameResources& game = *m_context.m_game;
    int position = 0;
    std::vector<std::uint8_t> bytes;
    if (game.m_treeCogs.Find(script, position) != 0) {
        if (ReadIndexedEntry(game.m_archive, *game.m_treeCogs.m_entries[At(position)], bytes))
            ShowText(bytes, *m_context.m_settings, this);
        return;
    }
    const int file = LevelFileOfScript(script);
    if (file < 0)
        return;
    try {
        ShowText(LevelFileBytes(*m_context.m_level->m_levelFiles.m_entries[At(file)]),
                 *m_context.m_settings, this);
    } catch (const CArchiveException& e) {
        QzMessageBox(Text(e.what()), QMessageBox::Ok, this);
    }
}

int CCogsInLevelDlg::LevelFileOfScript(const std::string& script) const
{
    const auto& entries = m_context.m_level->m_levelFiles.m_entries;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] && entries[i]->HasData() && EqualsNoCase(entries[i]->m_name, script))
            return static_cast<int>(i);
    return -1;
}

void CCogsInLevelDlg::ShowDirection()
{
    const std::vector<CVector3> nodes =
        m_context.m_pickedNodes ? m_context.m_pickedNodes() : std::vector<CVector3>{};
    bool shown = nodes.size() == 2;
    if (shown) {
        const float dx = nodes[1].x - nodes[0].x;
        const float dy = nodes[1].y - nodes[0].y;
        const float dz = nodes[1].z - nodes[0].z;
        const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
        // Two nodes at one point give no direction: nothing is shown.
        shown = length > 0.0f;
        if (shown) {
            const float d[3] = {dx / length, dy / length, dz / length};
            for (std::size_t a = 0; a < 3; ++a)
                m_axes[a]->setText(QString::number(static_cast<double>(d[a]), 'g', 6));
        }
    }
    for (std::size_t a = 0; a < 3; ++a) {
        m_axisLabels[a]->setVisible(shown);
        m_axes[a]->setVisible(shown);
    }
}

void CCogsInLevelDlg::Edit(const std::function<void()>& change)
{
    try {
        m_context.m_edit(change);
    } catch (const std::exception& e) {
        QzMessageBox(QString::fromLatin1(e.what()), QMessageBox::Ok, this);
    }
}

void CCogsInLevelDlg::Apply()
{
    const CWaitCursor wait;
    CommitValues();
    m_chosenName =
        m_listBox->currentItem() ? ToUpperAscii(Latin1(m_listBox->currentItem()->text())) : "";
    if (m_mode == 0) {
        Edit([this] { ApplyCogWorkList(*m_context.m_level, *m_context.m_game, m_list); });
        // The list now is what the level has; the selected row keeps its place.
        const int row = m_listBox->currentRow();
        FillList();
        if (m_listBox->count() > 0)
            SelectRow(std::clamp(row, 0, m_listBox->count() - 1));
        else
            ClearRows();
    } else {
        m_context.m_modified();
    }
    CSettings& settings = *m_context.m_settings;
    const QRect frame = frameGeometry();
    settings.m_cogWindowX = frame.left();
    settings.m_cogWindowY = frame.top();
    settings.m_cogWindowW = frame.width();
    settings.m_cogWindowH = frame.height();
}

void CCogsInLevelDlg::accept()
{
    Apply();
    QDialog::accept();
}

void CCogsInLevelDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    const CSettings& s = *m_context.m_settings;
    if (s.m_cogWindowX < 0 || s.m_cogWindowY < 0)
        return;
    // The stored outer rectangle; the frame's margins come off for the client size.
    const int dw = frameGeometry().width() - geometry().width();
    const int dh = frameGeometry().height() - geometry().height();
    move(s.m_cogWindowX, s.m_cogWindowY);
    if (s.m_cogWindowW > 0 && s.m_cogWindowH > 0)
        resize(std::max(1, s.m_cogWindowW - dw), std::max(1, s.m_cogWindowH - dh));
}
