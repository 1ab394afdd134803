// Picking: rays from the camera through a view pixel against the placed parts' meshes, with a
// bounding-volume hierarchy per mesh shared by every part that shows it.
#include "view/u_pick.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

TRay ViewRay(const TSceneCamera& camera, int x, int y, int width, int height) {
    TRay ray;
    ray.Origin = camera.AbsolutePosition();
    ray.Direction = Normalized(camera.ScreenToVector(
        static_cast<float>(x), static_cast<float>(height - y), width, height));
    return ray;
}

void TBox3f::Add(const TVector3f& p) {
    Min = {std::min(Min.X, p.X), std::min(Min.Y, p.Y), std::min(Min.Z, p.Z)};
    Max = {std::max(Max.X, p.X), std::max(Max.Y, p.Y), std::max(Max.Z, p.Z)};
}

void TBox3f::Add(const TBox3f& b) {
    if (!b.Empty()) {
        Add(b.Min);
        Add(b.Max);
    }
}

float TBox3f::Enter(const TVector3f& o, const TVector3f& inv, float tMax) const {
    float t0 = 0;
    float t1 = tMax;
    for (int axis = 0; axis < 3; ++axis) {
        // An axis the ray runs parallel to gives an infinite inverse: inside the slab the
        // products are +-inf and leave the interval alone, outside they empty it.
        float tNear = (Min[axis] - o[axis]) * inv[axis];
        float tFar = (Max[axis] - o[axis]) * inv[axis];
        if (std::isnan(tNear) || std::isnan(tFar)) {
            // 0 * inf: the origin lies on the slab's face; treat it as inside.
            continue;
        }
        if (tNear > tFar) {
            std::swap(tNear, tFar);
        }
        t0 = std::max(t0, tNear);
        t1 = std::min(t1, tFar);
        if (t0 > t1) {
            return -1;
        }
    }
    return t0;
}

namespace {

TVector3f Inverse(const TVector3f& d) {
    auto inv = [](float v) { return v == 0 ? INFINITY : 1 / v; };
    return {inv(d.X), inv(d.Y), inv(d.Z)};
}

constexpr uint32_t kLeafSize = 4;

/// Möller-Trumbore, both faces; the parameter or a negative value.
float IntersectTriangle(const TVector3f& o, const TVector3f& d, const TVector3f& a,
                        const TVector3f& b, const TVector3f& c) {
    const TVector3f e1 = b - a;
    const TVector3f e2 = c - a;
    const TVector3f p = Cross(d, e2);
    const float det = Dot(e1, p);
    if (std::fabs(det) < 1e-12f) {
        return -1;
    }
    const float invDet = 1 / det;
    const TVector3f s = o - a;
    const float u = Dot(s, p) * invDet;
    if (u < 0 || u > 1) {
        return -1;
    }
    const TVector3f q = Cross(s, e1);
    const float v = Dot(d, q) * invDet;
    if (v < 0 || u + v > 1) {
        return -1;
    }
    return Dot(e2, q) * invDet;
}

}  // namespace

TMeshBvh::TMeshBvh(const TMesh& mesh) : m_positions(mesh.Positions) {
    const auto triangles = static_cast<uint32_t>(mesh.TriangleCount());
    m_positions.resize(size_t{triangles} * 3);
    m_order.resize(triangles);
    std::vector<TVector3f> centres(triangles);
    for (uint32_t t = 0; t < triangles; ++t) {
        m_order[t] = t;
        centres[t] = (m_positions[t * 3] + m_positions[t * 3 + 1] + m_positions[t * 3 + 2]) / 3;
    }
    m_nodes.reserve(triangles / 2 + 1);
    m_nodes.emplace_back();
    Build(0, 0, triangles, centres, 0);
}

const TBox3f& TMeshBvh::Bounds() const {
    return m_nodes.front().Box;
}

