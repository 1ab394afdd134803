// Who draws the pictures of the kit's parts: the library's icons and the parts list's print
// pictures. The build draws them through the program's own renderer where a GL is at hand;
// the software painter stands in where none is (the core-only build, a machine without EGL).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kg_image.h"
#include "kg_kit.h"

namespace kx::kitgen {

class TPartPainter {
public:
    virtual ~TPartPainter() = default;
    /// The part seen from the front right above, fitted into a width x height picture on a
    /// uniform background. No part pixel has exactly the background colour, so the background
    /// can serve as the transparent colour.
    virtual TImage Paint(const TKitPart& part, int width, int height, TRgb background) = 0;
};

/// The flat-shaded z-buffer renderer of kg_image: the same picture on every machine.
class TSoftwarePartPainter : public TPartPainter {
public:
    TImage Paint(const TKitPart& part, int width, int height, TRgb background) override;
};

/// The part's picture of size x size as the kit ships it: painted, and captioned with its size
/// where the part has one.
TImage PartPicture(const TKitPart& part, TPartPainter& painter, int size);

/// The 64 x 64 BMP icon ("icon/<number>.bmp") and the 200 x 200 JPEG print picture
/// ("icon/print/<number>.jpg") of every part, as relative path -> bytes.
std::map<std::string, std::string> KitPictures(const std::vector<TKitPart>& kit,
                                               TPartPainter& painter);

}  // namespace kx::kitgen
