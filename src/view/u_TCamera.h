// A stored camera of the model: a named camera position and the point it looks at.
#pragma once

#include <string>

namespace kx {

struct TCamera {
    double PositionX = 0, PositionY = 1, PositionZ = -10;
    double TargetX = 0, TargetY = 0, TargetZ = 0;
    std::string Name;

    /// Back to the defaults, keeping nothing but the given name.
    void Reset(std::string name) { *this = TCamera{.Name = std::move(name)}; }
};

}  // namespace kx
