// The time manager's state: one row per part with keys, its key nodes on a time line, and
// the edits (selecting, dragging, removing keys, applying the moves to the model).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "motion/u_keydata.h"

namespace kx {

class TkxMain;
class TPartFiles;

/// A key on a row's time line: its frame, whether it is the selected one (drawn yellow, else
/// blue), and which key of the part's list it stands for.
struct TKeyNode {
    int32_t Frame = 0;
    bool Selected = false;
    size_t Index = 0;
};

/// The state of one time-line row (TKeyEdit): what it draws and how the mouse moves its keys.
class TKeyRow {
public:
    static constexpr int kAxisLeft = 80;  ///< x of the first visible frame
    static constexpr int kHeight = 64;

    std::string ObjName;
    std::string BmpFilename;  ///< empty: no icon
    int SelIndex = -1;        ///< selected node, -1 for none
    int Zoom = 10;            ///< pixels per frame
    int Offset = 1;           ///< first visible frame
    int Position = -1;        ///< current frame marker, -1 for none
    std::string Text;         ///< the selected key's frame, shown under the axis
    std::vector<TKeyNode> Nodes;

    /// One node per key, in list order; nothing selected.
    void SetKeys(const std::vector<TKeyData>& keys);
    /// Frames that fit into a row of that width.
    int VisibleFrames(int width) const;
    int FrameX(int32_t frame) const { return kAxisLeft + (frame - Offset) * Zoom; }
    bool NodeVisible(const TKeyNode& node, int width) const;
    /// Left press at x: the visible node nearest to x becomes the selected one. False when
    /// no node is visible.
    bool Press(int x, int width);
    /// Drag with the left button at x: the selected node moves to the frame under x (only
    /// right of the axis start). True when a node moved.
    bool Drag(int x);
};

/// The time manager over a model: its rows, zoom and scrolling, "Key entfernen" and the
/// apply of btnBack. Closing without Apply discards the moves.
class TZeitManager {
public:
    /// One row for each part with at least one key, in parts-list order; position is the
    /// time slider's frame. Icons are looked up when the part's definition exists.
    TZeitManager(TkxMain& model, const TPartFiles& files, int32_t position);

    std::vector<TKeyRow>& Rows() { return m_rows; }
    const std::vector<TKeyRow>& Rows() const { return m_rows; }

    void ZoomIn();
    /// Not below one pixel per frame.
    void ZoomOut();
    /// The scroll bar's position: every row starts at frame position + 1.
    void Scroll(int position);
    /// "Key entfernen" on a row: its selected key leaves the part's list at once, and the row
    /// shows the remaining keys. False when the row has no selected key or its part is gone.
    bool RemoveSelectedKey(size_t row);
    /// btnBack: every node's frame becomes its key's time, for the rows whose part still
    /// exists (and whose key is still there).
    void Apply();

private:
    TkxMain& m_model;
    std::vector<TKeyRow> m_rows;
};

}  // namespace kx
