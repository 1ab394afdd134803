// The jobs of the batch command: one row each, so a feature that makes a file adds its job as
// one more row.
#include "batch/batchjobs.h"

#include <cstdio>

namespace kx {

const std::vector<TBatchJob>& BatchJobs() {
    static const std::vector<TBatchJob> jobs = {
        PartsListJob(), SheetsJob(), ExportJob(), PictureJob(), InfoJob(), LogicJob(),
        ScriptJob(), RenderJob(),
    };
    return jobs;
}

void BatchError(const std::string& text) {
    std::fprintf(stderr, "kxbatch: %s\n", text.c_str());
}

}  // namespace kx
