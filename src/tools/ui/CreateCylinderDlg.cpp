#include "tools/ui/CreateCylinderDlg.h"

#include "tools/Footprint.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"

#include <QLineEdit>

CCreateCylinderDlg::CCreateCylinderDlg(C3dView& engine, int mode, QWidget* parent)
    : CRaisedShapeDlg(engine, Dlg::kCreateCylinder,
                      mode == Dlg::kCreatePyramidMode ? QStringLiteral("Create Pyramid")
                                                      : QStringLiteral("Create Cylinder"),
                      kCylinderFewestNodes, kCylinderOutside, parent)
{
    TakeSurfaceOutline(engine, m_values);
    TakeBasePoints();
    m_sides = AddOwnField(QStringLiteral("Sides:"), Ctl::kCylinderSides,
                          MakeSpinArrows(this, Ctl::kCylinderSidesSpin, [this](int delta) {
                              OnDeltaposSpin(Ctl::kCylinderSidesSpin, delta);
                          }));
    m_radius = AddOwnField(QStringLiteral("Radius:"), Ctl::kCylinderRadius,
                           MakeSpinArrows(this, Ctl::kCylinderRadiusSpin, [this](int delta) {
                               OnDeltaposSpin(Ctl::kCylinderRadiusSpin, delta);
                           }));
    Finish(0x20000U + Dlg::kCreateCylinder);
}

CCreateCylinderDlg::~CCreateCylinderDlg() = default;

bool CCreateCylinderDlg::ReadOwnFields()
{
    return ReadInt(*m_sides, kCylinderFewestSides, kCylinderMostSides, m_values.m_sides) &&
           ReadFloat(*m_radius, kCylinderRadiusRange, m_values.m_radius);
}

void CCreateCylinderDlg::WriteOwnFields()
{
    m_sides->setText(QString::number(m_values.m_sides));
    m_radius->setText(FloatText(m_values.m_radius));
}

void CCreateCylinderDlg::OnDeltaposSpin(int spin, int delta)
{
    if (!ReadControls())
        return;
    if (spin == Ctl::kCylinderSidesSpin)
        m_values.m_sides = SpinSides(m_values.m_sides, delta);
    else
        m_values.m_radius = SpinRadius(m_values.m_radius, delta);
    WriteControls();
}

CRaisedShape CCreateCylinderDlg::LayOut()
{
    return LayOutCylinder(m_engine, m_values, m_base, m_second);
}
