#pragma once
// "Library - Rename": the old and the new group name; the caller presets the old name with the
// current sector's group.

#include "tools/ui/LibraryDlg.h"

class CLibraryRenameDlg : public CLibraryDlg {
    Q_OBJECT

public:
    explicit CLibraryRenameDlg(const std::string& oldName, QWidget* parent = nullptr);
    void accept() override;

    std::string m_oldName;
    std::string m_newName;

private:
    QLineEdit* m_oldEdit = nullptr;
    QLineEdit* m_newEdit = nullptr;
};
