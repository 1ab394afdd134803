// The model written to outside 3D formats: RAW triangles, VRML 1.0, a POV-Ray scene and X3D,
// read from the scene as the view holds it, each part in its own colour.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/u_vector.h"

namespace kx {

class TScene;
class TWaitView;

enum class TExportFormat {
    Raw,        ///< "RAW File Format (*.raw)"
    Vrml,       ///< "VRML File Format (*.wrl)"
    Pov,        ///< "POV-Ray Format (*.pov)"
    X3DShaded,  ///< "Extensible 3D-Format schattiert (*.x3d)"
    X3DFlat,    ///< "Extensible 3D-Format flach (*.x3d)"
};

struct TExportOptions {
    /// POV-Ray's background, a Windows colour value (red in the low byte).
    uint32_t Background = 0xFFFFFF;
    /// POV-Ray lights the scene with radiosity (the render manager's choice).
    bool Radiosity = false;
    /// The program's title in the files' comments.
    std::string Title = "Korvex Designer";
    /// Shows the wait window and moves its bar per child of the parts root (nullptr: none).
    TWaitView* Wait = nullptr;
    /// The wait window's title.
    std::string WaitTitle;
};

struct TModelExportResult {
    bool Ok = false;
    std::string Error;  ///< why it failed (the system's message)
    explicit operator bool() const { return Ok; }
};

/// The extension of the format's files, with its dot, in lower case.
std::string ExportExtension(TExportFormat format);
/// The chosen name with the format's extension appended unless it holds it in any letter case.
std::string ExportFileName(std::string_view chosen, TExportFormat format);

/// Writes the scene's text piece by piece to `sink` (each piece a few hundred kilobytes); the
/// sink returns false to stop. Hose meshes are rebuilt first, so the scene is not const.
bool WriteExport(TScene& scene, TExportFormat format, const TExportOptions& options,
                 const std::function<bool(std::string_view)>& sink);

/// Writes the scene into a file: through a temporary file renamed over the target at the end,
/// so a failed export leaves no half-written file and an older file as it was.
TModelExportResult ExportScene(TScene& scene, TExportFormat format, const TExportOptions& options,
                               const std::filesystem::path& file);

/// The four numbers (axis, angle in radians) of a rotation that turns a viewer at the origin,
/// looking along -Z with +Y up, to look along `direction` with `up` giving the vertical. The
/// axis is never zero, also when up runs along the line of sight.
struct TAxisAngle {
    float X = 0, Y = 1, Z = 0, Angle = 0;
};
TAxisAngle ViewRotation(const TVector3f& direction, const TVector3f& up);

}  // namespace kx
