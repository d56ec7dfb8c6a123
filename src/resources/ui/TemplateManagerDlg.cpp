#include "resources/ui/TemplateManagerDlg.h"

#include "framework/Settings.h"
#include "level/QzlTemplate.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/EditTemplateDlg.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace {

using DialogText::Id;
using DialogText::Text;

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kTemplateManager);

// The sort direction of "#", "Name" and "Based On" (set: descending); they keep their values as
// long as the program runs.
std::array<bool, 3> g_sortDescending{};

}  // namespace

CTemplateManagerDlg::CTemplateManagerDlg(const CTemplateEntries& product,
                                         const CTemplateEntries* levelTemplates,
                                         CSettings& settings, CSaveList save, QWidget* parent)
    : QDialog(parent), m_levelTemplates(levelTemplates), m_settings(settings),
      m_save(std::move(save))
{
    const CWaitCursor wait;
    setObjectName(Id(Dlg::kTemplateManager));
    setWindowTitle(QStringLiteral("Template Manager"));
    setSizeGripEnabled(true);

    for (const auto& entry : product)
        if (entry)
            m_entries.push_back(MakeTemplate(entry->m_name, entry->m_basedOn, entry->m_params));

    m_used = new QCheckBox(QStringLiteral("Show only templates used in current level"), this);
    m_used->setObjectName(Id(Ctl::kTplMgrUsed));
    m_simple = new QCheckBox(QStringLiteral("Show only simple templates"), this);
    m_simple->setObjectName(Id(Ctl::kTplMgrSimple));

    m_list = new CDragListCtrl(this);
    m_list->setObjectName(Id(Ctl::kTplMgrList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->EnableDragOut(false);
    m_list->setDragEnabled(false);
    m_list->setSortingEnabled(false);
    m_list->InsertColumn(30, false, QStringLiteral("#"));
    m_list->InsertColumn(100, false, QStringLiteral("Name"));
    m_list->InsertColumn(100, false, QStringLiteral("Based On"));
    m_list->InsertColumn(2000, false, QStringLiteral("Parameters"));
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setStretchLastSection(false);
    m_list->setMinimumSize(DialogUnits(*this, 300, 150));

    const auto button = [this](const char* text, int id) {
        return DialogText::Button(this, text, id);
    };
    QPushButton* ok = button("&Ok", Ctl::kOk);
    QPushButton* cancel = button("&Cancel", Ctl::kCancel);
    QPushButton* help = button("&Help", Ctl::kHelp);
    m_edit = button("&Edit", Ctl::kTplMgrEdit);
    m_add = button("&Add", Ctl::kTplMgrAdd);
    m_delete = button("&Delete", Ctl::kTplMgrDelete);
    connect(ok, &QPushButton::clicked, this, &CTemplateManagerDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CTemplateManagerDlg::reject);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(m_edit, &QPushButton::clicked, this, &CTemplateManagerDlg::OnEdit);
    connect(m_add, &QPushButton::clicked, this, &CTemplateManagerDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CTemplateManagerDlg::OnDelete);

    // The list takes the space left of the buttons; OK, Cancel and Help stay at the top, Edit, Add
    // and Delete at the bottom. With no level the list also covers the check boxes' row.
    auto* left = new QVBoxLayout;
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_used);
    checks->addWidget(m_simple);
    checks->addStretch(1);
    left->addLayout(checks);
    left->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {ok, cancel, help})
        buttons->addWidget(each);
    buttons->addStretch(1);
    for (QPushButton* each : {m_edit, m_add, m_delete})
        buttons->addWidget(each);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    EnableRowButtons(false);
    if (m_levelTemplates == nullptr) {
        m_used->hide();
        m_simple->hide();
    }
    m_used->setChecked(m_settings.m_templatesUsed != 0);
    m_simple->setChecked(m_settings.m_templatesSimple != 0);
    connect(m_used, &QCheckBox::clicked, this, &CTemplateManagerDlg::OnFilter);
    connect(m_simple, &QCheckBox::clicked, this, &CTemplateManagerDlg::OnFilter);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CTemplateManagerDlg::OnSelection);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CTemplateManagerDlg::OnSort);

    FillList();
}

void CTemplateManagerDlg::AddListRow(int entry)
{
    const CQzlTemplate& each = *m_entries[static_cast<std::size_t>(entry)];
    m_list->AddRow(
        {QString::number(entry + 1), Text(each.m_name), Text(each.m_basedOn), Text(each.m_params)},
        entry);
}

