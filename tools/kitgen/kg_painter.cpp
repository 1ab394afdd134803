// Who draws the pictures of the kit's parts, and the picture files made from them.
#include "kg_painter.h"

#include <algorithm>

namespace kx::kitgen {

namespace {

constexpr TRgb kPictureBackground{255, 255, 255};
constexpr int kIconSize = 64;
constexpr int kPrintSize = 200;
constexpr int kPrintQuality = 92;

}  // namespace

TImage TSoftwarePartPainter::Paint(const TKitPart& part, int width, int height, TRgb background) {
    const TRgb colour{part.Def.Red, part.Def.Green, part.Def.Blue};
    // Small pictures take more samples per pixel: their edges are a larger share of them.
    const int supersample = width <= kIconSize ? 4 : 2;
    return RenderPart(part.Hires, colour, part.Def.Alpha, width, height, background, supersample);
}

TImage PartPicture(const TKitPart& part, TPartPainter& painter, int size) {
    TImage picture = painter.Paint(part, size, size, kPictureBackground);
    if (!part.Badge.empty()) {
        StampCaption(picture, part.Badge, std::max(1, size / 64), kPictureBackground);
    }
    return picture;
}

std::map<std::string, std::string> KitPictures(const std::vector<TKitPart>& kit,
                                               TPartPainter& painter) {
    std::map<std::string, std::string> files;
    for (const TKitPart& part : kit) {
        const std::string& n = part.Def.Number;
        files["icon/" + n + ".bmp"] = EncodeBmp24(PartPicture(part, painter, kIconSize));
        files["icon/print/" + n + ".jpg"] =
            EncodeJpeg(PartPicture(part, painter, kPrintSize), kPrintQuality);
    }
    return files;
}

}  // namespace kx::kitgen
