// GPU copies of meshes: one indexed vertex buffer per shared mesh, uploaded on first use.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "catalogue/u_mesh.h"
#include "view/r_globject.h"

namespace kx {

/// Vertex attribute locations shared by every program of the renderer.
enum TGlAttribute : GLuint {
    kAttrPosition = 0,
    kAttrNormal = 1,
    kAttrTexCoord = 2,
    kAttrRow0 = 3,  ///< world matrix rows 0..2 (per instance)
    kAttrRow1 = 4,
    kAttrRow2 = 5,
    kAttrDiffuse = 6,   ///< per instance
    kAttrEmission = 7,  ///< per instance
    kAttrAmbient = 8,   ///< per instance
};

/// What one instance carries: 3 rows of the world matrix, diffuse, emission, ambient.
struct TGlInstance {
    float Row[3][4];
    float Diffuse[4];
    float Emission[4];
    float Ambient[4];
};
static_assert(sizeof(TGlInstance) == 24 * sizeof(float));

/// Sets up the per-instance attributes of the bound vertex array from the bound buffer.
void SetupInstanceAttributes();

struct TGlGpuMesh {
    TGlBuffer Vertices;
    TGlBuffer Indices;
    TGlVertexArray SingleVao;  ///< per-instance attributes left disabled: constants per draw
    GLsizei IndexCount = 0;
    GLenum IndexType = GL_UNSIGNED_INT;
    bool HasTexCoords = false;
    TVector3f Center;  ///< bounding sphere in mesh coordinates
    float Radius = 0;
    uint64_t Generation = 0;  ///< new for every upload, so users can tell a replaced mesh

    /// Binds this mesh's vertices and indices into the bound vertex array.
    void BindVertexAttributes() const;
    void DrawInstanced(GLsizei instances) const;
};

class TGlMeshCache {
public:
    /// The GPU copy of the mesh, uploaded on first use; nullptr for an empty mesh.
    const TGlGpuMesh* Get(const TMeshPtr& mesh);
    /// Frees the copies of meshes nobody holds any more.
    void Collect();
    size_t Size() const { return m_entries.size(); }
    /// Number of uploads so far (a test sees whether an unchanged mesh was uploaded again).
    uint64_t Uploads() const { return m_generation; }

private:
    struct TEntry {
        std::weak_ptr<const TMesh> Owner;
        std::unique_ptr<TGlGpuMesh> Gpu;
    };
    std::unordered_map<const TMesh*, TEntry> m_entries;
    uint64_t m_generation = 0;
};

}  // namespace kx
