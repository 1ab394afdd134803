// Writes the kit into a program folder: definitions, meshes, normals, icons, print pictures.
#include "kg_output.h"

#include "catalogue/u_defObj.h"
#include "catalogue/u_normals.h"
#include "catalogue/u_stl.h"
#include "foundation/u_text.h"
#include "kg_image.h"

namespace kx::kitgen {

namespace {

constexpr double kRoundingLimit = 0.8;  // the rounding tool's default limit
constexpr TRgb kIconBackground{255, 255, 255};

}  // namespace

TMesh StoredMesh(const TKitPart& part, bool hires) {
    const TGeo& drawn = hires ? part.Hires : part.Lores;
    return ToMesh(Transformed(
        drawn, TXform::Translate(-part.Def.OffsetX, -part.Def.OffsetY, -part.Def.OffsetZ)));
}

std::map<std::string, std::string> KitFiles(const std::vector<TKitPart>& kit) {
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
        const TRgb colour{part.Def.Red, part.Def.Green, part.Def.Blue};
        files["icon/" + n + ".bmp"] =
            EncodeBmp24(RenderPart(part.Hires, colour, part.Def.Alpha, 64, 64, kIconBackground, 4));
        files["icon/print/" + n + ".jpg"] = EncodeJpeg(
            RenderPart(part.Hires, colour, part.Def.Alpha, 200, 200, kIconBackground, 2), 92);
        for (const std::string& texture : part.TextureFiles) {
            files["icon/" + texture] = EncodeBmp24(BrickTexture(64));
        }
    }
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

}  // namespace kx::kitgen
