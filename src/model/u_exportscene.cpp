// The model as the view shows it, flattened into meshes, colours and placed instances for the
// exchange formats.
#include "model/u_exportscene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "catalogue/u_mesh.h"
#include "generated/u_pipeex.h"
#include "model/MainObj.h"
#include "model/u_TBauteil.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

/// Meshes of kit parts are in millimetres, hoses in scene units of 10 mm.
constexpr double kPartMeshMm = 1;
constexpr double kHoseMeshMm = 10;
constexpr double kSceneUnitMm = 10;

TMatrix4f ScaleMatrix(float s) {
    TMatrix4f m;
    m(0, 0) = m(1, 1) = m(2, 2) = s;
    return m;
}

/// Hidden itself or below a hidden node: the view does not draw it.
bool Shown(const TSceneObject& object) {
    for (const TSceneObject* o = &object; o; o = o->Parent()) {
        if (!o->Visible()) {
            return false;
        }
    }
    return true;
}

TVector3f FaceNormal(const TVector3f& a, const TVector3f& b, const TVector3f& c) {
    const TVector3f n = Cross(b - a, c - a);
    const float len = Length(n);
    return len > 1e-12f ? n * (1 / len) : TVector3f{0, 0, 1};
}

/// A normal the formats accept: of unit length, the face's own where the mesh has none.
TVector3f UnitNormal(const TVector3f& n, const TVector3f& face) {
    const float len = Length(n);
    if (!(len > 1e-6f) || !std::isfinite(len)) {
        return face;
    }
    return n * (1 / len);
}

class TCollector {
public:
    TCollector(TExportScene& out, double unitsPerMetre)
        : m_out(out), m_unitsPerMm(unitsPerMetre / 1000) {}

    size_t Material(const TColor4f& colour) {
        const uint32_t rgb = ColorToWin(colour.Rgb());
        const int alpha = static_cast<int>(std::lround(std::clamp(colour.A, 0.0f, 1.0f) * 255));
        const auto key = std::make_pair(rgb, alpha);
        if (const auto it = m_materials.find(key); it != m_materials.end()) {
            return it->second;
        }
        char name[32];
        std::snprintf(name, sizeof name,
                      alpha < 255 ? "Farbe_%02X%02X%02X_%02X" : "Farbe_%02X%02X%02X", rgb & 0xFF,
                      (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, alpha);
        m_out.Materials.push_back({name, colour});
        return m_materials[key] = m_out.Materials.size() - 1;
    }

    /// The node's matrix: mesh units to scene units by the object's world matrix, then to the
    /// output unit; the mesh itself is scaled to the output unit once.
    TMatrix4f NodeMatrix(const TMatrix4f& world, double meshMm) const {
        return ScaleMatrix(float(kSceneUnitMm * m_unitsPerMm)) * world *
               ScaleMatrix(float(1 / (meshMm * m_unitsPerMm)));
    }

    size_t PartMesh(const TMesh& mesh, const std::string& name, size_t material) {
        const auto key = std::make_pair(&mesh, material);
        if (const auto it = m_meshes.find(key); it != m_meshes.end()) {
            return it->second;
        }
        TExportMesh& out = m_out.Meshes.emplace_back();
        out.Name = name;
        out.Material = material;
        const size_t count = mesh.TriangleCount() * 3;
        const float s = float(kPartMeshMm * m_unitsPerMm);
        const bool normals = mesh.Normals.size() >= count;
        out.Positions.resize(count);
        out.Normals.resize(count);
        for (size_t i = 0; i < count; i += 3) {
            const TVector3f& a = mesh.Positions[i];
            const TVector3f& b = mesh.Positions[i + 1];
            const TVector3f& c = mesh.Positions[i + 2];
            const TVector3f face = FaceNormal(a, b, c);
            for (size_t k = 0; k < 3; ++k) {
                out.Positions[i + k] = mesh.Positions[i + k] * s;
                out.Normals[i + k] = normals ? UnitNormal(mesh.Normals[i + k], face) : face;
            }
        }
        return m_meshes[key] = m_out.Meshes.size() - 1;
    }

    size_t HoseMesh(const TPipeEx& hose, const std::string& name, size_t material) {
        TExportMesh& out = m_out.Meshes.emplace_back();
        out.Name = name;
        out.Material = material;
        const auto& triangles = hose.Triangles();
        const size_t count = triangles.size() / 3 * 3;
        const float s = float(kHoseMeshMm * m_unitsPerMm);
        out.Positions.resize(count);
        out.Normals.resize(count);
        for (size_t i = 0; i < count; i += 3) {
            TVector3f p[3];
            for (size_t k = 0; k < 3; ++k) {
                p[k] = {triangles[i + k].X, triangles[i + k].Y, triangles[i + k].Z};
            }
            const TVector3f face = FaceNormal(p[0], p[1], p[2]);
            for (size_t k = 0; k < 3; ++k) {
                const TPipeVertex& v = triangles[i + k];
                out.Positions[i + k] = p[k] * s;
                out.Normals[i + k] = UnitNormal({v.NX, v.NY, v.NZ}, face);
            }
        }
        return m_out.Meshes.size() - 1;
    }

private:
    TExportScene& m_out;
    double m_unitsPerMm;
    std::map<std::pair<uint32_t, int>, size_t> m_materials;
    std::map<std::pair<const TMesh*, size_t>, size_t> m_meshes;
};

}  // namespace

