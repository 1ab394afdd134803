// The parts sheet: framed boxes with a part's picture, article number, name and count, in
// columns and pages of the printable area.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "printing/u_TPrintBase.h"

namespace kx {

class TDefCache;
class TPartFiles;
struct TCatalogueSettings;

/// What a sheet looks up about a part by its number.
struct TSheetParts {
    /// Display name; empty if the definition cannot be found.
    std::function<std::string(const std::string& number)> DisplayName;
    /// The print picture, if there is one.
    std::function<std::optional<std::filesystem::path>(const std::string& number)> Picture;
};

/// Names from the definitions (through the cache) and pictures from icon/print/ of the part
/// folders.
TSheetParts SheetPartsFromFiles(const TPartFiles& files, TDefCache& defs,
                                const TCatalogueSettings& settings);

/// Where boxes go on a sheet, in page units.
struct TSheetLayout {
    static constexpr int HeadingX = 120;
    static constexpr int HeadingY = 170;
    static constexpr int FirstX = 100;
    static constexpr int FirstY = 300;
    static constexpr int BoxWidth = 570;
    static constexpr int BoxHeight = 200;
    static constexpr int ColumnStep = 600;
    static constexpr int DividerX = 400;
    static constexpr int TextCentreX = 485;
    static constexpr int PictureX = 125;
    static constexpr int PictureY = 10;
    static constexpr int PictureSize = 150;
    static constexpr uint32_t FrameColour = 0xD75F1B;  ///< red 27, green 95, blue 215

    struct TBoxPosition {
        int X = FirstX;
        int Y = FirstY;
        bool NewPage = false;  ///< the box starts a new page
    };
    /// Where the box after one at (x, y) goes on a page of that printable size: below it,
    /// at the top of the next column, or at the top of a new page.
    static TBoxPosition Next(int x, int y, int pageWidth, int pageHeight);
};

/// The count a box shows: "3 x"; an unlimited collection entry shows "---".
std::string SheetCountText(int32_t count);

class TPrintSpare : public TPrintBase {
public:
    explicit TPrintSpare(TSheetParts parts) : m_parts(std::move(parts)) {}

    /// Printed on the first page above the boxes.
    std::string Heading;

protected:
    void DoPrint() override;

private:
    void PrintBox(const TSpareData& item, int x0, int y0);
    /// A framed square with the part number where the picture is missing.
    void PrintPicturePlaceholder(const std::string& number, int x, int y);

    TSheetParts m_parts;
};

}  // namespace kx
