// The definition generator for the kit's aluminium slot profile in any length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class TPartFiles;

/// The length typed into the generator's input box, in whole millimetres; nothing unless it is
/// a whole number above 0.
std::optional<int32_t> ProfileLength(std::string_view text);

/// The definition of a profile of length L: four grooves round the middle, a pin out of each
/// end, the two end faces as holes, and the four grooves again 7.5 mm inside each end.
std::vector<std::string> ProfileDefinitionLines(int32_t length);

/// Writes the profile's definition as def/<number>.def of the user folder (one already there is
/// replaced) and makes the part files and the definition cache see it. False if it cannot be
/// written.
bool WriteProfileDefinition(TPartFiles& files, std::string_view number, int32_t length);

}  // namespace kx
