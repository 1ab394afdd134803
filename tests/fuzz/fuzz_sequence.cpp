// Fuzz target of the sequence program reader (the [LOGIK…] sections of a model and the .kxl
// file): whatever it reads, every connection it keeps names blocks it has, and what it writes
// reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/u_text.h"
#include "sequence/u_ablauf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kx::TAblauf program;
    program.LoadFromList(kx::SplitLines(kx::Cp1252ToUtf8(bytes)));
    for (const auto& block : program.Blocks()) {
        for (int output = 0; output < 4; ++output) {
            const kx::TBlock* next = program.NextBlock(block.get(), output);
            if (next && program.BlockNumber(next) == 0) {
                __builtin_trap();
            }
        }
    }
    const auto saved = program.SaveToList();
    kx::TAblauf again;
    again.LoadFromList(saved);
    if (again.SaveToList() != saved) {
        __builtin_trap();
    }
    return 0;
}
