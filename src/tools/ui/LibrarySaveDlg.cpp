#include "tools/ui/LibrarySaveDlg.h"

#include "ui/DialogIds.h"

CLibrarySaveDlg::CLibrarySaveDlg(const std::string& fileName,
                                 const std::vector<std::string>& groupNames, QWidget* parent)
    : CLibraryGroupDlg(Dlg::kLibrarySave, QStringLiteral("Library - Save"),
                       QStringLiteral("File to Save to:"), fileName, groupNames, parent)
{}
