// Parts lists and sheets: the library's sheets written to PDF (the long job that shows a
// progress bar), and the CSV rows and sheet layout of a model of many parts.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "bench_support.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/u_TBauteil.h"
#include "model/u_partslist.h"
#include "printing/sheetpdf.h"
#include "printing/u_sheetitems.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

/// The bundled kit's library.
struct TKit {
    TKit() : Files(fs::path(KX_RUNTIME_DIR), Scratch.Path() / "user") {}
    kxbench::TScratch Scratch;
    TPartFiles Files;
};

void BM_LibrarySheetsToPdf(benchmark::State& state) {
    TKit kit;
    TDefCache defs;
    const auto items = LibraryItems(kit.Files, defs, {}, nullptr);
    if (!items || items->empty()) {
        state.SkipWithError("the build has no kit");
        return;
    }
    const QString file = QString::fromStdString((kit.Scratch.Path() / "library.pdf").string());
    int pages = 0;
    for (auto _ : state) {
        auto sheet = NewPartsSheet(*items, kit.Files, defs, {});
        WriteSheetPdf(*sheet, file, DefaultSheetLayout());
        pages = sheet->Page;
    }
    state.counters["boxes"] = static_cast<double>(items->size());
    state.counters["pages"] = pages;
    state.counters["bytes"] = static_cast<double>(fs::file_size(file.toStdString()));
}
BENCHMARK(BM_LibrarySheetsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

/// n placed parts of the bundled kit: the per-number counts behind the CSV list and the printed
/// sheet, and the boxes of every printed page.
void BM_CountAndLayOut(benchmark::State& state) {
    TKit kit;
    const auto numbers = kit.Files.DefinitionNumbers();
    TBauteilList parts;
    for (int i = 0; i < state.range(0); ++i) {
        auto record = std::make_unique<TBauteil>();
        record->SetName("F" + numbers[static_cast<size_t>(i) % numbers.size()] + "_" +
                        std::to_string(i + 1));
        record->SetPrintable(1);
        parts.Append(std::move(record));
    }
    TDefCache defs;
    for (auto _ : state) {
        const auto rows = PartsListRows(parts, kit.Files, {});
        benchmark::DoNotOptimize(PartsListCsvLines(rows, true));
        auto sheet = NewPartsSheet(OverviewItems(parts), kit.Files, defs, {});
        benchmark::DoNotOptimize(sheet->CountPages(2000, 2870));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CountAndLayOut)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    kxbench::TScratch settings;
    SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, settings.Path() / "config",
                                        settings.Path() / "system"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetParam(nullptr);
    return 0;
}
