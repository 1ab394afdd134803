// A headless OpenGL 3.3 core context (EGL, Mesa surfaceless) for tools and tests.
#include "view/r_headless.h"

#include <cstdlib>

#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace kx {

struct THeadlessContext::TImpl {
    EGLDisplay Display = EGL_NO_DISPLAY;
    EGLContext Context = EGL_NO_CONTEXT;
};

THeadlessContext::THeadlessContext() : m_impl(std::make_unique<TImpl>()) {
    // Mesa picks the surfaceless platform from the environment; no display server needed.
    ::setenv("EGL_PLATFORM", "surfaceless", 0);
    EGLDisplay display = EGL_NO_DISPLAY;
    if (epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless")) {
        display =
            eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    if (display == EGL_NO_DISPLAY) {
        display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    }
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        m_error = "no EGL display";
        return;
    }
    m_impl->Display = display;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        m_error = "EGL cannot bind OpenGL";
        return;
    }
    const EGLint attribs[] = {EGL_CONTEXT_MAJOR_VERSION,
                              3,
                              EGL_CONTEXT_MINOR_VERSION,
                              3,
                              EGL_CONTEXT_OPENGL_PROFILE_MASK,
                              EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                              EGL_NONE};
    m_impl->Context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attribs);
    if (m_impl->Context == EGL_NO_CONTEXT) {
        m_error = "EGL cannot create an OpenGL 3.3 core context";
        return;
    }
    MakeCurrent();
    m_valid = eglGetCurrentContext() == m_impl->Context;
    if (!m_valid) {
        m_error = "EGL cannot make the context current";
    }
}

THeadlessContext::~THeadlessContext() {
    if (m_impl->Display != EGL_NO_DISPLAY) {
        eglMakeCurrent(m_impl->Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (m_impl->Context != EGL_NO_CONTEXT) {
            eglDestroyContext(m_impl->Display, m_impl->Context);
        }
        eglTerminate(m_impl->Display);
    }
}

void THeadlessContext::MakeCurrent() {
    eglMakeCurrent(m_impl->Display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_impl->Context);
}

}  // namespace kx
