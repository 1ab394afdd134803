// Semi-finished parts: a plastic strip kept as the list of work steps that made it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

/// One work step on the strip: 0 cut, 1 drill, 2 slot, 3 countersink, 4 round off, 5 bend.
struct THZModData {
    int32_t Typ = 0;
    double X1 = 0;
    double X2 = 0;
    double D = 0;
    int32_t Mode = 0;
};

/// A semi-finished part of the model, saved as its steps and replayed when loaded.
struct THZData {
    std::string Name;  ///< the part number, "X" and four digits
    std::string Bez;   ///< description
    int32_t Typ = 0;   ///< 0 plastic strip
    std::vector<THZModData> Mods;
};

}  // namespace kx
