// Model file speed: loading 10,000 and 20,000 placed parts, saving 10,000.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

#include "bench_support.h"

namespace fs = std::filesystem;

namespace {

using kxbench::TScratch;

constexpr int kDefinitions = 8;

std::string Number(int i) {
    return kx::IntToStr(31000 + i);
}

/// A program folder of kDefinitions parts with four connectors each, private settings, a
/// scene and the model; and model files of the sizes asked for.
class TBench {
public:
    TBench() : m_files(m_dir.Path() / "prog", m_dir.Path() / "user") {
        m_previousParam = kx::SetParam(std::make_unique<kx::TkxParam>(
            std::vector<std::string>{}, m_dir.Path() / "config", m_dir.Path() / "sys"));
        for (int i = 0; i < kDefinitions; ++i) {
            kx::TDefObj d;
            d.Number = Number(i);
            d.Red = static_cast<uint8_t>(30 * i);
            d.OrgNumber = d.Number;
            for (int c = 0; c < 4; ++c) {
                kx::TConn conn;
                conn.Typ = c % 2;
                conn.Thick = 4;
                conn.X = 7.5f * static_cast<float>(c);
                d.Conns.push_back(conn);
            }
            kx::SaveDefinition(d, m_dir.Path() / "prog" / "def" / (d.Number + ".def"));
            kx::TMesh mesh;
            for (int t = 0; t < 200; ++t) {
                const auto z = static_cast<float>(t);
                mesh.Positions.insert(mesh.Positions.end(), {{0, 0, z}, {15, 0, z}, {0, 15, z}});
                mesh.Normals.insert(mesh.Normals.end(), {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
            }
            kx::WriteStlFile(m_dir.Path() / "prog" / "hires" / (d.Number + ".stl"), mesh);
        }
        kx::BuildMainScene(m_scene);
        m_model = std::make_unique<kx::TkxMain>(m_scene, m_files, m_defs, m_meshes);
        m_model->DeleteAll();
    }
    ~TBench() {
        m_model.reset();
        kx::SetParam(std::move(m_previousParam));
    }

    kx::TkxMain& Model() { return *m_model; }
    std::string File(const std::string& name) const { return (m_dir.Path() / name).string(); }

    /// Fills the model with n parts in ten phases, posed at random as the tools leave them.
    void Fill(int n) {
        m_model->DeleteAll();
        std::mt19937 rng(42);
        std::uniform_real_distribution<float> d(-50, 50);
        kx::TUndoSuspension suspended(*m_model);
        for (int i = 0; i < n; ++i) {
            m_model->SetBauphase(1 + i * 10 / n);
            const std::string name = m_model->AddBaustein(Number(i % kDefinitions));
            kx::TFreeForm* o = m_model->LastAddedObject();
            o->SetPosition({d(rng), d(rng), d(rng)});
            o->SetTurnAngle(d(rng));
            o->SetPitchAngle(d(rng));
            m_model->RefreshBauteil(name, false, -1);
        }
    }

    /// Writes a model file of n parts once.
    std::string ModelFile(int n) {
        const std::string file = File("model" + kx::IntToStr(n) + ".kxm");
        if (!fs::exists(file)) {
            Fill(n);
            if (!m_model->SaveModell(file)) {
                throw std::runtime_error("cannot write the model file");
            }
            m_model->DeleteAll();
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

/// Opening a model file: the model is emptied beforehand, outside the measured time.
void BM_LoadModel(benchmark::State& state) {
    const std::string file = Bench().ModelFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Bench().Model().DeleteAll();
        state.ResumeTiming();
        const kx::TModelFileResult r = Bench().Model().LoadModell(file, true);
        if (!r) {
            state.SkipWithError(r.Error.c_str());
            break;
        }
    }
    state.counters["parts"] = static_cast<double>(Bench().Model().Parts().Count());
}
BENCHMARK(BM_LoadModel)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

/// Opening a model file over a model of the same size: emptying it (and keeping a copy in
/// case the load fails) is measured too.
void BM_ReplaceModel(benchmark::State& state) {
    const std::string file = Bench().ModelFile(static_cast<int>(state.range(0)));
    Bench().Model().LoadModell(file, true);
    for (auto _ : state) {
        const kx::TModelFileResult r = Bench().Model().LoadModell(file, true);
        if (!r) {
            state.SkipWithError(r.Error.c_str());
            break;
        }
    }
}
BENCHMARK(BM_ReplaceModel)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveModel(benchmark::State& state) {
    Bench().Fill(static_cast<int>(state.range(0)));
    const std::string file = Bench().File("saved.kxm");
    for (auto _ : state) {
        if (!Bench().Model().SaveModell(file)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(BM_SaveModel)->Arg(10000)->Unit(benchmark::kMillisecond);

/// What a recovery copy costs the window: the snapshot of the model. Turning it into lines and
/// writing the file happen on the recovery writer's thread (compare BM_SaveModel).
void BM_RecoverySnapshot(benchmark::State& state) {
    Bench().Fill(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kx::TModelFile snapshot = Bench().Model().ToModelFile();
        benchmark::DoNotOptimize(snapshot.Parts.data());
    }
}
BENCHMARK(BM_RecoverySnapshot)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
