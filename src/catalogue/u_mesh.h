// A part's triangle mesh as loaded from its file: shared, immutable, drawn by every part of it.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "foundation/u_vector.h"

namespace kx {

struct TMesh {
    std::vector<TVector3f> Positions;  ///< three per triangle, in file order (mesh units)
    std::vector<TVector3f> Normals;    ///< one per position
    std::vector<std::array<float, 2>> TexCoords;  ///< empty, or one per position

    size_t TriangleCount() const { return Positions.size() / 3; }
};

/// Parts of one definition share one mesh; a part that needs a changed mesh makes a copy.
using TMeshPtr = std::shared_ptr<const TMesh>;

}  // namespace kx
