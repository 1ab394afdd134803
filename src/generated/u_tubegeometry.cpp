// The geometry of a hose: node directions, splines, rings and the export mesh.
#include "generated/u_tubegeometry.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace kx {

namespace {

// Shorter vectors than this (squared) have no direction of their own.
constexpr float kDirectionEpsilon = 1e-5f;
constexpr float kRingEpsilon = 1e-7f;

int Sign(float v) {
    return (v > 0) - (v < 0);
}

float SquaredLength(const TVector3f& v) {
    return Dot(v, v);
}

}  // namespace

TVector3f SafeNormalized(const TVector3f& v) {
    const float len = Length(v);
    if (!(len > 0) || !std::isfinite(len)) {
        return {0, 0, 0};
    }
    return v / len;
}

TVector3f NodeDirection(const std::vector<TVector3f>& nodes, size_t i) {
    const size_t n = nodes.size();
    if (n < 2 || i >= n) {
        return {0, 0, 0};
    }
    TVector3f d;
    if (i == 0) {
        d = nodes[1] - nodes[0];
    } else if (i == n - 1) {
        d = nodes[n - 1] - nodes[n - 2];
    } else {
        d = nodes[i + 1] - nodes[i - 1];
    }
    if (SquaredLength(d) < kDirectionEpsilon) {
        return {0, 0, 0};
    }
    return SafeNormalized(d);
}

// --- TTubeSpline ------------------------------------------------------------------------------

TTubeSpline::TTubeSpline(const std::vector<TVector3f>& nodes) : m_nodes(nodes) {
    const size_t n = m_nodes.size();
    for (int c = 0; c < 3; ++c) {
        std::vector<double>& m = m_m[c];
        m.assign(n, 0.0);
        if (n < 3) {
            continue;
        }
        // M[i-1] + 4 M[i] + M[i+1] = 6 (y[i+1] - 2 y[i] + y[i-1]) with M at both ends zero,
        // solved from top to bottom and back.
        const size_t inner = n - 2;
        std::vector<double> diag(inner, 4.0), rhs(inner);
        for (size_t i = 0; i < inner; ++i) {
            rhs[i] = 6.0 * (double(m_nodes[i + 2][c]) - 2.0 * double(m_nodes[i + 1][c]) +
                            double(m_nodes[i][c]));
        }
        for (size_t i = 1; i < inner; ++i) {
            const double f = 1.0 / diag[i - 1];
            diag[i] -= f;
            rhs[i] -= f * rhs[i - 1];
        }
        m[inner] = rhs[inner - 1] / diag[inner - 1];
        for (size_t i = inner - 1; i > 0; --i) {
            m[i] = (rhs[i - 1] - m[i + 1]) / diag[i - 1];
        }
    }
}

size_t TTubeSpline::Interval(double t) const {
    const size_t last = m_nodes.size() >= 2 ? m_nodes.size() - 2 : 0;
    if (!(t > 0)) {
        return 0;
    }
    const auto k = static_cast<size_t>(std::floor(t));
    return k > last ? last : k;
}

TVector3f TTubeSpline::Position(double t) const {
    if (m_nodes.size() < 2) {
        return m_nodes.empty() ? TVector3f{} : m_nodes[0];
    }
    const size_t k = Interval(t);
    const double a = double(k + 1) - t, b = t - double(k);
    float r[3];
    for (int c = 0; c < 3; ++c) {
        const double mk = m_m[c][k], mk1 = m_m[c][k + 1];
        const double yk = m_nodes[k][c], yk1 = m_nodes[k + 1][c];
        r[c] = static_cast<float>(mk * a * a * a / 6 + mk1 * b * b * b / 6 + (yk - mk / 6) * a +
                                  (yk1 - mk1 / 6) * b);
    }
    return {r[0], r[1], r[2]};
}

TVector3f TTubeSpline::Slope(double t) const {
    if (m_nodes.size() < 2) {
        return {0, 0, 0};
    }
    const size_t k = Interval(t);
    const double a = double(k + 1) - t, b = t - double(k);
    float r[3];
    for (int c = 0; c < 3; ++c) {
        const double mk = m_m[c][k], mk1 = m_m[c][k + 1];
        const double yk = m_nodes[k][c], yk1 = m_nodes[k + 1][c];
        r[c] =
            static_cast<float>(-mk * a * a / 2 + mk1 * b * b / 2 - (yk - mk / 6) + (yk1 - mk1 / 6));
    }
    return {r[0], r[1], r[2]};
}

// --- Rings ------------------------------------------------------------------------------------

TRingAngles::TRingAngles(int slices) {
    slices = slices < 1 ? 1 : slices;
    for (int i = 0; i < slices; ++i) {
        const double theta = 2 * std::numbers::pi * i / slices;
        Cos.push_back(static_cast<float>(std::cos(theta)));
        Sin.push_back(static_cast<float>(std::sin(theta)));
    }
}

void ComputeRing(const TVector3f& centre, const TVector3f& direction, float radius, int slices,
                 std::vector<TRingEntry>& ring) {
    ComputeRing(centre, direction, radius, TRingAngles(slices), ring);
}

