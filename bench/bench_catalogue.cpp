// Catalogue speed: the library's summaries of 1,000 definitions, and cached against parsed meshes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_text.h"

#include "bench_support.h"

namespace fs = std::filesystem;

namespace {

using kxbench::TScratch;

// A definition of typical size: a dozen connectors, German and English names.
kx::TDefObj SampleDefinition(int i) {
    kx::TDefObj d;
    d.Number = kx::IntToStr(30000 + i);
    d.Red = static_cast<uint8_t>(i * 7);
    d.Green = 120;
    d.Blue = 30;
    d.NameDe = "Baustein " + kx::IntToStr(i) + " mit Zapfen";
    d.NameEng = "Building block " + kx::IntToStr(i);
    d.OrgNumber = d.Number;
    d.Group = static_cast<uint8_t>(i % 9);
    d.SortOrder = 10 + 100 * i;
    d.Price = 0.35;
    d.Hide = i % 50 == 0;
    d.OffsetY = 7.5;
    for (int c = 0; c < 12; ++c) {
        kx::TConn conn;
        conn.Typ = c % 2;
        conn.Thick = 4.0f;
        conn.NameDe = "Zapfen";
        conn.NameEng = "Peg";
        conn.X = 15.0f * static_cast<float>(c % 3);
        conn.Y = 7.5f;
        conn.Z = 15.0f * static_cast<float>(c / 3);
        conn.PF = -90;
        d.Conns.push_back(conn);
    }
    return d;
}

// A rounded part of about 20,000 triangles (a finely divided torus).
kx::TMesh SampleMesh() {
    kx::TMesh m;
    const int rings = 100, sides = 100;
    auto point = [&](int r, int s) {
        const float a = 6.2831853f * static_cast<float>(r) / rings;
        const float b = 6.2831853f * static_cast<float>(s) / sides;
        const float rad = 30 + 8 * std::cos(b);
        return kx::TVector3f(rad * std::cos(a), 8 * std::sin(b), rad * std::sin(a));
    };
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sides; ++s) {
            const kx::TVector3f p[4] = {point(r, s), point(r + 1, s), point(r + 1, s + 1),
                                        point(r, s + 1)};
            for (const auto& tri : {std::array{0, 1, 2}, std::array{0, 2, 3}}) {
                const kx::TVector3f n =
                    kx::Normalized(kx::Cross(p[tri[1]] - p[tri[0]], p[tri[2]] - p[tri[0]]));
                for (int k : tri) {
                    m.Positions.push_back(p[k]);
                    m.Normals.push_back(n);
                }
            }
        }
    }
    return m;
}

}  // namespace

// The library fill: list def/, then read the summary of every file. The settings are read once
// for the whole run, as the library does.
static void BM_LibrarySummaries1000(benchmark::State& state) {
    TScratch dir;
    for (int i = 0; i < 1000; ++i) {
        kx::SaveDefinition(SampleDefinition(i),
                           dir.Path() / "def" / (kx::IntToStr(30000 + i) + ".def"));
    }
    const kx::TCatalogueSettings settings = kx::CurrentCatalogueSettings();
    for (auto _ : state) {
        kx::TPartFiles files(dir.Path(), dir.Path() / "user");
        int shown = 0;
        for (const std::string& number : files.DefinitionNumbers()) {
            const kx::TMiniDefObj m = kx::ReadMiniDefObj(*files.FindDef(number), number, settings);
            shown += m.Hide ? 0 : 1;
        }
        benchmark::DoNotOptimize(shown);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LibrarySummaries1000)->Unit(benchmark::kMillisecond);

// The full reader on one definition, for comparison.
static void BM_FullDefinition(benchmark::State& state) {
    const std::string bytes = kx::DefinitionBytes(SampleDefinition(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::ParseDefObj(bytes, "30001"));
    }
}
BENCHMARK(BM_FullDefinition)->Unit(benchmark::kMicrosecond);

// Parsing a mesh file: what every part would cost without the cache.
static void BM_MeshParseBinaryFile(benchmark::State& state) {
    TScratch dir;
    kx::WriteStlFile(dir.Path() / "hires" / "31010.stl", SampleMesh());
    for (auto _ : state) {
        kx::TMesh m;
        kx::LoadStlFile(dir.Path() / "hires" / "31010.stl", m);
        benchmark::DoNotOptimize(m.Positions.data());
    }
}
BENCHMARK(BM_MeshParseBinaryFile)->Unit(benchmark::kMicrosecond);

static void BM_MeshParseAsciiFile(benchmark::State& state) {
    TScratch dir;
    const kx::TMesh mesh = SampleMesh();
    std::string text = "solid torus\n";
    for (size_t i = 0; i < mesh.Positions.size(); i += 3) {
        auto vec = [](const kx::TVector3f& v) {
            return kx::FormatFloat(v.X, '.') + " " + kx::FormatFloat(v.Y, '.') + " " +
                   kx::FormatFloat(v.Z, '.');
        };
        text += "facet normal " + vec(mesh.Normals[i]) + "\nouter loop\n";
        for (size_t k = 0; k < 3; ++k) {
            text += "vertex " + vec(mesh.Positions[i + k]) + "\n";
        }
        text += "endloop\nendfacet\n";
    }
    text += "endsolid torus\n";
    kx::WriteFileAtomic(dir.Path() / "31010.stl", text);
    for (auto _ : state) {
        kx::TMesh m;
        kx::LoadStlFile(dir.Path() / "31010.stl", m);
        benchmark::DoNotOptimize(m.Positions.data());
    }
}
BENCHMARK(BM_MeshParseAsciiFile)->Unit(benchmark::kMicrosecond);

// A further part of a number already loaded: the cache hands out the shared mesh.
static void BM_MeshCached(benchmark::State& state) {
    TScratch dir;
    kx::WriteStlFile(dir.Path() / "hires" / "31010.stl", SampleMesh());
    const kx::TPartFiles files(dir.Path(), dir.Path() / "user");
    kx::TffCache cache;
    cache.LoadMesh(files, "hires", "31010");
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.LoadMesh(files, "hires", "31010"));
    }
}
BENCHMARK(BM_MeshCached)->Unit(benchmark::kMicrosecond);

// The dearest use of a cached mesh: a part that needs a geometry of its own copies it.
static void BM_MeshCachedCopy(benchmark::State& state) {
    TScratch dir;
    kx::WriteStlFile(dir.Path() / "hires" / "31010.stl", SampleMesh());
    const kx::TPartFiles files(dir.Path(), dir.Path() / "user");
    kx::TffCache cache;
    cache.LoadMesh(files, "hires", "31010");
    for (auto _ : state) {
        kx::TMesh copy = *cache.LoadMesh(files, "hires", "31010");
        benchmark::DoNotOptimize(copy.Positions.data());
    }
}
BENCHMARK(BM_MeshCachedCopy)->Unit(benchmark::kMicrosecond);
