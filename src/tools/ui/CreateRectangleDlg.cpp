#include "tools/ui/CreateRectangleDlg.h"

#include "tools/Footprint.h"
#include "ui/DialogIds.h"

#include <QLineEdit>

CCreateRectangleDlg::CCreateRectangleDlg(C3dView& engine, QWidget* parent)
    : CRaisedShapeDlg(engine, Dlg::kCreateRectangle, QStringLiteral("Create Rectangle"),
                      kRectangleFewestNodes, kRectangleOutside, parent)
{
    m_width = AddOwnField(QStringLiteral("Width:"), Ctl::kRectangleWidth);
    m_depth = AddOwnField(QStringLiteral("Depth:"), Ctl::kRectangleDepth);
    Finish(0x20000U + Dlg::kCreateRectangle);
}

CCreateRectangleDlg::~CCreateRectangleDlg() = default;

bool CCreateRectangleDlg::ReadOwnFields()
{
    return ReadFloat(*m_width, kShapeSizeRange, m_values.m_width) &&
           ReadFloat(*m_depth, kShapeSizeRange, m_values.m_depth);
}

void CCreateRectangleDlg::WriteOwnFields()
{
    m_width->setText(FloatText(m_values.m_width));
    m_depth->setText(FloatText(m_values.m_depth));
}

CRaisedShape CCreateRectangleDlg::LayOut()
{
    return LayOutRectangle(m_engine, m_values, m_base, m_second);
}
