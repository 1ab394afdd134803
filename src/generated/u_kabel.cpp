// Cables between two plugs: the six nodes of the cable and the cable being laid.
#include "generated/u_kabel.h"

#include <algorithm>
#include <cmath>

#include "foundation/u_text.h"
#include "generated/u_pipeex.h"

namespace kx {

namespace {

/// A plug's direction as the scene keeps it: unit length, a zero vector pointing along +Z.
TVector3f UnitDirection(const TVector3f& d) {
    const float len = Length(d);
    return len > 0 && std::isfinite(len) ? d / len : TVector3f{0, 0, 1};
}

}  // namespace

bool IsPlugName(std::string_view partName) {
    if (partName.size() < 6) {
        return false;
    }
    const std::string_view number = partName.substr(1, 5);
    return number == "C0007" || number == "C0008";
}

std::array<TVector3f, 6> CableNodes(const TPlugFrame& plug1, const TPlugFrame& plug2, float d,
                                    float e) {
    const TVector3f& p1 = plug1.Position;
    const TVector3f& p2 = plug2.Position;
    const TVector3f d1 = UnitDirection(plug1.Direction);
    const TVector3f d2 = UnitDirection(plug2.Direction);
    // Plugs on the same spot have no direction between them; a zero vector keeps the nodes
    // finite where a division by the distance would not.
    const TVector3f across = p1 - p2;
    const float distance = Length(across);
    const TVector3f u = distance > 1e-6f ? across / distance : TVector3f{};
    return {p1, p1 - (d - e) * d1, p1 - d * d1 - e * u, p2 - d * d2 + e * u, p2 - (d - e) * d2, p2};
}

TCableSession::TCableSession(TPipeEx& hose, const TPlugFrame& plug1, const TPlugFrame& plug2)
    : m_hose(hose), m_plug1(plug1), m_plug2(plug2) {}

void TCableSession::SetTrackPosition(int position) {
    m_distance = static_cast<float>(std::clamp(position, 0, kCableTrackMax)) / 10.0f;
    UpdateCable();
}

int TCableSession::TrackPosition() const {
    return static_cast<int>(std::lround(m_distance * 10.0f));
}

void TCableSession::SetGreen(bool green) {
    m_green = green;
    const uint32_t colour = green ? kCableGreenColour : kCableRedColour;
    m_hose.SetDisplayColour(colour);
    m_hose.SetColour(colour);
    m_hose.SetTag(green ? kCableGreenTag : kCableRedTag);
}

void TCableSession::UpdateCable() {
    const auto nodes = CableNodes(m_plug1, m_plug2, m_distance, m_corner);
    m_hose.SetNodes(std::vector<TVector3f>(nodes.begin(), nodes.end()));
}

}  // namespace kx
