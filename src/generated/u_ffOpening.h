// The faceting shared by the bar pieces with an opening: the four-edge scheme that pairs the
// bar's outline with points of the opening, wall and cone sectors, rounded ends.
#pragma once

#include <functional>

#include "generated/u_ffBase.h"

namespace kx {

/// The four edges of a piece's outline, in the order the pieces emit them.
enum class TFFEdge { South, North, West, East };
inline constexpr TFFEdge kFFEdges[] = {TFFEdge::South, TFFEdge::North, TFFEdge::West,
                                       TFFEdge::East};

/// A point (x, z) of the bar's plane; y is given where it is used.
struct TFFPoint {
    float X = 0;
    float Z = 0;
    TVector3f At(float y) const { return {X, y, Z}; }
};

/// The point at `degrees` (from +x towards +z) on the circle of radius r about c.
TFFPoint CirclePoint(const TFFPoint& c, float r, float degrees);

/// The four-edge scheme of a piece of length L with N steps per edge.
class TFFFourEdges {
public:
    /// `centre(edge, k)` is the centre of the circle that the opening point k of an edge lies on.
    TFFFourEdges(float length, int steps, std::function<TFFPoint(TFFEdge, int)> centre);

    int Steps() const { return m_n; }
    TFFPoint Outline(TFFEdge edge, int k) const;
    float Angle(TFFEdge edge, int k) const;
    TFFPoint Opening(TFFEdge edge, int k, float radius) const;
    TFFPoint Centre(TFFEdge edge, int k) const { return m_centre(edge, k); }

    /// The face quad of step k at height y, opening radius r, facing +y (top) or -y.
    void AddFace(TFFTriangles& t, TFFEdge edge, int k, float r, float y, bool top) const;
    /// The wall sector of step k: radius r from yLo to yHi, facing the opening's axis.
    void AddWall(TFFTriangles& t, TFFEdge edge, int k, float r, float yLo, float yHi) const;
    /// The cone sector of step k from radius r1 at y1 to radius r2 at y2, facing the axis.
    void AddCone(TFFTriangles& t, TFFEdge edge, int k, float r1, float y1, float r2,
                 float y2) const;

private:
    float m_length;
    int m_n;
    std::function<TFFPoint(TFFEdge, int)> m_centre;
};

/// The rim wall of a rounded end: N quads between the top and bottom points of the circle of
/// radius W about c, from angle `from` in N steps of `step` degrees, facing away from c.
void AddRimWall(TFFTriangles& t, const TFFPoint& c, float from, float step, int n);

/// A strip of n steps pairing outline point j with opening point j, both at height y; the
/// quad of step j is split along the diagonal from outline j to opening j + 1 when
/// `outlineDiagonal`, else from opening j to outline j + 1.
void AddStripQuad(TFFTriangles& t, const TFFPoint& outline0, const TFFPoint& outline1,
                  const TFFPoint& opening0, const TFFPoint& opening1, float y, bool top,
                  bool outlineDiagonal);

}  // namespace kx
