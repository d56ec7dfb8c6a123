// The 3D view window of a document window in the running editor, on a real OpenGL context (label
// "gl": run under Xvfb): the first paint of an opened level makes the engine and draws it, a
// document without a level fills the background, resizes remake the render target, a new
// context (the view moved to another window) gets a new device, a context without OpenGL 3.3
// closes the document with a message, and closing the window ends the engine. With the default
// settings a new level is drawn at the window's own pixel size with its textures and the status
// bar names the device; "Texture Mapping" chooses point or linear filtering.

#include "AppTestSupport.h"
#include "EditorTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/gl/GlRenderDevice.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kWaitMs = 20000;
constexpr std::uint32_t kBackground = 0x00204060;  // "ColorBackground", 0x00BBGGRR

class EditorViewTest : public AppTest {
protected:
    void TearDown() override
    {
        CQzEditView::SetDeviceFactory(m_oldFactory);
        AppTest::TearDown();
    }

    // The application with its main frame hidden until ShowMainFrame: a document opened before
    // is painted first when the frame shows. A background colour of its own, all sectors solid.
    CQzEditApp& Start()
    {
        CQzEditApp& app = MakeApp();
        app.m_settings.m_colorBackground = kBackground;
        app.m_settings.m_renderMode = 0;
        EXPECT_NE(app.m_pMainFrame, nullptr);
        if (app.m_pMainFrame != nullptr)
            app.m_pMainFrame->setGeometry(20, 20, 1000, 750);
        return app;
    }

    // Opens the two joined rooms, drawn with all sectors solid.
    CQzEditDoc* OpenTwoRooms()
    {
        CQzEditDoc* doc = m_app->OpenDocumentFile(WriteTwoRooms());
        EXPECT_NE(doc, nullptr) << m_messages.join(QStringLiteral("; ")).toStdString();
        if (doc != nullptr)
            doc->m_state.m_renderMode = 0;
        return doc;
    }

    void ShowMainFrame()
    {
        m_app->m_pMainFrame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_app->m_pMainFrame));
    }

    // The two joined rooms as a .qzl file in the temporary folder.
    QString WriteTwoRooms()
    {
        CQzlSections level = MakeTwoJoinedRooms();
        if (level.m_gameTag.empty())
            level.m_gameTag = "QZ";
        const std::filesystem::path path = Temp() / "two rooms.qzl";
        const CGameResources game;
        SaveQzlFile(path, level, game, 0);
        return QString::fromStdString(path.string());
    }

    static CQzEditView* View3d(const CQzEditDoc& doc)
    {
        for (CDocView* view : doc.Views())
            if (auto* view3d = dynamic_cast<CQzEditView*>(view))
                return view3d;
        return nullptr;
    }

    // Waits until the view has an engine drawing on a device and has painted more than
    // paints times.
    static bool WaitUntilDrawn(CQzEditView& view, int paints = 0)
    {
        return QTest::qWaitFor(
            [&] {
                return view.Engine() != nullptr && view.Device() != nullptr &&
                       view.Engine()->m_device == view.Device() && view.PaintCount() > paints;
            },
            kWaitMs);
    }

    // Pixels of image whose colour is not the "ColorBackground" setting bgr (0x00BBGGRR).
    static int CountNotBackground(const QImage& image, std::uint32_t bgr)
    {
        return image.width() * image.height() - CountColor(image, bgr);
    }

    // The camera stands in the middle of the level, inside the rooms: their solid walls fill
    // most of the view.
    static void ExpectDrawnLevel(CQzEditView& view, QImage* grab = nullptr)
    {
        const QImage image = view.GrabFrame();
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(CountNotBackground(image, kBackground), image.width() * image.height() / 2);
        if (grab != nullptr)
            *grab = image;
    }

    CQzEditView::CDeviceFactory m_oldFactory = CQzEditView::SetDeviceFactory({});
};

