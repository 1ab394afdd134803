// Owning handles for OpenGL objects and shader program building; need a current context.
#pragma once

#include <string>
#include <utility>

#include <epoxy/gl.h>

namespace kx {

/// Owns one GL name and deletes it with the given function; movable, not copyable.
template <void (*Delete)(GLuint)>
class TGlName {
public:
    TGlName() = default;
    explicit TGlName(GLuint name) : m_name(name) {}
    ~TGlName() { Reset(); }
    TGlName(TGlName&& o) noexcept : m_name(std::exchange(o.m_name, 0)) {}
    TGlName& operator=(TGlName&& o) noexcept {
        if (this != &o) {
            Reset();
            m_name = std::exchange(o.m_name, 0);
        }
        return *this;
    }
    TGlName(const TGlName&) = delete;
    TGlName& operator=(const TGlName&) = delete;

    GLuint Get() const { return m_name; }
    explicit operator bool() const { return m_name != 0; }
    void Reset(GLuint name = 0) {
        if (m_name) {
            Delete(m_name);
        }
        m_name = name;
    }

private:
    GLuint m_name = 0;
};

void GlDeleteBuffer(GLuint name);
void GlDeleteVertexArray(GLuint name);
void GlDeleteTexture(GLuint name);
void GlDeleteFramebuffer(GLuint name);
void GlDeleteRenderbuffer(GLuint name);
void GlDeleteProgram(GLuint name);

using TGlBuffer = TGlName<GlDeleteBuffer>;
using TGlVertexArray = TGlName<GlDeleteVertexArray>;
using TGlTexture = TGlName<GlDeleteTexture>;
using TGlFramebuffer = TGlName<GlDeleteFramebuffer>;
using TGlRenderbuffer = TGlName<GlDeleteRenderbuffer>;
using TGlProgram = TGlName<GlDeleteProgram>;

TGlBuffer MakeGlBuffer();
TGlVertexArray MakeGlVertexArray();
TGlTexture MakeGlTexture();
TGlFramebuffer MakeGlFramebuffer();
TGlRenderbuffer MakeGlRenderbuffer();

/// Compiles and links a program from vertex, optional geometry and fragment sources; on
/// failure returns an empty program and the compiler's log in error.
TGlProgram BuildGlProgram(const char* vertex, const char* geometry, const char* fragment,
                          std::string& error);

}  // namespace kx
