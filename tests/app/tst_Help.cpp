// The help: the help window's place, the context of a help request by the active view, and the
// local pages that open for contexts and for the Help menu's commands.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/FormViews.h"
#include "app/Help.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "app/Splash.h"

#include <QDir>
#include <QFileInfo>
#include <QSplitter>

namespace {

TEST(HelpWindowPlacement, ScreenUnits)
{
    struct Case {
        QRect frame;
        QSize screen;
        CHelpWindowPos expected;
    };
    const Case cases[] = {
        // 800 x 600 at (100, 50) on 1024 x 768.
        {QRect(100, 50, 800, 600), QSize(1024, 768), {180, 146, 640, 640}},
        // A small window: the size is raised to 350 x 400.
        {QRect(0, 0, 200, 100), QSize(1024, 768), {20, 13, 350, 400}},
        {QRect(-10, 0, 1920, 1080), QSize(1920, 1080), {97, 102, 820, 820}},
        {QRect(0, 0, 640, 480), QSize(0, 0), {0, 0, 1024, 1024}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.x() << "," << c.frame.y() << " "
                                        << c.frame.width() << "x" << c.frame.height());
        const CHelpWindowPos pos = HelpWindowPlacement(c.frame, c.screen);
        EXPECT_EQ(pos.x, c.expected.x);
        EXPECT_EQ(pos.y, c.expected.y);
        EXPECT_EQ(pos.dx, c.expected.dx);
        EXPECT_EQ(pos.dy, c.expected.dy);
    }
}

class HelpTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_oldHook = SetOpenUrlHook([this](const QUrl& url) { m_opened.push_back(url); });
    }
    void TearDown() override
    {
        SetOpenUrlHook(m_oldHook);
        AppTest::TearDown();
    }

    // The file name of each page opened, in order.
    QStringList Opened() const
    {
        QStringList names;
        for (const QUrl& url : m_opened) {
            EXPECT_TRUE(url.isLocalFile());
            const QFileInfo file(url.toLocalFile());
            EXPECT_EQ(file.dir().dirName(), QStringLiteral("help"));
            EXPECT_TRUE(file.isFile()) << file.filePath().toStdString();
            names.push_back(file.fileName());
        }
        return names;
    }

    std::vector<QUrl> m_opened;
    COpenUrlHook m_oldHook;
};

TEST_F(HelpTest, ContextOfTheActiveView)
{
    CQzEditApp& app = MakeApp();
    CMainFrame& frame = *app.m_pMainFrame;
    // No document open: the index context.
    EXPECT_EQ(WinHelp(app, kHelpIdMainFrame), kHelpContextIndex);

    CQzEditDoc* doc = app.NewDocument();
    ASSERT_NE(doc, nullptr);
    CChildFrame* child = doc->Frame();
    ASSERT_NE(child, nullptr);
    QSplitter* left = child->LeftSplitter();
    CDocView* sector = dynamic_cast<CDocView*>(left->widget(0));
    CDocView* property = dynamic_cast<CDocView*>(left->widget(1));
    CDocView* distance = dynamic_cast<CDocView*>(left->widget(2));
    ASSERT_TRUE(sector && property && distance);
    CQzEditView* view3d = child->View3d();

    struct Case {
        CDocView* view;
        unsigned int context;
    };
    const Case cases[] = {
        {view3d, 0x50081},   {sector, 0x20065},  {property, 0x200BA},
        {distance, 0x21398}, {nullptr, 0x1E142},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        frame.SetActiveView(c.view);
        EXPECT_EQ(WinHelp(app, kHelpIdMainFrame), c.context);
        EXPECT_EQ(WinHelp(app, kHelpIdDocumentWindow), c.context);
        // Any other help id is shown as it is.
        EXPECT_EQ(WinHelp(app, kHelpContextSurface), kHelpContextSurface);
    }

    // The things and vertex forms.
    {
        CThingsView things(*doc, nullptr);
        frame.SetActiveView(&things);
        EXPECT_EQ(WinHelp(app, kHelpIdMainFrame), 0x200BEu);
        CVertexView vertex(*doc, nullptr);
        frame.SetActiveView(&vertex);
        EXPECT_EQ(WinHelp(app, kHelpIdMainFrame), 0x2044Au);
        frame.SetActiveView(nullptr);
    }
    // A view of a document that is not open is not the active view of anything.
    {
        CQzEditDoc closed(app);
        CSectorView stray(closed, nullptr);
        EXPECT_EQ(HelpContextOfView(&stray), kHelpContextSector);
        frame.SetActiveView(&stray);
        EXPECT_EQ(WinHelp(app, kHelpIdMainFrame), kHelpContextIndex);
        frame.SetActiveView(nullptr);
    }

    // Help ids of non-client areas (upper word 0x0004) are ignored.
    m_opened.clear();
    EXPECT_EQ(WinHelp(app, 0x4E001), 0u);
    EXPECT_EQ(WinHelp(app, 0x40000), 0u);
    EXPECT_TRUE(m_opened.empty());
}

TEST_F(HelpTest, PagesOfContextsAndOfTheHelpMenu)
{
    CQzEditApp& app = MakeApp();
    for (const unsigned int context :
         {kHelpContextIndex, kHelpContext3dView, kHelpContextSector, kHelpContextSurface,
          kHelpContextVertex, kHelpContextThings, kHelpContextDistance})
        OpenHelpContext(app, context);
    OpenHelpContext(app, 0x12345);  // no page of its own
    OpenHelpPage(app, QStringLiteral("tutorial.htm"));
    OpenHelpPage(app, QStringLiteral("faq.htm"));
    WinHelp(app, 0, kHelpCommandFinder);
    EXPECT_EQ(Opened(), QStringList({"1e142.htm", "50081.htm", "20065.htm", "200ba.htm",
                                     "2044a.htm", "200be.htm", "21398.htm", "index.htm",
                                     "tutorial.htm", "faq.htm", "1e142.htm"}));

    // The commands of the Help menu.
    m_opened.clear();
    EXPECT_TRUE(app.OnCommand(Cmd::kHelpIndex));
    EXPECT_TRUE(app.OnCommand(Cmd::kHelpTutorials));
    EXPECT_TRUE(app.OnCommand(Cmd::kHelpFaqs));
    EXPECT_EQ(Opened(), QStringList({"1e142.htm", "tutorial.htm", "faq.htm"}));
}

}  // namespace
