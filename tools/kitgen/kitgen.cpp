// Build-time generator of the program's own kit: kxkitgen OUTPUT_DIR [STAMP_FILE]. The stamp
// lists the kit's files, so the next run can take away those of parts no longer in the kit.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "foundation/u_text.h"
#include "kg_kit.h"
#include "kg_output.h"
#include "kg_painter.h"
#ifdef KX_KITGEN_GL
#include "kg_glpainter.h"
#endif

namespace {

// The program's renderer where a GL context can be had, the software painter otherwise.
std::unique_ptr<kx::kitgen::TPartPainter> MakePainter(const char* programDir) {
#ifdef KX_KITGEN_GL
    auto gl = std::make_unique<kx::kitgen::TGlPartPainter>(programDir);
    if (gl->Valid()) {
        return gl;
    }
    std::fprintf(stderr, "kxkitgen: no OpenGL (%s); drawing the pictures in software\n",
                 gl->Error().c_str());
#else
    (void)programDir;
#endif
    return std::make_unique<kx::kitgen::TSoftwarePartPainter>();
}

/// FNV-1a over every file's name and bytes: what the pictures are drawn from.
uint64_t Fingerprint(const std::map<std::string, std::string>& files, uint64_t h) {
    auto add = [&h](std::string_view bytes) {
        for (unsigned char c : bytes) {
            h = (h ^ c) * 1099511628211ull;
        }
    };
    for (const auto& [name, bytes] : files) {
        add(name);
        add(bytes);
    }
    return h;
}

/// The first line of a stamp names the pictures' key; the rest is the manifest.
std::string KeyLine(uint64_t key) {
    char line[40];
    std::snprintf(line, sizeof line, "# pictures %016llx\n", static_cast<unsigned long long>(key));
    return line;
}

/// The pictures an earlier run drew from the same files with the same painter, read back; empty
/// when anything differs or is missing, so that they are drawn again.
std::map<std::string, std::string> CachedPictures(const std::vector<kx::kitgen::TKitPart>& kit,
                                                  const char* programDir, const char* stamp,
                                                  uint64_t key) {
    std::map<std::string, std::string> pictures;
    const auto previous = stamp ? kx::ReadFileBytes(stamp) : std::nullopt;
    if (!previous || !previous->starts_with(KeyLine(key))) {
        return {};
    }
    for (const auto& part : kit) {
        for (const std::string& name :
             {"icon/" + part.Def.Number + ".bmp", "icon/print/" + part.Def.Number + ".jpg"}) {
            const auto bytes = kx::ReadFileBytes(std::filesystem::path(programDir) / name);
            if (!bytes) {
                return {};
            }
            pictures.emplace(name, *bytes);
        }
    }
    return pictures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kxkitgen OUTPUT_DIR [STAMP_FILE]\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const char* programDir = argv[1];
    const char* stamp = argc > 2 ? argv[2] : nullptr;
    const auto kit = kx::kitgen::BuildKit();
    // The pictures are drawn from the written files, as the program will build the parts.
    auto files = kx::kitgen::KitDataFiles(kit);
    std::string error;
    if (!kx::kitgen::WriteKitFiles(files, programDir, &error)) {
        std::fprintf(stderr, "kxkitgen: %s\n", error.c_str());
        return 1;
    }
    std::map<std::string, std::string> pictures;
    uint64_t key = 0;
    bool cached = false;
    try {
        const auto painter = MakePainter(programDir);
        // Drawing the pictures is most of the work. They depend on the files written above and
        // on the painter, which a reference picture stands for: when neither changed since the
        // last run, the pictures on disk are still right.
        const auto probe = painter->Paint(kit.front(), 32, 32, {255, 255, 255});
        std::string probeBytes;
        for (const auto& px : probe.Pixels) {
            probeBytes += {char(px.R), char(px.G), char(px.B)};
        }
        std::string captions;
        for (const auto& part : kit) {
            captions += part.Def.Number + "=" + part.Badge + "\n";
        }
        key = Fingerprint(files, Fingerprint({{"probe", probeBytes}, {"captions", captions}},
                                             14695981039346656037ull));
        pictures = CachedPictures(kit, programDir, stamp, key);
        cached = !pictures.empty();
        if (!cached) {
            pictures = kx::kitgen::KitPictures(kit, *painter);
        }
    } catch (const std::exception& e) {
        // A GL driver that fails half-way must not break the build: the software painter
        // draws the same parts from the same geometry.
        std::fprintf(stderr, "kxkitgen: %s; drawing the pictures in software\n", e.what());
        key = 0;
        cached = false;
        kx::kitgen::TSoftwarePartPainter software;
        pictures = kx::kitgen::KitPictures(kit, software);
    }
    if (!kx::kitgen::WriteKitFiles(pictures, programDir, &error)) {
        std::fprintf(stderr, "kxkitgen: %s\n", error.c_str());
        return 1;
    }
    files.merge(pictures);
    if (argc > 2) {
        if (const auto previous = kx::ReadFileBytes(argv[2])) {
            kx::kitgen::RemoveStaleKitFiles(programDir, *previous, files);
        }
        if (!kx::WriteFileAtomic(argv[2], KeyLine(key) + kx::kitgen::KitManifest(files), &error)) {
            std::fprintf(stderr, "kxkitgen: cannot write %s: %s\n", argv[2], error.c_str());
            return 1;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("kxkitgen: %zu parts, %zu files in %.1f s%s\n", kit.size(), files.size(), seconds,
                cached ? " (pictures unchanged)" : "");
    return 0;
}
