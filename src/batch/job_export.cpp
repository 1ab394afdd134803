// kxbatch export MODEL.kxm OUT [--format raw|vrml|pov|x3d|x3d-flat] [--background RRGGBB]: the
// model as RAW triangles, VRML 1.0, a POV-Ray scene or X3D.
#include <CLI/CLI.hpp>
#include <memory>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "foundation/u_language.h"
#include "foundation/u_text.h"
#include "model/u_export.h"

namespace kx {

namespace {

/// The format named on the command line, else the one the output's extension names.
bool ChooseFormat(const std::string& named, const std::string& out, TExportFormat& format) {
    if (!named.empty()) {
        return ExportFormatFromName(named, format);
    }
    const std::string extension = LowerCase(std::filesystem::path(out).extension().string());
    return !extension.empty() && ExportFormatFromName(extension.substr(1), format);
}

/// "RRGGBB" as the screen writes colours, into a Windows colour value (red in the low byte).
bool ParseBackground(const std::string& text, uint32_t& colour) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    const auto rgb = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

}  // namespace

TBatchJob ExportJob() {
    TBatchJob job;
    job.Name = "export";
    job.Description = "Export a model as RAW, VRML 1.0, POV-Ray or X3D";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Out;
            std::string Format;
            std::string Background = "FFFFFF";
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("OUT", args->Out, "File to write (.raw, .wrl, .pov, .x3d)")->required();
        command.add_option("--format", args->Format,
                           "raw, vrml, pov, x3d (shaded) or x3d-flat; else from OUT's extension");
        command.add_option("--background", args->Background,
                           "POV-Ray background as RRGGBB (default FFFFFF)");
        return [args]() -> TBatchExit {
            TExportFormat format{};
            if (!ChooseFormat(args->Format, args->Out, format)) {
                BatchError("unknown export format: " +
                           (args->Format.empty() ? args->Out : args->Format));
                return BatchUsage;
            }
            uint32_t background = 0xFFFFFF;
            if (!ParseBackground(args->Background, background)) {
                BatchError("the background is no colour RRGGBB: " + args->Background);
                return BatchUsage;
            }
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            TkxMain& m = model.Model();
            TExportResult result;
            switch (format) {
                case TExportFormat::Raw:
                    result = m.ExportAsRaw(args->Out);
                    break;
                case TExportFormat::Vrml:
                    result = m.ExportAsVRML(args->Out);
                    break;
                case TExportFormat::Pov:
                    result = m.ExportAsPOV(args->Out, background);
                    break;
                case TExportFormat::X3DShaded:
                case TExportFormat::X3DFlat:
                    result = m.ExportAsX3D(args->Out, format == TExportFormat::X3DFlat);
                    break;
            }
            if (!result) {
                BatchError(
                    Language().GetText("KXBATCH", 2, "Die Datei kann nicht geschrieben werden:") +
                    " " + args->Out + ": " + result.Error);
                return BatchFailed;
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
