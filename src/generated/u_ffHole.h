// A length of bar with a drilled hole in its middle, optionally countersunk, its start or end
// optionally rounded off around the hole.
#pragma once

#include "generated/u_ffBase.h"

namespace kx {

class TFFHole : public TFFBase {
public:
    using TFFBase::TFFBase;

    void BuildMesh() override;

    float Length = 500.0f;  ///< the hole's centre is at x = L/2, z = 0
    float Radius = 2.0f;
    int Steps = 15;  ///< facets per quarter of the hole
    bool Countersink = false;
    float CountersinkDepth = 1.0f;  ///< > 0 from the top face, < 0 from the bottom face
    float CountersinkRadius = 3.0f;
    bool RoundStart = false;
    bool RoundEnd = false;
    bool StartCap = false;
    bool EndCap = false;
};

}  // namespace kx
