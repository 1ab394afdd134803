// The time manager's state: one row per part with keys, its key nodes on a time line, and
// the edits (selecting, dragging, removing keys, applying the moves to the model).
#include "motion/u_zeitmanager.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "catalogue/u_partfiles.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"

namespace kx {

void TKeyRow::SetKeys(const std::vector<TKeyData>& keys) {
    Nodes.clear();
    for (size_t i = 0; i < keys.size(); ++i) {
        Nodes.push_back({keys[i].Time, false, i});
    }
    SelIndex = -1;
    Text.clear();
}

int TKeyRow::VisibleFrames(int width) const {
    return std::max(0, (width - 90) / std::max(1, Zoom));
}

bool TKeyRow::NodeVisible(const TKeyNode& node, int width) const {
    return node.Frame >= Offset && node.Frame < Offset + VisibleFrames(width) + 1;
}

bool TKeyRow::Press(int x, int width) {
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < Nodes.size(); ++i) {
        if (!NodeVisible(Nodes[i], width)) {
            continue;
        }
        const int d = std::abs(FrameX(Nodes[i].Frame) - x);
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    for (TKeyNode& n : Nodes) {
        n.Selected = false;
    }
    SelIndex = best;
    if (best < 0) {
        Text.clear();
        return false;
    }
    Nodes[size_t(best)].Selected = true;
    Text = std::to_string(Nodes[size_t(best)].Frame);
    return true;
}

bool TKeyRow::Drag(int x) {
    if (SelIndex < 0 || size_t(SelIndex) >= Nodes.size() || x < kAxisLeft) {
        return false;
    }
    const int32_t frame = (x - kAxisLeft) / std::max(1, Zoom) + Offset;
    TKeyNode& node = Nodes[size_t(SelIndex)];
    if (node.Frame == frame) {
        return false;
    }
    node.Frame = frame;
    Text = std::to_string(frame);
    return true;
}

TZeitManager::TZeitManager(TkxMain& model, const TPartFiles& files, int32_t position)
    : m_model(model) {
    Stack().Push("TkxMain.ShowZeitManager", position);
    for (const auto& record : model.Parts()) {
        if (record->Keys().empty()) {
            continue;
        }
        TKeyRow row;
        row.ObjName = record->Name();
        const std::string number = record->GetShortName();
        if (files.FindDef(number)) {
            if (const auto icon = files.FindPart("icon", number, "bmp")) {
                row.BmpFilename = icon->string();
            }
        }
        row.Position = position;
        row.SetKeys(record->Keys());
        m_rows.push_back(std::move(row));
    }
}

void TZeitManager::ZoomIn() {
    for (TKeyRow& row : m_rows) {
        ++row.Zoom;
    }
}

void TZeitManager::ZoomOut() {
    for (TKeyRow& row : m_rows) {
        row.Zoom = std::max(1, row.Zoom - 1);
    }
}

void TZeitManager::Scroll(int position) {
    for (TKeyRow& row : m_rows) {
        row.Offset = position + 1;
    }
}

bool TZeitManager::RemoveSelectedKey(size_t index) {
    Stack().Push("TDlgZeitManager.KeyEntfernen", int(index));
    if (index >= m_rows.size()) {
        return false;
    }
    TKeyRow& row = m_rows[index];
    TBauteil* part = m_model.FindBauteil(row.ObjName);
    if (!part || row.SelIndex < 0 || size_t(row.SelIndex) >= row.Nodes.size()) {
        return false;
    }
    const size_t key = row.Nodes[size_t(row.SelIndex)].Index;
    std::vector<TKeyData> keys = part->Keys();
    if (key >= keys.size()) {
        return false;
    }
    keys.erase(keys.begin() + std::ptrdiff_t(key));
    part->SetKeys(keys);
    m_model.MarkModified();
    // Moves not yet applied in this row stay with the keys they belong to.
    std::vector<TKeyNode> nodes = row.Nodes;
    row.SetKeys(keys);
    for (const TKeyNode& old : nodes) {
        if (old.Index == key) {
            continue;
        }
        row.Nodes[old.Index > key ? old.Index - 1 : old.Index].Frame = old.Frame;
    }
    return true;
}

void TZeitManager::Apply() {
    Stack().Push("TDlgZeitManager.btnBackClick");
    bool changed = false;
    for (const TKeyRow& row : m_rows) {
        TBauteil* part = m_model.FindBauteil(row.ObjName);
        if (!part) {
            continue;
        }
        std::vector<TKeyData> keys = part->Keys();
        bool rowChanged = false;
        for (const TKeyNode& node : row.Nodes) {
            if (node.Index < keys.size() && keys[node.Index].Time != node.Frame) {
                keys[node.Index].Time = node.Frame;
                rowChanged = true;
            }
        }
        if (rowChanged) {
            part->SetKeys(std::move(keys));
            changed = true;
        }
    }
    if (changed) {
        m_model.MarkModified();
    }
}

}  // namespace kx
