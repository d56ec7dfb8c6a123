#include "app/ChildFrame.h"

#include "app/FormViews.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"

#include <QCloseEvent>
#include <QSplitter>

namespace {

// Ideal sizes of the panes: the left column's width and the heights of its three rows; the 3D
// view and the last row take what is left. No pane gets smaller than kMinimumPane.
constexpr int kColumnWidth = 230;
constexpr int kSectorRowHeight = 190;
constexpr int kPropertyRowHeight = 235;
constexpr int kDistanceRowHeight = 40;
constexpr int kMinimumPane = 20;

void SetMinimumPane(QWidget* pane)
{
    pane->setMinimumSize(kMinimumPane, kMinimumPane);
}

// A new property view of the class id names; null for an id that names none.
CFormView* MakePropertyView(int id, CQzEditDoc& doc, QWidget* parent)
{
    switch (id) {
    case CSurfaceView::kId:
        return new CSurfaceView(doc, parent);
    case CThingsView::kId:
        return new CThingsView(doc, parent);
    case CVertexView::kId:
        return new CVertexView(doc, parent);
    default:
        return nullptr;
    }
}

}  // namespace

CChildFrame::CChildFrame(CQzEditDoc& doc, QWidget* parent) : QMdiSubWindow(parent), m_doc(doc)
{
    setAttribute(Qt::WA_DeleteOnClose);

    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName(QStringLiteral("OuterSplitter"));
    m_outer->setChildrenCollapsible(false);
    m_left = new QSplitter(Qt::Vertical, m_outer);
    m_left->setObjectName(QStringLiteral("LeftSplitter"));
    m_left->setChildrenCollapsible(false);
    m_left->setFrameShape(QFrame::StyledPanel);

    SetMinimumPane(new CSectorView(doc, m_left));
    SetMinimumPane(new CSurfaceView(doc, m_left));
    SetMinimumPane(new CDistanceView(doc, m_left));
    m_view3d = new CQzEditView(doc, m_outer);
    SetMinimumPane(m_left);

    // The 3D view and the distance row take the rest of the space, the other panes keep their
    // sizes when the window changes size.
    m_outer->setStretchFactor(0, 0);
    m_outer->setStretchFactor(1, 1);
    m_outer->setSizes({kColumnWidth, 1});
    m_left->setStretchFactor(0, 0);
    m_left->setStretchFactor(1, 0);
    m_left->setStretchFactor(2, 1);
    m_left->setSizes({kSectorRowHeight, kPropertyRowHeight, kDistanceRowHeight});

    setWidget(m_outer);
    setWindowTitle(MarkedTitle(doc));
    setWindowModified(doc.IsModified());
    connect(&doc, &CQzEditDoc::TitleChanged, this, [this] { setWindowTitle(MarkedTitle(m_doc)); });
    connect(&doc, &CQzEditDoc::ModifiedChanged, this,
            [this](bool modified) { setWindowModified(modified); });
    doc.SetFrame(this);
}

CChildFrame::~CChildFrame()
{
    if (m_doc.Frame() == this)
        m_doc.SetFrame(nullptr);
}

QString CChildFrame::MarkedTitle(const CQzEditDoc& doc)
{
    QString title = doc.Title();
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return title + QStringLiteral("[*]");
}

void CChildFrame::SwitchPropertyView(CQzEditDoc& doc, int id)
{
    if (id != CSurfaceView::kId && id != CThingsView::kId && id != CVertexView::kId)
        return;
    doc.m_propertyViewId = id;

    // The new view takes the old one's place with the sizes the user left, also when it is of
    // the same class.
    const QList<int> outerSizes = m_outer->sizes();
    const QList<int> leftSizes = m_left->sizes();
    CFormView* view = MakePropertyView(id, doc, nullptr);
    SetMinimumPane(view);
    QWidget* old = m_left->replaceWidget(1, view);
    delete old;
    m_left->setSizes(leftSizes);
    m_outer->setSizes(outerSizes);
}

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
    // The close box asks the document; when it goes on it calls Destroy, which marks this
    // window as closing (a close() from inside this handler does nothing), so the close goes on.
    if (!m_destroying) {
        m_doc.OnCloseDocument();
        if (!m_destroying) {
            event->ignore();
            return;
        }
    }
    QMdiSubWindow::closeEvent(event);
}
