// Fuzz target of the collection file reader: every line it keeps names a part by the library's
// rule (a plain file name of at most 64 bytes), so no line can grow into a huge tile.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/u_library.h"
#include "foundation/u_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& [number, total] :
         kx::ParseCollectionLines(kx::SplitLines(kx::Cp1252ToUtf8(bytes)))) {
        const bool plain = std::none_of(number.begin(), number.end(), [](char c) {
            return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        });
        if (number.empty() || number.size() > 64 || !plain || total < 0) {
            __builtin_trap();
        }
    }
    return 0;
}
