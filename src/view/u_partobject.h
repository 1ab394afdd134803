// The scene object of a placed part: its mesh (offset, texture coordinates), its materials and
// its connector arrows, built from what the definition (or the part's record) says.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/u_mesh.h"
#include "view/u_scene.h"

namespace kx {

/// One connector's arrow: where it sits in the part's frame (mesh units), its angles and kind.
struct TPartArrow {
    TVector3f Position;
    float PF = 0, RF = 0, TF = 0;  ///< pitch, roll and turn angles, set in that order
    int32_t Typ = 0;               ///< kind 0 is drawn yellow, every other kind blue
};

/// How a part looks: from its definition when it is added, from its record when it is rebuilt.
struct TPartLook {
    uint32_t Color = 0x505050;  ///< red + 256 green + 65536 blue
    double Alpha = 1;
    TVector3f Offset;         ///< shifts every vertex, mesh units
    std::string TextureFile;  ///< full path of the image; empty: untextured
    bool TextureTopLeftTransparent = false;
    /// Texture coordinate of vertex (x, y) after the offset: ((TxOfsX + x) / TxWidth,
    /// (TxOfsY + y) / TxHeight); a repeat size of 0 counts as 1.
    float TxOfsX = 0, TxOfsY = 0, TxWidth = 1, TxHeight = 1;
    bool DisableShader = false;  ///< no outline shader when the part is added
    std::vector<TPartArrow> Arrows;
};

/// What the model holds that decides how a new part object is drawn.
struct TPartViewState {
    TPolygonMode PolygonMode = TPolygonMode::Filled;
    bool OutlineMode = false;
    float OutlineWidth = 3;        ///< the setting OUTLINEWIDTH
    bool ConnectorsHidden = true;  ///< arrows made invisible
    bool ArrowAxes = true;         ///< arrows show their axes (not after a rebuild)
    bool ForceShader = false;      ///< outline shader whatever DisableShader says (a rebuild)
};

/// Meshes as parts draw them: a definition's mesh shifted by its offset and, when textured,
/// with texture coordinates. Parts with the same mesh, offset and texture mapping share one
/// result, so a model of thousands of parts holds each such mesh once.
class TPartMeshCache {
public:
    /// The base mesh as the look needs it; the base itself when nothing changes it. nullptr
    /// stays nullptr (a part without geometry).
    TMeshPtr Get(const TMeshPtr& base, const TPartLook& look);
    void Clear() { m_meshes.clear(); }
    size_t Count() const { return m_meshes.size(); }

private:
    using TKey = std::tuple<const TMesh*, float, float, float, bool, float, float, float, float>;
    struct TEntry {
        TMeshPtr Base;  // keeps the base alive, so its address cannot be reused under the key
        TMeshPtr Mesh;
    };
    std::map<TKey, TEntry> m_meshes;
};

/// Makes a placed part's object as the last child of partsRoot: named `name`, at the origin
/// with partsRoot's direction, scale 0.1, no axes; its own material and the library material
/// "MAT" + name (replacing one of that name) in the part's colour and alpha, transparent
/// blending, the model's polygon mode on its own material; the outline shader on the library
/// material (alpha 1 then) while the outline mode is on, unless the look disables it; the
/// texture; the mesh from the cache; one arrow child per connector (length 40, 4 sides),
/// in connector order. The part's pose is the caller's to set afterwards.
TFreeForm& AddPartObject(TScene& scene, TSceneObject& partsRoot, std::string name,
                         const TMeshPtr& baseMesh, const TPartLook& look,
                         const TPartViewState& view, TPartMeshCache& meshes);

}  // namespace kx
