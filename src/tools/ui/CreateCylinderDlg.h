#pragma once
// The "Create Cylinder" dialog (5017), also the "Create Pyramid" dialog in its pyramid mode: the
// number of sides (4091, stepped by the spin 4097, 3 to 24, wrapping round) and the radius (4092,
// stepped by the spin 4098 in hundredths, 0.1 to 100, wrapping round) of a regular polygon around
// the first picked grid node, one of its edges running towards the second, laid on the current
// surface as the footprint of a column or the base of a pyramid. Opened without picked grid
// nodes, it takes the current surface's own corners as the outline (they become the picked
// nodes at once, and Cancel gives the empty pick back). Sides and Radius are enabled only with
// exactly two nodes picked. Height, lean angles, snapping and texture as CRaisedShapeDlg has
// them. OK needs two footprint nodes on the surface.

#include "tools/ui/RaisedShapeDlg.h"

class CCreateCylinderDlg : public CRaisedShapeDlg {
    Q_OBJECT

public:
    // engine is the document's engine; it must outlive the dialog. mode is Dlg::kCreateCylinder
    // or Dlg::kCreatePyramidMode (the caption "Create Pyramid").
    CCreateCylinderDlg(C3dView& engine, int mode, QWidget* parent = nullptr);
    ~CCreateCylinderDlg() override;

    // The values last read from the fields; at first 4 sides (the surface's corner count when
    // the outline is the surface's), radius 0.1, height 0.4, no lean and no snapping, the look of
    // the current surface.
    CCylinderValues m_values;

protected:
    CRaisedValues& Values() override { return m_values; }
    bool ReadOwnFields() override;
    void WriteOwnFields() override;
    CRaisedShape LayOut() override;

private:
    // Reads the fields, steps the value of spin (4097 or 4098) by delta and fills them again.
    void OnDeltaposSpin(int spin, int delta);

    QLineEdit* m_sides = nullptr;
    QLineEdit* m_radius = nullptr;
};
