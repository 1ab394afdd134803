// Exports to the exchange formats: a model of 1,000 and of 10,000 kit parts written as binary
// STL and as GLB, in bytes of output per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "model/u_modernexport.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

/// A model of `count` parts of the bundled kit, in rows on the floor.
class TBenchModel {
public:
    explicit TBenchModel(int count) : m_files(fs::path(KX_RUNTIME_DIR), m_scratch.Path() / "user") {
        SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, m_scratch.Path() / "config",
                                            m_scratch.Path() / "sysconfig"));
        BuildMainScene(m_scene);
        m_model = std::make_unique<TkxMain>(m_scene, m_files);
        // Everyday parts: blocks, girders, a joint and a turntable (300-2,200 triangles each).
        const char* numbers[] = {"40001", "40002", "40004", "40102", "40105", "40712"};
        for (int i = 0; i < count; ++i) {
            const std::string name = m_model->AddBaustein(numbers[i % 6]);
            if (TFreeForm* part = m_model->PartObject(name)) {
                part->SetPosition({float(i % 100) * 8, 0, float(i / 100) * 8});
            }
        }
    }
    TkxMain& Model() { return *m_model; }
    fs::path Out(const char* name) const { return m_scratch.Path() / name; }

private:
    kxbench::TScratch m_scratch;
    TPartFiles m_files;
    TScene m_scene;
    std::unique_ptr<TkxMain> m_model;
};

void Export(benchmark::State& state, TModernFormat format, const char* file) {
    TBenchModel bench(static_cast<int>(state.range(0)));
    if (bench.Model().Parts().Count() != static_cast<size_t>(state.range(0))) {
        state.SkipWithError("the bundled kit is missing: build kx_kit first");
        return;
    }
    std::string error;
    uintmax_t bytes = 0;
    for (auto _ : state) {
        if (!ExportModern(bench.Model(), format, bench.Out(file), error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        bytes += fs::file_size(bench.Out(file));
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["MB"] = static_cast<double>(fs::file_size(bench.Out(file))) / 1e6;
}

void BM_ExportStl(benchmark::State& state) {
    Export(state, TModernFormat::Stl, "model.stl");
}
void BM_ExportGlb(benchmark::State& state) {
    Export(state, TModernFormat::Glb, "model.glb");
}

BENCHMARK(BM_ExportStl)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportGlb)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
