#include "tools/ui/CreateDomeDlg.h"

#include "engine/C3dView.h"
#include "ui/DialogIds.h"
#include "ui/FormFields.h"

#include <QCheckBox>

namespace {

constexpr unsigned int kHelpContext = 0x20000u + Dlg::kCreateDome;

}  // namespace

CCreateDomeDlg::CCreateDomeDlg(C3dView& engine, QWidget* parent)
    : CTexturedShapeDlg(engine, Dlg::kCreateDome, QStringLiteral("Create Dome"), parent)
{
    AddEdit(QStringLiteral("Depth of Dome:"), Ctl::kDomeDepth);
    AddEdit(QStringLiteral("Texture:"), Ctl::kDomeTextureName);
    AddEdit(QStringLiteral("Number of splits:"), Ctl::kDomeSplits);
    m_curveUpBox = AddCheck(QStringLiteral("Curved around up vector"), Ctl::kDomeCurveAroundUp);
    m_curvePlaneBox =
        AddCheck(QStringLiteral("Curved around plane vector"), Ctl::kDomeCurveAroundPlane);
    m_outsideBox = AddCheck(QStringLiteral("Outside (same sector)"), Ctl::kDomeOutside);
    // The curves follow the line of two grid nodes; without it they cannot be chosen.
    const bool twoNodes = engine.m_selection.m_pickedNodes.size() == 2;
    m_curveUpBox->setEnabled(twoNodes);
    m_curvePlaneBox->setEnabled(twoNodes);
    Finish(kHelpContext);
}

CCreateDomeDlg::~CCreateDomeDlg() = default;

void CCreateDomeDlg::Exchange(CFieldExchange& exchange)
{
    exchange.Float(Ctl::kDomeDepth, m_depth);
    exchange.FloatRange(Ctl::kDomeDepth, m_depth, 0.01, 100.0);
    ExchangeTextureName(exchange, Ctl::kDomeTextureName);
    exchange.Int(Ctl::kDomeSplits, m_splits);
    exchange.IntRange(Ctl::kDomeSplits, m_splits, 1, 100);
    ExchangeCheck(exchange, *m_curveUpBox, m_curveAroundUp);
    ExchangeCheck(exchange, *m_curvePlaneBox, m_curveAroundPlane);
    ExchangeCheck(exchange, *m_outsideBox, m_outside);
}

CDomeParams CCreateDomeDlg::Params() const
{
    CDomeParams params;
    params.m_depth = m_depth;
    params.m_splits = m_splits;
    params.m_look = m_look;
    params.m_curveAroundUp = m_curveAroundUp;
    params.m_curveAroundPlane = m_curveAroundPlane;
    params.m_outside = m_outside;
    return params;
}
