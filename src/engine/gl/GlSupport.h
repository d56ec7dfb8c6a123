#pragma once
// Whether the display can show OpenGL widgets, probed once per process.

// Qt composes OpenGL widgets into a window only on platforms that draw windows through its
// rendering hardware interface; on the others (offscreen, minimal, linuxfb, vnc, vkkhrdisplay) a
// window holding an OpenGL widget fails as soon as it is shown.
enum class EGlSupport {
    kHeadless,   // the platform cannot show OpenGL widgets: nothing to draw on, nothing to say
    kNoContext,  // a display, but no OpenGL 3.3 context can be made on it
    kAvailable,
};

// The answer for the running application's platform (the application object must exist).
EGlSupport GlSupport();

// Why nothing can be drawn when GlSupport() is kNoContext.
inline constexpr char kNoGlContextReason[] =
    "OpenGL 3.3 is not available: no OpenGL context could be created.";
