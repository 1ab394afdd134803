// An offscreen framebuffer to render into: multisampled when asked, resolved and read back.
#include "view/r_target.h"

#include <algorithm>
#include <cstring>

namespace kx {

namespace {

bool MakeBuffers(TGlFramebuffer& fbo, TGlRenderbuffer& color, TGlRenderbuffer& depth, int w, int h,
                 int samples) {
    fbo = MakeGlFramebuffer();
    color = MakeGlRenderbuffer();
    depth = MakeGlRenderbuffer();
    glBindRenderbuffer(GL_RENDERBUFFER, color.Get());
    if (samples > 0) {
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, w, h);
    } else {
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, depth.Get());
    if (samples > 0) {
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, w, h);
    } else {
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo.Get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color.Get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depth.Get());
    const bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return ok;
}

}  // namespace

bool TGlRenderTarget::Resize(int width, int height, int samples, std::string* error) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (samples > 0) {
        GLint maxSamples = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
        samples = std::min(samples, int(maxSamples));
    }
    samples = std::max(samples, 0);
    if (width == m_width && height == m_height && samples == m_samples && m_fbo) {
        return true;
    }
    m_width = width;
    m_height = height;
    m_samples = samples;
    m_msFbo.Reset();
    m_msColor.Reset();
    m_msDepth.Reset();
    bool ok = MakeBuffers(m_fbo, m_color, m_depth, width, height, 0);
    if (ok && samples > 0) {
        ok = MakeBuffers(m_msFbo, m_msColor, m_msDepth, width, height, samples);
    }
    if (!ok) {
        m_fbo.Reset();
        m_msFbo.Reset();
        m_width = m_height = 0;
        if (error) {
            *error = "the OpenGL implementation refuses a framebuffer of this size";
        }
    }
    return ok;
}

TGlViewport TGlRenderTarget::Viewport() const {
    return {m_msFbo ? m_msFbo.Get() : m_fbo.Get(), m_width, m_height};
}

void TGlRenderTarget::Resolve() {
    if (!m_msFbo) {
        return;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_msFbo.Get());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_fbo.Get());
    glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, m_width, m_height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void TGlRenderTarget::BlitTo(unsigned framebuffer) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_msFbo ? m_msFbo.Get() : m_fbo.Get());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, m_width, m_height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

TRgbaImage TGlRenderTarget::ReadImage() {
    Resolve();
    return ReadFramebuffer(m_fbo.Get(), m_width, m_height);
}

TRgbaImage ReadFramebuffer(unsigned framebuffer, int width, int height) {
    TRgbaImage image;
    if (width <= 0 || height <= 0) {
        return image;
    }
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(size_t(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.Pixels.data());
    // GL counts rows from the bottom; pictures from the top.
    const size_t row = size_t(width) * 4;
    std::vector<uint8_t> tmp(row);
    for (int y = 0; y < height / 2; ++y) {
        uint8_t* a = &image.Pixels[size_t(y) * row];
        uint8_t* b = &image.Pixels[size_t(height - 1 - y) * row];
        std::memcpy(tmp.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp.data(), row);
    }
    return image;
}

}  // namespace kx
