// The plastic strip: replaying work steps, the pieces they build, and baking the part.
#include <gtest/gtest.h>

#include <cmath>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "generated/u_HalbzeugFlachband.h"
#include "kx_test_support.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

struct TPiece {
    int32_t Kind;
    float Length;
    bool operator==(const TPiece&) const = default;
};

std::vector<TPiece> Shape(const THZFlachband& strip) {
    std::vector<TPiece> out;
    for (const THZFData& p : strip.Pieces()) {
        out.push_back({p.Kind, p.Length});
    }
    return out;
}

THZModData Step(int typ, double x1, double d = 0, int mode = 0, double x2 = 0) {
    return {typ, x1, x2, d, mode};
}

THZModData Drill(double x, double d) {
    return Step(1, x, d);
}
THZModData Bend(double x, int angle) {
    return Step(5, x, 0, angle);
}

}  // namespace

TEST(PlasticStrip, WorkStepsChangeThePiecesOrFailWithoutChange) {
    struct TCase {
        const char* what;
        std::vector<THZModData> steps;
        std::vector<size_t> skipped;
        std::vector<TPiece> pieces;
    };
    const std::vector<TCase> cases = {
        {"drill at 100", {Drill(100, 4)}, {}, {{0, 97.5f}, {2, 5}, {0, 397.5f}}},
        {"drill at 2 begins before the strip", {Drill(2, 4)}, {0}, {{0, 500}}},
        {"drill at the very start", {Drill(2.5, 4)}, {}, {{2, 5}, {0, 495}}},
        {"countersink from the top",
         {Drill(100, 4), Step(3, 100)},
         {},
         {{0, 96}, {2, 8}, {0, 396}}},
        {"countersink again from the bottom keeps lengths",
         {Drill(100, 4), Step(3, 100), Step(3, 100, 0, 1)},
         {},
         {{0, 96}, {2, 8}, {0, 396}}},
        {"countersink beside a bend",
         {Drill(100, 4), Bend(97.5, 90), Step(3, 100)},
         {2},
         {{0, 97.5f}, {1, 0}, {2, 5}, {0, 397.5f}}},
        {"countersink beside another hole",
         {Drill(100, 4), Drill(105, 4), Step(3, 100)},
         {2},
         {{0, 97.5f}, {2, 5}, {2, 5}, {0, 392.5f}}},
        {"countersink with 1 mm of strip beside",
         {Drill(100, 4), Drill(106, 4), Step(3, 100)},
         {2},
         {{0, 97.5f}, {2, 5}, {0, 1}, {2, 5}, {0, 391.5f}}},
        {"countersink with nothing before", {Drill(2.5, 4), Step(3, 2.5)}, {1}, {{2, 5}, {0, 495}}},
        {"round off outside any hole",
         {Drill(100, 4), Step(4, 300)},
         {1},
         {{0, 97.5f}, {2, 5}, {0, 397.5f}}},
        {"round off the start at a hole keeps positions",
         {Drill(100, 4), Step(4, 100), Drill(300, 4)},
         {},
         {{4, 97.5f}, {2, 5}, {0, 195}, {2, 5}, {0, 197.5f}}},
        {"round off the end", {Drill(100, 4), Step(4, 100, 0, 1)}, {}, {{0, 97.5f}, {2, 5}}},
        {"cut at a piece start once",
         {Drill(100, 4), Step(0, 97.5), Step(0, 97.5)},
         {2},
         {{0, 97.5f}}},
        {"cut at 0", {Step(0, 0)}, {}, {}},
        {"cut inside a straight", {Step(0, 250)}, {}, {{0, 250}}},
        {"cut inside a hole fails",
         {Drill(100, 4), Step(0, 100)},
         {1},
         {{0, 97.5f}, {2, 5}, {0, 397.5f}}},
        {"bend at a bend",
         {Bend(200, 90), Bend(200, -45)},
         {},
         {{0, 200}, {1, 0}, {1, 0}, {0, 300}}},
        {"bend at the end fails", {Bend(500, 90)}, {0}, {{0, 500}}},
        {"slot", {Step(2, 110, 3, 0, 100)}, {}, {{0, 98}, {3, 14}, {0, 388}}},
        {"unknown step", {Step(9, 100)}, {0}, {{0, 500}}},
    };
    for (const TCase& c : cases) {
        THZFlachband strip;
        EXPECT_EQ(strip.Replay(c.steps), c.skipped) << c.what;
        EXPECT_EQ(Shape(strip), c.pieces) << c.what;
    }
    THZFlachband sunk;
    sunk.Replay({Drill(100, 4), Step(3, 100)});
    EXPECT_EQ(sunk.Pieces()[1].CountersinkRadius, 3.5f);
    EXPECT_EQ(sunk.Pieces()[1].CountersinkDepth, 1.5f);
    sunk.Replay({Drill(100, 4), Step(3, 100), Step(3, 100, 0, 1)});
    EXPECT_EQ(sunk.Pieces()[1].CountersinkDepth, -1.5f);
}

