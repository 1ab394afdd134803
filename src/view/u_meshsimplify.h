// Fewer triangles for a mesh seen small: edge collapses bounded by how far the surface moves.
#pragma once

#include <span>
#include <vector>

#include "catalogue/u_mesh.h"

namespace kx {

struct TSimplified {
    TMesh Mesh;
    float Deviation = 0;  ///< how far the surface moved at most (mesh units), an estimate
};

/// Collapses edges of the mesh, cheapest first, while the surface stays within `tolerance`
/// (mesh units) of the given one and no face turns over. Corners keep the positions and
/// normals the given mesh has there, so smooth and sharp edges shade as before. A textured
/// mesh, or one with nothing to collapse, comes back as it was.
TSimplified SimplifyMesh(const TMesh& mesh, float tolerance);
/// The same for rising tolerances at once, each step going on from the one before.
std::vector<TSimplified> SimplifyMesh(const TMesh& mesh, std::span<const float> tolerances);

/// The largest distance between the surfaces of two meshes, measured from the corners and
/// triangle centres of each to the triangles of the other.
float MeshDeviation(const TMesh& a, const TMesh& b);

}  // namespace kx
