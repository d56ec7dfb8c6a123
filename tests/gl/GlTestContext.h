#pragma once
// An OpenGL 3.3 core context on an offscreen surface, with the render device made on it, for the
// tests that draw. The application object is made once for the whole test program.

#include "engine/gl/GlRenderDevice.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CGlTestContext {
public:
    CGlTestContext();
    ~CGlTestContext();
    CGlTestContext(const CGlTestContext&) = delete;
    CGlTestContext& operator=(const CGlTestContext&) = delete;

    // The surface format asked for: OpenGL 3.3 core, 24-bit depth.
    static QSurfaceFormat Format();

    // Reads the device's render target back; the pixel at (x, y), top row 0.
    std::uint32_t Pixel(int x, int y);
    void ReadBack();

    // The application object, made before the surface that needs its screen.
    static bool EnsureApplication();
    bool m_hasApplication = EnsureApplication();
    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<CGlRenderDevice> m_device;  // null when no device could be made
    std::string m_error;
    std::vector<std::uint32_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
};
