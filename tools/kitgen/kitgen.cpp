// Build-time generator of the program's own kit: kxkitgen OUTPUT_DIR [STAMP_FILE].
#include <cstdio>
#include <string>

#include "foundation/u_text.h"
#include "kg_kit.h"
#include "kg_output.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kxkitgen OUTPUT_DIR [STAMP_FILE]\n");
        return 2;
    }
    const auto kit = kx::kitgen::BuildKit();
    const auto files = kx::kitgen::KitFiles(kit);
    std::string error;
    if (!kx::kitgen::WriteKitFiles(files, argv[1], &error)) {
        std::fprintf(stderr, "kxkitgen: %s\n", error.c_str());
        return 1;
    }
    if (argc > 2 &&
        !kx::WriteFileAtomic(argv[2], std::to_string(kit.size()) + " parts\n", &error)) {
        std::fprintf(stderr, "kxkitgen: cannot write %s: %s\n", argv[2], error.c_str());
        return 1;
    }
    std::printf("kxkitgen: %zu parts, %zu files\n", kit.size(), files.size());
    return 0;
}
