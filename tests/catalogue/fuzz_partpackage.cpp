// Fuzz target of the part package importer: any bytes, checked and, when sound, unpacked.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/u_partfiles.h"
#include "catalogue/u_partpackage.h"

namespace fs = std::filesystem;

namespace {

/// A scratch pair of part folders of this process; whatever an import wrote must stay inside.
/// The fuzzing stage points TMPDIR into memory: a sound package is written and synced, and
/// waiting for a disk would take most of the fuzzing time.
const fs::path& Root() {
    static const fs::path root =
        fs::temp_directory_path() / ("kx-fuzz-partpackage-" + std::to_string(::getpid()));
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The importer reads the catalogue settings; they must come from a scratch folder, never
    // from the user's own.
    const std::string config = (Root() / "config").string();
    ::setenv("KORVEX_CONFIG_DIR", config.c_str(), 1);
    ::setenv("KORVEX_SYSTEM_CONFIG_DIR", config.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kx::TPackageParse parse = kx::ParsePartPackage(bytes);
    if (parse.Package && !kx::IsPartNumber(parse.Package->Number)) {
        __builtin_trap();
    }
    kx::TPartFiles files(Root() / "prog", Root() / "user");
    const kx::TImportPackageResult r =
        kx::ImportPartBytes(files, bytes, [](const std::string&) { return true; });
    if ((r.Status == kx::TImportStatus::Imported) != parse.Package.has_value()) {
        __builtin_trap();
    }
    // Only an import touches the disk. The part folder is emptied now and then, not after
    // every import: a package of a number already there is imported over it all the same.
    static int imports = 0;
    if (r.Status == kx::TImportStatus::Imported && ++imports % 64 == 0) {
        std::error_code ec;
        // Nothing may appear beside the two part folders.
        for (const auto& e : fs::directory_iterator(Root(), ec)) {
            if (e.path().filename() != "user" && e.path().filename() != "config") {
                __builtin_trap();
            }
        }
        fs::remove_all(Root() / "user", ec);
    }
    return 0;
}
