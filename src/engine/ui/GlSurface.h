#pragma once
// The OpenGL drawing surface of a widget that draws through the render device (the 3D view, a
// dialog's preview): a child that fills its owner, asks for the context the device needs, passes
// its OpenGL hooks on to the owner, and leaves mouse events and the focus to the owner. The owner
// also hears when the surface's context is about to go (the surface moved to another top-level
// window), so that it can release its device objects while the context still exists; it does not
// hear of it when the surface itself is destroyed.

#include <QColor>
#include <QMetaObject>
#include <QOpenGLWidget>
#include <QString>

#include <cstdint>
#include <functional>

class CGlSurface final : public QOpenGLWidget {
public:
    struct CHooks {
        std::function<void()> m_initialize;
        std::function<void()> m_paint;
        std::function<void(int, int)> m_resize;  // the new size in widget pixels
        std::function<void()> m_release;         // the context is about to be destroyed
    };

    CGlSurface(QWidget& owner, const QString& objectName, CHooks hooks);
    ~CGlSurface() override;
    CGlSurface(const CGlSurface&) = delete;
    CGlSurface& operator=(const CGlSurface&) = delete;

    // Fills the surface's framebuffer (width x height device pixels) with the colour setting bgr
    // (0x00BBGGRR), opaque. The context must be current.
    void ClearToColor(std::uint32_t bgr, int width, int height);

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int width, int height) override;

private:
    CHooks m_hooks;
    QMetaObject::Connection m_contextConnection;
};

// Makes a surface's context current for the scope's lifetime, when there is a surface and active
// is true, and releases it at the end.
class CGlCurrentScope {
public:
    CGlCurrentScope(CGlSurface* surface, bool active) : m_surface(active ? surface : nullptr)
    {
        if (m_surface != nullptr)
            m_surface->makeCurrent();
    }
    ~CGlCurrentScope()
    {
        if (m_surface != nullptr)
            m_surface->doneCurrent();
    }
    CGlCurrentScope(const CGlCurrentScope&) = delete;
    CGlCurrentScope& operator=(const CGlCurrentScope&) = delete;

private:
    CGlSurface* m_surface;
};

// A colour setting 0x00BBGGRR as an opaque colour.
[[nodiscard]] QColor SettingColor(std::uint32_t bgr);
// The setting of a colour: the other way round.
[[nodiscard]] std::uint32_t ColorSetting(const QColor& color);
