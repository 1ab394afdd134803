// Rendering and encoding a 250-frame video of the animated crane sample at 640 x 480 with the
// GL at hand (software GL on the test machines): frames per second, and how the time a frame
// costs splits between rendering and encoding.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench_support.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "motion/r_animationvideo.h"
#include "motion/u_keyframes.h"
#include "view/r_headless.h"
#include "view/r_renderer.h"
#include "view/u_scene.h"

namespace {

using namespace kx;
namespace fs = std::filesystem;

constexpr int kFrames = 250;

void BM_CraneVideo(benchmark::State& state) {
    const auto codec = TVideoCodec(state.range(0));
    if (!VideoCodecAvailable(codec)) {
        state.SkipWithError("encoder not installed");
        return;
    }
    kxbench::TScratch scratch;
    SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}, scratch.Path() / "config",
                                        scratch.Path() / "sysconfig"));
    THeadlessContext context;
    if (!context.Valid()) {
        state.SkipWithError(context.Error().c_str());
        return;
    }
    TScene scene;
    BuildMainScene(scene);
    TPartFiles files(fs::path(KX_RUNTIME_DIR), scratch.Path() / "user");
    TDefCache defs;
    TffCache meshes;
    TkxMain model(scene, files, defs, meshes);
    model.ConnectorsHidden = true;
    const fs::path sample = fs::path(KX_RUNTIME_DIR) / "samples" / "Kran.kxm";
    if (!model.LoadModell(sample.string(), true)) {
        state.SkipWithError("the crane sample is missing");
        return;
    }
    // The boom swings and the load rises: every part moves over the animation.
    int i = 0;
    for (const auto& part : model.Parts()) {
        const TKeyPose start{part->Position(), part->Up(), part->Direction()};
        TKeyPose end = start;
        end.Position += TVector3f{float(i % 5 - 2), 3, float(i % 3)};
        part->AddKey(MakeKey(start, 1));
        part->AddKey(MakeKey(end, kFrames));
        ++i;
    }
    TRenderer renderer;
    TVideoJob job;
    job.Codec = codec;
    job.FileName =
        (scratch.Path() / (std::string("kran") + VideoCodecInfo(codec).Extension)).string();
    job.Width = 640;
    job.Height = 480;
    job.FirstFrame = 1;
    job.LastFrame = kFrames;
    TVideoResult result;
    for (auto _ : state) {
        result = RenderAnimationVideo(model, renderer, job);
        if (!result) {
            state.SkipWithError(result.Error.c_str());
            return;
        }
    }
    const double total = result.RenderSeconds + result.EncodeSeconds;
    state.counters["frames"] = result.Frames;
    state.counters["fps"] = result.Frames / total;
    state.counters["render_ms"] = 1000 * result.RenderSeconds / result.Frames;
    state.counters["encode_ms"] = 1000 * result.EncodeSeconds / result.Frames;
    state.counters["encode/render"] = result.EncodeSeconds / result.RenderSeconds;
    state.counters["MB"] = double(fs::file_size(job.FileName)) / 1e6;
}

BENCHMARK(BM_CraneVideo)
    ->ArgName("codec")
    ->Arg(int(TVideoCodec::Mjpeg))
    ->Arg(int(TVideoCodec::Mpeg4))
    ->Arg(int(TVideoCodec::Ffv1))
    ->Arg(int(TVideoCodec::Raw))
    ->Arg(int(TVideoCodec::H264))
    ->Arg(int(TVideoCodec::Vp9))
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
