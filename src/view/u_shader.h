// The outline shader's settings: part edges drawn as thick lines in a first pass, then the part.
#pragma once

#include "view/u_colour.h"

namespace kx {

/// What a library material carries while the outline mode is on. The renderer draws the
/// object twice: back faces as lines of LineWidth pixels in LineColor (the silhouette), then
/// the object itself, lit when Lighting is set, otherwise flat in BackgroundColor.
struct TOutLineShader {
    TColor3f LineColor{0, 0, 0};
    TColor3f BackgroundColor{0, 0, 0};
    bool LineSmooth = false;
    bool Lighting = true;
    float LineWidth = 3;

    bool operator==(const TOutLineShader&) const = default;
};

}  // namespace kx
