// A key frame of a placed part: its pose at one frame of the animation.
#pragma once

#include <cstdint>

namespace kx {

/// One recorded pose of a part. A part keeps its keys in the order they were recorded, not
/// sorted by time; several keys may share a time.
struct TKeyData {
    float PositionX = 0, PositionY = 0, PositionZ = 0;
    float UpX = 0, UpY = 0, UpZ = 0;
    float DirectionX = 0, DirectionY = 0, DirectionZ = 0;
    int32_t Time = 0;  ///< frame number

    bool operator==(const TKeyData&) const = default;
};

}  // namespace kx
