#pragma once
// "Library - Save": the library file's name and the level's group names; after OK the group to
// save.

#include "tools/ui/LibraryDlg.h"

class CLibrarySaveDlg : public CLibraryGroupDlg {
    Q_OBJECT

public:
    CLibrarySaveDlg(const std::string& fileName, const std::vector<std::string>& groupNames,
                    QWidget* parent = nullptr);
};
