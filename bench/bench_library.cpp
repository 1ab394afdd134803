// Library speed: 2,000 generated definitions with icons read into the tiles; a large collection.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_library_data.h"
#include "catalogue/u_library.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_text.h"

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

// A collection file of 100,000 distinct lines, 2,000 of them parts the library knows, merged
// into an empty collection: read, checked, indexed and tiled.
void BM_CollectionOpen100000(benchmark::State& state) {
    kxbench::TLibraryData data(2000);
    kx::TPartFiles files(data.ProgramDir(), data.UserDir());
    kx::TPartLibrary library;
    TNoIcons port;
    library.Fill(files, {}, port);
    std::vector<std::string> lines;
    for (int i = 0; i < 100000; ++i) {
        lines.push_back(kx::IntToStr(30000 + i) + "#" + kx::IntToStr(1 + i % 7));
    }
    const std::filesystem::path file = data.ProgramDir() / "gross.kxc";
    kx::WriteTextFile(file, lines);
    for (auto _ : state) {
        library.Collection().Clear();
        const bool read = library.MergeCollection(file);
        if (!read || library.Collection().Items.size() != 100000) {
            state.SkipWithError("collection not read whole");
        }
    }
}
BENCHMARK(BM_CollectionOpen100000)->Unit(benchmark::kMillisecond);

}  // namespace
