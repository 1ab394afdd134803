// The coordinates manager's moves and turns of the selection, typed poses, align, duplicate.
#include <cmath>

#include "model/model_fixture.h"
#include "placement/u_positioning.h"

using namespace kx;
using namespace kxtest;

namespace {

/// Hands the selection to the positioning logic, as the window does.
class TForward : public TCoordinatesView {
public:
    explicit TForward(TPositioning& p) : m_p(p) {}
    void ShowPart(TFreeForm* part) override { m_p.SetActiveObject(part); }

private:
    TPositioning& m_p;
};

struct TPose {
    TVector3f Position, Direction, Up;
};

TPose PoseOf(const TSceneObject& o) {
    return {o.Position(), o.Direction(), o.Up()};
}

void ExpectNear(const TVector3f& a, const TVector3f& b, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.X, b.X, tolerance);
    EXPECT_NEAR(a.Y, b.Y, tolerance);
    EXPECT_NEAR(a.Z, b.Z, tolerance);
}

void ExpectPose(const TSceneObject& o, const TPose& p) {
    ExpectNear(o.Position(), p.Position);
    ExpectNear(o.Direction(), p.Direction);
    ExpectNear(o.Up(), p.Up);
}

class PositioningTest : public ModelTest {
protected:
    PositioningTest() : m_positioning(*m_model), m_forward(m_positioning) {
        m_model->SetCoordinatesView(&m_forward);
    }

    /// Three parts in odd poses: a selected, b and c co-selected.
    void SelectThree() {
        a = Add("31010");
        b = Add("31010");
        c = Add("32064");
        Object(a)->SetPosition({1, 2, 3});
        Object(a)->SetTurnAngle(30);
        Object(a)->SetPitchAngle(20);
        Object(b)->SetPosition({-2, 0.5f, 1});
        Object(b)->SetRollAngle(45);
        Object(c)->SetPosition({4, 0, -1});
        for (const std::string& n : {a, b, c}) {
            m_model->RefreshBauteil(n, false, -1);
        }
        m_model->SelectBaustein(a);
        m_model->CoSelectBaustein(b, true, false, true);
        m_model->CoSelectBaustein(c, true, false, true);
        ASSERT_EQ(m_positioning.ActiveObject(), Object(a));
    }

    void ExpectRecordsFollow() {
        for (const std::string& n : {a, b, c}) {
            EXPECT_EQ(m_model->FindBauteil(n)->Position(), Object(n)->Position()) << n;
            EXPECT_EQ(m_model->FindBauteil(n)->Direction(), Object(n)->Direction()) << n;
        }
    }

    TPositioning m_positioning;
    TForward m_forward;
    std::string a, b, c;
};

TEST_F(PositioningTest, WithoutASelectedPartNothingMoves) {
    const std::string p = Add("31010");
    m_model->DeSelectAllBausteine();
    const TPose before = PoseOf(*Object(p));
    const size_t snapshots = m_model->UndoList().Count();
    m_positioning.MoveStep(TMoveAxis::Move, 50);
    m_positioning.TurnStep(TTurnAxis::Turn, 90);
    EXPECT_FALSE(m_positioning.DragSlider(0, 50));
    m_positioning.SetPositionMm({100, 0, 0});
    m_positioning.ObjekteAusrichten();
    m_positioning.DuplicateSelection();
    ExpectPose(*Object(p), before);
    EXPECT_EQ(m_positioning.Slider(0).Value, 0);
    EXPECT_EQ(m_model->UndoList().Count(), snapshots);
    EXPECT_EQ(m_model->Parts().Count(), 1u);
}

TEST_F(PositioningTest, PlusFiftyMovesFiveMillimetresAndTakesTheCoSelectedPartsAlong) {
    SelectThree();
    const TPose pa = PoseOf(*Object(a)), pb = PoseOf(*Object(b)), pc = PoseOf(*Object(c));
    const size_t snapshots = m_model->UndoList().Count();
    m_positioning.MoveStep(TMoveAxis::Move, 50);
    const TVector3f step = pa.Direction * 0.5f;
    ExpectNear(Object(a)->Position(), pa.Position + step);
    ExpectNear(Object(b)->Position(), pb.Position + step);
    ExpectNear(Object(c)->Position(), pc.Position + step);
    ExpectNear(Object(b)->Direction(), pb.Direction);
    ExpectRecordsFollow();
    ASSERT_EQ(m_model->UndoList().Count(), snapshots + 1);
    EXPECT_EQ(m_model->UndoList().Last().Action, "btnZPosClick");

    // The other rows step along their own axes and name their snapshots after the row.
    m_positioning.MoveStep(TMoveAxis::Slide, -5);
    EXPECT_EQ(m_model->UndoList().Last().Action, "btnXPosClick");
    m_positioning.TurnStep(TTurnAxis::Roll, 10);
    EXPECT_EQ(m_model->UndoList().Last().Action, "btnRotRClick");

    m_model->DoUndo();
    m_model->DoUndo();
    m_model->DoUndo();
    ExpectPose(*Object(a), pa);
    ExpectPose(*Object(b), pb);
}

