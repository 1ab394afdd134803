// Tests of the generated kit: definitions, meshes, normals, pictures, library pages, special parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>

#include "catalogue/u_defObj.h"
#include "catalogue/u_normals.h"
#include "catalogue/u_stl.h"
#include "foundation/u_text.h"
#include "kg_image.h"
#include "kg_kit.h"
#include "kg_output.h"
#include "kx_test_support.h"

namespace kx::kitgen {
namespace {

struct TKitFixture {
    std::vector<TKitPart> Kit = BuildKit();
    std::map<std::string, std::string> Files = KitFiles(Kit);
};

const TKitFixture& Fixture() {
    static const TKitFixture fixture;
    return fixture;
}

uint32_t Le32(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
           uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

TEST(Kit, DefinitionsReadBackUnchanged) {
    const auto& f = Fixture();
    for (const TKitPart& part : f.Kit) {
        const std::string& n = part.Def.Number;
        SCOPED_TRACE(n);
        const std::string& bytes = f.Files.at("def/" + n + ".def");
        const TDefObj read = ParseDefObj(bytes, n);
        EXPECT_EQ(DefinitionBytes(read), bytes) << "reader -> writer -> reader changes nothing";
        EXPECT_EQ(read.NameDe, part.Def.NameDe);
        EXPECT_EQ(read.NameEng, part.Def.NameEng);
        EXPECT_EQ(read.Group, part.Def.Group);
        EXPECT_EQ(read.OrgNumber, part.Def.OrgNumber);
        EXPECT_EQ(read.SortOrder, part.Def.SortOrder);
        EXPECT_EQ(read.Color(), part.Def.Color());
        EXPECT_EQ(read.Hide, part.Def.Hide);
        EXPECT_EQ(read.Children, part.Def.Children);
        ASSERT_EQ(read.ConnCount(), part.Def.ConnCount());
        for (int i = 1; i <= read.ConnCount(); ++i) {
            const TConn &a = read.Conn(i), &b = part.Def.Conn(i);
            EXPECT_EQ(a.Typ, b.Typ);
            EXPECT_EQ(a.Thick, b.Thick);
            EXPECT_EQ(a.NameDe, b.NameDe);
            EXPECT_FLOAT_EQ(a.X, b.X);
            EXPECT_FLOAT_EQ(a.Y, b.Y);
            EXPECT_FLOAT_EQ(a.Z, b.Z);
            for (auto [x, y] : {std::pair{a.PF, b.PF},
                                {a.RF, b.RF},
                                {a.TF, b.TF},
                                {a.PN, b.PN},
                                {a.RN, b.RN},
                                {a.TN, b.TN}}) {
                EXPECT_FLOAT_EQ(x, y);
            }
        }
        // The library's fast reader sees the same summary.
        const TMiniDefObj mini = ParseMiniDefObj(bytes, n);
        EXPECT_EQ(mini.Hide, part.Def.Hide);
        EXPECT_EQ(mini.Group, part.Def.Group);
        EXPECT_EQ(mini.Name, part.Def.NameDe);
        EXPECT_EQ(mini.SortOrder, part.Def.SortOrder);
    }
}

TEST(Kit, MeshesLoadAndAreSolid) {
    const auto& f = Fixture();
    for (const TKitPart& part : f.Kit) {
        const std::string& n = part.Def.Number;
        for (const char* folder : {"hires/", "lores/"}) {
            SCOPED_TRACE(folder + n);
            const std::string& bytes = f.Files.at(folder + n + ".stl");
            EXPECT_NE(bytes.substr(0, 5), "solid") << "a binary file must not look like ASCII";
            TMesh mesh;
            std::string error;
            ASSERT_TRUE(ParseStl(bytes, mesh, &error)) << error;
            EXPECT_GT(mesh.TriangleCount(), 3u);
            const TGeo& drawn = std::string(folder) == "hires/" ? part.Hires : part.Lores;
            EXPECT_EQ(mesh.TriangleCount(), drawn.TriangleCount());
            EXPECT_GT(SignedVolume(drawn), 0) << "closed and facing outwards";
            for (const TVector3f& p : mesh.Positions) {
                ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z));
            }
            // The stored mesh is the drawn one moved back by the offset.
            EXPECT_FLOAT_EQ(mesh.Positions[0].Y, drawn.P[0].Y - float(part.Def.OffsetY));
            if (part.Rounded) {
                const std::string& nrm = f.Files.at(folder + n + ".nrm");
                EXPECT_EQ(nrm.size(), 12 * mesh.Positions.size());
                TMesh smooth = mesh;
                EXPECT_EQ(ApplyNormals(smooth, nrm), mesh.Positions.size());
            } else {
                EXPECT_EQ(f.Files.count(folder + n + ".nrm"), 0u);
            }
        }
        // Detailed meshes are detailed, coarse ones coarse.
        EXPECT_GE(part.Hires.TriangleCount(), part.Lores.TriangleCount()) << n;
    }
}

TEST(Kit, NoTriangleShowsItsBack) {
    // Seen from the eight corners of a cube around it, every pixel of a part sees the front of
    // a triangle: all of them face outwards, so a renderer may cull back faces. A pixel or two
    // may peep through where a face meets an edge it does not share vertices with.
    const std::vector<TVector3f> views = {{1, 1, 1},   {-1, 1, 1},  {1, -1, 1},  {1, 1, -1},
                                          {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}, {-1, -1, -1}};
    for (const TKitPart& part : Fixture().Kit) {
        for (const TGeo* geo : {&part.Hires, &part.Lores}) {
            size_t worst = 0;
            for (const TVector3f& v : views) {
                worst = std::max(worst, BackFacePixels(*geo, v, 64));
            }
            EXPECT_LE(worst, 2u) << part.Def.Number << (geo == &part.Hires ? " hires" : " lores");
        }
    }
}

TEST(Kit, LoresMeshesAreCoarse) {
    size_t hires = 0, lores = 0;
    for (const TKitPart& part : Fixture().Kit) {
        hires += part.Hires.TriangleCount();
        lores += part.Lores.TriangleCount();
    }
    EXPECT_LT(lores * 3, hires);
}

TEST(Kit, LoresMeshesKeepTheOutlineAndSizeOfTheDetailedOnes) {
    // Drawn small, a part switches to its coarse mesh: it must not change size or shape then.
    // Seen along each axis and from a slant, the outlines agree, and so do the boxes up to the
    // corners a coarse round loses.
    const std::vector<TVector3f> views = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, -0.75f, -1.35f}};
    for (const TKitPart& part : Fixture().Kit) {
        const TBounds h = Bounds(part.Hires), l = Bounds(part.Lores);
        const double size = std::max({h.Hi.X - h.Lo.X, h.Hi.Y - h.Lo.Y, h.Hi.Z - h.Lo.Z});
        const double slack = 0.6 + 0.08 * size;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(l.Lo[k], h.Lo[k], slack) << part.Def.Number << " axis " << k;
            EXPECT_NEAR(l.Hi[k], h.Hi[k], slack) << part.Def.Number << " axis " << k;
        }
        for (const TVector3f& v : views) {
            // A long thin part seen from the side is a line a pixel or two wide: too few pixels
            // to tell faithful from not.
            size_t pixels = 0;
            const double agreement = SilhouetteAgreement(part.Hires, part.Lores, v, 96, &pixels);
            if (pixels >= 400) {
                EXPECT_GT(agreement, 0.8)
                    << part.Def.Number << " seen along " << v.X << "," << v.Y << "," << v.Z;
            }
        }
    }
}

