// The on-screen shape of a hose, carried along the centre line without twisting.
#include "view/r_tubemesh.h"

#include <cmath>
#include <numbers>

namespace kx {

namespace {

TVector3f AnyPerpendicular(const TVector3f& t) {
    TVector3f p = Cross(TVector3f{0, 0, 1}, t);
    if (Dot(p, p) < 1e-7f) {
        p = Cross(TVector3f{1, 0, 0}, t);
    }
    p = SafeNormalized(p);
    return Dot(p, p) > 0 ? p : TVector3f{1, 0, 0};
}

void Push(TMesh& mesh, const TVector3f& p, const TVector3f& n) {
    mesh.Positions.push_back(p);
    mesh.Normals.push_back(n);
}

}  // namespace

TMeshPtr MakeTubeDisplayMesh(const TTubeShape& shape) {
    auto mesh = std::make_shared<TMesh>();
    std::vector<TTubeSample> samples = SampleTube(shape);
    if (samples.size() < 2) {
        return mesh;
    }
    const int slices = shape.Slices < 3 ? 3 : shape.Slices;
    // A point without a direction of its own (coincident nodes) takes its neighbour's; the
    // first direction comes unnormalised from the spline.
    TVector3f last{0, 0, 0};
    for (TTubeSample& s : samples) {
        s.Direction = SafeNormalized(s.Direction);
        if (Dot(s.Direction, s.Direction) == 0) {
            s.Direction = last;
        }
        last = s.Direction;
    }
    for (size_t i = samples.size(); i-- > 0;) {
        if (Dot(samples[i].Direction, samples[i].Direction) == 0) {
            samples[i].Direction = last;
        } else {
            last = samples[i].Direction;
        }
    }
    if (Dot(last, last) == 0) {
        return mesh;  // every point on one spot
    }

    std::vector<TVector3f> prev(static_cast<size_t>(slices) + 1), cur(prev.size());
    auto ring = [&](const TTubeSample& s, const TVector3f& vx, std::vector<TVector3f>& out) {
        const TVector3f vy = SafeNormalized(Cross(s.Direction, vx));
        for (int i = 0; i <= slices; ++i) {
            const double a = 2 * std::numbers::pi * i / slices;
            out[static_cast<size_t>(i)] =
                vx * static_cast<float>(std::cos(a)) + vy * static_cast<float>(std::sin(a));
        }
    };
    TVector3f vx = AnyPerpendicular(samples[0].Direction);
    ring(samples[0], vx, prev);
    mesh->Positions.reserve((samples.size() - 1) * static_cast<size_t>(slices) * 12);
    mesh->Normals.reserve(mesh->Positions.capacity());
    const float r = shape.Radius;
    for (size_t k = 1; k < samples.size(); ++k) {
        const TVector3f& t = samples[k].Direction;
        TVector3f next = vx - t * Dot(t, vx);
        vx = Dot(next, next) < 1e-10f ? AnyPerpendicular(t) : SafeNormalized(next);
        ring(samples[k], vx, cur);
        const TVector3f& c0 = samples[k - 1].Centre;
        const TVector3f& c1 = samples[k].Centre;
        for (size_t j = 0; j < static_cast<size_t>(slices); ++j) {
            const TVector3f a = c0 + prev[j] * r, b = c0 + prev[j + 1] * r;
            const TVector3f c = c1 + cur[j + 1] * r, d = c1 + cur[j] * r;
            // Outside, counter-clockwise seen from outside.
            Push(*mesh, a, prev[j]);
            Push(*mesh, b, prev[j + 1]);
            Push(*mesh, c, cur[j + 1]);
            Push(*mesh, c, cur[j + 1]);
            Push(*mesh, d, cur[j]);
            Push(*mesh, a, prev[j]);
            // Inside, the other way round, facing the axis.
            Push(*mesh, a, -prev[j]);
            Push(*mesh, d, -cur[j]);
            Push(*mesh, c, -cur[j + 1]);
            Push(*mesh, c, -cur[j + 1]);
            Push(*mesh, b, -prev[j + 1]);
            Push(*mesh, a, -prev[j]);
        }
        std::swap(prev, cur);
    }
    return mesh;
}

}  // namespace kx