TEST_F(PositioningTest, TurnsAboutTheOwnOriginCarryTheCoSelectedPartsRigidly) {
    SelectThree();
    const float ab = Distance(Object(a)->Position(), Object(b)->Position());
    const TVector3f origin = Object(a)->Position();
    for (TTurnAxis axis : {TTurnAxis::Pitch, TTurnAxis::Turn, TTurnAxis::Roll}) {
        const TVector3f direction = Object(a)->Direction();
        const float before = Dot(Object(b)->Direction(), direction);
        m_positioning.TurnStep(axis, 10);
        ExpectNear(Object(a)->Position(), origin);
        EXPECT_NEAR(Distance(Object(a)->Position(), Object(b)->Position()), ab, 1e-4f);
        EXPECT_NEAR(Dot(Object(b)->Direction(), Object(a)->Direction()), before, 1e-4f);
    }
    ExpectRecordsFollow();
}

TEST_F(PositioningTest, FourQuarterTurnsAboutConnectorTwoGiveThePosesBack) {
    SelectThree();
    const TPose pa = PoseOf(*Object(a)), pb = PoseOf(*Object(b)), pc = PoseOf(*Object(c));
    m_positioning.ChooseCentre(2);
    EXPECT_EQ(m_positioning.Centre(), 2);
    const TSceneObject& connector = Object(a)->Child(1);
    const TVector3f pivot = connector.AbsolutePosition();
    EXPECT_TRUE(m_scene.FindObject("dcMiddle")->ShowAxes());
    EXPECT_FALSE(Object(a)->ShowAxes());
    ExpectNear(m_scene.FindObject("dcMiddle")->AbsolutePosition(), pivot);

    m_positioning.TurnStep(TTurnAxis::Turn, 90);
    // The connector is the centre: it stays where it is, the part turns about it.
    ExpectNear(connector.AbsolutePosition(), pivot);
    EXPECT_GT(Distance(Object(a)->Position(), pa.Position), 0.1f);
    for (int i = 0; i < 3; ++i) {
        m_positioning.TurnStep(TTurnAxis::Turn, 90);
    }
    ExpectPose(*Object(a), pa);
    ExpectPose(*Object(b), pb);
    ExpectPose(*Object(c), pc);
    ExpectRecordsFollow();

    // Back to the own origin: the marker's axes go, the part's come back.
    m_positioning.ChooseCentre(0);
    EXPECT_FALSE(m_scene.FindObject("dcMiddle")->ShowAxes());
    EXPECT_TRUE(Object(a)->ShowAxes());
}

TEST_F(PositioningTest, AfterATranslationATurnStillTurnsAboutTheChosenPlace) {
    SelectThree();
    m_positioning.ChooseCentre(2);
    const TPivotFrame pivot = m_positioning.Pivot();
    const TSceneObject& connector = Object(a)->Child(1);
    m_positioning.MoveStep(TMoveAxis::Lift, 50);
    // Moved along the connector's up axis; the centre stayed behind.
    ExpectNear(connector.AbsolutePosition(), pivot.Position + pivot.Up * 0.5f);
    ExpectNear(m_positioning.Pivot().Position, pivot.Position);
    const TVector3f moved = connector.AbsolutePosition();
    const TVector3f offset = Object(a)->Position() - pivot.Position;

    m_positioning.TurnStep(TTurnAxis::Roll, 90);
    // A turn about the moved connector would leave it in place; about the remembered place
    // it swings round, keeping its distance to that place and to its axis.
    EXPECT_GT(Distance(connector.AbsolutePosition(), moved), 0.1f);
    EXPECT_NEAR(Distance(Object(a)->Position(), pivot.Position), Length(offset), 1e-4f);
    EXPECT_NEAR(Dot(Object(a)->Position() - pivot.Position, pivot.Direction),
                Dot(offset, pivot.Direction), 1e-4f);
}

TEST_F(PositioningTest, SlidersMoveWithoutSnapshotsAndWrapTheirAngles) {
    SelectThree();
    const TPose pa = PoseOf(*Object(a));
    const size_t snapshots = m_model->UndoList().Count();
    EXPECT_FALSE(m_positioning.DragSlider(2, 10));  // within the trigger distance
    EXPECT_TRUE(m_positioning.DragSlider(2, 11));
    EXPECT_EQ(m_positioning.Slider(2).Text(), "0,50 mm");
    ExpectNear(Object(a)->Position(), pa.Position + pa.Direction * 0.05f);
    EXPECT_TRUE(m_positioning.DragSlider(2, -11));
    ExpectNear(Object(a)->Position(), pa.Position);

    m_positioning.StepKeys(true, false);  // Shift: ten degrees a step
    for (int i = 0; i < 40; ++i) {
        EXPECT_TRUE(m_positioning.DragSlider(3, 20));
        EXPECT_LT(m_positioning.Slider(3).Value, 360);
    }
    EXPECT_EQ(m_positioning.Slider(3).Text(), "40,0 º");
    // 400 degrees in all: the part stands as after 40.
    TFreeForm reference;
    reference.SetOrientation(pa.Direction, pa.Up);
    reference.SetPitchAngle(40);
    ExpectNear(Object(a)->Direction(), reference.Direction());
    EXPECT_EQ(m_model->UndoList().Count(), snapshots);

    m_positioning.StepKeys(false, true);
    EXPECT_EQ(m_positioning.Slider(0).Step, 0.25);
    EXPECT_EQ(m_positioning.Slider(4).Step, 0.1);
    m_positioning.StepKeysReleased();
    EXPECT_EQ(m_positioning.Slider(1).Step, 0.5);
    EXPECT_EQ(m_positioning.Slider(5).Step, 1);
}

