#pragma once
// The 3D view window of a document: creates the document's engine at its first paint once a
// level is loaded, attaches the OpenGL render device, draws the engine's frames into the window,
// and passes size changes, document updates, the mouse and the camera keys to the engine.
//
// The drawing surface is an OpenGL widget that fills the view. It lets mouse events through and
// takes no focus, so mouse, keyboard and focus events arrive at the view itself. Where Qt cannot
// compose OpenGL widgets (the offscreen and other headless platforms) there is no surface: the
// view fills itself with the background colour and makes no engine. The engine draws every frame
// into the device's offscreen render target; a paint scales that frame into the surface. Idle
// frames (walk mode) are drawn outside a paint and only shown by the paint that follows.
//
// Input: a left click picks (the point in device pixels), every mouse move goes to the engine's
// drags while walk mode is off, the right button turns the camera with the mouse grabbed and the
// cursor hidden. The camera commands live here: the arrow and page keys step the camera from a
// timer for as long as they are held (the event loop runs on meanwhile), View Move steps once or
// resets the camera, U, D, L and R pan, and the digits recall (with Ctrl store) the camera
// bookmarks. Scroll Lock turns walk mode on and off: Qt does not tell the key's toggle state, so
// the view keeps it, flipped by every press (held back while there is no engine to walk in); while
// walk mode is on the mouse's motion and right button feed the engine's walk navigation instead
// of its drags, and the idle loop draws the frames. The edit commands on the selection live here
// too: Cut, Copy, Paste, Insert, Delete, Move, Rotate, Link, Unlink and Split, each the core's
// command function with its enable rule (edit/), which asks its own questions and takes its own
// undo step. The commands work on the document's engine (the view's own once it made one) and each
// is disabled while the document has none.

#include "app/CommandTarget.h"
#include "app/DocView.h"
#include "engine/CameraKeys.h"

#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

class C3dView;
class CGlSurface;
class CGlRenderDevice;
class CMainFrame;
class CQzEditDoc;
class QScrollBar;
class QOpenGLContext;