TEST_F(EditorViewTest, FirstPaintMakesTheEngineAndDrawsTheLevel)
{
    CQzEditApp& app = Start();
    CQzEditDoc* doc = OpenTwoRooms();
    ASSERT_NE(doc, nullptr);
    doc->m_pendingTitle = QStringLiteral("TWOROOMS.QZL");
    CQzEditView* view = View3d(*doc);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Engine(), nullptr);
    EXPECT_TRUE(view->m_creating);
    ShowMainFrame();
    EXPECT_EQ(view->objectName(), QStringLiteral("CQzEditView"));
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);

    ASSERT_TRUE(WaitUntilDrawn(*view)) << view->DeviceError();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(doc->m_pEngine, view->Engine());
    EXPECT_FALSE(view->m_creating);
    // The pending title replaces the file's, and Save asks for a file.
    EXPECT_EQ(doc->Title(), QStringLiteral("TWOROOMS.QZL"));
    EXPECT_TRUE(doc->PathName().isEmpty());
    EXPECT_TRUE(doc->m_pendingTitle.isEmpty());
    ASSERT_NE(app.m_pMainFrame, nullptr);
    EXPECT_EQ(app.m_pMainFrame->ActiveView(), view);

    ExpectDrawnLevel(*view);

    // A document update from elsewhere paints a new frame: here from above and in front of the
    // rooms, the first one solid and the second one as a wireframe.
    C3dView& engine = *view->Engine();
    SetCameraAxes(engine, 0.0f, -0.6476f, 0.7619f, 0.0f, 0.7619f, 0.6476f);
    SetCameraPosition(engine, 1.0f, 2.2f, -1.5f);
    engine.m_selection.m_sector = 0;
    doc->m_state.m_renderMode = 1;
    const int paints = view->PaintCount();
    doc->UpdateAllViews(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->PaintCount() > paints; }, kWaitMs));
    const QImage image = view->GrabFrame();
    const QString png = QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("qzedit_two_rooms.png");
    EXPECT_TRUE(image.save(png));
    std::printf("3D view of the two joined rooms: %s\n", png.toLocal8Bit().constData());
    const int background = image.width() * image.height() - CountNotBackground(image, kBackground);
    const std::uint32_t wire = app.m_settings.m_colorWireframe;
    const int wireframe = image.width() * image.height() - CountNotBackground(image, wire);
    EXPECT_GT(background, image.width() * image.height() / 10);
    EXPECT_GT(wireframe, 100);

    // Nothing animates with walk mode off: the idle loop stops.
    EXPECT_EQ(view->IdleFrame(), 0);
    EXPECT_FALSE(app.OnIdle());

    // The focus switches the accelerator tables.
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(view, &focusOut);
    EXPECT_EQ(app.m_pMainFrame->AcceleratorTable(), AccelTable::kFrame);
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(view, &focusIn);
    EXPECT_EQ(app.m_pMainFrame->AcceleratorTable(), AccelTable::kView);
    EXPECT_EQ(app.m_pMainFrame->ActiveView(), view);

    // Closing the document ends the view and its engine.
    const CDocView* const closedView = view;
    QPointer<CQzEditDoc> guardDoc(doc);
    QPointer<CQzEditView> guardView(view);
    m_answers.push_back(QMessageBox::No);  // should it ask to save
    doc->OnCloseDocument();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guardView.isNull(); }, kWaitMs));
    if (guardDoc) {
        EXPECT_EQ(guardDoc->m_pEngine, nullptr);
    }
    EXPECT_NE(app.m_pMainFrame->ActiveView(), closedView);
}

// The band of a view of the new level, seen from its player start, that shows the brick wall
// across the room: the upper middle of the picture.
QRect BackWallArea(const QImage& image)
{
    return QRect(image.width() * 3 / 10, image.height() / 5, image.width() * 2 / 5,
                 image.height() / 4);
}

