// kxbatch picture MODEL.kxm OUT.png [--size WxH] [--camera N] [--phase N]: the model drawn by
// the view's renderer into a headless OpenGL context.
#include <CLI/CLI.hpp>
#include <memory>
#include <regex>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "view/r_headless.h"
#include "view/r_image.h"
#include "view/r_renderer.h"
#include "view/u_scene.h"

namespace kx {

namespace {

constexpr int kMaxPictureSide = 8192;
/// The view's multisampling at its best: a picture is made once, not every frame.
constexpr int kPictureSamples = 4;

void UseStoredCamera(TkxMain& model, int number) {
    const TCamera& camera = model.Cameras()[static_cast<size_t>(number - 1)];
    TScene& scene = model.Scene();
    scene.Camera()->SetPosition({static_cast<float>(camera.PositionX),
                                 static_cast<float>(camera.PositionY),
                                 static_cast<float>(camera.PositionZ)});
    scene.CameraTarget()->SetPosition({static_cast<float>(camera.TargetX),
                                       static_cast<float>(camera.TargetY),
                                       static_cast<float>(camera.TargetZ)});
    scene.CameraLightToCamera();
}

}  // namespace

bool ParsePictureSize(const std::string& text, int& width, int& height) {
    std::smatch m;
    if (!std::regex_match(text, m, std::regex("([0-9]{1,5})[xX]([0-9]{1,5})"))) {
        return false;
    }
    width = std::stoi(m[1]);
    height = std::stoi(m[2]);
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

TBatchJob PictureJob() {
    TBatchJob job;
    job.Name = "picture";
    job.Description = "Draw a model as the view shows it into a PNG picture (no display needed)";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Out;
            std::string Size = "800x600";
            int Camera = 0;
            int Phase = 0;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("OUT", args->Out, "PNG file to write")->required();
        command.add_option("--size", args->Size, "Width x height in pixels, e.g. 1024x768")
            ->capture_default_str();
        command
            .add_option("--camera", args->Camera,
                        "Stored camera position 1-" + std::to_string(kStoredCameraCount) +
                            " (default: the camera the model was saved with)")
            ->check(CLI::Range(1, kStoredCameraCount));
        command.add_option("--phase", args->Phase, "Show the build phases up to this one")
            ->check(CLI::Range(1, kPhaseCount));
        return [args]() -> TBatchExit {
            int width = 0, height = 0;
            if (!ParsePictureSize(args->Size, width, height)) {
                BatchError("--size takes WxH, each 1-" + std::to_string(kMaxPictureSide) + ": " +
                           args->Size);
                return BatchUsage;
            }
            TBatchModel batch;
            std::string error;
            if (!batch.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            TkxMain& model = batch.Model();
            if (args->Phase > 0) {
                // The model is this run's own: its phase flags may be set for the picture.
                for (int phase = 1; phase <= kPhaseCount; ++phase) {
                    model.SetPhaseVisible(phase, phase <= args->Phase);
                }
                model.Repaint();
            }
            if (args->Camera > 0) {
                UseStoredCamera(model, args->Camera);
            }
            // A system colour code is the window's face colour, which needs a toolkit to
            // resolve: the scene's own light grey stands in for it.
            const uint32_t background = Param().GetBackgroundColor3D();
            if ((background & 0xFF000000u) == 0) {
                model.Scene().SetBackgroundColor(ColorFromWin(background));
            }
            THeadlessContext context;
            if (!context.Valid()) {
                BatchError("OpenGL: " + context.Error());
                return BatchFailed;
            }
            TRenderer renderer;
            if (!renderer.Initialize(&error)) {
                BatchError("OpenGL: " + error);
                return BatchFailed;
            }
            const TRgbaImage image =
                renderer.RenderImage(model.Scene(), width, height, kPictureSamples);
            if (image.Empty()) {
                BatchError("OpenGL: the picture could not be drawn");
                return BatchFailed;
            }
            if (!SavePng(args->Out, image, &error)) {
                BatchError(
                    Language().GetText("KXBATCH", 2, "Die Datei kann nicht geschrieben werden:") +
                    " " + args->Out + " " + error);
                return BatchFailed;
            }
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
