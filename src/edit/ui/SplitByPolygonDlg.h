#pragma once
// The "Split by Polygon" dialog (5014): the number of sides (1103, stepped by the spin 1105),
// the radius (1104, stepped by the spin 1106) and "Snap vertices to grid" (1101) of the regular
// polygon cut into the current surface around the first picked grid node, its first side towards
// the second (edit/SplitByPolygon.h). "&View" (11) turns the picked nodes into the polygon's
// corners and shows them; OK does the same and closes when the corners can be cut. The caller
// then runs the command's cut (RunSplitByPolygon).
//
// Every control's object name is its id (ui/DialogIds.h); each spin holds an up and a down arrow
// button, named "up" and "down".

#include "edit/SplitByPolygon.h"
#include "math/Vector3.h"

#include <QDialog>

#include <vector>

class C3dView;
class QCheckBox;
class QLineEdit;

class CSplitByPolygonDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine: its first two picked grid nodes are taken now as the
    // centre and the direction point; it must outlive the dialog.
    explicit CSplitByPolygonDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CSplitByPolygonDlg() override;

    // With the two nodes at one point, shows kSplitPolygonSameNodes and returns Rejected without
    // showing the dialog; otherwise runs it.
    int exec() override;

    // OK: computes the corners as View does, then closes, or shows why they cannot be cut
    // (SplitPolygonRefusal) and stays open with the corners picked.
    void accept() override;

    // The values last read from the controls; at first 4 sides, radius 0.1, no snapping.
    CSplitPolygonValues m_values;

protected:
    // Puts the corners into the engine's picked nodes and draws them (ShowSplitPolygon); a
    // dialog whose engine draws on a window's device makes that device current around it.
    virtual void ShowCorners(const std::vector<CVector3>& corners);

private:
    // Reads the three controls into m_values; false, with the range message shown and the field
    // selected, when sides is not an integer from 3 to 24 or the radius not a number from 0.1 to
    // 100.
    bool ReadControls();
    void WriteControls();
    // Reads the controls, steps the value of spin (1105 or 1106) by delta and writes them back.
    void OnDeltaposSpin(int spin, int delta);
    // View: reads the controls and puts the polygon's corners into the picked nodes, shown.
    bool ComputePolygon();

    C3dView& m_engine;
    CVector3 m_centre;
    CVector3 m_direction;
    QLineEdit* m_sidesEdit = nullptr;
    QLineEdit* m_radiusEdit = nullptr;
    QCheckBox* m_snapCheck = nullptr;
};
