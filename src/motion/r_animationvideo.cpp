// Renders a model's key-frame animation frame by frame into a video file, offscreen, without
// any window: the video command and batch jobs share it.
#include "motion/r_animationvideo.h"

#include <chrono>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/r_renderer.h"

namespace kx {

namespace {
std::string Text(int key, const char* german) {
    return Language().GetText("F_ANIMATION", key, german);
}

std::string WithReason(const std::string& message, const std::string& reason) {
    return reason.empty() ? message : message + " (" + reason + ")";
}
}  // namespace

int VideoSizeOf(int viewSize) {
    return viewSize > 0 ? viewSize - viewSize % 8 : 0;
}

TVideoResult RenderAnimationVideo(TkxMain& model, TRenderer& renderer, const TVideoJob& job,
                                  const TVideoProgress& progress) {
    Stack().Push("TMainForm.Filmberechnenavi1Click", job.FileName, job.Width, job.Height);
    TVideoResult result;
    const int width = VideoSizeOf(job.Width);
    const int height = VideoSizeOf(job.Height);
    TVideoWriter writer;
    std::string reason;
    if (!VideoCodecAvailable(job.Codec)) {
        result.Error = Text(9, "Cannot make compressed stream. No such compressor found");
        return result;
    }
    if (!writer.Open(job.FileName, job.Codec, width, height, kVideoFrameRate, &reason)) {
        result.Error =
            WithReason(Text(7, "Cannot create AVI file. Disk full or file in use?"), reason);
        return result;
    }
    using TClock = std::chrono::steady_clock;
    for (int32_t t = job.FirstFrame; t <= job.LastFrame; ++t) {
        if (progress && !progress(t)) {
            result.Cancelled = true;
            return result;  // the writer removes its file
        }
        model.Animate(t);
        const auto start = TClock::now();
        const TRgbaImage image = renderer.RenderImage(model.Scene(), width, height, job.Samples);
        result.RenderSeconds += std::chrono::duration<double>(TClock::now() - start).count();
        if (image.Empty()) {
            result.Error = WithReason(Text(8, "Add Frame Error"), renderer.Error());
            return result;
        }
        if (!writer.WriteFrame(image, &reason)) {
            result.Error = WithReason(Text(8, "Add Frame Error"), reason);
            return result;
        }
    }
    result.Frames = writer.FramesWritten();
    result.EncodeSeconds = writer.EncodeSeconds();
    if (!writer.Finish(&reason)) {
        result.Error =
            WithReason(Text(7, "Cannot create AVI file. Disk full or file in use?"), reason);
        return result;
    }
    result.Ok = true;
    return result;
}

}  // namespace kx
