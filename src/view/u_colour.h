// Colours of the scene: float components 0-1, and the 24-bit values red + 256 green + 65536 blue.
#pragma once

#include <cstdint>

namespace kx {

struct TColor3f {
    float R = 0;
    float G = 0;
    float B = 0;
    bool operator==(const TColor3f&) const = default;
};

struct TColor4f {
    float R = 0;
    float G = 0;
    float B = 0;
    float A = 1;
    TColor3f Rgb() const { return {R, G, B}; }
    bool operator==(const TColor4f&) const = default;
};

/// A 24-bit colour value (red in the lowest byte) as floats; the high byte is ignored, so
/// system colour codes must be resolved before they get here.
TColor3f ColorFromWin(uint32_t colour);

/// Floats back to a 24-bit value: each component clamped to 0-1, scaled by 255 and rounded.
uint32_t ColorToWin(const TColor3f& colour);

}  // namespace kx
