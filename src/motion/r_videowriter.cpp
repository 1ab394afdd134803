// Writes pictures as a video file through FFmpeg: AVI with the classic codecs, and MP4 or WebM
// where the installed FFmpeg has their encoders.
#include "motion/r_videowriter.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace kx {

namespace fs = std::filesystem;

namespace {

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void Fail(std::string* error, const std::string& text) {
    if (error) {
        *error = text;
    }
}

AVPixelFormat PixelFormatOf(TVideoCodec codec) {
    switch (codec) {
        case TVideoCodec::Mjpeg:
            return AV_PIX_FMT_YUVJ420P;
        case TVideoCodec::Ffv1:
            return AV_PIX_FMT_BGR0;  // lossless: keeps the rendered colours
        case TVideoCodec::Raw:
            return AV_PIX_FMT_BGR24;  // the AVI writer marks these frames top row first
        default:
            return AV_PIX_FMT_YUV420P;
    }
}

}  // namespace

const std::vector<TVideoCodecInfo>& VideoCodecs() {
    static const std::vector<TVideoCodecInfo> codecs = {
        {TVideoCodec::Mjpeg, "mjpeg", "avi", ".avi", true},
        {TVideoCodec::Mpeg4, "mpeg4", "avi", ".avi", true},
        {TVideoCodec::Ffv1, "ffv1", "avi", ".avi", true},
        {TVideoCodec::Raw, "rawvideo", "avi", ".avi", true},
        {TVideoCodec::H264, "libx264", "mp4", ".mp4", false},
        {TVideoCodec::Vp9, "libvpx-vp9", "webm", ".webm", false},
    };
    return codecs;
}

const TVideoCodecInfo& VideoCodecInfo(TVideoCodec codec) {
    for (const TVideoCodecInfo& info : VideoCodecs()) {
        if (info.Codec == codec) {
            return info;
        }
    }
    return VideoCodecs().front();
}

bool VideoCodecAvailable(TVideoCodec codec) {
    const TVideoCodecInfo& info = VideoCodecInfo(codec);
    return avcodec_find_encoder_by_name(info.Encoder) != nullptr &&
           av_guess_format(info.Container, nullptr, nullptr) != nullptr;
}

struct TVideoWriter::TImpl {
    TVideoCodec Codec = TVideoCodec::Mjpeg;
    fs::path Target;
    fs::path Temp;
    AVFormatContext* Format = nullptr;
    AVCodecContext* Encoder = nullptr;
    AVStream* Stream = nullptr;
    AVFrame* Frame = nullptr;
    AVPacket* Packet = nullptr;
    SwsContext* Scaler = nullptr;
    bool HeaderWritten = false;
    bool Open = false;

    ~TImpl() { Close(); }

    void Close() {
        if (Format) {
            if (!(Format->oformat->flags & AVFMT_NOFILE) && Format->pb) {
                avio_closep(&Format->pb);
            }
            avformat_free_context(Format);
            Format = nullptr;
        }
        avcodec_free_context(&Encoder);
        av_frame_free(&Frame);
        av_packet_free(&Packet);
        sws_freeContext(Scaler);
        Scaler = nullptr;
        Open = false;
    }

    /// Hands a frame (or nullptr to flush) to the encoder and writes what comes out.
    int Encode(AVFrame* frame) {
        int rc = avcodec_send_frame(Encoder, frame);
        if (rc < 0) {
            return rc;
        }
        for (;;) {
            rc = avcodec_receive_packet(Encoder, Packet);
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) {
                return 0;
            }
            if (rc < 0) {
                return rc;
            }
            av_packet_rescale_ts(Packet, Encoder->time_base, Stream->time_base);
            Packet->stream_index = Stream->index;
            rc = av_interleaved_write_frame(Format, Packet);
            av_packet_unref(Packet);
            if (rc < 0) {
                return rc;
            }
        }
    }
};

TVideoWriter::TVideoWriter() = default;

TVideoWriter::~TVideoWriter() {
    Abort();
}

