// Picking: rays from the camera through a view pixel against the placed parts' meshes, with a
// bounding-volume hierarchy per mesh shared by every part that shows it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogue/u_mesh.h"
#include "foundation/u_vector.h"
#include "view/u_matrix.h"

namespace kx {

class TFreeForm;
class TSceneCamera;
class TSceneObject;

/// A ray; Direction is a unit vector.
struct TRay {
    TVector3f Origin;
    TVector3f Direction{0, 0, 1};
};

/// The ray from the camera's absolute position through pixel (x, y) of a view of width x
/// height pixels, y counted downwards from the top edge.
TRay ViewRay(const TSceneCamera& camera, int x, int y, int width, int height);

/// Axis-aligned box; empty while Min > Max.
struct TBox3f {
    TVector3f Min{1e30f, 1e30f, 1e30f};
    TVector3f Max{-1e30f, -1e30f, -1e30f};
    void Add(const TVector3f& p);
    void Add(const TBox3f& b);
    bool Empty() const { return Min.X > Max.X; }
    /// Entry distance of the ray (origin o, inverse direction inv) within [0, tMax], or a
    /// negative value when it misses.
    float Enter(const TVector3f& o, const TVector3f& inv, float tMax) const;
};

/// Where a ray meets a mesh, in the mesh's own coordinates.
struct TMeshHit {
    float T = 0;       ///< ray parameter: origin + T * direction
    TVector3f Normal;  ///< the face's normal by its winding (not normalised)
    uint32_t Triangle = 0;
};

/// Bounding-volume hierarchy over the triangles of one mesh.
class TMeshBvh {
public:
    explicit TMeshBvh(const TMesh& mesh);
    /// The nearest triangle the ray meets, whichever way the triangle faces. The direction
    /// need not be a unit vector; T is measured in its lengths.
    std::optional<TMeshHit> Nearest(const TVector3f& origin, const TVector3f& direction,
                                    float tMax = 1e30f) const;
    const TBox3f& Bounds() const;
    size_t NodeCount() const { return m_nodes.size(); }

private:
    struct TNode {
        TBox3f Box;
        uint32_t First = 0;  // leaf: first triangle in m_order; inner: index of the left child
        uint32_t Count = 0;  // triangles of a leaf, 0 for an inner node (right child = left + 1)
    };
    void Build(uint32_t node, uint32_t first, uint32_t count, std::vector<TVector3f>& centres,
               int depth);

    std::vector<TVector3f> m_positions;
    std::vector<uint32_t> m_order;
    std::vector<TNode> m_nodes;
};

/// One picked object: the nearest point where the ray meets its mesh.
struct TPickHit {
    TFreeForm* Object = nullptr;
    float Distance = 0;        ///< from the ray's origin, world units
    TVector3f Point;           ///< world coordinates
    bool FrontFacing = false;  ///< the face there looks towards the ray's origin
};

/// Picks placed parts. Keeps the hierarchies of the meshes it has met, keyed by mesh, so
/// repeated picks cost only the walk over the objects and a few box tests per object.
class TPicker {
public:
    TPicker();
    ~TPicker();
    TPicker(const TPicker&) = delete;
    TPicker& operator=(const TPicker&) = delete;

    /// Every shown mesh object below partsRoot (its children, and theirs for nested mesh
    /// objects; hidden objects and non-meshes with everything below them skipped) whose
    /// nearest hit faces the ray's origin, nearest first.
    std::vector<TPickHit> PickObjects(const TSceneObject& partsRoot, const TRay& ray);
    /// The first of PickObjects, or nullptr.
    TFreeForm* PickObject(const TSceneObject& partsRoot, const TRay& ray);
    /// The nearest hit of the ray on one object's mesh, whichever way the face looks.
    std::optional<TPickHit> RayCast(const TFreeForm& object, const TRay& ray);

    /// The hierarchy of a mesh, built on first use.
    const TMeshBvh& Hierarchy(const TMeshPtr& mesh);
    size_t CachedMeshes() const { return m_cache.size(); }

private:
    struct TCached {
        std::weak_ptr<const TMesh> Mesh;
        std::unique_ptr<TMeshBvh> Bvh;
    };
    struct TFlatObject {
        const TFreeForm* Object = nullptr;
        const TMeshBvh* Mesh = nullptr;  // nullptr: nothing to hit
        int Parent = -1;                 // index of the mesh object above, -1: the parts root
        bool Shown = true;               // the object and every mesh object above it
        bool Mirrored = false;
        uint32_t TransformVersion = 0;
        TMatrix4f World;
        TMatrix4f Inverse;  // world to the object's own frame
        TBox3f Box;         // world coordinates
    };
    using TFlatKey = std::tuple<const TSceneObject*, uint64_t, uint64_t>;
    /// Every mesh object below partsRoot in walk order (below non-meshes none), with frames,
    /// boxes and whether it is shown.
    const std::vector<TFlatObject>& Objects(const TSceneObject& partsRoot);
    void Collect(const TSceneObject& parent, int parentIndex, const TMatrix4f& parentWorld,
                 bool parentShown, std::vector<TFlatObject>& out);
    void Refresh(const TMatrix4f& rootWorld);
    void Place(TFlatObject& flat, const TMatrix4f& parentWorld);
    std::optional<TPickHit> Cast(const TFreeForm& object, const TVector3f& o, const TVector3f& d,
                                 bool mirrored, const TRay& ray);

    std::unordered_map<const TMesh*, TCached> m_cache;
    size_t m_purgeAt = 64;
    std::vector<TFlatObject> m_flat;
    TFlatKey m_flatKey{};
    std::pair<uint64_t, uint64_t> m_flatMoves{};
    TMatrix4f m_flatRootWorld;
    bool m_flatValid = false;
    const TMesh* m_lastMesh = nullptr;
    std::weak_ptr<const TMesh> m_lastWeak;
    const TMeshBvh* m_lastBvh = nullptr;
};

}  // namespace kx
