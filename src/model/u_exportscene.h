// The model as the view shows it, flattened into meshes, colours and placed instances for the
// exchange formats (STL, glTF, OBJ, 3MF): no format's writer walks the scene graph itself.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "foundation/u_vector.h"
#include "view/u_colour.h"
#include "view/u_matrix.h"

namespace kx {

class TkxMain;

struct TExportMaterial {
    std::string Name;
    TColor4f Colour;  ///< alpha below 1: see-through
};

/// Triangles, three positions per triangle, in the output unit, with unit normals.
struct TExportMesh {
    std::string Name;  ///< the definition number, or the hose's name
    std::vector<TVector3f> Positions;
    std::vector<TVector3f> Normals;
    size_t Material = 0;
};

/// One shown part or hose: its instance name and where its mesh stands.
struct TExportNode {
    std::string Name;
    TMatrix4f Matrix;  ///< mesh coordinates to the output's, in the output unit
    size_t Mesh = 0;
};

struct TExportScene {
    std::vector<TExportMaterial> Materials;
    std::vector<TExportMesh> Meshes;  ///< shared by every node of one definition and colour
    std::vector<TExportNode> Nodes;   ///< parts in the parts root's order, then hoses

    size_t TriangleCount() const;
};

/// Output units per metre: 1 for glTF, 1000 for the millimetres of 3D printing.
inline constexpr double kMetres = 1;
inline constexpr double kMillimetres = 1000;

/// Every part and hose the view shows, in its own colour and transparency (never the
/// selection's highlight), Y up. Hoses have their export mesh rebuilt first.
TExportScene CollectExportScene(TkxMain& model, double unitsPerMetre);

}  // namespace kx
