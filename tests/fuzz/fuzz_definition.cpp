// Fuzz target of both part definition readers: the library's summary and the full definition.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/u_defObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kx::TCatalogueSettings settings;
    // The English names are read from other keys. One language an input, chosen by its length,
    // so that both are fuzzed without reading every input twice.
    settings.Language = size % 2 == 0 ? "DEUTSCH" : "ENGLISH";
    const kx::TDefObj def = kx::ParseDefObj(bytes, "40001", settings);
    const kx::TMiniDefObj mini = kx::ParseMiniDefObj(bytes, "40001", settings);
    // The canonical text of what was read is what the maintainers' rewrite saves.
    (void)kx::DefinitionLines(def);
    (void)mini;
    return 0;
}
