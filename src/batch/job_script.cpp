// kxbatch script SCRIPT.py MODEL.kxm [--save OUT.kxm]: a Python script run against a model
// without a window; what it prints goes to standard output, its errors to standard error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "catalogue/u_library.h"
#include "foundation/u_param.h"
#include "scripting/pyEngine.h"
#include "scripting/u_scriptfiles.h"

namespace kx {

namespace {

/// The library without icons: a script asks it for definitions only.
class TNoIcons : public TLibraryFillPort {
public:
    void FillStart(const std::string&, int) override {}
    void FillProgress(int) override {}
    int LoadIcon(const std::filesystem::path&) override { return -1; }
};

}  // namespace

TBatchJob ScriptJob() {
    TBatchJob job;
    job.Name = "script";
    job.Description = "Run a Python script (module kxd) against a model, and save the result";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Script;
            std::string Model;
            std::string Save;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("SCRIPT", args->Script, "Python script (.py)")->required();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("--save", args->Save, "Save the model as the script left it");
        return [args]() -> TBatchExit {
            std::string text;
            std::string error;
            if (!ReadScriptFile(args->Script, text, error)) {
                BatchError(error);
                return BatchFailed;
            }
            TBatchModel model;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            TPartLibrary library;
            TNoIcons icons;
            TLibraryFillOptions options = TLibraryFillOptions::Current();
            options.DeveloperMode = false;
            library.Fill(model.Files(), options, icons);

            TScriptContext context;
            context.Model = &model.Model();
            context.Scene = &model.Scene();
            context.Files = &model.Files();
            context.Library = &library;
            context.ProgramDir = Param().ProgramDir;
            TPyEngine engine;
            const TScriptResult result = engine.Run(
                text, context,
                [](std::string_view piece, bool isError) {
                    std::fwrite(piece.data(), 1, piece.size(), isError ? stderr : stdout);
                },
                args->Script);
            std::fflush(stdout);
            if (!result.Ok()) {
                BatchError(result.Error.empty() ? "the script failed" : result.Error);
                return BatchFailed;
            }
            if (!args->Save.empty()) {
                const TModelFileResult saved = model.Model().SaveModell(args->Save);
                if (!saved.Success) {
                    BatchError(saved.Error);
                    return BatchFailed;
                }
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
