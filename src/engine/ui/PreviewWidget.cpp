#include "engine/ui/PreviewWidget.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/FrameRender.h"
#include "engine/Preview.h"
#include "engine/gl/GlRenderDevice.h"
#include "engine/gl/GlSupport.h"
#include "engine/ui/GlSurface.h"
#include "framework/Settings.h"

#include <QOpenGLContext>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <utility>

CPreviewWidget::CPreviewWidget(C3dView& source, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CPreviewWidget"));
    m_engine =
        std::make_unique<C3dView>(source.GetLevel(), source.GetSettings(), source.GetDocument(),
                                  source.GetGame(), source.GetHost(), source.GetKeys(),
                                  source.GetClock(), source.GetRandom(), C3dView::kPreview);
    if (GlSupport() == EGlSupport::kAvailable)
        m_surface = new CGlSurface(*this, QStringLiteral("CPreviewWidgetSurface"),
                                   {[this] { InitializeGl(); }, [this] { PaintGl(); },
                                    [this](int, int) { ResizeGl(); }, [this] { ReleaseDevice(); }});
    else if (GlSupport() == EGlSupport::kNoContext)
        m_deviceError = kNoGlContextReason;
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_surface != nullptr)
            m_surface->update();
    });
    m_timer.start();
}

CPreviewWidget::~CPreviewWidget()
{
    m_timer.stop();
    {
        // The engine releases its textures on the device, with the device's context current.
        const CGlCurrentScope scope(m_surface, m_device != nullptr);
        m_engine.reset();
        m_device.reset();
    }
    delete m_surface;
    m_surface = nullptr;
}

int CPreviewWidget::PixelWidth() const
{
    return static_cast<int>(std::lround(width() * devicePixelRatioF()));
}

int CPreviewWidget::PixelHeight() const
{
    return static_cast<int>(std::lround(height() * devicePixelRatioF()));
}

void CPreviewWidget::UpdateViewRect()
{
    m_engine->m_viewport.m_viewRect = CFrameRect{0, 0, PixelWidth(), PixelHeight()};
}

QImage CPreviewWidget::GrabFrame()
{
    return m_surface != nullptr ? m_surface->grabFramebuffer() : grab().toImage();
}

bool CPreviewWidget::ShowModel(const std::string& modelName, const std::string& colormapName,
                               int fitPerAxis)
{
    m_shown = EShown::kModel;
    m_name = modelName;
    m_colormapName = colormapName;
    m_fitPerAxis = fitPerAxis;
    return ApplyShownInContext();
}

void CPreviewWidget::SetModelCameraHeight(std::optional<float> height)
{
    m_modelCameraHeight = height;
}

bool CPreviewWidget::ShowMaterial(const std::string& material, const std::string& colormapName)
{
    m_shown = EShown::kMaterial;
    m_name = material;
    m_colormapName = colormapName;
    return ApplyShownInContext();
}

bool CPreviewWidget::ApplyShown()
{
    UpdateViewRect();
    switch (m_shown) {
    case EShown::kModel: {
        const bool found = RenderModelPreview(*m_engine, m_name, m_colormapName, m_fitPerAxis);
        if (m_modelCameraHeight) {
            const CVector3 at = m_engine->m_camera.m_position;
            SetCameraPosition(*m_engine, at.x, *m_modelCameraHeight, at.z);
        }
        return found;
    }
    case EShown::kMaterial: {
        const bool found = RenderMaterialPreview(*m_engine, m_name, m_colormapName);
        if (m_afterShown)
            m_afterShown(*m_engine);
        return found;
    }
    case EShown::kNothing:
        break;
    }
    SetUpPreviewDevice(*m_engine);
    return false;
}

bool CPreviewWidget::ApplyShownInContext()
{
    bool answer = false;
    {
        const CGlCurrentScope scope(m_surface, m_device != nullptr);
        answer = ApplyShown();
    }
    if (m_surface != nullptr)
        m_surface->update();
    return answer;
}

void CPreviewWidget::RunInContext(const std::function<void(C3dView&)>& work)
{
    {
        const CGlCurrentScope scope(m_surface, m_device != nullptr);
        work(*m_engine);
    }
    if (m_surface != nullptr)
        m_surface->update();
}

void CPreviewWidget::SetAfterShown(std::function<void(C3dView&)> afterShown)
{
    m_afterShown = std::move(afterShown);
}

void CPreviewWidget::InitializeGl()
{
    QOpenGLContext* glContext = m_surface->context();
    if (glContext == nullptr)
        return;
    m_deviceError.clear();
    m_device = CGlRenderDevice::Create(*glContext, m_deviceError);
    if (m_device == nullptr)
        return;
    // What was loaded without a device is loaded again into textures of this one.
    AttachDevice(*m_engine, *m_device);
    ApplyShown();
}

void CPreviewWidget::ReleaseDevice()
{
    if (m_device == nullptr)
        return;
    m_surface->makeCurrent();
    DetachDevice(*m_engine);
    m_device.reset();
    m_surface->doneCurrent();
}

void CPreviewWidget::ResizeGl()
{
    // The preview keeps the render size it was set up with; only one set up while the widget had
    // no size is set up now.
    UpdateViewRect();
    if (m_device != nullptr && m_engine->m_viewport.m_renderWidth <= 0)
        SetUpPreviewDevice(*m_engine);
}

void CPreviewWidget::ClearToBackground()
{
    m_surface->ClearToColor(m_engine->GetSettings().m_colorBackground, PixelWidth(), PixelHeight());
}

void CPreviewWidget::PaintGl()
{
    C3dView& engine = *m_engine;
    if (m_device == nullptr || engine.m_viewport.m_renderWidth <= 0 ||
        engine.m_viewport.m_renderHeight <= 0) {
        ClearToBackground();
        return;
    }
    RenderFrame(engine, 1);
    m_device->PresentTo(m_surface->defaultFramebufferObject(), PixelWidth(), PixelHeight());
    ++m_framesDrawn;
}

void CPreviewWidget::paintEvent(QPaintEvent*)
{
    if (m_surface != nullptr)
        return;  // the surface covers the widget
    QPainter painter(this);
    painter.fillRect(rect(), SettingColor(m_engine->GetSettings().m_colorBackground));
}

void CPreviewWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_surface != nullptr)
        m_surface->setGeometry(rect());
    UpdateViewRect();
}
