#pragma once
// The vertex form (middle left in vertex mode): the current corner of a surface.

#include "app/FormView.h"

class CVertexView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kVertex;
    CVertexView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};
