#pragma once
// The sector form (top left of a document window): the engine's current sector.

#include "app/FormView.h"

class CSectorView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = Dlg::kSectorView;
    CSectorView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};
