#pragma once
// The things form (middle left in thing mode): the engine's current thing.

#include "app/FormView.h"

class CThingsView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kThings;
    CThingsView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};
