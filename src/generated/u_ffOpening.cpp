// The faceting shared by the bar pieces with an opening.
#include "generated/u_ffOpening.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace kx {

namespace {

TVector3f Towards(const TFFPoint& from, const TFFPoint& to) {
    return {to.X - from.X, 0, to.Z - from.Z};
}

}  // namespace

TFFPoint CirclePoint(const TFFPoint& c, float r, float degrees) {
    const float a = degrees * std::numbers::pi_v<float> / 180.0f;
    return {c.X + r * std::cos(a), c.Z + r * std::sin(a)};
}

TFFFourEdges::TFFFourEdges(float length, int steps, std::function<TFFPoint(TFFEdge, int)> centre)
    : m_length(length), m_n(steps > 0 ? steps : 1), m_centre(std::move(centre)) {}

TFFPoint TFFFourEdges::Outline(TFFEdge edge, int k) const {
    constexpr float W = TFFBase::W;
    const float f = static_cast<float>(k) / static_cast<float>(m_n);
    switch (edge) {
        case TFFEdge::South:
            return {m_length * f, -W};
        case TFFEdge::North:
            return {m_length * f, W};
        case TFFEdge::West:
            return {0, -W + 2 * W * f};
        case TFFEdge::East:
            break;
    }
    return {m_length, -W + 2 * W * f};
}

float TFFFourEdges::Angle(TFFEdge edge, int k) const {
    const float f = 90.0f * static_cast<float>(k) / static_cast<float>(m_n);
    switch (edge) {
        case TFFEdge::South:
            return 225 + f;
        case TFFEdge::North:
            return 135 - f;
        case TFFEdge::West:
            return 225 - f;
        case TFFEdge::East:
            break;
    }
    return 315 + f;
}

TFFPoint TFFFourEdges::Opening(TFFEdge edge, int k, float radius) const {
    return CirclePoint(m_centre(edge, k), radius, Angle(edge, k));
}

void TFFFourEdges::AddFace(TFFTriangles& t, TFFEdge edge, int k, float r, float y, bool top) const {
    t.AddQuad(Outline(edge, k).At(y), Outline(edge, k + 1).At(y), Opening(edge, k + 1, r).At(y),
              Opening(edge, k, r).At(y), {0, top ? 1.0f : -1.0f, 0});
}

void TFFFourEdges::AddWall(TFFTriangles& t, TFFEdge edge, int k, float r, float yLo,
                           float yHi) const {
    const TFFPoint a = Opening(edge, k, r);
    const TFFPoint b = Opening(edge, k + 1, r);
    const TFFPoint mid{(a.X + b.X) / 2, (a.Z + b.Z) / 2};
    t.AddQuad(a.At(yHi), b.At(yHi), b.At(yLo), a.At(yLo), Towards(mid, Centre(edge, k)));
}

void TFFFourEdges::AddCone(TFFTriangles& t, TFFEdge edge, int k, float r1, float y1, float r2,
                           float y2) const {
    const TFFPoint a1 = Opening(edge, k, r1);
    const TFFPoint b1 = Opening(edge, k + 1, r1);
    const TFFPoint a2 = Opening(edge, k, r2);
    const TFFPoint b2 = Opening(edge, k + 1, r2);
    const TFFPoint mid{(a1.X + b1.X) / 2, (a1.Z + b1.Z) / 2};
    t.AddQuad(a1.At(y1), b1.At(y1), b2.At(y2), a2.At(y2), Towards(mid, Centre(edge, k)));
}

void AddRimWall(TFFTriangles& t, const TFFPoint& c, float from, float step, int n) {
    constexpr float W = TFFBase::W;
    constexpr float H = TFFBase::H;
    for (int k = 0; k < n; ++k) {
        const TFFPoint a = CirclePoint(c, W, from + step * static_cast<float>(k));
        const TFFPoint b = CirclePoint(c, W, from + step * static_cast<float>(k + 1));
        const TFFPoint mid{(a.X + b.X) / 2, (a.Z + b.Z) / 2};
        t.AddQuad(a.At(H), b.At(H), b.At(0), a.At(0), Towards(c, mid));
    }
}

void AddStripQuad(TFFTriangles& t, const TFFPoint& outline0, const TFFPoint& outline1,
                  const TFFPoint& opening0, const TFFPoint& opening1, float y, bool top,
                  bool outlineDiagonal) {
    const TVector3f side{0, top ? 1.0f : -1.0f, 0};
    if (outlineDiagonal) {
        t.AddQuad(outline0.At(y), outline1.At(y), opening1.At(y), opening0.At(y), side);
    } else {
        t.AddQuad(opening0.At(y), outline0.At(y), outline1.At(y), opening1.At(y), side);
    }
}

}  // namespace kx
