// The model's sequence program: what the model saves of it, and carrying out what its runners
// ask of the moving model.
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_colour.h"
#include "view/u_sceneobjects.h"

namespace kx {

void TkxMain::ConnectAblauf() {
    // Rules are only read while kinematics mode locks their list; their states are atomic.
    m_ablauf.SetCollisionSource([this](const std::string& name, bool previous) {
        return m_kinematik.CollisionState(name, previous);
    });
    m_ablauf.SetOnChanged([this] {
        if (!m_ablaufQuiet) {
            MarkModified();
        }
    });
    m_ablaufRevision = m_ablauf.Revision();
}

std::vector<std::string> TkxMain::AblaufLines() const {
    if (m_ablauf.Revision() == m_ablaufRevision && !SequenceLines.empty()) {
        return SequenceLines;
    }
    return m_ablauf.SaveToList();
}

void TkxMain::TakeAblaufLines(const std::vector<std::string>& lines) {
    const bool quiet = m_ablaufQuiet;
    m_ablaufQuiet = true;
    if (lines.empty()) {
        m_ablauf.Clear();
    } else {
        m_ablauf.LoadFromList(lines);
    }
    m_ablaufQuiet = quiet;
    SequenceLines = lines;
    m_ablaufRevision = m_ablauf.Revision();
}

void TkxMain::ApplyAblaufEffects() {
    for (const TAblaufEffect& e : m_ablauf.TakeEffects()) {
        switch (e.Kind) {
            case TAblaufEffect::TKind::Motor:
                // A motor number outside 1-8 (possible from a file) has no panel to switch.
                if (TMotorPanelState* panel = m_motorPanels.Panel(e.MotorNr)) {
                    panel->SetStatus(e.Status);
                }
                break;
            case TAblaufEffect::TKind::Farbe:
                if (TFreeForm* object = PartObject(e.Bauteil)) {
                    const auto colour = static_cast<uint32_t>(e.Farbe) & 0xFFFFFFu;
                    object->Material().SetDiffuseColor(ColorFromWin(colour));
                    ColorizeLib(*object, colour);
                }
                break;
        }
    }
}

}  // namespace kx
