// The kit's pictures drawn by the program's own renderer in a headless GL context.
#include "kg_glpainter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "model/u_partobject.h"
#include "view/r_headless.h"
#include "view/r_renderer.h"
#include "view/u_scene.h"

namespace kx::kitgen {

namespace {

// The same view as the software painter's: from the front right above, Y up.
const TVector3f kViewDirection = Normalized({-1.0f, -0.75f, -1.35f});
// A longer lens than the 3D view's, so that a long part is not distorted in a small tile.
constexpr float kFocalLength = 200;
// The share of the picture's width left free on each side.
constexpr float kMargin = 0.08f;
// Each picture is drawn at twice its size with multisampling and averaged down.
constexpr int kOversize = 2;
constexpr int kSamples = 4;

TColor3f Colour(TRgb c) {
    return {c.R / 255.0f, c.G / 255.0f, c.B / 255.0f};
}

}  // namespace

struct TGlPartPainter::TImpl {
    // The context goes last: the renderer frees its GL objects while it is still current.
    THeadlessContext Context;
    TRenderer Renderer;
    TPartFiles Files;
    TffCache Meshes;
    TDefCache Defs;
    TBasicPartObjectBuilder Builder;
    TScene Scene;
    int Samples = kSamples;
    bool Valid = false;
    std::string Error;

    // The kit has no user folder: the program folder stands in for it too.
    explicit TImpl(const std::filesystem::path& programDir) : Files(programDir, programDir) {}
    ~TImpl() {
        if (Context.Valid()) {
            Context.MakeCurrent();
            Renderer.ReleaseGl();
        }
    }

    // The camera looks along the view direction from so far away that every vertex falls
    // inside the picture less its margins, and is moved sideways until the part's picture is
    // centred: for a long part seen at a slant the middle of its box is not the middle of
    // its picture.
    void FitCamera(const std::vector<const TFreeForm*>& objects) {
        std::vector<TVector3f> points;
        TVector3f lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
        for (const TFreeForm* object : objects) {
            const TMatrix4f world = object->AbsoluteMatrix();
            for (const TVector3f& p : object->Mesh()->Positions) {
                const TVector3f w = world.TransformPoint(p);
                points.push_back(w);
                lo = {std::min(lo.X, w.X), std::min(lo.Y, w.Y), std::min(lo.Z, w.Z)};
                hi = {std::max(hi.X, w.X), std::max(hi.Y, w.Y), std::max(hi.Z, w.Z)};
            }
        }
        const TVector3f right = Normalized(Cross(kViewDirection, {0, 1, 0}));
        const TVector3f up = Cross(right, kViewDirection);
        TSceneCamera& camera = *Scene.Camera();
        camera.SetFocalLength(kFocalLength);
        const float halfField = camera.FieldOfViewY() / 2 * std::numbers::pi_v<float> / 180;
        const float reach = std::tan(halfField) * (1 - 2 * kMargin);

        TVector3f centre = (lo + hi) * 0.5f;
        float distance = 0;
        for (int round = 0; round < 4; ++round) {
            distance = 0;
            float nearest = 0;
            for (const TVector3f& p : points) {
                const TVector3f r = p - centre;
                const float across = std::max(std::fabs(Dot(r, right)), std::fabs(Dot(r, up)));
                const float along = Dot(r, kViewDirection);
                distance = std::max(distance, across / reach - along);
                nearest = std::max(nearest, -along);
            }
            distance = std::max(distance, nearest * 1.5f + camera.NearPlane());
            // Where the picture's edges fall, as slopes from the line of sight.
            float uLo = 1e30f, uHi = -1e30f, vLo = 1e30f, vHi = -1e30f;
            for (const TVector3f& p : points) {
                const TVector3f r = p - centre;
                const float depth = distance + Dot(r, kViewDirection);
                uLo = std::min(uLo, Dot(r, right) / depth);
                uHi = std::max(uHi, Dot(r, right) / depth);
                vLo = std::min(vLo, Dot(r, up) / depth);
                vHi = std::max(vHi, Dot(r, up) / depth);
            }
            centre += right * ((uLo + uHi) / 2 * distance) + up * ((vLo + vHi) / 2 * distance);
        }
        Scene.CameraTarget()->SetPosition(centre);
        camera.SetPosition(centre - kViewDirection * distance);
        camera.SetUp({0, 1, 0});
        Scene.CameraLightToCamera();
    }

