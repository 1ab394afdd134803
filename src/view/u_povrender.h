// The render manager's logic: its settings, POV-Ray's command line and its progress as the
// engine reports it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

struct TRenderSettings {
    int Width = 800;
    int Height = 600;
    bool Radiosity = false;
    bool AntiAlias = true;
    int Method = 2;   ///< anti-alias method 1 or 2
    int Quality = 4;  ///< 1 to 9
    /// Windows colour value (red in the low byte): red 0, green 128, blue 192.
    uint32_t Background = 0xC08000;
};

/// "+W800 +H600 +A -J +AM2 +R4 ": size, anti-alias on or off, its method and depth. Radiosity
/// is no option of the engine: the scene file switches it on.
std::string PovRayOptions(const TRenderSettings& settings);

/// The engine's arguments: the options one by one, then +I and +O (no blank after the letter)
/// and -D, so no preview window of the engine's own opens.
std::vector<std::string> PovRayArguments(const TRenderSettings& settings,
                                         const std::string& sceneFile,
                                         const std::string& imageFile);

/// The share of pixels done, 0 to 100, from the last "Rendered n of m pixels" in a piece of
/// the engine's output; nothing when the piece has none.
std::optional<int> PovRayProgress(std::string_view output);

/// The engine named on PATH ("povray"), or a full path; empty when none is found.
std::string FindPovRay(const std::string& path);

}  // namespace kx
