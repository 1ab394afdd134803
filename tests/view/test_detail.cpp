// Culling against the view and the choice of a part's detail by its size on screen.
#include <gtest/gtest.h>

#include <cmath>

#include "render_test_support.h"
#include "view/u_detail.h"
#include "view/u_meshsimplify.h"

using namespace kx;
using kxtest::MakeBox;
using kxtest::MakeCylinder;

TEST(Detail, FrustumKeepsWhatTouchesTheViewAndProjectedSizeFollowsDepth) {
    const TGlMatrix view = LookAt({0, 0, 10}, {0, 0, 0}, {0, 1, 0});
    const TGlMatrix proj = Perspective(90, 1, 0.1f, 100);
    const TFrustum frustum(proj * view);
    // At the origin (10 in front of the eye) a 90° view reaches 10 to each side.
    struct TCase {
        TVector3f Centre;
        float Radius;
        bool Inside;
    };
    const TCase cases[] = {
        {{0, 0, 0}, 1, true},       {{10.9f, 0, 0}, 1, true},  {{11.5f, 0, 0}, 1, false},
        {{0, -11.5f, 0}, 1, false}, {{0, 0, 11}, 0.5f, false},  // behind the eye
        {{0, 0, -90.5f}, 1, true},  {{0, 0, -92}, 1, false},    // beyond the far plane
        {{0, 0, 11}, 2, true},  // reaches past the eye into the view
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(frustum.Intersects(c.Centre, c.Radius), c.Inside)
            << c.Centre.X << " " << c.Centre.Y << " " << c.Centre.Z;
    }
    // A unit sphere 10 deep in a 90° view 200 pixels high spans a tenth of the half height.
    EXPECT_NEAR(ProjectedRadius(1, 10, proj(1, 1), 200), 10, 1e-4);
    EXPECT_NEAR(ProjectedRadius(1, 20, proj(1, 1), 200), 5, 1e-4);
    EXPECT_GT(ProjectedRadius(1, 0, proj(1, 1), 200), 1e6);
    EXPECT_NEAR(MaxScale(Scaling({0.1f, 0.3f, 0.2f})), 0.3f, 1e-6);
}

TEST(Detail, SwitchPointsFollowQualityAndMotionWithHysteresis) {
    const TDetailSettings rest;
    TDetailSettings low;
    low.LowQuality = true;
    TDetailSettings moving;
    moving.Moving = true;
    const TDetailThresholds t = DetailThresholds(rest);
    EXPECT_GT(DetailThresholds(low).Allowance, t.Allowance);
    EXPECT_GT(DetailThresholds(moving).Allowance, t.Allowance);

    // Levels of a part 1 unit in radius: detailed, 0.01 off, 0.1 off. At 10 pixels per unit
    // the second level moves its surface by a tenth of a pixel, the third by a whole one.
    TDetailLevels levels(3);
    levels[1].Deviation = 0.01f;
    levels[2].Deviation = 0.1f;
    const float fine = t.Allowance / 0.01f;   // the second level just fits
    const float coarse = t.Allowance / 0.1f;  // the third level just fits
    struct TCase {
        float PixelsPerUnit;
        TDetailSettings Settings;
        int Previous;
        int Expected;
    };
    const TCase cases[] = {
        {fine * 3, rest, 1, 0},
        {fine * 0.9f, rest, 0, 0},  // inside the band: keeps the detailed mesh
        {fine * 0.8f, rest, 0, 1},
        {fine * 1.1f, rest, 1, 1},  // inside the band: keeps the simpler one
        {coarse * 0.5f, rest, 0, 2},
        {coarse * 1.1f, rest, 2, 2},
        {coarse * 1.3f, rest, 2, 1},
        {fine * 1.3f, low, 0, 1},
        {coarse * 1.3f, moving, 0, 2},
        {coarse * 0.5f, FullDetail(), 2, 0},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ChooseDetail(10, c.PixelsPerUnit, levels, c.Settings, c.Previous), c.Expected)
            << c.PixelsPerUnit << " px per unit";
    }
    // Below the hidden size nothing is drawn, whatever the levels.
    EXPECT_EQ(ChooseDetail(t.Hidden / 4, 1, levels, rest, 0), kHiddenLevel);
    EXPECT_EQ(ChooseDetail(t.Hidden * 1.05f, 1, levels, rest, kHiddenLevel), kHiddenLevel);
    EXPECT_EQ(ChooseDetail(t.Hidden * 1.3f, 1, levels, rest, kHiddenLevel), 2);
    EXPECT_EQ(ChooseDetail(t.Hidden / 4, 1, levels, FullDetail(), kHiddenLevel), 0);
}