    // The program would draw a stand-in for a mesh it cannot read; the kit must not ship one.
    const TFreeForm& Build(const TDefObj& def) {
        TMeshPtr mesh;
        try {
            mesh = Meshes.LoadPartMesh(Files, "hires", def.Number);
        } catch (const TMeshLoadError& e) {
            throw std::runtime_error("part " + def.Number + ": " + e.what());
        }
        if (!mesh || mesh->Positions.empty()) {
            throw std::runtime_error("part " + def.Number + " has no mesh in " +
                                     Files.ProgramDir().string());
        }
        TPartObjectRequest request;
        request.Name = "F" + def.Number + "_1";
        request.Offset = {float(def.OffsetX), float(def.OffsetY), float(def.OffsetZ)};
        request.Color = def.Color();
        request.OwnColor = def.Color();
        request.Alpha = def.Alpha;
        request.ConnectorsVisible = false;
        request.ArrowAxes = false;
        return Builder.Build(*Scene.PartsRoot(), Scene.MaterialLibrary(), Files, Meshes, "hires",
                             def, request);
    }

    TRgbaImage Render(int width, int height, TRgb background) {
        Scene.SetBackgroundColor(Colour(background));
        TRgbaImage image = Renderer.RenderImage(Scene, width, height, Samples);
        if (image.Empty() && Samples > 0) {
            Samples = 0;  // a GL without multisampled buffers still draws, just rougher
            image = Renderer.RenderImage(Scene, width, height, Samples);
        }
        if (image.Empty()) {
            throw std::runtime_error("the GL could not draw a picture");
        }
        return image;
    }
};

TGlPartPainter::TGlPartPainter(std::filesystem::path programDir)
    : m_impl(std::make_unique<TImpl>(programDir)) {
    if (!m_impl->Context.Valid()) {
        m_impl->Error = m_impl->Context.Error();
        return;
    }
    std::string error;
    if (!m_impl->Renderer.Initialize(&error)) {
        m_impl->Error = error;
        return;
    }
    m_impl->Valid = true;
}

TGlPartPainter::~TGlPartPainter() = default;

bool TGlPartPainter::Valid() const {
    return m_impl->Valid;
}

const std::string& TGlPartPainter::Error() const {
    return m_impl->Error;
}

TImage TGlPartPainter::Paint(const TKitPart& part, int width, int height, TRgb background) {
    TImpl& d = *m_impl;
    if (!d.Valid) {
        throw std::runtime_error("no GL: " + d.Error);
    }
    d.Context.MakeCurrent();
    BuildMainScene(d.Scene);
    d.Scene.Grid()->SetVisible(false);

    // A composite is drawn with its children, as it is placed: a complete wheel shows its tyre.
    std::vector<const TFreeForm*> objects;
    objects.push_back(&d.Build(part.Def));
    for (const std::string& child : part.Def.Children) {
        objects.push_back(&d.Build(*d.Defs.GetDef(d.Files, child, TCatalogueSettings{})));
    }
    d.FitCamera(objects);

    // Drawn once on the background and once on its opposite: a pixel that changes with the
    // background is background at least in part, one that is the same in both is all part.
    const int w = width * kOversize, h = height * kOversize;
    const TRgb opposite{uint8_t(255 - background.R), uint8_t(255 - background.G),
                        uint8_t(255 - background.B)};
    const TRgbaImage onBackground = d.Render(w, h, background);
    const TRgbaImage onOpposite = d.Render(w, h, opposite);

    TImage picture(width, height, background);
    std::vector<bool> covered(size_t(width) * height, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int sum[3] = {0, 0, 0};
            bool part = false;
            for (int j = 0; j < kOversize; ++j) {
                for (int i = 0; i < kOversize; ++i) {
                    const uint8_t* a = onBackground.At(x * kOversize + i, y * kOversize + j);
                    const uint8_t* b = onOpposite.At(x * kOversize + i, y * kOversize + j);
                    const bool bare = a[0] == background.R && a[1] == background.G &&
                                      a[2] == background.B && b[0] == opposite.R &&
                                      b[1] == opposite.G && b[2] == opposite.B;
                    part = part || !bare;
                    for (int k = 0; k < 3; ++k) {
                        sum[k] += a[k];
                    }
                }
            }
            constexpr int n = kOversize * kOversize;
            picture.At(x, y) = {uint8_t((sum[0] + n / 2) / n), uint8_t((sum[1] + n / 2) / n),
                                uint8_t((sum[2] + n / 2) / n)};
            covered[size_t(y) * width + x] = part;
        }
    }
    KeepPartOffBackground(picture, covered, background);
    return picture;
}

}  // namespace kx::kitgen
