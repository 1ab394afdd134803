// Fewer triangles for a mesh seen small: edge collapses bounded by how far the surface moves.
#include "view/u_meshsimplify.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <queue>
#include <unordered_map>
#include <vector>

namespace kx {

namespace {

// Sum of squared distances to a set of planes, as a symmetric 4x4 matrix (upper triangle).
struct TQuadric {
    std::array<double, 10> A{};

    void AddPlane(const TVector3f& n, double d, double weight = 1) {
        const double v[4] = {n.X, n.Y, n.Z, d};
        int k = 0;
        for (int r = 0; r < 4; ++r) {
            for (int c = r; c < 4; ++c) {
                A[size_t(k++)] += weight * v[r] * v[c];
            }
        }
    }
    TQuadric& operator+=(const TQuadric& o) {
        for (size_t k = 0; k < A.size(); ++k) {
            A[k] += o.A[k];
        }
        return *this;
    }
    double Error(const TVector3f& p) const {
        const double x = p.X, y = p.Y, z = p.Z;
        return A[0] * x * x + 2 * A[1] * x * y + 2 * A[2] * x * z + 2 * A[3] * x + A[4] * y * y +
               2 * A[5] * y * z + 2 * A[6] * y + A[7] * z * z + 2 * A[8] * z + A[9];
    }
};

struct TPositionKey {
    uint32_t Bits[3];
    bool operator==(const TPositionKey&) const = default;
};

struct TPositionHash {
    size_t operator()(const TPositionKey& k) const {
        uint64_t h = 1469598103934665603ull;
        for (uint32_t b : k.Bits) {
            h = (h ^ b) * 1099511628211ull;
        }
        return size_t(h);
    }
};

TPositionKey KeyOf(const TVector3f& p) {
    TPositionKey k;
    const float v[3] = {p.X, p.Y, p.Z};
    std::memcpy(k.Bits, v, sizeof k.Bits);
    return k;
}

struct TCollapse {
    double Cost;
    uint32_t From;
    uint32_t To;
    uint32_t FromStamp;
    uint32_t ToStamp;
    bool operator>(const TCollapse& o) const { return Cost > o.Cost; }
};

// The mesh as welded vertices and faces that refer to them, collapsing edges in place.
class TCollapser {
public:
    explicit TCollapser(const TMesh& mesh) {
        std::unordered_map<TPositionKey, uint32_t, TPositionHash> ids;
        const bool hasNormals = mesh.Normals.size() >= mesh.Positions.size();
        for (size_t t = 0; t + 2 < mesh.Positions.size(); t += 3) {
            std::array<uint32_t, 3> face{};
            for (size_t k = 0; k < 3; ++k) {
                const TVector3f& p = mesh.Positions[t + k];
                auto [it, added] = ids.try_emplace(KeyOf(p), uint32_t(m_points.size()));
                if (added) {
                    m_points.push_back(p);
                    m_normals.emplace_back();
                }
                face[k] = it->second;
                if (hasNormals) {
                    auto& list = m_normals[it->second];
                    const TVector3f& n = mesh.Normals[t + k];
                    if (std::find(list.begin(), list.end(), n) == list.end()) {
                        list.push_back(n);
                    }
                }
            }
            if (face[0] != face[1] && face[1] != face[2] && face[0] != face[2]) {
                m_faces.push_back(face);
            }
        }
        m_alive.assign(m_faces.size(), true);
        m_vertexFaces.resize(m_points.size());
        m_quadrics.resize(m_points.size());
        m_stamps.assign(m_points.size(), 0);
        std::unordered_map<uint64_t, int> edgeUse;
        for (uint32_t f = 0; f < m_faces.size(); ++f) {
            const auto& face = m_faces[f];
            const TVector3f n = FaceNormal(face);
            const double d = -double(Dot(n, m_points[face[0]]));
            for (uint32_t v : face) {
                m_vertexFaces[v].push_back(f);
                m_quadrics[v].AddPlane(n, d);
            }
            for (int k = 0; k < 3; ++k) {
                ++edgeUse[EdgeKey(face[size_t(k)], face[size_t((k + 1) % 3)])];
            }
        }
        // An open edge may not wander off sideways: a plane through it, upright on its face.
        for (uint32_t f = 0; f < m_faces.size(); ++f) {
            const auto& face = m_faces[f];
            const TVector3f n = FaceNormal(face);
            for (int k = 0; k < 3; ++k) {
                const uint32_t a = face[size_t(k)], b = face[size_t((k + 1) % 3)];
                if (edgeUse[EdgeKey(a, b)] != 1) {
                    continue;
                }
                const TVector3f side = Normalized(Cross(m_points[b] - m_points[a], n));
                const double d = -double(Dot(side, m_points[a]));
                m_quadrics[a].AddPlane(side, d);
                m_quadrics[b].AddPlane(side, d);
            }
        }
    }

