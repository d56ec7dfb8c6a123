#pragma once
// The "Create Rectangle" dialog (5033) of the Create menu's "&Rectangle..." command: the width
// (5034) and depth (5035) of a rectangle centred on the first picked grid node, its depth running
// towards the second, laid on the current surface as the footprint of a column; with more than
// two nodes picked the nodes themselves are the footprint and width and depth are disabled.
// Height, lean angles, snapping and texture as CRaisedShapeDlg has them. OK needs four footprint
// nodes on the surface.

#include "tools/ui/RaisedShapeDlg.h"

class CCreateRectangleDlg : public CRaisedShapeDlg {
    Q_OBJECT

public:
    // engine is the document's engine; it must outlive the dialog.
    explicit CCreateRectangleDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CCreateRectangleDlg() override;

    // The values last read from the fields; at first width 0.4, depth 0.2, height 0.4, no lean
    // and no snapping, the look of the current surface.
    CRectangleValues m_values;

protected:
    CRaisedValues& Values() override { return m_values; }
    bool ReadOwnFields() override;
    void WriteOwnFields() override;
    CRaisedShape LayOut() override;

private:
    QLineEdit* m_width = nullptr;
    QLineEdit* m_depth = nullptr;
};
