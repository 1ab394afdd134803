// Frame rules of scene objects: stored angles, Direction/Up setters, move/lift/slide, matrices.
#include <gtest/gtest.h>

#include <random>

#include "view/u_sceneobjects.h"

using kx::TDummyCube;
using kx::TVector3f;

namespace {

::testing::AssertionResult Near(const TVector3f& a, const TVector3f& b, float tol = 1e-5f) {
    if (std::abs(a.X - b.X) <= tol && std::abs(a.Y - b.Y) <= tol && std::abs(a.Z - b.Z) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.X << ", " << a.Y << ", " << a.Z << ") != ("
                                         << b.X << ", " << b.Y << ", " << b.Z << ")";
}

::testing::AssertionResult Orthonormal(const kx::TSceneObject& o, float tol = 1e-5f) {
    const float ld = kx::Length(o.Direction());
    const float lu = kx::Length(o.Up());
    const float dot = kx::Dot(o.Direction(), o.Up());
    if (std::abs(ld - 1) <= tol && std::abs(lu - 1) <= tol && std::abs(dot) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "|D| " << ld << " |U| " << lu << " D.U " << dot;
}

}  // namespace

TEST(SceneFrame, DefaultsAndRightAxis) {
    TDummyCube o;
    EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
    EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
    EXPECT_TRUE(Near(o.Right(), {-1, 0, 0}));  // Direction x Up
    EXPECT_EQ(o.PitchAngle(), 0);
    EXPECT_EQ(o.TurnAngle(), 0);
    EXPECT_EQ(o.RollAngle(), 0);
    EXPECT_TRUE(Near(o.Scale(), {1, 1, 1}));
}

TEST(SceneFrame, EachAngleTurnsCounterClockwiseSeenFromItsAxis) {
    {
        TDummyCube o;  // pitch about Right (-1, 0, 0): the nose goes up
        o.SetPitchAngle(90);
        EXPECT_TRUE(Near(o.Direction(), {0, 1, 0}));
        EXPECT_TRUE(Near(o.Up(), {0, 0, -1}));
        EXPECT_EQ(o.PitchAngle(), 90);
    }
    {
        TDummyCube o;  // turn about Up (0, 1, 0)
        o.SetTurnAngle(90);
        EXPECT_TRUE(Near(o.Direction(), {1, 0, 0}));
        EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
        EXPECT_EQ(o.TurnAngle(), 90);
    }
    {
        TDummyCube o;  // roll about Direction (0, 0, 1)
        o.SetRollAngle(90);
        EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
        EXPECT_TRUE(Near(o.Up(), {-1, 0, 0}));
        EXPECT_EQ(o.RollAngle(), 90);
    }
    {
        TDummyCube o;
        o.SetTurnAngle(30);
        const float s = std::sin(30 * 3.14159265f / 180), c = std::cos(30 * 3.14159265f / 180);
        EXPECT_TRUE(Near(o.Direction(), {s, 0, c}));
    }
}

TEST(SceneFrame, AngleAxesAreTakenFromTheCurrentFrame) {
    TDummyCube o;
    o.SetTurnAngle(90);  // D (1, 0, 0), U (0, 1, 0), Right (0, 0, 1)
    EXPECT_TRUE(Near(o.Right(), {0, 0, 1}));
    o.SetPitchAngle(90);
    EXPECT_TRUE(Near(o.Direction(), {0, 1, 0}));
    EXPECT_TRUE(Near(o.Up(), {-1, 0, 0}));
    o.SetRollAngle(90);  // about the new Direction (0, 1, 0)
    EXPECT_TRUE(Near(o.Direction(), {0, 1, 0}));
    EXPECT_TRUE(Near(o.Up(), {0, 0, 1}));
}

TEST(SceneFrame, SettingAnAngleRotatesByTheDifferenceToTheStoredOne) {
    TDummyCube a, b;
    a.SetPitchAngle(30);
    a.SetPitchAngle(50);  // rotates by 20 more
    b.SetPitchAngle(50);
    EXPECT_TRUE(Near(a.Direction(), b.Direction()));
    EXPECT_TRUE(Near(a.Up(), b.Up()));

    // Setting the same angle again changes nothing.
    const TVector3f d = a.Direction();
    a.SetPitchAngle(50);
    EXPECT_TRUE(Near(a.Direction(), d));

    // Back to 0 returns to the start.
    a.SetPitchAngle(0);
    EXPECT_TRUE(Near(a.Direction(), {0, 0, 1}));
    EXPECT_TRUE(Near(a.Up(), {0, 1, 0}));
}

TEST(SceneFrame, SettingDirectionKeepsStoredAnglesSoRaisingAlwaysRotatesByTheAmount) {
    TDummyCube o;
    o.SetTurnAngle(40);
    o.SetDirection({0, 0, 1});  // the frame is back at the start, the angle still says 40
    EXPECT_EQ(o.TurnAngle(), 40);
    o.SetTurnAngle(130);  // 90 more
    EXPECT_TRUE(Near(o.Direction(), {1, 0, 0}));
    EXPECT_EQ(o.TurnAngle(), 130);

    o.SetUp({0, 1, 0});
    EXPECT_EQ(o.TurnAngle(), 130);
}

TEST(SceneFrame, StoredAnglesStayWithinPlusMinus180) {
    TDummyCube o;
    o.SetTurnAngle(190);  // rotates by 190, stores -170
    EXPECT_FLOAT_EQ(o.TurnAngle(), -170);
    TDummyCube ref;
    ref.SetTurnAngle(-170);
    EXPECT_TRUE(Near(o.Direction(), ref.Direction()));
    o.SetTurnAngle(-160);  // +10 from the stored -170
    ref.SetTurnAngle(-160);
    EXPECT_TRUE(Near(o.Direction(), ref.Direction()));
    o.SetRollAngle(-540);
    EXPECT_GE(o.RollAngle(), -180);
    EXPECT_LE(o.RollAngle(), 180);
    o.SetPitchAngle(180);
    EXPECT_FLOAT_EQ(o.PitchAngle(), 180);
}

TEST(SceneFrame, RelativeRotationsMatchTheAngleEquivalences) {
    // pitch(a) == pitch angle + a; turn(a) == turn angle - a; roll(a) == roll angle - a.
    TDummyCube start;
    start.SetOrientation({0.3f, 0.4f, 0.8f}, {0, 1, 0});
    for (float a : {25.0f, -70.0f, 180.0f}) {
        TDummyCube rel, abs;
        rel.SetOrientation(start.Direction(), start.Up());
        abs.SetOrientation(start.Direction(), start.Up());
        rel.Pitch(a);
        abs.SetPitchAngle(abs.PitchAngle() + a);
        rel.Turn(a);
        abs.SetTurnAngle(abs.TurnAngle() - a);
        rel.Roll(a);
        abs.SetRollAngle(abs.RollAngle() - a);
        EXPECT_TRUE(Near(rel.Direction(), abs.Direction())) << a;
        EXPECT_TRUE(Near(rel.Up(), abs.Up())) << a;
        EXPECT_EQ(rel.PitchAngle(), 0);  // relative rotations leave the angles alone
        EXPECT_EQ(rel.TurnAngle(), 0);
        EXPECT_EQ(rel.RollAngle(), 0);
    }
    TDummyCube t;
    t.Turn(90);  // clockwise seen from Up
    EXPECT_TRUE(Near(t.Direction(), {-1, 0, 0}));
}

TEST(SceneFrame, SetDirectionRules) {
    {
        TDummyCube o;  // normalised, Up made perpendicular
        o.SetDirection({1, 0, 1});
        const float h = std::sqrt(0.5f);
        EXPECT_TRUE(Near(o.Direction(), {h, 0, h}));
        EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
        o.SetDirection({0, 1, 1});
        EXPECT_TRUE(Near(o.Direction(), {0, h, h}));
        EXPECT_TRUE(Near(o.Up(), {0, h, -h}));
        EXPECT_TRUE(Orthonormal(o));
    }
    {
        TDummyCube o;  // zero becomes (0, 0, 1)
        o.SetTurnAngle(90);
        o.SetDirection({0, 0, 0});
        EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
        EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
    }
    {
        TDummyCube o;  // parallel to Up: R := (0, 0, 1) x Up
        o.SetDirection({0, 5, 0});
        EXPECT_TRUE(Near(o.Direction(), {0, 1, 0}));
        EXPECT_TRUE(Near(o.Up(), {0, 0, -1}));
    }
    {
        TDummyCube o;  // antiparallel to Up
        o.SetDirection({0, -3, 0});
        EXPECT_TRUE(Near(o.Direction(), {0, -1, 0}));
        EXPECT_TRUE(Near(o.Up(), {0, 0, 1}));
    }
    {
        TDummyCube o;  // Up along Z and D along Z: R := (1, 0, 0) x Up
        o.SetPitchAngle(-90);
        ASSERT_TRUE(Near(o.Up(), {0, 0, 1}));
        o.SetDirection({0, 0, 2});
        EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
        EXPECT_TRUE(Near(o.Up(), {-1, 0, 0}));
    }
    {
        TDummyCube o;  // nearly parallel (cross product below 0.00001) takes the fallback
        o.SetDirection({0.000001f, 1, 0});
        EXPECT_TRUE(Near(o.Up(), {0, 0, -1}, 1e-4f));
        EXPECT_TRUE(Orthonormal(o));
    }
    {
        TDummyCube o;  // broken input is ignored
        o.SetDirection({NAN, 0, 1});
        EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
    }
}

TEST(SceneFrame, SetUpRules) {
    {
        TDummyCube o;
        o.SetUp({1, 1, 0});
        const float h = std::sqrt(0.5f);
        EXPECT_TRUE(Near(o.Up(), {h, h, 0}));
        EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
        o.SetUp({0, 1, -1});
        EXPECT_TRUE(Near(o.Up(), {0, h, -h}));
        EXPECT_TRUE(Near(o.Direction(), {0, h, h}));
    }
    {
        TDummyCube o;  // zero becomes (0, 1, 0)
        o.SetRollAngle(90);
        o.SetUp({0, 0, 0});
        EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
        EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}));
    }
    {
        TDummyCube o;  // parallel to Direction: R := Direction x (0, 1, 0)
        o.SetUp({0, 0, 4});
        EXPECT_TRUE(Near(o.Up(), {0, 0, 1}));
        EXPECT_TRUE(Near(o.Direction(), {0, -1, 0}));
        EXPECT_TRUE(Near(o.Right(), {-1, 0, 0}));
    }
    {
        TDummyCube o;  // Direction along Y too: R := Direction x (1, 0, 0)
        o.SetPitchAngle(90);
        ASSERT_TRUE(Near(o.Direction(), {0, 1, 0}));
        o.SetUp({0, 1, 0});
        EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
        EXPECT_TRUE(Near(o.Direction(), {-1, 0, 0}));
    }
    {
        TDummyCube o;  // both at once: the direction wins, up is made perpendicular
        o.SetOrientation({0, 0, -2}, {0, 3, 1});
        EXPECT_TRUE(Near(o.Direction(), {0, 0, -1}));
        EXPECT_TRUE(Near(o.Up(), {0, 1, 0}));
    }
}

