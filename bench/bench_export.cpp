// Export speed: megabytes of text a second for each format on models of 1,000 and 10,000 parts
// of about 3,000 triangles each, to memory and (1,000 parts) to a file on disk.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

#include "model/u_export.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

#include "bench_support.h"

namespace {

constexpr int kTriangles = 3000;

/// A closed tube of about kTriangles triangles with its normals, in mesh units.
kx::TMeshPtr PartMesh() {
    auto mesh = std::make_shared<kx::TMesh>();
    const int around = 30;
    const int along = kTriangles / (2 * around);
    auto point = [&](int i, int j) {
        const float a = 2 * 3.14159265f * static_cast<float>(i % around) / around;
        return kx::TVector3f{7.5f * std::cos(a), 7.5f * std::sin(a), 3.0f * static_cast<float>(j)};
    };
    auto normal = [&](int i) {
        const float a = 2 * 3.14159265f * static_cast<float>(i % around) / around;
        return kx::TVector3f{std::cos(a), std::sin(a), 0};
    };
    for (int j = 0; j < along; ++j) {
        for (int i = 0; i < around; ++i) {
            const int quad[6][2] = {{i, j}, {i + 1, j},     {i + 1, j + 1},
                                    {i, j}, {i + 1, j + 1}, {i, j + 1}};
            for (const auto& q : quad) {
                mesh->Positions.push_back(point(q[0], q[1]));
                mesh->Normals.push_back(normal(q[0]));
            }
        }
    }
    return mesh;
}

/// A scene with n placed parts of one mesh, posed at random, in a few colours.
std::unique_ptr<kx::TScene> ModelScene(int n) {
    auto scene = std::make_unique<kx::TScene>();
    kx::BuildMainScene(*scene);
    const kx::TMeshPtr mesh = PartMesh();
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> d(-50, 50);
    for (int i = 0; i < n; ++i) {
        auto& part = scene->PartsRoot()->AddNewChild<kx::TFreeForm>("F31010_" + std::to_string(i));
        part.SetMesh(mesh);
        part.SetScale(0.1f);
        part.SetPosition({d(rng), d(rng), d(rng)});
        part.SetOrientation({d(rng), d(rng), d(rng)}, {d(rng), d(rng), d(rng)});
        part.Material().SetDiffuseColor(kx::ColorFromWin(0x0000FF + 0x2000 * (i % 8)));
    }
    return scene;
}

kx::TScene& Scene(int n) {
    static std::unique_ptr<kx::TScene> scenes[2];
    auto& s = scenes[n > 1000 ? 1 : 0];
    if (!s) {
        s = ModelScene(n);
    }
    return *s;
}

void BM_ExportToMemory(benchmark::State& state) {
    const auto format = static_cast<kx::TExportFormat>(state.range(0));
    kx::TScene& scene = Scene(static_cast<int>(state.range(1)));
    int64_t bytes = 0;
    for (auto _ : state) {
        kx::WriteExport(scene, format, {}, [&bytes](std::string_view piece) {
            bytes += static_cast<int64_t>(piece.size());
            benchmark::DoNotOptimize(piece.data());
            return true;
        });
    }
    state.SetBytesProcessed(bytes);
    state.counters["MB"] =
        static_cast<double>(bytes) / static_cast<double>(state.iterations()) / 1e6;
}

void BM_ExportToFile(benchmark::State& state) {
    const auto format = static_cast<kx::TExportFormat>(state.range(0));
    kx::TScene& scene = Scene(1000);
    kxbench::TScratch dir;
    const auto file = dir.Path() / ("model" + kx::ExportExtension(format));
    for (auto _ : state) {
        if (!kx::ExportScene(scene, format, {}, file)) {
            state.SkipWithError("export failed");
        }
    }
    const auto size = static_cast<int64_t>(std::filesystem::file_size(file));
    state.SetBytesProcessed(size * state.iterations());
    state.counters["MB"] = static_cast<double>(size) / 1e6;
}

void Formats(benchmark::internal::Benchmark* b, int parts) {
    for (int f = 0; f <= static_cast<int>(kx::TExportFormat::X3DFlat); ++f) {
        b->Args({f, parts});
    }
}

}  // namespace

// Format: 0 RAW, 1 VRML, 2 POV-Ray, 3 X3D shaded, 4 X3D flat; then the number of parts (files:
// the format only, 1,000 parts).
BENCHMARK(BM_ExportToMemory)
    ->Apply([](auto* b) { Formats(b, 1000); }) -> Unit(benchmark::kMillisecond) -> Iterations(2);
BENCHMARK(BM_ExportToMemory)
    ->Apply([](auto* b) { Formats(b, 10000); }) -> Unit(benchmark::kMillisecond) -> Iterations(1);
BENCHMARK(BM_ExportToFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(1);