class CQzEditView : public QWidget, public CDocView, public CCommandTarget {
    Q_OBJECT

public:
    explicit CQzEditView(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CQzEditView() override;

    C3dView* Engine() override { return m_engine.get(); }
    CQzEditDoc& Document() const { return m_doc; }

    // Document update: a forced frame when there is an engine.
    void OnUpdate(CDocView* sender, long hint) override;
    // An unforced frame (the idle loop); returns the frame routine's answer (0 without engine).
    int IdleFrame();
    // A frame is wanted (the engine's host request).
    void RequestFrame(bool forced);
    // What the device set-up follows changed (the Options): the set-up runs again for the
    // window's size, and a frame is drawn, at the next paint. Nothing happens without an engine.
    void RecreateDevice();

    // The render device on the surface's current OpenGL context; null before the context was
    // made or when no device could be made on it (DeviceError() then says why).
    CGlRenderDevice* Device() const { return m_device.get(); }
    const std::string& DeviceError() const { return m_deviceError; }
    // Whether the view has an OpenGL surface (false on headless platforms and without OpenGL).
    bool HasSurface() const { return m_surface != nullptr; }
    // Paints completed so far.
    int PaintCount() const { return m_paintCount; }
    // The picture the view shows now, drawn anew.
    QImage GrabFrame();

    // How every view makes its render device on its context (current when called). The default
    // is CGlRenderDevice::Create; tests install another one to see a context without OpenGL 3.3.
    using CDeviceFactory =
        std::function<std::unique_ptr<CGlRenderDevice>(QOpenGLContext&, std::string&)>;
    // Installs factory (an empty function restores the default); returns the previous one.
    static CDeviceFactory SetDeviceFactory(CDeviceFactory factory);

    // The message shown when the first paint with a level finds no usable render device.
    static QString NoDeviceMessage(const std::string& reason);

    // Set after construction, again while the first paint builds the engine, cleared after a
    // paint; while set, size changes are not passed to the engine.
    bool m_creating = true;

    // Makes the surface's OpenGL context current for engine work outside a paint (input and
    // commands): the engine uploads to its device and draws forced frames through it. Nothing
    // happens without a device; the context is released again when the scope ends, unless it
    // was current before.
    // A null view makes nothing current (a document without its 3D view).
    class CDeviceScope {
    public:
        explicit CDeviceScope(CQzEditView& view) : CDeviceScope(&view) {}
        explicit CDeviceScope(CQzEditView* view);
        ~CDeviceScope();
        CDeviceScope(const CDeviceScope&) = delete;
        CDeviceScope& operator=(const CDeviceScope&) = delete;

    private:
        QPointer<CQzEditView> m_view;
        bool m_made = false;
    };

    // The engine's scroll bars (the host's SetScrollBars): both take the range low .. high and
    // the page; a bar the range does not need is disabled.
    void SetScrollBars(int low, int high, int page, int horizontalPosition, int verticalPosition);
    QScrollBar* HorizontalScrollBar() const { return m_scrollH; }
    QScrollBar* VerticalScrollBar() const { return m_scrollV; }
    // The client area: the view less its two scroll bars.
    QRect ClientRect() const;

    // Whether a camera key is being followed (its timer runs).
    bool IsCameraKeyActive() const { return m_cameraTimer.isActive(); }

    // The Scroll Lock toggle as the view keeps it: on while walk mode is on.
    bool IsScrollLockOn() const { return m_scrollLock; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The surface's OpenGL hooks.
    void InitializeGl();
    void PaintGl();
    void ResizeGl(int width, int height);

    // Whether the level's tag says a level is loaded, and no engine exists yet.
    bool WantsEngine() const;
    // First paint with a loaded level: engine, device, RebuildAll, pending title, active view.
    bool CreateEngine();
    // No device for the first paint with a level: the message, then the document closes (both
    // posted, once).
    void ReportNoDevice();
    // The engine's device set-up for the surface's size: display modes, render size, the
    // device's render target, view and projection.
    void SetUpDevice();
    // Gives the engine the device of a new context (after the old one went away) and rebuilds
    // the render objects on it.
    void AttachDevice();
    // The context is about to go: every device object of the engine and the device itself are
    // released while it is still current.
    void ReleaseDevice();
    // Fills the surface with the "ColorBackground" colour.
    void ClearToBackground();
    // The main frame, or null when there is none or it is being destroyed.
    CMainFrame* MainFrame();
    int PixelWidth() const;
    int PixelHeight() const;
    // A scroll bar's action: the pan with its scroll code (0/1 line, 2/3 page, 5 thumb track).
    void OnScrollAction(bool horizontal, int action);
    // Asks the surface (or the view without one) for a paint.
    void RequestPaint();
    // The engine's view rectangle: the view's client area in device pixels.
    void UpdateViewRect();

    // ---- Input ----
    void RegisterCommands();
    // The engine the view's commands work on: the document's. It is this view's own once the
    // first paint made one; a document without a drawing surface (a test's) may be given an
    // engine without a render device, and the commands edit and compute on it all the same.
    C3dView* CommandEngine() const;
    // Registers a command on the command engine: run inside a device scope (the engine uploads,
    // rebuilds and draws on the view's device), enabled while there is an engine and, when given,
    // its rule holds. Sent past its rule (a stale key) it does nothing without an engine; the
    // core's command functions check their own rules.
    void AddEngineCommand(int id, std::function<void(C3dView&)> run,
                          bool (*enabled)(const C3dView&) = nullptr);
    // The edit commands on the selection.
    void RegisterEditCommands();
    // A camera key of the pair which went down: its stepper follows it from the timer until
    // neither key of the pair is held. A stepper that runs already goes on undisturbed (the
    // key's repeat sends the command again).
    void OnCameraKey(C3dView& engine, ECameraKeys which);
    // "Ex&pand Surface... P": the Expand Surface dialog over the current surface's extents, then
    // the chosen shape in one undo step.
    void OnExpandSurface(C3dView& engine);
    void OnCameraTimer();
    void StopCameraKeys();
    // Carve: the Carve Sector/Surface dialog, then on OK the carve with its values inside an
    // undo step.
    void OnCarve();
    // "&Extrude Surface... E": the Extrude Surface dialog over the current surface, then on OK
    // the extrusion in its undo step and every view updated.
    void OnExtrudeSurface();
    // "Change &Texture Coordinates... T" (2019): the dialog on the current surface (it lays the
    // texture itself); OK marks the document modified.
    void OnTextureCoordinates();
    // A mouse point in device pixels.
    void DevicePoint(const QMouseEvent& event, int& x, int& y) const;
    // The engine's mouse-move handling for buttons (kMouseLeft | kMouseRight) at (x, y), when
    // there is an engine and walk mode is off.
    void EngineMouseMove(int buttons, int x, int y);
    // The cursor for the buttons held: hidden while the right button turns the camera, the
    // four-headed arrow while the left button drags in the surface, texturing, vertex and
    // object modes, else the arrow.
    void UpdateCursor(Qt::MouseButtons buttons);
    // Ends a right-button drag: the cursor to the middle of the view, the mouse released.
    void EndRightDrag();
    // A Scroll Lock press: the toggle flips into the engine's walk-mode flag, walk mode is set up
    // or torn down; on leaving it the view is levelled and drawn. Without an engine the toggle
    // stays off.
    void OnScrollLock();
    // Walk mode's mouse: the motion since the last event and the right button, while walk mode
    // is on.
    void FeedWalkMouse(const QMouseEvent& event);

    CQzEditDoc& m_doc;
    CGlSurface* m_surface = nullptr;  // child widget; null without OpenGL
    QScrollBar* m_scrollH = nullptr;  // children of the view, beside the surface
    QScrollBar* m_scrollV = nullptr;
    std::unique_ptr<CGlRenderDevice> m_device;  // outlives the engine (declared first)
    std::unique_ptr<C3dView> m_engine;
    std::string m_deviceError;
    bool m_frameReady = false;    // an idle frame was drawn and waits to be shown
    bool m_setUpNeeded = true;    // the device set-up must run at the next paint
    bool m_painting = false;      // inside a paint or a frame: requests for paints are dropped
    bool m_deviceFailed = false;  // the first paint found no device; the document is closing
    int m_paintCount = 0;
    CMainFrame* m_watchedFrame = nullptr;
    bool m_frameGone = false;

    // The camera keys: one stepper per key pair (move, turn, tilt), ticked by one timer.
    std::array<CCameraKeyStepper, 3> m_steppers;
    QTimer m_cameraTimer;
    bool m_rightDrag = false;   // the mouse is grabbed and the cursor hidden
    bool m_scrollLock = false;  // the Scroll Lock toggle
    QPointF m_walkMousePoint;   // where the last mouse event of walk mode was
    bool m_walkMouseKnown = false;
};