TEST(PlasticStrip, BuiltPiecesSkipRemovedOnesAndChainAtEndFrames) {
    THZFlachband strip;
    TDummyCube target;
    strip.Rebuild({Drill(100, 4), Step(4, 100), Bend(200, 90), Drill(300, 4)}, target);
    // removed, hole, straight, bend, straight, hole, straight: six built.
    ASSERT_EQ(target.Count(), 6u);
    EXPECT_NEAR(strip.BuiltLength(), 402.5f, 1e-4f);
    // The hole after the bend lies 100 mm up from the bend at x = 200 - 97.5.
    const TVector3f m = strip.Pieces()[5].Marker1->AbsolutePosition();
    EXPECT_NEAR(m.X, 10.25f + 0.3f - 0.15f, 1e-3f);
    EXPECT_NEAR(m.Y, 0.3f + 10.0f, 1e-3f);
    for (size_t i = 0; i < target.Count(); ++i) {
        const auto& piece = static_cast<const TFreeForm&>(target.Child(i));
        for (const TVector3f& n : piece.Mesh()->Normals) {
            ASSERT_TRUE(std::isfinite(n.X + n.Y + n.Z));
        }
    }
}

class StripBake : public ::testing::Test {
protected:
    TPartFiles Files() const { return TPartFiles(m_dir / "prog", m_dir / "user"); }
    kxtest::TTempDir m_dir;
};

TEST_F(StripBake, DefinitionHasOneConnectorPerHoleAndTwoPerSlot) {
    const TPartFiles files = Files();
    THZData part{"X0001",
                 "Lochband",
                 0,
                 {Drill(100, 4), Bend(200, 90), Drill(300, 4), Step(2, 400, 3, 0, 420)}};
    TDefCache defs;
    TffCache meshes;
    const THZBakeResult r = BakeSemiFinished(files, part, defs, meshes);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(r.Connectors, 4u);
    ASSERT_TRUE(std::filesystem::exists(m_dir / "user/hires/X0001.stl"));
    ASSERT_TRUE(std::filesystem::exists(m_dir / "user/lores/X0001.stl"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "prog/def"));

    const TDefPtr def = defs.GetDef(files, "X0001");
    ASSERT_EQ(def->ConnCount(), 4);
    EXPECT_EQ(def->NameDe, "Lochband");
    EXPECT_TRUE(def->Hide);
    EXPECT_EQ(def->Group, 4);
    EXPECT_EQ(def->OffsetY, -1.5);
    const auto& c = def->Conns;
    EXPECT_EQ(c[0].NameDe, "Loch 1");
    EXPECT_EQ(c[0].Thick, 4);
    EXPECT_NEAR(c[0].X, 100, 1e-3);
    EXPECT_NEAR(c[0].Y, 0, 1e-3);
    EXPECT_EQ(c[0].TF, 0);
    EXPECT_EQ(c[0].RN, 180);
    EXPECT_EQ(c[1].TF, -90);
    EXPECT_EQ(c[1].RN, 270);
    EXPECT_NEAR(c[1].Y, 101.5, 1e-2);  // 100 mm up the bent leg, pivot on the top edge
    EXPECT_EQ(c[2].NameDe, "Langloch 3");
    EXPECT_EQ(c[3].NameDe, "Langloch 4");
    EXPECT_EQ(c[2].Thick, 3);
    EXPECT_EQ(c[3].Thick, 3);
    EXPECT_NEAR(c[3].Y - c[2].Y, 20, 1e-2);

    TMesh mesh;
    ASSERT_TRUE(LoadStlFile(m_dir / "user/hires/X0001.stl", mesh));
    EXPECT_GT(mesh.TriangleCount(), 700u);
    float minY = 1e9f;
    for (const TVector3f& p : mesh.Positions) {
        minY = std::min(minY, p.Y);
    }
    EXPECT_NEAR(minY, 0, 1e-3);  // bottom face at y = 0 up to the bend

    // A second bake of the number is seen at once by both caches.
    meshes.LoadMesh(files, "hires", "X0001");
    part.Mods = {Drill(50, 4)};
    ASSERT_TRUE(BakeSemiFinished(files, part, defs, meshes).Ok);
    EXPECT_EQ(defs.GetDef(files, "X0001")->ConnCount(), 1);
    EXPECT_LT(meshes.LoadMesh(files, "hires", "X0001")->TriangleCount(), 500u);
}

TEST_F(StripBake, RefusesNumbersThatAreNoStripNumbers) {
    const TPartFiles files = Files();
    TDefCache defs;
    TffCache meshes;
    for (const char* bad : {"..", "../X0001", "X00/1", "31010", "X001", "X00011", "x0001", ""}) {
        EXPECT_FALSE(BakeSemiFinished(files, {bad, "", 0, {}}, defs, meshes).Ok) << bad;
        EXPECT_FALSE(IsStripNumber(bad)) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "user"));
    EXPECT_TRUE(IsStripNumber("X9999"));
}
