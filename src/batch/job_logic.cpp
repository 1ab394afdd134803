// kxbatch logic MODEL.kxm OUT[.kxl]: the model's sequence program as a file of its own, as the
// "Logik-Manager" exports it.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "model/MainObj.h"
#include "sequence/u_ablauf.h"

namespace kx {

TBatchJob LogicJob() {
    TBatchJob job;
    job.Name = "logic";
    job.Description = "Write a model's sequence program as a logic plan (.kxl)";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Output;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("OUTPUT", args->Output, "Logic plan to write; .kxl is added if missing")
            ->required();
        return [args]() -> TBatchExit {
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            const std::string file = TAblauf::KxlFileName(args->Output);
            if (const TAblaufResult result = model.Model().Ablauf().ExportToFile(file); !result) {
                BatchError(result.Message + " (" + file + ")");
                return BatchFailed;
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
