// How much of a part the view draws: frustum culling and the level of detail by screen size.
#include "view/u_detail.h"

#include <algorithm>
#include <cmath>

#include "view/u_meshsimplify.h"

namespace kx {

namespace {

// A switch point is crossed only when the size moved this share beyond it.
constexpr float kHysteresis = 0.15f;

// The simplifications made of a detailed mesh, by the deviation allowed as a share of its radius.
constexpr float kSimplifySteps[] = {0.005f, 0.015f, 0.04f, 0.1f};

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
    // Parts seen a few pixels big are drawn from triangles far smaller than a pixel, so each
    // pixel shows whichever facet its centre falls on: a surface that moves by a quarter pixel
    // changes about one pixel in fifty. While the camera moves, a few pixels may change.
    TDetailThresholds t{0.25f, 0.5f};
    if (s.LowQuality) {
        t.Allowance *= 3;
        t.Hidden *= 2;
    }
    if (s.Moving) {
        t.Allowance *= 6;
        t.Hidden *= 2;
    }
    return t;
}

int ChooseDetail(float pixelRadius, float pixelsPerUnit, const TDetailLevels& levels,
                 const TDetailSettings& s, int previous) {
    if (!s.LevelOfDetail || levels.empty()) {
        return 0;
    }
    const TDetailThresholds t = DetailThresholds(s);
    // Within the band around a switch point the part keeps last frame's side.
    const float hidden = t.Hidden * (previous == kHiddenLevel ? 1 + kHysteresis : 1 - kHysteresis);
    if (pixelRadius < hidden) {
        return kHiddenLevel;
    }
    for (int k = int(levels.size()) - 1; k > 0; --k) {
        const float band = k <= previous ? 1 + kHysteresis : 1 - kHysteresis;
        if (levels[size_t(k)].Deviation * pixelsPerUnit <= t.Allowance * band) {
            return k;
        }
    }
    return 0;
}

TDetailLevels BuildDetailLevels(const TMeshPtr& detailed, const TMeshPtr& coarse) {
    TDetailLevels levels;
    if (!detailed || detailed->Positions.size() < 3) {
        return levels;
    }
    levels.push_back({detailed, 0});
    TVector3f lo = detailed->Positions[0], hi = lo;
    for (const TVector3f& p : detailed->Positions) {
        lo = {std::min(lo.X, p.X), std::min(lo.Y, p.Y), std::min(lo.Z, p.Z)};
        hi = {std::max(hi.X, p.X), std::max(hi.Y, p.Y), std::max(hi.Z, p.Z)};
    }
    const float radius = Length(hi - lo) / 2;
    // Each level must save a good share of its finer neighbour's triangles to be worth a switch.
    const auto worthIt = [&levels](const TMesh& mesh) {
        return mesh.Positions.size() >= 3 &&
               mesh.TriangleCount() * 10 <= levels.back().Mesh->TriangleCount() * 7;
    };
    std::vector<float> tolerances;
    for (const float share : kSimplifySteps) {
        tolerances.push_back(radius * share);
    }
    for (TSimplified& simple : SimplifyMesh(*detailed, tolerances)) {
        if (worthIt(simple.Mesh)) {
            levels.push_back({std::make_shared<const TMesh>(std::move(simple.Mesh)),
                              std::max(simple.Deviation, levels.back().Deviation)});
        }
    }
    if (coarse && worthIt(*coarse)) {
        // Simplifications that stray further than the coarse mesh are of no use beside it.
        const float deviation = MeshDeviation(*detailed, *coarse);
        while (levels.size() > 1 && levels.back().Deviation >= deviation) {
            levels.pop_back();
        }
        levels.push_back({coarse, std::max(deviation, levels.back().Deviation)});
    }
    return levels;
}

}  // namespace kx
