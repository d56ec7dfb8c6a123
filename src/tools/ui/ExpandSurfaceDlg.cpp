#include "tools/ui/ExpandSurfaceDlg.h"

#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstddef>

namespace {

using DialogText::Id;

// The help context of a dialog: the help base of resources plus its id.
constexpr unsigned int kHelpContext = 0x20000u + Dlg::kExpandSurface;

struct CFieldControl {
    EExpandField field;
    int id;
    const char* label;
};

// The fields in the dialog's order, as kExpandFields lists them.
constexpr std::array<CFieldControl, kExpandFields.size()> kControls{{
    {EExpandField::Left, Ctl::kExpandLeft, "Left of Surface:"},
    {EExpandField::Right, Ctl::kExpandRight, "Right of Surface:"},
    {EExpandField::Top, Ctl::kExpandTop, "Top of Surface:"},
    {EExpandField::Bottom, Ctl::kExpandBottom, "Bottom of Surface:"},
    {EExpandField::Depth, Ctl::kExpandDepth, "Depth of new Sector:"},
    {EExpandField::CylinderHeight, Ctl::kExpandCylinderHeight, "Height of new Sector:"},
    {EExpandField::CylinderWidth, Ctl::kExpandCylinderWidth, "Width of Sides:"},
    {EExpandField::CylinderSides, Ctl::kExpandCylinderSides, "Number of Sides:"},
    {EExpandField::CircleHeight, Ctl::kExpandCircleHeight, "Height of Side:"},
    {EExpandField::CircleWidth, Ctl::kExpandCircleWidth, "Width of Side:"},
    {EExpandField::CircleSides, Ctl::kExpandCircleSides, "Number of Sides:"},
}};

struct CShapeControl {
    EExpandShape shape;
    int id;
    const char* text;
};
constexpr std::array<CShapeControl, 3> kShapeControls{{
    {EExpandShape::Rectangular, Ctl::kExpandRectangular, "Rectangular"},
    {EExpandShape::Cylindrical, Ctl::kExpandCylindrical, "Cylindrical"},
    {EExpandShape::Circular, Ctl::kExpandCircular, "Circular"},
}};

// A number as the dialog shows it: up to six significant digits.
QString Number(double value)
{
    return QLocale::c().toString(value, 'g', 6);
}

}  // namespace

CExpandSurfaceDlg::CExpandSurfaceDlg(const CExpandBox& box, QWidget* parent)
    : QDialog(parent), m_values(ExpandDefaults(box)), m_box(box)
{
    setObjectName(Id(Dlg::kExpandSurface));
    setWindowTitle(QStringLiteral("Expand Surface"));

    auto* layout = new QVBoxLayout(this);
    for (std::size_t s = 0; s < kShapeControls.size(); ++s) {
        const CShapeControl& shape = kShapeControls[s];
        auto* group = new QGroupBox(this);
        auto* groupLayout = new QVBoxLayout(group);
        auto* button = new QRadioButton(QString::fromLatin1(shape.text), group);
        button->setObjectName(Id(shape.id));
        // The three buttons stand in separate groups: a click clears the other two itself.
        button->setAutoExclusive(false);
        connect(button, &QRadioButton::clicked, this,
                [this, which = shape.shape] { ChooseShape(which); });
        m_shapes[s] = button;
        groupLayout->addWidget(button);
        auto* form = new QFormLayout;
        for (std::size_t f = 0; f < kControls.size(); ++f) {
            const CFieldControl& control = kControls[f];
            if (ExpandFieldShape(control.field) != shape.shape)
                continue;
            const double value = ExpandFieldValue(m_values, control.field);
            auto* edit = new QLineEdit(ExpandFieldIsWhole(control.field)
                                           ? QString::number(static_cast<int>(value))
                                           : Number(value),
                                       group);
            edit->setObjectName(Id(control.id));
            auto* label = new QLabel(QString::fromLatin1(control.label), group);
            label->setBuddy(edit);
            form->addRow(label, edit);
            m_edits[f] = edit;
        }
        groupLayout->addLayout(form);
        layout->addWidget(group);
    }

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"),
                                                  QStringLiteral("&Cancel"), kHelpContext);
    layout->addWidget(buttons);

    ChooseShape(EExpandShape::Rectangular);
}

CExpandSurfaceDlg::~CExpandSurfaceDlg() = default;

void CExpandSurfaceDlg::ChooseShape(EExpandShape shape)
{
    m_values.m_shape = shape;
    for (std::size_t s = 0; s < kShapeControls.size(); ++s)
        m_shapes[s]->setChecked(kShapeControls[s].shape == shape);
    for (std::size_t f = 0; f < kControls.size(); ++f)
        m_edits[f]->setEnabled(ExpandFieldEnabled(kControls[f].field, shape));
}

void CExpandSurfaceDlg::accept()
{
    CExpandValues values = m_values;
    for (std::size_t f = 0; f < kControls.size(); ++f) {
        const EExpandField field = kControls[f].field;
        QLineEdit* edit = m_edits[f];
        const bool whole = ExpandFieldIsWhole(field);
        bool read = false;
        const QString text = edit->text().trimmed();
        const double value =
            whole ? QLocale::c().toInt(text, &read) : QLocale::c().toDouble(text, &read);
        if (!read || !ExpandValueInRange(field, value, m_box)) {
            const CExpandRange range = ExpandFieldRange(field, m_box);
            QzMessageBox((whole ? QStringLiteral("Please enter an integer between %1 and %2.")
                                : QStringLiteral("Please enter a number between %1 and %2."))
                             .arg(Number(range.m_low), Number(range.m_high)),
                         QMessageBox::Ok, this);
            edit->setFocus();
            edit->selectAll();
            return;
        }
        SetExpandFieldValue(values, field, value);
    }
    m_values = values;
    QDialog::accept();
}
