// How much of a part the view draws: culling against the view's frustum and the choice between
// a part's detailed mesh, simpler ones, or nothing, by how much the simplification would show.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "catalogue/u_mesh.h"

#include "view/r_math.h"

namespace kx {

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

/// A part's meshes from its detailed one (first, deviation 0) to its coarsest, each with how
/// far its surface lies from the detailed one at most, in mesh units; deviations rise.
struct TDetailLevel {
    TMeshPtr Mesh;
    float Deviation = 0;
};
using TDetailLevels = std::vector<TDetailLevel>;

/// The detailed mesh, simplifications of it that each save a good share of triangles, and the
/// coarse mesh (may be empty) where it is coarser still, with its deviation measured.
TDetailLevels BuildDetailLevels(const TMeshPtr& detailed, const TMeshPtr& coarse);

/// The level a part is drawn with: kHiddenLevel when its projected radius is below the hidden
/// size, else the coarsest level whose deviation, at `pixelsPerUnit` pixels per mesh unit,
/// stays within the allowance. `previous` is last frame's choice: near a switch point the part
/// keeps it (hysteresis), so a slow zoom does not make parts flicker between meshes.
constexpr int kHiddenLevel = -1;
int ChooseDetail(float pixelRadius, float pixelsPerUnit, const TDetailLevels& levels,
                 const TDetailSettings& settings, int previous);

/// The switch points of ChooseDetail without hysteresis, in pixels.
struct TDetailThresholds {
    float Allowance;  ///< a level whose surface moves by at most this much on screen is drawn
    float Hidden;     ///< a part of a smaller projected radius is not drawn
};
TDetailThresholds DetailThresholds(const TDetailSettings& settings);

}  // namespace kx
