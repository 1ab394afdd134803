// kxbatch export MODEL.kxm OUT.ext [--flat] [--per-part] [--background RRGGBB]: the model in the format of OUT's
// extension.
#include <CLI/CLI.hpp>
#include <memory>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "batch/exportformats.h"

namespace kx {

namespace {

std::string FormatList() {
    std::string list;
    for (const TExportFileType& format : ExportFileTypes()) {
        list += (list.empty() ? "" : ", ") + format.Extension;
    }
    return list;
}

}  // namespace

bool ParseRgbColour(const std::string& text, uint32_t& colour) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    const auto rgb = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

TBatchJob ExportJob() {
    TBatchJob job;
    job.Name = "export";
    job.Description = "Export a model to another 3D format, chosen by the extension of OUT";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Out;
            TExportRequest Request;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command
            .add_option("OUT", args->Out, "File to write; its extension is one of: " + FormatList())
            ->required();
        command.add_flag("--flat", args->Request.Flat,
                         "The flat variant, where the format has one");
        command.add_flag("--per-part", args->Request.PerPart,
                         "One file per part, named OUT's name, \"_\" and the part's name");
        auto background = std::make_shared<std::string>("FFFFFF");
        command.add_option("--background", *background,
                           "POV-Ray's background as RRGGBB (default FFFFFF)");
        std::string formats = "Formats:\n";
        for (const TExportFileType& format : ExportFileTypes()) {
            formats += "  ." + format.Extension + "  " + format.Description + "\n";
        }
        command.footer(formats);
        return [args, background]() -> TBatchExit {
            if (!ParseRgbColour(*background, args->Request.Background)) {
                BatchError("the background is no colour RRGGBB: " + *background);
                return BatchUsage;
            }
            const TExportFileType* format = FindExportFileType(args->Out);
            if (!format) {
                BatchError("OUT needs one of the extensions " + FormatList() + ": " + args->Out);
                return BatchUsage;
            }
            if (args->Request.PerPart && !format->HasPerPart) {
                BatchError("--per-part is not possible for ." + format->Extension);
                return BatchUsage;
            }
            if (args->Request.Flat && !format->HasFlat) {
                BatchError("--flat is not possible for ." + format->Extension);
                return BatchUsage;
            }
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            if (!format->Write(model.Model(), args->Out, args->Request, error)) {
                BatchError(error);
                return BatchFailed;
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