void TMeshBvh::Build(uint32_t node, uint32_t first, uint32_t count, std::vector<TVector3f>& centres,
                     int depth) {
    TBox3f box;
    TBox3f centreBox;
    for (uint32_t i = first; i < first + count; ++i) {
        const uint32_t t = m_order[i];
        box.Add(m_positions[t * 3]);
        box.Add(m_positions[t * 3 + 1]);
        box.Add(m_positions[t * 3 + 2]);
        centreBox.Add(centres[t]);
    }
    m_nodes[node].Box = box;
    if (count <= kLeafSize || depth > 40) {
        m_nodes[node].First = first;
        m_nodes[node].Count = count;
        return;
    }
    // Split at the middle of the widest extent of the centres; the median when that puts
    // everything on one side.
    const TVector3f extent = centreBox.Max - centreBox.Min;
    const int axis =
        extent.X >= extent.Y && extent.X >= extent.Z ? 0 : (extent.Y >= extent.Z ? 1 : 2);
    const float middle = (centreBox.Min[axis] + centreBox.Max[axis]) / 2;
    auto begin = m_order.begin() + first;
    auto end = begin + count;
    auto split = std::partition(begin, end, [&](uint32_t t) { return centres[t][axis] < middle; });
    if (split == begin || split == end) {
        split = begin + count / 2;
        std::nth_element(begin, split, end, [&](uint32_t a, uint32_t b) {
            return centres[a][axis] < centres[b][axis];
        });
    }
    const auto leftCount = static_cast<uint32_t>(split - begin);
    const auto left = static_cast<uint32_t>(m_nodes.size());
    m_nodes.emplace_back();
    m_nodes.emplace_back();
    m_nodes[node].First = left;
    m_nodes[node].Count = 0;
    Build(left, first, leftCount, centres, depth + 1);
    Build(left + 1, first + leftCount, count - leftCount, centres, depth + 1);
}

std::optional<TMeshHit> TMeshBvh::Nearest(const TVector3f& origin, const TVector3f& direction,
                                          float tMax) const {
    if (m_order.empty()) {
        return std::nullopt;
    }
    const TVector3f inv = Inverse(direction);
    std::optional<TMeshHit> best;
    float bestT = tMax;
    uint32_t stack[96];
    int top = 0;
    if (m_nodes[0].Box.Enter(origin, inv, bestT) < 0) {
        return std::nullopt;
    }
    stack[top++] = 0;
    while (top > 0) {
        const TNode& node = m_nodes[stack[--top]];
        if (node.Count > 0) {
            for (uint32_t i = node.First; i < node.First + node.Count; ++i) {
                const uint32_t t = m_order[i];
                const TVector3f& a = m_positions[t * 3];
                const TVector3f& b = m_positions[t * 3 + 1];
                const TVector3f& c = m_positions[t * 3 + 2];
                const float hit = IntersectTriangle(origin, direction, a, b, c);
                if (hit >= 0 && hit < bestT) {
                    bestT = hit;
                    best = TMeshHit{hit, Cross(b - a, c - a), t};
                }
            }
            continue;
        }
        const uint32_t l = node.First;
        const float tl = m_nodes[l].Box.Enter(origin, inv, bestT);
        const float tr = m_nodes[l + 1].Box.Enter(origin, inv, bestT);
        // The nearer child goes on top, so it is searched first and shortens the ray.
        if (tl >= 0 && tr >= 0) {
            if (tl <= tr) {
                stack[top++] = l + 1;
                stack[top++] = l;
            } else {
                stack[top++] = l;
                stack[top++] = l + 1;
            }
        } else if (tl >= 0) {
            stack[top++] = l;
        } else if (tr >= 0) {
            stack[top++] = l + 1;
        }
    }
    return best;
}

// --- TPicker ----------------------------------------------------------------------------------

TPicker::TPicker() = default;
TPicker::~TPicker() = default;

