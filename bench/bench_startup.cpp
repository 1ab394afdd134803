// Start to a usable main window: with the bundled kit, and with a library of 2,000 definitions.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "app/Main.h"
#include "bench_library_data.h"
#include "foundation/u_param.h"

namespace {

/// Lays the given part folders over the (empty) program folder through the user's data folder.
class TUserOverlay {
public:
    explicit TUserOverlay(const std::filesystem::path& source) {
        const std::filesystem::path user =
            std::filesystem::path(m_home.path().toStdString()) / "korvex-designer";
        std::filesystem::create_directories(user);
        for (const char* sub : {"def", "hires", "lores", "icon"}) {
            if (std::filesystem::exists(source / sub)) {
                std::filesystem::create_directory_symlink(source / sub, user / sub);
            }
        }
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        qputenv("KORVEX_CONFIG_DIR", (m_home.path() + QStringLiteral("/config")).toUtf8());
        kx::SetParam(std::make_unique<kx::TkxParam>());
    }
    ~TUserOverlay() { kx::SetParam(nullptr); }

private:
    QTemporaryDir m_home;
};

void StartMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto form = std::make_unique<kx::TMainForm>();
        form->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.get());
        state.PauseTiming();
        form->hide();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_StartWithTheKit(benchmark::State& state) {
    TUserOverlay overlay(KX_RUNTIME_DIR);
    StartMainWindow(state);
}
BENCHMARK(BM_StartWithTheKit)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StartWith2000Definitions(benchmark::State& state) {
    kxbench::TLibraryData data(2000);
    TUserOverlay overlay(data.ProgramDir());
    StartMainWindow(state);
}
BENCHMARK(BM_StartWith2000Definitions)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// The application object lives on main's stack: Qt must not be torn down by exit handlers.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
