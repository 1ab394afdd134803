// What the current OpenGL context is: vendor, renderer and version, for the information window.
#include "view/r_glinfo.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cctype>

namespace kx {

namespace {
std::string GlString(GLenum name) {
    const auto* s = reinterpret_cast<const char*>(glGetString(name));
    return s ? s : "";
}

/// Takes the pending errors off the context; bounded, as a lost context may keep reporting.
bool ClearErrors() {
    bool any = false;
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        any = true;
    }
    return any;
}

int GlInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    // A name the context does not know leaves an error behind, which the caller's drawing must
    // not find later.
    return ClearErrors() ? 0 : value;
}
}  // namespace

bool IsSoftwareRenderer(const std::string& renderer) {
    std::string lower = renderer;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "software"}) {
        if (lower.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TGlInfo QueryGlInfo() {
    ClearErrors();
    TGlInfo info;
    info.Vendor = GlString(GL_VENDOR);
    info.Renderer = GlString(GL_RENDERER);
    info.Version = GlString(GL_VERSION);
    info.ShadingLanguage = GlString(GL_SHADING_LANGUAGE_VERSION);
    info.Software = IsSoftwareRenderer(info.Renderer);
    info.SubpixelBits = GlInteger(GL_SUBPIXEL_BITS);
    if (epoxy_gl_version() >= 32) {
        info.CoreProfile = (GlInteger(GL_CONTEXT_PROFILE_MASK) & GL_CONTEXT_CORE_PROFILE_BIT) != 0;
    }
    if (!info.CoreProfile && !epoxy_is_desktop_gl()) {
        info.CoreProfile = true;  // OpenGL ES has neither kind of buffer either
    }
    if (!info.CoreProfile) {
        info.AccumRedBits = GlInteger(GL_ACCUM_RED_BITS);
        info.AccumGreenBits = GlInteger(GL_ACCUM_GREEN_BITS);
        info.AccumBlueBits = GlInteger(GL_ACCUM_BLUE_BITS);
        info.AccumAlphaBits = GlInteger(GL_ACCUM_ALPHA_BITS);
        info.AuxBuffers = GlInteger(GL_AUX_BUFFERS);
    }
    return info;
}

}  // namespace kx
