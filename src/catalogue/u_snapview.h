// Library tiles as plain data: sections, counters, selection, and the layout of a tile view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// A counter total that stands for "any number".
inline constexpr int32_t UnlimitedCount = 999999;
/// Icons of the library are square images of this size.
inline constexpr int IconSize = 64;
/// Gap between tiles and around them, pixels.
inline constexpr int SnapViewGap = 5;

enum class TSnapSectionKind { Image = 0, Caption = 1, Counter = 2 };

struct TSnapViewSection {
    TSnapSectionKind Kind = TSnapSectionKind::Caption;
    int ImageIndex = -1;  ///< Image: position in the shared icon list, -1 for none
    std::string Text;     ///< Caption
    int32_t Total = 0;    ///< Counter
    int32_t Remaining = 0;
};

/// One tile of a library view.
struct TSnapViewItem {
    int X = 0, Y = 0;  ///< position in its view, set by the layout
    int Width = 0, Height = 0;
    int MinWidth = IconSize;
    std::vector<TSnapViewSection> Sections;
    std::string Hint;
    std::string Label;
    int32_t SortKey = 0;
    bool Selected = false;

    /// The text of the first caption section: the definition number of the tile.
    std::string Number() const;
    /// The image of the first image section, -1 if none.
    int ImageIndex() const;
    bool HasImage() const;
    bool HasCounter() const;
    /// The first counter's remaining count; 1 for a tile without counter.
    int32_t Remaining() const;
    /// The first counter's total; 0 for a tile without counter.
    int32_t Total() const;
    void SetCounter(int32_t total, int32_t remaining);
    /// What the caption block shows: the label, or the caption when the label is empty.
    const std::string& CaptionText() const;

    /// A library tile: image, caption := number.
    static TSnapViewItem Make(int imageIndex, std::string_view number, std::string_view label,
                              std::string_view hint, int32_t sortKey = 0);
};

/// The tiles of one library tab.
struct TSnapViewData {
    std::vector<TSnapViewItem> Items;
    bool IsFavourites = false;
    bool IsCollection = false;
    int Selected = -1;  ///< the tile selected last, -1 for none

    /// Selects tile index (-1: none); every other tile loses its mark.
    void Select(int index);
    const TSnapViewItem* SelectedItem() const;
    /// First tile of a number (letter case ignored), -1 if none.
    int IndexOf(std::string_view number) const;
    void Remove(int index);
    void Clear();
    /// Ascending sort key; tiles of equal key keep their order.
    void SortByKey();
};

/// How text is measured where the tiles are drawn.
struct TTextMetrics {
    std::function<int(std::string_view)> Width;  ///< pixel width of one line of text
    int LineHeight = 13;
};

/// The caption block broken into lines at blanks: words are joined to a line while the line
/// stays narrower than the widest single word.
std::vector<std::string> CaptionLines(std::string_view text, const TTextMetrics& metrics);

/// Sets Width and Height of a tile from its sections and caption block.
void MeasureTile(TSnapViewItem& item, const TTextMetrics& metrics);

/// Places the measured tiles left to right with the gap, starting at (gap, gap); a tile that
/// would pass the view's width less 24 pixels starts a new row below the tallest tile of the
/// row. Returns the height the tiles need, including the gap below the last row.
int LayoutTiles(std::vector<TSnapViewItem>& items, int viewWidth);

}  // namespace kx
