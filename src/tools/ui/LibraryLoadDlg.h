#pragma once
// "Library - Load": the library file's name and its group names; after OK the group to load.

#include "tools/ui/LibraryDlg.h"

class CLibraryLoadDlg : public CLibraryGroupDlg {
    Q_OBJECT

public:
    CLibraryLoadDlg(const std::string& fileName, const std::vector<std::string>& groupNames,
                    QWidget* parent = nullptr);
};
