#include "app/QzEditView.h"

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/TextureCoordinatesDlg.h"
#include "edit/CarveCommand.h"
#include "edit/CopyPaste.h"
#include "edit/Insert.h"
#include "edit/Link.h"
#include "edit/Nudge.h"
#include "edit/SelectionDelete.h"
#include "edit/SplitCommand.h"
#include "edit/TextureCoordinates.h"
#include "edit/ui/CarveSectorSurfaceDlg.h"
#include "engine/Bookmarks.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/CommandIds.h"
#include "engine/FrameRender.h"
#include "engine/Picking.h"
#include "engine/RenderData.h"
#include "engine/WalkMode.h"
#include "engine/WalkNavigation.h"
#include "engine/gl/GlDisplayModes.h"
#include "engine/gl/GlRenderDevice.h"
#include "engine/gl/GlSupport.h"
#include "engine/ui/GlSurface.h"
#include "tools/ExpandCommand.h"
#include "tools/Extrude.h"
#include "tools/ui/ExpandSurfaceDlg.h"
#include "tools/ui/ExtrudeSurfaceDlg.h"
#include "ui/UiServices.h"

#include <QColor>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSurfaceFormat>
#include <QTimer>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// How often the held camera keys are looked at; the steps themselves follow "FrameRate".
constexpr int kCameraTickMs = 5;

std::size_t StepperIndex(ECameraKeys which)
{
    switch (which) {
    case ECameraKeys::Turn:
        return 1;
    case ECameraKeys::Tilt:
        return 2;
    case ECameraKeys::Move:
    default:
        return 0;
    }
}

// The engine's button flags of Qt's buttons.
int ButtonFlags(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? kMouseLeft : 0) |
           (buttons.testFlag(Qt::RightButton) ? kMouseRight : 0);
}

// The edit modes in which a left drag moves something: surface, texturing, vertex, object.
bool IsDragMode(int editMode)
{
    return editMode == 2 || editMode == 4 || editMode == 6 || editMode == 7;
}

CQzEditView::CDeviceFactory& DeviceFactory()
{
    static CQzEditView::CDeviceFactory factory;
    return factory;
}

}  // namespace

CQzEditView::CDeviceFactory CQzEditView::SetDeviceFactory(CDeviceFactory factory)
{
    return std::exchange(DeviceFactory(), std::move(factory));
}

QString CQzEditView::NoDeviceMessage(const std::string& reason)
{
    QString text = QStringLiteral(
        "This version of QzEdit requires OpenGL 3.3. QzEdit\n"
        "cannot continue, unless you install a graphics driver that supports OpenGL 3.3.");
    if (!reason.empty())
        text += QStringLiteral("\n\n") + QString::fromStdString(reason);
    return text;
}

CQzEditView::CQzEditView(CQzEditDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("CQzEditView"));
    setFocusPolicy(Qt::StrongFocus);
    // Every move goes to the engine, so a drag's anchor is dropped once its button is up.
    setMouseTracking(true);
    // The right button turns the camera; it opens no menu.
    setContextMenuPolicy(Qt::PreventContextMenu);
    m_cameraTimer.setInterval(kCameraTickMs);
    connect(&m_cameraTimer, &QTimer::timeout, this, &CQzEditView::OnCameraTimer);
    RegisterCommands();
    m_scrollH = new QScrollBar(Qt::Horizontal, this);
    m_scrollV = new QScrollBar(Qt::Vertical, this);
    m_scrollH->setObjectName(QStringLiteral("HorizontalScrollBar"));
    m_scrollV->setObjectName(QStringLiteral("VerticalScrollBar"));
    for (QScrollBar* bar : {m_scrollH, m_scrollV}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setEnabled(false);
        const bool horizontal = bar == m_scrollH;
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, horizontal](int action) { OnScrollAction(horizontal, action); });
    }
    if (GlSupport() == EGlSupport::kAvailable) {
        m_surface = new CGlSurface(*this, QStringLiteral("CQzEditViewSurface"),
                                   {[this] { InitializeGl(); }, [this] { PaintGl(); },
                                    [this](int width, int height) { ResizeGl(width, height); },
                                    [this] { ReleaseDevice(); }});
        m_surface->setGeometry(ClientRect());
    } else if (GlSupport() == EGlSupport::kNoContext) {
        m_deviceError = kNoGlContextReason;
    }
    m_creating = true;
    doc.AddView(this);
    MainFrame();  // watched from now on
}

