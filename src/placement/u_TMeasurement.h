// A measurement between two placed parts: its anchors, its shifts and the distance it shows.
#pragma once

#include "foundation/u_vector.h"

namespace kx {

class TSceneObject;

/// A dimension between two parts' scene objects. The drawing objects hang below the
/// measurements node and belong to the scene; the record only points at them.
class TMeasurement {
public:
    TMeasurement(TSceneObject* part1, TSceneObject* part2) : Part1(part1), Part2(part2) {}

    TSceneObject* Part1 = nullptr;  ///< not owned
    TSceneObject* Part2 = nullptr;  ///< not owned
    TSceneObject* Root = nullptr;   ///< the drawing, a child of the measurements node

    double BaseLineHeight = 1.0;
    bool Highlighted = false;
    bool Visible = true;
    double Rotation = 0;
    double TextHeight = 0.2;
    double Lift1 = 0, Move1 = 0, Slide1 = 0;
    double Lift2 = 0, Move2 = 0, Slide2 = 0;

    /// Whether either end is on that object.
    bool Refers(const TSceneObject* object) const { return Part1 == object || Part2 == object; }

    /// The anchors from the parts' current poses: each part's position lifted along its up,
    /// moved along its direction and slid along its right axis by the end's shifts.
    TVector3f Anchor1() const;
    TVector3f Anchor2() const;
    /// Distance between the anchors in scene units, as of the last Recompute.
    double Distance() const { return m_distance; }

    /// Follows the parts after one of them moved.
    void Recompute();

private:
    double m_distance = 0;
};

}  // namespace kx
