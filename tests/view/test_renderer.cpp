// Pixel tests of the renderer on headless renderings: lighting, outlines, transparency,
// polygon modes, textures, lines, multisampling, instancing and upload caching.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <cmath>
#include <filesystem>

#include "kx_test_support.h"
#include "render_test_support.h"
#include "view/r_headless.h"
#include "view/r_renderer.h"
#include "view/r_target.h"

using namespace kx;
using namespace kxtest;

namespace {

constexpr int kSize = 64;
const TRgb kWhite{255, 255, 255};

class Renderer : public testing::Test {
protected:
    static void SetUpTestSuite() { s_context = std::make_unique<THeadlessContext>(); }
    static void TearDownTestSuite() { s_context.reset(); }
    // Whatever a test drew, the GL reported no misuse.
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
    void SetUp() override {
        ASSERT_TRUE(s_context->Valid()) << s_context->Error();
        std::string error;
        ASSERT_TRUE(m_renderer.Initialize(&error)) << error;
    }

    TRgbaImage Render(const TGlFrame& frame, int samples = 0) {
        TRgbaImage image = m_renderer.RenderImage(frame, kSize, kSize, samples);
        EXPECT_EQ(image.Width, kSize);
        return image;
    }

    static int CountNot(const TRgbaImage& image, TRgb colour, int tolerance = 8) {
        int n = 0;
        for (int y = 0; y < image.Height; ++y) {
            for (int x = 0; x < image.Width; ++x) {
                n += !Near(PixelAt(image, x, y), colour, tolerance);
            }
        }
        return n;
    }