CQzEditView::~CQzEditView()
{
    StopCameraKeys();
    if (m_rightDrag)
        releaseMouse();
    // The engine releases its textures and buffers on the device: it goes first, with the
    // device's context current.
    const bool current = m_device != nullptr && m_surface != nullptr;
    if (current)
        m_surface->makeCurrent();
    if (m_engine != nullptr && m_doc.m_pEngine == m_engine.get())
        m_doc.m_pEngine = nullptr;
    m_engine.reset();
    m_device.reset();
    if (current)
        m_surface->doneCurrent();
    delete m_surface;
    m_surface = nullptr;
    m_doc.RemoveView(this);
    if (CMainFrame* frame = MainFrame(); frame != nullptr && frame->ActiveView() == this)
        frame->SetActiveView(nullptr);
}

QImage CQzEditView::GrabFrame()
{
    return m_surface != nullptr ? m_surface->grabFramebuffer() : grab(ClientRect()).toImage();
}

QRect CQzEditView::ClientRect() const
{
    const int barWidth = m_scrollV != nullptr ? m_scrollV->sizeHint().width() : 0;
    const int barHeight = m_scrollH != nullptr ? m_scrollH->sizeHint().height() : 0;
    return QRect(0, 0, std::max(0, width() - barWidth), std::max(0, height() - barHeight));
}

int CQzEditView::PixelWidth() const
{
    return static_cast<int>(std::lround(ClientRect().width() * devicePixelRatioF()));
}

int CQzEditView::PixelHeight() const
{
    return static_cast<int>(std::lround(ClientRect().height() * devicePixelRatioF()));
}

void CQzEditView::SetScrollBars(int low, int high, int page, int horizontalPosition,
                                int verticalPosition)
{
    const bool needed = high > low;
    for (QScrollBar* bar : {m_scrollH, m_scrollV}) {
        const QSignalBlocker block(bar);
        bar->setRange(low, high);
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(1);
        bar->setValue(bar == m_scrollH ? horizontalPosition : verticalPosition);
        bar->setEnabled(needed);
    }
}

void CQzEditView::OnScrollAction(bool horizontal, int action)
{
    if (!m_engine)
        return;
    int code = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = kPanLineLeft;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = kPanLineRight;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = kPanPageLeft;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = kPanPageRight;
        break;
    case QAbstractSlider::SliderMove:
        code = kPanThumbTrack;
        break;
    default:
        return;
    }
    QScrollBar* bar = horizontal ? m_scrollH : m_scrollV;
    const CDeviceScope scope(*this);
    if (horizontal)
        PanCameraHorizontal(*m_engine, code, bar->sliderPosition());
    else
        PanCameraVertical(*m_engine, code, bar->sliderPosition());
}

CMainFrame* CQzEditView::MainFrame()
{
    CMainFrame* frame = m_doc.m_app.m_pMainFrame;
    if (frame != m_watchedFrame) {
        // A widget announces its destruction before it deletes its children (this view among
        // them), so the view never calls into a main frame that is going.
        m_watchedFrame = frame;
        m_frameGone = false;
        if (frame != nullptr)
            connect(frame, &QObject::destroyed, this, [this] { m_frameGone = true; });
    }
    return m_frameGone ? nullptr : frame;
}

void CQzEditView::RequestPaint()
{
    if (m_surface != nullptr)
        m_surface->update();
    else
        update();
}

bool CQzEditView::WantsEngine() const
{
    return !m_engine && m_doc.m_level && !m_doc.m_level->m_gameTag.empty();
}

void CQzEditView::InitializeGl()
{
    QOpenGLContext* glContext = m_surface->context();
    if (glContext == nullptr)
        return;
    m_deviceError.clear();
    const CDeviceFactory& factory = DeviceFactory();
    m_device = factory ? factory(*glContext, m_deviceError)
                       : CGlRenderDevice::Create(*glContext, m_deviceError);
    m_setUpNeeded = true;
}

void CQzEditView::ReleaseDevice()
{
    // The device objects live in the context that goes. The engine stays, with its level,
    // selection and camera; the next context gets a new device at its first paint.
    if (m_device == nullptr)
        return;
    m_surface->makeCurrent();
    if (m_engine)
        DetachDevice(*m_engine);
    m_device.reset();
    m_frameReady = false;
    m_surface->doneCurrent();
}