void CTemplateManagerDlg::FillList()
{
    const bool used = m_used->isChecked();
    const bool simple = m_simple->isChecked();
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (TemplateShown(*m_entries[i], m_levelTemplates, used, simple))
            AddListRow(static_cast<int>(i));
    m_selectedRow = -1;
    EnableRowButtons(false);
}

void CTemplateManagerDlg::OnSelection()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    m_selectedRow = selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
    EnableRowButtons(m_selectedRow >= 0);
}

void CTemplateManagerDlg::EnableRowButtons(bool enable)
{
    for (QPushButton* each : {m_edit, m_add, m_delete})
        each->setEnabled(enable);
}

int CTemplateManagerDlg::SelectedEntry() const
{
    if (m_selectedRow < 0 || m_selectedRow >= m_list->topLevelItemCount())
        return -1;
    const qint64 entry = m_list->RowData(m_selectedRow);
    return entry >= 0 && static_cast<std::size_t>(entry) < m_entries.size()
               ? static_cast<int>(entry)
               : -1;
}

void CTemplateManagerDlg::OnFilter()
{
    m_settings.m_templatesUsed = m_used->isChecked() ? 1 : 0;
    m_settings.m_templatesSimple = m_simple->isChecked() ? 1 : 0;
    FillList();
}

void CTemplateManagerDlg::OnAdd()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const CQzlTemplate& selected = *m_entries[static_cast<std::size_t>(entry)];
    CEditTemplateDlg dialog(Dlg::kAddTemplate, this);
    dialog.m_name = selected.m_name;
    dialog.m_basedOn = selected.m_basedOn;
    dialog.m_params = selected.m_params;
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string message =
        AddTemplateEntry(m_entries, dialog.m_name, dialog.m_basedOn, dialog.m_params);
    if (!message.empty()) {
        QzMessageBox(Text(message), QMessageBox::Ok, this);
        return;
    }
    // The new entry is shown at the end whatever the filters say.
    AddListRow(static_cast<int>(m_entries.size()) - 1);
    m_list->scrollToItem(m_list->topLevelItem(m_list->topLevelItemCount() - 1));
}

void CTemplateManagerDlg::OnEdit()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    CQzlTemplate& selected = *m_entries[static_cast<std::size_t>(entry)];
    CEditTemplateDlg dialog(Dlg::kEditTemplate, this);
    dialog.m_name = selected.m_name;
    dialog.m_basedOn = selected.m_basedOn;
    dialog.m_params = selected.m_params;
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Only the parameter text changes (with the model it names).
    m_entries[static_cast<std::size_t>(entry)] =
        MakeTemplate(selected.m_name, selected.m_basedOn, dialog.m_params);
    QTreeWidgetItem* item = m_list->topLevelItem(m_selectedRow);
    item->setText(3, Text(dialog.m_params));
    m_list->scrollToItem(item);
}

void CTemplateManagerDlg::OnDelete()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const std::string message = DeleteTemplateEntry(m_entries, entry);
    if (!message.empty()) {
        QzMessageBox(Text(message), QMessageBox::Ok, this);
        return;
    }
    const CWaitCursor wait;
    FillList();
}

void CTemplateManagerDlg::OnSort(int column)
{
    if (column < 0 || column > 2)
        return;
    m_list->clearSelection();
    bool& descending = g_sortDescending[static_cast<std::size_t>(column)];
    descending = !descending;

    std::vector<int> rows;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        rows.push_back(static_cast<int>(m_list->RowData(row)));
    const auto key = [this, column](int entry) -> const std::string& {
        const CQzlTemplate& each = *m_entries[static_cast<std::size_t>(entry)];
        return column == 1 ? each.m_name : each.m_basedOn;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        if (descending)
            std::swap(a, b);
        return column == 0 ? a < b : key(a) < key(b);
    });
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
    }
    for (const int entry : rows)
        AddListRow(entry);
    m_selectedRow = -1;
    EnableRowButtons(false);
}

void CTemplateManagerDlg::accept()
{
    if (m_save) {
        const std::string message = m_save(m_entries);
        if (!message.empty()) {
            QzMessageBox(Text(message), QMessageBox::Ok, this);
            return;
        }
    }
    QDialog::accept();
}
