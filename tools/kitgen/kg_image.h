// Pictures of kit parts: a small flat-shaded z-buffer renderer and BMP/JPEG encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kg_geometry.h"

namespace kx::kitgen {

struct TRgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const = default;
};

/// An RGB picture, rows from the top.
struct TImage {
    int Width = 0;
    int Height = 0;
    std::vector<TRgb> Pixels;

    TImage() = default;
    TImage(int w, int h, TRgb fill) : Width(w), Height(h), Pixels(size_t(w) * h, fill) {}
    TRgb& At(int x, int y) { return Pixels[size_t(y) * Width + x]; }
    const TRgb& At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
};

/// The part seen from the front right above, fitted into the picture, flat-shaded in its
/// colour on a uniform background. No part pixel has exactly the background colour, so the
/// background can serve as the transparent colour. Rendered at supersample times the size
/// and averaged down.
TImage RenderPart(const TGeo& geo, TRgb colour, double alpha, int width, int height,
                  TRgb background, int supersample = 3);

/// Gives every pixel that shows the part (covered[i]) and happens to have exactly the
/// background colour a shade off it, so it is not taken for transparent.
void KeepPartOffBackground(TImage& image, const std::vector<bool>& covered, TRgb background);

/// How many pixels of a size x size picture of the part, seen along view, show the back of
/// a triangle: 0 for a mesh whose triangles all face outwards.
size_t BackFacePixels(const TGeo& geo, const TVector3f& view, int size);

/// How far two meshes show the same outline seen along view: the share of the pixels inside
/// either outline that lie inside both, in a size x size picture framed to hold both. Gaps
/// the outline encloses count as inside. 1 for the same outline.
/// pixels, if given, receives how many pixels lie inside either outline.
double SilhouetteAgreement(const TGeo& a, const TGeo& b, const TVector3f& view, int size,
                           size_t* pixels = nullptr);

/// RGBA bytes (rows from the top) of a part drawn twice, on white and on black: where the
/// background shows through, the two differ by exactly the share it lets through, so
/// antialiased edges keep their partial cover.
std::vector<uint8_t> MatteRgba(const TImage& onWhite, const TImage& onBlack);

/// Writes a short caption (digits, "x", "Z", ",", "°") into the lower left corner in a
/// 5 x 7 pixel font enlarged by scale: the size that tells a family's members apart in a tile
/// where each is fitted to the same square. Where the caption crosses the part, a light rim
/// keeps it legible; pixels of the background are only inked, never set to it.
void StampCaption(TImage& image, const std::string& caption, int scale, TRgb background);

/// 24-bit uncompressed BMP file image.
std::string EncodeBmp24(const TImage& image);

/// Baseline JPEG file image (libjpeg).
std::string EncodeJpeg(const TImage& image, int quality);

/// The brick texture of the wall panel: one tile of two brick courses per half.
TImage BrickTexture(int size);

}  // namespace kx::kitgen
