#pragma once
// "Library - Delete": the name of the group to delete; the caller presets it with the current
// sector's group.

#include "tools/ui/LibraryDlg.h"

class CLibraryDeleteDlg : public CLibraryDlg {
    Q_OBJECT

public:
    explicit CLibraryDeleteDlg(const std::string& groupName, QWidget* parent = nullptr);
    void accept() override;

    std::string m_groupName;

private:
    QLineEdit* m_edit = nullptr;
};
