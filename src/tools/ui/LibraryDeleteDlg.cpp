#include "tools/ui/LibraryDeleteDlg.h"

#include "ui/DialogIds.h"

CLibraryDeleteDlg::CLibraryDeleteDlg(const std::string& groupName, QWidget* parent)
    : CLibraryDlg(Dlg::kLibraryDelete, QStringLiteral("Library - Delete"), parent),
      m_groupName(groupName)
{
    m_edit = AddEdit(QStringLiteral("Group Name:"), Ctl::kGroupName, m_groupName);
    AddButtons();
}

void CLibraryDeleteDlg::accept()
{
    m_groupName = Text(m_edit);
    QDialog::accept();
}