const TMeshBvh& TPicker::Hierarchy(const TMeshPtr& mesh) {
    // Parts of one definition often follow each other: their mesh was the last one asked for.
    // While the remembered mesh lives, no other mesh can have its address.
    if (mesh.get() == m_lastMesh && m_lastBvh && !m_lastWeak.expired()) {
        return *m_lastBvh;
    }
    TCached& slot = m_cache[mesh.get()];
    // A freed mesh's address can come back for another mesh: the weak pointer tells them apart.
    if (!slot.Bvh || slot.Mesh.lock() != mesh) {
        slot.Mesh = mesh;
        slot.Bvh = std::make_unique<TMeshBvh>(*mesh);
    }
    if (m_cache.size() > m_purgeAt) {
        std::erase_if(m_cache, [&](const auto& entry) {
            return entry.first != mesh.get() && entry.second.Mesh.expired();
        });
        m_purgeAt = std::max<size_t>(64, m_cache.size() * 2);
    }
    TCached& found = m_cache[mesh.get()];
    m_lastMesh = mesh.get();
    m_lastWeak = mesh;
    m_lastBvh = found.Bvh.get();
    return *found.Bvh;
}

std::optional<TPickHit> TPicker::Cast(const TFreeForm& object, const TVector3f& o,
                                      const TVector3f& d, bool mirrored, const TRay& ray) {
    const TMeshPtr& mesh = object.Mesh();
    if (!mesh || mesh->TriangleCount() == 0) {
        return std::nullopt;
    }
    const TMeshBvh& bvh = Hierarchy(mesh);
    if (bvh.Bounds().Enter(o, Inverse(d), 1e30f) < 0) {
        return std::nullopt;
    }
    const std::optional<TMeshHit> hit = bvh.Nearest(o, d);
    if (!hit) {
        return std::nullopt;
    }
    TPickHit result;
    result.Object = const_cast<TFreeForm*>(&object);
    // The local ray is the world ray mapped, so its parameter is the world distance.
    result.Distance = hit->T;
    result.Point = ray.Origin + ray.Direction * hit->T;
    // R . N in world coordinates has the sign of (local R) . n for the local winding normal n,
    // turned over when the object's frame mirrors.
    const float facing = Dot(d, hit->Normal);
    result.FrontFacing = mirrored ? facing > 0 : facing < 0;
    return result;
}

std::optional<TPickHit> TPicker::RayCast(const TFreeForm& object, const TRay& ray) {
    const TMatrix4f world = object.AbsoluteMatrix();
    const TMatrix4f inv = world.Inverse();
    const TVector3f x = world.Column(0), y = world.Column(1), z = world.Column(2);
    const bool mirrored = Dot(Cross(x, y), z) < 0;
    return Cast(object, inv.TransformPoint(ray.Origin), inv.TransformVector(ray.Direction),
                mirrored, ray);
}

void TPicker::Place(TFlatObject& flat, const TMatrix4f& parentWorld) {
    const TFreeForm& ff = *flat.Object;
    flat.World = parentWorld * ff.LocalMatrix();
    flat.TransformVersion = ff.Versions().Transform;
    flat.Inverse = flat.World.Inverse();
    const TMatrix4f& w = flat.World;
    flat.Mirrored = Dot(Cross(w.Column(0), w.Column(1)), w.Column(2)) < 0;
    flat.Box = TBox3f{};
    if (!flat.Mesh) {
        return;
    }
    const TBox3f& local = flat.Mesh->Bounds();
    for (int corner = 0; corner < 8; ++corner) {
        flat.Box.Add(w.TransformPoint({corner & 1 ? local.Max.X : local.Min.X,
                                       corner & 2 ? local.Max.Y : local.Min.Y,
                                       corner & 4 ? local.Max.Z : local.Min.Z}));
    }
}

