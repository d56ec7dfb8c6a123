#include "app/ChildFrame.h"

#include "app/FormViews.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"

#include <QCloseEvent>
#include <QSplitter>

CChildFrame::CChildFrame(CQzEditDoc& doc, QWidget* parent) : QMdiSubWindow(parent), m_doc(doc)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_outer = new QSplitter(Qt::Horizontal, this);
    m_left = new QSplitter(Qt::Vertical, m_outer);
    new CSectorView(doc, m_left);
    new CSurfaceView(doc, m_left);
    new CDistanceView(doc, m_left);
    m_view3d = new CQzEditView(doc, m_outer);
    setWidget(m_outer);
    doc.SetFrame(this);
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::SwitchPropertyView(CQzEditDoc& doc, int id) { doc.m_propertyViewId = id; }

CDocView* CChildFrame::PropertyView() const
{
    return dynamic_cast<CDocView*>(m_left->widget(1));
}

void CChildFrame::Destroy()
{
    m_destroying = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_destroying) {
        event->ignore();
        m_doc.OnCloseDocument();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
