// Fuzz target of the web client's reply readers: listings, part versions, the change history,
// the version text and the reply of a version write.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "online/u_softwareupdate.h"
#include "online/u_webprotocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    for (const kx::TWebDirData& entry : kx::ParseDirectory(body)) {
        (void)kx::IsSafeRemoteName(entry.Name);
    }
    (void)kx::ParsePartVersions(body);
    (void)kx::ParseHistory(body, "1.9.0");
    const std::string text = kx::PrintableText(body);
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            __builtin_trap();
        }
    }
    (void)kx::VersionNumber(text);
    (void)kx::VersionWriteReply(body);
    return 0;
}
