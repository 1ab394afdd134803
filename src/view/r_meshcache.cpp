// GPU copies of meshes: one indexed vertex buffer per shared mesh, uploaded on first use.
#include "view/r_meshcache.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kx {

namespace {

struct TVertex {
    float Data[8];  // position, normal, texture coordinate
    bool operator==(const TVertex& o) const { return std::memcmp(Data, o.Data, sizeof Data) == 0; }
};

struct TVertexHash {
    size_t operator()(const TVertex& v) const {
        uint64_t h = 1469598103934665603ull;
        uint32_t bits[8];
        std::memcpy(bits, v.Data, sizeof bits);
        for (uint32_t b : bits) {
            h = (h ^ b) * 1099511628211ull;
        }
        return size_t(h);
    }
};

constexpr GLsizei kVertexStride = sizeof(TVertex);

}  // namespace

void SetupInstanceAttributes() {
    constexpr GLsizei stride = sizeof(TGlInstance);
    const GLuint attrs[6] = {kAttrRow0,    kAttrRow1,     kAttrRow2,
                             kAttrDiffuse, kAttrEmission, kAttrAmbient};
    for (int i = 0; i < 6; ++i) {
        glEnableVertexAttribArray(attrs[i]);
        glVertexAttribPointer(attrs[i], 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(uintptr_t(i * 4 * sizeof(float))));
        glVertexAttribDivisor(attrs[i], 1);
    }
}

void TGlGpuMesh::BindVertexAttributes() const {
    glBindBuffer(GL_ARRAY_BUFFER, Vertices.Get());
    glEnableVertexAttribArray(kAttrPosition);
    glVertexAttribPointer(kAttrPosition, 3, GL_FLOAT, GL_FALSE, kVertexStride, nullptr);
    glEnableVertexAttribArray(kAttrNormal);
    glVertexAttribPointer(kAttrNormal, 3, GL_FLOAT, GL_FALSE, kVertexStride,
                          reinterpret_cast<const void*>(3 * sizeof(float)));
    glEnableVertexAttribArray(kAttrTexCoord);
    glVertexAttribPointer(kAttrTexCoord, 2, GL_FLOAT, GL_FALSE, kVertexStride,
                          reinterpret_cast<const void*>(6 * sizeof(float)));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Indices.Get());
}

void TGlGpuMesh::DrawInstanced(GLsizei instances) const {
    glDrawElementsInstanced(GL_TRIANGLES, IndexCount, IndexType, nullptr, instances);
}

const TGlGpuMesh* TGlMeshCache::Get(const TMeshPtr& mesh) {
    if (!mesh || mesh->Positions.size() < 3) {
        return nullptr;
    }
    auto it = m_entries.find(mesh.get());
    if (it != m_entries.end()) {
        // The address may belong to a new mesh if the old one was freed in between.
        if (it->second.Owner.lock() == mesh) {
            return it->second.Gpu.get();
        }
        m_entries.erase(it);
    }

    const TMesh& m = *mesh;
    const size_t count = m.TriangleCount() * 3;
    const bool hasNormals = m.Normals.size() >= count;
    const bool hasUv = m.TexCoords.size() >= count;
    std::vector<TVertex> vertices;
    std::vector<uint32_t> indices;
    vertices.reserve(count);
    indices.reserve(count);
    std::unordered_map<TVertex, uint32_t, TVertexHash> seen;
    seen.reserve(count);
    TVector3f lo = m.Positions[0], hi = m.Positions[0];
    for (size_t t = 0; t < count; t += 3) {
        TVector3f faceNormal;
        if (!hasNormals) {
            faceNormal = Normalized(
                Cross(m.Positions[t + 1] - m.Positions[t], m.Positions[t + 2] - m.Positions[t]));
        }
        for (size_t k = t; k < t + 3; ++k) {
            const TVector3f& p = m.Positions[k];
            const TVector3f n = hasNormals ? m.Normals[k] : faceNormal;
            TVertex v{{p.X, p.Y, p.Z, n.X, n.Y, n.Z, hasUv ? m.TexCoords[k][0] : 0.0f,
                       hasUv ? m.TexCoords[k][1] : 0.0f}};
            auto [pos, added] = seen.try_emplace(v, uint32_t(vertices.size()));
            if (added) {
                vertices.push_back(v);
            }
            indices.push_back(pos->second);
            lo = {std::min(lo.X, p.X), std::min(lo.Y, p.Y), std::min(lo.Z, p.Z)};
            hi = {std::max(hi.X, p.X), std::max(hi.Y, p.Y), std::max(hi.Z, p.Z)};
        }
    }

    auto gpu = std::make_unique<TGlGpuMesh>();
    gpu->Center = (lo + hi) * 0.5f;
    gpu->Radius = Length(hi - lo) * 0.5f;
    gpu->HasTexCoords = hasUv;
    gpu->IndexCount = GLsizei(indices.size());
    gpu->Generation = ++m_generation;
    gpu->Vertices = MakeGlBuffer();
    gpu->Indices = MakeGlBuffer();
    gpu->SingleVao = MakeGlVertexArray();
    glBindVertexArray(gpu->SingleVao.Get());
    glBindBuffer(GL_ARRAY_BUFFER, gpu->Vertices.Get());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    gpu->BindVertexAttributes();
    if (vertices.size() <= 0xFFFF) {
        std::vector<uint16_t> small(indices.begin(), indices.end());
        gpu->IndexType = GL_UNSIGNED_SHORT;
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(small.size() * sizeof(uint16_t)),
                     small.data(), GL_STATIC_DRAW);
    } else {
        gpu->IndexType = GL_UNSIGNED_INT;
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)),
                     indices.data(), GL_STATIC_DRAW);
    }
    glBindVertexArray(0);

    auto& entry = m_entries[mesh.get()];
    entry.Owner = mesh;
    entry.Gpu = std::move(gpu);
    return entry.Gpu.get();
}

void TGlMeshCache::Collect() {
    std::erase_if(m_entries, [](const auto& e) { return e.second.Owner.expired(); });
}

}  // namespace kx