size_t TExportScene::TriangleCount() const {
    size_t n = 0;
    for (const TExportNode& node : Nodes) {
        n += Meshes[node.Mesh].Positions.size() / 3;
    }
    return n;
}

TExportScene CollectExportScene(TkxMain& model, double unitsPerMetre) {
    TExportScene scene;
    TCollector collector(scene, unitsPerMetre);
    if (const TDummyCube* root = model.Scene().PartsRoot(); root && Shown(*root)) {
        for (const auto& child : root->Children()) {
            if (child->Kind() != TSceneObjectKind::FreeForm || !child->Visible()) {
                continue;
            }
            const auto& part = static_cast<const TFreeForm&>(*child);
            if (!part.Mesh() || part.Mesh()->TriangleCount() == 0) {
                continue;
            }
            // The part's own colour: a selection's highlight is no colour of the model.
            TColor4f colour = part.DrawMaterial().Diffuse();
            if (const TBauteil* record = part.Bauteil()) {
                const TColor3f rgb = ColorFromWin(record->Color());
                colour = {rgb.R, rgb.G, rgb.B, static_cast<float>(record->Alpha())};
            }
            const size_t material = collector.Material(colour);
            const std::string number =
                part.Bauteil() ? part.Bauteil()->GetShortName() : TBauteil::ShortName(part.Name());
            const size_t mesh = collector.PartMesh(*part.Mesh(), number, material);
            scene.Nodes.push_back(
                {part.Name(), collector.NodeMatrix(part.AbsoluteMatrix(), kPartMeshMm), mesh});
        }
    }
    int unnamed = 0;
    for (TPipeEx* hose : model.Hoses()) {
        if (!Shown(*hose)) {
            continue;
        }
        hose->BuildMesh();
        if (hose->Triangles().size() < 3) {
            continue;
        }
        const TColor3f rgb = ColorFromWin(hose->DisplayColour());
        const size_t material = collector.Material({rgb.R, rgb.G, rgb.B, 1});
        const std::string name =
            hose->Name().empty() ? "Schlauch_" + std::to_string(++unnamed) : hose->Name();
        const size_t mesh = collector.HoseMesh(*hose, name, material);
        // The hose's triangles are in the coordinates of the hoses node.
        const TMatrix4f world = hose->Parent() ? hose->Parent()->AbsoluteMatrix() : TMatrix4f{};
        scene.Nodes.push_back({name, collector.NodeMatrix(world, kHoseMeshMm), mesh});
    }
    return scene;
}

}  // namespace kx