TEST(Kit, PicturesShowThePartOnATransparentBackground) {
    const auto& f = Fixture();
    for (const TKitPart& part : f.Kit) {
        const std::string& n = part.Def.Number;
        SCOPED_TRACE(n);
        const std::string& bmp = f.Files.at("icon/" + n + ".bmp");
        ASSERT_EQ(bmp.size(), 54u + 64 * 64 * 3);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(Le32(bmp, 18), 64u);
        EXPECT_EQ(Le32(bmp, 22), 64u);
        EXPECT_EQ(uint8_t(bmp[28]), 24);
        // Rows are stored bottom-up: the top-left pixel is the first of the last row.
        const size_t topLeft = 54 + 63 * 64 * 3;
        const std::string background = bmp.substr(topLeft, 3);
        size_t partPixels = 0;
        for (size_t i = 54; i + 3 <= bmp.size(); i += 3) {
            partPixels += bmp.compare(i, 3, background) != 0;
        }
        // Even the longest strut, 35 times as long as it is thick, covers a few rows of it.
        EXPECT_GT(partPixels, 150u) << "the part fills a fair share of its icon";
        const std::string& jpg = f.Files.at("icon/print/" + n + ".jpg");
        EXPECT_EQ(jpg.substr(0, 3), "\xFF\xD8\xFF");
        EXPECT_EQ(jpg.substr(jpg.size() - 2), "\xFF\xD9");
    }
}

