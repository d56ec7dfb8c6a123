#pragma once
// The 3D view window of a document: an OpenGL widget that creates the document's engine at its
// first paint once a level is loaded, attaches the OpenGL render device, draws the engine's
// frames into the window, and passes size changes and document updates to the engine.

#include "app/CommandTarget.h"
#include "app/DocView.h"

#include <QOpenGLWidget>

#include <memory>

class C3dView;
class CGlRenderDevice;
class CQzEditDoc;

class CQzEditView : public QOpenGLWidget, public CDocView, public CCommandTarget {
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

    // Set after construction, again while the first paint builds the engine, cleared after a
    // paint; while set, size changes are not passed to the engine.
    bool m_creating = true;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int width, int height) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // First paint with a loaded level: engine, device, RebuildAll, pending title, active view.
    bool CreateEngine();

    CQzEditDoc& m_doc;
    std::unique_ptr<CGlRenderDevice> m_device;  // outlives the engine (declared first)
    std::unique_ptr<C3dView> m_engine;
    bool m_frameReady = false;  // an idle frame was drawn and waits to be shown
};
