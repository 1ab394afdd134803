// The export job's formats: one row per file extension and the writer behind it.
#include "batch/exportformats.h"

#include "foundation/u_text.h"
#include "model/u_modernexport.h"

namespace kx {

namespace {

TExportFormat Modern(const char* extension, const char* description, bool perPart = false) {
    TExportFormat row;
    row.Extension = extension;
    row.Description = description;
    row.HasPerPart = perPart;
    row.Write = [](TkxMain& model, const std::filesystem::path& file, const TExportRequest& request,
                   std::string& error) {
        TModernFormat format;
        ModernFormatOf(file.extension().string(), format);
        return ExportModern(model, format, file, error, request.PerPart);
    };
    return row;
}

}  // namespace

const std::vector<TExportFormat>& ExportFormats() {
    static const std::vector<TExportFormat> formats = {
        Modern("stl", "binary STL in millimetres for 3D printing (--per-part: a file per part)",
               true),
        Modern("gltf", "glTF 2.0 with its .bin, in metres"),
        Modern("glb", "glTF 2.0 binary, in metres"),
        Modern("obj", "Wavefront OBJ with its .mtl, in millimetres"),
        Modern("3mf", "3MF in millimetres"),
    };
    return formats;
}

const TExportFormat* FindExportFormat(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    if (extension.empty()) {
        return nullptr;
    }
    extension.erase(0, 1);
    for (const TExportFormat& format : ExportFormats()) {
        if (SameText(format.Extension, extension)) {
            return &format;
        }
    }
    return nullptr;
}

}  // namespace kx
