// Renders a model's key-frame animation frame by frame into a video file, offscreen, without
// any window: the video command and batch jobs share it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "motion/r_videowriter.h"

namespace kx {

class TkxMain;
class TRenderer;

/// Frames per second of every video the program writes.
inline constexpr int kVideoFrameRate = 25;

struct TVideoJob {
    std::string FileName;
    TVideoCodec Codec = TVideoCodec::Mjpeg;
    /// Frame size; each is cut down to a multiple of 8.
    int Width = 640;
    int Height = 480;
    /// Frames of the animation, both included.
    int32_t FirstFrame = 1;
    int32_t LastFrame = 100;
    /// Samples per pixel for antialiasing (0: none).
    int Samples = 0;
};

struct TVideoResult {
    bool Ok = false;
    bool Cancelled = false;
    std::string Error;  ///< for the user, when neither ok nor cancelled
    int Frames = 0;
    double RenderSeconds = 0;
    double EncodeSeconds = 0;
    explicit operator bool() const { return Ok; }
};

/// Told before each frame is rendered; false cancels the video.
using TVideoProgress = std::function<bool(int32_t frame)>;

/// The frame size of a view of width x height: each cut down to a multiple of 8.
int VideoSizeOf(int viewSize);

/// Animates the model to every frame of the job, renders its scene offscreen with the
/// renderer and writes it into the file. The renderer's GL context must be current (the
/// progress callback may switch contexts; it must make it current again before it returns).
/// A cancelled or failed video leaves no file behind and an existing file as it was; the
/// model stays at the last frame animated.
TVideoResult RenderAnimationVideo(TkxMain& model, TRenderer& renderer, const TVideoJob& job,
                                  const TVideoProgress& progress = {});

}  // namespace kx