bool TVideoWriter::Open(const std::string& fileName, TVideoCodec codec, int width, int height,
                        int fps, std::string* error) {
    Abort();
    // The encoders' statistics are of no use to the user; errors come back as results.
    av_log_set_level(AV_LOG_ERROR);
    m_frames = 0;
    m_encodeSeconds = 0;
    if (width < 16 || height < 16 || width % 2 || height % 2 || fps <= 0) {
        Fail(error, "invalid video size " + std::to_string(width) + " x " + std::to_string(height));
        return false;
    }
    const TVideoCodecInfo& info = VideoCodecInfo(codec);
    const AVCodec* encoder = avcodec_find_encoder_by_name(info.Encoder);
    if (!encoder) {
        Fail(error, std::string("no encoder ") + info.Encoder);
        return false;
    }
    m_impl = std::make_unique<TImpl>();
    TImpl& d = *m_impl;
    d.Codec = codec;
    d.Target = fs::path(fileName);
    d.Temp = d.Target;
    d.Temp += ".part";

    int rc =
        avformat_alloc_output_context2(&d.Format, nullptr, info.Container, d.Temp.string().c_str());
    if (rc < 0 || !d.Format) {
        Fail(error, AvError(rc));
        m_impl.reset();
        return false;
    }
    d.Stream = avformat_new_stream(d.Format, nullptr);
    d.Encoder = avcodec_alloc_context3(encoder);
    d.Frame = av_frame_alloc();
    d.Packet = av_packet_alloc();
    if (!d.Stream || !d.Encoder || !d.Frame || !d.Packet) {
        Fail(error, "out of memory");
        m_impl.reset();
        return false;
    }
    AVCodecContext* c = d.Encoder;
    c->width = width;
    c->height = height;
    c->time_base = AVRational{1, fps};
    c->framerate = AVRational{fps, 1};
    c->pix_fmt = PixelFormatOf(codec);
    if (info.AllKeyFrames) {
        c->gop_size = 1;
        c->max_b_frames = 0;
    }
    if (codec == TVideoCodec::Mjpeg || codec == TVideoCodec::Mpeg4) {
        // A fixed quantiser: the encoders' default bit rate is far too low for full frames.
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * 3;
    }
    if (codec == TVideoCodec::Vp9) {
        // Without these libvpx takes seconds a frame; the result still looks clean.
        av_opt_set(c->priv_data, "deadline", "realtime", 0);
        av_opt_set_int(c->priv_data, "cpu-used", 8, 0);
        av_opt_set_int(c->priv_data, "crf", 32, 0);
        c->bit_rate = 0;
    }
    if (codec == TVideoCodec::Ffv1) {
        // Slices let the lossless coder use every core, so it keeps pace with the renderer.
        c->level = 3;
        av_opt_set_int(c->priv_data, "slices", 4, 0);
    }
    // The encoder's threads take frames while the next one is rendered.
    c->thread_count = 0;
    if (codec == TVideoCodec::H264) {
        av_opt_set(c->priv_data, "preset", "veryfast", 0);
    }
    if (d.Format->oformat->flags & AVFMT_GLOBALHEADER) {
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    rc = avcodec_open2(c, encoder, nullptr);
    if (rc < 0) {
        Fail(error, AvError(rc));
        m_impl.reset();
        return false;
    }
    rc = avcodec_parameters_from_context(d.Stream->codecpar, c);
    d.Stream->time_base = c->time_base;
    d.Stream->avg_frame_rate = c->framerate;
    d.Stream->r_frame_rate = c->framerate;
    if (rc >= 0 && !(d.Format->oformat->flags & AVFMT_NOFILE)) {
        rc = avio_open(&d.Format->pb, d.Temp.string().c_str(), AVIO_FLAG_WRITE);
    }
    if (rc >= 0) {
        rc = avformat_write_header(d.Format, nullptr);
        d.HeaderWritten = rc >= 0;
    }
    if (rc < 0) {
        Fail(error, AvError(rc));
        Abort();
        return false;
    }
    d.Frame->format = c->pix_fmt;
    d.Frame->width = width;
    d.Frame->height = height;
    rc = av_frame_get_buffer(d.Frame, 0);
    d.Scaler = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, c->pix_fmt,
                              SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (rc < 0 || !d.Scaler) {
        Fail(error, rc < 0 ? AvError(rc) : "no colour conversion");
        Abort();
        return false;
    }
    d.Open = true;
    return true;
}

bool TVideoWriter::WriteFrame(const TRgbaImage& image, std::string* error) {
    if (!m_impl || !m_impl->Open) {
        Fail(error, "no video open");
        return false;
    }
    TImpl& d = *m_impl;
    if (image.Width != d.Encoder->width || image.Height != d.Encoder->height ||
        image.Pixels.size() != size_t(image.Width) * size_t(image.Height) * 4) {
        Fail(error, "picture of the wrong size");
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    int rc = av_frame_make_writable(d.Frame);
    if (rc < 0) {
        Fail(error, AvError(rc));
        return false;
    }
    const uint8_t* const source[1] = {image.Pixels.data()};
    const int stride[1] = {image.Width * 4};
    sws_scale(d.Scaler, source, stride, 0, image.Height, d.Frame->data, d.Frame->linesize);
    d.Frame->pts = m_frames;
    if (d.Encoder->gop_size == 1) {
        d.Frame->pict_type = AV_PICTURE_TYPE_I;
    }
    if (d.Encoder->flags & AV_CODEC_FLAG_QSCALE) {
        d.Frame->quality = d.Encoder->global_quality;
    }
    rc = d.Encode(d.Frame);
    m_encodeSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (rc < 0) {
        Fail(error, AvError(rc));
        return false;
    }
    ++m_frames;
    return true;
}

bool TVideoWriter::Finish(std::string* error) {
    if (!m_impl || !m_impl->Open) {
        Fail(error, "no video open");
        return false;
    }
    TImpl& d = *m_impl;
    int rc = d.Encode(nullptr);
    if (rc >= 0) {
        rc = av_write_trailer(d.Format);
    }
    d.HeaderWritten = false;
    if (rc >= 0 && d.Format->pb) {
        rc = avio_closep(&d.Format->pb);
    }
    if (rc < 0) {
        Fail(error, AvError(rc));
        Abort();
        return false;
    }
    d.Close();
    std::error_code ec;
    fs::rename(d.Temp, d.Target, ec);
    if (ec) {
        Fail(error, ec.message());
        Abort();
        return false;
    }
    m_impl.reset();
    return true;
}

void TVideoWriter::Abort() {
    if (!m_impl) {
        return;
    }
    m_impl->Close();
    std::error_code ec;
    fs::remove(m_impl->Temp, ec);
    m_impl.reset();
}

}  // namespace kx
