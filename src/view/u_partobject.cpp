// Building a placed part's scene object.
#include "view/u_partobject.h"

#include <utility>

namespace kx {

namespace {
float RepeatSize(float v) {
    return v == 0 ? 1.0f : v;
}
}  // namespace

TMeshPtr TPartMeshCache::Get(const TMeshPtr& base, const TPartLook& look) {
    if (!base) {
        return nullptr;
    }
    const bool textured = !look.TextureFile.empty();
    const TVector3f& o = look.Offset;
    if (o == TVector3f{} && !textured) {
        return base;
    }
    const float w = RepeatSize(look.TxWidth);
    const float h = RepeatSize(look.TxHeight);
    TKey key{base.get(),
             o.X,
             o.Y,
             o.Z,
             textured,
             textured ? look.TxOfsX : 0,
             textured ? look.TxOfsY : 0,
             textured ? w : 0,
             textured ? h : 0};
    const auto it = m_meshes.find(key);
    if (it != m_meshes.end()) {
        return it->second.Mesh;
    }
    auto mesh = std::make_shared<TMesh>(*base);
    for (auto& p : mesh->Positions) {
        p += o;
    }
    if (textured) {
        // From the shifted vertices: the texture is laid onto the part as it is drawn.
        mesh->TexCoords.resize(mesh->Positions.size());
        for (size_t i = 0; i < mesh->Positions.size(); ++i) {
            const TVector3f& p = mesh->Positions[i];
            mesh->TexCoords[i] = {(look.TxOfsX + p.X) / w, (look.TxOfsY + p.Y) / h};
        }
    }
    TMeshPtr result = std::move(mesh);
    m_meshes.emplace(key, TEntry{base, result});
    return result;
}

TFreeForm& AddPartObject(TScene& scene, TSceneObject& partsRoot, std::string name,
                         const TMeshPtr& baseMesh, const TPartLook& look,
                         const TPartViewState& view, TPartMeshCache& meshes) {
    auto& part = partsRoot.AddNewChild<TFreeForm>(std::move(name));
    part.SetMesh(meshes.Get(baseMesh, look));
    part.SetVisible(true);
    part.SetPosition({0, 0, 0});
    part.SetDirection(partsRoot.Direction());
    part.SetScale(0.1f);
    part.SetShowAxes(false);

    const TColor3f colour = ColorFromWin(look.Color);
    const auto alpha = static_cast<float>(look.Alpha);
    TMaterial& own = part.Material();
    own.SetEmission({0, 0, 0});
    own.SetDiffuse({colour.R, colour.G, colour.B, alpha});
    own.SetBlending(TBlendingMode::Transparent);
    own.SetPolygonMode(view.PolygonMode);

    TMaterialPtr lib = scene.MaterialLibrary().Add(TMaterialLibrary::PartMaterialName(part.Name()));
    lib->SetDiffuse({colour.R, colour.G, colour.B, alpha});
    lib->SetBlending(TBlendingMode::Transparent);
    if (view.OutlineMode && (view.ForceShader || !look.DisableShader)) {
        TOutLineShader shader;
        shader.LineWidth = view.OutlineWidth;
        shader.Lighting = true;
        lib->SetShader(shader);
        lib->SetDiffuseAlpha(1);
    }
    if (!look.TextureFile.empty()) {
        lib->SetTextureFile(look.TextureFile);
        lib->SetTextureTopLeftTransparent(look.TextureTopLeftTransparent);
    }
    part.LinkLibMaterial(lib);

    for (const TPartArrow& a : look.Arrows) {
        auto& arrow = part.AddNewChild<TArrowLine>();
        arrow.SetColor(a.Typ == 0 ? TColor3f{1, 1, 0} : TColor3f{0, 0, 1});
        arrow.SetPosition(a.Position);
        arrow.SetShape(TArrowLine::kDefaultLength, 4);
        arrow.SetPitchAngle(a.PF);
        arrow.SetRollAngle(a.RF);
        arrow.SetTurnAngle(a.TF);
        arrow.SetVisible(!view.ConnectorsHidden);
        arrow.SetShowAxes(view.ArrowAxes);
    }
    return part;
}

}  // namespace kx
