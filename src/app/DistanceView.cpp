#include "app/DistanceView.h"

#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "ui/FormFields.h"
#include "ui/ScrollingForm.h"

CDistanceView::CDistanceView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent)
{
    QWidget& form = AddScrollingForm(*this);
    CFormLayout layout(form);
    layout.Edit(QStringLiteral("Distance, Eye:"), Ctl::kDistanceEye, true);
    layout.Edit(QStringLiteral("Distance, Planar:"), Ctl::kDistancePlanar, true);
    layout.Finish();

    OnUpdate(nullptr, 0);
}

void CDistanceView::DoDataExchange(CFieldExchange& exchange)
{
    exchange.Float(Ctl::kDistanceEye, m_eye);
    exchange.Float(Ctl::kDistancePlanar, m_planar);
}

void CDistanceView::OnUpdate(CDocView*, long hint)
{
    const C3dView* engine = Document().m_pEngine;
    if (engine != nullptr && hint >= 1 && !engine->m_selection.m_lastPickPoints.empty()) {
        m_previous = m_latest;
        m_latest = engine->m_selection.m_lastPickPoints.back();
        m_eye = VectorLength(m_latest - m_previous);
        m_planar = m_eye;
        // The hint names the surface; one the level does not hold leaves the straight distance.
        const CQzlSections& level = *Document().m_level;
        const long surface = hint - 2;
        if (hint >= 2 && surface < static_cast<long>(level.m_surfaces.size())) {
            CVector3 projected;
            float distance = 0.0f;
            ProjectPointOnSurfacePlane(level, static_cast<int>(surface), m_previous, projected,
                                       distance);
            m_planar = distance;
        }
    }
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    DoDataExchange(exchange);
}
