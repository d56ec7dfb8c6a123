#include "tools/ui/LibraryDlg.h"

#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using DialogText::Id;

}  // namespace

CLibraryDlg::CLibraryDlg(int dialogId, const QString& caption, QWidget* parent)
    : QDialog(parent), m_dialogId(dialogId)
{
    setObjectName(Id(dialogId));
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    m_fields = new QFormLayout;
    layout->addLayout(m_fields);
}

QLineEdit* CLibraryDlg::AddEdit(const QString& label, int id, const std::string& text,
                                bool readOnly)
{
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(Id(id));
    edit->setReadOnly(readOnly);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
    m_fields->addRow(label, edit);
    return edit;
}

QListWidget* CLibraryDlg::AddGroupList(const std::vector<std::string>& names)
{
    auto* list = new QListWidget(this);
    list->setObjectName(Id(Ctl::kGroupNames));
    for (const std::string& name : names)
        list->addItem(QString::fromStdString(name));
    list->sortItems();
    m_fields->addRow(QStringLiteral("Group Names:"), list);
    return list;
}

QPushButton* CLibraryDlg::AddButtons()
{
    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    auto* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(Id(Ctl::kOk));
    auto* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(Id(Ctl::kCancel));
    cancel->setDefault(true);
    auto* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(Id(Ctl::kHelp));
    connect(buttons, &QDialogButtonBox::accepted, this, &CLibraryDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLibraryDlg::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { QzHelp(0x20000U + static_cast<unsigned int>(m_dialogId)); });
    layout()->addWidget(buttons);
    return ok;
}

std::string CLibraryDlg::Text(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

CLibraryGroupDlg::CLibraryGroupDlg(int dialogId, const QString& caption, const QString& fileLabel,
                                   const std::string& fileName,
                                   const std::vector<std::string>& groupNames, QWidget* parent)
    : CLibraryDlg(dialogId, caption, parent), m_fileName(fileName)
{
    AddEdit(fileLabel, Ctl::kLibraryFile, fileName, true);
    m_list = AddGroupList(groupNames);
    m_ok = AddButtons();
    // Without a chosen group OK would save or load the sectors that have no group name.
    m_ok->setEnabled(false);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_ok->setEnabled(!m_list->selectedItems().isEmpty()); });
}

void CLibraryGroupDlg::accept()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    m_groupName = item->text().toStdString();
    QDialog::accept();
}
