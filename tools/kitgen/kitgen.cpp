// Build-time generator of the program's own kit: kxkitgen OUTPUT_DIR [STAMP_FILE]. The stamp
// lists the kit's files, so the next run can take away those of parts no longer in the kit.
#include <cstdio>
#include <exception>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kxkitgen OUTPUT_DIR [STAMP_FILE]\n");
        return 2;
    }
    const char* programDir = argv[1];
    const auto kit = kx::kitgen::BuildKit();
    // The pictures are drawn from the written files, as the program will build the parts.
    auto files = kx::kitgen::KitDataFiles(kit);
    std::string error;
    if (!kx::kitgen::WriteKitFiles(files, programDir, &error)) {
        std::fprintf(stderr, "kxkitgen: %s\n", error.c_str());
        return 1;
    }
    std::map<std::string, std::string> pictures;
    try {
        const auto painter = MakePainter(programDir);
        pictures = kx::kitgen::KitPictures(kit, *painter);
    } catch (const std::exception& e) {
        // A GL driver that fails half-way must not break the build: the software painter
        // draws the same parts from the same geometry.
        std::fprintf(stderr, "kxkitgen: %s; drawing the pictures in software\n", e.what());
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
        if (!kx::WriteFileAtomic(argv[2], kx::kitgen::KitManifest(files), &error)) {
            std::fprintf(stderr, "kxkitgen: cannot write %s: %s\n", argv[2], error.c_str());
            return 1;
        }
    }
    std::printf("kxkitgen: %zu parts, %zu files\n", kit.size(), files.size());
    return 0;
}
