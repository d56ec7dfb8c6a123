// The main frame: its title and that it shows.

#include "AppTestSupport.h"

#include "app/MainFrame.h"

#include <QApplication>

namespace {

using MainFrameTest = AppTest;

TEST_F(MainFrameTest, StartsAndShows)
{
    CQzEditApp& app = MakeApp();
    ASSERT_NE(app.m_pMainFrame, nullptr);
    CMainFrame& frame = *app.m_pMainFrame;
    EXPECT_EQ(frame.objectName(), QStringLiteral("CMainFrame"));
    frame.show();
    QApplication::processEvents();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_GT(frame.width(), 0);
}

}  // namespace
