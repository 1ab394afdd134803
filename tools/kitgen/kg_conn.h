// Connector angles of the kit: from a connector's arrow frame to the angles its definition stores.
#pragma once

#include "foundation/u_vector.h"

namespace kx::kitgen {

/// The angles a definition stores for one connector, in degrees.
struct TConnAngles {
    double PF = 0, RF = 0, TF = 0;  ///< the arrow on a placed part
    double PN = 0, RN = 0, TN = 0;  ///< added to this part when it is joined by the connector
};

/// Angles for a connector whose arrow points along dir with its up vector up (both in the
/// part's frame, dir and up at right angles). Pitch, roll and turn work as for every scene
/// object: about Right = Direction x Up, Direction and Up, each counter-clockwise seen from
/// the tip of the axis, applied in that order. The joining angles are chosen so that the
/// joined part's arrow ends up pointing against the fixed connector's arrow with both up
/// vectors the same. Angles near a whole degree are rounded to it.
TConnAngles ConnectorAngles(const TVector3f& dir, const TVector3f& up);

}  // namespace kx::kitgen
