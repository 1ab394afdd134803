// The generated bar pieces: triangle counts, outward flat normals, end frames, no NaN.
#include <gtest/gtest.h>

#include <cmath>

#include "generated/u_ffCube.h"
#include "generated/u_ffCurve.h"
#include "generated/u_ffHole.h"
#include "generated/u_ffLongHole.h"

using namespace kx;

namespace {

void ExpectNear(const TVector3f& a, const TVector3f& b, float eps = 1e-4f) {
    EXPECT_NEAR(a.X, b.X, eps);
    EXPECT_NEAR(a.Y, b.Y, eps);
    EXPECT_NEAR(a.Z, b.Z, eps);
}

/// Every normal is finite and of unit length, and points out of the bar's box for the faces
/// that lie on the box (top, bottom, sides).
void ExpectSoundNormals(const TMesh& mesh) {
    ASSERT_EQ(mesh.Normals.size(), mesh.Positions.size());
    for (size_t i = 0; i < mesh.Normals.size(); ++i) {
        const TVector3f& n = mesh.Normals[i];
        ASSERT_TRUE(std::isfinite(n.X) && std::isfinite(n.Y) && std::isfinite(n.Z)) << i;
        EXPECT_NEAR(Length(n), 1.0f, 1e-4f) << i;
    }
    for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
        const TVector3f& p1 = mesh.Positions[3 * t];
        const TVector3f& p2 = mesh.Positions[3 * t + 1];
        const TVector3f& p3 = mesh.Positions[3 * t + 2];
        const TVector3f& n = mesh.Normals[3 * t];
        if (p1.Y == TFFBase::H && p2.Y == TFFBase::H && p3.Y == TFFBase::H &&
            Length(Cross(p2 - p1, p3 - p1)) > 1e-6f) {
            EXPECT_NEAR(n.Y, 1.0f, 1e-4f) << "top triangle " << t;
        }
        if (p1.Y == 0 && p2.Y == 0 && p3.Y == 0 && Length(Cross(p2 - p1, p3 - p1)) > 1e-6f) {
            EXPECT_NEAR(n.Y, -1.0f, 1e-4f) << "bottom triangle " << t;
        }
        if (p1.Z == TFFBase::W && p2.Z == TFFBase::W && p3.Z == TFFBase::W &&
            Length(Cross(p2 - p1, p3 - p1)) > 1e-6f) {
            EXPECT_NEAR(n.Z, 1.0f, 1e-4f) << "side triangle " << t;
        }
    }
}

}  // namespace

TEST(FreeFormPieces, BlockHasItsFacesAndCaps) {
    struct TCase {
        bool start, end;
        size_t triangles;
    };
    for (const TCase c :
         {TCase{false, false, 8}, {true, false, 10}, {false, true, 10}, {true, true, 12}}) {
        TFFCube cube;
        cube.Length = 40;
        cube.StartCap = c.start;
        cube.EndCap = c.end;
        cube.SetPosition({1, 2, 3});
        cube.BuildMesh();
        ASSERT_EQ(cube.Mesh()->TriangleCount(), c.triangles);
        ExpectSoundNormals(*cube.Mesh());
        for (const TVector3f& n : cube.Mesh()->Normals) {
            EXPECT_EQ(std::fabs(n.X) + std::fabs(n.Y) + std::fabs(n.Z), 1.0f);
        }
        // Direction (0,0,1), Up (0,1,0): the x axis is Up x Direction = (1,0,0).
        ExpectNear(cube.EndPosition(), {5, 2, 3});
        if (c.start) {
            EXPECT_EQ(cube.Mesh()->Normals[8 * 3].X, -1);
        }
    }
}

TEST(FreeFormPieces, BendEndFramesAndZeroAngle) {
    TFFCurve up;
    up.Angle = 90;
    up.BuildMesh();
    EXPECT_EQ(up.Mesh()->TriangleCount(), 80u);
    ExpectSoundNormals(*up.Mesh());
    ExpectNear(up.EndPosition(), {0.3f, 0.3f, 0});
    ExpectNear(Cross(up.EndUp(), up.EndDirection()), {0, 1, 0});  // x axis = start Up
    ExpectNear(up.EndUp(), {-1, 0, 0});

    TFFCurve down;
    down.Angle = -90;
    down.SetPosition({2, 0, 0});
    down.BuildMesh();
    ExpectNear(down.EndPosition(), {2, 0, 0});
    ExpectNear(Cross(down.EndUp(), down.EndDirection()), {0, -1, 0});

    TFFCurve flat;
    flat.BuildMesh();
    EXPECT_EQ(flat.Mesh()->TriangleCount(), 80u);
    ExpectSoundNormals(*flat.Mesh());  // zero-area facets, yet no NaN
    ExpectNear(flat.EndPosition(), {0, 0, 0});
    ExpectNear(flat.EndUp(), {0, 1, 0});

    // A block at the end of the bend meets its end face: the bend's last facet lies in the
    // block's start plane x' = 0.
    TFFCube block;
    block.SetOrientation(up.EndDirection(), up.EndUp());
    block.SetPosition(up.EndPosition());
    block.Length = 10;
    block.BuildMesh();
    const TVector3f blockStart = block.LocalToAbsolute({0, 0, TFFBase::W});
    ExpectNear(blockStart, up.LocalToAbsolute({TFFBase::H, TFFBase::H, TFFBase::W}));
    ExpectNear(block.LocalToAbsolute({0, TFFBase::H, -TFFBase::W}),
               up.LocalToAbsolute({0, TFFBase::H, -TFFBase::W}));
}