    static inline std::unique_ptr<THeadlessContext> s_context;
    TRenderer m_renderer;
    static uint64_t Id(int i) { return uint64_t(i) + 1; }
};

TEST_F(Renderer, ClearsToTheBackgroundAndLightsAPartAtItsCentre) {
    TGlFrame frame = MakeFrame(kSize, kSize);
    frame.Background = {0.25f, 0.5f, 0.75f, 1};
    TRgbaImage empty = Render(frame);
    EXPECT_TRUE(Near(PixelAt(empty, 3, 3), {64, 128, 191}, 1));

    frame.Meshes.push_back(MakeItem(Id(0), MakeBox(2, 2, 2), {1, 0, 0, 1}));
    TRgbaImage lit = Render(frame);
    const TRgb centre = PixelAt(lit, kSize / 2, kSize / 2);
    // Facing the light head-on: full diffuse red plus a little ambient.
    EXPECT_GE(centre.R, 240);
    EXPECT_LE(centre.G, 20);
    EXPECT_LE(centre.B, 20);
    EXPECT_TRUE(Near(PixelAt(lit, 3, 3), {64, 128, 191}, 1));

    // Without lights only the ambient term is left.
    frame.Lights[0].On = false;
    const TRgb dark = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_LT(dark.R, 20);
    EXPECT_GT(dark.R, 5);

    // A light from the side lights the face at a slant: between the two.
    frame.Lights[3].On = true;
    frame.Lights[3].Position = {10, 0, 10};
    const TRgb slanted = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_GT(slanted.R, dark.R + 60);
    EXPECT_LT(slanted.R, centre.R - 20);

    // Emission adds whatever the light does.
    frame.Lights[3].On = false;
    frame.Meshes[0].Emission = {0, 0, 1, 1};
    frame.Meshes[0].Version = 2;
    const TRgb glowing = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_GE(glowing.B, 250);
}

TEST_F(Renderer, OutlinesAreWiderThanOnePixelAtWidthThree) {
    TGlFrame frame = MakeFrame(kSize, kSize, {3, 4, 10});
    frame.Surfaces.push_back(TGlSurface{});
    frame.Surfaces[1].Outline = true;
    frame.Meshes.push_back(MakeItem(Id(0), MakeBox(3, 3, 3), {1, 1, 0, 1}));
    frame.Meshes[0].Emission = {0.5f, 0.5f, 0, 1};  // no face dark enough to pass for outline
    const TRgbaImage plain = Render(frame);

    auto darkRunAcrossLeftEdge = [](const TRgbaImage& image) {
        // Along the middle row, from the left, the first run of near-black pixels.
        const int y = kSize / 2;
        int run = 0;
        for (int x = 0; x < kSize; ++x) {
            const TRgb p = PixelAt(image, x, y);
            const bool dark = p.R < 60 && p.G < 60 && p.B < 60;
            if (dark) {
                ++run;
            } else if (run > 0) {
                break;
            }
        }
        return run;
    };
    EXPECT_EQ(darkRunAcrossLeftEdge(plain), 0);

    frame.Meshes[0].Surface = 1;
    frame.Surfaces[1].OutlineWidth = 3;
    const TRgbaImage outlined = Render(frame);
    const int width3 = darkRunAcrossLeftEdge(outlined);
    EXPECT_GE(width3, 2);
    // The part itself stays lit inside its outline.
    const TRgb centre = PixelAt(outlined, kSize / 2, kSize / 2);
    EXPECT_GT(centre.R, 150);
    EXPECT_GT(centre.G, 150);
    EXPECT_GT(CountNot(outlined, kWhite), CountNot(plain, kWhite));

    frame.Surfaces[1].OutlineWidth = 8;
    EXPECT_GT(darkRunAcrossLeftEdge(Render(frame)), width3 + 2);

    // Without lighting the second pass fills with the background colour: a drawing of edges.
    frame.Surfaces[1].OutlineLighting = false;
    frame.Surfaces[1].OutlineFill = {1, 1, 1, 1};
    frame.Surfaces[1].OutlineWidth = 3;
    EXPECT_TRUE(Near(PixelAt(Render(frame), kSize / 2, kSize / 2), kWhite, 2));
}

TEST_F(Renderer, TransparentItemsBlendBackToFrontWhateverTheirOrder) {
    TGlFrame frame = MakeFrame(kSize, kSize);
    frame.Meshes.push_back(MakeItem(Id(0), MakeBox(2, 2, 0.2f), {1, 0, 0, 0.5f}, {0, 0, 2}));
    frame.Meshes.push_back(MakeItem(Id(1), MakeBox(4, 4, 0.2f), {0, 0, 1, 1}, {0, 0, -2}));
    const TRgbaImage image = Render(frame);
    const TRgb centre = PixelAt(image, kSize / 2, kSize / 2);
    // Half red over blue: both show.
    EXPECT_GT(centre.R, 90);
    EXPECT_GT(centre.B, 90);
    EXPECT_LT(centre.G, 30);

    // Two transparent sheets: the nearer one is blended last, in either list order.
    frame.Meshes[1].Diffuse.A = 0.5f;
    const TRgbaImage a = Render(frame);
    std::swap(frame.Meshes[0], frame.Meshes[1]);
    const TRgbaImage b = Render(frame);
    EXPECT_EQ(a.Pixels, b.Pixels);
    const TRgb front = PixelAt(a, kSize / 2, kSize / 2);
    EXPECT_GT(front.R, front.B);  // red is in front, so it weighs more

    // Additive: the colours add up, whatever the order.
    frame.Meshes[0].Additive = frame.Meshes[1].Additive = true;
    frame.Meshes[0].Diffuse.A = frame.Meshes[1].Diffuse.A = 1;
    frame.Background = {0, 0, 0, 1};
    const TRgb added = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_GE(added.R, 240);
    EXPECT_GE(added.B, 240);
    frame.Meshes[0].Additive = frame.Meshes[1].Additive = false;
    frame.Meshes[0].Diffuse.A = frame.Meshes[1].Diffuse.A = 0.5f;

    // Not blended: drawn opaque whatever the alpha.
    frame.Meshes[1].Blended = false;
    frame.Meshes[0].Blended = false;
    const TRgb opaque = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_GE(opaque.R, 240);
    EXPECT_LE(opaque.B, 20);
}

TEST_F(Renderer, PolygonModesDrawFacesEdgesOrCorners) {
    TGlFrame frame = MakeFrame(kSize, kSize, {4, 3, 8});
    frame.Meshes.push_back(MakeItem(Id(0), MakeBox(3, 3, 3), {0, 0, 0, 1}));
    frame.Meshes[0].Ambient = {0, 0, 0, 1};
    const int filled = CountNot(Render(frame), kWhite);

    frame.Surfaces[0].PolygonMode = TGlPolygonMode::Lines;
    const TRgbaImage wire = Render(frame);
    const int lines = CountNot(wire, kWhite);
    frame.Surfaces[0].PolygonMode = TGlPolygonMode::Points;
    const int points = CountNot(Render(frame), kWhite);

    EXPECT_GT(filled, 400);
    EXPECT_GT(lines, 40);
    EXPECT_LT(lines, filled / 2);
    EXPECT_GE(points, 8);
    EXPECT_LT(points, lines);
}

TEST_F(Renderer, InstancedDrawingEqualsOneDrawPerPart) {
    TGlFrame shared = MakeFrame(kSize, kSize, {2, 6, 12});
    TGlFrame separate = shared;
    const TMeshPtr box = MakeBox(1, 1.5f, 1);
    for (int i = 0; i < 9; ++i) {
        const TVector3f pos{float(i % 3) * 2 - 2, 0, float(i / 3) * 2 - 2};
        const TGlColor colour{0.2f + 0.1f * i, 0.5f, 1 - 0.1f * i, 1};
        TGlMeshItem item = MakeItem(Id(i), box, colour, pos);
        item.World = item.World * FrameMatrix({}, Normalized({1, 0, 1}), {0, 1, 0});
        shared.Meshes.push_back(item);
        item.Mesh = MakeBox(1, 1.5f, 1);  // same shape, own mesh: a batch of one
        separate.Meshes.push_back(item);
    }
    const TRgbaImage a = Render(shared);
    EXPECT_EQ(m_renderer.LastStats().InstancedBatches, 1);
    const TRgbaImage b = Render(separate);
    EXPECT_EQ(m_renderer.LastStats().InstancedBatches, 9);
    EXPECT_EQ(a.Pixels, b.Pixels);
}

TEST_F(Renderer, UploadsInstancesOnlyWhenAVersionChanges) {
    TGlFrame frame = MakeFrame(kSize, kSize);
    const TMeshPtr box = MakeBox(1, 1, 1);
    frame.Meshes.push_back(MakeItem(Id(0), box, {1, 0, 0, 1}, {-2, 0, 0}));
    frame.Meshes.push_back(MakeItem(Id(1), box, {0, 1, 0, 1}, {2, 0, 0}));
    frame.Meshes.push_back(MakeItem(Id(2), MakeBox(1, 1, 1), {0, 0, 1, 1}, {0, 2, 0}));
    TGlLines grid;
    grid.Id = Id(3);
    grid.Version = 1;
    grid.Points = {{-3, -2, 0}, {3, -2, 0}};
    frame.Lines.push_back(grid);

    Render(frame);
    EXPECT_EQ(m_renderer.LastStats().InstanceUploads, 2);
    EXPECT_EQ(m_renderer.LastStats().LineUploads, 1);
    const TRgbaImage before = Render(frame);
    EXPECT_EQ(m_renderer.LastStats().InstanceUploads, 0);
    EXPECT_EQ(m_renderer.LastStats().LineUploads, 0);

    // A moved part with a new version: only its batch is written again, and it shows moved.
    frame.Meshes[1].World = Translation({2, -2, 0});
    frame.Meshes[1].Version = 2;
    const TRgbaImage after = Render(frame);
    EXPECT_EQ(m_renderer.LastStats().InstanceUploads, 1);
    EXPECT_NE(before.Pixels, after.Pixels);

    // A removed part changes the batch too.
    frame.Meshes.erase(frame.Meshes.begin());
    Render(frame);
    EXPECT_EQ(m_renderer.LastStats().InstanceUploads, 1);

    frame.Lines[0].Version = 2;
    Render(frame);
    EXPECT_EQ(m_renderer.LastStats().LineUploads, 1);
}

TEST_F(Renderer, TexturesModulateAndTheirTopLeftColourCanBeTransparent) {
    TTempDir dir;
    // Left half green, right half blue, with a magenta top-left pixel block.
    TRgbaImage texture;
    texture.Width = texture.Height = 8;
    texture.Pixels.resize(8 * 8 * 4);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = texture.At(x, y);
            const bool magenta = x < 4 && y < 4;
            p[0] = magenta ? 255 : 0;
            p[1] = magenta ? 0 : (x < 4 ? 255 : 0);
            p[2] = magenta ? 255 : (x < 4 ? 0 : 255);
            p[3] = 255;
        }
    }
    const auto file = dir / "tex.png";
    ASSERT_TRUE(SavePng(file, texture));

    TGlFrame frame = MakeFrame(kSize, kSize, {0, 0, 5});
    frame.Meshes.push_back(MakeItem(Id(0), MakeBox(4, 4, 0.1f), {1, 1, 1, 1}));
    frame.Surfaces[0].Texture = file.string();
    const TRgbaImage image = Render(frame);
    // The picture's left half is on the left, its top on top.
    const TRgb topLeft = PixelAt(image, kSize / 2 - 10, kSize / 2 - 10);
    const TRgb bottomLeft = PixelAt(image, kSize / 2 - 10, kSize / 2 + 10);
    const TRgb bottomRight = PixelAt(image, kSize / 2 + 10, kSize / 2 + 10);
    EXPECT_GT(topLeft.R, 200);
    EXPECT_GT(topLeft.B, 200);
    EXPECT_GT(bottomLeft.G, 200);
    EXPECT_LT(bottomLeft.R, 30);
    EXPECT_GT(bottomRight.B, 200);

    frame.Surfaces[0].TextureTopLeftTransparent = true;
    const TRgbaImage cut = Render(frame);
    EXPECT_TRUE(Near(PixelAt(cut, kSize / 2 - 10, kSize / 2 - 10), kWhite, 2));
    EXPECT_GT(PixelAt(cut, kSize / 2 - 10, kSize / 2 + 10).G, 200);

    // A plain part behind shows through the see-through corner: textured and plain surfaces
    // are drawn by different programs in one frame, each lit.
    TGlFrame both = frame;
    both.Surfaces.emplace_back();
    TGlMeshItem behind = MakeItem(Id(1), MakeBox(8, 8, 0.1f), {1, 0, 0, 1});
    behind.Surface = 1;
    behind.World = Translation({0, 0, -1});
    both.Meshes.push_back(behind);
    const TRgbaImage layered = Render(both);
    const TRgb through = PixelAt(layered, kSize / 2 - 10, kSize / 2 - 10);
    EXPECT_GT(through.R, 150);
    EXPECT_LT(through.G, 30);
    EXPECT_GT(PixelAt(layered, kSize / 2 - 10, kSize / 2 + 10).G, 200);

    // A texture that cannot be read leaves the part untextured, not invisible.
    frame.Surfaces[0].Texture = (dir / "missing.png").string();
    frame.Meshes[0].Diffuse = {1, 0, 0, 1};
    frame.Meshes[0].Version = 2;
    const TRgb plain = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_GT(plain.R, 200);
    EXPECT_LT(plain.G, 30);
}