TEST(Kit, EveryLibraryPageHasParts) {
    std::map<int, int> shown;
    for (const TKitPart& part : Fixture().Kit) {
        if (!part.Def.Hide) {
            shown[part.Def.Group]++;
        }
    }
    for (int g : NewLayoutGroups()) {
        EXPECT_GT(shown[g], 0) << "group " << g << " of the current set";
    }
    for (int g : OldLayoutGroups()) {
        EXPECT_GT(shown[g], 0) << "group " << g << " of the older set";
    }
    EXPECT_EQ(NewLayoutGroups().size() + OldLayoutGroups().size(), 23u)
        << "groups 0-8, 19, 20 and 9-18, 21, 22";
    for (const auto& [g, count] : shown) {
        const bool known = std::count(NewLayoutGroups().begin(), NewLayoutGroups().end(), g) ||
                           std::count(OldLayoutGroups().begin(), OldLayoutGroups().end(), g);
        EXPECT_TRUE(known) << "group " << g << " has no page";
    }
}

TEST(Kit, NumbersNamesAndSpecialParts) {
    const auto& kit = Fixture().Kit;
    EXPECT_GE(kit.size(), 300u) << "a kit with every size a builder expects";
    std::map<std::string, const TKitPart*> byNumber;
    for (const TKitPart& part : kit) {
        const TDefObj& d = part.Def;
        EXPECT_EQ(d.Number.size(), 5u) << d.Number;
        EXPECT_TRUE(byNumber.emplace(UpperCase(d.Number), &part).second)
            << "numbers differ also without regard to case: " << d.Number;
        EXPECT_FALSE(d.NameDe.empty());
        EXPECT_FALSE(d.NameEng.empty());
        EXPECT_NE(d.NameDe, "noname");
        if (d.Printable) {
            EXPECT_GT(d.Price, 0) << d.Number;
        }
        EXPECT_GT(d.SortOrder, 0);
        EXPECT_NE(d.Red + d.Green + d.Blue, 0) << "black would read as grey";
    }
    auto count = [&](auto pred) { return std::count_if(kit.begin(), kit.end(), pred); };
    EXPECT_GE(count([](const TKitPart& p) { return p.Def.Teeth > 1; }), 4);
    EXPECT_GE(count([](const TKitPart& p) {
                  return p.Def.KineRot > 0 && p.Def.NameDe.find("otor") != std::string::npos;
              }),
              2);
    EXPECT_GE(count([](const TKitPart& p) { return p.Def.Alpha < 1; }), 2);
    EXPECT_GE(count([](const TKitPart& p) { return p.Def.Hide; }), 1);
    EXPECT_GE(count([](const TKitPart& p) { return p.Def.Printable == 0; }), 1);
    EXPECT_TRUE(byNumber.count("C0007"));
    EXPECT_TRUE(byNumber.count("C0008"));
    EXPECT_GE(count([](const TKitPart& p) { return p.Def.Number.substr(0, 3) == "COL"; }), 1);
    // A composite whose children exist; a textured part whose image ships with the kit.
    bool composite = false, textured = false;
    for (const TKitPart& part : kit) {
        if (!part.Def.Children.empty()) {
            composite = true;
            for (const std::string& child : part.Def.Children) {
                EXPECT_TRUE(byNumber.count(child)) << child;
            }
        }
        if (!part.Def.Texture.empty()) {
            textured = true;
            EXPECT_TRUE(Fixture().Files.count("icon/" + part.Def.Texture));
        }
    }
    EXPECT_TRUE(composite);
    EXPECT_TRUE(textured);
}

