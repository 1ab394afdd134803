// Frame times of the renderer on models of 1,000 and 10,000 placed parts, against the best this
// GL can do with the same shaders: one instanced draw per mesh, buffers made once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numbers>
#include <random>
#include <vector>

#include "catalogue/u_normals.h"
#include "catalogue/u_stl.h"
#include "view/r_headless.h"
#include "view/r_meshcache.h"
#include "view/r_renderer.h"
#include "view/r_sceneframe.h"
#include "view/r_target.h"
#include "view/u_scene.h"

namespace {

using namespace kx;
using TClock = std::chrono::steady_clock;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A rounded brick (superellipsoid) of about `triangles` facets, flat-shaded as a mesh file
// gives them: three vertices per facet, each with the facet's normal.
TMeshPtr MakePartMesh(TVector3f size, float roundness, int triangles) {
    const int stacks = std::max(4, int(std::sqrt(triangles / 4.0)));
    const int slices = std::max(4, triangles / (2 * stacks));
    auto point = [&](int i, int j) {
        const double phi = std::numbers::pi * i / stacks - std::numbers::pi / 2;
        const double theta = 2 * std::numbers::pi * j / slices;
        auto f = [roundness](double c) {
            return (c < 0 ? -1.0 : 1.0) * std::pow(std::fabs(c), roundness);
        };
        return TVector3f{float(size.X / 2 * f(std::cos(phi)) * f(std::cos(theta))),
                         float(size.Y / 2 * f(std::sin(phi))),
                         float(size.Z / 2 * f(std::cos(phi)) * f(std::sin(theta)))};
    };
    auto mesh = std::make_shared<TMesh>();
    auto tri = [&mesh](TVector3f a, TVector3f b, TVector3f c) {
        const TVector3f n = Normalized(Cross(b - a, c - a));
        for (const TVector3f& p : {a, b, c}) {
            mesh->Positions.push_back(p);
            mesh->Normals.push_back(n);
        }
    };
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            const TVector3f a = point(i, j), b = point(i, j + 1), c = point(i + 1, j + 1),
                            d = point(i + 1, j);
            tri(a, c, b);
            tri(a, d, c);
        }
    }
    return mesh;
}

struct TModel {
    TScene Scene;
    std::vector<TMeshPtr> Meshes;
    std::vector<TMeshPtr> Coarse;  ///< the kit's lores meshes (none for synthetic parts)
    uint64_t Triangles = 0;
    int Side = 0;
    float Spacing = 0;
};

// Parts of eight definitions on a square floor plan, a few layers high, in kit sizes (mm,
// scaled by 0.1 like every placed part), each turned at random.
// A kit part's detailed or coarse mesh as the build wrote it, with its normals.
TMeshPtr KitMesh(const std::string& folder, const std::string& number) {
    auto mesh = std::make_shared<TMesh>();
    const std::string base = std::string(KX_RUNTIME_DIR) + "/" + folder + "/" + number;
    if (!LoadStlFile(base + ".stl", *mesh)) {
        return nullptr;
    }
    LoadNormalsFromFile(*mesh, base + ".nrm");
    return mesh;
}