void CQzEditView::AttachDevice()
{
    C3dView& engine = *m_engine;
    ::AttachDevice(engine, *m_device);
    RebuildAll(engine, false);
    m_setUpNeeded = true;
}

void CQzEditView::ReportNoDevice()
{
    // Posted: a modal box inside a paint would paint again beneath it. The document then closes
    // itself, as its Close command does.
    m_deviceFailed = true;
    const QString text =
        NoDeviceMessage(m_deviceError.empty() ? kNoGlContextReason : m_deviceError);
    QPointer<CQzEditDoc> doc(&m_doc);
    QTimer::singleShot(0, &m_doc, [doc, text] {
        QzMessageBox(text, QMessageBox::Ok, doc ? doc->m_app.m_pMainFrame : nullptr);
        if (doc)
            doc->OnCloseDocument();
    });
}

bool CQzEditView::CreateEngine()
{
    if (m_device == nullptr) {
        ReportNoDevice();
        return false;
    }

    CQzEditApp& app = m_doc.m_app;
    m_engine = std::make_unique<C3dView>(
        *m_doc.m_level, app.m_settings, m_doc.m_state, app.m_product.m_resources, m_doc, app.Keys(),
        app.GetClock(), app.GetRandom(), C3dView::kDocumentView, m_device.get(), app.Sound());
    m_doc.m_pEngine = m_engine.get();
    UpdateViewRect();
    m_setUpNeeded = true;
    RebuildAll(*m_engine, true);
    m_doc.ShowOpenedLevelStatus(true);

    m_doc.TakePendingTitle();
    if (CMainFrame* frame = MainFrame())
        frame->SetActiveView(this);
    return true;
}

void CQzEditView::SetUpDevice()
{
    const int pixelWidth = PixelWidth();
    const int pixelHeight = PixelHeight();
    if (pixelWidth < 1 || pixelHeight < 1)
        return;  // again once the window has a size
    C3dView& engine = *m_engine;
    ListDisplayModes(engine);
    // One device: OpenGL on the window's context, named as the driver names its renderer. It is
    // the device tried first, whatever "Device" said, and "Device" ends naming it.
    engine.m_viewport.m_deviceNames = {m_device->Renderer()};
    const std::vector<int> order = DeviceAttemptOrder(
        m_doc.m_app.m_settings.m_device, static_cast<int>(engine.m_viewport.m_deviceNames.size()));
    m_doc.m_app.m_settings.m_device = order.front();
    ChooseRenderSize(engine, pixelWidth, pixelHeight);
    if (!m_device->SetRenderSize(engine.m_viewport.m_renderWidth,
                                 engine.m_viewport.m_renderHeight)) {
        // No render target of that size: frames are computed but not drawn.
        engine.m_viewport.m_renderWidth = 0;
        engine.m_viewport.m_renderHeight = 0;
    }
    SetUpViewAndProjection(engine, pixelWidth, pixelHeight);
    SetUpRenderStates(engine);
    engine.m_skip = 0;
    m_setUpNeeded = false;
}

void CQzEditView::ClearToBackground()
{
    m_surface->ClearToColor(m_doc.m_app.m_settings.m_colorBackground, PixelWidth(), PixelHeight());
}

void CQzEditView::PaintGl()
{
    m_painting = true;
    if (WantsEngine() && !m_deviceFailed) {
        m_creating = true;
        if (!CreateEngine()) {
            // The creating flag stays set: the document is closing.
            ClearToBackground();
            m_painting = false;
            ++m_paintCount;
            return;
        }
    }

    bool presented = false;
    if (m_engine && m_device) {
        if (m_engine->m_device == nullptr)
            AttachDevice();
        // The rebuild's progress window paints itself at once, which can leave another
        // window's context current: the frame goes into this surface's again.
        m_surface->makeCurrent();
        bool render = !m_frameReady;
        if (m_setUpNeeded) {
            SetUpDevice();
            render = true;
        }
        if (render)
            RenderFrame(*m_engine, 1);
        m_frameReady = false;
        // Walk mode animates from the idle loop: a paint brings it back after the loop stopped
        // (while the surface could not draw, say).
        if (m_engine->m_walk.m_on != 0)
            m_doc.m_app.WakeIdle();
        if (m_engine->m_viewport.m_renderWidth > 0 && m_engine->m_viewport.m_renderHeight > 0 &&
            m_device->RenderWidth() > 0) {
            m_device->PresentTo(m_surface->defaultFramebufferObject(), PixelWidth(), PixelHeight());
            presented = true;
        }
    }
    if (!presented)
        ClearToBackground();
    m_creating = false;
    m_painting = false;
    ++m_paintCount;
}

