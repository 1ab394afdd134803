// Fuzz target of merging a model file into an open model ("Datei" → "Einfügen"): any bytes are
// merged into a small model of a few kit parts. A file that is refused must leave the model as
// it was; one that is taken may only add to it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "model/u_modelfile.h"
#include "view/u_scene.h"

namespace fs = std::filesystem;

namespace {

/// Seeds are copied into a scratch program folder: three kit definitions, each with the same
/// small mesh. Parts of other numbers in a merged file stand in as placeholders.
struct TMergeBench {
    fs::path Root =
        fs::temp_directory_path() / ("kx-fuzz-modelmerge-" + std::to_string(::getpid()));
    std::unique_ptr<kx::TPartFiles> Files;
    kx::TScene Scene;
    std::unique_ptr<kx::TkxMain> Model;
    std::vector<std::string> Lines;  ///< the model's file lines as they stand

    TMergeBench() {
        const fs::path seeds = KX_FUZZ_SEEDS;
        std::error_code ec;
        fs::create_directories(Root / "prog" / "def", ec);
        fs::create_directories(Root / "prog" / "hires", ec);
        for (const char* number : {"40001", "40504", "41801"}) {
            fs::copy_file(seeds / "definition" / (std::string(number) + ".def"),
                          Root / "prog" / "def" / (std::string(number) + ".def"),
                          fs::copy_options::overwrite_existing, ec);
            fs::copy_file(seeds / "mesh" / "binary.stl",
                          Root / "prog" / "hires" / (std::string(number) + ".stl"),
                          fs::copy_options::overwrite_existing, ec);
        }
        kx::SetParam(std::make_unique<kx::TkxParam>(std::vector<std::string>{}, Root / "config",
                                                    Root / "sysconfig"));
        Files = std::make_unique<kx::TPartFiles>(Root / "prog", Root / "user");
        kx::BuildMainScene(Scene);
        Model = std::make_unique<kx::TkxMain>(Scene, *Files);
        Reset();
    }
    ~TMergeBench() {
        Model.reset();
        std::error_code ec;
        fs::remove_all(Root, ec);
    }

    /// Back to the base model: a small sample whose parts partly exist in the scratch folder.
    void Reset() {
        const fs::path sample = fs::path(KX_FUZZ_SEEDS) / "modelfile" / "Zahnradgetriebe-klein.kxm";
        if (!Model->LoadModell(sample.string(), true)) {
            __builtin_trap();
        }
        Lines = Current();
    }

    std::vector<std::string> Current() const { return kx::ModelFileLines(Model->ToModelFile()); }
};

TMergeBench& Bench() {
    static TMergeBench bench;
    return bench;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMergeBench& bench = Bench();
    // Merged files pile up; a fresh base keeps every input's work small.
    if (bench.Model->Parts().Count() > 40) {
        bench.Reset();
    }
    const size_t before = bench.Model->Parts().Count();
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    const kx::TModelFileResult result = bench.Model->LoadModell("fuzz.kxm", false, stream);
    if (!result) {
        // Refused: nothing of it may have reached the model.
        if (bench.Current() != bench.Lines) {
            __builtin_trap();
        }
        return 0;
    }
    if (bench.Model->Parts().Count() < before) {
        __builtin_trap();
    }
    bench.Lines = bench.Current();
    return 0;
}
