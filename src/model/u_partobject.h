// Building a placed part's scene object: mesh, normals, offset, materials, texture, arrows.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "catalogue/u_defObj.h"
#include "catalogue/u_mesh.h"
#include "foundation/u_vector.h"
#include "view/u_material.h"

namespace kx {

class TDummyCube;
class TFreeForm;
class TPartFiles;
class TffCache;

/// What the model wants of a new part object. Adding a part takes colour, alpha and offset
/// from the definition; rebuilding one after an undo takes them from its record.
struct TPartObjectRequest {
    std::string Name;
    TVector3f Offset{0, 0, 0};  ///< mesh shift, mesh units
    uint32_t Color = 0;         ///< library material (what is drawn)
    uint32_t OwnColor = 0;      ///< the object's own material
    double Alpha = 1;
    TPolygonMode PolygonMode = TPolygonMode::Filled;
    bool Visible = true;
    bool ConnectorsVisible = true;
    bool ArrowAxes = true;  ///< connector arrows show their axes
    bool OutlineShader = false;
    int OutlineWidth = 3;
    bool Rebuild = false;  ///< rebuilt from a record (texture also on the own material)
};

/// Makes placed-part objects. The model holds one; another implementation (the renderer's
/// side, a test double) can take its place.
class TPartObjectBuilder {
public:
    virtual ~TPartObjectBuilder() = default;
    /// Makes the object as the last child of partsRoot, at the origin with the root's
    /// direction and scale 0.1, with its library material "MAT" + name in library. A mesh
    /// that cannot be loaded leaves the object without geometry.
    virtual TFreeForm& Build(TDummyCube& partsRoot, TMaterialLibrary& library,
                             const TPartFiles& files, TffCache& meshes, std::string_view meshDir,
                             const TDefObj& def, const TPartObjectRequest& request) = 0;
};

/// The plain builder. Parts of one definition share one mesh; a part whose definition
/// shifts or textures the mesh shares the shifted copy with every other part of the same
/// definition and parameters.
class TBasicPartObjectBuilder : public TPartObjectBuilder {
public:
    TFreeForm& Build(TDummyCube& partsRoot, TMaterialLibrary& library, const TPartFiles& files,
                     TffCache& meshes, std::string_view meshDir, const TDefObj& def,
                     const TPartObjectRequest& request) override;

private:
    TMeshPtr PreparedMesh(const TMeshPtr& base, const TDefObj& def, const TVector3f& offset);

    using TKey = std::tuple<const TMesh*, float, float, float, bool, int, int, int, int>;
    struct TPrepared {
        TMeshPtr Base;  // keeps the key's address from being reused by another mesh
        std::weak_ptr<const TMesh> Mesh;
    };
    std::map<TKey, TPrepared> m_prepared;
};

}  // namespace kx