// kitMeshes: eight parts of the kit with their detailed and coarse meshes, instead of the
// synthetic rounded bricks (which have no coarse meshes of their own).
std::unique_ptr<TModel> MakeModel(int parts, bool kitMeshes = false) {
    auto model = std::make_unique<TModel>();
    BuildMainScene(model->Scene);
    model->Scene.SetBackgroundColor({0.94f, 0.94f, 0.94f});
    const TVector3f sizes[8] = {{30, 15, 15},   {15, 15, 15}, {60, 7.5f, 15}, {15, 30, 15},
                                {45, 15, 7.5f}, {20, 20, 20}, {30, 5, 30},    {15, 15, 60}};
    const char* numbers[8] = {"40001", "40002", "40004", "40005",
                              "40205", "40705", "40103", "40402"};
    for (int k = 0; k < 8; ++k) {
        TMeshPtr hires = kitMeshes ? KitMesh("hires", numbers[k]) : nullptr;
        TMeshPtr lores = kitMeshes ? KitMesh("lores", numbers[k]) : nullptr;
        if (!hires) {
            hires = MakePartMesh(sizes[k], 0.3f + 0.05f * k, 1000 + k * 570);
        }
        model->Meshes.push_back(hires);
        model->Coarse.push_back(lores);
    }
    std::mt19937 random(42);
    std::uniform_real_distribution<float> unit(-1, 1);
    const int layers = parts >= 10000 ? 10 : 4;
    const int side = int(std::ceil(std::sqrt(double(parts) / layers)));
    const float spacing = 7;  // scene units (70 mm)
    model->Side = side;
    model->Spacing = spacing;
    TDummyCube& root = *model->Scene.PartsRoot();
    for (int i = 0; i < parts; ++i) {
        const int layer = i / (side * side);
        const int cell = i % (side * side);
        const std::string name = "F" + std::to_string(31000 + i % 8) + "_" + std::to_string(i);
        auto& part = root.AddNewChild<TFreeForm>(name);
        const TMeshPtr& mesh = model->Meshes[(i * 7 + layer) % 8];
        part.SetMesh(mesh);
        part.SetCoarseMesh(model->Coarse[size_t((i * 7 + layer) % 8)]);
        part.SetScale(0.1f);
        part.SetPosition({(float(cell % side) - side / 2.0f) * spacing, float(layer) * 4,
                          (float(cell / side) - side / 2.0f) * spacing});
        part.SetOrientation({unit(random), unit(random), unit(random)},
                            {unit(random), unit(random), unit(random)});
        auto material =
            model->Scene.MaterialLibrary().Add(TMaterialLibrary::PartMaterialName(name));
        material->SetDiffuseColor({0.3f + 0.7f * float(i % 3) / 2, 0.2f + 0.1f * float(i % 5),
                                   0.9f - 0.3f * float(i % 4)});
        material->SetBlending(TBlendingMode::Transparent);
        part.LinkLibMaterial(material);
        model->Triangles += mesh->TriangleCount();
    }
    // The whole model in view: back off until its floor plan's diagonal fits.
    const float radius = side * spacing * 0.6f;
    const float distance = radius / std::tan(36.87f / 2 * float(std::numbers::pi) / 180);
    model->Scene.Camera()->SetPosition({0, distance * 0.6f, -distance * 0.8f});
    model->Scene.CameraLightToCamera();
    return model;
}

// The reference: the renderer's lit program, one instance buffer per mesh made once, one
// instanced draw per mesh per frame.
struct TReference {
    struct TBatch {
        const TGlGpuMesh* Gpu;
        TGlVertexArray Vao;
        TGlBuffer Instances;
        GLsizei Count;
    };
    std::vector<TBatch> Batches;

    TReference(TRenderer& renderer, const TGlFrame& frame) {
        std::vector<std::vector<TGlInstance>> perMesh;
        std::vector<const TMesh*> keys;
        std::vector<TMeshPtr> meshes;
        for (const TGlMeshItem& item : frame.Meshes) {
            size_t k = std::find(keys.begin(), keys.end(), item.Mesh.get()) - keys.begin();
            if (k == keys.size()) {
                keys.push_back(item.Mesh.get());
                meshes.push_back(item.Mesh);
                perMesh.emplace_back();
            }
            TGlInstance inst{};
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 4; ++c) {
                    inst.Row[r][c] = item.World(r, c);
                }
            }
            const float d[4] = {item.Diffuse.R, item.Diffuse.G, item.Diffuse.B, 1};
            const float a[4] = {item.Ambient.R, item.Ambient.G, item.Ambient.B, 1};
            std::copy_n(d, 4, inst.Diffuse);
            std::copy_n(a, 4, inst.Ambient);
            perMesh[k].push_back(inst);
        }
        for (size_t k = 0; k < keys.size(); ++k) {
            TBatch b{renderer.MeshCache().Get(meshes[k]), MakeGlVertexArray(), MakeGlBuffer(),
                     GLsizei(perMesh[k].size())};
            glBindVertexArray(b.Vao.Get());
            b.Gpu->BindVertexAttributes();
            glBindBuffer(GL_ARRAY_BUFFER, b.Instances.Get());
            glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(perMesh[k].size() * sizeof(TGlInstance)),
                         perMesh[k].data(), GL_STATIC_DRAW);
            SetupInstanceAttributes();
            glBindVertexArray(0);
            Batches.push_back(std::move(b));
        }
    }

    void Draw(TRenderer& renderer, const TGlFrame& frame, const TGlViewport& viewport) {
        renderer.UseSurfaceProgram(frame, viewport);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
        glClearColor(frame.Background.R, frame.Background.G, frame.Background.B, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (const TBatch& b : Batches) {
            glBindVertexArray(b.Vao.Get());
            b.Gpu->DrawInstanced(b.Count);
        }
        glBindVertexArray(0);
    }
};

