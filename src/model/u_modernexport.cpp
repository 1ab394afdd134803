// The exchange formats of today's 3D tools, written through Assimp.
#include "model/u_modernexport.h"

#include <assimp/GltfMaterial.h>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <stdlib.h>
#include <assimp/Exporter.hpp>

#include <memory>
#include <system_error>
#include <vector>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "model/u_exportscene.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

struct TFormatRow {
    TModernFormat Format;
    const char* Extension;
    const char* AssimpId;
    double Units;
};

constexpr TFormatRow kFormats[] = {
    {TModernFormat::Stl, "stl", "stlb", kMillimetres},
    {TModernFormat::Gltf, "gltf", "gltf2", kMetres},
    {TModernFormat::Glb, "glb", "glb2", kMetres},
    {TModernFormat::Obj, "obj", "obj", kMillimetres},
    {TModernFormat::Mf3, "3mf", "3mf", kMillimetres},
};

const TFormatRow& Row(TModernFormat format) {
    for (const TFormatRow& row : kFormats) {
        if (row.Format == format) {
            return row;
        }
    }
    return kFormats[0];
}

aiColor4D Ai(const TColor4f& c) {
    return {c.R, c.G, c.B, c.A};
}

std::unique_ptr<aiMaterial> NewMaterial(const TExportMaterial& m) {
    auto material = std::make_unique<aiMaterial>();
    const aiString name(m.Name);
    material->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor4D colour = Ai(m.Colour);
    material->AddProperty(&colour, 1, AI_MATKEY_BASE_COLOR);
    material->AddProperty(&colour, 1, AI_MATKEY_COLOR_DIFFUSE);
    const float opacity = m.Colour.A;
    material->AddProperty(&opacity, 1, AI_MATKEY_OPACITY);
    // Kit parts are plastic: not metal, moderately rough.
    const float metallic = 0;
    const float roughness = 0.5f;
    material->AddProperty(&metallic, 1, AI_MATKEY_METALLIC_FACTOR);
    material->AddProperty(&roughness, 1, AI_MATKEY_ROUGHNESS_FACTOR);
    if (m.Colour.A < 1) {
        const aiString blend("BLEND");
        material->AddProperty(&blend, AI_MATKEY_GLTF_ALPHAMODE);
    }
    return material;
}

// Assimp's scene owns its parts through plain arrays it frees itself in its destructors, so
// they are allocated with new[] and handed over at once. With a matrix the mesh is placed by it
// (for the formats that ignore nodes' placements) and named by the node.
std::unique_ptr<aiMesh> NewMesh(const TExportMesh& m, const std::string& name,
                                const TMatrix4f* place, bool normals) {
    auto mesh = std::make_unique<aiMesh>();
    mesh->mName = aiString(name);
    mesh->mMaterialIndex = static_cast<unsigned>(m.Material);
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    const unsigned count = static_cast<unsigned>(m.Positions.size());
    mesh->mNumVertices = count;
    mesh->mVertices = new aiVector3D[count];
    for (unsigned i = 0; i < count; ++i) {
        const TVector3f p =
            place ? place->TransformVector(m.Positions[i]) + place->Translation() : m.Positions[i];
        mesh->mVertices[i] = {p.X, p.Y, p.Z};
    }
    if (normals) {
        mesh->mNormals = new aiVector3D[count];
        for (unsigned i = 0; i < count; ++i) {
            const TVector3f& v = m.Normals[i];
            const TVector3f n = place ? Normalized(place->TransformVector(v)) : v;
            mesh->mNormals[i] = {n.X, n.Y, n.Z};
        }
    }
    mesh->mNumFaces = count / 3;
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = 3;
        face.mIndices = new unsigned[3]{3 * f, 3 * f + 1, 3 * f + 2};
    }
    return mesh;
}

aiMatrix4x4 Ai(const TMatrix4f& m) {
    return {m(0, 0), m(0, 1), m(0, 2), m(0, 3), m(1, 0), m(1, 1), m(1, 2), m(1, 3),
            m(2, 0), m(2, 1), m(2, 2), m(2, 3), m(3, 0), m(3, 1), m(3, 2), m(3, 3)};
}

