// The File Manager in the running editor on the X display (label "gl": run under Xvfb), opened by
// its command over the editor's window on the synthetic game's archive: the screen shows the
// archive's folder tree with the chosen folder highlighted and that folder's files listed in
// their three columns.

#include "EditorTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/DragTreeCtrl.h"
#include "resources/ui/FileManagerDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QTest>

#include <cstddef>
#include <utility>

namespace {

using EditorFileManagerTest = EditorTest;

// Pixels of area in colour.
int PixelsOf(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
    return count;
}

TEST_F(EditorFileManagerTest, TheGamesArchiveShowsItsFoldersAndTheChosenFoldersFiles)
{
    CQzlSections level = MakeBoxRoom();
    Open(std::move(level), 0);
    ASSERT_FALSE(m_app->m_product.m_archivePath.empty());

    QImage screen;
    QRect treeArea;
    QRect listArea;
    QColor highlight;
    int listed = 0;
    OnModal<CFileManagerDlg>(m_app.get(), [&](CFileManagerDlg& dialog) {
        EXPECT_TRUE(dialog.OpenArchive(m_app->m_product.m_archivePath));
        auto& tree = *Control<CDragTreeCtrl>(dialog, Ctl::kFileManagerTree);
        auto& list = *Control<CDragListCtrl>(dialog, Ctl::kFileManagerList);
        tree.expandAll();
        // The folder with the most files.
        QTreeWidgetItem* fullest = nullptr;
        for (QTreeWidgetItem* item : tree.findItems("*", Qt::MatchWildcard | Qt::MatchRecursive)) {
            tree.setCurrentItem(item);
            if (list.topLevelItemCount() > listed) {
                listed = list.topLevelItemCount();
                fullest = item;
            }
        }
        ASSERT_NE(fullest, nullptr);
        tree.setCurrentItem(fullest);
        tree.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::qWait(200);
        // What the X server shows of the dialog's window.
        screen = dialog.screen()->grabWindow(dialog.winId()).toImage();
        const qreal ratio = screen.devicePixelRatio();
        const auto inWindow = [&](const QWidget& w) {
            const QRect r(w.mapTo(&dialog, QPoint(0, 0)), w.size());
            return QRect(r.topLeft() * ratio, r.size() * ratio);
        };
        treeArea = inWindow(*tree.viewport());
        listArea = inWindow(*list.viewport());
        highlight = tree.palette().color(QPalette::Active, QPalette::Highlight);
        Click(dialog, Ctl::kCancel);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kFileManager);
    SavePictures({{"qzedit_file_manager.png", &screen}});
    ASSERT_FALSE(screen.isNull());
    ASSERT_GT(listed, 10);

    // The list's rows (a name, an offset and a size each) and the tree's folder labels are drawn;
    // the chosen folder stands out in the highlight colour.
    EXPECT_GT(DarkPixels(screen, listArea), listed * 40);
    EXPECT_GT(DarkPixels(screen, treeArea), 100);
    EXPECT_GT(PixelsOf(screen, treeArea, highlight), 200);
    CloseWithoutSaving(*m_doc);
}

}  // namespace
