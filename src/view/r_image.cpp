// RGBA pictures in memory: textures read from PNG, BMP or JPEG files, renderings saved as PNG.
#include "view/r_image.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

#include "foundation/u_text.h"

namespace kx {

namespace {

// Pictures larger than this are refused rather than allocated: a hostile header must not make
// us reserve gigabytes.
constexpr int64_t kMaxPixels = int64_t(1) << 26;

bool Fail(std::string* error, const std::string& why) {
    if (error) {
        *error = why;
    }
    return false;
}

bool SizeOk(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w * h <= kMaxPixels;
}

uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

bool DecodePng(const std::string& bytes, TRgbaImage& image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        return Fail(error, std::string("PNG: ") + png.message);
    }
    if (!SizeOk(png.width, png.height)) {
        png_image_free(&png);
        return Fail(error, "PNG: picture too large");
    }
    png.format = PNG_FORMAT_RGBA;
    TRgbaImage out;
    out.Width = int(png.width);
    out.Height = int(png.height);
    out.Pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, out.Pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return Fail(error, std::string("PNG: ") + png.message);
    }
    image = std::move(out);
    return true;
}

bool DecodeBmp(const std::string& bytes, TRgbaImage& image, std::string* error) {
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t size = bytes.size();
    if (size < 54) {
        return Fail(error, "BMP: file too short");
    }
    const uint32_t dataOffset = Le32(b + 10);
    const uint32_t headerSize = Le32(b + 14);
    if (headerSize < 40 || 14 + uint64_t(headerSize) > size) {
        return Fail(error, "BMP: unsupported header");
    }
    const int32_t width = int32_t(Le32(b + 18));
    const int32_t rawHeight = int32_t(Le32(b + 22));
    const uint16_t bits = Le16(b + 28);
    const uint32_t compression = Le32(b + 30);
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t(rawHeight) : rawHeight;
    if (!SizeOk(width, height)) {
        return Fail(error, "BMP: bad size");
    }
    if (!(compression == 0 || (compression == 3 && bits == 32))) {
        return Fail(error, "BMP: compressed pictures are not supported");
    }
    if (bits != 8 && bits != 24 && bits != 32) {
        return Fail(error, "BMP: unsupported colour depth");
    }
    std::vector<uint32_t> palette;
    if (bits == 8) {
        uint32_t colours = Le32(b + 46);
        if (colours == 0 || colours > 256) {
            colours = 256;
        }
        const uint64_t palStart = 14 + uint64_t(headerSize);
        if (palStart + colours * 4ull > size) {
            return Fail(error, "BMP: palette cut short");
        }
        for (uint32_t i = 0; i < colours; ++i) {
            palette.push_back(Le32(b + palStart + i * 4));
        }
    }
    const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
    if (dataOffset + stride * uint64_t(height) > size) {
        return Fail(error, "BMP: pixel data cut short");
    }
    TRgbaImage out;
    out.Width = width;
    out.Height = int(height);
    out.Pixels.resize(size_t(width) * size_t(height) * 4);
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = b + dataOffset + stride * uint64_t(topDown ? y : height - 1 - y);
        uint8_t* dst = out.At(0, int(y));
        for (int32_t x = 0; x < width; ++x, dst += 4) {
            if (bits == 8) {
                const uint8_t index = row[x];
                const uint32_t c = index < palette.size() ? palette[index] : 0;
                dst[0] = uint8_t(c >> 16);
                dst[1] = uint8_t(c >> 8);
                dst[2] = uint8_t(c);
                dst[3] = 255;
            } else {
                const uint8_t* s = row + size_t(x) * (bits / 8);
                dst[0] = s[2];
                dst[1] = s[1];
                dst[2] = s[0];
                // Most 32-bit BMPs leave the fourth byte zero; they are opaque.
                dst[3] = 255;
            }
        }
    }
    image = std::move(out);
    return true;
}

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, err->Message);
    std::longjmp(err->Jump, 1);
}