    bool Empty() const { return m_faces.empty(); }

    // Collapses while the cheapest collapse moves the surface by no more than the tolerance;
    // returns the largest movement accepted so far. Called again with a larger tolerance, it
    // goes on from where it stopped.
    float Run(float tolerance) {
        if (!m_started) {
            m_started = true;
            for (uint32_t f = 0; f < m_faces.size(); ++f) {
                for (int k = 0; k < 3; ++k) {
                    const uint32_t a = m_faces[f][size_t(k)], b = m_faces[f][size_t((k + 1) % 3)];
                    if (a < b || !HasEdgeFromOtherFace(a, b, f)) {
                        PushEdge(a, b);
                    }
                }
            }
        }
        const double limit = double(tolerance) * double(tolerance);
        while (!m_heap.empty() && m_heap.top().Cost <= limit) {
            const TCollapse c = m_heap.top();
            m_heap.pop();
            if (m_stamps[c.From] != c.FromStamp || m_stamps[c.To] != c.ToStamp) {
                continue;
            }
            if (!CanCollapse(c.From, c.To)) {
                continue;
            }
            Collapse(c.From, c.To);
            m_worst = std::max(m_worst, c.Cost);
        }
        return float(std::sqrt(m_worst));
    }

    TMesh Result() const {
        TMesh out;
        for (uint32_t f = 0; f < m_faces.size(); ++f) {
            if (!m_alive[f]) {
                continue;
            }
            const TVector3f n = FaceNormal(m_faces[f]);
            for (uint32_t v : m_faces[f]) {
                out.Positions.push_back(m_points[v]);
                out.Normals.push_back(NormalAt(v, n));
            }
        }
        return out;
    }

private:
    std::vector<TVector3f> m_points;
    std::vector<std::vector<TVector3f>> m_normals;  // the given mesh's normals at each point
    std::vector<std::array<uint32_t, 3>> m_faces;
    std::vector<bool> m_alive;
    std::vector<std::vector<uint32_t>> m_vertexFaces;
    std::vector<TQuadric> m_quadrics;
    std::vector<uint32_t> m_stamps;
    std::priority_queue<TCollapse, std::vector<TCollapse>, std::greater<>> m_heap;
    bool m_started = false;
    double m_worst = 0;

    static uint64_t EdgeKey(uint32_t a, uint32_t b) {
        return a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
    }

    TVector3f FaceNormal(const std::array<uint32_t, 3>& f) const {
        return Normalized(Cross(m_points[f[1]] - m_points[f[0]], m_points[f[2]] - m_points[f[0]]));
    }

    // Of the normals the given mesh had at this point, the one nearest the face's own; a
    // point without normals shades flat.
    TVector3f NormalAt(uint32_t v, const TVector3f& face) const {
        TVector3f best = face;
        float bestDot = -2;
        for (const TVector3f& n : m_normals[v]) {
            const float d = Dot(n, face);
            if (d > bestDot) {
                bestDot = d;
                best = n;
            }
        }
        return bestDot > 0 ? best : face;
    }

    // Each edge once: an edge shared by two faces is pushed by the face that has it as a<b or,
    // for a one-sided edge, by its only face.
    bool HasEdgeFromOtherFace(uint32_t a, uint32_t b, uint32_t face) const {
        for (uint32_t f : m_vertexFaces[a]) {
            if (f != face &&
                std::find(m_faces[f].begin(), m_faces[f].end(), b) != m_faces[f].end()) {
                return true;
            }
        }
        return false;
    }

    void PushEdge(uint32_t a, uint32_t b) {
        TQuadric q = m_quadrics[a];
        q += m_quadrics[b];
        // Half-edge collapses: the survivor keeps its place, so corners keep their normals.
        const double toB = q.Error(m_points[b]);
        const double toA = q.Error(m_points[a]);
        if (toB <= toA) {
            m_heap.push({std::max(toB, 0.0), a, b, m_stamps[a], m_stamps[b]});
        } else {
            m_heap.push({std::max(toA, 0.0), b, a, m_stamps[b], m_stamps[a]});
        }
    }

    std::vector<uint32_t> Neighbours(uint32_t v) const {
        std::vector<uint32_t> out;
        for (uint32_t f : m_vertexFaces[v]) {
            for (uint32_t w : m_faces[f]) {
                if (w != v && std::find(out.begin(), out.end(), w) == out.end()) {
                    out.push_back(w);
                }
            }
        }
        return out;
    }

