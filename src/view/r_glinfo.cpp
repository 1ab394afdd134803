// What the current OpenGL context is: vendor, renderer and version, for the information window.
#include "view/r_glinfo.h"

#include <epoxy/gl.h>

namespace kx {

namespace {
std::string GlString(GLenum name) {
    const auto* s = reinterpret_cast<const char*>(glGetString(name));
    return s ? s : "";
}
}  // namespace

TGlInfo QueryGlInfo() {
    return {GlString(GL_VENDOR), GlString(GL_RENDERER), GlString(GL_VERSION),
            GlString(GL_SHADING_LANGUAGE_VERSION)};
}

}  // namespace kx
