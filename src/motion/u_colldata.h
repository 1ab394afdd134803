// Collision rules between two placed parts, as plain records.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

/// A collision rule: while the two parts are closer (Active) or farther (not Active) than
/// Abstand, the action fires. Parts are named, not referenced.
struct TCollData {
    bool Active = true;
    std::string ObjName1;
    std::string ObjName2;
    float Abstand = 8;   ///< threshold, mm
    int32_t Aktion = 4;  ///< 0-3 act on the motor numbered Param1, 4 names the rule
    std::string Param1;
    bool InRange = false;  ///< result of the last kinematics step

    bool Uses(const std::string& partName) const {
        return ObjName1 == partName || ObjName2 == partName;
    }
};

}  // namespace kx
