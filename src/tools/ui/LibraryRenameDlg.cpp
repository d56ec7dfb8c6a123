#include "tools/ui/LibraryRenameDlg.h"

#include "ui/DialogIds.h"

CLibraryRenameDlg::CLibraryRenameDlg(const std::string& oldName, QWidget* parent)
    : CLibraryDlg(Dlg::kLibraryRename, QStringLiteral("Library - Rename"), parent),
      m_oldName(oldName)
{
    m_oldEdit = AddEdit(QStringLiteral("Old Group Name:"), Ctl::kOldGroupName, m_oldName);
    m_newEdit = AddEdit(QStringLiteral("New Group Name:"), Ctl::kNewGroupName, m_newName);
    AddButtons();
}

void CLibraryRenameDlg::accept()
{
    m_oldName = Text(m_oldEdit);
    m_newName = Text(m_newEdit);
    QDialog::accept();
}
