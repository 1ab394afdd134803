// Videos of an animated sample model, rendered offscreen and checked by FFmpeg's own tools:
// container, codec, frame rate, frame count, size, key frames, and pictures that move.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "motion/r_animationvideo.h"
#include "motion/u_keyframes.h"
#include "view/r_headless.h"
#include "view/r_renderer.h"
#include "view/u_scene.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

std::string RunCapture(const std::string& command) {
    std::string out;
    if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) {
            out.append(buffer, n);
        }
        pclose(p);
    }
    return out;
}

/// ffprobe's answers about the first video stream as key=value pairs.
std::map<std::string, std::string> Probe(const fs::path& file) {
    const std::string text = RunCapture(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,r_frame_rate,nb_read_frames:format=format_name "
        "-of default=noprint_wrappers=1 '" +
        file.string() + "'");
    std::map<std::string, std::string> values;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        if (const size_t eq = line.find('='); eq != std::string::npos) {
            values[line.substr(0, eq)] = line.substr(eq + 1);
        }
        start = end + 1;
    }
    return values;
}

/// Frame n (from 0) of the video as a picture, extracted by ffmpeg.
TRgbaImage ExtractFrame(const fs::path& video, int n, const fs::path& png) {
    RunCapture("ffmpeg -v error -y -i '" + video.string() + "' -vf 'select=eq(n\\," +
               std::to_string(n) + ")' -vframes 1 '" + png.string() + "'");
    TRgbaImage image;
    LoadImageFile(png, image);
    return image;
}

/// Pixels that differ by more than a little between two pictures of one size.
int DifferentPixels(const TRgbaImage& a, const TRgbaImage& b) {
    int n = 0;
    for (int y = 0; y < a.Height; ++y) {
        for (int x = 0; x < a.Width; ++x) {
            const uint8_t* p = a.At(x, y);
            const uint8_t* q = b.At(x, y);
            n += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > 40;
        }
    }
    return n;
}

/// Mean colour difference of two pictures of one size over blocks of 8 x 8 pixels (lossy
/// codecs smear single pixels, not blocks), b read upside down if asked.
double MeanDifference(const TRgbaImage& a, const TRgbaImage& b, bool flipB) {
    double sum = 0;
    int blocks = 0;
    for (int by = 0; by + 8 <= a.Height; by += 8) {
        for (int bx = 0; bx + 8 <= a.Width; bx += 8) {
            for (int c = 0; c < 3; ++c) {
                int pa = 0, pb = 0;
                for (int y = by; y < by + 8; ++y) {
                    for (int x = bx; x < bx + 8; ++x) {
                        pa += a.At(x, y)[c];
                        pb += b.At(x, flipB ? b.Height - 1 - y : y)[c];
                    }
                }
                sum += std::abs(pa - pb) / 64.0;
            }
            ++blocks;
        }
    }
    return sum / blocks;
}

int DistinctColours(const TRgbaImage& image) {
    std::map<int, int> seen;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const uint8_t* p = image.At(x, y);
            seen[(p[0] / 16) << 8 | (p[1] / 16) << 4 | p[2] / 16]++;
        }
    }
    return int(seen.size());
}

class AnimationVideo : public testing::Test {
protected:
    static void SetUpTestSuite() { s_context = std::make_unique<THeadlessContext>(); }
    static void TearDownTestSuite() { s_context.reset(); }

    AnimationVideo() : m_files(fs::path(KX_RUNTIME_DIR), m_dir / "user") {
        BuildMainScene(m_scene);
        m_model = std::make_unique<TkxMain>(m_scene, m_files, m_defs, m_meshes);
    }

    void SetUp() override {
        ASSERT_TRUE(s_context->Valid()) << s_context->Error();
        const fs::path sample = fs::path(KX_RUNTIME_DIR) / "samples" / "Kran.kxm";
        m_model->ConnectorsHidden = true;
        ASSERT_TRUE(m_model->LoadModell(sample.string(), true)) << sample;
        ASSERT_FALSE(m_model->Parts().Empty());
        // Every part rises and swings aside over the frames, each by its own amount.
        int i = 0;
        for (const auto& part : m_model->Parts()) {
            const TKeyPose start{part->Position(), part->Up(), part->Direction()};
            TKeyPose end = start;
            end.Position += TVector3f{float(i % 5 - 2), 4, float(i % 3)};
            part->AddKey(MakeKey(start, 1));
            part->AddKey(MakeKey(end, 12));
            ++i;
        }
    }

    TVideoJob Job(const std::string& name, TVideoCodec codec) const {
        TVideoJob job;
        job.FileName = (m_dir / name).string();
        job.Codec = codec;
        job.Width = 167;  // cut to 160
        job.Height = 120;
        job.FirstFrame = 1;
        job.LastFrame = 12;
        return job;
    }

