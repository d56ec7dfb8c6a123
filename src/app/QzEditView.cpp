#include "app/QzEditView.h"

#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/gl/GlRenderDevice.h"

CQzEditView::CQzEditView(CQzEditDoc& doc, QWidget* parent) : QOpenGLWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("CQzEditView"));
    doc.AddView(this);
}

CQzEditView::~CQzEditView() { m_doc.RemoveView(this); }

void CQzEditView::OnUpdate(CDocView*, long) { update(); }
int CQzEditView::IdleFrame() { return 0; }
void CQzEditView::RequestFrame(bool) { update(); }
void CQzEditView::initializeGL() {}
void CQzEditView::paintGL() {}
void CQzEditView::resizeGL(int, int) {}
void CQzEditView::focusInEvent(QFocusEvent* event) { QOpenGLWidget::focusInEvent(event); }
void CQzEditView::focusOutEvent(QFocusEvent* event) { QOpenGLWidget::focusOutEvent(event); }
bool CQzEditView::CreateEngine() { return false; }
