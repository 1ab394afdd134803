// The hose's export mesh: rings, node directions, the spline, the alignment of twisted rings,
// and the counts and degenerate cases a hose can come in.
#include <gtest/gtest.h>

#include <cmath>

#include "generated/u_pipeex.h"
#include "generated/u_tubegeometry.h"

using namespace kx;

namespace {

bool Finite(const std::vector<TPipeVertex>& mesh) {
    for (const TPipeVertex& v : mesh) {
        for (float c : {v.X, v.Y, v.Z, v.NX, v.NY, v.NZ}) {
            if (!std::isfinite(c)) {
                return false;
            }
        }
    }
    return true;
}

std::vector<TPipeVertex> Mesh(std::vector<TVector3f> nodes, TSplineMode mode, float r = 0.2f) {
    TPipeEx hose;
    hose.SetNodes(std::move(nodes));
    hose.SetRadius(r);
    hose.SetSplineMode(mode);
    hose.BuildMesh();
    return hose.Triangles();
}

/// A ring of `slices` + 1 entries whose radial and position components take the signs given
/// per entry (the same for both).
std::vector<TRingEntry> SignRing(int slices, int flipX, int flipY, int flipZ) {
    std::vector<TRingEntry> ring(static_cast<size_t>(slices) + 1);
    for (int i = 0; i <= slices; ++i) {
        const TVector3f v{i < flipX ? -1.f : 1.f, i < flipY ? -1.f : 1.f, i < flipZ ? -1.f : 1.f};
        ring[static_cast<size_t>(i)] = {v, v};
    }
    return ring;
}

}  // namespace

TEST(TubeGeometry, TriangleCountsAndDegenerateHoses) {
    const std::vector<TVector3f> four{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 1, 1}};
    struct Case {
        const char* what;
        std::vector<TVector3f> nodes;
        TSplineMode mode;
        size_t triangles;
    };
    const Case cases[] = {
        {"no nodes", {}, TSplineMode::lsmCubicSpline, 0},
        {"one node", {{1, 2, 3}}, TSplineMode::lsmLines, 0},
        {"one node, spline", {{1, 2, 3}}, TSplineMode::lsmCubicSpline, 0},
        {"four nodes, lines", four, TSplineMode::lsmLines, 2 * 16 * 3},
        {"four nodes, spline", four, TSplineMode::lsmCubicSpline, 2 * 16 * 3 * 10},
        {"two nodes, spline", {{0, 0, 0}, {0, 1, 0}}, TSplineMode::lsmCubicSpline, 2 * 16 * 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto mesh = Mesh(c.nodes, c.mode);
        EXPECT_EQ(mesh.size(), c.triangles * 3);
        EXPECT_TRUE(Finite(mesh));
    }
}

TEST(TubeGeometry, NodeDirectionsAndRingFrames) {
    EXPECT_EQ(NodeDirection({{1, 1, 1}}, 0), (TVector3f{0, 0, 0}));
    const std::vector<TVector3f> bend{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}};
    EXPECT_EQ(NodeDirection(bend, 0), (TVector3f{1, 0, 0}));
    EXPECT_NEAR(NodeDirection(bend, 1).X, std::sqrt(0.5f), 1e-6);
    EXPECT_EQ(NodeDirection(bend, 2), (TVector3f{0, 1, 0}));
    // Neighbours closer than the threshold give no direction.
    EXPECT_EQ(NodeDirection({{0, 0, 0}, {0.001f, 0, 0}}, 0), (TVector3f{0, 0, 0}));

    // Two nodes on one spot: the rings lie in the XZ plane, from (1, 0, 0) and (0, 0, 1).
    const auto flat = Mesh({{0, 0, 0}, {0, 0, 0}}, TSplineMode::lsmLines, 1);
    ASSERT_EQ(flat.size(), 2u * 16 * 3);
    for (const TPipeVertex& v : flat) {
        EXPECT_EQ(v.Y, 0);
    }
    EXPECT_FLOAT_EQ(flat[0].X, 1);  // entry 0 of the ring: centre + vx
    EXPECT_FLOAT_EQ(flat[1].Z, std::sin(2 * 3.14159265f / 16));

    // Along Z the ring comes from X x D: entry 0 points to -Y, entry 4 to +X.
    const auto alongZ = Mesh({{0, 0, 0}, {0, 0, 5}}, TSplineMode::lsmLines, 0.5f);
    EXPECT_NEAR(alongZ[0].Y, -0.5f, 1e-6);
    EXPECT_NEAR(alongZ[0].NY, -0.5f, 1e-6);  // normals are the radial vectors, length Radius
    EXPECT_NEAR(alongZ[0].X, 0, 1e-6);
    std::vector<TRingEntry> ring;
    ComputeRing({0, 0, 0}, {0, 0, 1}, 0.5f, 16, ring);
    EXPECT_NEAR(ring[4].Position.X, 0.5f, 1e-6);
    EXPECT_EQ(ring.size(), 17u);
    EXPECT_EQ(ring[16].Position.X, ring[0].Position.X);
}

