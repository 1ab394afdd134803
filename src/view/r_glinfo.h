// What the current OpenGL context is: vendor, renderer and version, for the information window.
#pragma once

#include <string>

namespace kx {

struct TGlInfo {
    std::string Vendor;
    std::string Renderer;
    std::string Version;
    std::string ShadingLanguage;
};

/// Reads the strings of the context current on this thread.
TGlInfo QueryGlInfo();

}  // namespace kx