TEST(FreeFormPieces, HoleCountsAndWalls) {
    struct TCase {
        bool sink;
        float depth;
        bool roundStart, roundEnd;
        size_t triangles;
    };
    // 4 + 24N plain, 8N more with a countersink; a rounded end: 2N rim + 4N strip; one
    // rounded end also the straight half: 6N.
    for (const TCase c : {TCase{false, 0, false, false, 364},
                          {true, 1, false, false, 484},
                          {true, -1, false, false, 484},
                          {false, 0, true, true, 4 + 12 * 15 + 8 * 15},
                          {false, 0, true, false, 4 + 26 * 15}}) {
        TFFHole hole;
        hole.Length = 9;
        hole.Countersink = c.sink;
        hole.CountersinkDepth = c.depth;
        hole.RoundStart = c.roundStart;
        hole.RoundEnd = c.roundEnd;
        hole.BuildMesh();
        ASSERT_EQ(hole.Mesh()->TriangleCount(), c.triangles);
        ExpectSoundNormals(*hole.Mesh());
        ExpectNear(hole.EndPosition(), {0.9f, 0, 0});
    }
    TFFHole plain;
    plain.Length = 9;
    plain.BuildMesh();
    const TMesh& m = *plain.Mesh();
    size_t walls = 0;
    for (size_t t = 0; t < m.TriangleCount(); ++t) {
        const TVector3f& n = m.Normals[3 * t];
        const TVector3f& p = m.Positions[3 * t];
        if (std::fabs(n.Y) < 1e-4f && std::hypot(p.X - 4.5f, p.Z) < 2.01f) {
            ++walls;
            EXPECT_LT(n.X * (p.X - 4.5f) + n.Z * p.Z, 0) << "wall " << t << " faces the axis";
        }
    }
    EXPECT_EQ(walls, 8u * 15);

    // The countersunk wall runs from y 0 to 2, the cone from radius 3 at y 3 to radius 2.
    TFFHole sunk;
    sunk.Length = 9;
    sunk.Countersink = true;
    sunk.CountersinkDepth = 1;
    sunk.BuildMesh();
    float maxWallY = 0;
    for (const TVector3f& p : sunk.Mesh()->Positions) {
        const float r = std::hypot(p.X - 4.5f, p.Z);
        if (std::fabs(r - 2) < 1e-3f) {
            maxWallY = std::max(maxWallY, p.Y);
        }
        if (std::fabs(r - 3) < 1e-3f && p.Y > 0) {
            EXPECT_NEAR(p.Y, 3, 1e-5f);
        }
    }
    EXPECT_NEAR(maxWallY, 2, 1e-5f);
}

TEST(FreeFormPieces, BothEndsRoundedHaveFourZeroAreaSideTriangles) {
    TFFHole hole;
    hole.Length = 5;
    hole.RoundStart = true;
    hole.RoundEnd = true;
    hole.BuildMesh();
    size_t flat = 0;
    const TMesh& m = *hole.Mesh();
    for (size_t t = 0; t < m.TriangleCount(); ++t) {
        if (Length(Cross(m.Positions[3 * t + 1] - m.Positions[3 * t],
                         m.Positions[3 * t + 2] - m.Positions[3 * t])) == 0) {
            ++flat;
        }
    }
    EXPECT_EQ(flat, 4u);
    ExpectSoundNormals(m);
}

TEST(FreeFormPieces, SlotCountsAndEndFrame) {
    struct TCase {
        int steps;
        bool roundStart, roundEnd;
        size_t triangles;
    };
    for (const TCase c : {TCase{16, false, false, 4 + 24 * 16 + 16},
                          {15, false, false, 4 + 24 * 15 + 16},
                          {16, true, false, 4 + 26 * 16 + 20},
                          {16, false, true, 4 + 26 * 16 + 20},
                          {16, true, true, 4 + 4 * 16 + 8 * 16 + 24 + 8 * 16}}) {
        TFFLongHole slot;
        slot.Length = 20;
        slot.SlotLength = 10;
        slot.Radius = 1.5f;
        slot.Steps = c.steps;
        slot.RoundStart = c.roundStart;
        slot.RoundEnd = c.roundEnd;
        slot.BuildMesh();
        EXPECT_EQ(slot.Mesh()->TriangleCount(), c.triangles) << c.steps << c.roundStart;
        ExpectSoundNormals(*slot.Mesh());
        ExpectNear(slot.EndPosition(), {2, 0, 0});
    }
}
