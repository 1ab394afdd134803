// Joystick 1 for sequence programs: the port a platform joystick implements, and the reader
// that turns its raw positions into the smoothed deflections the joystick blocks test.
#pragma once

#include <array>
#include <cstdint>

#include "sequence/u_ablaufrun.h"

namespace kx {

/// One look at the joystick: raw axis positions with the range each axis reports, and the
/// buttons (bit 0 = button 1).
struct TJoystickSample {
    bool Present = false;  ///< false: no joystick, or the platform's interface failed
    int32_t X = 0;
    int32_t Y = 0;
    int32_t XMin = 0;
    int32_t XMax = 0;
    int32_t YMin = 0;
    int32_t YMax = 0;
    uint32_t Buttons = 0;
};

/// The platform's joystick, polled on the main thread.
class TJoystickPort {
public:
    virtual ~TJoystickPort() = default;
    /// The current state; notices a joystick plugged in or pulled out since the last call.
    virtual TJoystickSample Poll() = 0;
};

/// Deflection of a position in percent of the axis' half range, from its centre, to the
/// nearest integer and within -100 to 100; 0 for a range of no width.
int32_t JoystickDeflection(int64_t position, int32_t minimum, int32_t maximum);

/// Feeds polled samples into the program's joystick state the way the capture of joystick 1
/// reported them: a movement counts once it exceeds the threshold (1000 of a range 65535 wide,
/// scaled to the axis' range); each axis position is the least-squares line through the last
/// five samples, taken at the newest; the first sample fills all five. After a movement the
/// samples go on being taken until the five agree, so a stick held still reports where it is
/// held.
class TJoystickReader {
public:
    explicit TJoystickReader(TJoystickState& state) : m_state(state) {}
    void Feed(const TJoystickSample& sample);

private:
    TJoystickState& m_state;
    bool m_primed = false;
    std::array<int32_t, 5> m_x{};
    std::array<int32_t, 5> m_y{};
    int32_t m_lastX = 0;
    int32_t m_lastY = 0;
    uint32_t m_buttons = 0;
};

}  // namespace kx
