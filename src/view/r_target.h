// An offscreen framebuffer to render into: multisampled when asked, resolved and read back.
#pragma once

#include <string>

#include "view/r_frame.h"
#include "view/r_globject.h"
#include "view/r_image.h"

namespace kx {

class TGlRenderTarget {
public:
    /// Makes the buffers width x height with the given samples (clamped to what the GL
    /// offers; 0 means none); false with a reason if the GL refuses them.
    bool Resize(int width, int height, int samples, std::string* error = nullptr);
    /// Where the renderer draws: the multisampled buffer, or the plain one without samples.
    TGlViewport Viewport() const;
    /// Copies the multisampled buffer into the plain one (nothing to do without samples).
    void Resolve();
    /// Copies (and resolves) the picture into another framebuffer of the same size.
    void BlitTo(unsigned framebuffer);
    /// The resolved picture, top row first.
    TRgbaImage ReadImage();
    int Samples() const { return m_samples; }

private:
    int m_width = 0;
    int m_height = 0;
    int m_samples = 0;
    TGlFramebuffer m_msFbo;
    TGlRenderbuffer m_msColor;
    TGlRenderbuffer m_msDepth;
    TGlFramebuffer m_fbo;
    TGlRenderbuffer m_color;
    TGlRenderbuffer m_depth;
};

/// Reads the framebuffer bound for reading (colour attachment 0 or the default back buffer).
TRgbaImage ReadFramebuffer(unsigned framebuffer, int width, int height);

}  // namespace kx
