// Build-time generator of the program's application icon: kxappicon PROGRAM_DIR OUTPUT_DIR.
// A gear of the kit drawn by the program's own renderer (or the software painter where no GL
// can be had), with a transparent background, in the sizes desktops ask for.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>

#include "kg_glpainter.h"
#include "kg_image.h"
#include "kg_kit.h"
#include "kg_painter.h"
#include "view/r_image.h"

namespace {

constexpr const char* kIconPart = "40705";  // the gear Z20: reads as "mechanics" at any size
// The kit's gear is black, which vanishes on dark panels: the icon shows it in signal red.
constexpr uint8_t kIconRgb[3] = {214, 40, 32};
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

kx::TRgbaImage IconPicture(kx::kitgen::TPartPainter& painter, const kx::kitgen::TKitPart& part,
                           int size) {
    const kx::kitgen::TImage onWhite = painter.Paint(part, size, size, {255, 255, 255});
    const kx::kitgen::TImage onBlack = painter.Paint(part, size, size, {0, 0, 0});
    kx::TRgbaImage image;
    image.Width = size;
    image.Height = size;
    image.Pixels = kx::kitgen::MatteRgba(onWhite, onBlack);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kxappicon PROGRAM_DIR OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path programDir = argv[1], outputDir = argv[2];
    const auto kit = kx::kitgen::BuildKit();
    std::optional<kx::kitgen::TKitPart> part;
    for (const auto& p : kit) {
        if (p.Def.Number == kIconPart) {
            part = p;
        }
    }
    if (!part) {
        std::fprintf(stderr, "kxappicon: the kit has no part %s\n", kIconPart);
        return 1;
    }
    part->Def.Red = kIconRgb[0];
    part->Def.Green = kIconRgb[1];
    part->Def.Blue = kIconRgb[2];
    std::unique_ptr<kx::kitgen::TPartPainter> painter;
    auto gl = std::make_unique<kx::kitgen::TGlPartPainter>(programDir);
    if (gl->Valid()) {
        painter = std::move(gl);
    } else {
        std::fprintf(stderr, "kxappicon: no OpenGL (%s); drawing in software\n",
                     gl->Error().c_str());
        painter = std::make_unique<kx::kitgen::TSoftwarePartPainter>();
    }
    try {
        for (const int size : kSizes) {
            const std::string dim = std::to_string(size) + "x" + std::to_string(size);
            const auto dir = outputDir / "hicolor" / dim / "apps";
            std::filesystem::create_directories(dir);
            std::string error;
            if (!kx::SavePng(dir / "korvex-designer.png", IconPicture(*painter, *part, size),
                             &error)) {
                std::fprintf(stderr, "kxappicon: %s\n", error.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kxappicon: %s\n", e.what());
        return 1;
    }
    return 0;
}
