// The drop marker while a library part is dragged over a placed part: which of the placed
// part's connectors would take the dragged part, nearest to the point under the pointer.
#pragma once

#include "catalogue/u_defObj.h"
#include "foundation/u_vector.h"

namespace kx {

class TSceneObject;

struct TDropConnector {
    int Preselected = -1;  ///< 0-based connector index, -1 for none
    TVector3f Position;    ///< the anchor's absolute position
    TVector3f Direction;   ///< the anchor's absolute direction
    TVector3f Up;          ///< the anchor's absolute up vector
};

/// The connector of `part` (definition partDef) whose anchor lies nearest to the hit point
/// and that fits at least one connector of the dragged definition. Only connector arrows
/// count as anchors, and only as many as the definition has connectors.
TDropConnector ChooseDropConnector(const TSceneObject& part, const TDefObj& partDef,
                                   const TVector3f& hit, const TDefObj& dragged);

/// Puts the marker onto the chosen anchor and shows it, or hides it when none was chosen.
void ShowDropMarker(TSceneObject& marker, const TDropConnector& choice);

}  // namespace kx
