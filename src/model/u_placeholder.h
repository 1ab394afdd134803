// The stand-in shape of a placed part whose mesh file is not there.
#pragma once

#include "catalogue/u_mesh.h"

namespace kx {

/// A small box (15 mm, centred on the part's origin) shared by every part drawn without its
/// own mesh, so such a part stays visible and can be picked, moved and deleted.
TMeshPtr PlaceholderMesh();

}  // namespace kx
