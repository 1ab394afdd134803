// The kit's pictures drawn by the program's renderer, headless: what every library tile shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

#include "foundation/u_text.h"
#include "kg_glpainter.h"
#include "kg_image.h"
#include "kg_kit.h"
#include "kg_output.h"
#include "kx_test_support.h"

namespace kx::kitgen {
namespace {

constexpr TRgb kWhite{255, 255, 255};

const std::vector<TKitPart>& Kit() {
    static const std::vector<TKitPart> kit = BuildKit();
    return kit;
}

const TKitPart& KitPart(const std::function<bool(const TKitPart&)>& which) {
    const auto& kit = Kit();
    const auto it = std::find_if(kit.begin(), kit.end(), which);
    if (it == kit.end()) {
        throw std::logic_error("the kit has no such part");
    }
    return *it;
}

const TKitPart& KitPart(const std::string& number) {
    return KitPart([&](const TKitPart& p) { return p.Def.Number == number; });
}

// The kit's data files written once into a folder the painters of every test draw from.
class KitPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<kxtest::TTempDir>();
        std::string error;
        ASSERT_TRUE(WriteKitFiles(KitDataFiles(Kit()), s_dir->Path(), &error)) << error;
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override {
        m_painter = std::make_unique<TGlPartPainter>(s_dir->Path());
        if (!m_painter->Valid()) {
            GTEST_SKIP() << "no headless GL: " << m_painter->Error();
        }
    }

    TImage Paint(const TKitPart& part, int size = 64) {
        return m_painter->Paint(part, size, size, kWhite);
    }

    static std::unique_ptr<kxtest::TTempDir> s_dir;
    std::unique_ptr<TGlPartPainter> m_painter;
};
std::unique_ptr<kxtest::TTempDir> KitPictures::s_dir;

struct TCover {
    int Left = 1 << 30, Right = -1, Top = 1 << 30, Bottom = -1;
    size_t Pixels = 0;
};

TCover Coverage(const TImage& image, TRgb background) {
    TCover c;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            if (image.At(x, y) != background) {
                c.Left = std::min(c.Left, x);
                c.Right = std::max(c.Right, x);
                c.Top = std::min(c.Top, y);
                c.Bottom = std::max(c.Bottom, y);
                ++c.Pixels;
            }
        }
    }
    return c;
}

TEST_F(KitPictures, ThePartIsLitInItsColourAndFittedWithMargins) {
    for (const char* number : {"40001", "40203"}) {
        SCOPED_TRACE(number);
        const TKitPart& part = KitPart(number);
        const TImage icon = Paint(part);
        ASSERT_EQ(icon.Width, 64);
        ASSERT_EQ(icon.Height, 64);
        for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}}) {
            EXPECT_EQ(icon.At(x, y), kWhite) << "corner " << x << "," << y;
        }
        const TCover c = Coverage(icon, kWhite);
        // The longer side of the part's picture spans the tile less its margins (5 of 64).
        const int span = std::max(c.Right - c.Left, c.Bottom - c.Top) + 1;
        EXPECT_GE(span, 50);
        EXPECT_LE(span, 58);
        EXPECT_GE(c.Left, 2);
        EXPECT_GE(c.Top, 2);
        EXPECT_LE(c.Right, 61);
        EXPECT_LE(c.Bottom, 61);
        // Lit: its faces differ in brightness, and the part's own hue rules.
        std::set<int> shades;
        int hueMatches = 0;
        const int dominant = part.Def.Red >= part.Def.Blue ? 0 : 2;
        for (const TRgb& p : icon.Pixels) {
            if (p != kWhite) {
                shades.insert(p.R + p.G + p.B);
                hueMatches += (dominant == 0 ? p.R > p.B + 40 : p.B > p.R + 40);
            }
        }
        EXPECT_GT(shades.size(), 20u);
        EXPECT_GT(hueMatches, int(c.Pixels) * 2 / 3);
    }
}

TEST_F(KitPictures, ALongThinPartStillFillsItsTile) {
    const TKitPart& axle = KitPart([](const TKitPart& p) {
        return p.Def.Number.starts_with("4") && p.Hires.TriangleCount() > 0 &&
               p.Def.NameEng.starts_with("Axle");
    });
    SCOPED_TRACE(axle.Def.Number);
    const TCover c = Coverage(Paint(axle, 200), kWhite);
    EXPECT_GE(std::max(c.Right - c.Left, c.Bottom - c.Top) + 1, 150);
    EXPECT_GT(c.Pixels, 500u);
}

