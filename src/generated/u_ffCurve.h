// The bend of a bar: a solid wedge turning about one edge of the cross-section.
#pragma once

#include "generated/u_ffBase.h"

namespace kx {

class TFFCurve : public TFFBase {
public:
    using TFFBase::TFFBase;

    void BuildMesh() override;

    int Angle = 0;      ///< degrees; >= 1 bends towards Up, <= 0 away from Up
    int Segments = 20;  ///< facets of the bend
};

}  // namespace kx
