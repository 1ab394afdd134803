// Model core speed: adding parts one by one, finding and refreshing them, undo snapshots.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

/// The program folder the benchmark places parts from: the bundled kit when the build has
/// made it, otherwise a few generated definitions in a scratch folder.
class TBenchKit {
public:
    TBenchKit() {
        m_scratch = fs::temp_directory_path() / ("kxbench-model-" + std::to_string(::getpid()));
        fs::create_directories(m_scratch);
        SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, m_scratch / "config",
                                            m_scratch / "sysconfig"));
        const fs::path kit = fs::path(KX_RUNTIME_DIR);
        if (fs::is_directory(kit / "def") && fs::is_directory(kit / "hires")) {
            TPartFiles files(kit, m_scratch / "user");
            for (const std::string& number : files.DefinitionNumbers()) {
                if (files.FindPart("hires", number, "stl")) {
                    Numbers.push_back(number);
                }
                if (Numbers.size() >= 24) {
                    break;
                }
            }
            if (!Numbers.empty()) {
                ProgramDir = kit;
                Source = "bundled kit";
                return;
            }
        }
        ProgramDir = m_scratch / "prog";
        Source = "generated definitions";
        for (int i = 0; i < 8; ++i) {
            TDefObj def;
            def.Number = std::to_string(31000 + i);
            def.Red = static_cast<uint8_t>(30 * i);
            def.OffsetX = i % 2;
            for (int c = 0; c < 6; ++c) {
                TConn conn;
                conn.Typ = c % 2;
                conn.X = static_cast<float>(c * 15);
                def.Conns.push_back(conn);
            }
            SaveDefinition(def, ProgramDir / "def" / (def.Number + ".def"));
            TMesh mesh;
            for (int t = 0; t < 200; ++t) {
                const auto z = static_cast<float>(t);
                mesh.Positions.insert(mesh.Positions.end(), {{0, 0, z}, {10, 0, z}, {0, 10, z}});
                mesh.Normals.insert(mesh.Normals.end(), {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
            }
            WriteStlFile(ProgramDir / "hires" / (def.Number + ".stl"), mesh);
            Numbers.push_back(def.Number);
        }
    }
    ~TBenchKit() {
        std::error_code ec;
        fs::remove_all(m_scratch, ec);
    }

    fs::path ProgramDir;
    std::vector<std::string> Numbers;
    std::string Source;

private:
    fs::path m_scratch;
};

TBenchKit& Kit() {
    static TBenchKit kit;
    return kit;
}

/// A scene and a model over the kit, with caches that stay warm between iterations.
struct TBenchModel {
    TBenchModel()
        : Files(Kit().ProgramDir, Kit().ProgramDir / "no-user-folder"),
          Model(Built(Scene), Files, Defs, Meshes) {}

    static TScene& Built(TScene& scene) {
        BuildMainScene(scene);
        return scene;
    }

    void AddParts(int count) {
        const auto& numbers = Kit().Numbers;
        for (int i = 0; i < count; ++i) {
            Model.AddBaustein(numbers[static_cast<size_t>(i) % numbers.size()]);
        }
    }

    TScene Scene;
    TPartFiles Files;
    TDefCache Defs;
    TffCache Meshes;
    TkxMain Model;
};