TEST_F(EditorViewTest, NewLevelFillsTheWindowWithTexturedWallsAndNamesTheDevice)
{
    // Every setting at its default; a window of a user's screen, on the screen whatever its
    // device pixel ratio.
    CQzEditApp& app = MakeApp();
    CMainFrame& frame = *app.m_pMainFrame;
    const QRect available = frame.screen()->availableGeometry();
    frame.setGeometry(available.left() + 20, available.top() + 20,
                      std::min(1000, available.width() - 40),
                      std::min(750, available.height() - 40));
    CQzEditDoc* doc = app.NewDocument();
    ASSERT_NE(doc, nullptr);
    CQzEditView* view = View3d(*doc);
    ASSERT_NE(view, nullptr);
    ShowMainFrame();
    ASSERT_TRUE(WaitUntilDrawn(*view)) << view->DeviceError();
    C3dView& engine = *view->Engine();

    // A click on the wall across the room makes the room the current sector: it is drawn solid.
    const int paints = view->PaintCount();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                      QPoint(view->ClientRect().width() / 2, view->ClientRect().height() / 3));
    ASSERT_EQ(engine.m_selection.m_sector, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->PaintCount() > paints; }, kWaitMs));
    // Only a look: the document is not modified.
    EXPECT_FALSE(doc->IsModified());

    // The picture has the window's own pixel size (device pixels: the test runs at a ratio of 2
    // too).
    const double ratio = view->devicePixelRatioF();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) {
        EXPECT_EQ(ratio, 2.0);
    }
    const int width = static_cast<int>(std::lround(view->ClientRect().width() * ratio));
    const int height = static_cast<int>(std::lround(view->ClientRect().height() * ratio));
    EXPECT_EQ(engine.m_viewport.m_renderWidth, width);
    EXPECT_EQ(engine.m_viewport.m_renderHeight, height);
    const QImage image = view->GrabFrame();
    ASSERT_EQ(image.width(), width);
    ASSERT_EQ(image.height(), height);

    // Textured: the brick wall shows bricks and mortar, not one flat colour.
    EXPECT_GE(DistinctColors(image, BackWallArea(image)), 3);
    // Not scaled up from a coarser picture: where a picture 320 pixels wide would repeat a column
    // in the next one, this one mostly differs.
    int repeated = 0;
    int differing = 0;
    for (int x = 0; x + 1 < width; ++x) {
        if (x * 320 / width != (x + 1) * 320 / width)
            continue;
        ++repeated;
        for (int y = 0; y < height; ++y)
            if (image.pixel(x, y) != image.pixel(x + 1, y)) {
                ++differing;
                break;
            }
    }
    ASSERT_GT(repeated, 0);
    EXPECT_GT(differing * 2, repeated) << differing << " of " << repeated;

    // Pane 0 names the render device: the OpenGL renderer, which "Device" names.
    ASSERT_EQ(engine.m_viewport.m_deviceNames.size(), 1u);
    const QString renderer = QString::fromStdString(engine.m_viewport.m_deviceNames[0]);
    EXPECT_FALSE(renderer.trimmed().isEmpty());
    EXPECT_EQ(app.m_settings.m_device, 0);
    QLabel* pane = frame.StatusPane(0);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->text(), renderer);
    EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(pane->isVisible());

    // The main window as the screen shows it, once the window system has the new frame.
    QScreen* screen = frame.screen();
    ASSERT_NE(screen, nullptr);
    QImage shot;
    QImage shotView;
    const QPoint viewOrigin = view->mapTo(&frame, QPoint(0, 0));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            shot = screen->grabWindow(frame.winId()).toImage();
            shotView = shot.copy(QRect(viewOrigin, view->ClientRect().size()));
            return DistinctColors(shotView, BackWallArea(shotView)) >= 3;
        },
        kWaitMs));
    const QString png =
        QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("qzedit_new_level_window.png");
    EXPECT_TRUE(shot.save(png));
    std::printf("The editor with a new level: %s\n", png.toLocal8Bit().constData());

    // A message of the engine stays through the frames that follow.
    doc->SetStatusText("Sector 0 processed...");
    const int later = view->PaintCount();
    view->RequestFrame(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->PaintCount() > later; }, kWaitMs));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Sector 0 processed..."));
    EXPECT_EQ(frame.m_strDevicePane, renderer);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(EditorViewTest, TextureMappingChoosesNearestOrLinearFiltering)
{
    CQzEditApp& app = Start();
    int colors[2] = {};
    for (const int mapping : {1, 0}) {
        app.m_settings.m_textureMapping = mapping;
        CQzEditDoc* doc = app.NewDocument();
        ASSERT_NE(doc, nullptr);
        doc->m_state.m_renderMode = 0;
        CQzEditView* view = View3d(*doc);
        ASSERT_NE(view, nullptr);
        if (mapping == 1)
            ShowMainFrame();
        ASSERT_TRUE(WaitUntilDrawn(*view)) << view->DeviceError();
        const QImage image = view->GrabFrame();
        colors[mapping] = DistinctColors(image, BackWallArea(image));
        m_answers.push_back(QMessageBox::No);
        QPointer<CQzEditView> guardView(view);
        doc->OnCloseDocument();
        ASSERT_TRUE(QTest::qWaitFor([&] { return guardView.isNull(); }, kWaitMs));
    }
    // "Nearest": each pixel is one texel of the bricks (red, darker red, mortar) under white
    // light. "Linear": neighbouring texels blend into many more colours.
    EXPECT_LE(colors[1], 4);
    EXPECT_GE(colors[0], 3 * colors[1]) << colors[0] << " against " << colors[1];
}

