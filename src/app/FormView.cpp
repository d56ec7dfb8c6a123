#include "app/FormView.h"

#include "app/QzEditDoc.h"

CFormView::CFormView(CQzEditDoc& doc, int dialogId, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_dialogId(dialogId)
{
    setObjectName(QString::number(dialogId));
    doc.AddView(this);
}

CFormView::~CFormView()
{
    m_doc.RemoveView(this);
}

void CFormView::OnUpdate(CDocView*, long) {}
