// kxbatch partslist MODEL.kxm OUT.csv: the model's parts list as a CSV file.
#include <CLI/CLI.hpp>
#include <memory>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "foundation/u_language.h"
#include "model/u_partslist.h"

namespace kx {

TBatchJob PartsListJob() {
    TBatchJob job;
    job.Name = "partslist";
    job.Description = "Write the parts list of a model as a CSV file";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Out;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("OUT", args->Out, "CSV file to write")->required();
        return [args]() -> TBatchExit {
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            if (!ExportAsCSV(model.Model(), args->Out, &error)) {
                BatchError(Language().GetText("MAIN", 149,
                                              "Die Einzelteilliste konnte nicht exportiert "
                                              "werden.") +
                           " " + error);
                return BatchFailed;
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
