// Plastic strips: replaying and baking a strip of 40 work steps, and loading a model with 50
// strips against the same model without them.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"
#include "generated/u_HalbzeugFlachband.h"
#include "model/MainObj.h"
#include "view/u_scene.h"

#include "bench_support.h"

namespace {

using kxbench::TScratch;

/// 40 steps: 24 holes (every third countersunk), 4 slots, 4 bends, a rounding and a cut.
std::vector<kx::THZModData> FortySteps() {
    std::vector<kx::THZModData> steps;
    for (int i = 0; i < 24; ++i) {
        steps.push_back({1, 10.0 + 12.0 * i, 0, 4, 0});
    }
    for (int i = 0; i < 8; i += 3) {
        steps.push_back({3, 10.0 + 12.0 * i, 0, 0, i % 2});
    }
    for (int i = 0; i < 4; ++i) {
        steps.push_back({2, 300.0 + 40.0 * i, 320.0 + 40.0 * i, 3, 0});
    }
    for (int i = 0; i < 4; ++i) {
        steps.push_back({5, 16.0 + 48.0 * i, 0, 0, i % 2 ? 45 : -45});
    }
    steps.push_back({4, 10, 0, 0, 0});
    steps.push_back({0, 470, 0, 0, 0});
    while (steps.size() < 40) {
        steps.push_back({1, 290, 0, 3, 0});
    }
    return steps;
}

class TBench {
public:
    TBench() : m_files(m_dir.Path() / "prog", m_dir.Path() / "user") {
        m_previousParam = kx::SetParam(std::make_unique<kx::TkxParam>(
            std::vector<std::string>{}, m_dir.Path() / "config", m_dir.Path() / "sys"));
        kx::TDefObj d;
        d.Number = "31000";
        kx::SaveDefinition(d, m_dir.Path() / "prog" / "def" / "31000.def");
        kx::TMesh mesh;
        for (int t = 0; t < 200; ++t) {
            const auto z = static_cast<float>(t);
            mesh.Positions.insert(mesh.Positions.end(), {{0, 0, z}, {15, 0, z}, {0, 15, z}});
            mesh.Normals.insert(mesh.Normals.end(), {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
        }
        kx::WriteStlFile(m_dir.Path() / "prog" / "hires" / "31000.stl", mesh);
        kx::BuildMainScene(m_scene);
        m_model = std::make_unique<kx::TkxMain>(m_scene, m_files, m_defs, m_meshes);
    }
    ~TBench() {
        m_model.reset();
        kx::SetParam(std::move(m_previousParam));
    }

    const kx::TPartFiles& Files() const { return m_files; }
    kx::TDefCache& Defs() { return m_defs; }
    kx::TffCache& Meshes() { return m_meshes; }
    kx::TkxMain& Model() { return *m_model; }

    /// A model file of 500 kit parts and, with strips, 50 strips of 40 steps, each placed once.
    std::string ModelFile(int strips) {
        kx::TModelFile f;
        f.Cameras.resize(kx::kStoredCameraCount);
        const auto part = [&f](const std::string& name, double x) {
            kx::TPartRecord p;
            p.StoredName = name;
            p.XPos = x;
            p.ZDir = 1;
            p.YUp = 1;
            p.Phase = 1;
            f.Parts.push_back(p);
        };
        for (int i = 0; i < 500; ++i) {
            part("F31000_" + kx::IntToStr(i + 1), i);
        }
        for (int s = 0; s < strips; ++s) {
            std::string number = kx::IntToStr(s + 1);
            number = "X" + std::string(4 - number.size(), '0') + number;
            f.SemiFinished.push_back({number, "Band", 0, FortySteps()});
            part("F" + number + "_1", s);
        }
        const std::string file =
            (m_dir.Path() / ("strips" + kx::IntToStr(strips) + ".kxm")).string();
        if (!kx::WriteTextFile(file, kx::ModelFileLines(f))) {
            throw std::runtime_error("cannot write the model file");
        }
        return file;
    }

private:
    TScratch m_dir;
    std::unique_ptr<kx::TkxParam> m_previousParam;
    kx::TPartFiles m_files;
    kx::TDefCache m_defs;
    kx::TffCache m_meshes;
    kx::TScene m_scene;
    std::unique_ptr<kx::TkxMain> m_model;
};

TBench& Bench() {
    static TBench bench;
    return bench;
}

/// Replaying 40 work steps on a fresh strip, building its pieces and writing its files.
void BM_ReplayAndBakeStrip(benchmark::State& state) {
    const kx::THZData part{"X0001", "Band", 0, FortySteps()};
    size_t triangles = 0;
    for (auto _ : state) {
        const kx::THZBakeResult r =
            kx::BakeSemiFinished(Bench().Files(), part, Bench().Defs(), Bench().Meshes());
        if (!r.Ok) {
            state.SkipWithError(r.Error.c_str());
            break;
        }
        triangles = r.Connectors;
    }
    state.counters["connectors"] = static_cast<double>(triangles);
}
BENCHMARK(BM_ReplayAndBakeStrip)->Unit(benchmark::kMillisecond);

/// Loading a model of 500 parts with 0 or 50 strips: the difference is what the strips cost.
void BM_LoadModelWithStrips(benchmark::State& state) {
    const std::string file = Bench().ModelFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const kx::TModelFileResult r = Bench().Model().LoadModell(file, true);
        if (!r || !r.MissingParts.empty()) {
            state.SkipWithError(r ? "parts missing" : r.Error.c_str());
            break;
        }
    }
    state.counters["parts"] = static_cast<double>(Bench().Model().Parts().Count());
}
BENCHMARK(BM_LoadModelWithStrips)->Arg(0)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
