// RGBA pictures in memory: textures read from PNG, BMP or JPEG files, renderings saved as PNG.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kx {

/// 8-bit RGBA pixels, rows from the top.
struct TRgbaImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;  ///< Width * Height * 4 bytes

    bool Empty() const { return Width <= 0 || Height <= 0; }
    const uint8_t* At(int x, int y) const { return &Pixels[(size_t(y) * Width + x) * 4]; }
    uint8_t* At(int x, int y) { return &Pixels[(size_t(y) * Width + x) * 4]; }
};

/// Decodes a PNG, BMP or JPEG file (recognised by its first bytes). False with a reason when
/// the file is missing, unreadable or not one of these.
bool LoadImageFile(const std::filesystem::path& path, TRgbaImage& image,
                   std::string* error = nullptr);
bool DecodeImage(const std::string& bytes, TRgbaImage& image, std::string* error = nullptr);

/// Encodes as PNG with alpha; false if the encoder fails.
bool EncodePng(const TRgbaImage& image, std::string& bytes);
/// Writes a PNG atomically: a failed write leaves an existing file as it was.
bool SavePng(const std::filesystem::path& path, const TRgbaImage& image,
             std::string* error = nullptr);

/// Makes every pixel with the colour of the top-left pixel fully transparent.
void MakeTopLeftColorTransparent(TRgbaImage& image);

}  // namespace kx
