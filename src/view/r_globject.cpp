// Owning handles for OpenGL objects and shader program building; need a current context.
#include "view/r_globject.h"

#include <vector>

namespace kx {

void GlDeleteBuffer(GLuint name) {
    glDeleteBuffers(1, &name);
}
void GlDeleteVertexArray(GLuint name) {
    glDeleteVertexArrays(1, &name);
}
void GlDeleteTexture(GLuint name) {
    glDeleteTextures(1, &name);
}
void GlDeleteFramebuffer(GLuint name) {
    glDeleteFramebuffers(1, &name);
}
void GlDeleteRenderbuffer(GLuint name) {
    glDeleteRenderbuffers(1, &name);
}
void GlDeleteProgram(GLuint name) {
    glDeleteProgram(name);
}

TGlBuffer MakeGlBuffer() {
    GLuint n = 0;
    glGenBuffers(1, &n);
    return TGlBuffer(n);
}
TGlVertexArray MakeGlVertexArray() {
    GLuint n = 0;
    glGenVertexArrays(1, &n);
    return TGlVertexArray(n);
}
TGlTexture MakeGlTexture() {
    GLuint n = 0;
    glGenTextures(1, &n);
    return TGlTexture(n);
}
TGlFramebuffer MakeGlFramebuffer() {
    GLuint n = 0;
    glGenFramebuffers(1, &n);
    return TGlFramebuffer(n);
}
TGlRenderbuffer MakeGlRenderbuffer() {
    GLuint n = 0;
    glGenRenderbuffers(1, &n);
    return TGlRenderbuffer(n);
}

namespace {

GLuint CompileStage(GLenum stage, const char* source, std::string& error) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint len = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
        std::vector<char> log(size_t(len > 0 ? len : 1) + 1, 0);
        glGetShaderInfoLog(shader, GLsizei(log.size()), nullptr, log.data());
        error = std::string("shader compile: ") + log.data();
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

TGlProgram BuildGlProgram(const char* vertex, const char* geometry, const char* fragment,
                          std::string& error) {
    const GLenum stages[3] = {GL_VERTEX_SHADER, GL_GEOMETRY_SHADER, GL_FRAGMENT_SHADER};
    const char* sources[3] = {vertex, geometry, fragment};
    GLuint shaders[3] = {0, 0, 0};
    TGlProgram program(glCreateProgram());
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
        if (!sources[i]) {
            continue;
        }
        shaders[i] = CompileStage(stages[i], sources[i], error);
        ok = shaders[i] != 0;
        if (ok) {
            glAttachShader(program.Get(), shaders[i]);
        }
    }
    if (ok) {
        glLinkProgram(program.Get());
        GLint linked = 0;
        glGetProgramiv(program.Get(), GL_LINK_STATUS, &linked);
        if (!linked) {
            GLint len = 0;
            glGetProgramiv(program.Get(), GL_INFO_LOG_LENGTH, &len);
            std::vector<char> log(size_t(len > 0 ? len : 1) + 1, 0);
            glGetProgramInfoLog(program.Get(), GLsizei(log.size()), nullptr, log.data());
            error = std::string("shader link: ") + log.data();
            ok = false;
        }
    }
    for (GLuint s : shaders) {
        if (s) {
            glDeleteShader(s);
        }
    }
    if (!ok) {
        program.Reset();
    }
    return program;
}

}  // namespace kx
