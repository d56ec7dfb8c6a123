#pragma once
// The distance form (bottom left): the distances between the last two picked points.

#include "app/FormView.h"

class CDistanceView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = Dlg::kDistanceView;
    CDistanceView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};
