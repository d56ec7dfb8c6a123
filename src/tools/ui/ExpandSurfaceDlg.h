#pragma once
// The "Expand Surface" dialog (5004): the shape of the new sector and its values. Three group
// boxes, each headed by its radio button: "Rectangular" (the four margins and the depth),
// "Cylindrical" (height, width of the sides, number of sides) and "Circular" (height and width of
// a side, number of sides). Only the chosen shape's fields are enabled; every field is checked on
// OK, the disabled ones too, and a value out of its range brings the range message and keeps the
// dialog open. The decisions (start values, ranges, enabling) are tools/ExpandCommand.h's.
//
// Every control's object name is its id (ui/DialogIds.h): the three radio buttons, the eleven
// edits, and the buttons OK, Cancel and Help.

#include "tools/ExpandCommand.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QRadioButton;

class CExpandSurfaceDlg : public QDialog {
    Q_OBJECT

public:
    // box: the current surface's extents in the frame of the picked nodes
    // (PrepareExpandSurface); the heights and widths start at them and may not be smaller.
    explicit CExpandSurfaceDlg(const CExpandBox& box, QWidget* parent = nullptr);
    ~CExpandSurfaceDlg() override;

    // OK: reads every field in the dialog's order; the first one out of its range shows the range
    // message, takes the focus and keeps the dialog open. Otherwise the values and the chosen
    // shape go to m_values and the dialog closes.
    void accept() override;

    // The values after OK; the start values before.
    CExpandValues m_values;

private:
    // Checks the chosen shape's button, clears the other two and enables that shape's fields
    // only.
    void ChooseShape(EExpandShape shape);

    CExpandBox m_box;
    std::array<QRadioButton*, 3> m_shapes{};
    std::array<QLineEdit*, kExpandFields.size()> m_edits{};
};
