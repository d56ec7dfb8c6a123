#include "engine/gl/GlSupport.h"

#include "engine/gl/GlRenderDevice.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QStringList>

EGlSupport GlSupport()
{
    static const EGlSupport support = [] {
        static const QStringList headless = {QStringLiteral("offscreen"), QStringLiteral("minimal"),
                                             QStringLiteral("linuxfb"), QStringLiteral("vnc"),
                                             QStringLiteral("vkkhrdisplay")};
        if (headless.contains(QGuiApplication::platformName(), Qt::CaseInsensitive))
            return EGlSupport::kHeadless;
        QOpenGLContext probe;
        probe.setFormat(CGlRenderDevice::SurfaceFormat());
        return probe.create() ? EGlSupport::kAvailable : EGlSupport::kNoContext;
    }();
    return support;
}
