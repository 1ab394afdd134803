// Building the scene objects of a large model: time and memory per placed part (no GL).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "view/u_scene.h"

namespace {

constexpr int kDefinitions = 24;  // distinct meshes shared by all parts
constexpr int kArrowsPerPart = 8;
constexpr int kTrianglesPerMesh = 800;

std::vector<kx::TMeshPtr> MakeMeshes() {
    std::vector<kx::TMeshPtr> meshes;
    for (int d = 0; d < kDefinitions; ++d) {
        auto m = std::make_shared<kx::TMesh>();
        for (int i = 0; i < kTrianglesPerMesh * 3; ++i) {
            m->Positions.push_back({float(i % 7), float(i % 11), float(d)});
            m->Normals.push_back({0, 0, 1});
        }
        meshes.push_back(std::move(m));
    }
    return meshes;
}

/// The steps of a placed part's object, minus file access: 24 definitions with 8 connectors
/// each; every fourth definition shifts its mesh, so its parts share one shifted copy.
void BuildParts(kx::TScene& scene, const std::vector<kx::TMeshPtr>& meshes, int parts) {
    std::vector<kx::TMeshPtr> prepared(kDefinitions);
    for (int d = 0; d < kDefinitions; ++d) {
        if (d % 4 == 0) {
            auto shifted = std::make_shared<kx::TMesh>(*meshes[d]);
            for (auto& p : shifted->Positions) {
                p += kx::TVector3f{0, -1.5f, 0};
            }
            prepared[d] = std::move(shifted);
        } else {
            prepared[d] = meshes[d];
        }
    }
    kx::TDummyCube& root = *scene.PartsRoot();
    for (int i = 0; i < parts; ++i) {
        const int def = i % kDefinitions;
        std::string name = "F3" + std::to_string(1000 + def) + "_" + std::to_string(i + 1);
        auto& part = root.AddNewChild<kx::TFreeForm>(name);
        part.SetMesh(prepared[def]);
        part.SetDirection(root.Direction());
        part.SetScale(0.1f);
        const kx::TColor3f colour = kx::ColorFromWin(0x2020FF + def);
        kx::TMaterial& own = part.Material();
        own.SetDiffuse({colour.R, colour.G, colour.B, 1});
        own.SetBlending(kx::TBlendingMode::Transparent);
        kx::TMaterialPtr lib =
            scene.MaterialLibrary().Add(kx::TMaterialLibrary::PartMaterialName(name));
        lib->SetDiffuse({colour.R, colour.G, colour.B, 1});
        lib->SetBlending(kx::TBlendingMode::Transparent);
        part.LinkLibMaterial(lib);
        for (int c = 0; c < kArrowsPerPart; ++c) {
            auto& arrow = part.AddNewChild<kx::TArrowLine>();
            arrow.SetColor(c % 2 ? kx::TColor3f{0, 0, 1} : kx::TColor3f{1, 1, 0});
            arrow.SetPosition({float(c * 5), 0, 7.5f});
            arrow.SetShape(kx::TArrowLine::kDefaultLength, 4);
            arrow.SetPitchAngle(90);
            arrow.SetRollAngle(float(c * 45));
            arrow.SetTurnAngle(0);
            arrow.SetVisible(false);
            arrow.SetShowAxes(true);
        }
        part.SetPosition({float(i % 100), float(i / 1000), float((i / 100) % 10)});
        part.SetTurnAngle(float(i % 360));
    }
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BM_BuildPartObjects(benchmark::State& state) {
    const int parts = static_cast<int>(state.range(0));
    const auto meshes = MakeMeshes();
    double bytesPerPart = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<kx::TScene>();
        kx::BuildMainScene(*scene);
        const size_t before = HeapInUse();
        state.ResumeTiming();

        BuildParts(*scene, meshes, parts);

        state.PauseTiming();
        bytesPerPart = double(HeapInUse() - before) / parts;
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_part"] = bytesPerPart;
    state.counters["MB_total"] = bytesPerPart * parts / (1024.0 * 1024.0);
    state.counters["objects"] = double(parts) * (1 + kArrowsPerPart);
}
BENCHMARK(BM_BuildPartObjects)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

/// Clearing the parts root before a model is rebuilt, part by part from the newest.
void BM_DeleteAllParts(benchmark::State& state) {
    const auto meshes = MakeMeshes();
    for (auto _ : state) {
        state.PauseTiming();
        kx::TScene scene;
        kx::BuildMainScene(scene);
        BuildParts(scene, meshes, 10000);
        state.ResumeTiming();
        scene.PartsRoot()->DeleteChildren();
    }
}
BENCHMARK(BM_DeleteAllParts)->Unit(benchmark::kMillisecond);

/// What a renderer does each frame: every object's world matrix, top down.
void Walk(const kx::TSceneObject& o, const kx::TMatrix4f& parent, float& sink) {
    const kx::TMatrix4f world = parent * o.LocalMatrix();
    sink += world.M[12];
    for (const auto& c : o.Children()) {
        Walk(*c, world, sink);
    }
}

void BM_WorldMatricesOfAllObjects(benchmark::State& state) {
    const auto meshes = MakeMeshes();
    kx::TScene scene;
    kx::BuildMainScene(scene);
    BuildParts(scene, meshes, 10000);
    for (auto _ : state) {
        float sink = 0;
        Walk(scene.Root(), kx::TMatrix4f::Identity(), sink);
        benchmark::DoNotOptimize(sink);
    }
}
BENCHMARK(BM_WorldMatricesOfAllObjects)->Unit(benchmark::kMillisecond);

/// A part found by name among 10,000 (letter case ignored), as the model does per command.
void BM_FindPartByName(benchmark::State& state) {
    const auto meshes = MakeMeshes();
    kx::TScene scene;
    kx::BuildMainScene(scene);
    BuildParts(scene, meshes, 10000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.PartsRoot()->FindChild("f31023_9999", false));
    }
}
BENCHMARK(BM_FindPartByName)->Unit(benchmark::kMicrosecond);

}  // namespace