TEST_F(Renderer, WideLinesAreDrawnAsQuads) {
    TGlFrame frame = MakeFrame(kSize, kSize);
    TGlLines line;
    line.Id = Id(0);
    line.Points = {{-10, 0, 0}, {10, 0, 0}};
    line.Color = {0, 0, 0, 1};
    frame.Lines.push_back(line);
    auto columnCount = [](const TRgbaImage& image) {
        int n = 0;
        for (int y = 0; y < kSize; ++y) {
            n += PixelAt(image, kSize / 2, y).R < 128;
        }
        return n;
    };
    EXPECT_EQ(columnCount(Render(frame)), 1);
    frame.Lines[0].Width = 5;
    frame.Lines[0].Version = 2;
    const int wide = columnCount(Render(frame));
    EXPECT_GE(wide, 4);
    EXPECT_LE(wide, 6);
}

TEST_F(Renderer, MultisamplingSmoothsEdges) {
    TGlFrame frame = MakeFrame(kSize, kSize, {0, 0, 10});
    frame.Background = {0, 0, 0, 1};
    TGlMeshItem item = MakeItem(Id(0), MakeBox(3, 3, 0.1f), {1, 1, 1, 1});
    item.World = FrameMatrix({}, {0, 0, 1}, Normalized({1, 2, 0}));  // tilted edges
    item.Emission = {1, 1, 1, 1};
    frame.Meshes.push_back(item);
    auto midTones = [](const TRgbaImage& image) {
        int n = 0;
        for (size_t i = 0; i < image.Pixels.size(); i += 4) {
            n += image.Pixels[i] > 30 && image.Pixels[i] < 225;
        }
        return n;
    };
    EXPECT_EQ(midTones(Render(frame, 0)), 0);
    EXPECT_GT(midTones(Render(frame, 4)), 20);
}

