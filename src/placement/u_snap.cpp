// The drop marker while a library part is dragged over a placed part: which of the placed
// part's connectors would take the dragged part, nearest to the point under the pointer.
#include "placement/u_snap.h"

#include "placement/u_connect.h"
#include "view/u_sceneobjects.h"

namespace kx {

TDropConnector ChooseDropConnector(const TSceneObject& part, const TDefObj& partDef,
                                   const TVector3f& hit, const TDefObj& dragged) {
    TDropConnector best;
    float bestDistance = 100000000;
    int number = 0;
    for (const auto& child : part.Children()) {
        if (child->Kind() != TSceneObjectKind::ArrowLine) {
            continue;
        }
        ++number;
        if (number > partDef.ConnCount()) {
            break;
        }
        const TVector3f p = child->AbsolutePosition();
        const float d = Distance(hit, p);
        if (d < bestDistance && FitsAny(partDef.Conn(number), dragged)) {
            bestDistance = d;
            best.Preselected = number - 1;
            best.Position = p;
            best.Direction = child->AbsoluteDirection();
            best.Up = child->AbsoluteUp();
        }
    }
    return best;
}

void ShowDropMarker(TSceneObject& marker, const TDropConnector& choice) {
    if (choice.Preselected >= 0) {
        marker.SetAbsolutePosition(choice.Position);
        marker.SetAbsoluteDirection(choice.Direction);
        marker.SetAbsoluteUp(choice.Up);
    }
    marker.SetVisible(choice.Preselected >= 0);
}

}  // namespace kx
