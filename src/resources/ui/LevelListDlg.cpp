#include "resources/ui/LevelListDlg.h"

#include "resources/ui/ResourceListControls.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using DialogText::Text;

}  // namespace

CLevelListDlg::CLevelListDlg(const CControlIds& ids, int mode, const char* okText,
                             unsigned int helpContext, QWidget* parent)
    : QDialog(parent), m_nMode(mode)
{
    setObjectName(QString::number(ids.m_dialog));
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(ids.m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    SetColumnList(*m_list);

    QPushButton* ok = MakeButton(okText, Ctl::kOk);
    ok->setDefault(true);
    QPushButton* cancel = MakeButton("&Cancel", Ctl::kCancel);
    QPushButton* help = MakeButton("&Help", Ctl::kHelp);
    m_add = MakeButton("&Add", ids.m_add);
    m_delete = MakeButton("&Delete", ids.m_delete);
    connect(ok, &QPushButton::clicked, this, &CLevelListDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpContext] { QzHelp(helpContext); });
    connect(m_add, &QPushButton::clicked, this, &CLevelListDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CLevelListDlg::OnDelete);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CLevelListDlg::OnSelectionChanged);

    m_buttons = new QVBoxLayout;
    for (QPushButton* each : {ok, cancel, help, m_add, m_delete})
        m_buttons->addWidget(each);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(m_buttons);
    if (!IsLevelMode()) {
        m_add->hide();
        m_delete->hide();
    }
}

QPushButton* CLevelListDlg::MakeButton(const char* text, int id)
{
    return DialogText::Button(this, text, id);
}

std::vector<std::string> CLevelListDlg::Names() const
{
    std::vector<std::string> names;
    for (int row = 0; row < m_list->count(); ++row)
        names.push_back(DialogText::Latin1(m_list->item(row)->text()));
    return names;
}

int CLevelListDlg::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

std::string CLevelListDlg::SelectedName() const
{
    const int row = SelectedRow();
    return row < 0 ? std::string() : m_list->item(row)->text().toLatin1().toStdString();
}

void CLevelListDlg::SetNames(const std::vector<std::string>& names)
{
    m_list->clear();
    for (const std::string& name : names)
        m_list->addItem(Text(name));
}

void CLevelListDlg::SelectRow(int row)
{
    m_list->clearSelection();
    if (row >= 0 && row < m_list->count()) {
        m_list->setCurrentRow(row);
        m_list->item(row)->setSelected(true);
    }
}

void CLevelListDlg::SelectByPrefix(std::string_view prefix)
{
    const QString start = Text(prefix);
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->text().startsWith(start, Qt::CaseInsensitive)) {
            SelectRow(row);
            return;
        }
    }
    SelectRow(-1);
}

void CLevelListDlg::OnAdd()
{
    if (!IsLevelMode())
        return;
    const std::optional<std::string> chosen = RunAddDialog();
    if (!chosen || chosen->empty())
        return;
    // A name already listed is not listed twice: it is selected.
    const QString name = Text(*chosen);
    int row = 0;
    while (row < m_list->count() &&
           m_list->item(row)->text().compare(name, Qt::CaseInsensitive) != 0)
        ++row;
    if (row == m_list->count())
        m_list->addItem(name);
    SelectRow(row);
    OnSelectionChanged();
}

void CLevelListDlg::OnDelete()
{
    const int row = SelectedRow();
    if (!IsLevelMode() || row < 0 || !m_delete->isEnabled())
        return;
    delete m_list->takeItem(row);
    SelectRow(0);
    OnSelectionChanged();
}

void CLevelListDlg::OnOK()
{
    if (SelectedRow() >= 0)
        m_chosen = SelectedName();
    if (IsLevelMode())
        WriteLevel();
    accept();
}
