// Pictures of kit parts: a small flat-shaded z-buffer renderer and BMP/JPEG encoders.
#include "kg_image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include <jpeglib.h>

namespace kx::kitgen {

namespace {

struct TV3 {
    double X, Y, Z;
};

TV3 Sub(TV3 a, TV3 b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}
double Dot3(TV3 a, TV3 b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}
TV3 Cross3(TV3 a, TV3 b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
TV3 Norm3(TV3 a) {
    const double l = std::sqrt(Dot3(a, a));
    return l > 0 ? TV3{a.X / l, a.Y / l, a.Z / l} : a;
}

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

namespace {

/// The nearest triangle of every pixel of a w x h picture of geo seen along view (fitted
/// into the picture), and whether that pixel sees the triangle's back.
struct TRaster {
    int W = 0, H = 0;
    std::vector<double> Depth;
    std::vector<int64_t> Triangle;  ///< first vertex index of the triangle seen, -1 for none
    std::vector<bool> Back;
};

/// Drawn so that the frame geometry (the geometry itself unless given) fills the picture.
TRaster Rasterize(const TGeo& geo, TV3 view, int w, int h, const TGeo* frame = nullptr) {
    view = Norm3(view);
    TV3 right = Cross3(view, {0, 1, 0});
    if (Dot3(right, right) < 1e-12) {
        right = Cross3(view, {0, 0, 1});
    }
    right = Norm3(right);
    const TV3 up = Cross3(right, view);
    TRaster r{w, h, std::vector<double>(size_t(w) * h, std::numeric_limits<double>::infinity()),
              std::vector<int64_t>(size_t(w) * h, -1), std::vector<bool>(size_t(w) * h, false)};
    if (geo.P.empty()) {
        return r;
    }
    std::vector<TV3> s(geo.P.size());
    double minX = 1e30, maxX = -1e30, minY = 1e30, maxY = -1e30;
    for (size_t i = 0; i < geo.P.size(); ++i) {
        const TV3 p{geo.P[i].X, geo.P[i].Y, geo.P[i].Z};
        s[i] = {Dot3(p, right), Dot3(p, up), Dot3(p, view)};
    }
    for (const TVector3f& q : (frame ? *frame : geo).P) {
        const TV3 p{q.X, q.Y, q.Z};
        minX = std::min(minX, Dot3(p, right));
        maxX = std::max(maxX, Dot3(p, right));
        minY = std::min(minY, Dot3(p, up));
        maxY = std::max(maxY, Dot3(p, up));
    }
    const double margin = 0.08 * std::min(w, h);
    const double extent = std::max({maxX - minX, maxY - minY, 1e-6});
    const double scale = (std::min(w, h) - 2 * margin) / extent;
    const double cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    for (TV3& p : s) {
        p.X = w / 2.0 + (p.X - cx) * scale;
        p.Y = h / 2.0 - (p.Y - cy) * scale;
    }
    for (size_t t = 0; t + 2 < geo.P.size(); t += 3) {
        const TV3 p0{geo.P[t].X, geo.P[t].Y, geo.P[t].Z};
        const TV3 p1{geo.P[t + 1].X, geo.P[t + 1].Y, geo.P[t + 1].Z};
        const TV3 p2{geo.P[t + 2].X, geo.P[t + 2].Y, geo.P[t + 2].Z};
        const bool back = Dot3(Cross3(Sub(p1, p0), Sub(p2, p0)), view) > 0;
        const TV3 &a0 = s[t], &a1 = s[t + 1], &a2 = s[t + 2];
        const double area = (a1.X - a0.X) * (a2.Y - a0.Y) - (a1.Y - a0.Y) * (a2.X - a0.X);
        if (std::abs(area) < 1e-12) {
            continue;
        }
        const int x0 = std::max(0, int(std::floor(std::min({a0.X, a1.X, a2.X}))));
        const int x1 = std::min(w - 1, int(std::ceil(std::max({a0.X, a1.X, a2.X}))));
        const int y0 = std::max(0, int(std::floor(std::min({a0.Y, a1.Y, a2.Y}))));
        const int y1 = std::min(h - 1, int(std::ceil(std::max({a0.Y, a1.Y, a2.Y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double w0 = ((a1.X - px) * (a2.Y - py) - (a1.Y - py) * (a2.X - px)) / area;
                const double w1 = ((a2.X - px) * (a0.Y - py) - (a2.Y - py) * (a0.X - px)) / area;
                const double w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) {
                    continue;
                }
                const double z = w0 * a0.Z + w1 * a1.Z + w2 * a2.Z;
                const size_t i = size_t(y) * w + x;
                if (z < r.Depth[i]) {
                    r.Depth[i] = z;
                    r.Triangle[i] = int64_t(t);
                    r.Back[i] = back;
                }
            }
        }
    }
    return r;
}

}  // namespace

TImage RenderPart(const TGeo& geo, TRgb colour, double alpha, int width, int height,
                  TRgb background, int supersample) {
    const int ss = std::max(1, supersample);
    const int w = width * ss, h = height * ss;
    // Viewed from the front right above; Y is up in the part's frame.
    const TV3 view = Norm3({-1.0, -0.75, -1.35});
    const TV3 light = Norm3({-0.35, 1.0, 0.75});
    const TRaster r = Rasterize(geo, view, w, h);
    const double a = std::clamp(alpha, 0.0, 1.0);
    auto shade = [&](size_t t) {
        const TV3 p0{geo.P[t].X, geo.P[t].Y, geo.P[t].Z};
        const TV3 p1{geo.P[t + 1].X, geo.P[t + 1].Y, geo.P[t + 1].Z};
        const TV3 p2{geo.P[t + 2].X, geo.P[t + 2].Y, geo.P[t + 2].Z};
        TV3 n = Norm3(Cross3(Sub(p1, p0), Sub(p2, p0)));
        if (Dot3(n, view) > 0) {
            n = {-n.X, -n.Y, -n.Z};  // both sides lit, so open meshes still read
        }
        const double diffuse = std::max(0.0, Dot3(n, light));
        const double rim = 0.15 * std::max(0.0, -Dot3(n, view));
        const double k = 0.32 + 0.58 * diffuse + rim;
        auto lit = [&](uint8_t c) {
            const double v = std::min(254.0, c * k + 12);
            return v * a + 245 * (1 - a);
        };
        return TV3{lit(colour.R), lit(colour.G), lit(colour.B)};
    };
    std::vector<TV3> shades(geo.P.size() / 3);
    for (size_t t = 0; t < shades.size(); ++t) {
        shades[t] = shade(3 * t);
    }
    TImage img(width, height, background);
    std::vector<bool> covered(size_t(width) * height, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sr = 0, sg = 0, sb = 0;
            int hits = 0;
            for (int j = 0; j < ss; ++j) {
                for (int i = 0; i < ss; ++i) {
                    const size_t k = size_t(y * ss + j) * w + (x * ss + i);
                    if (r.Triangle[k] >= 0) {
                        const TV3& c = shades[size_t(r.Triangle[k]) / 3];
                        sr += c.X;
                        sg += c.Y;
                        sb += c.Z;
                        ++hits;
                    } else {
                        sr += background.R;
                        sg += background.G;
                        sb += background.B;
                    }
                }
            }
            if (hits == 0) {
                continue;
            }
            const double n = ss * ss;
            img.At(x, y) = {uint8_t(std::lround(sr / n)), uint8_t(std::lround(sg / n)),
                            uint8_t(std::lround(sb / n))};
            covered[size_t(y) * width + x] = true;
        }
    }
    KeepPartOffBackground(img, covered, background);
    return img;
}

namespace {

// 5 x 7 glyphs, one row a byte, the leftmost column in bit 4.
struct TGlyph {
    char Code;
    int Width;
    uint8_t Rows[7];
};
constexpr char kDegree = '\x01';
constexpr TGlyph kGlyphs[] = {
    {'0', 5, {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', 5, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', 5, {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', 5, {0x1E, 0x01, 0x01, 0x0E, 0x01, 0x01, 0x1E}},
    {'4', 5, {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', 5, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', 5, {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', 5, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', 5, {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', 5, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'x', 5, {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}},
    {'Z', 5, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {',', 3, {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x08}},  // shifted: bits 3, 2
    {kDegree, 4, {0x0C, 0x12, 0x12, 0x0C, 0x00, 0x00, 0x00}},
};

const TGlyph* FindGlyph(char c) {
    for (const TGlyph& g : kGlyphs) {
        if (g.Code == c) {
            return &g;
        }
    }
    return nullptr;
}

}  // namespace

void StampCaption(TImage& image, const std::string& caption, int scale, TRgb background) {
    std::string codes;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (uint8_t(caption[i]) == 0xC2 && i + 1 < caption.size() &&
            uint8_t(caption[i + 1]) == 0xB0) {
            codes += kDegree;
            ++i;
        } else if (FindGlyph(caption[i])) {
            codes += caption[i];
        }
    }
    const TRgb ink{40, 40, 48}, rim{236, 236, 230};
    std::vector<bool> inked(image.Pixels.size(), false);
    int x0 = scale;
    const int y0 = image.Height - 8 * scale;
    for (char c : codes) {
        const TGlyph& g = *FindGlyph(c);
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (!(g.Rows[row] >> (4 - col) & 1)) {
                    continue;
                }
                for (int j = 0; j < scale; ++j) {
                    for (int i = 0; i < scale; ++i) {
                        const int x = x0 + col * scale + i, y = y0 + row * scale + j;
                        if (x >= 0 && y >= 0 && x < image.Width && y < image.Height) {
                            inked[size_t(y) * image.Width + x] = true;
                        }
                    }
                }
            }
        }
        x0 += (g.Width + 1) * scale;
    }
    // The rim goes round the ink where the part lies under it.
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const size_t i = size_t(y) * image.Width + x;
            if (inked[i] || image.Pixels[i] == background) {
                continue;
            }
            bool near = false;
            for (int dy = -scale; dy <= scale && !near; ++dy) {
                for (int dx = -scale; dx <= scale && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < image.Width && ny < image.Height &&
                           inked[size_t(ny) * image.Width + nx];
                }
            }
            if (near) {
                image.Pixels[i] = rim;
            }
        }
    }
    for (size_t i = 0; i < inked.size(); ++i) {
        if (inked[i]) {
            image.Pixels[i] = ink;
        }
    }
}

void KeepPartOffBackground(TImage& image, const std::vector<bool>& covered, TRgb background) {
    for (size_t i = 0; i < image.Pixels.size() && i < covered.size(); ++i) {
        TRgb& c = image.Pixels[i];
        if (covered[i] && c == background) {
            c.B = c.B > 0 ? c.B - 1 : 1;
        }
    }
}

std::vector<uint8_t> MatteRgba(const TImage& onWhite, const TImage& onBlack) {
    if (onWhite.Width != onBlack.Width || onWhite.Height != onBlack.Height) {
        throw std::invalid_argument("MatteRgba: pictures of different sizes");
    }
    std::vector<uint8_t> rgba(onWhite.Pixels.size() * 4);
    for (size_t i = 0; i < onWhite.Pixels.size(); ++i) {
        const TRgb w = onWhite.Pixels[i], b = onBlack.Pixels[i];
        const int through = (int(w.R) - b.R + int(w.G) - b.G + int(w.B) - b.B + 1) / 3;
        const int alpha = std::clamp(255 - through, 0, 255);
        const auto unblend = [alpha](uint8_t c) {
            return uint8_t(alpha == 0 ? 0 : std::min(255, (c * 255 + alpha / 2) / alpha));
        };
        uint8_t* out = &rgba[i * 4];
        out[0] = unblend(b.R);
        out[1] = unblend(b.G);
        out[2] = unblend(b.B);
        out[3] = uint8_t(alpha);
    }
    return rgba;
}

size_t BackFacePixels(const TGeo& geo, const TVector3f& view, int size) {
    const TRaster r = Rasterize(geo, {view.X, view.Y, view.Z}, size, size);
    return size_t(std::count(r.Back.begin(), r.Back.end(), true));
}

double SilhouetteAgreement(const TGeo& a, const TGeo& b, const TVector3f& view, int size,
                           size_t* pixels) {
    const TGeo both = a + b;
    const TV3 v{view.X, view.Y, view.Z};
    const TRaster ra = Rasterize(a, v, size, size, &both);
    const TRaster rb = Rasterize(b, v, size, size, &both);
    // The outline: what is covered, and what the background cannot reach from the border
    // (the gaps of a lattice or between spokes belong to the part's outline).
    auto outline = [size](const TRaster& r) {
        std::vector<bool> outside(r.Triangle.size(), false);
        std::vector<int> stack;
        auto visit = [&](int x, int y) {
            const size_t i = size_t(y) * size + x;
            if (!outside[i] && r.Triangle[i] < 0) {
                outside[i] = true;
                stack.push_back(int(i));
            }
        };
        for (int k = 0; k < size; ++k) {
            visit(k, 0);
            visit(k, size - 1);
            visit(0, k);
            visit(size - 1, k);
        }
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % size, y = i / size;
            if (x > 0)
                visit(x - 1, y);
            if (x + 1 < size)
                visit(x + 1, y);
            if (y > 0)
                visit(x, y - 1);
            if (y + 1 < size)
                visit(x, y + 1);
        }
        return outside;
    };
    const std::vector<bool> outA = outline(ra), outB = outline(rb);
    size_t common = 0, any = 0;
    for (size_t i = 0; i < ra.Triangle.size(); ++i) {
        const bool inA = !outA[i], inB = !outB[i];
        common += inA && inB;
        any += inA || inB;
    }
    if (pixels) {
        *pixels = any;
    }
    return any == 0 ? 1.0 : double(common) / double(any);
}

std::string EncodeBmp24(const TImage& image) {
    const uint32_t rowBytes = (uint32_t(image.Width) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * uint32_t(image.Height);
    std::string s;
    s.reserve(54 + dataSize);
    s += "BM";
    Put32(s, 54 + dataSize);
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, uint32_t(image.Width));
    Put32(s, uint32_t(image.Height));  // positive: rows stored bottom-up
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, 0);
    Put32(s, dataSize);
    Put32(s, 2835);  // 72 dpi
    Put32(s, 2835);
    Put32(s, 0);
    Put32(s, 0);
    for (int y = image.Height - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width; ++x) {
            const TRgb& c = image.At(x, y);
            s.push_back(char(c.B));
            s.push_back(char(c.G));
            s.push_back(char(c.R));
        }
        for (uint32_t pad = uint32_t(image.Width) * 3; pad < rowBytes; ++pad) {
            s.push_back('\0');
        }
    }
    return s;
}

std::string EncodeJpeg(const TImage& image, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jerr.error_exit = [](j_common_ptr info) {
        char message[JMSG_LENGTH_MAX];
        (*info->err->format_message)(info, message);
        throw std::runtime_error(message);
    };
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::string out;
    try {
        jpeg_create_compress(&cinfo);
        jpeg_mem_dest(&cinfo, &buffer, &size);
        cinfo.image_width = JDIMENSION(image.Width);
        cinfo.image_height = JDIMENSION(image.Height);
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        std::vector<unsigned char> row(size_t(image.Width) * 3);
        while (cinfo.next_scanline < cinfo.image_height) {
            for (int x = 0; x < image.Width; ++x) {
                const TRgb& c = image.At(x, int(cinfo.next_scanline));
                row[size_t(x) * 3] = c.R;
                row[size_t(x) * 3 + 1] = c.G;
                row[size_t(x) * 3 + 2] = c.B;
            }
            JSAMPROW rows[1] = {row.data()};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        out.assign(reinterpret_cast<const char*>(buffer), size);
    } catch (...) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        throw;
    }
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

TImage BrickTexture(int size) {
    TImage img(size, size, TRgb{205, 200, 190});
    const int courses = 4, bricksPerCourse = 2;
    const int courseH = size / courses, brickW = size / bricksPerCourse;
    for (int c = 0; c < courses; ++c) {
        const int shift = (c % 2) * brickW / 2;
        for (int b = -1; b <= bricksPerCourse; ++b) {
            // A fixed shade per brick, so the wall is not uniform but stays reproducible.
            const int tone = ((c * 7 + (b + 1) * 13) % 5) * 9;
            const TRgb brick{uint8_t(150 + tone), uint8_t(60 + tone / 2), uint8_t(45 + tone / 3)};
            const int x0 = b * brickW + shift + 1, x1 = x0 + brickW - 2;
            const int y0 = c * courseH + 1, y1 = y0 + courseH - 2;
            for (int y = std::max(0, y0); y < std::min(size, y1); ++y) {
                for (int x = std::max(0, x0); x < std::min(size, x1); ++x) {
                    img.At(x, y) = brick;
                }
            }
        }
    }
    return img;
}

}  // namespace kx::kitgen
