// Library tiles as plain data: sections, counters, selection, and the layout of a tile view.
#include "catalogue/u_snapview.h"

#include <algorithm>

#include "foundation/u_text.h"

namespace kx {

std::string TSnapViewItem::Number() const {
    for (const TSnapViewSection& s : Sections) {
        if (s.Kind == TSnapSectionKind::Caption) {
            return s.Text;
        }
    }
    return {};
}

int TSnapViewItem::ImageIndex() const {
    for (const TSnapViewSection& s : Sections) {
        if (s.Kind == TSnapSectionKind::Image) {
            return s.ImageIndex;
        }
    }
    return -1;
}

bool TSnapViewItem::HasImage() const {
    return std::any_of(Sections.begin(), Sections.end(),
                       [](const TSnapViewSection& s) { return s.Kind == TSnapSectionKind::Image; });
}

bool TSnapViewItem::HasCounter() const {
    return std::any_of(Sections.begin(), Sections.end(), [](const TSnapViewSection& s) {
        return s.Kind == TSnapSectionKind::Counter;
    });
}

int32_t TSnapViewItem::Remaining() const {
    for (const TSnapViewSection& s : Sections) {
        if (s.Kind == TSnapSectionKind::Counter) {
            return s.Remaining;
        }
    }
    return 1;
}

int32_t TSnapViewItem::Total() const {
    for (const TSnapViewSection& s : Sections) {
        if (s.Kind == TSnapSectionKind::Counter) {
            return s.Total;
        }
    }
    return 0;
}

void TSnapViewItem::SetCounter(int32_t total, int32_t remaining) {
    for (TSnapViewSection& s : Sections) {
        if (s.Kind == TSnapSectionKind::Counter) {
            s.Total = total;
            s.Remaining = remaining;
            return;
        }
    }
    TSnapViewSection counter;
    counter.Kind = TSnapSectionKind::Counter;
    counter.Total = total;
    counter.Remaining = remaining;
    Sections.push_back(counter);
}

const std::string& TSnapViewItem::CaptionText() const {
    if (!Label.empty()) {
        return Label;
    }
    for (const TSnapViewSection& s : Sections) {
        if (s.Kind == TSnapSectionKind::Caption) {
            return s.Text;
        }
    }
    return Label;
}

TSnapViewItem TSnapViewItem::Make(int imageIndex, std::string_view number, std::string_view label,
                                  std::string_view hint, int32_t sortKey) {
    TSnapViewItem item;
    TSnapViewSection image;
    image.Kind = TSnapSectionKind::Image;
    image.ImageIndex = imageIndex;
    TSnapViewSection caption;
    caption.Kind = TSnapSectionKind::Caption;
    caption.Text = std::string(number);
    item.Sections = {image, caption};
    item.Label = std::string(label);
    item.Hint = std::string(hint);
    item.SortKey = sortKey;
    return item;
}

void TSnapViewData::Select(int index) {
    if (index < 0 || index >= static_cast<int>(Items.size())) {
        index = -1;
    }
    for (size_t i = 0; i < Items.size(); ++i) {
        Items[i].Selected = static_cast<int>(i) == index;
    }
    Selected = index;
}

const TSnapViewItem* TSnapViewData::SelectedItem() const {
    if (Selected < 0 || Selected >= static_cast<int>(Items.size())) {
        return nullptr;
    }
    return &Items[static_cast<size_t>(Selected)];
}

int TSnapViewData::IndexOf(std::string_view number) const {
    for (size_t i = 0; i < Items.size(); ++i) {
        if (SameText(Items[i].Number(), number)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TSnapViewData::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(Items.size())) {
        return;
    }
    Items.erase(Items.begin() + index);
    if (Selected == index) {
        Selected = -1;
    } else if (Selected > index) {
        --Selected;
    }
}

void TSnapViewData::Clear() {
    Items.clear();
    Selected = -1;
}

void TSnapViewData::SortByKey() {
    std::stable_sort(
        Items.begin(), Items.end(),
        [](const TSnapViewItem& a, const TSnapViewItem& b) { return a.SortKey < b.SortKey; });
    Selected = -1;
    for (size_t i = 0; i < Items.size(); ++i) {
        if (Items[i].Selected) {
            Selected = static_cast<int>(i);
        }
    }
}

std::vector<std::string> CaptionLines(std::string_view text, const TTextMetrics& metrics) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t blank = text.find(' ', pos);
        const size_t end = blank == std::string_view::npos ? text.size() : blank;
        if (end > pos) {
            words.emplace_back(text.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    if (words.empty()) {
        return {};
    }
    int widest = 0;
    for (const std::string& w : words) {
        widest = std::max(widest, metrics.Width(w));
    }
    // A line's width grows by the width of the blank and word added to it; measuring each
    // joined line anew would cost the square of the words on the line.
    std::vector<std::string> lines{words.front()};
    int lineWidth = metrics.Width(words.front());
    for (size_t i = 1; i < words.size(); ++i) {
        const int added = metrics.Width(" " + words[i]);
        if (lineWidth + added < widest) {
            lines.back() += ' ';
            lines.back() += words[i];
            lineWidth += added;
        } else {
            lines.push_back(words[i]);
            lineWidth = metrics.Width(words[i]);
        }
    }
    return lines;
}

void MeasureTile(TSnapViewItem& item, const TTextMetrics& metrics) {
    const std::vector<std::string> lines = CaptionLines(item.CaptionText(), metrics);
    int block = 0;
    for (const std::string& line : lines) {
        block = std::max(block, metrics.Width(line));
    }
    item.Width = std::max(item.MinWidth, block) + 4;
    int height = item.HasImage() ? IconSize : 0;
    height += static_cast<int>(lines.size()) * metrics.LineHeight;
    if (item.HasCounter()) {
        height += metrics.LineHeight;
    }
    item.Height = height + 3;
}

int LayoutTiles(std::vector<TSnapViewItem>& items, int viewWidth) {
    const int limit = viewWidth - 24;
    int x = SnapViewGap, y = SnapViewGap, rowHeight = 0;
    for (TSnapViewItem& item : items) {
        if (x > SnapViewGap && x + item.Width > limit) {
            x = SnapViewGap;
            y += rowHeight + SnapViewGap;
            rowHeight = 0;
        }
        item.X = x;
        item.Y = y;
        x += item.Width + SnapViewGap;
        rowHeight = std::max(rowHeight, item.Height);
    }
    return items.empty() ? 0 : y + rowHeight + SnapViewGap;
}

}  // namespace kx
