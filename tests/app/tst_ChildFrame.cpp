// The document window: its panes and their sizes, the switch of the middle property view, the
// title.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/FormViews.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"

#include <QApplication>
#include <QMdiArea>
#include <QPointer>
#include <QSplitter>
#include <QWindow>

#include <algorithm>

namespace {

class ChildFrameTest : public AppTest {
protected:
    // A new document in a main frame large enough for the ideal pane sizes, laid out as when
    // shown but not put on the screen (the offscreen platform cannot flush an OpenGL widget).
    CChildFrame& OpenFrame()
    {
        MakeApp();
        m_app->m_pMainFrame->setAttribute(Qt::WA_DontShowOnScreen);
        m_app->m_pMainFrame->resize(1200, 900);
        m_app->m_pMainFrame->show();
        m_doc = m_app->NewDocument();
        EXPECT_NE(m_doc, nullptr);
        QApplication::processEvents();
        return *m_doc->Frame();
    }

    CQzEditDoc* m_doc = nullptr;
};

bool IsView(const CQzEditDoc& doc, const QWidget* widget)
{
    return std::ranges::any_of(
        doc.Views(), [widget](CDocView* view) { return dynamic_cast<QWidget*>(view) == widget; });
}

TEST_F(ChildFrameTest, PanesAndTheirSizes)
{
    CChildFrame& frame = OpenFrame();
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(frame.windowTitle(), m_doc->Title() + QStringLiteral("[*]"));

    QSplitter* outer = frame.OuterSplitter();
    QSplitter* left = frame.LeftSplitter();
    ASSERT_EQ(outer, frame.findChild<QSplitter*>(QStringLiteral("OuterSplitter")));
    ASSERT_EQ(left, frame.findChild<QSplitter*>(QStringLiteral("LeftSplitter")));
    EXPECT_EQ(outer->orientation(), Qt::Horizontal);
    EXPECT_EQ(left->orientation(), Qt::Vertical);
    ASSERT_EQ(outer->count(), 2);
    ASSERT_EQ(left->count(), 3);
    EXPECT_EQ(outer->widget(0), left);
    EXPECT_EQ(outer->widget(1), frame.View3d());

    // Top to bottom: the sector form, the surface form, the distance form.
    EXPECT_NE(dynamic_cast<CSectorView*>(left->widget(0)), nullptr);
    EXPECT_NE(dynamic_cast<CSurfaceView*>(left->widget(1)), nullptr);
    EXPECT_NE(dynamic_cast<CDistanceView*>(left->widget(2)), nullptr);
    EXPECT_EQ(left->widget(0)->objectName(), Id(Dlg::kSectorView));
    EXPECT_EQ(left->widget(1)->objectName(), Id(PropertyView::kSurface));
    EXPECT_EQ(left->widget(2)->objectName(), Id(Dlg::kDistanceView));
    EXPECT_EQ(frame.PropertyView(), dynamic_cast<CDocView*>(left->widget(1)));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(IsView(*m_doc, left->widget(i))) << i;
    EXPECT_TRUE(IsView(*m_doc, frame.View3d()));
    EXPECT_EQ(m_doc->m_propertyViewId, PropertyView::kSurface);

    // Column 230 wide; rows 190 and 235, the distance row (at least 40) and the 3D view take
    // the rest.
    EXPECT_EQ(outer->sizes().at(0), 230);
    EXPECT_GT(outer->sizes().at(1), 230);
    EXPECT_EQ(left->sizes().at(0), 190);
    EXPECT_EQ(left->sizes().at(1), 235);
    EXPECT_GE(left->sizes().at(2), 40);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(left->widget(i)->minimumHeight(), 20) << i;
    EXPECT_EQ(left->minimumWidth(), 20);

    // A larger window gives the extra room to the 3D view and the distance row only.
    m_app->m_pMainFrame->resize(1400, 1000);
    QApplication::processEvents();
    EXPECT_EQ(outer->sizes().at(0), 230);
    EXPECT_EQ(left->sizes().at(0), 190);
    EXPECT_EQ(left->sizes().at(1), 235);
}

TEST_F(ChildFrameTest, SwitchPropertyViewKeepsThePaneSizes)
{
    CChildFrame& frame = OpenFrame();
    QSplitter* outer = frame.OuterSplitter();
    QSplitter* left = frame.LeftSplitter();

    // The user drags the bars first.
    outer->setSizes({260, outer->sizes().at(1) - 30});
    left->setSizes({150, 300, left->sizes().at(2) - 25});
    QApplication::processEvents();
    const QList<int> outerSizes = outer->sizes();
    const QList<int> leftSizes = left->sizes();
    ASSERT_EQ(leftSizes.at(1), 300);

    // The class shown already is replaced by a new view too.
    const int ids[] = {PropertyView::kThings, PropertyView::kVertex, PropertyView::kVertex,
                       PropertyView::kSurface};
    for (const int id : ids) {
        QPointer<QWidget> old = left->widget(1);
        frame.SwitchPropertyView(*m_doc, id);
        QApplication::processEvents();
        EXPECT_TRUE(old.isNull()) << id;
        QWidget* view = left->widget(1);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->objectName(), Id(id));
        EXPECT_TRUE(view->isVisible()) << id;
        EXPECT_EQ(view->minimumHeight(), 20);
        EXPECT_EQ(frame.PropertyView(), dynamic_cast<CDocView*>(view));
        EXPECT_TRUE(IsView(*m_doc, view));
        EXPECT_EQ(m_doc->m_propertyViewId, id);
        EXPECT_EQ(outer->sizes(), outerSizes) << id;
        EXPECT_EQ(left->sizes(), leftSizes) << id;
        EXPECT_EQ(left->count(), 3);
    }
    EXPECT_NE(dynamic_cast<CSurfaceView*>(left->widget(1)), nullptr);
    // Views of the document: sector, surface, distance, 3D; the replaced ones are gone.
    EXPECT_EQ(m_doc->Views().size(), 4U);

