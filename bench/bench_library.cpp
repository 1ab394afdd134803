// Library fill speed: 2,000 generated definitions with icons, read into the library's tiles.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bench_library_data.h"
#include "catalogue/u_library.h"
#include "catalogue/u_partfiles.h"

namespace {

// Icons go nowhere: the core alone, without decoding pictures.
class TNoIcons : public kx::TLibraryFillPort {
public:
    void FillStart(const std::string&, int) override {}
    void FillProgress(int) override {}
    int LoadIcon(const std::filesystem::path&) override { return ++m_count; }

private:
    int m_count = 0;
};

void BM_LibraryFill2000(benchmark::State& state) {
    kxbench::TLibraryData data(2000);
    for (auto _ : state) {
        kx::TPartFiles files(data.ProgramDir(), data.UserDir());  // listing included
        kx::TPartLibrary library;
        TNoIcons port;
        const auto r = library.Fill(files, {}, port);
        benchmark::DoNotOptimize(r.Shown);
        if (r.Found != 2000) {
            state.SkipWithError("wrong number of definitions");
        }
    }
}
BENCHMARK(BM_LibraryFill2000)->Unit(benchmark::kMillisecond);

}  // namespace
