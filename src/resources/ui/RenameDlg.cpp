#include "resources/ui/RenameDlg.h"

#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using DialogText::Id;

}  // namespace

CRenameDlg::CRenameDlg(const QString& name, QWidget* parent)
    : QDialog(parent), m_oldName(name), m_newName(name)
{
    setObjectName(Id(Dlg::kRename));
    setWindowTitle(QStringLiteral("Rename"));

    m_oldEdit = new QLineEdit(m_oldName, this);
    m_oldEdit->setObjectName(Id(Ctl::kRenameOldName));
    m_oldEdit->setReadOnly(true);
    m_newEdit = new QLineEdit(m_newName, this);
    m_newEdit->setObjectName(Id(Ctl::kRenameNewName));
    const int width = m_newEdit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20;
    m_oldEdit->setMinimumWidth(width);
    m_newEdit->setMinimumWidth(width);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Old Name:"), m_oldEdit);
    fields->addRow(QStringLiteral("New Name:"), m_newEdit);

    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000U + static_cast<unsigned int>(Dlg::kRename));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void CRenameDlg::accept()
{
    m_oldName = m_oldEdit->text();
    m_newName = m_newEdit->text();
    QDialog::accept();
}