TEST(SceneFrame, StaysOrthonormalThroughLongRandomSequences) {
    std::mt19937 rng(4711);
    std::uniform_real_distribution<float> angle(-400, 400);
    std::uniform_real_distribution<float> coord(-2, 2);
    std::uniform_int_distribution<int> op(0, 9);
    TDummyCube o;
    for (int i = 0; i < 20000; ++i) {
        switch (op(rng)) {
            case 0:
                o.SetPitchAngle(angle(rng));
                break;
            case 1:
                o.SetTurnAngle(angle(rng));
                break;
            case 2:
                o.SetRollAngle(angle(rng));
                break;
            case 3:
                o.Pitch(angle(rng));
                break;
            case 4:
                o.Turn(angle(rng));
                break;
            case 5:
                o.Roll(angle(rng));
                break;
            case 6:
                o.SetDirection({coord(rng), coord(rng), coord(rng)});
                break;
            case 7:
                o.SetUp({coord(rng), coord(rng), coord(rng)});
                break;
            case 8:
                o.SetDirection(i % 3 ? o.Up() : TVector3f{});
                break;  // parallel, zero
            case 9:
                o.SetUp(i % 3 ? o.Direction() * -1 : TVector3f{});
                break;
        }
        ASSERT_TRUE(Orthonormal(o)) << "step " << i;
        ASSERT_LE(std::abs(o.PitchAngle()), 180);
    }
}

