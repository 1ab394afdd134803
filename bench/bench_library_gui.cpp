// Library fill speed with the panel: 2,000 definitions, icons decoded, every tile view laid out.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "bench_library_data.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_partfiles.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_library_gui";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication app(argc, argv);
    return app;
}

void BM_LibraryPanelFill2000(benchmark::State& state) {
    App();
    kxbench::TLibraryData data(2000);
    for (auto _ : state) {
        kx::TPartFiles files(data.ProgramDir(), data.UserDir());
        auto panel = std::make_unique<kx::TLibraryPanel>();
        panel->resize(1200, 160);
        const auto r = panel->Fill(files, {});
        benchmark::DoNotOptimize(r.Shown);
        if (panel->Icons().size() != static_cast<size_t>(r.Shown)) {
            state.SkipWithError("icons missing");
        }
        state.PauseTiming();
        panel.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LibraryPanelFill2000)->Unit(benchmark::kMillisecond);

}  // namespace