void ComputeRing(const TVector3f& centre, const TVector3f& direction, float radius,
                 const TRingAngles& angles, std::vector<TRingEntry>& ring) {
    const TVector3f z{0, 0, 1}, x{1, 0, 0};
    TVector3f vx = Cross(z, direction), vy;
    if (SquaredLength(vx) < kRingEpsilon) {
        if (SquaredLength(direction) < kRingEpsilon) {
            vx = {1, 0, 0};
            vy = {0, 0, 1};
        } else {
            vx = SafeNormalized(Cross(x, direction));
            vy = Cross(direction, vx);
        }
    } else {
        vx = SafeNormalized(vx);
        vy = Cross(direction, vx);
    }
    vy = SafeNormalized(vy);
    vx = vx * radius;
    vy = vy * radius;
    const size_t slices = angles.Cos.size();
    ring.resize(slices + 1);
    for (size_t i = 0; i < slices; ++i) {
        const TVector3f radial = vx * angles.Cos[i] + vy * angles.Sin[i];
        ring[i] = {centre + radial, radial};
    }
    // The closing entry is the first one exactly, not the rounded value of a full turn.
    ring[slices] = ring[0];
}

bool RingsTwisted(const std::vector<TRingEntry>& previous, const std::vector<TRingEntry>& current,
                  int slices) {
    int radial[3] = {1, 1, 1}, position[3] = {1, 1, 1};
    for (size_t i = 0; i <= static_cast<size_t>(slices); ++i) {
        for (int c = 0; c < 3; ++c) {
            radial[c] += Sign(previous[i].Radial[c]) != Sign(current[i].Radial[c]);
            position[c] += Sign(previous[i].Position[c]) != Sign(current[i].Position[c]);
        }
    }
    const int h = slices / 2;
    return radial[0] * radial[1] * radial[2] > h * h ||
           position[0] * position[1] * position[2] > h * h;
}

namespace {

float ManhattanDistance(const TVector3f& a, const TVector3f& b) {
    return std::abs(a.X - b.X) + std::abs(a.Y - b.Y) + std::abs(a.Z - b.Z);
}

void Emit(const TRingEntry& e, std::vector<TPipeVertex>& out) {
    out.push_back({e.Position.X, e.Position.Y, e.Position.Z, e.Radial.X, e.Radial.Y, e.Radial.Z});
}

void EmitSlices(const std::vector<TRingEntry>& p, const std::vector<TRingEntry>& q, size_t s,
                std::vector<TPipeVertex>& out) {
    for (size_t j = 0; j < s; ++j) {
        Emit(p[j], out);
        Emit(p[j + 1], out);
        Emit(q[j + 1], out);
        Emit(q[j + 1], out);
        Emit(q[j], out);
        Emit(p[j], out);
    }
}

}  // namespace

void JoinRings(const std::vector<TRingEntry>& previous, const std::vector<TRingEntry>& current,
               int slices, std::vector<TPipeVertex>& out) {
    const auto s = static_cast<size_t>(slices);
    if (!RingsTwisted(previous, current, slices)) {
        EmitSlices(previous, current, s, out);
        return;
    }
    size_t best = 0;
    float bestSum = 0;
    for (size_t shift = 0; shift < s; ++shift) {
        float sum = 0;
        for (size_t k = 0; k < s; ++k) {
            sum += ManhattanDistance(previous[(k + shift) % s].Position, current[k].Position);
        }
        if (shift == 0 || sum < bestSum) {
            best = shift;
            bestSum = sum;
        }
    }
    std::vector<TRingEntry> p(s + 1);
    for (size_t j = 0; j < s; ++j) {
        p[j] = previous[(j + best) % s];
    }
    p[s] = p[0];
    EmitSlices(p, current, s, out);
}

// --- The tube ---------------------------------------------------------------------------------

std::vector<TTubeSample> SampleTube(const TTubeShape& shape) {
    std::vector<TTubeSample> samples;
    if (!shape.Nodes || shape.Nodes->empty()) {
        return samples;
    }
    const std::vector<TVector3f>& nodes = *shape.Nodes;
    const size_t n = nodes.size();
    if (shape.Mode == TSplineMode::lsmCubicSpline && n >= 2) {
        const TTubeSpline spline(nodes);
        const int division = shape.Division > 0 ? shape.Division : 1;
        const size_t steps = (n - 1) * static_cast<size_t>(division);
        samples.reserve(steps + 1);
        samples.push_back({nodes[0], spline.Slope(0)});
        for (size_t s = 1; s <= steps; ++s) {
            const double t = double(s) / division;
            samples.push_back({spline.Position(t), SafeNormalized(spline.Slope(t))});
        }
        return samples;
    }
    samples.reserve(n);
    for (size_t k = 0; k < n; ++k) {
        samples.push_back({nodes[k], NodeDirection(nodes, k)});
    }
    return samples;
}

std::vector<TPipeVertex> BuildTubeMesh(const TTubeShape& shape) {
    std::vector<TPipeVertex> out;
    BuildTubeMesh(shape, out);
    return out;
}

void BuildTubeMesh(const TTubeShape& shape, std::vector<TPipeVertex>& out) {
    out.clear();
    const std::vector<TTubeSample> samples = SampleTube(shape);
    if (samples.size() < 2 || shape.Slices < 1) {
        return;
    }
    const bool outside = (shape.Parts & ppOutside) != 0;
    if (outside) {
        out.reserve((samples.size() - 1) * static_cast<size_t>(shape.Slices) * 6);
    }
    const TRingAngles angles(shape.Slices);
    std::vector<TRingEntry> a, b;
    ComputeRing(samples[0].Centre, samples[0].Direction, shape.Radius, angles, a);
    for (size_t s = 1; s < samples.size(); ++s) {
        ComputeRing(samples[s].Centre, samples[s].Direction, shape.Radius, angles, b);
        if (outside) {
            JoinRings(a, b, shape.Slices, out);
        }
        std::swap(a, b);
    }
}

}  // namespace kx