    bool CanCollapse(uint32_t from, uint32_t to) const {
        // Only as many common neighbours as faces on the edge, or the surface would pinch.
        int shared = 0;
        for (uint32_t f : m_vertexFaces[from]) {
            if (std::find(m_faces[f].begin(), m_faces[f].end(), to) != m_faces[f].end()) {
                ++shared;
            }
        }
        if (shared == 0) {
            return false;
        }
        const std::vector<uint32_t> a = Neighbours(from), b = Neighbours(to);
        int common = 0;
        for (uint32_t w : a) {
            common += std::find(b.begin(), b.end(), w) != b.end() ? 1 : 0;
        }
        if (common != shared) {
            return false;
        }
        // No remaining face may turn over or fold to a sliver.
        for (uint32_t f : m_vertexFaces[from]) {
            const auto& face = m_faces[f];
            if (std::find(face.begin(), face.end(), to) != face.end()) {
                continue;
            }
            std::array<TVector3f, 3> p{};
            for (size_t k = 0; k < 3; ++k) {
                p[k] = m_points[face[k] == from ? to : face[k]];
            }
            const TVector3f before = FaceNormal(face);
            const TVector3f after = Cross(p[1] - p[0], p[2] - p[0]);
            const float length = Length(after);
            if (length <= 0 || Dot(before, after) < 0.5f * length) {
                return false;
            }
        }
        return true;
    }

    void Collapse(uint32_t from, uint32_t to) {
        for (uint32_t f : m_vertexFaces[from]) {
            auto& face = m_faces[f];
            if (std::find(face.begin(), face.end(), to) != face.end()) {
                m_alive[f] = false;
                continue;
            }
            std::replace(face.begin(), face.end(), from, to);
            m_vertexFaces[to].push_back(f);
        }
        m_vertexFaces[from].clear();
        std::erase_if(m_vertexFaces[to], [this](uint32_t f) { return !m_alive[f]; });
        m_quadrics[to] += m_quadrics[from];
        ++m_stamps[from];
        ++m_stamps[to];
        for (uint32_t w : Neighbours(to)) {
            PushEdge(to, w);
        }
    }
};

float PointTriangleDistance(const TVector3f& p, const TVector3f& a, const TVector3f& b,
                            const TVector3f& c) {
    // The closest point by the regions of the triangle's plane (Ericson's formulation).
    const TVector3f ab = b - a, ac = c - a, ap = p - a;
    const float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) {
        return Distance(p, a);
    }
    const TVector3f bp = p - b;
    const float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) {
        return Distance(p, b);
    }
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) {
        return Distance(p, a + ab * (d1 / (d1 - d3)));
    }
    const TVector3f cp = p - c;
    const float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) {
        return Distance(p, c);
    }
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) {
        return Distance(p, a + ac * (d2 / (d2 - d6)));
    }
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
        return Distance(p, b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6))));
    }
    const float denom = va + vb + vc;
    if (denom == 0) {
        return std::min({Distance(p, a), Distance(p, b), Distance(p, c)});
    }
    return Distance(p, a + ab * (vb / denom) + ac * (vc / denom));
}

// Largest distance from the corners and centres of `from` to the nearest triangle of `to`.
float OneSidedDeviation(const TMesh& from, const TMesh& to) {
    const auto& q = to.Positions;
    float worst = 0;
    auto measure = [&](const TVector3f& p) {
        float best = INFINITY;
        for (size_t t = 0; t + 2 < q.size() && best > worst; t += 3) {
            best = std::min(best, PointTriangleDistance(p, q[t], q[t + 1], q[t + 2]));
        }
        worst = std::max(worst, best);
    };
    const auto& p = from.Positions;
    for (size_t t = 0; t + 2 < p.size(); t += 3) {
        measure(p[t]);
        measure((p[t] + p[t + 1] + p[t + 2]) / 3);
    }
    return worst;
}

}  // namespace

std::vector<TSimplified> SimplifyMesh(const TMesh& mesh, std::span<const float> tolerances) {
    std::vector<TSimplified> out;
    const bool untouchable = !mesh.TexCoords.empty();
    TCollapser collapser(mesh);
    for (const float tolerance : tolerances) {
        TSimplified& step = out.emplace_back();
        if (untouchable || collapser.Empty() || tolerance <= 0) {
            step.Mesh = mesh;
            continue;
        }
        step.Deviation = collapser.Run(tolerance);
        step.Mesh = collapser.Result();
    }
    return out;
}

TSimplified SimplifyMesh(const TMesh& mesh, float tolerance) {
    return std::move(SimplifyMesh(mesh, std::span<const float>(&tolerance, 1)).front());
}

float MeshDeviation(const TMesh& a, const TMesh& b) {
    if (a.Positions.size() < 3 || b.Positions.size() < 3) {
        return a.Positions.size() < 3 && b.Positions.size() < 3 ? 0.0f : INFINITY;
    }
    return std::max(OneSidedDeviation(a, b), OneSidedDeviation(b, a));
}

}  // namespace kx
