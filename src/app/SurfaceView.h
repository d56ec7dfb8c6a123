#pragma once
// The surface form (middle left in surface mode): the engine's current surface and its adjoin.

#include "app/FormView.h"

class CSurfaceView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kSurface;
    CSurfaceView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};
