#include "GlTestContext.h"

#include <QGuiApplication>

bool CGlTestContext::EnsureApplication()
{
    static int argc = 1;
    static char name[] = "qz_test_gl";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return true;
}

QSurfaceFormat CGlTestContext::Format()
{
    return CGlRenderDevice::SurfaceFormat();
}

CGlTestContext::CGlTestContext()
{
    m_surface.setFormat(Format());
    m_surface.create();
    m_context.setFormat(Format());
    if (!m_context.create() || !m_context.makeCurrent(&m_surface)) {
        m_error = "no context";
        return;
    }
    m_device = CGlRenderDevice::Create(m_context, m_error);
}

CGlTestContext::~CGlTestContext()
{
    if (m_context.isValid())
        m_context.makeCurrent(&m_surface);
    m_device.reset();
    m_context.doneCurrent();
}

void CGlTestContext::ReadBack()
{
    m_device->ReadPixels(m_pixels, m_width, m_height);
}

std::uint32_t CGlTestContext::Pixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0xDEADBEEF;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                    static_cast<std::size_t>(x)];
}
