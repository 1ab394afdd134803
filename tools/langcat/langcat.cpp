// Joins UTF-8 language fragments into one Windows-1252 CR LF language table.
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/u_text.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kxlangcat OUTPUT FRAGMENT...\n");
        return 2;
    }
    std::vector<std::string> lines;
    for (int i = 2; i < argc; ++i) {
        auto bytes = kx::ReadFileBytes(argv[i]);
        if (!bytes) {
            std::fprintf(stderr, "kxlangcat: cannot read %s\n", argv[i]);
            return 1;
        }
        for (auto& line : kx::SplitLines(*bytes)) {
            lines.push_back(std::move(line));
        }
    }
    std::string error;
    if (!kx::WriteTextFile(argv[1], lines, &error)) {
        std::fprintf(stderr, "kxlangcat: cannot write %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
