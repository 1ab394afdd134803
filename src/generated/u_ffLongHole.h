// A length of bar with a milled slot in its middle, its start or end optionally rounded off
// around the nearer slot centre.
#pragma once

#include "generated/u_ffBase.h"

namespace kx {

class TFFLongHole : public TFFBase {
public:
    using TFFBase::TFFBase;

    void BuildMesh() override;

    float Length = 500.0f;     ///< the slot is centred at x = L/2
    float Radius = 2.0f;       ///< half the slot width
    float SlotLength = 10.0f;  ///< distance between the centres of the slot's half circles
    int Steps = 16;            ///< facets per quarter of the slot ends
    bool RoundStart = false;
    bool RoundEnd = false;
    bool StartCap = false;
    bool EndCap = false;
};

}  // namespace kx