TEST_F(EditorViewTest, DocumentWithoutLevelFillsTheBackground)
{
    CQzEditApp& app = Start();
    CQzEditDoc* doc = app.NewDocument();
    ASSERT_NE(doc, nullptr);
    *doc->m_level = CQzlSections();  // no level: its tag is empty
    CQzEditView* view = View3d(*doc);
    ASSERT_NE(view, nullptr);
    ShowMainFrame();

    ASSERT_TRUE(QTest::qWaitFor([&] { return view->PaintCount() > 0; }, kWaitMs));
    QTest::qWait(100);
    EXPECT_EQ(view->Engine(), nullptr);
    EXPECT_EQ(doc->m_pEngine, nullptr);
    EXPECT_FALSE(view->m_creating);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    const QImage image = view->GrabFrame();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(CountNotBackground(image, kBackground), 0);
    EXPECT_EQ(view->IdleFrame(), 0);
}

TEST_F(EditorViewTest, ResizeRemakesTheRenderTarget)
{
    CQzEditApp& app = Start();
    app.m_settings.m_stretchMode = 0;  // render at the window's size
    CQzEditDoc* doc = OpenTwoRooms();
    ASSERT_NE(doc, nullptr);
    CQzEditView* view = View3d(*doc);
    ASSERT_NE(view, nullptr);
    ShowMainFrame();
    ASSERT_TRUE(WaitUntilDrawn(*view)) << view->DeviceError();

    const auto fitsWindow = [view] {
        const double ratio = view->devicePixelRatioF();
        const int width = static_cast<int>(view->ClientRect().width() * ratio + 0.5);
        const int height = static_cast<int>(view->ClientRect().height() * ratio + 0.5);
        return view->Engine()->m_viewport.m_renderWidth == width &&
               view->Engine()->m_viewport.m_renderHeight == height &&
               view->Device()->RenderWidth() == width && view->Device()->RenderHeight() == height;
    };
    EXPECT_TRUE(fitsWindow());
    const QSize before = view->size();
    app.m_pMainFrame->resize(app.m_pMainFrame->width() - 200, app.m_pMainFrame->height() - 150);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->size() != before; }, kWaitMs));
    view->RequestFrame(true);
    EXPECT_TRUE(QTest::qWaitFor(fitsWindow, kWaitMs))
        << view->Engine()->m_viewport.m_renderWidth << "x"
        << view->Engine()->m_viewport.m_renderHeight << " for " << view->width() << "x"
        << view->height();
    ExpectDrawnLevel(*view);
}

