// Key-frame interpolation: the pose of a part at any frame from its recorded keys.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "foundation/u_vector.h"
#include "motion/u_keydata.h"

namespace kx {

/// A part's pose as the animation sets it; the vectors are interpolated component by
/// component and not normalised.
struct TKeyPose {
    TVector3f Position;
    TVector3f Up;
    TVector3f Direction;

    bool operator==(const TKeyPose&) const = default;
};

/// The pose for frame t between the key at or before t and the key at or after t (the first
/// in the list among keys of one frame); beyond either end the nearest key holds. Nothing
/// for fewer than two keys: such a part stays where it is.
std::optional<TKeyPose> InterpolateKeys(const std::vector<TKeyData>& keys, int32_t t);

/// A key at frame t holding that pose.
TKeyData MakeKey(const TKeyPose& pose, int32_t t);

}  // namespace kx