double Seconds(TClock::time_point since) {
    return std::chrono::duration<double>(TClock::now() - since).count();
}

// Processor time of every thread of the process (the software GL draws on several): on a
// machine shared with other work it varies far less than the time on the clock.
double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// One run: a renderer frame and a reference frame per iteration, alternating, so both see the
// same machine load. The camera turns a little every frame, so the renderer walks the scene
// each time (nothing is uploaded: no part changed).
void BM_RenderParts(benchmark::State& state) {
    THeadlessContext context;
    if (!context.Valid()) {
        state.SkipWithError(context.Error().c_str());
        return;
    }
    const int parts = int(state.range(0));
    auto model = MakeModel(parts);
    TRenderer renderer;
    // Every detailed mesh, as the reference draws it.
    TDetailSettings all = FullDetail();
    all.Culling = false;
    renderer.SetDetail(all);
    TGlRenderTarget target;
    target.Resize(kWidth, kHeight, 0);
    const TGlViewport viewport = target.Viewport();
    renderer.Draw(model->Scene, viewport);  // uploads the meshes and instances once
    glFinish();
    TSceneFrameBuilder builder;
    TReference reference(renderer, builder.Build(model->Scene, kWidth, kHeight));

    double rendererSeconds = 0, referenceSeconds = 0;
    int frames = 0;
    float turn = 0;
    for (auto _ : state) {
        turn = turn > 0 ? -0.5f : 0.5f;
        model->Scene.Camera()->MoveAroundTarget(0, turn);
        auto start = TClock::now();
        renderer.Draw(model->Scene, viewport);
        glFinish();
        rendererSeconds += Seconds(start);

        const TGlFrame& frame = builder.Build(model->Scene, kWidth, kHeight);
        start = TClock::now();
        reference.Draw(renderer, frame, viewport);
        glFinish();
        referenceSeconds += Seconds(start);
        ++frames;
    }
    const double rendererMs = rendererSeconds / frames * 1000;
    const double referenceMs = referenceSeconds / frames * 1000;
    state.counters["renderer_ms"] = rendererMs;
    state.counters["reference_ms"] = referenceMs;
    state.counters["rate_vs_reference"] = referenceMs / rendererMs;
    state.counters["Mtri_per_s"] = double(model->Triangles) / (rendererMs / 1000) / 1e6;
    state.counters["Mtriangles"] = double(model->Triangles) / 1e6;
    state.counters["batches"] = renderer.LastStats().InstancedBatches;
    state.counters["uploads"] = renderer.LastStats().InstanceUploads;
    if (const char* picture = std::getenv("KX_BENCH_PICTURE")) {
        SavePng(std::string(picture) + std::to_string(parts) + ".png", target.ReadImage());
    }
}
BENCHMARK(BM_RenderParts)->Arg(1000)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderParts)->Arg(10000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Share of pixels that differ noticeably between two pictures of one size.
/// A pixel differs where one of its colours is off by more than about a tenth.
bool PixelDiffers(const TRgbaImage& a, const TRgbaImage& b, size_t i) {
    for (size_t c = 0; c < 3; ++c) {
        if (std::abs(int(a.Pixels[i + c]) - int(b.Pixels[i + c])) > 24) {
            return true;
        }
    }
    return false;
}

double DifferentPixels(const TRgbaImage& a, const TRgbaImage& b) {
    size_t differ = 0;
    for (size_t i = 0; i + 3 < a.Pixels.size(); i += 4) {
        differ += PixelDiffers(a, b, i) ? 1 : 0;
    }
    return double(differ) / double(a.Pixels.size() / 4);
}

/// Full detail, with the speed-ups, and the pixels that differ in red on white, side by side.
TRgbaImage SideBySide(const TRgbaImage& full, const TRgbaImage& fast) {
    constexpr int gap = 8;
    TRgbaImage out;
    out.Width = full.Width * 3 + gap * 2;
    out.Height = full.Height;
    out.Pixels.assign(size_t(out.Width) * size_t(out.Height) * 4, 255);
    for (int y = 0; y < full.Height; ++y) {
        for (int x = 0; x < full.Width; ++x) {
            const size_t i = (size_t(y) * size_t(full.Width) + size_t(x)) * 4;
            std::copy_n(full.At(x, y), 4, out.At(x, y));
            std::copy_n(fast.At(x, y), 4, out.At(full.Width + gap + x, y));
            if (PixelDiffers(full, fast, i)) {
                uint8_t* d = out.At(2 * (full.Width + gap) + x, y);
                d[1] = d[2] = 0;
            }
        }
    }
    return out;
}

// Culling and level of detail against every part drawn with its detailed mesh, at rest and
// while the camera moves; the model seen whole (view 0) and a close-up of a corner (view 1).
// Both renderers draw in turn in the same run, so the ratio holds whatever the machine's load.
void BM_RenderDetail(benchmark::State& state) {
    THeadlessContext context;
    if (!context.Valid()) {
        state.SkipWithError(context.Error().c_str());
        return;
    }
    const int parts = int(state.range(0));
    const bool closeUp = state.range(1) == 1;
    const auto loadStart = TClock::now();
    auto model = MakeModel(parts, true);
    const double buildSeconds = Seconds(loadStart);
    if (closeUp) {
        // The camera's target moves to a corner of the model, the camera close in front of it.
        const float corner = model->Side / 2.0f * model->Spacing;
        TSceneCamera& camera = *model->Scene.Camera();
        if (TSceneObject* target = camera.TargetObject()) {
            target->SetPosition({corner, 4, corner});
        }
        camera.SetPosition({corner + 12, 14, corner + 16});
        model->Scene.CameraLightToCamera();
    }
    TDetailSettings all = FullDetail();
    all.Culling = false;
    TRenderer full, fast;
    full.SetDetail(all);
    TGlRenderTarget fullTarget, fastTarget;
    fullTarget.Resize(kWidth, kHeight, 0);
    fastTarget.Resize(kWidth, kHeight, 0);
    const auto firstStart = TClock::now();
    fast.Draw(model->Scene, fastTarget.Viewport());
    glFinish();
    const double firstSeconds = Seconds(firstStart);
    full.Draw(model->Scene, fullTarget.Viewport());
    glFinish();
    const TRgbaImage reference = full.RenderImage(model->Scene, kWidth, kHeight);
    const auto differenceWith = [&](const TDetailSettings& settings) {
        fast.SetDetail(settings);
        fast.Draw(model->Scene, fastTarget.Viewport());
        const double d = DifferentPixels(reference, fastTarget.ReadImage());
        fast.SetDetail({});
        return d;
    };
    TDetailSettings moving;
    moving.Moving = true;
    // At rest first: last frame's choice sways the next one's near the switch points.
    const double difference = differenceWith({});
    const double movingDifference = differenceWith(moving);
    if (const char* picture = std::getenv("KX_BENCH_PICTURE")) {
        const std::string name =
            std::string(picture) + std::to_string(parts) + (closeUp ? "-corner" : "-whole");
        const TRgbaImage fullPicture = full.RenderImage(model->Scene, kWidth, kHeight);
        fast.Draw(model->Scene, fastTarget.Viewport());
        SavePng(name + "-side-by-side.png", SideBySide(fullPicture, fastTarget.ReadImage()));
    }

    double fullSeconds = 0, fastSeconds = 0, movingSeconds = 0;
    double fullCpu = 0, fastCpu = 0, movingCpu = 0;
    int frames = 0;
    float turn = 0;
    for (auto _ : state) {
        turn = turn > 0 ? -0.5f : 0.5f;
        model->Scene.Camera()->MoveAroundTarget(0, turn);
        auto start = TClock::now();
        double cpu = ProcessorSeconds();
        full.Draw(model->Scene, fullTarget.Viewport());
        glFinish();
        fullSeconds += Seconds(start);
        fullCpu += ProcessorSeconds() - cpu;

        fast.SetDetail({});
        start = TClock::now();
        cpu = ProcessorSeconds();
        fast.Draw(model->Scene, fastTarget.Viewport());
        glFinish();
        fastSeconds += Seconds(start);
        fastCpu += ProcessorSeconds() - cpu;

        fast.SetDetail(moving);
        start = TClock::now();
        cpu = ProcessorSeconds();
        fast.Draw(model->Scene, fastTarget.Viewport());
        glFinish();
        movingSeconds += Seconds(start);
        movingCpu += ProcessorSeconds() - cpu;
        ++frames;
    }
    fast.SetDetail({});
    fast.Draw(model->Scene, fastTarget.Viewport());
    const TRenderStats& stats = fast.LastStats();
    state.counters["full_ms"] = fullSeconds / frames * 1000;
    state.counters["fast_ms"] = fastSeconds / frames * 1000;
    state.counters["moving_ms"] = movingSeconds / frames * 1000;
    state.counters["speedup"] = fullSeconds / fastSeconds;
    state.counters["speedup_cpu"] = fullCpu / fastCpu;
    state.counters["fast_cpu_ms"] = fastCpu / frames * 1000;
    state.counters["diff_pct"] = difference * 100;
    state.counters["moving_diff_pct"] = movingDifference * 100;
    state.counters["speedup_moving_cpu"] = fullCpu / movingCpu;
    state.counters["Mtri_full"] = double(full.LastStats().Triangles) / 1e6;
    state.counters["Mtri_fast"] = double(stats.Triangles) / 1e6;
    state.counters["culled"] = stats.CulledItems;
    state.counters["coarse"] = stats.CoarseItems;
    state.counters["hidden"] = stats.HiddenItems;
    state.counters["draw_calls"] = stats.DrawCalls;
    state.counters["model_s"] = buildSeconds;
    state.counters["first_frame_s"] = firstSeconds;
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(f);
    }
    state.counters["rss_MB"] = double(resident) * 4096 / 1e6;
}
BENCHMARK(BM_RenderDetail)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderDetail)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// What the view spends once per part definition on its simpler meshes, on the kit's parts.
void BM_DetailLevels(benchmark::State& state) {
    auto model = MakeModel(8, true);
    uint64_t triangles = 0, levels = 0;
    double seconds = 0;
    for (auto _ : state) {
        const double start = ProcessorSeconds();
        triangles = levels = 0;
        for (size_t k = 0; k < model->Meshes.size(); ++k) {
            for (const TDetailLevel& level :
                 BuildDetailLevels(model->Meshes[k], model->Coarse[k])) {
                triangles += level.Mesh->TriangleCount();
                ++levels;
            }
        }
        seconds += ProcessorSeconds() - start;
    }
    state.counters["ms_per_part"] =
        seconds * 1000 / double(state.iterations()) / double(model->Meshes.size());
    state.counters["levels_per_part"] = double(levels) / double(model->Meshes.size());
    state.counters["triangles_all_levels"] = double(triangles);
}
BENCHMARK(BM_DetailLevels)->Unit(benchmark::kMillisecond);

// The renderer's own work per frame without GL: walking the scene after a camera move.
void BM_BuildFrame(benchmark::State& state) {
    auto model = MakeModel(int(state.range(0)));
    TSceneFrameBuilder builder;
    float turn = 0.5f;
    for (auto _ : state) {
        model->Scene.Camera()->MoveAroundTarget(0, turn = -turn);
        benchmark::DoNotOptimize(builder.Build(model->Scene, kWidth, kHeight).Meshes.size());
    }
}
BENCHMARK(BM_BuildFrame)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
