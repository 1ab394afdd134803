// Hoses: the export mesh of many long smooth hoses, and what the view redoes when one node of
// one hose moved among many (no GL: the tessellation and the frame are measured).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "generated/u_pipeex.h"
#include "view/r_sceneframe.h"
#include "view/u_scene.h"

namespace {

constexpr int kHoses = 200;
constexpr int kNodes = 50;

/// A hose winding through space, a little different for each index.
std::vector<kx::TVector3f> Winding(int index) {
    std::vector<kx::TVector3f> nodes;
    for (int k = 0; k < kNodes; ++k) {
        const float t = float(k) * 0.4f + float(index);
        nodes.push_back({std::cos(t) * 5, float(k) * 0.3f, std::sin(t * 1.3f) * 5 + float(index)});
    }
    return nodes;
}

void FillHoses(kx::TSceneObject& tubes) {
    for (int i = 0; i < kHoses; ++i) {
        auto& hose = tubes.AddNewChild<kx::TPipeEx>();
        hose.SetNodes(Winding(i));
        hose.SetSplineMode(kx::TSplineMode::lsmCubicSpline);
    }
}

// Requirement: the export mesh of 200 hoses of 50 spline nodes each in at most 100 ms.
void BM_ExportMeshOf200SplineHoses(benchmark::State& state) {
    kx::TScene scene;
    kx::BuildMainScene(scene);
    kx::TSceneObject& tubes = *scene.FindObject("Tubes");
    FillHoses(tubes);
    const auto hoses = kx::HosesBelow(tubes);
    size_t triangles = 0;
    for (auto _ : state) {
        triangles = 0;
        for (kx::TPipeEx* hose : hoses) {
            hose->BuildMesh();
            triangles += hose->Triangles().size() / 3;
        }
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["triangles"] = double(triangles);
}
BENCHMARK(BM_ExportMeshOf200SplineHoses)->Unit(benchmark::kMillisecond);

// The view's frame after one node of one hose moved: only that hose is tessellated again.
void BM_FrameAfterOneNodeMoved(benchmark::State& state) {
    kx::TScene scene;
    kx::BuildMainScene(scene);
    kx::TSceneObject& tubes = *scene.FindObject("Tubes");
    FillHoses(tubes);
    const auto hoses = kx::HosesBelow(tubes);
    kx::TSceneFrameBuilder builder;
    builder.Build(scene, 800, 600);
    const uint64_t before = builder.TubeMeshesBuilt();
    float y = 0;
    for (auto _ : state) {
        y += 0.01f;
        hoses[kHoses / 2]->SetNode(7, {1, y, 2});
        benchmark::DoNotOptimize(builder.Build(scene, 800, 600).Meshes.size());
    }
    state.counters["hosesRebuiltPerFrame"] =
        double(builder.TubeMeshesBuilt() - before) / double(state.iterations());
}
BENCHMARK(BM_FrameAfterOneNodeMoved)->Unit(benchmark::kMillisecond);

// For comparison: the same frame when every hose must be tessellated (a fresh view).
void BM_FrameWithEveryHoseNew(benchmark::State& state) {
    kx::TScene scene;
    kx::BuildMainScene(scene);
    FillHoses(*scene.FindObject("Tubes"));
    for (auto _ : state) {
        kx::TSceneFrameBuilder builder;
        benchmark::DoNotOptimize(builder.Build(scene, 800, 600).Meshes.size());
    }
}
BENCHMARK(BM_FrameWithEveryHoseNew)->Unit(benchmark::kMillisecond);

}  // namespace