TEST(TubeGeometry, CoincidentNodesNeverMakeANaN) {
    for (TSplineMode mode : {TSplineMode::lsmLines, TSplineMode::lsmCubicSpline}) {
        for (const std::vector<TVector3f>& nodes :
             {std::vector<TVector3f>{{0, 0, 0}, {0, 0, 0}},
              std::vector<TVector3f>{{0, 0, 0}, {0, 0, 0}, {1, 0, 0}},
              std::vector<TVector3f>{{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}},
              std::vector<TVector3f>{{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {2, 0, 0}}}) {
            EXPECT_TRUE(Finite(Mesh(nodes, mode)));
        }
    }
    EXPECT_EQ(SafeNormalized({0, 0, 0}), (TVector3f{0, 0, 0}));
}

TEST(TubeGeometry, TheSplinePassesThroughItsNodesWithStraightEnds) {
    const std::vector<TVector3f> nodes{{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}};
    const TTubeSpline spline(nodes);
    for (size_t k = 0; k < nodes.size(); ++k) {
        const TVector3f p = spline.Position(double(k));
        EXPECT_NEAR(p.X, nodes[k].X, 1e-5);
        EXPECT_NEAR(p.Y, nodes[k].Y, 1e-5);
        EXPECT_NEAR(p.Z, nodes[k].Z, 1e-5);
    }
    // Natural ends: no bending at either end, but at the inner nodes.
    auto bending = [&](double t) { return (spline.Slope(t + 0.001) - spline.Slope(t)) / 0.001f; };
    EXPECT_NEAR(bending(0).Y, 0, 0.05);
    EXPECT_NEAR(bending(2.999).X, 0, 0.05);
    EXPECT_GT(std::abs(bending(1).Y), 1);
    // Two nodes make a straight line.
    const TTubeSpline line({{0, 0, 0}, {2, 4, 6}});
    EXPECT_NEAR(line.Position(0.5).Y, 2, 1e-6);
    EXPECT_NEAR(line.Slope(0.25).Z, 6, 1e-6);
}

TEST(TubeGeometry, RingsAreAlignedOnlyAboveTheThreshold) {
    // With 16 slices the threshold is 8 * 8 = 64; counters start at 1.
    struct Case {
        int x, y, z;
        bool twisted;
    };
    const Case cases[] = {{0, 0, 0, false},  {3, 3, 3, false}, {3, 3, 4, true},
                          {63, 0, 0, false}, {7, 7, 0, false}, {16, 3, 0, true}};
    const auto same = SignRing(16, 0, 0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << c.z);
        EXPECT_EQ(RingsTwisted(same, SignRing(16, c.x, c.y, c.z), 16), c.twisted);
    }

    // A ring turned by half a turn against the next one is aligned back before joining.
    std::vector<TRingEntry> q, p;
    ComputeRing({0, 0, 1}, {0, 0, 1}, 1, 16, q);
    ComputeRing({0, 0, 0}, {0, 0, 1}, 1, 16, p);
    std::vector<TRingEntry> turned(17);
    for (size_t j = 0; j < 16; ++j) {
        turned[(j + 8) % 16] = p[j];
    }
    turned[16] = turned[0];
    ASSERT_TRUE(RingsTwisted(turned, q, 16));
    std::vector<TPipeVertex> out;
    JoinRings(turned, q, 16, out);
    ASSERT_EQ(out.size(), 16u * 6);
    EXPECT_NEAR(out[0].X, p[0].Position.X, 1e-6);
    EXPECT_NEAR(out[0].Y, p[0].Position.Y, 1e-6);
    // Rings that barely move are joined as they are.
    std::vector<TRingEntry> near;
    ComputeRing({0, 0, 0.01f}, {0, 0, 1}, 1, 16, near);
    out.clear();
    JoinRings(p, near, 16, out);
    EXPECT_EQ(out[1].X, p[1].Position.X);
    EXPECT_EQ(out[2].Z, near[1].Position.Z);
}

TEST(TubeGeometry, ShapeChangesRaiseTheGeometryCounterOnly) {
    TPipeEx hose;
    uint32_t g = hose.Versions().Geometry;
    const uint32_t m = hose.Versions().Material;
    hose.AddNode(1, 2, 3);
    EXPECT_GT(hose.Versions().Geometry, g);
    g = hose.Versions().Geometry;
    hose.SetNode(0, {1, 2, 3});  // the same value changes nothing
    hose.SetColour(0x123456);
    hose.SetPhase(4);
    EXPECT_EQ(hose.Versions().Geometry, g);
    hose.SetDisplayColour(0x123456);
    EXPECT_GT(hose.Versions().Material, m);
    for (auto change : {+[](TPipeEx& h) { h.SetRadius(1); },
                        +[](TPipeEx& h) { h.SetSplineMode(TSplineMode::lsmCubicSpline); },
                        +[](TPipeEx& h) { h.SetDivision(3); }, +[](TPipeEx& h) { h.SetSlices(8); },
                        +[](TPipeEx& h) { h.DeleteNode(0); }}) {
        change(hose);
        EXPECT_GT(hose.Versions().Geometry, g);
        g = hose.Versions().Geometry;
    }
}
