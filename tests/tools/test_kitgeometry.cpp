// Tests of the kit generator's geometry library: closed, outward-facing solids of the right size.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

#include "kg_geometry.h"

namespace kx::kitgen {
namespace {

constexpr double kPi = std::numbers::pi;

/// Directed edges without their reverse: 0 for a closed, consistently oriented surface.
/// Positions are compared on a 1e-4 grid.
int OpenEdges(const TGeo& g) {
    using TKey = std::tuple<long, long, long>;
    auto key = [](const TVector3f& p) {
        return TKey{std::lround(p.X * 1e4), std::lround(p.Y * 1e4), std::lround(p.Z * 1e4)};
    };
    std::map<std::pair<TKey, TKey>, int> edges;
    for (size_t i = 0; i + 2 < g.P.size(); i += 3) {
        for (int k = 0; k < 3; ++k) {
            edges[{key(g.P[i + k]), key(g.P[i + (k + 1) % 3])}]++;
        }
    }
    int open = 0;
    for (const auto& [e, n] : edges) {
        auto it = edges.find({e.second, e.first});
        open += std::abs(n - (it == edges.end() ? 0 : it->second));
    }
    return open;
}

TEST(KitGeometry, PrimitivesAreClosedOutwardSolidsOfTheirVolume) {
    struct TCase {
        const char* name;
        TGeo geo;
        double volume;
        double tolerance;  // relative
    };
    const double polyCyl = 0.5 * 64 * std::sin(2 * kPi / 64);  // area of a unit 64-gon
    const std::vector<TCase> cases = {
        {"box", Box({-1, -2, -3}, {4, 5, 6}), 5.0 * 7 * 9, 1e-6},
        // Inner cube, face slabs, edge prisms of a 1 mm chamfer and corner tetrahedra.
        {"chamfered box", RoundedBox({0, 0, 0}, {10, 10, 10}, 1, 1), 512 + 384 + 48 + 8.0 / 6,
         1e-5},
        {"rounded box", RoundedBox({0, 0, 0}, {10, 20, 30}, 2, 6), 0, 0},
        {"cylinder", Cylinder(2, -1, 3, 64), polyCyl * 4 * 4, 1e-4},
        {"tube", Tube(1, 2, 0, 5, 64), polyCyl * (4 - 1) * 5, 1e-4},
        {"sphere", Sphere(3, 64), 4.0 / 3 * kPi * 27, 0.01},
        {"torus", Torus(10, 2, 64, 32), 2 * kPi * kPi * 10 * 4, 0.01},
        {"prism", ExtrudeConvex({{0, 0}, {4, 0}, {4, 3}, {0, 3}}, -1, 1), 24, 1e-6},
        {"beam", Beam({1, 1}, {4, 5}, 2, 3), 5.0 * 2 * 3, 1e-5},
        {"quarter ring", ArcSweep(10, 14, -2, 2, -90, 0, 64), kPi / 4 * (196 - 100) * 4, 1e-3},
        {"half ring backwards", ArcSweep(10, 14, 0, 3, 180, 0, 64), kPi / 2 * (196 - 100) * 3,
         1e-3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OpenEdges(c.geo), 0);
        const double v = SignedVolume(c.geo);
        EXPECT_GT(v, 0) << "faces point inwards";
        if (std::string(c.name) != "rounded box") {
            EXPECT_NEAR(v, c.volume, c.volume * c.tolerance);
        } else {
            // The box less the rounded-off edges (r = 2 along 4 x (6 + 16 + 26) mm) and corners;
            // the facets cut a little more than the true round.
            const double round = 6000 - 4 * 48 * 4 * (1 - kPi / 4) - 8 * 8 * (1 - kPi / 6);
            EXPECT_LT(v, round);
            EXPECT_GT(v, round * 0.995);
        }
    }
}

TEST(KitGeometry, GearHasTeethAndABore) {
    const std::vector<TPt2> outline = GearOutline(20, 1.5, 3);
    double rMin = 1e9, rMax = 0;
    for (const TPt2& p : outline) {
        const double r = std::hypot(p.X, p.Y);
        rMin = std::min(rMin, r);
        rMax = std::max(rMax, r);
    }
    EXPECT_NEAR(rMax, 15 + 1.5, 1e-9);         // tip circle: pitch radius + module
    EXPECT_NEAR(rMin, 15 - 1.25 * 1.5, 1e-9);  // root circle
    const TGeo gear = ExtrudeStarWithBore(outline, 2.6, -3, 3);
    EXPECT_EQ(OpenEdges(gear), 0);
    // Bore and teeth gaps make it lighter than the full tip disc and heavier than the root disc
    // minus the bore.
    const double v = SignedVolume(gear);
    EXPECT_LT(v, kPi * 16.5 * 16.5 * 6);
    EXPECT_GT(v, kPi * (13.125 * 13.125 - 2.6 * 2.6) * 6 * 0.99);
}

TEST(KitGeometry, FaceWithHolesCoversTheFaceAndSinksTheHoles) {
    TFaceMap bottom{{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    const TGeo face = FaceWithHoles(bottom, -15, 15, -7.5, 7.5, {-7.5, 7.5}, {0}, 2, 4, 16);
    double area = 0;
    for (size_t i = 0; i + 2 < face.P.size(); i += 3) {
        const TVector3f n = Cross(face.P[i + 1] - face.P[i], face.P[i + 2] - face.P[i]);
        if (face.P[i].Y == 0 && face.P[i + 1].Y == 0 && face.P[i + 2].Y == 0) {
            EXPECT_LT(n.Y, 0) << "the face looks down";
            area += Length(n) / 2;
        }
        EXPECT_LE(face.P[i].Y, 4.0001f);
        EXPECT_GE(face.P[i].Y, -0.0001f);
    }
    // The ring around each hole plus the hole floor (which lies at depth 4, not counted).
    const double hole = 0.5 * 16 * std::sin(2 * kPi / 16) * 4;
    EXPECT_NEAR(area, 30 * 15 - 2 * hole, 1e-3);
    // Closed by a box above it: a block with two blind holes underneath.
    TGeo block = RoundedBox({-15, 0, -7.5}, {15, 15, 7.5}, 0, 1, kFaceYN) + face;
    EXPECT_GT(SignedVolume(block), 0);
    EXPECT_NEAR(SignedVolume(block), 30 * 15 * 15 - 2 * hole * 4, 1e-2);
}

TEST(KitGeometry, HoledBoxSinksHolesIntoEveryListedFace) {
    const double hole = 0.5 * 16 * std::sin(2 * kPi / 16) * 2.1 * 2.1 * 3;  // one 3 mm hole
    const std::vector<TFaceHoles> faces = {
        {kFaceYN, {-7.5, 7.5}, {0}}, {kFaceYP, {0}, {0}},         {kFaceXN, {0}, {0}},
        {kFaceXP, {0}, {0}},         {kFaceZP, {-7.5, 7.5}, {0}}, {kFaceZN, {0}, {-7.5, 7.5}}};
    const TGeo plain = HoledBox({-15, -7.5, -7.5}, {15, 7.5, 7.5}, 1, 3, {}, 2.1, 3, 16);
    const TGeo holed = HoledBox({-15, -7.5, -7.5}, {15, 7.5, 7.5}, 1, 3, faces, 2.1, 3, 16);
    EXPECT_EQ(OpenEdges(plain), 0);
    // Nine holes: at least the 16-gon each (the corner directions add a few more points to a
    // hole's rim), at most the round hole.
    const double removed = SignedVolume(plain) - SignedVolume(holed);
    EXPECT_GE(removed, 9 * hole - 1e-3);
    EXPECT_LE(removed, 9 * kPi * 2.1 * 2.1 * 3);
    // Every hole opens on its own face: nothing pokes out of the box.
    const TBounds b = Bounds(holed);
    EXPECT_FLOAT_EQ(b.Lo.X, -15);
    EXPECT_FLOAT_EQ(b.Hi.Z, 7.5);
}

TEST(KitGeometry, TransformsKeepSolidsOutward) {
    const TGeo box = Box({0, 0, 0}, {1, 2, 3});
    const TXform turn = TXform::Translate(5, 6, 7) * TXform::RotateY(90) * TXform::RotateX(30);
    EXPECT_NEAR(SignedVolume(Transformed(box, turn)), 6, 1e-4);
    EXPECT_NEAR(SignedVolume(Transformed(box, TXform::Scale(-1, 1, 1))), 6, 1e-5)
        << "a mirror turns the triangles over";
    const TXform frame = TXform::Frame({1, 0, 0}, {0, 1, 0});
    const TVector3f z = frame.ApplyDir({0, 0, 1}), y = frame.ApplyDir({0, 1, 0});
    EXPECT_NEAR(z.X, 1, 1e-6);
    EXPECT_NEAR(y.Y, 1, 1e-6);
    EXPECT_NEAR(frame.Determinant(), 1, 1e-9);
    // Quarter turns are exact, so grid points stay on the grid.
    const TVector3f p = TXform::RotateZ(90).Apply({7.5f, 0, 0});
    EXPECT_EQ(p, TVector3f(0, 7.5f, 0));
}

TEST(KitGeometry, SmoothNormalsFollowTheRoundingRule) {
    const TMesh cube = ToMesh(Box({0, 0, 0}, {1, 1, 1}));
    const std::vector<TVector3f> n = SmoothNormals(cube, 0.8);
    ASSERT_EQ(n.size(), cube.Positions.size());
    for (size_t i = 0; i < n.size(); ++i) {
        // Faces meet at right angles: each vertex keeps its own face's direction; a corner
        // shared by both triangles of a face gets that normal twice.
        EXPECT_GT(Dot(Normalized(n[i]), cube.Normals[i]), 0.9999f);
        EXPECT_GE(Length(n[i]), 0.999f);
        EXPECT_LE(Length(n[i]), 2.001f);
    }
    const TMesh cyl = ToMesh(Cylinder(5, 0, 10, 32));
    const std::vector<TVector3f> s = SmoothNormals(cyl, 0.8);
    size_t smoothed = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (std::abs(cyl.Normals[i].Z) < 0.01f && std::abs(Normalized(s[i]).Z) < 0.01f) {
            const TVector3f radial =
                Normalized(TVector3f(cyl.Positions[i].X, cyl.Positions[i].Y, 0));
            smoothed += Dot(Normalized(s[i]), radial) > 0.995f;
        }
    }
    EXPECT_GT(smoothed, 100u) << "side normals point out of the axis";
}

}  // namespace
}  // namespace kx::kitgen
