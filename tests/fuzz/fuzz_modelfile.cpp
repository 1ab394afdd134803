// Fuzz target of the model file reader (parts, hoses, strips, motion, groups, measurements):
// any bytes are read as a model file would be; what was read must write back into a file that
// reads again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/u_text.h"
#include "model/u_modelfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kx::TModelFile file;
    if (!kx::ParseModelFile(kx::SplitLines(kx::Cp1252ToUtf8(bytes)), file)) {
        return 0;
    }
    // A model we accepted is one we can save; saving it must give a file we accept again.
    const std::string saved = kx::JoinLines(kx::ModelFileLines(file));
    kx::TModelFile again;
    if (!kx::ParseModelFile(kx::SplitLines(saved), again)) {
        __builtin_trap();
    }
    if (again.Parts.size() != file.Parts.size() || again.Hoses.size() != file.Hoses.size() ||
        again.SemiFinished.size() != file.SemiFinished.size()) {
        __builtin_trap();
    }
    return 0;
}
