// The jobs of the batch command: one row each, so a feature that makes a file adds its job as
// one more row.
#pragma once

#include <cstdint>

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kx {

/// Exit status of the batch command.
enum TBatchExit : int {
    BatchDone = 0,    ///< the job made its output
    BatchFailed = 1,  ///< the job failed; the reason is on standard error
    BatchUsage = 2,   ///< wrong arguments
};

struct TBatchJob {
    std::string Name;         ///< the job's word on the command line
    std::string Description;  ///< one line for --help
    bool NeedsGui = false;    ///< draws through Qt (fonts, PDF): runs with a headless GUI
    /// Adds the job's arguments and options to its command and returns what runs the job once
    /// they are parsed.
    std::function<std::function<TBatchExit()>(CLI::App& command)> Setup;
};

/// Every job, in the order --help lists them.
const std::vector<TBatchJob>& BatchJobs();

TBatchJob PartsListJob();
TBatchJob SheetsJob();
TBatchJob ExportJob();
TBatchJob PictureJob();
TBatchJob InfoJob();
TBatchJob LogicJob();
TBatchJob ScriptJob();
TBatchJob RenderJob();

/// "WxH" with sides from 1 to 8192.
bool ParsePictureSize(const std::string& text, int& width, int& height);
/// "RRGGBB" as the screen writes colours, into a Windows colour value (red in the low byte).
bool ParseRgbColour(const std::string& text, uint32_t& colour);

/// "kxbatch: " and the text on standard error.
void BatchError(const std::string& text);

}  // namespace kx
