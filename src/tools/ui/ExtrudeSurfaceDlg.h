#pragma once
// The "Extrude Surface" dialog (1102): the values of one extrusion of the current surface. The
// type ("New Sector", "Keep with Sector", "Connect to Opposite Surface", "New Sector (Hidden)"),
// the directions ("Left/Right Angle:", "Up/Down Angle:", "Indent:"), the depths with the vertex
// each applies to ("Depths:"; the first list starts with "All Vertices") and the shape
// ("Parallellogram", "Rotated End Surface"). Which controls are enabled follows
// ExtrudeDialogEnables (tools/ExtrudeChoices.h).
//
// Every control's object name is its id (ui/DialogIds.h).

#include "tools/ExtrudeChoices.h"

#include <QDialog>

class C3dView;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QRadioButton;

class CExtrudeSurfaceDlg : public QDialog {
    Q_OBJECT

public:
    // engine is read for the current surface's corners; twoNodes when exactly two grid nodes
    // were picked as the command ran.
    CExtrudeSurfaceDlg(const C3dView& engine, bool twoNodes, QWidget* parent = nullptr);
    ~CExtrudeSurfaceDlg() override;

    // OK: reads the fields in order (depth, left/right angle, up/down angle, indent, second and
    // third depth; a value out of its range shows the range message and keeps the dialog open
    // with the field selected), then with a single first vertex refuses two equal vertices with
    // "You must select three different vertices.", else closes.
    void accept() override;

    // The values for ExtrudeSurface, after OK.
    [[nodiscard]] const CExtrudeParams& Params() const { return m_params; }

private:
    void OnTypeChange();
    void OnFirstVertexChange();
    void OnHelp();
    // Enables the controls for the type and first vertex shown; the indent a disabled field
    // shows is 0.
    void ApplyEnables();
    [[nodiscard]] EExtrudeType Type() const;

    bool m_twoNodes = false;
    CExtrudeParams m_params;
    QRadioButton* m_newSector = nullptr;
    QRadioButton* m_keepWithSector = nullptr;
    QRadioButton* m_connectOpposite = nullptr;
    QRadioButton* m_newSectorHidden = nullptr;
    QRadioButton* m_parallelogram = nullptr;
    QRadioButton* m_rotatedEnd = nullptr;
    QLineEdit* m_depth = nullptr;
    QLineEdit* m_leftRight = nullptr;
    QLineEdit* m_upDown = nullptr;
    QLineEdit* m_indent = nullptr;
    QLineEdit* m_depth2 = nullptr;
    QLineEdit* m_depth3 = nullptr;
    QComboBox* m_first = nullptr;
    QComboBox* m_second = nullptr;
    QComboBox* m_third = nullptr;
};
