// Fuzz target of the INI reader under the settings and the language files: any bytes, then
// the lookups the program makes of them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/u_iniex.h"
#include "foundation/u_language.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kx::TIniFileEx ini = kx::TIniFileEx::FromBytes(bytes);
    for (const kx::TIniFileSection& section : ini.Sections()) {
        if (ini.FindSection(section.Name) == nullptr) {
            __builtin_trap();
        }
        (void)ini.ReadString(section.Name, "X", "");
        (void)ini.ReadInteger(section.Name, "Count", 0);
    }
    const kx::TkxLanguage language{kx::TIniFileEx(ini)};
    for (int key = 1; key < 4; ++key) {
        (void)language.GetText("MAIN", key, "Vorgabe");
    }
    return 0;
}