TEST(SceneFrame, ManySmallTurnsAddUp) {
    TDummyCube o;
    for (int i = 0; i < 3600; ++i) {
        o.Turn(1);  // ten full turns in one-degree kinematics steps
    }
    EXPECT_TRUE(Near(o.Direction(), {0, 0, 1}, 1e-4f));
    EXPECT_TRUE(Orthonormal(o));
}

TEST(SceneFrame, MoveLiftSlideFollowTheOwnAxes) {
    TDummyCube o;
    o.SetPosition({1, 1, 1});
    o.SetTurnAngle(90);  // D (1, 0, 0), U (0, 1, 0), Right (0, 0, 1)
    o.Move(2);
    EXPECT_TRUE(Near(o.Position(), {3, 1, 1}));
    o.Lift(3);
    EXPECT_TRUE(Near(o.Position(), {3, 4, 1}));
    o.Slide(4);
    EXPECT_TRUE(Near(o.Position(), {3, 4, 5}));
    o.Slide(-4);
    o.Translate({-2, -3, 0});
    EXPECT_TRUE(Near(o.Position(), {1, 1, 1}));

    TDummyCube d;  // default frame: slide goes along -X
    d.Slide(1);
    EXPECT_TRUE(Near(d.Position(), {-1, 0, 0}));
}

