// Damaged levels in the running editor on a real OpenGL context (label "gl": run under Xvfb): each
// damaged level the loaders open is written as a level file and opened as a user opens it. The
// status bar points to the checker, the 3D view draws the rooms, "E&rrors..." reports the damage
// that is still there after opening (the opening itself places each thing in the sector holding
// it; the text file names sounds, so a sound beyond the
// list is read as none), and Clean Up, answered Yes, leaves a level the checker finds nothing
// fatal in and the level oracle passes, still drawn.

#include "EditorTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "episode/LevelChecker.h"
#include "episode/ui/ErrorsDlg.h"
#include "support/DamagedLevelTests.h"
#include "support/LevelOracle.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QRect>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>

#include <string>
#include <vector>

namespace {

// Pixels that are not the editor's background: the level drawn.
int LevelPixels(const QImage& image)
{
    return image.width() * image.height() - CountColor(image, kEditorBackground);
}

class DamagedLevelInEditorTest : public EditorTest,
                                 public ::testing::WithParamInterface<CDamagedLevel> {};

TEST_P(DamagedLevelInEditorTest, OpensIsDrawnCheckedAndCleanedUp)
{
    const CDamagedLevel& damage = GetParam();
    const std::string name = damage.m_name;
    CQzlSections level = MakeUndamagedLevel();
    DressBoxSector(level, 0, "floor.mat", "brick.mat", "brick.mat");
    DressBoxSector(level, 1, "sky.mat", "sky.mat", "sky.mat");
    damage.m_damage(level);
    Open(std::move(level), 0);

    const bool soundOnly = name == "sound-beyond" || name == "sound-negative";
    const QString status = m_app->m_pMainFrame->statusBar()->currentMessage();
    const bool repairedByOpening = soundOnly || name.starts_with("thing-sector-");
    EXPECT_EQ(status == QString::fromUtf8(CQzEditDoc::kLevelHasErrorsText), !repairedByOpening)
        << status.toStdString();

    PlaceCamera(0.5f, 0.5f, 0.1f);
    const QImage drawn = m_view->GrabFrame().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(drawn.isNull());
    const int pixels = drawn.width() * drawn.height();
    EXPECT_GT(LevelPixels(drawn), pixels / 2);

    TriggerCommand(*m_app->m_pMainFrame, Cmd::kErrors);
    CErrorsDlg* window = m_doc->ErrorsWindow();
    ASSERT_NE(window, nullptr);
    auto* report = window->findChild<QTextEdit*>(Id(Ctl::kErrorsReport));
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !report->toPlainText().isEmpty(); }, kEditorWaitMs));
    EXPECT_EQ(report->toPlainText() == QStringLiteral("None"), repairedByOpening)
        << report->toPlainText().toStdString();

    m_messages.clear();
    m_answers = {QMessageBox::Yes};
    auto* cleanUp = window->findChild<QPushButton*>(Id(Ctl::kErrorsCleanUp));
    ASSERT_NE(cleanUp, nullptr);
    cleanUp->click();
    QApplication::processEvents();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_doc->IsModified(), !repairedByOpening);

    CLevelChecker checker;
    std::string text;
    EXPECT_EQ(checker.CheckLevel(*m_doc->m_level, m_app->m_product.m_resources, {}, text), 0)
        << text;
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));

    PlaceCamera(0.5f, 0.5f, 0.1f);
    const QImage cleaned = m_view->GrabFrame().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(LevelPixels(cleaned), pixels / 2);
    // Through the joined wall (the right of the picture) sector 1's sky shows while the link is
    // there; a link Clean Up had to take away leaves a solid wall. A floor that only named an
    // adjoin beyond the list keeps its look.
    const QRect joinedWall(drawn.width() * 9 / 10, drawn.height() / 4, drawn.width() / 10,
                           drawn.height() / 2);
    const auto bluish = [](const QImage& image, const QRect& rect) {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                n += qBlue(image.pixel(x, y)) > qRed(image.pixel(x, y)) + 30 ? 1 : 0;
        return n;
    };
    const int wallPixels = joinedWall.width() * joinedWall.height();
    const bool linkTakenAway = name.starts_with("mirror-") || name == "all-opened-at-once";
    EXPECT_EQ(bluish(cleaned, joinedWall) > wallPixels / 2, !linkTakenAway);
    EXPECT_GT(bluish(drawn, joinedWall), wallPixels / 2);
    if (name == "surface-adjoin-beyond") {
        EXPECT_LT(ChangedPixels(drawn, cleaned, drawn.rect(), 24), pixels / 100);
    }
    if (name == "all-opened-at-once")
        SavePictures({{"damaged_drawn.png", &drawn}, {"damaged_cleaned.png", &cleaned}});
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedLevelInEditorTest,
                         ::testing::ValuesIn(OpenedDamagedLevels()), DamagedLevelTestName);

}  // namespace
