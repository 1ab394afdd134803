// The library's exchanges: reading a listing of a large part folder and the history on the
// client, and answering a listing and a download on the server.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "online/u_libraryserver.h"
#include "online/u_webprotocol.h"

namespace {

std::string Listing(int lines) {
    std::string body;
    for (int i = 0; i < lines; ++i) {
        body += std::to_string(30000 + i) + ".def;" + std::to_string(1000 + i) +
                ";05.03.2014 17:22:09\r\n";
    }
    return body;
}

/// A data folder with `count` part files, made once per process.
const std::filesystem::path& PartFolder(int count) {
    static std::filesystem::path root;
    if (root.empty()) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kxbench-XXXXXX").string();
        root = mkdtemp(tmpl.data());
        std::filesystem::create_directories(root / "def");
        for (int i = 0; i < count; ++i) {
            std::ofstream(root / "def" / (std::to_string(30000 + i) + ".def"))
                << std::string(2048, 'd');
        }
        std::atexit([] { std::filesystem::remove_all(root); });
    }
    return root;
}

}  // namespace

static void BM_ParseDirectory(benchmark::State& state) {
    const std::string body = Listing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::ParseDirectory(body));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseDirectory)->Arg(5000);

static void BM_ParseHistory(benchmark::State& state) {
    std::string body;
    for (int i = 0; i < 2000; ++i) {
        body += "1." + std::to_string(i / 100) + "." + std::to_string(i % 100) +
                "|Eine Änderung, die etwas länger beschrieben wird.|" + std::to_string(i) + "~\r\n";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::ParseHistory(body, "1.9.0"));
    }
}
BENCHMARK(BM_ParseHistory);

static void BM_ServerListing(benchmark::State& state) {
    const kx::TLibraryServer server(PartFolder(2000), "");
    const std::multimap<std::string, std::string> query{{"dir", "def"}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(server.Handle("/phpdir.php", query));
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_ServerListing)->Unit(benchmark::kMillisecond);

static void BM_ServerDownload(benchmark::State& state) {
    const kx::TLibraryServer server(PartFolder(2000), "");
    const std::multimap<std::string, std::string> query{{"file", "def/31234.def"}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(server.Handle("/phpdownload.php", query));
    }
}
BENCHMARK(BM_ServerDownload);