    // An id that names no property view changes nothing.
    QWidget* shown = left->widget(1);
    frame.SwitchPropertyView(*m_doc, Dlg::kSectorView);
    EXPECT_EQ(left->widget(1), shown);
    EXPECT_EQ(m_doc->m_propertyViewId, PropertyView::kSurface);
}

TEST_F(ChildFrameTest, ClassOfEachPropertyView)
{
    CChildFrame& frame = OpenFrame();
    frame.SwitchPropertyView(*m_doc, PropertyView::kThings);
    EXPECT_NE(dynamic_cast<CThingsView*>(frame.PropertyView()), nullptr);
    frame.SwitchPropertyView(*m_doc, PropertyView::kVertex);
    EXPECT_NE(dynamic_cast<CVertexView*>(frame.PropertyView()), nullptr);
    frame.SwitchPropertyView(*m_doc, PropertyView::kSurface);
    EXPECT_NE(dynamic_cast<CSurfaceView*>(frame.PropertyView()), nullptr);
}

// The document's name and its modified mark, in the document window and in the main window,
// which shows the maximised document window's title after its own (as the window system shows
// it, with Qt's placeholder resolved).
TEST_F(ChildFrameTest, TitleFollowsTheDocument)
{
    CChildFrame& frame = OpenFrame();
    const QWindow* main = m_app->m_pMainFrame->windowHandle();
    ASSERT_NE(main, nullptr);
    const QString product = QStringLiteral("QzEdit - Korvath mode");
    auto shows = [&](const QString& document) { return product + " - [" + document + "]"; };
    EXPECT_EQ(main->title(), shows(m_doc->Title()));
    EXPECT_FALSE(frame.isWindowModified());

    // Saved under a name: both windows take the file's name.
    ASSERT_TRUE(m_doc->SaveAs(m_temp.filePath(QStringLiteral("castle.qze"))));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("castle.qze[*]"));
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_EQ(main->title(), shows(QStringLiteral("castle.qze")));

    // A change marks both; saving clears the mark.
    m_doc->SetModifiedFlag(true);
    EXPECT_TRUE(frame.isWindowModified());
    EXPECT_EQ(main->title(), shows(QStringLiteral("castle.qze*")));
    ASSERT_TRUE(m_doc->DoFileSave());
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_EQ(main->title(), shows(QStringLiteral("castle.qze")));

    // A "[*]" in the file's name is part of the name, not the mark.
    ASSERT_TRUE(m_doc->SaveAs(m_temp.filePath(QStringLiteral("a[*]b.qze"))));
    EXPECT_EQ(main->title(), shows(QStringLiteral("a[*]b.qze")));
    m_doc->SetModifiedFlag(true);
    EXPECT_EQ(main->title(), shows(QStringLiteral("a[*]b.qze*")));

    // The main window names the active document; with none, its own title alone.
    CQzEditDoc* other = m_app->NewDocument();
    EXPECT_EQ(main->title(), shows(other->Title()));
    m_app->m_pMainFrame->MdiArea()->setActiveSubWindow(&frame);
    EXPECT_EQ(main->title(), shows(QStringLiteral("a[*]b.qze*")));
    m_answers = {QMessageBox::No};
    EXPECT_TRUE(m_doc->OnCloseDocument());
    EXPECT_TRUE(other->OnCloseDocument());
    QApplication::processEvents();
    EXPECT_EQ(main->title(), product);
}

TEST_F(ChildFrameTest, DestroyClosesTheWindow)
{
    CChildFrame& frame = OpenFrame();
    QPointer<CChildFrame> guard = &frame;
    frame.Destroy();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(m_doc->Frame(), nullptr);
    EXPECT_EQ(m_app->m_pMainFrame->ActiveChildFrame(), nullptr);
    EXPECT_TRUE(m_doc->Views().empty());
    m_app->RemoveDocument(m_doc);
}

}  // namespace
