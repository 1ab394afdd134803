// The live state of the eight motor panels: what the kinematics step reads and what collision
// rules, the panels' buttons and sequence programs switch. Safe to use from any thread.
#pragma once

#include <array>
#include <atomic>

namespace kx {

/// Status and speed of one motor panel. Sequence programs switch motors from their own threads
/// while the kinematics step reads them, so both are atomics.
class TMotorPanelState {
public:
    /// 0 stopped, 1 left, 2 right.
    int Status() const { return m_status.load(std::memory_order_acquire); }
    /// Any value other than 1 or 2 stops the motor.
    void SetStatus(int status) {
        m_status.store(status == 1 || status == 2 ? status : 0, std::memory_order_release);
    }
    /// Left becomes right and right left; a stopped motor stays stopped.
    void Reverse() {
        int current = Status();
        while (current != 0 && !m_status.compare_exchange_weak(current, current == 1 ? 2 : 1,
                                                               std::memory_order_acq_rel)) {
        }
    }
    /// Degrees per kinematics step, 1 to 10.
    int Speed() const { return m_speed.load(std::memory_order_acquire); }
    /// Values above 10 become 10, values below 1 become 1.
    void SetSpeed(int speed) {
        m_speed.store(speed > 10 ? 10 : (speed < 1 ? 1 : speed), std::memory_order_release);
    }

private:
    std::atomic<int> m_status{0};
    std::atomic<int> m_speed{1};
};

/// Panels mot1 ... mot8 as the model sees them, numbered 1 to 8.
class TMotorPanels {
public:
    static constexpr int kCount = 8;
    /// nullptr for a number outside 1 to 8.
    TMotorPanelState* Panel(int number) {
        return number >= 1 && number <= kCount ? &m_panels[static_cast<size_t>(number - 1)]
                                               : nullptr;
    }
    const TMotorPanelState* Panel(int number) const {
        return number >= 1 && number <= kCount ? &m_panels[static_cast<size_t>(number - 1)]
                                               : nullptr;
    }

private:
    std::array<TMotorPanelState, kCount> m_panels;
};

}  // namespace kx