    static inline std::unique_ptr<THeadlessContext> s_context;
    kxtest::TTempDir m_dir;
    TScene m_scene;
    TPartFiles m_files;
    TDefCache m_defs;
    TffCache m_meshes;
    std::unique_ptr<TkxMain> m_model;
    TRenderer m_renderer;
};

TEST_F(AnimationVideo, EveryCodecWritesAVideoThatFfprobeReadsAsAsked) {
    ASSERT_FALSE(RunCapture("ffprobe -version").empty()) << "ffprobe is not installed";
    const struct {
        TVideoCodec Codec;
        const char* Name;
        const char* Format;
    } cases[] = {
        {TVideoCodec::Mjpeg, "mjpeg", "avi"},
        {TVideoCodec::Mpeg4, "mpeg4", "avi"},
        {TVideoCodec::Ffv1, "ffv1", "avi"},
        {TVideoCodec::Raw, "rawvideo", "avi"},
        {TVideoCodec::H264, "h264", "mov,mp4,m4a,3gp,3g2,mj2"},
        {TVideoCodec::Vp9, "vp9", "matroska,webm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!VideoCodecAvailable(c.Codec)) {
            EXPECT_TRUE(c.Codec == TVideoCodec::H264 || c.Codec == TVideoCodec::Vp9);
            continue;
        }
        const TVideoJob job =
            Job(std::string("film_") + c.Name + VideoCodecInfo(c.Codec).Extension, c.Codec);
        std::vector<int32_t> told;
        const TVideoResult r = RenderAnimationVideo(*m_model, m_renderer, job, [&](int32_t t) {
            told.push_back(t);
            return true;
        });
        ASSERT_TRUE(r) << r.Error;
        EXPECT_EQ(r.Frames, 12);
        EXPECT_EQ(told.size(), 12u);
        EXPECT_FALSE(fs::exists(job.FileName + ".part"));

        auto probe = Probe(job.FileName);
        EXPECT_EQ(probe["format_name"], c.Format);
        EXPECT_EQ(probe["codec_name"], c.Name);
        EXPECT_EQ(probe["r_frame_rate"], "25/1");
        EXPECT_EQ(probe["nb_read_frames"], "12");
        EXPECT_EQ(probe["width"], "160");
        EXPECT_EQ(probe["height"], "120");
        if (VideoCodecInfo(c.Codec).AllKeyFrames) {
            const std::string keys = RunCapture(
                "ffprobe -v error -select_streams v:0 -show_entries frame=key_frame -of "
                "csv=p=0 '" +
                job.FileName + "'");
            std::string allKeys;
            for (int i = 0; i < 12; ++i) {
                allKeys += "1\n";
            }
            EXPECT_EQ(keys, allKeys);
        }
        const TRgbaImage first = ExtractFrame(job.FileName, 0, m_dir / "first.png");
        const TRgbaImage middle = ExtractFrame(job.FileName, 6, m_dir / "middle.png");
        ASSERT_EQ(middle.Width, 160);
        ASSERT_EQ(first.Width, 160);
        EXPECT_GT(DistinctColours(middle), 4) << "the middle frame is blank";
        EXPECT_GT(DifferentPixels(first, middle), 200) << "the parts did not move";
        // Right way up: the last frame is the model as it stands now, not its mirror image.
        const TRgbaImage rendered = m_renderer.RenderImage(m_scene, 160, 120);
        const TRgbaImage last = ExtractFrame(job.FileName, 11, m_dir / "last.png");
        EXPECT_LT(MeanDifference(rendered, last, false), MeanDifference(rendered, last, true) / 3);
    }
}

TEST_F(AnimationVideo, CancelledOrFailedVideoLeavesNoBrokenFile) {
    const TVideoJob job = Job("film.avi", TVideoCodec::Mjpeg);
    { std::ofstream(job.FileName) << "the old film"; }
    const TVideoResult cancelled =
        RenderAnimationVideo(*m_model, m_renderer, job, [](int32_t t) { return t < 4; });
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(cancelled.Cancelled);
    std::ifstream old(job.FileName);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "the old film");
    EXPECT_FALSE(fs::exists(job.FileName + ".part"));

    TVideoJob nowhere = job;
    nowhere.FileName = (m_dir / "missing" / "film.avi").string();
    const TVideoResult failed = RenderAnimationVideo(*m_model, m_renderer, nowhere);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.Cancelled);
    EXPECT_NE(failed.Error.find("Cannot create AVI file"), std::string::npos) << failed.Error;
    EXPECT_FALSE(fs::exists(m_dir / "missing"));
}

}  // namespace