TEST(Kit, GeneratedTwiceIsByteIdentical) {
    const auto again = KitFiles(BuildKit());
    EXPECT_EQ(again, Fixture().Files);
}

TEST(Kit, TheBuildShipsTheKitBesideTheProgram) {
    const std::filesystem::path dir = KX_RUNTIME_DIR;
    if (!std::filesystem::exists(dir / "def")) {
        GTEST_SKIP() << "no kit in " << dir.string();
    }
    const auto data = KitDataFiles(Fixture().Kit);
    for (const auto& [name, bytes] : Fixture().Files) {
        const auto shipped = ReadFileBytes(dir / name);
        ASSERT_TRUE(shipped) << name;
        if (data.count(name)) {
            EXPECT_TRUE(*shipped == bytes) << name << " is not the current kit's";
        } else {
            // Pictures may come from the renderer rather than the software painter: the same
            // kind of file, not the same bytes.
            if (name.ends_with(".bmp")) {
                EXPECT_EQ(shipped->size(), bytes.size()) << name;
            }
            EXPECT_EQ(shipped->substr(0, 2), bytes.substr(0, 2)) << name;
        }
    }
}

TEST(Kit, WritesIntoAProgramFolderAndLeavesEqualFilesAlone) {
    kxtest::TTempDir dir;
    std::map<std::string, std::string> files;
    for (const auto& [name, bytes] : Fixture().Files) {
        if (name.find("4000") != std::string::npos || name.find("ziegel") != std::string::npos) {
            files.emplace(name, bytes);
        }
    }
    std::string error;
    ASSERT_TRUE(WriteKitFiles(files, dir.Path(), &error)) << error;
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(kxtest::ReadFile(dir.Path() / name), bytes) << name;
    }
    const auto stamp = std::filesystem::last_write_time(dir.Path() / "def/40001.def");
    std::filesystem::last_write_time(dir.Path() / "def/40001.def", stamp - std::chrono::hours(1));
    ASSERT_TRUE(WriteKitFiles(files, dir.Path(), &error));
    EXPECT_EQ(std::filesystem::last_write_time(dir.Path() / "def/40001.def"),
              stamp - std::chrono::hours(1));
    // A later kit without a part takes that part's files away, and nothing outside the kit's
    // folders, whatever an old manifest says.
    std::map<std::string, std::string> fewer = files;
    fewer.erase("def/40001.def");
    kxtest::WriteFile(dir.Path() / "keep.txt", "x");
    const std::string manifest = KitManifest(files) + "keep.txt\ndef/../keep.txt\n";
    EXPECT_EQ(RemoveStaleKitFiles(dir.Path(), manifest, fewer), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "def/40001.def"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "def/40002.def"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "keep.txt"));
    // A folder that cannot be written is reported, not ignored.
    kxtest::WriteFile(dir.Path() / "blocked", "x");
    EXPECT_FALSE(WriteKitFiles(files, dir.Path() / "blocked", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kx::kitgen

TEST(Kit, IconMatteKeepsPartialCover) {
    using namespace kx::kitgen;
    // Pixels: all part (same on both), all background, half-covered red, half-covered grey.
    TImage white(4, 1, {255, 255, 255}), black(4, 1, {0, 0, 0});
    white.At(0, 0) = black.At(0, 0) = {10, 200, 30};
    white.At(2, 0) = {255, 128, 128};
    black.At(2, 0) = {128, 0, 0};
    white.At(3, 0) = {192, 192, 192};
    black.At(3, 0) = {64, 64, 64};
    const std::vector<uint8_t> rgba = MatteRgba(white, black);
    const std::vector<uint8_t> expected = {10,  200, 30, 255, 0,   0,   0,   0,
                                           255, 0,   0,  128, 128, 128, 128, 128};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(rgba[i], expected[i], 1) << "byte " << i;
    }
    EXPECT_THROW(MatteRgba(TImage(2, 1, {}), TImage(1, 1, {})), std::invalid_argument);
}