void CQzEditView::paintEvent(QPaintEvent*)
{
    if (m_surface != nullptr)
        return;  // the surface covers the view
    // No OpenGL: the background only. With a level loaded on a display that has no OpenGL, the
    // user is told, and the document closes.
    QPainter painter(this);
    painter.fillRect(rect(), SettingColor(m_doc.m_app.m_settings.m_colorBackground));
    if (GlSupport() == EGlSupport::kNoContext && WantsEngine() && !m_deviceFailed) {
        ReportNoDevice();
        ++m_paintCount;
        return;  // the creating flag stays set
    }
    m_creating = false;
    ++m_paintCount;
}

void CQzEditView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QRect client = ClientRect();
    if (m_surface != nullptr)
        m_surface->setGeometry(client);
    const int barWidth = m_scrollV->sizeHint().width();
    const int barHeight = m_scrollH->sizeHint().height();
    m_scrollH->setGeometry(0, client.height(), client.width(), barHeight);
    m_scrollV->setGeometry(client.width(), 0, barWidth, client.height());
    UpdateViewRect();
}

void CQzEditView::UpdateViewRect()
{
    if (m_engine)
        m_engine->m_viewport.m_viewRect = CFrameRect{0, 0, PixelWidth(), PixelHeight()};
}

void CQzEditView::ResizeGl(int width, int height)
{
    if (m_creating || !m_engine)
        return;
    const double ratio = devicePixelRatioF();
    if (Resize(*m_engine, static_cast<int>(std::lround(width * ratio)),
               static_cast<int>(std::lround(height * ratio))))
        m_setUpNeeded = true;
}

void CQzEditView::OnUpdate(CDocView* sender, long)
{
    // The frame routine updates every view of the document after it drew; this view, which
    // drew it, needs no second frame.
    if (sender == this || m_painting || !m_engine)
        return;
    m_frameReady = false;
    RequestPaint();
}

int CQzEditView::IdleFrame()
{
    if (!m_engine || !m_device || m_engine->m_device == nullptr || m_surface == nullptr ||
        !m_surface->isValid())
        return 0;
    m_surface->makeCurrent();
    m_painting = true;
    const int answer = RenderFrame(*m_engine, 0);
    m_painting = false;
    m_surface->doneCurrent();
    if (answer != 0) {
        m_frameReady = true;
        m_surface->update();
    }
    return answer;
}

void CQzEditView::RequestFrame(bool forced)
{
    if (m_painting)
        return;
    m_frameReady = false;
    RequestPaint();
    if (!forced)
        m_doc.m_app.WakeIdle();
}

void CQzEditView::RecreateDevice()
{
    if (!m_engine)
        return;
    m_setUpNeeded = true;
    m_frameReady = false;
    RequestPaint();
}

void CQzEditView::focusInEvent(QFocusEvent* event)
{
    if (CMainFrame* frame = MainFrame()) {
        frame->SetAcceleratorTable(AccelTable::kView);
        frame->SetActiveView(this);
    }
    QWidget::focusInEvent(event);
}

void CQzEditView::focusOutEvent(QFocusEvent* event)
{
    if (CMainFrame* frame = MainFrame())
        frame->SetAcceleratorTable(AccelTable::kFrame);
    // A window that takes the focus in the middle of a right drag takes the mouse as well.
    if (m_rightDrag) {
        releaseMouse();
        m_rightDrag = false;
        setCursor(Qt::ArrowCursor);
    }
    QWidget::focusOutEvent(event);
}

// ---- Device scope ----

CQzEditView::CDeviceScope::CDeviceScope(CQzEditView* view) : m_view(view)
{
    if (view == nullptr || view->m_device == nullptr || view->m_surface == nullptr ||
        !view->m_surface->isValid())
        return;
    QOpenGLContext* context = view->m_surface->context();
    if (context == nullptr || QOpenGLContext::currentContext() == context)
        return;
    view->m_surface->makeCurrent();
    m_made = true;
}

CQzEditView::CDeviceScope::~CDeviceScope()
{
    if (m_made && !m_view.isNull() && m_view->m_surface != nullptr)
        m_view->m_surface->doneCurrent();
}

