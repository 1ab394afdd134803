// The exchange formats of today's 3D tools, written through Assimp: binary STL for printing,
// glTF 2.0 (text and binary) for the web, Wavefront OBJ with its MTL, and 3MF.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kx {

class TkxMain;
struct TExportScene;

enum class TModernFormat {
    Stl,   ///< binary STL, millimetres, one merged solid
    Gltf,  ///< glTF 2.0 JSON with a .bin beside it, metres
    Glb,   ///< glTF 2.0 binary, metres
    Obj,   ///< Wavefront OBJ and MTL, millimetres, one object per part
    Mf3,   ///< 3MF, millimetres, one object per part
};

/// The format a file name's extension stands for (letter case ignored); false if none.
bool ModernFormatOf(std::string_view extension, TModernFormat& format);
/// Output units per metre of the format (glTF in metres, the rest in millimetres).
double ModernFormatUnits(TModernFormat format);

/// Writes the scene: every file lands complete or not at all, so a failed export leaves files
/// of the same names as they were. False with the reason.
bool WriteModernScene(const TExportScene& scene, TModernFormat format,
                      const std::filesystem::path& file, std::string& error);

/// Exports what the model's view shows. With perPart (STL only) each part and hose goes into
/// a file of its own beside `file`: its stem, "_" and the instance name.
bool ExportModern(TkxMain& model, TModernFormat format, const std::filesystem::path& file,
                  std::string& error, bool perPart = false);

/// The name of one part's file in a per-part export.
std::filesystem::path PerPartFileName(const std::filesystem::path& file, std::string_view part);

}  // namespace kx
