// Writes pictures as a video file through FFmpeg: AVI with the classic codecs, and MP4 or WebM
// where the installed FFmpeg has their encoders.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "view/r_image.h"

namespace kx {

enum class TVideoCodec { Mjpeg, Mpeg4, Ffv1, Raw, H264, Vp9 };

struct TVideoCodecInfo {
    TVideoCodec Codec;
    const char* Encoder;    ///< FFmpeg's encoder name
    const char* Container;  ///< FFmpeg's muxer name
    const char* Extension;  ///< with the dot, lower case
    /// Every frame a key frame (the AVI codecs); the others keep their encoder's choice.
    bool AllKeyFrames;
};

/// Every codec the program knows, AVI ones first.
const std::vector<TVideoCodecInfo>& VideoCodecs();
const TVideoCodecInfo& VideoCodecInfo(TVideoCodec codec);
/// Whether the installed FFmpeg can encode it (asked, not assumed).
bool VideoCodecAvailable(TVideoCodec codec);

/// One video file being written. Frames go into a temporary file beside the target, which
/// becomes the target only when Finish succeeds; a writer destroyed unfinished (cancelled,
/// failed) removes it, so no broken video is left behind.
class TVideoWriter {
public:
    TVideoWriter();
    ~TVideoWriter();
    TVideoWriter(const TVideoWriter&) = delete;
    TVideoWriter& operator=(const TVideoWriter&) = delete;

    /// Starts a video of width x height (both even) at fps frames a second; false with a
    /// reason when the encoder is missing or the file cannot be made.
    bool Open(const std::string& fileName, TVideoCodec codec, int width, int height, int fps,
              std::string* error = nullptr);
    /// Appends a picture of the video's size (rows from the top).
    bool WriteFrame(const TRgbaImage& image, std::string* error = nullptr);
    /// Flushes the encoder, closes the file and puts it in place.
    bool Finish(std::string* error = nullptr);
    /// Drops the video: the temporary file goes, the target stays as it was.
    void Abort();

    int FramesWritten() const { return m_frames; }
    /// Seconds spent converting and encoding, for the benchmark.
    double EncodeSeconds() const { return m_encodeSeconds; }

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
    int m_frames = 0;
    double m_encodeSeconds = 0;
};

}  // namespace kx
