// Writes the kit into a program folder: definitions, meshes, normals, icons, print pictures.
#include "kg_output.h"

#include "catalogue/u_defObj.h"
#include "catalogue/u_normals.h"
#include "catalogue/u_stl.h"
#include "foundation/u_text.h"
#include "kg_image.h"
#include "kg_painter.h"

namespace kx::kitgen {

namespace {

constexpr double kRoundingLimit = 0.8;  // the rounding tool's default limit

}  // namespace

TMesh StoredMesh(const TKitPart& part, bool hires) {
    const TGeo& drawn = hires ? part.Hires : part.Lores;
    return ToMesh(Transformed(
        drawn, TXform::Translate(-part.Def.OffsetX, -part.Def.OffsetY, -part.Def.OffsetZ)));
}

std::map<std::string, std::string> KitDataFiles(const std::vector<TKitPart>& kit) {
    std::map<std::string, std::string> files;
    for (const TKitPart& part : kit) {
        const std::string& n = part.Def.Number;
        files["def/" + n + ".def"] = DefinitionBytes(part.Def);
        for (bool hires : {true, false}) {
            const std::string folder = hires ? "hires/" : "lores/";
            const TMesh mesh = StoredMesh(part, hires);
            files[folder + n + ".stl"] = EncodeBinaryStl(
                mesh, "Korvex designer kit part " + n + (hires ? " hires" : " lores"));
            if (part.Rounded) {
                files[folder + n + ".nrm"] = EncodeNormals(SmoothNormals(mesh, kRoundingLimit));
            }
        }
        for (const std::string& texture : part.TextureFiles) {
            files["icon/" + texture] = EncodeBmp24(BrickTexture(64));
        }
    }
    return files;
}

std::map<std::string, std::string> KitFiles(const std::vector<TKitPart>& kit) {
    auto files = KitDataFiles(kit);
    TSoftwarePartPainter painter;
    files.merge(KitPictures(kit, painter));
    return files;
}

bool WriteKitFiles(const std::map<std::string, std::string>& files,
                   const std::filesystem::path& dir, std::string* error) {
    for (const auto& [name, bytes] : files) {
        const std::filesystem::path path = dir / name;
        if (const auto old = ReadFileBytes(path); old && *old == bytes) {
            continue;
        }
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::string why;
        if (!WriteFileAtomic(path, bytes, &why)) {
            if (error) {
                *error = path.string() + ": " + why;
            }
            return false;
        }
    }
    return true;
}

std::string KitManifest(const std::map<std::string, std::string>& files) {
    std::string manifest;
    for (const auto& [name, bytes] : files) {
        manifest += name + "\n";
    }
    return manifest;
}

size_t RemoveStaleKitFiles(const std::filesystem::path& dir, std::string_view previousManifest,
                           const std::map<std::string, std::string>& files) {
    size_t removed = 0;
    for (const std::string& name : SplitLines(previousManifest)) {
        const bool ours = (name.starts_with("def/") || name.starts_with("hires/") ||
                           name.starts_with("lores/") || name.starts_with("icon/")) &&
                          name.find("..") == std::string::npos;
        if (!ours || files.count(name)) {
            continue;
        }
        std::error_code ec;
        removed += std::filesystem::remove(dir / name, ec) ? 1 : 0;
    }
    return removed;
}

}  // namespace kx::kitgen
