// The export job's formats: one row per file extension and the writer behind it, so every
// format the program can write is reachable from the command line as one more row.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kx {

class TkxMain;

/// What the command line asked of the export beyond the file.
struct TExportRequest {
    bool Flat = false;     ///< the flat variant, where a format has one
    bool PerPart = false;  ///< one file per part, where a format allows it
    uint32_t Background = 0xFFFFFF;  ///< POV-Ray's background, a Windows colour value
};

struct TExportFileType {
    std::string Extension;    ///< lower case, without the dot
    std::string Description;  ///< one line for --help
    bool HasPerPart = false;  ///< accepts --per-part
    bool HasFlat = false;     ///< accepts --flat
    /// Writes the model's file; false with the reason.
    std::function<bool(TkxMain& model, const std::filesystem::path& file,
                       const TExportRequest& request, std::string& error)>
        Write;
};

/// Every format, in the order --help lists them.
const std::vector<TExportFileType>& ExportFileTypes();
/// The row of the file's extension (letter case ignored), or nullptr.
const TExportFileType* FindExportFileType(const std::filesystem::path& file);

}  // namespace kx
