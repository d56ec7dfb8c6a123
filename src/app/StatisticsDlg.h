#pragma once
// The "Statistics" dialog (171): the record counts of the level, read only: sectors, surfaces,
// world vertices, materials, objects (things), cogs and the level's templates. "&Ok" and "&Help".
//
// Every control's object name is its id (ui/DialogIds.h).

#include <QDialog>

class CQzEditDoc;

class CStatisticsDlg : public QDialog {
    Q_OBJECT

public:
    CStatisticsDlg(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CStatisticsDlg() override;

    int m_sectors = 0;
    int m_surfaces = 0;
    int m_vertices = 0;
    int m_materials = 0;
    int m_objects = 0;
    int m_cogs = 0;
    int m_templates = 0;
};
