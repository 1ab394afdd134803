// How much of a part the view draws: culling against the view's frustum and the choice between
// a part's detailed mesh, its coarse one, or nothing, by the size it has on screen.
#pragma once

#include <array>
#include <cstdint>

#include "view/r_math.h"

namespace kx {

enum class TDetail : uint8_t { Full, Coarse, Hidden };

struct TDetailSettings {
    bool Culling = true;        ///< parts wholly outside the view are not drawn
    bool LevelOfDetail = true;  ///< small parts drawn coarse or not at all
    bool LowQuality = false;    ///< the "lores" quality setting: coarse meshes from larger sizes on
    bool Moving = false;        ///< the camera moves: coarser still, until it rests
    bool operator==(const TDetailSettings&) const = default;
};

/// Full detail everywhere: pictures, exports and video use this.
inline TDetailSettings FullDetail() {
    TDetailSettings s;
    s.LevelOfDetail = false;
    return s;
}

/// The six planes of a view-projection matrix, normalised; a point is inside where every plane
/// gives a non-negative distance.
class TFrustum {
public:
    explicit TFrustum(const TGlMatrix& viewProj);
    /// False only when the sphere lies wholly outside one plane.
    bool Intersects(const TVector3f& centre, float radius) const;

private:
    std::array<std::array<float, 4>, 6> m_planes{};
};

/// Radius in pixels of a sphere of that world radius whose centre has clip-space w (the depth
/// along the view for a perspective camera, 1 for an orthographic one), in a viewport of
/// `viewportHeight` pixels; projectionYY is the projection's (1, 1) element.
float ProjectedRadius(float radius, float clipW, float projectionYY, int viewportHeight);

/// The largest factor a matrix's upper 3x3 stretches a length by (for a sphere's radius).
float MaxScale(const TGlMatrix& world);

/// The detail a part of that projected radius is drawn with. `previous` is last frame's
/// choice: near a switch point the part keeps it (hysteresis), so a slow zoom does not make
/// parts flicker between meshes. Without a coarse mesh, Coarse becomes Full.
TDetail ChooseDetail(float pixelRadius, const TDetailSettings& settings, TDetail previous,
                     bool hasCoarse);

/// The switch points of ChooseDetail without hysteresis, in pixels of projected radius.
struct TDetailThresholds {
    float Full;    ///< at and above: the detailed mesh
    float Hidden;  ///< below: not drawn
};
TDetailThresholds DetailThresholds(const TDetailSettings& settings);

}  // namespace kx