TEST_F(Renderer, MirroredPartsShowTheirOutsideAndEmptyMeshesAreSkipped) {
    TGlFrame frame = MakeFrame(kSize, kSize);
    TGlMeshItem item = MakeItem(Id(0), MakeBox(2, 2, 2), {1, 0, 0, 1});
    item.World = Scaling({-1, 1, 1});
    frame.Meshes.push_back(item);
    frame.Meshes.push_back(MakeItem(Id(1), std::make_shared<TMesh>(), {0, 1, 0, 1}));
    frame.Meshes.push_back(MakeItem(Id(2), nullptr, {0, 1, 0, 1}));
    const TRgb centre = PixelAt(Render(frame), kSize / 2, kSize / 2);
    EXPECT_GE(centre.R, 240);
    EXPECT_LE(centre.G, 20);
}

}  // namespace

TEST_F(Renderer, PartsOutsideTheViewAreLeftOutAndSmallOnesDrawnCoarse) {
    TGlFrame frame = MakeFrame(kSize, kSize);
    // An orthographic view 8 wide: its left and right planes stand at x = -4 and 4.
    frame.Projection = Scaling({0.25f, 0.25f, -0.02f}) * Translation({0, 0, 40});
    const TMeshPtr box = MakeBox(2, 2, 2);
    const float radius = std::sqrt(3.0f);  // the box's bounding sphere
    TGlRenderTarget target;
    ASSERT_TRUE(target.Resize(kSize, kSize, 0));
    const auto draw = [&](const TGlFrame& f, const TDetailSettings& detail) {
        m_renderer.SetDetail(detail);
        m_renderer.Draw(f, target.Viewport());
        return target.ReadImage();
    };
    frame.Meshes.push_back(MakeItem(Id(0), box, {1, 0, 0, 1}, {4 + radius + 0.05f, 0, 0}));
    draw(frame, {});
    EXPECT_EQ(m_renderer.LastStats().CulledItems, 1);
    EXPECT_EQ(m_renderer.LastStats().DrawCalls, 0);
    frame.Meshes[0].World = Translation({4 + radius - 0.05f, 0, 0});
    frame.Meshes[0].Version = 2;
    draw(frame, {});
    EXPECT_EQ(m_renderer.LastStats().CulledItems, 0);
    EXPECT_EQ(m_renderer.LastStats().InstancedBatches, 1);

    // A part across the edge looks the same whether or not anything is culled.
    frame.Meshes[0].World = Translation({4, 1, 0});
    frame.Meshes[0].Version = 3;
    frame.Meshes.push_back(MakeItem(Id(1), box, {0, 0, 1, 1}, {40, 0, 0}));
    TDetailSettings none = FullDetail();
    none.Culling = false;
    const TRgbaImage culled = draw(frame, {});
    EXPECT_EQ(m_renderer.LastStats().CulledItems, 1);
    EXPECT_EQ(culled.Pixels, draw(frame, none).Pixels);

    // Far away (small on screen) a simpler mesh is drawn; pictures always take the full one.
    TGlFrame far = MakeFrame(kSize, kSize, {0, 0, 40});
    TGlMeshItem item = MakeItem(Id(2), MakeCylinder(1, 2, 64), {0, 1, 0, 1});
    item.Coarse = MakeCylinder(1, 2, 8);
    far.Meshes.push_back(item);
    draw(far, {});
    EXPECT_EQ(m_renderer.LastStats().CoarseItems, 1);
    Render(far);
    EXPECT_EQ(m_renderer.LastStats().CoarseItems, 0);
    EXPECT_EQ(m_renderer.Detail(), TDetailSettings{});  // the picture left the setting as it was
    // So far that it would cover less than a pixel: not drawn at all.
    TGlFrame tiny = MakeFrame(kSize, kSize, {0, 0, 400});
    tiny.Meshes.push_back(item);
    draw(tiny, {});
    EXPECT_EQ(m_renderer.LastStats().HiddenItems, 1);
    m_renderer.SetDetail({});
}

