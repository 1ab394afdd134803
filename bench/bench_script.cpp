// Script runs: starting a fresh interpreter for an empty script, and a script that places
// 1,000 parts of the bundled kit (as the window runs it: one undo step for the whole run).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "scripting/pyEngine.h"
#include "view/u_scene.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

struct TBenchModel {
    TBenchModel()
        : Scratch(fs::temp_directory_path() / ("kxbench-script-" + std::to_string(::getpid()))),
          Files(fs::path(KX_RUNTIME_DIR), Scratch / "user") {
        SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, Scratch / "config",
                                            Scratch / "sysconfig"));
        BuildMainScene(Scene);
        Model = std::make_unique<TkxMain>(Scene, Files);
        Context.Model = Model.get();
        Context.Scene = &Scene;
        Context.Files = &Files;
        Context.ProgramDir = KX_RUNTIME_DIR;
    }
    ~TBenchModel() {
        Model.reset();
        SetParam(nullptr);
        std::error_code ec;
        fs::remove_all(Scratch, ec);
    }
    fs::path Scratch;
    TPartFiles Files;
    TScene Scene;
    std::unique_ptr<TkxMain> Model;
    TScriptContext Context;
    TPyEngine Engine;
};

void FreshInterpreterEmptyScript(benchmark::State& state) {
    TBenchModel bench;
    for (auto _ : state) {
        const TScriptResult result = bench.Engine.Run("", bench.Context, {});
        if (!result.Ok()) {
            state.SkipWithError(result.Error.c_str());
            break;
        }
    }
}
BENCHMARK(FreshInterpreterEmptyScript)->Unit(benchmark::kMillisecond);

void ScriptAddingThousandParts(benchmark::State& state) {
    TBenchModel bench;
    const std::string script =
        "import kxd\n"
        "for i in range(1000):\n"
        "    kxd.AddPart('40001')\n"
        "    kxd.GetPartAtIndex(i).Object3D.Position.x = i * 1.5\n";
    for (auto _ : state) {
        state.PauseTiming();
        bench.Model->DeleteAll();
        state.ResumeTiming();
        bench.Model->MakeUndoSnapshot("Python");
        TUndoSuspension suspended(*bench.Model);
        const TScriptResult result = bench.Engine.Run(script, bench.Context, {});
        if (!result.Ok() || bench.Model->Parts().Count() != 1000) {
            state.SkipWithError(("the script failed: " + result.Error).c_str());
            break;
        }
    }
}
BENCHMARK(ScriptAddingThousandParts)->Unit(benchmark::kMillisecond);

}  // namespace
