// How much of a part the view draws: frustum culling and the level of detail by screen size.
#include "view/u_detail.h"

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

// A switch point is crossed only when the size moved this share beyond it.
constexpr float kHysteresis = 0.15f;

}  // namespace

TFrustum::TFrustum(const TGlMatrix& m) {
    // Gribb and Hartmann: each plane is the fourth row plus or minus one of the first three.
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = 0; sign < 2; ++sign) {
            auto& p = m_planes[size_t(axis * 2 + sign)];
            const float s = sign == 0 ? 1.0f : -1.0f;
            for (int c = 0; c < 4; ++c) {
                p[size_t(c)] = m(3, c) + s * m(axis, c);
            }
            const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            if (length > 0) {
                for (float& v : p) {
                    v /= length;
                }
            }
        }
    }
}

bool TFrustum::Intersects(const TVector3f& c, float radius) const {
    for (const auto& p : m_planes) {
        if (p[0] * c.X + p[1] * c.Y + p[2] * c.Z + p[3] < -radius) {
            return false;
        }
    }
    return true;
}

float ProjectedRadius(float radius, float clipW, float projectionYY, int viewportHeight) {
    // A sphere around the eye or behind it fills the view as far as this measure can tell.
    if (clipW <= 1e-6f) {
        return 1e9f;
    }
    return radius * std::fabs(projectionYY) * 0.5f * float(viewportHeight) / clipW;
}

float MaxScale(const TGlMatrix& w) {
    float best = 0;
    for (int c = 0; c < 3; ++c) {
        const float len2 = w(0, c) * w(0, c) + w(1, c) * w(1, c) + w(2, c) * w(2, c);
        best = std::max(best, len2);
    }
    return std::sqrt(best);
}

TDetailThresholds DetailThresholds(const TDetailSettings& s) {
    // A kit part's coarse mesh keeps its outline; its missing bevels and studs show from about
    // thirty pixels across, so the detailed mesh takes over well before that.
    TDetailThresholds t{12, 0.5f};
    if (s.LowQuality) {
        t.Full *= 2;
        t.Hidden *= 2;
    }
    if (s.Moving) {
        t.Full *= 2.5f;
        t.Hidden *= 2;
    }
    return t;
}

TDetail ChooseDetail(float r, const TDetailSettings& s, TDetail previous, bool hasCoarse) {
    if (!s.LevelOfDetail) {
        return TDetail::Full;
    }
    const TDetailThresholds t = DetailThresholds(s);
    // The band around each switch point keeps last frame's side.
    const auto above = [&](float threshold, bool wasAbove) {
        return wasAbove ? r >= threshold * (1 - kHysteresis) : r >= threshold * (1 + kHysteresis);
    };
    if (!above(t.Hidden, previous != TDetail::Hidden)) {
        return TDetail::Hidden;
    }
    if (above(t.Full, previous == TDetail::Full) || !hasCoarse) {
        return TDetail::Full;
    }
    return TDetail::Coarse;
}

}  // namespace kx