TEST_F(Renderer, AtRestAfterMovingTheViewIsAsIfItHadNeverMoved) {
    // Cylinders at many depths: while the camera moves some are simpler; at rest each is drawn
    // as a renderer that never saw the camera move draws it.
    TGlFrame frame = MakeFrame(256, 256, {0, 0, 12});
    const TMeshPtr cylinder = MakeCylinder(1, 2, 96);
    for (int i = 0; i < 48; ++i) {
        const float depth = -float(i) * 1.5f;
        frame.Meshes.push_back(MakeItem(Id(uint64_t(i)), cylinder, {0.2f, 0.5f, 0.9f, 1},
                                        {float(i % 8) * 2.5f - 9, float(i / 8) * 2.5f - 6, depth}));
    }
    TGlRenderTarget target;
    ASSERT_TRUE(target.Resize(256, 256, 0));
    const auto draw = [&](TRenderer& renderer, const TDetailSettings& detail) {
        renderer.SetDetail(detail);
        renderer.Draw(frame, target.Viewport());
        return target.ReadImage();
    };
    TRenderer fresh;
    const TRgbaImage rest = draw(fresh, {});
    EXPECT_GT(fresh.LastStats().CoarseItems, 0);
    TDetailSettings moving;
    moving.Moving = true;
    const TRgbaImage whileMoving = draw(m_renderer, moving);
    EXPECT_LT(m_renderer.LastStats().Triangles, fresh.LastStats().Triangles);
    EXPECT_NE(whileMoving.Pixels, rest.Pixels);
    EXPECT_EQ(draw(m_renderer, {}).Pixels, rest.Pixels);
    EXPECT_EQ(m_renderer.LastStats().Triangles, fresh.LastStats().Triangles);
    fresh.ReleaseGl();
}
