// The parts sheet: framed boxes with a part's picture, article number, name and count, in
// columns and pages of the printable area.
#include "printing/u_TPrintSpare.h"

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_snapview.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

TSheetParts SheetPartsFromFiles(const TPartFiles& files, TDefCache& defs,
                                const TCatalogueSettings& settings) {
    TSheetParts parts;
    parts.DisplayName = [&files, &defs, settings](const std::string& number) -> std::string {
        // The cache hands out defaults for a number without a file; the sheet leaves the
        // name empty instead.
        if (!files.FindDef(number)) {
            return {};
        }
        return defs.GetDef(files, number, settings)->Name;
    };
    parts.Picture = [&files](const std::string& number) {
        return files.FindPart("icon/print", number, "jpg");
    };
    return parts;
}

TSheetLayout::TBoxPosition TSheetLayout::Next(int x, int y, int pageWidth, int pageHeight) {
    TBoxPosition next;
    if (pageHeight - 250 < y + 2 * BoxHeight) {
        if (pageWidth - 10 < x + ColumnStep + BoxWidth) {
            next.NewPage = true;
        } else {
            next.X = x + ColumnStep;
        }
    } else {
        next.X = x;
        next.Y = y + BoxHeight;
    }
    return next;
}

std::string SheetCountText(int32_t count) {
    return count == UnlimitedCount ? "---" : IntToStr(count) + " x";
}

void TPrintSpare::DoPrint() {
    Stack().Push("TPrintSpare.DoPrint");
    PrintText(TSheetLayout::HeadingX, TSheetLayout::HeadingY, Heading);
    int x0 = TSheetLayout::FirstX;
    int y0 = TSheetLayout::FirstY;
    for (size_t i = 0; i < Items.size(); ++i) {
        // The place is moved on before a box rather than after it, so a job whose last box
        // fills a page does not end with an empty one.
        if (i > 0) {
            const auto next = TSheetLayout::Next(x0, y0, PageWidth, PageHeight);
            if (next.NewPage) {
                NewPage();
            }
            x0 = next.X;
            y0 = next.Y;
        }
        PrintBox(Items[i], x0, y0);
        if (!ItemDone(static_cast<int>(i) + 1)) {
            return;
        }
    }
}

void TPrintSpare::PrintBox(const TSpareData& item, int x0, int y0) {
    using L = TSheetLayout;
    SetPenWidth(3);
    SetPenColor(L::FrameColour);
    PrintRect(x0, y0, x0 + L::BoxWidth, y0 + L::BoxHeight);
    PrintLine(x0 + L::DividerX, y0, x0 + L::DividerX, y0 + L::BoxHeight);

    SetFontHeight(40);
    PrintText(x0 + L::TextCentreX - GetTextWidth(item.Text) / 2, y0 + 20, item.Text);
    const std::string count = SheetCountText(item.Count);
    PrintText(x0 + L::TextCentreX - GetTextWidth(count) / 2, y0 + 140, count);

    SetFontHeight(20);
    PrintText(x0 + 10, y0 + 170, m_parts.DisplayName ? m_parts.DisplayName(item.Number) : "");

    const int px = x0 + L::PictureX;
    const int py = y0 + L::PictureY;
    const auto file = m_parts.Picture ? m_parts.Picture(item.Number) : std::nullopt;
    if (!file || !PrintPicture(px, py, *file, L::PictureSize, L::PictureSize)) {
        PrintPicturePlaceholder(item.Number, px, py);
    }
}

void TPrintSpare::PrintPicturePlaceholder(const std::string& number, int x, int y) {
    using L = TSheetLayout;
    SetPenWidth(1);
    PrintRect(x, y, x + L::PictureSize, y + L::PictureSize);
    SetFontHeight(30);
    PrintText(x + (L::PictureSize - GetTextWidth(number)) / 2, y + (L::PictureSize - 30) / 2,
              number);
}

}  // namespace kx