TEST_F(KitPictures, TexturedAndTransparentPartsLookSo) {
    const TKitPart& wall = KitPart([](const TKitPart& p) { return !p.Def.Texture.empty(); });
    const TKitPart& glass = KitPart([](const TKitPart& p) {
        return p.Def.Alpha < 0.6 && p.Def.Printable && p.Def.Texture.empty();
    });
    // Texture: the wall shows the bricks' two colours (red and the joints' grey), where its
    // own colour alone is a near-white.
    const TImage wallIcon = Paint(wall, 200);
    int brick = 0, joint = 0;
    for (const TRgb& p : wallIcon.Pixels) {
        brick += p.R > 120 && p.R > p.G + 50;
        joint += p != kWhite && std::abs(p.R - p.G) < 15 && std::abs(p.G - p.B) < 15;
    }
    EXPECT_GT(brick, 2000) << wall.Def.Number;
    EXPECT_GT(joint, 200) << wall.Def.Number;
    // Transparency: the middle of a see-through part lets the white background through, so
    // it comes out lighter than the same part drawn opaque.
    TKitPart opaque = glass;
    opaque.Def.Alpha = 1;
    const TImage glassIcon = Paint(glass, 64);
    const TImage opaqueIcon = Paint(opaque, 64);
    const TCover c = Coverage(opaqueIcon, kWhite);
    ASSERT_GT(c.Pixels, 100u) << glass.Def.Number;
    const int x = (c.Left + c.Right) / 2, y = (c.Top + c.Bottom) / 2;
    const TRgb seeThrough = glassIcon.At(x, y), solid = opaqueIcon.At(x, y);
    EXPECT_GT(seeThrough.R + seeThrough.G + seeThrough.B, solid.R + solid.G + solid.B + 60)
        << glass.Def.Number;
    EXPECT_NE(seeThrough, kWhite) << glass.Def.Number;
}

TEST_F(KitPictures, NoPartPixelIsTakenForTheTransparentColour) {
    // A white part on a white background: every pixel it covers must differ from the
    // background, or the library would show holes in it.
    TKitPart white = KitPart("40001");
    white.Def.Red = white.Def.Green = white.Def.Blue = 255;
    const TImage icon = Paint(white);
    const TCover c = Coverage(icon, kWhite);
    EXPECT_GT(c.Pixels, 1000u) << "the white part shows against the white background";
    const TRgb middle = icon.At(32, 32);
    EXPECT_NE(middle, kWhite);
}

TEST_F(KitPictures, APartWithoutItsMeshFileIsAnError) {
    TKitPart missing = KitPart("40001");
    missing.Def.Number = "99999";
    EXPECT_THROW(Paint(missing), std::runtime_error);
}

TEST_F(KitPictures, TheBuildShipsThePicturesTheRendererDraws) {
    const std::filesystem::path dir = KX_RUNTIME_DIR;
    if (!std::filesystem::exists(dir / "icon/40001.bmp")) {
        GTEST_SKIP() << "no kit in " << dir.string();
    }
    TGlPartPainter painter(dir);
    ASSERT_TRUE(painter.Valid());
    for (const char* number : {"40001", "40203"}) {
        const TKitPart& part = KitPart(number);
        const auto shipped = ReadFileBytes(dir / "icon" / (std::string(number) + ".bmp"));
        ASSERT_TRUE(shipped) << number;
        EXPECT_TRUE(*shipped == EncodeBmp24(PartPicture(part, painter, 64))) << number;
    }
}

// Every shipped icon of the library in one picture, page by page in the library's order, for a
// person to look at; no two alike, and none cut off at the top or the right (the caption sits at
// the lower left).
TEST(KitIcons, MontageByPageHasNoTwoAlikeAndNothingClipped) {
    const std::filesystem::path dir = KX_RUNTIME_DIR;
    if (!std::filesystem::exists(dir / "icon/40001.bmp")) {
        GTEST_SKIP() << "no kit in " << dir.string();
    }
    std::vector<const TKitPart*> shown;
    for (const TKitPart& part : Kit()) {
        if (!part.Def.Hide) {
            shown.push_back(&part);
        }
    }
    std::sort(shown.begin(), shown.end(), [](const TKitPart* a, const TKitPart* b) {
        return std::tie(a->Def.Group, a->Def.SortOrder, a->Def.Number) <
               std::tie(b->Def.Group, b->Def.SortOrder, b->Def.Number);
    });
    constexpr int kSize = 64, kColumns = 20, kCell = kSize + 4;
    const int rows = int(shown.size() + kColumns - 1) / kColumns;
    TImage montage(kColumns * kCell, rows * kCell, TRgb{255, 255, 255});
    std::map<std::string, std::string> seen;
    for (size_t i = 0; i < shown.size(); ++i) {
        const std::string& n = shown[i]->Def.Number;
        SCOPED_TRACE(n);
        const auto file = ReadFileBytes(dir / "icon" / (n + ".bmp"));
        ASSERT_TRUE(file);
        const std::string& bmp = *file;
        ASSERT_EQ(bmp.size(), 54u + kSize * kSize * 3);
        const auto [first, fresh] = seen.emplace(bmp.substr(54), n);
        EXPECT_TRUE(fresh) << "looks exactly like " << first->second;
        // Rows are stored bottom-up, each pixel blue, green, red.
        const auto pixel = [&bmp](int x, int y) {
            const size_t at = 54 + (size_t(kSize - 1 - y) * kSize + x) * 3;
            return TRgb{uint8_t(bmp[at + 2]), uint8_t(bmp[at + 1]), uint8_t(bmp[at])};
        };
        const TRgb background = pixel(0, 0);
        for (int k = 0; k < kSize; ++k) {
            EXPECT_EQ(pixel(k, 0), background) << "part touches the top edge at x " << k;
            EXPECT_EQ(pixel(kSize - 1, k), background) << "part touches the right edge at y " << k;
        }
        const int left = int(i % kColumns) * kCell + 2, top = int(i / kColumns) * kCell + 2;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                montage.At(left + x, top + y) = pixel(x, y);
            }
        }
    }
    std::ofstream(kxtest::ShotFolder() / "kit-icons.jpg", std::ios::binary)
        << EncodeJpeg(montage, 95);
}

}  // namespace
}  // namespace kx::kitgen
