// Building a placed part's scene object: mesh, normals, offset, materials, texture, arrows.
#include "model/u_partobject.h"

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "model/u_placeholder.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

constexpr TColor3f kArrowKind0{1, 1, 0};  // yellow
constexpr TColor3f kArrowOther{0, 0, 1};  // blue

}  // namespace

TMeshPtr TBasicPartObjectBuilder::PreparedMesh(const TMeshPtr& base, const TDefObj& def,
                                               const TVector3f& offset) {
    const bool textured = !def.Texture.empty();
    if (!base || (offset == TVector3f{0, 0, 0} && !textured)) {
        return base;
    }
    const TKey key{base.get(),  offset.X,     offset.Y,   offset.Z,  textured,
                   def.TxWidth, def.TxHeight, def.TxOfsX, def.TxOfsY};
    TPrepared& slot = m_prepared[key];
    if (TMeshPtr shared = slot.Mesh.lock()) {
        return shared;
    }
    auto mesh = std::make_shared<TMesh>(*base);
    for (TVector3f& p : mesh->Positions) {
        p += offset;
    }
    if (textured) {
        // Texture coordinates follow the shifted mesh.
        mesh->TexCoords.clear();
        mesh->TexCoords.reserve(mesh->Positions.size());
        for (const TVector3f& p : mesh->Positions) {
            mesh->TexCoords.push_back(def.TexCoord(p.X, p.Y));
        }
    }
    TMeshPtr result = std::move(mesh);
    slot.Base = base;
    slot.Mesh = result;
    return result;
}

TFreeForm& TBasicPartObjectBuilder::Build(TDummyCube& partsRoot, TMaterialLibrary& library,
                                          const TPartFiles& files, TffCache& meshes,
                                          std::string_view meshDir, const TDefObj& def,
                                          const TPartObjectRequest& request) {
    TFreeForm& obj = partsRoot.AddNewChild<TFreeForm>(request.Name);
    obj.SetVisible(request.Visible);
    obj.SetShowAxes(false);

    TMeshPtr mesh;
    try {
        mesh = meshes.LoadPartMesh(files, meshDir, def.Number);
    } catch (const TMeshLoadError&) {
        // A part whose mesh cannot be read stays visible as a stand-in, below.
    }
    if (!mesh) {
        mesh = PlaceholderMesh();
    }
    obj.SetMesh(PreparedMesh(mesh, def, request.Offset));
    // A stand-in box stays a box from afar too.
    if (meshDir != "lores" && mesh != PlaceholderMesh()) {
        if (const TMeshPtr coarse = meshes.LoadCoarseMesh(files, def.Number)) {
            obj.SetCoarseMesh(PreparedMesh(coarse, def, request.Offset));
        }
    }
    obj.SetPosition({0, 0, 0});
    obj.SetDirection(partsRoot.Direction());
    obj.SetScale(0.1f);

    const TColor3f own = ColorFromWin(request.OwnColor);
    const auto alpha = static_cast<float>(request.Alpha);
    TMaterial& m = obj.Material();
    m.SetEmission({0, 0, 0});
    m.SetDiffuse({own.R, own.G, own.B, alpha});
    m.SetBlending(TBlendingMode::Transparent);
    m.SetPolygonMode(request.PolygonMode);

    const TColor3f colour = ColorFromWin(request.Color);
    TMaterialPtr lib = library.Add(TMaterialLibrary::PartMaterialName(request.Name));
    lib->SetEmission({0, 0, 0});
    lib->SetDiffuse({colour.R, colour.G, colour.B, alpha});
    lib->SetBlending(TBlendingMode::Transparent);
    if (request.OutlineShader) {
        TOutLineShader shader;
        shader.LineWidth = static_cast<float>(request.OutlineWidth);
        shader.Lighting = true;
        shader.BackgroundColor = colour;
        lib->SetShader(shader);
        lib->SetDiffuseAlpha(1);
    }
    obj.LinkLibMaterial(lib);

    if (!def.Texture.empty()) {
        if (const auto image = files.Find("icon", def.Texture)) {
            lib->SetTextureFile(image->string());
            lib->SetTextureTopLeftTransparent(def.TxAlpha > 0);
            if (request.Rebuild) {
                m.SetTextureFile(image->string());
                m.SetTextureTopLeftTransparent(def.TxAlpha > 0);
            }
        }
    }

    for (const TConn& c : def.Conns) {
        TArrowLine& arrow = obj.AddNewChild<TArrowLine>();
        arrow.SetColor(c.Typ == 0 ? kArrowKind0 : kArrowOther);
        arrow.SetPosition({c.X, c.Y, c.Z});
        arrow.SetShape(TArrowLine::kDefaultLength, 4);
        arrow.SetPitchAngle(c.PF);
        arrow.SetRollAngle(c.RF);
        arrow.SetTurnAngle(c.TF);
        arrow.SetVisible(request.ConnectorsVisible);
        arrow.SetShowAxes(request.ArrowAxes);
    }
    return obj;
}

}  // namespace kx
