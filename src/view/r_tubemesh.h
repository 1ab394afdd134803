// The on-screen shape of a hose: a smooth tube, outside and inside, along its centre line.
#pragma once

#include "catalogue/u_mesh.h"
#include "generated/u_tubegeometry.h"

namespace kx {

/// A smooth-shaded tube through the shape's centre line: rings carried along the line
/// without twisting, normals from the centre, the inside drawn too so the open ends look
/// hollow. Empty for fewer than two distinct points.
TMeshPtr MakeTubeDisplayMesh(const TTubeShape& shape);

}  // namespace kx
