// The joystick reader: threshold, five-sample smoothing and deflections.
#include "sequence/u_joystick.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kx {

namespace {

/// The movement threshold of the capture, for an axis 65535 wide.
constexpr double kThreshold = 1000;
constexpr double kReferenceRange = 65535;

double Threshold(int32_t minimum, int32_t maximum) {
    return kThreshold * std::abs(double(maximum) - double(minimum)) / kReferenceRange;
}

/// The least-squares straight line through samples 0-4, taken at sample 4.
int64_t Smoothed(const std::array<int32_t, 5>& s) {
    const double value = (-double(s[0]) + double(s[2]) + 2.0 * s[3] + 3.0 * s[4]) / 5.0;
    return std::llround(value);
}

void ShiftIn(std::array<int32_t, 5>& s, int32_t value) {
    std::rotate(s.begin(), s.begin() + 1, s.end());
    s[4] = value;
}

bool Spread(const std::array<int32_t, 5>& s, double threshold) {
    const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    return double(*hi) - double(*lo) > threshold;
}

}  // namespace

int32_t JoystickDeflection(int64_t position, int32_t minimum, int32_t maximum) {
    const double half = (double(maximum) - double(minimum)) / 2;
    if (half == 0) {
        return 0;
    }
    const double centre = (double(minimum) + double(maximum)) / 2;
    const double percent = std::round((double(position) - centre) * 100 / half);
    return static_cast<int32_t>(std::clamp(percent, -100.0, 100.0));
}

void TJoystickReader::Feed(const TJoystickSample& sample) {
    if (!sample.Present) {
        // Pulled out, or never there: the program sees a joystick at rest.
        m_primed = false;
        m_buttons = 0;
        m_state.Reset();
        return;
    }
    const uint32_t buttons = sample.Buttons & 0xF;
    if (buttons != m_buttons) {
        m_buttons = buttons;
        m_state.SetButtons(buttons);
    }
    if (!m_primed) {
        // The first position fills the history. It counts at once: a stick held pushed when
        // polling starts may never move beyond the threshold again.
        m_x.fill(sample.X);
        m_y.fill(sample.Y);
        m_primed = true;
    } else {
        const double tx = Threshold(sample.XMin, sample.XMax);
        const double ty = Threshold(sample.YMin, sample.YMax);
        const bool moved =
            std::abs(double(sample.X) - m_lastX) > tx || std::abs(double(sample.Y) - m_lastY) > ty;
        const bool settling = Spread(m_x, tx) || Spread(m_y, ty);
        if (!moved && !settling) {
            return;
        }
        ShiftIn(m_x, sample.X);
        ShiftIn(m_y, sample.Y);
    }
    m_lastX = sample.X;
    m_lastY = sample.Y;
    m_state.SetDeflection(JoystickDeflection(Smoothed(m_x), sample.XMin, sample.XMax),
                          JoystickDeflection(Smoothed(m_y), sample.YMin, sample.YMax));
}

}  // namespace kx