// Kept free of C++ objects with destructors between setjmp and longjmp.
bool DecodeJpegInto(const std::string& bytes, uint8_t* pixels, int& width, int& height,
                    bool sizeOnly, char* message) {
    jpeg_decompress_struct info;
    TJpegError err;
    info.err = jpeg_std_error(&err.Manager);
    err.Manager.error_exit = JpegErrorExit;
    err.Manager.output_message = [](j_common_ptr) {};  // warnings of a damaged file stay quiet
    if (setjmp(err.Jump)) {
        std::memcpy(message, err.Message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    width = int(info.output_width);
    height = int(info.output_height);
    if (sizeOnly || !SizeOk(width, height)) {
        jpeg_abort_decompress(&info);
        jpeg_destroy_decompress(&info);
        return true;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + size_t(info.output_scanline) * size_t(width) * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool DecodeJpeg(const std::string& bytes, TRgbaImage& image, std::string* error) {
    char message[JMSG_LENGTH_MAX] = {};
    int w = 0, h = 0;
    if (!DecodeJpegInto(bytes, nullptr, w, h, true, message)) {
        return Fail(error, std::string("JPEG: ") + message);
    }
    if (!SizeOk(w, h)) {
        return Fail(error, "JPEG: bad size");
    }
    TRgbaImage out;
    out.Pixels.resize(size_t(w) * size_t(h) * 4);
    if (!DecodeJpegInto(bytes, out.Pixels.data(), out.Width, out.Height, false, message)) {
        return Fail(error, std::string("JPEG: ") + message);
    }
    image = std::move(out);
    return true;
}

}  // namespace

bool DecodeImage(const std::string& bytes, TRgbaImage& image, std::string* error) {
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG", 4) == 0) {
        return DecodePng(bytes, image, error);
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return DecodeBmp(bytes, image, error);
    }
    if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xFF\xD8\xFF", 3) == 0) {
        return DecodeJpeg(bytes, image, error);
    }
    return Fail(error, "not a PNG, BMP or JPEG picture");
}

bool LoadImageFile(const std::filesystem::path& path, TRgbaImage& image, std::string* error) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return Fail(error, "cannot read " + path.string());
    }
    return DecodeImage(*bytes, image, error);
}

bool EncodePng(const TRgbaImage& image, std::string& bytes) {
    if (image.Empty() || image.Pixels.size() < size_t(image.Width) * image.Height * 4) {
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.Width);
    png.height = png_uint_32(image.Height);
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.Pixels.data(), 0, nullptr)) {
        return false;
    }
    bytes.resize(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.Pixels.data(), 0, nullptr)) {
        return false;
    }
    bytes.resize(size);
    return true;
}

bool SavePng(const std::filesystem::path& path, const TRgbaImage& image, std::string* error) {
    std::string bytes;
    if (!EncodePng(image, bytes)) {
        return Fail(error, "cannot encode the picture as PNG");
    }
    return WriteFileAtomic(path, bytes, error);
}

void MakeTopLeftColorTransparent(TRgbaImage& image) {
    if (image.Empty()) {
        return;
    }
    uint8_t key[3];
    std::memcpy(key, image.At(0, 0), 3);
    for (size_t i = 0; i + 3 < image.Pixels.size(); i += 4) {
        if (std::memcmp(&image.Pixels[i], key, 3) == 0) {
            image.Pixels[i + 3] = 0;
        }
    }
    // Filtering mixes a cut-away pixel's colour into its neighbours; give it a neighbour's
    // colour, so the key colour does not fringe the edges.
    const TRgbaImage source = image;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            if (source.At(x, y)[3] != 0) {
                continue;
            }
            const int nx[4] = {x - 1, x + 1, x, x};
            const int ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k) {
                if (nx[k] >= 0 && ny[k] >= 0 && nx[k] < image.Width && ny[k] < image.Height &&
                    source.At(nx[k], ny[k])[3] != 0) {
                    std::memcpy(image.At(x, y), source.At(nx[k], ny[k]), 3);
                    break;
                }
            }
        }
    }
}

}  // namespace kx
