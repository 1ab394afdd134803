// Collision rules between two placed parts, as plain records.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace kx {

/// A flag written by the kinematics step and read by sequence programs from their own threads;
/// copies (undo snapshots, the file document) take its current value.
class TSharedFlag {
public:
    TSharedFlag(bool on = false) : m_on(on) {}  // NOLINT: converts like the bool it replaces
    TSharedFlag(const TSharedFlag& other) : m_on(other.Load()) {}
    TSharedFlag& operator=(const TSharedFlag& other) {
        Store(other.Load());
        return *this;
    }
    TSharedFlag& operator=(bool on) {
        Store(on);
        return *this;
    }
    bool Load() const { return m_on.load(std::memory_order_acquire); }
    void Store(bool on) { m_on.store(on, std::memory_order_release); }
    operator bool() const { return Load(); }  // NOLINT

private:
    std::atomic<bool> m_on;
};

/// The action of a rule that switches no motor but offers its state, under the name in
/// Param1, to the sequence programs.
inline constexpr int32_t kCollisionReportOnly = 4;

/// A collision rule: while the two parts are closer (Active) or farther (not Active) than
/// Abstand, the action fires. Parts are named, not referenced.
struct TCollData {
    bool Active = true;
    std::string ObjName1;
    std::string ObjName2;
    float Abstand = 8;   ///< threshold, mm
    int32_t Aktion = 4;  ///< 0-3 act on the motor numbered Param1, 4 names the rule
    std::string Param1;
    TSharedFlag InRange = false;  ///< result of the last kinematics step: Abstand > distance

    bool Uses(const std::string& partName) const {
        return ObjName1 == partName || ObjName2 == partName;
    }
    /// Whether the rule only reports its state by name (Param1) to sequence programs.
    bool ReportsOnly() const { return Aktion == kCollisionReportOnly; }
};

}  // namespace kx