TEST(Detail, SimplerMeshesStayWithinTheirToleranceAndKeepTheirShading) {
    const TMeshPtr cylinder = MakeCylinder(1, 2, 64);
    for (const float tolerance : {0.002f, 0.01f, 0.05f}) {
        const TSimplified simple = SimplifyMesh(*cylinder, tolerance);
        EXPECT_LE(simple.Deviation, tolerance);
        EXPECT_LE(MeshDeviation(*cylinder, simple.Mesh), tolerance * 1.5f) << tolerance;
        EXPECT_LT(simple.Mesh.TriangleCount(), cylinder->TriangleCount()) << tolerance;
        // Smooth sides stay smooth and the caps flat: every corner's normal is one the
        // cylinder had there and leans the face's way.
        for (size_t t = 0; t < simple.Mesh.Positions.size(); t += 3) {
            const auto& p = simple.Mesh.Positions;
            const TVector3f face = Normalized(Cross(p[t + 1] - p[t], p[t + 2] - p[t]));
            for (size_t k = t; k < t + 3; ++k) {
                const TVector3f& n = simple.Mesh.Normals[k];
                EXPECT_GT(Dot(n, face), 0.5f);
                EXPECT_TRUE(std::fabs(n.Y) > 0.999f || std::fabs(n.Y) < 1e-6f);
            }
        }
    }
    EXPECT_LT(SimplifyMesh(*cylinder, 0.05f).Mesh.TriangleCount(), cylinder->TriangleCount() / 3);
    // A box has nothing to give away without moving its surface.
    EXPECT_EQ(SimplifyMesh(*MakeBox(2, 2, 2), 0.01f).Mesh.TriangleCount(), 12u);
    // Two boxes a tenth apart on every side: their corners lie farthest apart.
    EXPECT_NEAR(MeshDeviation(*MakeBox(2, 2, 2), *MakeBox(2.2f, 2.2f, 2.2f)),
                0.1f * std::sqrt(3.0f), 1e-4f);
    // Textures would tear at collapsed corners: a textured mesh stays as it was.
    TMesh textured = *MakeBox(2, 2, 2);
    textured.TexCoords.assign(textured.Positions.size(), {0, 0});
    EXPECT_EQ(SimplifyMesh(textured, 1).Mesh.TriangleCount(), 12u);

    // The levels of a part: the detailed mesh, simpler ones, the coarse mesh last, each with
    // fewer triangles and a larger deviation than the one before.
    const TMeshPtr coarse = MakeCylinder(1, 2, 8);
    const TDetailLevels levels = BuildDetailLevels(cylinder, coarse);
    ASSERT_GE(levels.size(), 3u);
    EXPECT_EQ(levels.front().Mesh, cylinder);
    EXPECT_EQ(levels.front().Deviation, 0);
    EXPECT_EQ(levels.back().Mesh, coarse);
    EXPECT_NEAR(levels.back().Deviation, 1 - std::cos(3.14159265f / 8), 1e-3f);
    for (size_t k = 1; k < levels.size(); ++k) {
        EXPECT_LT(levels[k].Mesh->TriangleCount(), levels[k - 1].Mesh->TriangleCount());
        EXPECT_GT(levels[k].Deviation, levels[k - 1].Deviation);
    }
    // A coarse mesh no simpler than the detailed one is no level of its own.
    EXPECT_EQ(BuildDetailLevels(coarse, MakeCylinder(1, 2, 8)).back().Mesh, coarse);
}
