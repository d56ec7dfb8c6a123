#include "engine/ui/GlSurface.h"

#include "engine/FrameRender.h"
#include "engine/gl/GlRenderDevice.h"

#include <QColor>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <utility>

CGlSurface::CGlSurface(QWidget& owner, const QString& objectName, CHooks hooks)
    : QOpenGLWidget(&owner), m_hooks(std::move(hooks))
{
    setObjectName(objectName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFormat(CGlRenderDevice::SurfaceFormat());
}

CGlSurface::~CGlSurface()
{
    // The context goes with this widget's base: the owner is not told.
    disconnect(m_contextConnection);
}

void CGlSurface::initializeGL()
{
    disconnect(m_contextConnection);
    if (QOpenGLContext* glContext = context(); glContext != nullptr && m_hooks.m_release)
        m_contextConnection = connect(glContext, &QOpenGLContext::aboutToBeDestroyed, this,
                                      m_hooks.m_release, Qt::DirectConnection);
    if (m_hooks.m_initialize)
        m_hooks.m_initialize();
}

void CGlSurface::paintGL()
{
    if (m_hooks.m_paint)
        m_hooks.m_paint();
}

void CGlSurface::resizeGL(int width, int height)
{
    if (m_hooks.m_resize)
        m_hooks.m_resize(width, height);
}

void CGlSurface::ClearToColor(std::uint32_t bgr, int width, int height)
{
    QOpenGLFunctions* gl = context()->functions();
    const QColor color = SettingColor(bgr);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    gl->glViewport(0, 0, width, height);
    gl->glDisable(GL_SCISSOR_TEST);
    gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl->glClearColor(color.redF(), color.greenF(), color.blueF(), 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT);
}

QColor SettingColor(std::uint32_t bgr)
{
    return QColor(QRgb{ClearColorFromSetting(bgr)});  // QColor takes the channels, alpha opaque
}

std::uint32_t ColorSetting(const QColor& color)
{
    // Swapping red and blue goes both ways.
    return ClearColorFromSetting(color.rgb() & 0x00FFFFFFu);
}
