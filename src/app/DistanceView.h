#pragma once
// The distance form (bottom left): the distances between the last two points picked in the 3D
// view, straight ("Distance, Eye:") and from the earlier point to the plane of the surface picked
// last ("Distance, Planar:"). The form keeps the two points itself; the first pick after the form
// is made measures from (0, 0, 0).

#include "app/FormView.h"
#include "math/Vector3.h"

class CFieldExchange;

class CDistanceView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = Dlg::kDistanceView;
    CDistanceView(CQzEditDoc& doc, QWidget* parent);

    // Fill. hint says what the 3D view's pick did: 0 no new point (the values stay), 1 a point
    // was picked with the Sector Mode switch on, n >= 2 a point was picked on surface n - 2. For
    // a new point the newest of the engine's pick points becomes the latest point and both
    // distances the straight one; on a surface the planar distance is the earlier point's from
    // the surface's plane (0 within 1e-5 of it).
    void OnUpdate(CDocView* sender, long hint) override;

private:
    void DoDataExchange(CFieldExchange& exchange);

    float m_eye = 0.0f;
    float m_planar = 0.0f;
    CVector3 m_latest;
    CVector3 m_previous;
};
