// kxbatch render MODEL.kxm OUT.png [--size WxH] [--quality N] [--no-antialias] [--radiosity]
// [--background RRGGBB] [--povray PROGRAM]: the model rendered by POV-Ray, as the render manager
// does it, without a window.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/u_povrender.h"

extern char** environ;

namespace kx {

namespace {

namespace fs = std::filesystem;

/// A private folder for the scene and the engine's log, gone when the job ends.
struct TWorkFolder {
    fs::path Path;
    TWorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "kxrender-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            Path = pattern;
        }
    }
    ~TWorkFolder() {
        std::error_code ec;
        if (!Path.empty()) {
            fs::remove_all(Path, ec);
        }
    }
};

/// Runs the engine with its output in `log`; its exit status, or -1 when it could not start
/// (why in `error`).
int RunEngine(const std::string& engine, const std::vector<std::string>& args, const fs::path& log,
              std::string& error) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(engine.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, engine.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        error = std::generic_category().message(started);
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            error = std::generic_category().message(errno);
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

/// The last lines of the engine's output: where it says what went wrong.
std::string Tail(const fs::path& log) {
    const auto bytes = ReadFileBytes(log);
    if (!bytes) {
        return {};
    }
    const std::vector<std::string> lines = SplitLines(*bytes);
    std::string tail;
    for (size_t i = lines.size() > 8 ? lines.size() - 8 : 0; i < lines.size(); ++i) {
        tail += "\n  " + lines[i];
    }
    return tail;
}

}  // namespace

TBatchJob RenderJob() {
    TBatchJob job;
    job.Name = "render";
    job.Description = "Render a model through POV-Ray into a PNG picture";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Out;
            std::string Size = "800x600";
            int Quality = 4;
            bool NoAntiAlias = false;
            bool Radiosity = false;
            std::string Background = "FFFFFF";
            std::string Engine = "povray";
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("OUT", args->Out, "Picture to write (PNG)")->required();
        command.add_option("--size", args->Size, "Width x height in pixels (default 800x600)");
        command.add_option("--quality", args->Quality, "POV-Ray's quality 1 to 9 (default 4)")
            ->check(CLI::Range(1, 9));
        command.add_flag("--no-antialias", args->NoAntiAlias, "Render without anti-aliasing");
        command.add_flag("--radiosity", args->Radiosity, "Light the scene with radiosity");
        command.add_option("--background", args->Background,
                           "Background as RRGGBB (default FFFFFF)");
        command.add_option("--povray", args->Engine,
                           "The POV-Ray program: a name on PATH or a path (default povray)");
        return [args]() -> TBatchExit {
            TRenderSettings settings;
            if (!ParsePictureSize(args->Size, settings.Width, settings.Height)) {
                BatchError("the size is no WxH from 1x1 to 8192x8192: " + args->Size);
                return BatchUsage;
            }
            if (!ParseRgbColour(args->Background, settings.Background)) {
                BatchError("the background is no colour RRGGBB: " + args->Background);
                return BatchUsage;
            }
            settings.Quality = args->Quality;
            settings.AntiAlias = !args->NoAntiAlias;
            settings.Radiosity = args->Radiosity;
            // A path is taken as it is; a name is looked up on the search path.
            const char* searchPath = std::getenv("PATH");
            const std::string engine =
                args->Engine.find('/') != std::string::npos
                    ? (::access(args->Engine.c_str(), X_OK) == 0 ? args->Engine : std::string())
                : args->Engine == "povray" ? FindPovRay(searchPath ? searchPath : "")
                                           : args->Engine;
            if (engine.empty()) {
                BatchError("POV-Ray was not found: " + args->Engine +
                           " (install povray or name it with --povray)");
                return BatchFailed;
            }
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            TWorkFolder work;
            if (work.Path.empty()) {
                BatchError("no temporary folder for the scene");
                return BatchFailed;
            }
            const fs::path scene = work.Path / "scene.pov";
            const TModelExportResult written =
                model.Model().ExportAsPOV(scene.string(), settings.Background, settings.Radiosity);
            if (!written) {
                BatchError(scene.string() + ": " + written.Error);
                return BatchFailed;
            }
            // The engine writes beside the target first, so a failed render leaves an older
            // picture as it was.
            const fs::path out = fs::absolute(args->Out);
            // POV-Ray adds ".png" to a name without it, so the temporary name keeps it.
            const fs::path partial =
                out.parent_path() / ("." + out.stem().string() + ".part.png");
            const fs::path log = work.Path / "povray.log";
            const int status = RunEngine(
                engine, PovRayArguments(settings, scene.string(), partial.string()), log, error);
            std::error_code ec;
            if (status != 0 || !fs::exists(partial)) {
                fs::remove(partial, ec);
                BatchError(status < 0 ? "POV-Ray could not be started: " + engine + ": " + error
                                      : "POV-Ray failed (exit status " + std::to_string(status) +
                                            "):" + Tail(log));
                return BatchFailed;
            }
            fs::rename(partial, out, ec);
            if (ec) {
                fs::remove(partial, ec);
                BatchError(out.string() + ": " + ec.message());
                return BatchFailed;
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
