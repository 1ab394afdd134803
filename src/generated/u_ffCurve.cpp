// The bend of a bar.
#include "generated/u_ffCurve.h"

#include <cmath>
#include <numbers>

namespace kx {

namespace {

float Rad(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

}  // namespace

void TFFCurve::BuildMesh() {
    const int n = Segments > 0 ? Segments : 1;
    const float step = static_cast<float>(Angle) / static_cast<float>(n);
    TFFTriangles t;
    float theta = 0;
    const bool up = Angle >= 1;
    for (int k = 0; k < n; ++k) {
        const float next = theta + step;
        if (up) {
            // Pivot on the top edge; the bottom edge swings round it.
            const auto p = [](float a, float z) {
                return TVector3f{H * std::sin(Rad(a)), H - H * std::cos(Rad(a)), z};
            };
            const TVector3f c{0, H, W}, c_{0, H, -W};
            const TVector3f p0 = p(theta, W), p1 = p(next, W);
            const TVector3f p0_ = p(theta, -W), p1_ = p(next, -W);
            t.Add(c, p0, p1);
            t.Add(c_, p1_, p0_);
            t.Add(p0, p0_, p1);
            t.Add(p1, p0_, p1_);
        } else {
            const auto q = [](float a, float z) {
                return TVector3f{-H * std::sin(Rad(a)), H * std::cos(Rad(a)), z};
            };
            const TVector3f c{0, 0, W}, c_{0, 0, -W};
            const TVector3f q0 = q(theta, W), q1 = q(next, W);
            const TVector3f q0_ = q(theta, -W), q1_ = q(next, -W);
            t.Add(c, q1, q0);
            t.Add(c_, q0_, q1_);
            t.Add(q0, q1, q0_);
            t.Add(q1, q1_, q0_);
        }
        theta = next;
    }
    const TVector3f x = XAxis();
    const TVector3f u = Up();
    const TVector3f position = up ? Position() + x * (H * std::sin(Rad(theta)) / 10) +
                                        u * ((H - H * std::cos(Rad(theta))) / 10)
                                  : Position();
    const float a = Rad(static_cast<float>(Angle));
    SetEndFrame(position, Direction(), u * std::cos(a) - x * std::sin(a));
    SetTriangles(std::move(t.Positions));
}

}  // namespace kx