/// With flat, one mesh per node with the node's placement applied and identity nodes. Without
/// normals the format takes each facet's from its corners (STL, 3MF).
std::unique_ptr<aiScene> NewScene(const TExportScene& in, bool flat, bool normals) {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("Modell");
    // Every format wants at least one material.
    std::vector<TExportMaterial> materials = in.Materials;
    if (materials.empty()) {
        materials.push_back({"Farbe_FFFFFF", {1, 1, 1, 1}});
    }
    scene->mNumMaterials = static_cast<unsigned>(materials.size());
    scene->mMaterials = new aiMaterial*[scene->mNumMaterials];
    for (size_t i = 0; i < materials.size(); ++i) {
        scene->mMaterials[i] = NewMaterial(materials[i]).release();
    }
    scene->mNumMeshes = static_cast<unsigned>(flat ? in.Nodes.size() : in.Meshes.size());
    scene->mMeshes = new aiMesh*[scene->mNumMeshes];
    for (size_t i = 0; i < scene->mNumMeshes; ++i) {
        scene->mMeshes[i] =
            flat ? NewMesh(in.Meshes[in.Nodes[i].Mesh], in.Nodes[i].Name, &in.Nodes[i].Matrix,
                           normals)
                       .release()
                 : NewMesh(in.Meshes[i], in.Meshes[i].Name, nullptr, normals).release();
    }
    aiNode* root = scene->mRootNode;
    root->mNumChildren = static_cast<unsigned>(in.Nodes.size());
    root->mChildren = new aiNode*[root->mNumChildren];
    for (size_t i = 0; i < in.Nodes.size(); ++i) {
        const TExportNode& n = in.Nodes[i];
        auto* node = new aiNode(n.Name);
        node->mParent = root;
        if (!flat) {
            node->mTransformation = Ai(n.Matrix);
        }
        node->mNumMeshes = 1;
        node->mMeshes = new unsigned[1]{static_cast<unsigned>(flat ? i : n.Mesh)};
        root->mChildren[i] = node;
    }
    return scene;
}

std::string CannotWrite(const fs::path& file, const std::string& why) {
    return Language().GetText("EXPORT", 1, "Die Datei kann nicht geschrieben werden:") + " " +
           file.string() + (why.empty() ? "" : " (" + why + ")");
}

/// Removes the scratch folder however the export ends.
struct TScratchFolder {
    fs::path Path;
    ~TScratchFolder() {
        std::error_code ec;
        if (!Path.empty()) {
            fs::remove_all(Path, ec);
        }
    }
};

/// Assimp writes the main file and any companion (.bin, .mtl) into a scratch folder beside the
/// target under their final names, so that their references to each other hold; then each is
/// renamed into place.
bool ExportThroughScratch(const aiScene& scene, const char* id, const fs::path& file,
                          std::string& error) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::string pattern = (folder / ".kxexport-XXXXXX").string();
    TScratchFolder scratch;
    if (!mkdtemp(pattern.data())) {
        error = CannotWrite(file, std::generic_category().message(errno));
        return false;
    }
    scratch.Path = pattern;
    Assimp::Exporter exporter;
    const fs::path target = scratch.Path / file.filename();
    if (exporter.Export(&scene, id, target.string()) != AI_SUCCESS || !fs::exists(target)) {
        error = CannotWrite(file, exporter.GetErrorString());
        return false;
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(scratch.Path, ec)) {
        fs::rename(entry.path(), folder / entry.path().filename(), ec);
        if (ec) {
            error = CannotWrite(folder / entry.path().filename(), ec.message());
            return false;
        }
    }
    if (ec) {
        error = CannotWrite(file, ec.message());
        return false;
    }
    return true;
}

}  // namespace

bool ModernFormatOf(std::string_view extension, TModernFormat& format) {
    if (!extension.empty() && extension.front() == '.') {
        extension.remove_prefix(1);
    }
    for (const TFormatRow& row : kFormats) {
        if (SameText(extension, row.Extension)) {
            format = row.Format;
            return true;
        }
    }
    return false;
}

double ModernFormatUnits(TModernFormat format) {
    return Row(format).Units;
}

bool WriteModernScene(const TExportScene& scene, TModernFormat format, const fs::path& file,
                      std::string& error) {
    // STL, OBJ and 3MF writers take meshes as they stand, without their nodes' placement.
    const bool glTF = format == TModernFormat::Gltf || format == TModernFormat::Glb;
    const bool normals = format != TModernFormat::Stl && format != TModernFormat::Mf3;
    const std::unique_ptr<aiScene> ai = NewScene(scene, !glTF, normals);
    return ExportThroughScratch(*ai, Row(format).AssimpId, file, error);
}

fs::path PerPartFileName(const fs::path& file, std::string_view part) {
    std::string name = file.stem().string() + "_";
    for (const char c : part) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                           (c >= 'a' && c <= 'z') || c == '_' || c == '-' || c == '.';
        name += plain ? c : '_';
    }
    return file.parent_path() / (name + file.extension().string());
}

bool ExportModern(TkxMain& model, TModernFormat format, const fs::path& file, std::string& error,
                  bool perPart) {
    Stack().Push("tkxmain.ExportModern", file.string());
    const TExportScene scene = CollectExportScene(model, ModernFormatUnits(format));
    if (!perPart) {
        return WriteModernScene(scene, format, file, error);
    }
    for (const TExportNode& node : scene.Nodes) {
        TExportScene one;
        one.Materials = scene.Materials;
        one.Meshes.push_back(scene.Meshes[node.Mesh]);
        one.Nodes.push_back({node.Name, node.Matrix, 0});
        if (!WriteModernScene(one, format, PerPartFileName(file, node.Name), error)) {
            return false;
        }
    }
    return true;
}

}  // namespace kx
