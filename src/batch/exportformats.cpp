// The export job's formats: one row per file extension and the writer behind it.
#include "batch/exportformats.h"

#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "model/u_export.h"
#include "model/u_modernexport.h"

namespace kx {

namespace {

TExportFileType Modern(const char* extension, const char* description, bool perPart = false) {
    TExportFileType row;
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

/// The formats the program's own writers make from the scene as the view holds it.
TExportFileType Classic(const char* extension, const char* description, TExportFormat format) {
    TExportFileType row;
    row.Extension = extension;
    row.Description = description;
    row.HasFlat = format == TExportFormat::X3DShaded;
    row.Write = [format](TkxMain& model, const std::filesystem::path& file,
                         const TExportRequest& request, std::string& error) {
        const std::string name = file.string();
        TModelExportResult result;
        switch (format) {
            case TExportFormat::Raw:
                result = model.ExportAsRaw(name);
                break;
            case TExportFormat::Vrml:
                result = model.ExportAsVRML(name);
                break;
            case TExportFormat::Pov:
                result = model.ExportAsPOV(name, request.Background);
                break;
            case TExportFormat::X3DShaded:
            case TExportFormat::X3DFlat:
                result = model.ExportAsX3D(name, request.Flat);
                break;
        }
        if (!result) {
            error = name + ": " + result.Error;
        }
        return static_cast<bool>(result);
    };
    return row;
}

}  // namespace

const std::vector<TExportFileType>& ExportFileTypes() {
    static const std::vector<TExportFileType> formats = {
        Classic("raw", "RAW triangles, one line of nine numbers each", TExportFormat::Raw),
        Classic("wrl", "VRML 1.0", TExportFormat::Vrml),
        Classic("pov", "POV-Ray scene (--background RRGGBB)", TExportFormat::Pov),
        Classic("x3d", "X3D, shaded (--flat: one colour per face)", TExportFormat::X3DShaded),
        Modern("stl", "binary STL in millimetres for 3D printing (--per-part: a file per part)",
               true),
        Modern("gltf", "glTF 2.0 with its .bin, in metres"),
        Modern("glb", "glTF 2.0 binary, in metres"),
        Modern("obj", "Wavefront OBJ with its .mtl, in millimetres"),
        Modern("3mf", "3MF in millimetres"),
    };
    return formats;
}

const TExportFileType* FindExportFileType(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    if (extension.empty()) {
        return nullptr;
    }
    extension.erase(0, 1);
    for (const TExportFileType& format : ExportFileTypes()) {
        if (SameText(format.Extension, extension)) {
            return &format;
        }
    }
    return nullptr;
}

}  // namespace kx