// ---- Mouse ----

void CQzEditView::DevicePoint(const QMouseEvent& event, int& x, int& y) const
{
    const QPointF point = event.position() * devicePixelRatioF();
    x = static_cast<int>(std::lround(point.x()));
    y = static_cast<int>(std::lround(point.y()));
}

void CQzEditView::EngineMouseMove(int buttons, int x, int y)
{
    if (!m_engine || m_engine->m_walk.m_on != 0)
        return;
    const CDeviceScope scope(*this);
    HandleMouseMove(*m_engine, buttons, x, y);
}

void CQzEditView::UpdateCursor(Qt::MouseButtons buttons)
{
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (m_rightDrag)
        shape = Qt::BlankCursor;
    else if (buttons.testFlag(Qt::LeftButton) && IsDragMode(m_doc.m_state.m_editMode))
        shape = Qt::SizeAllCursor;
    // Every mouse move comes here: the window system hears only of changes.
    if (!testAttribute(Qt::WA_SetCursor) || cursor().shape() != shape)
        setCursor(shape);
}

void CQzEditView::EndRightDrag()
{
    // The cursor comes back in the middle of the view, where the turn began to look.
    const QRect area(mapToGlobal(QPoint(0, 0)), size());
    const QPoint middle((area.left() + area.left() + area.width()) / 2,
                        (area.top() + area.top() + area.height()) / 2);
    QCursor::setPos(screen(), middle);
    releaseMouse();
    m_rightDrag = false;
}

void CQzEditView::FeedWalkMouse(const QMouseEvent& event)
{
    if (!m_engine || m_engine->m_walk.m_on == 0) {
        m_walkMouseKnown = false;
        return;
    }
    CWalkMouse& mouse = m_engine->m_walkMouse;
    const QPointF point = event.globalPosition();
    if (m_walkMouseKnown) {
        const QPointF delta = (point - m_walkMousePoint) * devicePixelRatioF();
        mouse.AddMotion(static_cast<std::int32_t>(std::lround(delta.x())),
                        static_cast<std::int32_t>(std::lround(delta.y())));
    }
    m_walkMousePoint = point;
    m_walkMouseKnown = true;
    if (mouse.m_acquired)
        mouse.m_rightButton = event.buttons().testFlag(Qt::RightButton);
}

void CQzEditView::keyPressEvent(QKeyEvent* event)
{
    // A held key's repeat is no new press.
    if (event->key() == Qt::Key_ScrollLock && !event->isAutoRepeat())
        OnScrollLock();
    QWidget::keyPressEvent(event);
}

void CQzEditView::OnScrollLock()
{
    if (!m_engine) {
        m_scrollLock = false;
        return;
    }
    C3dView& engine = *m_engine;
    m_scrollLock = !m_scrollLock;
    const CDeviceScope scope(*this);
    engine.m_walk.m_on = m_scrollLock ? 1 : 0;
    m_painting = true;  // the set-up draws its own frame
    SetWalkMode(engine);
    m_painting = false;
    m_walkMouseKnown = false;
    if (engine.m_walk.m_on != 0) {
        engine.m_walkMouse.Acquire();
        m_doc.m_app.WakeIdle();
    } else {
        m_scrollLock = false;
        engine.m_walkMouse.Unacquire();
        LevelWalkCamera(engine);
    }
    // The frame of the new state is drawn (forced) by the paint.
    m_frameReady = false;
    RequestPaint();
}

void CQzEditView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (m_engine) {
            int x = 0;
            int y = 0;
            DevicePoint(*event, x, y);
            const CDeviceScope scope(*this);
            PickAtPoint(*m_engine, x, y);
        }
    } else if (event->button() == Qt::RightButton && !m_rightDrag) {
        grabMouse();
        m_rightDrag = true;
    }
    FeedWalkMouse(*event);
    UpdateCursor(event->buttons());
    QWidget::mousePressEvent(event);
}

void CQzEditView::mouseReleaseEvent(QMouseEvent* event)
{
    FeedWalkMouse(*event);
    if (event->button() == Qt::RightButton && m_rightDrag) {
        EndRightDrag();
        m_walkMouseKnown = false;  // the cursor jumped: no motion of the mouse
    }
    // The drag of the released button ends: its anchor is dropped.
    int x = 0;
    int y = 0;
    DevicePoint(*event, x, y);
    EngineMouseMove(ButtonFlags(event->buttons()), x, y);
    UpdateCursor(event->buttons());
    QWidget::mouseReleaseEvent(event);
}