TEST(SceneFrame, LocalMatrixIsColumnMajorWithOwnAxes) {
    TDummyCube o;
    o.SetPosition({5, 6, 7});
    o.SetTurnAngle(90);
    o.SetScale(0.1f);
    const kx::TMatrix4f m = o.LocalMatrix();
    // Columns: X = Up x Direction, Y = Up, Z = Direction, each scaled, then the position.
    EXPECT_TRUE(Near(m.Column(0), {0, 0, -0.1f}));
    EXPECT_TRUE(Near(m.Column(1), {0, 0.1f, 0}));
    EXPECT_TRUE(Near(m.Column(2), {0.1f, 0, 0}));
    EXPECT_FLOAT_EQ(m.M[12], 5);
    EXPECT_FLOAT_EQ(m.M[13], 6);
    EXPECT_FLOAT_EQ(m.M[14], 7);
    EXPECT_FLOAT_EQ(m.M[15], 1);
    EXPECT_FLOAT_EQ(m(0, 3), 5);
}

TEST(SceneFrame, WorldMatrixOfNestedObjects) {
    // Parts root, a part scaled 0.1 and turned, a connector arrow in the part's mesh units.
    TDummyCube root;
    auto& partsRoot = root.AddNewChild<TDummyCube>("DummyCube");
    partsRoot.SetPosition({0, 0, 0});
    auto& part = partsRoot.AddNewChild<kx::TFreeForm>("F31010_1");
    part.SetScale(0.1f);
    part.SetPosition({1, 2, 3});
    part.SetTurnAngle(90);  // its Z axis is world X, its X axis world -Z
    auto& arrow = part.AddNewChild<kx::TArrowLine>();
    arrow.SetPosition({10, 0, 20});  // mesh units
    arrow.SetPitchAngle(90);         // points along the part's Y

    EXPECT_TRUE(Near(arrow.AbsolutePosition(), {1 + 2, 2, 3 - 1}));
    EXPECT_TRUE(Near(arrow.AbsoluteDirection(), {0, 1, 0}));
    EXPECT_TRUE(Near(arrow.AbsoluteUp(), {-1, 0, 0}));
    const kx::TMatrix4f w = arrow.AbsoluteMatrix();
    EXPECT_TRUE(Near(w.Translation(), {3, 2, 2}));
    EXPECT_TRUE(Near(w.Column(2), {0, 0.1f, 0}));  // scale carried down
    // The arrow's tip, 40 mesh units along its Z, is 4 scene units higher.
    EXPECT_TRUE(Near(arrow.LocalToAbsolute({0, 0, 40}), {3, 6, 2}));
    EXPECT_TRUE(Near(arrow.AbsoluteToLocal({3, 6, 2}), {0, 0, 40}, 1e-4f));
    EXPECT_TRUE(Near(part.AbsoluteToLocalVector({1, 0, 0}), {0, 0, 10}, 1e-4f));

    // Relative to the parts root, whatever the root's own pose.
    partsRoot.SetPosition({100, 0, 0});
    EXPECT_TRUE(Near(arrow.MatrixRelativeTo(partsRoot).Translation(), {3, 2, 2}));
    EXPECT_EQ(part.MatrixRelativeTo(partsRoot), part.LocalMatrix());
    EXPECT_TRUE(Near(arrow.AbsolutePosition(), {103, 2, 2}));
    partsRoot.SetPosition({0, 0, 0});

    // Moving the parent moves the child's world pose without touching the child.
    const auto childVersions = arrow.Versions();
    part.Lift(1);
    EXPECT_TRUE(Near(arrow.AbsolutePosition(), {3, 3, 2}));
    EXPECT_EQ(arrow.Versions().Transform, childVersions.Transform);

    // Setting world values goes through the parents' inverse.
    arrow.SetAbsolutePosition({0, 0, 0});
    EXPECT_TRUE(Near(arrow.AbsolutePosition(), {0, 0, 0}, 1e-5f));
    EXPECT_TRUE(Near(arrow.Position(), {30, -30, -10}, 1e-3f));
    arrow.SetAbsoluteDirection({0, 0, 1});
    EXPECT_TRUE(Near(arrow.AbsoluteDirection(), {0, 0, 1}));
    EXPECT_TRUE(Near(arrow.Direction(), {-1, 0, 0}));
    arrow.SetAbsoluteUp({1, 0, 0});
    EXPECT_TRUE(Near(arrow.AbsoluteUp(), {1, 0, 0}));
    EXPECT_TRUE(Orthonormal(arrow));
}

TEST(SceneFrame, MatrixInverseAndProduct) {
    TDummyCube o;
    o.SetPosition({1, -2, 3});
    o.SetOrientation({1, 2, 3}, {0, 1, 0});
    o.SetScale({0.1f, 2, 0.5f});
    const kx::TMatrix4f m = o.LocalMatrix();
    const kx::TMatrix4f p = m * m.Inverse();
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(p(r, c), r == c ? 1 : 0, 1e-5f);
        }
    }
    TDummyCube flat;
    flat.SetScale(0.0f);
    EXPECT_EQ(flat.LocalMatrix().Inverse(), kx::TMatrix4f::Identity());
}
