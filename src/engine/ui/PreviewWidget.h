#pragma once
// The live 3D picture that dialogs embed: a 3DO model turning slowly, or a material on a flat
// quad (engine/Preview.h). The widget owns a preview engine (mode C3dView::kPreview) over the
// level, settings, game and seams of the document's engine, and an OpenGL render device on the
// context of its drawing surface; every paint draws one forced frame of the preview engine, and a
// timer asks for a paint every 100 ms, so the model turns by its step per tick.
//
// A preview can be chosen before the widget is first shown: the engine then loads the model or
// the material without a device (its selection box already holds the model's box), and the device
// takes them over at the first paint. The preview keeps the render size it was set up with when
// the widget is resized; the frame is scaled to the widget.
//
// The drawing surface is an OpenGL widget that fills this one. Where Qt cannot compose OpenGL
// widgets (the offscreen and other headless platforms), or no OpenGL 3.3 context can be made,
// there is no surface or no device: the widget shows the "ColorBackground" colour, and the
// previews are still loaded (DeviceError() says why nothing is drawn on a display without
// OpenGL 3.3).

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class C3dView;
class CGlRenderDevice;
class CGlSurface;

class CPreviewWidget : public QWidget {
    Q_OBJECT

public:
    // source is the document's engine; its level, settings, document state, game and seams must
    // outlive the widget.
    explicit CPreviewWidget(C3dView& source, QWidget* parent = nullptr);
    ~CPreviewWidget() override;

    CPreviewWidget(const CPreviewWidget&) = delete;
    CPreviewWidget& operator=(const CPreviewWidget&) = delete;

    // Shows the 3DO model modelName (RenderModelPreview); false when it is found nowhere.
    bool ShowModel(const std::string& modelName, const std::string& colormapName, int fitPerAxis);
    // The height the camera of the model previews stands at from now on (the model's box is
    // scaled to a height of 1 at most); none: the middle of the scaled box, as the fit places it.
    void SetModelCameraHeight(std::optional<float> height);
    // Shows material on the quad (RenderMaterialPreview); false when it cannot be decoded.
    bool ShowMaterial(const std::string& material, const std::string& colormapName);

    // The preview engine.
    C3dView& Engine() { return *m_engine; }
    // Runs work on the preview engine with the device's context current when there is a device
    // (for changes to the engine's textures, such as uploading another cel), then asks for a
    // paint.
    void RunInContext(const std::function<void(C3dView&)>& work);
    // Called on the preview engine, with the device's context current, each time the preview
    // chosen last has been loaded: when it is chosen and again when a new device takes it over.
    void SetAfterShown(std::function<void(C3dView&)> afterShown);
    // Why nothing is drawn on a display that has no OpenGL 3.3; empty otherwise.
    const std::string& DeviceError() const { return m_deviceError; }
    // Whether the widget has an OpenGL surface (false on headless platforms and without OpenGL).
    bool HasSurface() const { return m_surface != nullptr; }
    // Frames drawn into the surface so far.
    int FramesDrawn() const { return m_framesDrawn; }
    // The picture the widget shows, drawn anew.
    QImage GrabFrame();

    // How often the timer asks for a frame.
    static constexpr int kTickMs = 100;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class EShown {
        kNothing,
        kModel,
        kMaterial,
    };

    // The surface's OpenGL hooks.
    void InitializeGl();
    void PaintGl();
    void ResizeGl();

    // Runs the preview chosen last on the engine; returns its answer.
    bool ApplyShown();
    // Runs the preview chosen last with the device's context current when there is a device.
    bool ApplyShownInContext();
    // The context goes: the engine's device objects and the device are released while it is
    // still current.
    void ReleaseDevice();
    // The engine's view rectangle: the widget in device pixels.
    void UpdateViewRect();
    // Fills the surface with the "ColorBackground" colour.
    void ClearToBackground();
    int PixelWidth() const;
    int PixelHeight() const;

    CGlSurface* m_surface = nullptr;            // child widget; null without OpenGL
    std::unique_ptr<CGlRenderDevice> m_device;  // outlives the engine (declared first)
    std::unique_ptr<C3dView> m_engine;
    std::string m_deviceError;
    QTimer m_timer;
    int m_framesDrawn = 0;

    EShown m_shown = EShown::kNothing;
    std::string m_name;  // the model's file name or the material's name
    std::string m_colormapName;
    int m_fitPerAxis = 0;
    std::optional<float> m_modelCameraHeight;
    std::function<void(C3dView&)> m_afterShown;
};
