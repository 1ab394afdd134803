// Key-frame interpolation: the pose of a part at any frame from its recorded keys.
#include "motion/u_keyframes.h"

namespace kx {

namespace {
TKeyPose PoseOf(const TKeyData& k) {
    return {{k.PositionX, k.PositionY, k.PositionZ},
            {k.UpX, k.UpY, k.UpZ},
            {k.DirectionX, k.DirectionY, k.DirectionZ}};
}

TVector3f Lerp(const TVector3f& s, const TVector3f& r, float f) {
    return {s.X + (r.X - s.X) * f, s.Y + (r.Y - s.Y) * f, s.Z + (r.Z - s.Z) * f};
}
}  // namespace

std::optional<TKeyPose> InterpolateKeys(const std::vector<TKeyData>& keys, int32_t t) {
    if (keys.size() < 2) {
        return std::nullopt;
    }
    // Strict comparisons keep the first key of a frame recorded twice.
    const TKeyData* before = nullptr;
    const TKeyData* after = nullptr;
    for (const TKeyData& k : keys) {
        if (k.Time <= t && (!before || k.Time > before->Time)) {
            before = &k;
        }
        if (k.Time >= t && (!after || k.Time < after->Time)) {
            after = &k;
        }
    }
    if (!before) {
        before = after;
    }
    if (!after) {
        after = before;
    }
    const float f = before->Time == after->Time
                        ? 0.0f
                        : float(double(t - before->Time) / double(after->Time - before->Time));
    const TKeyPose s = PoseOf(*before);
    const TKeyPose r = PoseOf(*after);
    return TKeyPose{Lerp(s.Position, r.Position, f), Lerp(s.Up, r.Up, f),
                    Lerp(s.Direction, r.Direction, f)};
}

TKeyData MakeKey(const TKeyPose& pose, int32_t t) {
    TKeyData k;
    k.PositionX = pose.Position.X;
    k.PositionY = pose.Position.Y;
    k.PositionZ = pose.Position.Z;
    k.UpX = pose.Up.X;
    k.UpY = pose.Up.Y;
    k.UpZ = pose.Up.Z;
    k.DirectionX = pose.Direction.X;
    k.DirectionY = pose.Direction.Y;
    k.DirectionZ = pose.Direction.Z;
    k.Time = t;
    return k;
}

}  // namespace kx
