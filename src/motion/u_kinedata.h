// Kinematic links between two placed parts and the model's eight motors, as plain records.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kx {

/// Kinds of link (`Modus`).
enum : uint8_t {
    kKineRotRot = 0,    ///< ROTROT: gear link
    kKineRotFest = 1,   ///< ROTFEST: rigid link
    kKineRotTrans = 2,  ///< ROTTRANS: rotation/translation link
};

/// Axis codes of a link: 0 PITCHP, 1 TURNP, 2 ROLLP, 3 PITCHN, 4 TURNN, 5 ROLLN.
enum : uint8_t {
    kAxisPitchP = 0,
    kAxisTurnP = 1,
    kAxisRollP = 2,
    kAxisPitchN = 3,
    kAxisTurnN = 4,
    kAxisRollN = 5,
};

/// A kinematic link. The model keeps them in creation order, which the propagation relies
/// on. Parts are named, not referenced, so a link survives the rebuild of every part object.
struct TKineData {
    uint8_t Modus = 0;
    std::string Bauteil1;  ///< the part that was selected when the link was made
    std::string Bauteil2;  ///< a part co-selected with it
    uint8_t Rotation1 = 0;
    uint8_t Rotation2 = 0;
    int32_t Z1 = 0;  ///< tooth counts of gear links
    int32_t Z2 = 0;
    uint8_t RotVisited = 0;
    uint8_t TransVisited = 0;
    float DX = 0;  ///< mm per revolution along the moved part's side, up and direction axes
    float DY = 0;
    float DZ = 0;

    /// Whether the link names the part as first or second part (names compared exactly).
    bool Uses(const std::string& partName) const {
        return Bauteil1 == partName || Bauteil2 == partName;
    }
};

/// One of the model's motors 1-8. While kinematics mode is on, the motor's panel is the
/// authority for speed and status; the record keeps what is saved.
struct TMotorRec {
    int32_t Rotation = 0;  ///< 0 pitch (X axis), 1 roll (Z axis), 2 turn (Y axis)
    int32_t Speed = 1;     ///< degrees per kinematics step, 1-10
    int32_t Status = 0;    ///< 0 stopped, 1 left, 2 right
    std::string PartName;  ///< driven part; empty: unassigned
    int32_t Sound = 0;     ///< kept with the model and written back unchanged
};

inline constexpr int kMotorCount = 8;

/// The eight motors, numbered 1 to 8 through Motor().
class TMotors {
public:
    TMotorRec& Motor(int number) { return m_motors.at(static_cast<size_t>(number - 1)); }
    const TMotorRec& Motor(int number) const {
        return m_motors.at(static_cast<size_t>(number - 1));
    }
    std::array<TMotorRec, kMotorCount>& All() { return m_motors; }
    const std::array<TMotorRec, kMotorCount>& All() const { return m_motors; }
    /// Every motor that drives the part loses it.
    void Unassign(const std::string& partName) {
        for (TMotorRec& m : m_motors) {
            if (m.PartName == partName) {
                m.PartName.clear();
            }
        }
    }
    void UnassignAll() {
        for (TMotorRec& m : m_motors) {
            m.PartName.clear();
        }
    }

private:
    std::array<TMotorRec, kMotorCount> m_motors{};
};

}  // namespace kx
