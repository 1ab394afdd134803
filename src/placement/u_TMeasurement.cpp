// A measurement between two placed parts: anchors and distance.
#include "placement/u_TMeasurement.h"

#include "view/u_sceneobject.h"

namespace kx {

namespace {

TVector3f ShiftedAnchor(const TSceneObject* part, double lift, double move, double slide) {
    if (!part) {
        return {};
    }
    return part->Position() + part->Up() * static_cast<float>(lift) +
           part->Direction() * static_cast<float>(move) + part->Right() * static_cast<float>(slide);
}

}  // namespace

TVector3f TMeasurement::Anchor1() const {
    return ShiftedAnchor(Part1, Lift1, Move1, Slide1);
}

TVector3f TMeasurement::Anchor2() const {
    return ShiftedAnchor(Part2, Lift2, Move2, Slide2);
}

void TMeasurement::Recompute() {
    if (!Part1 || !Part2) {
        return;
    }
    m_distance = kx::Distance(Anchor1(), Anchor2());
}

}  // namespace kx
