// Picking under the mouse in a model of 10,000 placed parts of the bundled kit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "view/u_pick.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

/// 10,000 kit parts on a 100 x 100 floor, 4 scene units apart, seen at a slant from above, so
/// that a ray through the view crosses many parts' boxes.
class TBigModel {
public:
    TBigModel() {
        m_scratch = fs::temp_directory_path() / ("kxbench-pick-" + std::to_string(::getpid()));
        fs::create_directories(m_scratch);
        SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, m_scratch / "config",
                                            m_scratch / "sysconfig"));
        m_files = std::make_unique<TPartFiles>(fs::path(KX_RUNTIME_DIR), m_scratch / "user");
        BuildMainScene(m_scene);
        m_model = std::make_unique<TkxMain>(m_scene, *m_files, m_defs, m_meshes);
        m_model->SetUndoSuppressed(true);
        std::vector<std::string> numbers;
        for (const std::string& n : m_files->DefinitionNumbers()) {
            if (m_files->FindPart("hires", n, "stl") && n.rfind("COL", 0) != 0) {
                numbers.push_back(n);
            }
        }
        if (numbers.empty()) {
            return;
        }
        for (int i = 0; i < 10000; ++i) {
            const std::string name = m_model->AddBaustein(numbers[i % numbers.size()]);
            TFreeForm* o = m_model->FindBauteil(name)->Object();
            o->SetPosition(
                {static_cast<float>(i % 100) * 4 - 200, 0, static_cast<float>(i / 100) * 4 - 200});
            o->SetTurnAngle(static_cast<float>((i * 37) % 360) - 180);
        }
        TSceneCamera& camera = *m_scene.Camera();
        camera.SetPosition({0, 120, -260});
        std::mt19937 random(3);
        std::uniform_int_distribution<int> x(0, kWidth - 1);
        std::uniform_int_distribution<int> y(0, kHeight - 1);
        for (int i = 0; i < 256; ++i) {
            m_rays.push_back(ViewRay(camera, x(random), y(random), kWidth, kHeight));
        }
    }
    ~TBigModel() {
        m_model.reset();
        std::error_code ec;
        fs::remove_all(m_scratch, ec);
    }
    bool Ready() const { return m_model && m_model->Parts().Count() == 10000; }

    fs::path m_scratch;
    std::unique_ptr<TPartFiles> m_files;
    TDefCache m_defs;
    TffCache m_meshes;
    TScene m_scene;
    std::unique_ptr<TkxMain> m_model;
    std::vector<TRay> m_rays;
};

TBigModel& Model() {
    static TBigModel model;
    return model;
}

void BM_PickUnderMouse10000(benchmark::State& state) {
    TBigModel& m = Model();
    if (!m.Ready()) {
        state.SkipWithError("no kit built beside the benchmark");
        return;
    }
    TPicker picker;
    picker.PickObjects(*m.m_scene.PartsRoot(), m.m_rays[0]);  // hierarchies of the kit's meshes
    size_t i = 0;
    size_t found = 0;
    for (auto _ : state) {
        const auto hits =
            picker.PickObjects(*m.m_scene.PartsRoot(), m.m_rays[i++ % m.m_rays.size()]);
        found += hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["hits_per_pick"] =
        benchmark::Counter(static_cast<double>(found) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_PickUnderMouse10000)->Unit(benchmark::kMillisecond);

void BM_PickAfterAPartMoved10000(benchmark::State& state) {
    TBigModel& m = Model();
    if (!m.Ready()) {
        state.SkipWithError("no kit built beside the benchmark");
        return;
    }
    TPicker picker;
    picker.PickObjects(*m.m_scene.PartsRoot(), m.m_rays[0]);
    TFreeForm* moved = m.m_model->Parts()[0].Object();
    size_t i = 0;
    for (auto _ : state) {
        // Any change in the scene makes the picker gather the objects' frames again.
        moved->Lift(i % 2 == 0 ? 0.01f : -0.01f);
        benchmark::DoNotOptimize(
            picker.PickObjects(*m.m_scene.PartsRoot(), m.m_rays[i++ % m.m_rays.size()]).size());
    }
}
BENCHMARK(BM_PickAfterAPartMoved10000)->Unit(benchmark::kMillisecond);

void BM_FirstPickBuildsHierarchies10000(benchmark::State& state) {
    TBigModel& m = Model();
    if (!m.Ready()) {
        state.SkipWithError("no kit built beside the benchmark");
        return;
    }
    for (auto _ : state) {
        TPicker picker;  // a fresh picker builds every mesh's hierarchy it meets
        benchmark::DoNotOptimize(picker.PickObjects(*m.m_scene.PartsRoot(), m.m_rays[1]).size());
    }
}
BENCHMARK(BM_FirstPickBuildsHierarchies10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
