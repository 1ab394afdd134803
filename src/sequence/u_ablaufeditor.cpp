// Editing a sequence program with the mouse, and the geometry of what the surface draws.
#include "sequence/u_ablaufeditor.h"

#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

/// Grid of block corners, in program pixels.
constexpr int32_t kGrid = 8;
/// How far a connection runs straight out of an output before it turns.
constexpr int32_t kLead = 16;

int32_t Snap(int32_t v) {
    // Truncating division, as everywhere on the surface: -3 snaps to 0, not to -8.
    return v / kGrid * kGrid;
}

}  // namespace

TBlockKind KindOfPicture(int pictureIndex) {
    return pictureIndex >= 0 && pictureIndex < kBlockKindCount
               ? static_cast<TBlockKind>(pictureIndex)
               : TBlockKind::Start;
}

std::optional<TBlockLabel> BlockLabel(const TBlock& block) {
    const int32_t x = block.X;
    const int32_t y = block.Y;
    switch (block.Kind()) {
        case TBlockKind::Motor: {
            const auto& b = static_cast<const TBlockMotor&>(block);
            return TBlockLabel{IntToStr(b.MotorNr), x + 40, y + 24, 14};
        }
        case TBlockKind::Pause: {
            const auto& b = static_cast<const TBlockPause&>(block);
            return TBlockLabel{IntToStr(b.Intervall) + " ms", x + 50, y + 19, 8};
        }
        case TBlockKind::SetVar: {
            const auto& b = static_cast<const TBlockSetVar&>(block);
            return TBlockLabel{"VAR" + IntToStr(b.Variable) + " = " + IntToStr(b.Wert), x + 30,
                               y + 19, 8};
        }
        case TBlockKind::IncVar: {
            const auto& b = static_cast<const TBlockIncVar&>(block);
            const std::string var = "VAR" + IntToStr(b.Variable);
            return TBlockLabel{var + " = " + var + (b.Wert >= 0 ? "+" : "") + IntToStr(b.Wert),
                               x + 30, y + 19, 8};
        }
        case TBlockKind::Farbe: {
            const auto& b = static_cast<const TBlockFarbe&>(block);
            return TBlockLabel{b.Bauteil, x + 30, y + 19, 8};
        }
        default:
            return std::nullopt;
    }
}

TAblaufRect ColourSwatch(const TBlockFarbe& block) {
    return {block.X + 110, block.Y + 19, block.X + 125, block.Y + 31};
}

std::vector<TAblaufPoint> ConnectionRoute(const TCon& c) {
    const TBlock& s = *c.Block1;
    const TBlock& t = *c.Block2;
    const TAblaufPoint from = TAblauf::ConnectorPos(s, c.Conn1);
    const TAblaufPoint to = TAblauf::ConnectorPos(t, c.Conn2);
    const int32_t sx = from.X, sy = from.Y, tx = to.X, ty = to.Y;
    const int32_t mx = sx + (tx - sx) / 2;
    const int32_t my = sy + (ty - sy) / 2;
    const int32_t sourceSide = s.GetConnector(c.Conn1).Side;
    const int32_t targetSide = t.GetConnector(c.Conn2).Side;

    std::vector<TAblaufPoint> route{from};
    const auto to_ = [&route](int32_t x, int32_t y) { route.push_back({x, y}); };
    if (sourceSide == TConnector::SideDown && targetSide == TConnector::SideIn) {
        if (ty < sy) {
            // The input lies above: out below the source, round the target, in from above.
            const int64_t sLeft = s.X, sRight = int64_t(s.X) + s.Width;
            const int64_t tLeft = t.X, tRight = int64_t(t.X) + t.Width;
            to_(sx, sy + kLead);
            if (tLeft >= sRight || tRight < sLeft) {
                to_(mx, sy + kLead);
                to_(mx, ty - kLead);
            } else if (sLeft <= tLeft) {
                const auto around = static_cast<int32_t>(tRight + kLead);
                to_(around, sy + kLead);
                to_(around, ty - kLead);
            } else {
                to_(t.X - kLead, sy + kLead);
                to_(t.X - kLead, ty - kLead);
            }
            to_(tx, ty - kLead);
        } else {
            to_(sx, my);
            to_(tx, my);
        }
    } else if (sourceSide == TConnector::SideRight && targetSide == TConnector::SideIn) {
        if (sy < ty && sx >= tx) {
            to_(sx + kLead, sy);
            to_(sx + kLead, my);
            to_(tx, my);
        } else if (sy < ty) {
            to_(tx, sy);
        } else {
            to_(sx + kLead, sy);
            to_(sx + kLead, ty - kLead);
            to_(tx, ty - kLead);
        }
    }
    route.push_back(to);
    return route;
}

