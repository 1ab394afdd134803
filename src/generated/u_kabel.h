// Cables between two plugs: the six nodes of the cable and the cable being laid, which the
// cable window edits while the model shows it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "foundation/u_vector.h"

namespace kx {

class TPipeEx;

/// Where a plug stands and where it points (scene units; Direction need not be a unit vector).
struct TPlugFrame {
    TVector3f Position;
    TVector3f Direction{0, 0, 1};
    TVector3f Up{0, 1, 0};
};

inline constexpr float kCableStartDistance = 1.0f;  ///< stand-off d when the window opens
inline constexpr float kCableCornerOffset = 0.05f;  ///< e: how far the corners are cut
inline constexpr int kCableTrackMax = 50;           ///< track bar: d = position / 10
inline constexpr uint32_t kCableRedColour = 0x0000FF;
inline constexpr uint32_t kCableGreenColour = 0x008000;
inline constexpr int32_t kCableRedTag = 2;
inline constexpr int32_t kCableGreenTag = 3;

/// Whether a placed part's name belongs to a plug: its definition number (characters 2 to 6)
/// is C0007 or C0008.
bool IsPlugName(std::string_view partName);

/// The cable's nodes: out of plug 1 backwards along its direction by d, straight across to
/// plug 2, and back into it; e cuts the two corners on each side. Two plugs on the same spot
/// give a cable without the cut towards the other plug (there is no "towards").
std::array<TVector3f, 6> CableNodes(const TPlugFrame& plug1, const TPlugFrame& plug2, float d,
                                    float e = kCableCornerOffset);

/// A cable hose between two plugs while its window is open: the window changes colour and
/// stand-off here, and the hose follows at once.
class TCableSession {
public:
    TCableSession(TPipeEx& hose, const TPlugFrame& plug1, const TPlugFrame& plug2);

    TPipeEx& Hose() { return m_hose; }
    const TPlugFrame& Plug1() const { return m_plug1; }
    const TPlugFrame& Plug2() const { return m_plug2; }

    float Distance() const { return m_distance; }
    /// The track bar's position 0-50 (clamped): d = position / 10.
    void SetTrackPosition(int position);
    int TrackPosition() const;

    bool Green() const { return m_green; }
    /// Green: colour 0x008000 and Tag 3; red: 0x0000FF and Tag 2.
    void SetGreen(bool green);

    /// Lays the hose's nodes anew from the plugs and the stand-off.
    void UpdateCable();

private:
    TPipeEx& m_hose;
    TPlugFrame m_plug1;
    TPlugFrame m_plug2;
    float m_distance = kCableStartDistance;
    float m_corner = kCableCornerOffset;
    bool m_green = false;
};

/// The cable window as the model sees it: shown modally on the session; true for OK.
class TCableWindow {
public:
    virtual ~TCableWindow() = default;
    virtual bool Execute(TCableSession& session) = 0;
};

}  // namespace kx
