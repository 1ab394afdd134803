// Editing a sequence program with the mouse: the block and connection modes, the selected block,
// the outline and rubber band shown while dragging, and where connections and texts are drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sequence/u_ablauf.h"

namespace kx {

/// The text a block shows on its picture: top-left corner and size in points.
struct TBlockLabel {
    std::string Text;
    int32_t X = 0;
    int32_t Y = 0;
    int Size = 8;
};

/// A rectangle on the surface, corners included.
struct TAblaufRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

/// The kind a palette picture stands for: picture indices follow the kinds' order.
TBlockKind KindOfPicture(int pictureIndex);
/// The text drawn on the block, or nothing for blocks that show none.
std::optional<TBlockLabel> BlockLabel(const TBlock& block);
/// The colour block's swatch.
TAblaufRect ColourSwatch(const TBlockFarbe& block);
/// The polyline of a connection from its output to its input.
std::vector<TAblaufPoint> ConnectionRoute(const TCon& connection);

/// The mouse handling of the flowchart surface. Coordinates are program pixels (the surface
/// shows them zoomed). Nothing here draws: the surface asks for the outline and the band.
class TAblaufEditor {
public:
    static constexpr int kBlockMode = 0;
    static constexpr int kConnectionMode = 1;

    explicit TAblaufEditor(TAblauf& program) : m_program(program) {}

    TAblauf& Program() { return m_program; }
    int Mode() const { return m_mode; }
    void SetMode(int mode);
    /// While the program runs the flowchart is shown but not changed.
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);

    /// The block under the last press, while it is still in the program.
    TBlock* Selected() const;
    /// Block mode: the last press; connection mode: the band's end.
    TAblaufPoint Current() const { return m_current; }

    /// A block of the palette's kind dropped at the point (nothing while read-only).
    TBlock* Drop(TBlockKind kind, int32_t x, int32_t y);
    /// A mouse button went down; `left` tells the left button from the others, which select
    /// (for the context menu) but start no drag.
    void Press(int32_t x, int32_t y, bool left = true);
    /// The mouse moved with the left button held.
    void Move(int32_t x, int32_t y);
    /// The button came up: ends a drag, or joins the band's ends; on a refused connection,
    /// the message to show.
    TAblaufResult Release(int32_t x, int32_t y);
    /// A double click at the point: the block there, selected as by the press that began the
    /// double click, whose dialog opens; nullptr on empty surface and while read-only.
    TBlock* DoubleClick(int32_t x, int32_t y);

    /// "Block löschen": the selected block and every connection touching it.
    void DeleteSelectedBlock();
    /// "Verbindung löschen": the connections at the selected block's connector nearest to the
    /// last press.
    void DeleteSelectedConnection();

    /// The dragged block's outline while a block is dragged.
    std::optional<TAblaufRect> Outline() const;
    /// The rubber band (start, end) while a connection is drawn.
    std::optional<std::pair<TAblaufPoint, TAblaufPoint>> Band() const;

private:
    TAblauf& m_program;
    int m_mode = kBlockMode;
    bool m_readOnly = false;
    uint64_t m_selectedId = 0;  ///< by id: a block freed elsewhere is never reached again
    TAblaufPoint m_dragOffset;
    TAblaufPoint m_current;
    TAblaufPoint m_bandStart;
    bool m_dragging = false;
    bool m_banding = false;
};

}  // namespace kx