void CQzEditView::mouseMoveEvent(QMouseEvent* event)
{
    int x = 0;
    int y = 0;
    DevicePoint(*event, x, y);
    EngineMouseMove(ButtonFlags(event->buttons()), x, y);
    FeedWalkMouse(*event);
    UpdateCursor(event->buttons());
    QWidget::mouseMoveEvent(event);
}

// ---- Camera commands ----

C3dView* CQzEditView::CommandEngine() const
{
    return m_doc.m_pEngine;
}

void CQzEditView::AddEngineCommand(int id, std::function<void(C3dView&)> run,
                                   bool (*enabled)(const C3dView&))
{
    AddCommand(
        id,
        [this, run = std::move(run)] {
            C3dView* engine = CommandEngine();
            if (engine == nullptr)
                return;
            const CDeviceScope scope(*this);
            run(*engine);
        },
        [this, enabled](CCmdUI& ui) {
            const C3dView* engine = CommandEngine();
            ui.Enable(engine != nullptr && (enabled == nullptr || enabled(*engine)));
        });
}

void CQzEditView::RegisterCommands()
{
    const auto key = [this](ECameraKeys which) {
        return [this, which](C3dView& engine) { OnCameraKey(engine, which); };
    };
    AddEngineCommand(Cmd::kCameraForwardKey, key(ECameraKeys::Move));
    AddEngineCommand(Cmd::kCameraBackwardKey, key(ECameraKeys::Move));
    AddEngineCommand(Cmd::kCameraLeftKey, key(ECameraKeys::Turn));
    AddEngineCommand(Cmd::kCameraRightKey, key(ECameraKeys::Turn));
    AddEngineCommand(Cmd::kCameraTiltUpKey, key(ECameraKeys::Tilt));
    AddEngineCommand(Cmd::kCameraTiltDownKey, key(ECameraKeys::Tilt));
    AddEngineCommand(Cmd::kStepForward, [](C3dView& engine) { StepCamera(engine, true); });
    AddEngineCommand(Cmd::kStepBackward, [](C3dView& engine) { StepCamera(engine, false); });
    AddEngineCommand(Cmd::kResetCamera, [](C3dView& engine) { ResetCameraTarget(engine); });
    AddEngineCommand(Cmd::kPanUp,
                     [](C3dView& engine) { PanCameraVertical(engine, kPanLineLeft, 0); });
    AddEngineCommand(Cmd::kPanDown,
                     [](C3dView& engine) { PanCameraVertical(engine, kPanLineRight, 0); });
    AddEngineCommand(Cmd::kPanLeft,
                     [](C3dView& engine) { PanCameraHorizontal(engine, kPanLineLeft, 0); });
    AddEngineCommand(Cmd::kPanRight,
                     [](C3dView& engine) { PanCameraHorizontal(engine, kPanLineRight, 0); });
    for (int slot = 0; slot < Cmd::kBookmarkCount; ++slot) {
        AddEngineCommand(Cmd::kStoreBookmark0 + slot,
                         [slot](C3dView& engine) { StoreCameraBookmark(engine, slot); });
        AddEngineCommand(Cmd::kRecallBookmark0 + slot,
                         [slot](C3dView& engine) { RecallCameraBookmark(engine, slot); });
    }
    RegisterEditCommands();
}