TEST_F(EditorViewTest, NewContextGetsANewDevice)
{
    Start();
    CQzEditDoc* doc = OpenTwoRooms();
    ASSERT_NE(doc, nullptr);
    CQzEditView* view = View3d(*doc);
    ASSERT_NE(view, nullptr);
    ShowMainFrame();
    ASSERT_TRUE(WaitUntilDrawn(*view)) << view->DeviceError();
    C3dView* engine = view->Engine();
    engine->m_selection.m_sector = 1;

    // Another top-level window: the old context goes, with every device object of the engine.
    QWidget holder;
    holder.resize(400, 300);
    int paints = view->PaintCount();
    view->setParent(&holder);
    EXPECT_EQ(view->Device(), nullptr);
    EXPECT_EQ(engine->m_device, nullptr);
    view->show();
    holder.show();
    ASSERT_TRUE(WaitUntilDrawn(*view, paints)) << view->DeviceError();
    // The same engine, selection kept.
    EXPECT_EQ(view->Engine(), engine);
    EXPECT_EQ(engine->m_selection.m_sector, 1);
    ExpectDrawnLevel(*view);

    // And back into the document window.
    ASSERT_NE(doc->Frame(), nullptr);
    paints = view->PaintCount();
    doc->Frame()->OuterSplitter()->addWidget(view);
    ASSERT_TRUE(WaitUntilDrawn(*view, paints)) << view->DeviceError();
    ExpectDrawnLevel(*view);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();

    QPointer<CQzEditView> guardView(view);
    m_answers.push_back(QMessageBox::No);
    doc->OnCloseDocument();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guardView.isNull(); }, kWaitMs));
}

TEST_F(EditorViewTest, WithoutOpenGl33TheDocumentClosesWithAMessage)
{
    CQzEditView::SetDeviceFactory([](QOpenGLContext&, std::string& error) {
        error = "OpenGL 3.3 is not available: the driver offers OpenGL 2.1.";
        return std::unique_ptr<CGlRenderDevice>();
    });
    CQzEditApp& app = Start();
    CQzEditDoc* doc = OpenTwoRooms();
    ASSERT_NE(doc, nullptr);
    QPointer<CQzEditView> view(View3d(*doc));
    ASSERT_FALSE(view.isNull());
    ShowMainFrame();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_messages.isEmpty(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.Documents().empty() && view.isNull(); }, kWaitMs));
    QTest::qWait(100);
    ASSERT_EQ(m_messages.size(), 1) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(m_messages[0].startsWith(QStringLiteral(
        "This version of QzEdit requires OpenGL 3.3. QzEdit\ncannot continue, unless ")));
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("the driver offers OpenGL 2.1.")));
}

// A platform that cannot show OpenGL widgets (the offscreen platform of the widget tests; this
// case has a test entry of its own that runs it there): the document window shows, the view
// draws the background, makes no engine and says nothing.
TEST_F(EditorViewTest, HeadlessPlatformDrawsTheBackgroundOnly)
{
    if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
        GTEST_SKIP() << "runs on the offscreen platform";
    CQzEditApp& app = Start();
    CQzEditDoc* doc = OpenTwoRooms();
    ASSERT_NE(doc, nullptr);
    CQzEditView* view = View3d(*doc);
    ASSERT_NE(view, nullptr);
    ShowMainFrame();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->PaintCount() > 0; }, kWaitMs));
    QTest::qWait(100);

    EXPECT_FALSE(view->HasSurface());
    EXPECT_EQ(view->Engine(), nullptr);
    EXPECT_EQ(doc->m_pEngine, nullptr);
    EXPECT_FALSE(view->m_creating);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(app.Documents().size(), 1u);
    const QImage image = view->GrabFrame();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(CountNotBackground(image, kBackground), 0);
    EXPECT_EQ(view->IdleFrame(), 0);
    // Without an engine walk mode cannot start: the Scroll Lock toggle stays off.
    QTest::keyClick(view, Qt::Key_ScrollLock);
    EXPECT_FALSE(view->IsScrollLockOn());

    QPointer<CQzEditView> guardView(view);
    m_answers.push_back(QMessageBox::No);
    doc->OnCloseDocument();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guardView.isNull(); }, kWaitMs));
}

}  // namespace
