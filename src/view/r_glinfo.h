// What the current OpenGL context is: vendor, renderer and version, for the information window.
#pragma once

#include <string>

namespace kx {

struct TGlInfo {
    std::string Vendor;
    std::string Renderer;
    std::string Version;
    std::string ShadingLanguage;
    /// Drawn by the processor rather than by a graphics chip (judged by the renderer's name).
    bool Software = false;
    /// A core-profile context has no accumulation or auxiliary buffers at all.
    bool CoreProfile = false;
    int SubpixelBits = 0;
    int AccumRedBits = 0;
    int AccumGreenBits = 0;
    int AccumBlueBits = 0;
    int AccumAlphaBits = 0;
    int AuxBuffers = 0;
};

/// Reads the strings and depths of the context current on this thread.
TGlInfo QueryGlInfo();

/// Whether a renderer string names one of Mesa's software rasterisers (llvmpipe, softpipe,
/// swrast) or says it is software.
bool IsSoftwareRenderer(const std::string& renderer);

}  // namespace kx
