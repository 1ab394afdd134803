// Speed of the coordinates manager on a large selection: one drag step of a slider moves every
// co-selected part, and each part's refresh makes every dimension of the model follow.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "placement/u_positioning.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

/// A model of `parts` parts of the bundled kit, all selected, with `dimensions` dimensions.
struct TBenchModel {
    TBenchModel(int parts, int dimensions)
        : Files(std::filesystem::path(KX_RUNTIME_DIR), Scratch.Path() / "user") {
        SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, Scratch.Path() / "config",
                                            Scratch.Path() / "sysconfig"));
        BuildMainScene(Scene);
        Model = std::make_unique<TkxMain>(Scene, Files, Defs, Meshes);
        Positioning = std::make_unique<TPositioning>(*Model);
        std::vector<std::string> names;
        for (int i = 0; i < parts; ++i) {
            names.push_back(Model->AddBaustein("40001"));
            Model->PartObject(names.back())->SetPosition({float(i % 20) * 2, 0, float(i / 20) * 2});
            Model->RefreshBauteil(names.back(), false, -1);
        }
        for (int i = 0; i < dimensions; ++i) {
            Model->AddMeasurement(Model->PartObject(names[size_t(i) % names.size()]),
                                  Model->PartObject(names[size_t(i + 1) % names.size()]));
        }
        TUndoSuspension quiet(*Model);
        Model->SelectBaustein(names.front());
        for (size_t i = 1; i < names.size(); ++i) {
            Model->CoSelectBaustein(names[i], true, true, true);
        }
        Positioning->SetActiveObject(Model->SelectedPart());
    }
    ~TBenchModel() {
        Positioning.reset();
        Model.reset();
        SetParam(nullptr);
    }

    kxbench::TScratch Scratch;
    TPartFiles Files;
    TScene Scene;
    TDefCache Defs;
    TffCache Meshes;
    std::unique_ptr<TkxMain> Model;
    std::unique_ptr<TPositioning> Positioning;
};

void BM_SliderStep(benchmark::State& state) {
    TBenchModel m(int(state.range(0)), int(state.range(1)));
    int dx = 20;
    for (auto _ : state) {
        m.Positioning->DragSlider(2, dx);
        dx = -dx;
    }
    state.counters["parts"] = double(state.range(0));
    state.counters["dimensions"] = double(state.range(1));
}
BENCHMARK(BM_SliderStep)
    ->Args({10, 0})
    ->Args({100, 0})
    ->Args({100, 20})
    ->Args({500, 50})
    ->Unit(benchmark::kMillisecond);

void BM_QuarterTurnAboutConnector(benchmark::State& state) {
    TBenchModel m(int(state.range(0)), int(state.range(1)));
    m.Positioning->ChooseCentre(2);
    for (auto _ : state) {
        m.Positioning->Rotate(TTurnAxis::Turn, 90);
    }
}
BENCHMARK(BM_QuarterTurnAboutConnector)
    ->Args({100, 20})
    ->Args({500, 50})
    ->Unit(benchmark::kMillisecond);

}  // namespace
