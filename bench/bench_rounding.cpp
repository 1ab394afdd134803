// Rounding a part's normals: a mesh of 30 000 vertices through the grid of neighbours, against
// comparing every vertex with every other (the baseline, measured in the same run).
#include <benchmark/benchmark.h>

#include <cmath>

#include "generated/u_rounding.h"

namespace {

/// A closed tube of rings x segments quads, six vertices per quad, facet normals.
kx::TMesh Tube(int rings, int segments) {
    kx::TMesh m;
    auto at = [&](int r, int s) {
        const float a = 6.2831853f * float(s % segments) / float(segments);
        return kx::TVector3f{std::cos(a) * 10, float(r), std::sin(a) * 10};
    };
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const kx::TVector3f p00 = at(r, s), p10 = at(r, s + 1), p11 = at(r + 1, s + 1),
                                p01 = at(r + 1, s);
            const kx::TVector3f n = kx::Normalized(kx::Cross(p11 - p00, p10 - p00));
            m.Positions.insert(m.Positions.end(), {p00, p10, p11, p11, p01, p00});
            m.Normals.insert(m.Normals.end(), 6, n);
        }
    }
    return m;
}

void AllPairs(const kx::TMesh& m, double limit, std::vector<kx::TVector3f>& out) {
    out.assign(m.Positions.size(), {});
    for (size_t q = 0; q < m.Positions.size(); ++q) {
        for (size_t j = 0; j < m.Positions.size(); ++j) {
            const float lens = kx::Length(m.Normals[q]) * kx::Length(m.Normals[j]);
            if (kx::Length(m.Positions[j] - m.Positions[q]) < 1e-5f &&
                (j == q || (lens > 0 && kx::Dot(m.Normals[q], m.Normals[j]) / lens > limit))) {
                out[q] += m.Normals[j];
            }
        }
    }
}

// 50 x 100 quads: 30 000 vertices, the size the rounding run is made for.
const kx::TMesh& Mesh30k() {
    static const kx::TMesh mesh = Tube(50, 100);
    return mesh;
}

void BM_SmoothNormals30kGrid(benchmark::State& state) {
    const kx::TMesh& mesh = Mesh30k();
    kx::TMesh target;
    for (auto _ : state) {
        kx::SmoothNormals(target, mesh, 0.8);
        benchmark::DoNotOptimize(target.Normals.data());
    }
    state.counters["vertices"] = double(mesh.Positions.size());
}
BENCHMARK(BM_SmoothNormals30kGrid)->Unit(benchmark::kMillisecond);

// The same with the progress told after every vertex, as the rounding window has it.
void BM_SmoothNormals30kGridWithProgress(benchmark::State& state) {
    const kx::TMesh& mesh = Mesh30k();
    kx::TMesh target;
    size_t last = 0;
    for (auto _ : state) {
        kx::SmoothNormals(target, mesh, 0.8, [&](size_t done, size_t) {
            last = done;
            return true;
        });
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK(BM_SmoothNormals30kGridWithProgress)->Unit(benchmark::kMillisecond);

void BM_SmoothNormals30kAllPairs(benchmark::State& state) {
    const kx::TMesh& mesh = Mesh30k();
    std::vector<kx::TVector3f> out;
    for (auto _ : state) {
        AllPairs(mesh, 0.8, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SmoothNormals30kAllPairs)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