// --- TAblaufEditor ----------------------------------------------------------------------------

void TAblaufEditor::SetMode(int mode) {
    Stack().Push("TFormLLWin.btnBlockClick", mode);
    m_mode = mode == kConnectionMode ? kConnectionMode : kBlockMode;
    m_dragging = false;
    m_banding = false;
}

void TAblaufEditor::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (readOnly) {
        m_dragging = false;
        m_banding = false;
    }
}

TBlock* TAblaufEditor::Selected() const {
    if (m_selectedId == 0) {
        return nullptr;
    }
    for (const auto& b : m_program.Blocks()) {
        if (b->Id() == m_selectedId) {
            return b.get();
        }
    }
    return nullptr;
}

TBlock* TAblaufEditor::Drop(TBlockKind kind, int32_t x, int32_t y) {
    Stack().Push("TFormLLWin.pbDragDrop", static_cast<int>(kind), x, y);
    if (m_readOnly) {
        return nullptr;
    }
    return &m_program.AddBlock(kind, x, y);
}

void TAblaufEditor::Press(int32_t x, int32_t y, bool left) {
    Stack().Push("TFormLLWin.pbMouseDown", x, y);
    TBlock* block = m_program.BlockAt(x, y);
    m_selectedId = block ? block->Id() : 0;
    m_dragging = false;
    m_banding = false;
    if (m_mode == kBlockMode) {
        m_current = {x, y};
        if (block) {
            m_dragOffset = {x - block->X, y - block->Y};
            m_dragging = left && !m_readOnly;
        }
        return;
    }
    m_bandStart = block ? TAblauf::NearestConnectorPos(*block, x, y) : TAblaufPoint{x, y};
    m_current = m_bandStart;
    m_banding = left && !m_readOnly;
}

void TAblaufEditor::Move(int32_t x, int32_t y) {
    if (m_dragging) {
        if (TBlock* block = Selected()) {
            m_program.MoveBlock(*block, Snap(x - m_dragOffset.X), Snap(y - m_dragOffset.Y));
        } else {
            m_dragging = false;
        }
    } else if (m_banding) {
        const TBlock* under = m_program.BlockAt(x, y);
        m_current = under ? TAblauf::NearestConnectorPos(*under, x, y) : TAblaufPoint{x, y};
    }
}

TAblaufResult TAblaufEditor::Release(int32_t x, int32_t y) {
    Stack().Push("TFormLLWin.pbMouseUp", x, y);
    m_dragging = false;
    if (!m_banding) {
        return TAblaufResult::Ok();
    }
    m_banding = false;
    TBlock* source = m_program.BlockAt(m_bandStart.X, m_bandStart.Y);
    TBlock* target = m_program.BlockAt(x, y);
    if (!source || !target) {
        return TAblaufResult::Ok();
    }
    return m_program.Connect(*source, m_bandStart, *target, {x, y});
}

TBlock* TAblaufEditor::DoubleClick(int32_t x, int32_t y) {
    Stack().Push("TFormLLWin.pbDblClick", x, y);
    TBlock* block = m_program.BlockAt(x, y);
    m_selectedId = block ? block->Id() : 0;
    m_dragging = false;
    m_banding = false;
    return m_readOnly ? nullptr : block;
}

void TAblaufEditor::DeleteSelectedBlock() {
    Stack().Push("TFormLLWin.B1Click");
    if (TBlock* block = Selected(); block && !m_readOnly) {
        m_program.DeleteBlock(block);
        m_selectedId = 0;
    }
}

void TAblaufEditor::DeleteSelectedConnection() {
    Stack().Push("TFormLLWin.V1Click");
    if (TBlock* block = Selected(); block && !m_readOnly) {
        m_program.DeleteConnection(*block, m_current);
    }
}

std::optional<TAblaufRect> TAblaufEditor::Outline() const {
    const TBlock* block = m_dragging ? Selected() : nullptr;
    if (!block) {
        return std::nullopt;
    }
    return TAblaufRect{block->X, block->Y, block->X + static_cast<int32_t>(block->Width),
                       block->Y + static_cast<int32_t>(block->Height)};
}

std::optional<std::pair<TAblaufPoint, TAblaufPoint>> TAblaufEditor::Band() const {
    if (!m_banding) {
        return std::nullopt;
    }
    return std::make_pair(m_bandStart, m_current);
}

}  // namespace kx