TEST_F(PositioningTest, AlignPutsTheCoSelectedPartsOnTheSelectedOne) {
    SelectThree();
    m_positioning.ObjekteAusrichten();
    for (const std::string& n : {b, c}) {
        ExpectPose(*Object(n), PoseOf(*Object(a)));
    }
    ExpectRecordsFollow();
}

TEST_F(PositioningTest, TypedPositionAndAnglesMoveTheSelectionAsOne) {
    SelectThree();
    const TVector3f offset = Object(b)->Position() - Object(a)->Position();
    const size_t snapshots = m_model->UndoList().Count();
    m_positioning.SetPositionMm({100, 20, -35});
    ExpectNear(Object(a)->Position(), {10, 2, -3.5f});
    ExpectNear(Object(b)->Position() - Object(a)->Position(), offset);
    ExpectNear(m_positioning.PositionMm(), {100, 20, -35}, 1e-3f);

    const float ab = Distance(Object(a)->Position(), Object(b)->Position());
    const float dirs = Dot(Object(a)->Direction(), Object(b)->Direction());
    m_positioning.SetAngles({10, 30, 45});
    const TOrientationAngles back = m_positioning.Angles();
    EXPECT_NEAR(back.Pitch, 10, 1e-3);
    EXPECT_NEAR(back.Turn, 30, 1e-3);
    EXPECT_NEAR(back.Roll, 45, 1e-3);
    EXPECT_NEAR(Distance(Object(a)->Position(), Object(b)->Position()), ab, 1e-4f);
    EXPECT_NEAR(Dot(Object(a)->Direction(), Object(b)->Direction()), dirs, 1e-4f);
    ExpectRecordsFollow();
    EXPECT_EQ(m_model->UndoList().Count(), snapshots + 2);
}

TEST(OrientationAngles, MatchThePartsOwnTurnsAndReadBack) {
    // A part turned by its own angles reads the same angles back.
    struct TCase {
        double Pitch, Turn, Roll;
    };
    for (const TCase& k : {TCase{0, 0, 0}, TCase{20, 0, 0}, TCase{0, -135, 0}, TCase{0, 0, 170},
                           TCase{-45, 60, 30}, TCase{89, 10, -20}}) {
        TFreeForm o;
        o.SetTurnAngle(static_cast<float>(k.Turn));
        o.SetPitchAngle(static_cast<float>(k.Pitch));
        o.SetRollAngle(static_cast<float>(k.Roll));
        const TOrientationAngles a = AnglesOf(o.Direction(), o.Up());
        EXPECT_NEAR(a.Pitch, k.Pitch, 1e-3) << k.Pitch << " " << k.Turn << " " << k.Roll;
        EXPECT_NEAR(a.Turn, k.Turn, 1e-3) << k.Pitch << " " << k.Turn << " " << k.Roll;
        EXPECT_NEAR(a.Roll, k.Roll, 1e-3) << k.Pitch << " " << k.Turn << " " << k.Roll;
        TVector3f d, u;
        FrameOf(a, d, u);
        ExpectNear(d, o.Direction());
        ExpectNear(u, o.Up());
    }
}

TEST_F(PositioningTest, DuplicatingThreePartsSelectsTheCopies) {
    SelectThree();
    const size_t snapshots = m_model->UndoList().Count();
    m_positioning.DuplicateSelection();
    ASSERT_EQ(m_model->Parts().Count(), 6u);
    const std::vector<std::string> names = PartNames();
    const std::string a2 = names[3], b2 = names[4], c2 = names[5];
    EXPECT_EQ(TBauteil::ShortName(c2), "32064");
    ExpectPose(*Object(a2), PoseOf(*Object(a)));
    ExpectPose(*Object(b2), PoseOf(*Object(b)));
    ExpectPose(*Object(c2), PoseOf(*Object(c)));
    EXPECT_EQ(m_model->SelectedPart(), Object(a2));
    EXPECT_EQ(m_positioning.ActiveObject(), Object(a2));
    EXPECT_TRUE(m_model->FindBauteil(b2)->CoSelected());
    EXPECT_TRUE(m_model->FindBauteil(c2)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(a2)->CoSelected());
    EXPECT_EQ(ObjectColour(b2), kCoSelectedColor);

    // One step back removes all three copies.
    EXPECT_EQ(m_model->UndoList().Count(), snapshots + 1);
    m_model->DoUndo();
    EXPECT_EQ(m_model->Parts().Count(), 3u);
}

}  // namespace