// Adding parts one by one, each with its undo snapshot, as the user does.
void BM_AddPartsOneByOne(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<TBenchModel>();
        model->AddParts(1);  // meshes and definitions cached, as in a session
        state.ResumeTiming();
        model->AddParts(count - 1);
        benchmark::DoNotOptimize(model->Model.Parts().Count());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetLabel(Kit().Source);
    state.counters["us_per_part"] =
        benchmark::Counter(static_cast<double>(count) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddPartsOneByOne)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Finding every part by name and refreshing its record from a moved object.
void BM_FindAndRefreshEveryPart(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    TBenchModel model;
    model.AddParts(count);
    std::vector<std::string> names;
    for (const auto& r : model.Model.Parts()) {
        names.push_back(r->Name());
    }
    float x = 0;
    for (auto _ : state) {
        x += 1;
        for (const std::string& name : names) {
            TBauteil* record = model.Model.FindBauteil(name);
            record->Object()->SetPosition({x, 0, 0});
            model.Model.RefreshBauteil(name, true, -1);
        }
    }
    state.SetLabel(Kit().Source);
}
BENCHMARK(BM_FindAndRefreshEveryPart)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

double ThreadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

/// Adds count parts to a fresh model, then finds and refreshes each; the best of `rounds`
/// thread-CPU times of both steps, so that other load on the machine counts as little as it can.
std::pair<double, double> BestAddAndRefresh(int count, int rounds) {
    double add = 1e9;
    double refresh = 1e9;
    for (int round = 0; round < rounds; ++round) {
        auto model = std::make_unique<TBenchModel>();
        model->AddParts(1);
        double t = ThreadSeconds();
        model->AddParts(count - 1);
        add = std::min(add, ThreadSeconds() - t);
        std::vector<std::string> names;
        for (const auto& r : model->Model.Parts()) {
            names.push_back(r->Name());
        }
        t = ThreadSeconds();
        for (const std::string& name : names) {
            model->Model.FindBauteil(name)->Object()->SetPosition({1, 0, 0});
            model->Model.RefreshBauteil(name, true, -1);
        }
        refresh = std::min(refresh, ThreadSeconds() - t);
    }
    return {add, refresh};
}

// 10,000 against 20,000 parts in the same run: the ratio shows whether anything grows faster
// than the number of parts.
void BM_ScalingTenToTwentyThousand(benchmark::State& state) {
    std::pair<double, double> ten;
    std::pair<double, double> twenty;
    for (auto _ : state) {
        ten = BestAddAndRefresh(10000, 3);
        twenty = BestAddAndRefresh(20000, 3);
    }
    state.counters["add10k_ms"] = ten.first * 1e3;
    state.counters["add20k_ms"] = twenty.first * 1e3;
    state.counters["add_ratio"] = twenty.first / ten.first;
    state.counters["refresh10k_ms"] = ten.second * 1e3;
    state.counters["refresh20k_ms"] = twenty.second * 1e3;
    state.counters["refresh_ratio"] = twenty.second / ten.second;
    state.SetLabel(Kit().Source);
}
BENCHMARK(BM_ScalingTenToTwentyThousand)->Unit(benchmark::kMillisecond)->Iterations(1);

// One undo snapshot of 10,000 parts after a typical step: one part moved.
void BM_UndoSnapshotAfterOneMove(benchmark::State& state) {
    TBenchModel model;
    model.AddParts(static_cast<int>(state.range(0)));
    TBauteil& moved = model.Model.Parts()[model.Model.Parts().Count() / 2];
    float x = 0;
    for (auto _ : state) {
        state.PauseTiming();
        moved.SetPosition({x += 1, 0, 0});
        state.ResumeTiming();
        model.Model.MakeUndoSnapshot("btnXPosClick", "");
    }
}
BENCHMARK(BM_UndoSnapshotAfterOneMove)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The worst case: every record changed since the last snapshot, so all are copied.
void BM_UndoSnapshotEveryPartChanged(benchmark::State& state) {
    TBenchModel model;
    model.AddParts(static_cast<int>(state.range(0)));
    int phase = 1;
    for (auto _ : state) {
        state.PauseTiming();
        phase = 3 - phase;
        for (const auto& r : model.Model.Parts()) {
            r->SetPhase(phase);
        }
        state.ResumeTiming();
        model.Model.MakeUndoSnapshot("btnXPosClick", "");
    }
}
BENCHMARK(BM_UndoSnapshotEveryPartChanged)->Arg(10000)->Unit(benchmark::kMillisecond);

// Undo of a 10,000-part model: every object rebuilt from its record.
void BM_UndoRebuild(benchmark::State& state) {
    TBenchModel model;
    model.AddParts(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        model.Model.MakeUndoSnapshot("btnXPosClick", "");
        state.ResumeTiming();
        model.Model.DoUndo();
    }
}
BENCHMARK(BM_UndoRebuild)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// What saving, loading and every undo add to know whether the model equals its file: the
// model written as file lines once (without touching the disk).
void BM_MarkSaved(benchmark::State& state) {
    TBenchModel model;
    model.AddParts(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        model.Model.MarkSaved();
    }
}
BENCHMARK(BM_MarkSaved)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The call every change makes: it must cost nothing once the model is marked.
void BM_MarkModified(benchmark::State& state) {
    TBenchModel model;
    model.AddParts(1);
    for (auto _ : state) {
        model.Model.MarkModified();
        benchmark::DoNotOptimize(model.Model.IsModified());
    }
}
BENCHMARK(BM_MarkModified)->Unit(benchmark::kNanosecond);

}  // namespace