void CQzEditView::RegisterEditCommands()
{
    // Each operation shows its own messages and questions, takes its own undo step (which marks
    // the document modified) and rebuilds and draws what it changed.
    AddEngineCommand(
        Cmd::kEditCut, [](C3dView& engine) { RunCutCommand(engine); }, CanCut);
    AddEngineCommand(
        Cmd::kEditCopy, [](C3dView& engine) { RunCopyCommand(engine); }, CanCopy);
    AddEngineCommand(
        Cmd::kEditPaste, [](C3dView& engine) { RunPasteCommand(engine); }, CanPaste);
    AddEngineCommand(
        Cmd::kInsert, [](C3dView& engine) { RunInsertCommand(engine); }, CanInsert);
    AddEngineCommand(
        Cmd::kDelete, [](C3dView& engine) { RunDeleteCommand(engine); }, CanDelete);
    for (int id = Cmd::kMoveUpY; id <= Cmd::kMoveLeftZ; ++id)
        AddEngineCommand(
            id, [id](C3dView& engine) { RunMoveCommand(engine, id); }, CanMove);
    for (int id = Cmd::kRotateRightX; id <= Cmd::kRotateRightZ; ++id)
        AddEngineCommand(
            id, [id](C3dView& engine) { RunRotateCommand(engine, id); }, CanRotate);
    AddEngineCommand(
        Cmd::kLink, [](C3dView& engine) { RunLinkCommand(engine); }, CanLink);
    AddEngineCommand(
        Cmd::kUnlink, [](C3dView& engine) { RunUnlinkCommand(engine); }, CanUnlink);
    AddEngineCommand(
        Cmd::kSplit, [](C3dView& engine) { RunSplitCommand(engine); }, CanRunSplitCommand);
    // Carve opens its dialog first, outside the device scope.
    AddCommand(
        Cmd::kCarve, [this] { OnCarve(); },
        [this](CCmdUI& ui) {
            const C3dView* engine = CommandEngine();
            ui.Enable(engine != nullptr && CanRunCarveCommand(*engine));
        });
    // Extrude Surface asks for its values first; the extrusion then runs on the device.
    AddCommand(
        Cmd::kExtrudeSurface, [this] { OnExtrudeSurface(); },
        [this](CCmdUI& ui) {
            const C3dView* engine = CommandEngine();
            ui.Enable(engine != nullptr && CanExtrudeSurface(*engine));
        });
    AddEngineCommand(
        Cmd::kExpandSurface, [this](C3dView& engine) { OnExpandSurface(engine); },
        CanExpandSurface);
    // The dialog lays the texture itself, each time in the device scope.
    AddCommand(
        Cmd::kTextureCoordinates, [this] { OnTextureCoordinates(); },
        [this](CCmdUI& ui) {
            const C3dView* engine = CommandEngine();
            ui.Enable(engine != nullptr && CanChangeTextureCoordinates(*engine));
        });
}

void CQzEditView::OnTextureCoordinates()
{
    C3dView* engine = CommandEngine();
    if (engine == nullptr || !CanChangeTextureCoordinates(*engine))
        return;
    CTextureCoordinatesDlg dialog(*engine, this);
    if (dialog.exec() == QDialog::Accepted)
        m_doc.SetModifiedFlag(true);
}

void CQzEditView::OnCarve()
{
    C3dView* engine = CommandEngine();
    if (engine == nullptr || !CanRunCarveCommand(*engine))
        return;
    CCarveSectorSurfaceDlg dialog(*engine, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CDeviceScope scope(*this);
    RunCarveCommand(*engine, dialog.m_choice);
}

void CQzEditView::OnExtrudeSurface()
{
    C3dView* engine = CommandEngine();
    if (engine == nullptr || !CanExtrudeSurface(*engine))
        return;
    CExtrudeSurfaceDlg dialog(*engine, engine->m_selection.m_pickedNodes.size() == 2, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CDeviceScope scope(*this);
    RunExtrudeSurfaceCommand(*engine, dialog.Params());
}

void CQzEditView::OnExpandSurface(C3dView& engine)
{
    CExpandBox box;
    if (!PrepareExpandSurface(engine, box))
        return;
    CExpandSurfaceDlg dialog(box, this);
    if (dialog.exec() == QDialog::Accepted)
        RunExpandSurfaceCommand(engine, dialog.m_values);
}

void CQzEditView::OnCameraKey(C3dView& engine, ECameraKeys which)
{
    CCameraKeyStepper& stepper = m_steppers[StepperIndex(which)];
    if (stepper.IsActive())
        return;  // the key's repeat: the stepper keeps its pace
    stepper.Begin(engine, which);
    if (!m_cameraTimer.isActive())
        m_cameraTimer.start();
}

void CQzEditView::OnCameraTimer()
{
    C3dView* engine = CommandEngine();
    if (engine == nullptr) {
        StopCameraKeys();
        return;
    }
    const CDeviceScope scope(*this);
    bool stepping = false;
    for (CCameraKeyStepper& stepper : m_steppers)
        if (stepper.IsActive())
            stepping = stepper.Tick(*engine) || stepping;
    if (!stepping)
        m_cameraTimer.stop();
}

void CQzEditView::StopCameraKeys()
{
    m_cameraTimer.stop();
    m_steppers = {};
}
