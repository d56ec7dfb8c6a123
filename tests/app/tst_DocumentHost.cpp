// The engine's seam on a document without a main frame (and so without status bar, document
// window or views of its own): each call has its outcome, and those that need a window do
// nothing visible.

#include "AppTestSupport.h"

#include "app/DocView.h"
#include "app/ParsingSectorsDlg.h"
#include "app/QzEditDoc.h"

#include <QApplication>
#include <QProgressBar>
#include <QSignalSpy>

#include <string>
#include <utility>
#include <vector>

namespace {

// A view that records the updates it gets.
class CRecordingView : public CDocView {
public:
    void OnUpdate(CDocView* sender, long hint) override { m_updates.emplace_back(sender, hint); }
    std::vector<std::pair<CDocView*, long>> m_updates;
};

// The progress windows on the screen.
std::vector<CParsingSectorsDlg*> ProgressWindows()
{
    std::vector<CParsingSectorsDlg*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CParsingSectorsDlg*>(widget); dialog && dialog->isVisible())
            windows.push_back(dialog);
    return windows;
}

class DocumentHostTest : public AppTest {};

TEST_F(DocumentHostTest, EngineHostWithoutMainFrame)
{
    MakeApp(TestOptions(), false);
    ASSERT_EQ(m_app->m_pMainFrame, nullptr);
    CQzEditDoc doc(*m_app);
    CEngineHost& host = doc;
    CRecordingView view;
    doc.AddView(&view);
    const qsizetype windows = QApplication::topLevelWidgets().size();

    host.ShowMessage("Nothing to do.");
    m_answers = {QMessageBox::No, QMessageBox::Yes};
    EXPECT_FALSE(host.AskYesNo("Really?"));
    EXPECT_TRUE(host.AskYesNo("Really?"));
    EXPECT_EQ(m_messages, (QStringList{QStringLiteral("Nothing to do."), QStringLiteral("Really?"),
                                       QStringLiteral("Really?")}));

    host.BeginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Without a window to stand over, the progress window is a window of its own.
    host.BeginProgress("Parsing Sectors...", 3);
    std::vector<CParsingSectorsDlg*> progress = ProgressWindows();
    ASSERT_EQ(progress.size(), 1U);
    EXPECT_EQ(progress[0]->windowTitle(), QStringLiteral("Parsing Sectors..."));
    EXPECT_EQ(progress[0]->UpperBound(), 3);
    for (int i = 0; i < 5; ++i)
        host.StepProgress();
    EXPECT_EQ(progress[0]->Position(), 3);  // full, not past the end
    EXPECT_EQ(progress[0]->Progress()->value(), 3);
    host.EndProgress();
    EXPECT_TRUE(ProgressWindows().empty());
    host.StepProgress();  // after the end: nothing
    host.EndProgress();
    EXPECT_TRUE(ProgressWindows().empty());

    // The status bar, the scroll bars and the frames belong to windows the document lacks: the
    // calls show nothing and ask nothing.
    host.SetStatusText("status");
    const std::string panes[8] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    host.SetStatusPanes(panes);
    host.SetScrollBars(0, 10, 2, 1, 1);
    host.RequestFrame(true);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_EQ(m_messages.size(), 3);
    EXPECT_TRUE(view.m_updates.empty());

    host.SetGridSetting(0.5f);
    EXPECT_FLOAT_EQ(m_app->m_settings.m_grid, 0.5f);

    // The views hear of changes; the pane switch is kept for the window to come.
    host.ViewsChanged();
    host.UpdateAllViews(7);
    EXPECT_EQ(view.m_updates,
              (std::vector<std::pair<CDocView*, long>>{{nullptr, 0}, {nullptr, 7}}));
    host.SwitchPropertyView(PropertyView::kThings);
    EXPECT_EQ(doc.m_propertyViewId, PropertyView::kThings);

    QSignalSpy modified(&doc, &CQzEditDoc::ModifiedChanged);
    host.SetModifiedFlag(true);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(modified.size(), 1);
    EXPECT_TRUE(modified.at(0).at(0).toBool());
    host.SetModifiedFlag(true);
    EXPECT_EQ(modified.size(), 1);  // no change, no signal
    doc.RemoveView(&view);
}

}  // namespace
