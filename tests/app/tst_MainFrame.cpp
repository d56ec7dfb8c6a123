// The main frame: its title and that it shows.

#include "app/MainFrame.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace {

// One QApplication for the whole test program (Qt allows only one at a time).
class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QApplication::instance() == nullptr)
            s_app = std::make_unique<QApplication>(s_argc, s_argv);
    }

    static void TearDownTestSuite() { s_app.reset(); }

private:
    static inline int s_argc = 1;
    static inline char s_name[] = "tst_MainFrame";
    static inline char* s_argv[] = {s_name, nullptr};
    static inline std::unique_ptr<QApplication> s_app;
};

TEST_F(MainFrameTest, TitleIsQzEdit)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("QzEdit"));
    EXPECT_EQ(frame.objectName(), QStringLiteral("CMainFrame"));
}

TEST_F(MainFrameTest, Shows)
{
    CMainFrame frame;
    EXPECT_FALSE(frame.isVisible());
    frame.show();
    QApplication::processEvents();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_NE(frame.windowHandle(), nullptr);
    EXPECT_GT(frame.width(), 0);
    EXPECT_GT(frame.height(), 0);
    frame.close();
    QApplication::processEvents();
    EXPECT_FALSE(frame.isVisible());
}

}  // namespace