void TPicker::Collect(const TSceneObject& parent, int parentIndex, const TMatrix4f& parentWorld,
                      bool parentShown, std::vector<TFlatObject>& out) {
    for (const auto& child : parent.Children()) {
        if (child->Kind() != TSceneObjectKind::FreeForm) {
            continue;
        }
        const auto& ff = static_cast<const TFreeForm&>(*child);
        TFlatObject flat;
        flat.Object = &ff;
        flat.Parent = parentIndex;
        flat.Shown = parentShown && ff.Visible();
        const TMeshPtr& mesh = ff.Mesh();
        flat.Mesh = mesh && mesh->TriangleCount() > 0 ? &Hierarchy(mesh) : nullptr;
        Place(flat, parentWorld);
        const auto index = static_cast<int>(out.size());
        out.push_back(flat);
        if (ff.Count() > 0) {
            // A copy: the list grows below and may move its elements.
            const TMatrix4f world = flat.World;
            Collect(ff, index, world, flat.Shown, out);
        }
    }
}

void TPicker::Refresh(const TMatrix4f& rootWorld) {
    // Only frames and visibility changed: the list stays, and only what moved (or lies below
    // what moved) is placed again.
    const bool rootMoved = !(rootWorld == m_flatRootWorld);
    m_flatRootWorld = rootWorld;
    std::vector<char> moved(m_flat.size(), 0);
    for (size_t i = 0; i < m_flat.size(); ++i) {
        TFlatObject& flat = m_flat[i];
        const bool parentMoved =
            flat.Parent < 0 ? rootMoved : moved[static_cast<size_t>(flat.Parent)];
        const bool parentShown = flat.Parent < 0 || m_flat[static_cast<size_t>(flat.Parent)].Shown;
        flat.Shown = parentShown && flat.Object->Visible();
        if (parentMoved || flat.Object->Versions().Transform != flat.TransformVersion) {
            Place(flat,
                  flat.Parent < 0 ? rootWorld : m_flat[static_cast<size_t>(flat.Parent)].World);
            moved[i] = 1;
        }
    }
}

const std::vector<TPicker::TFlatObject>& TPicker::Objects(const TSceneObject& partsRoot) {
    // The scene's counters tell at no cost whether anything was added, removed or reshaped
    // (gather the objects again) or only moved, shown or hidden (place what moved again).
    const TScene* scene = partsRoot.Scene();
    const TMatrix4f rootWorld = partsRoot.AbsoluteMatrix();
    if (scene) {
        const TSceneVersions v = scene->Versions();
        const TFlatKey key{&partsRoot, v.Structure, v.Geometry};
        const std::pair<uint64_t, uint64_t> moves{v.Transform, v.State};
        if (m_flatValid && key == m_flatKey) {
            if (moves != m_flatMoves) {
                Refresh(rootWorld);
                m_flatMoves = moves;
            }
            return m_flat;
        }
        m_flatKey = key;
        m_flatMoves = moves;
    }
    m_flat.clear();
    m_flatRootWorld = rootWorld;
    Collect(partsRoot, -1, rootWorld, true, m_flat);
    m_flatValid = scene != nullptr;
    return m_flat;
}

std::vector<TPickHit> TPicker::PickObjects(const TSceneObject& partsRoot, const TRay& ray) {
    std::vector<TPickHit> hits;
    const TVector3f inv = Inverse(ray.Direction);
    for (const TFlatObject& flat : Objects(partsRoot)) {
        if (!flat.Shown || !flat.Mesh || flat.Box.Enter(ray.Origin, inv, 1e30f) < 0) {
            continue;
        }
        const auto hit = Cast(*flat.Object, flat.Inverse.TransformPoint(ray.Origin),
                              flat.Inverse.TransformVector(ray.Direction), flat.Mirrored, ray);
        if (hit && hit->FrontFacing) {
            hits.push_back(*hit);
        }
    }
    // The list is in walk order, so equal distances keep that order.
    std::stable_sort(hits.begin(), hits.end(),
                     [](const TPickHit& a, const TPickHit& b) { return a.Distance < b.Distance; });
    return hits;
}

TFreeForm* TPicker::PickObject(const TSceneObject& partsRoot, const TRay& ray) {
    const std::vector<TPickHit> hits = PickObjects(partsRoot, ray);
    return hits.empty() ? nullptr : hits.front().Object;
}

}  // namespace kx
