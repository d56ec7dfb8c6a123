#include "tools/ui/LibraryLoadDlg.h"

#include "ui/DialogIds.h"

CLibraryLoadDlg::CLibraryLoadDlg(const std::string& fileName,
                                 const std::vector<std::string>& groupNames, QWidget* parent)
    : CLibraryGroupDlg(Dlg::kLibraryLoad, QStringLiteral("Library - Load"),
                       QStringLiteral("File to Merge:"), fileName, groupNames, parent)
{}
