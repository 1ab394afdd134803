// The view's handling: selection in both modes, hiding, painting, orbit, pan and zoom, the
// suppressed movement, handlers that let events through, dragging and dropping parts.
#include <gtest/gtest.h>

#include <cmath>

#include "join_fixture.h"
#include "placement/u_connect.h"
#include "view/u_viewer.h"

using namespace kx;
using namespace kxtest;

namespace {

class TFakeHost : public TViewerHost {
public:
    int ViewWidth() const override { return 200; }
    int ViewHeight() const override { return 200; }
    void Redraw() override { ++Redraws; }
    void ProcessPendingEvents() override {
        ++Depth;
        MaxDepth = std::max(MaxDepth, Depth);
        if (OnPending) {
            auto pending = std::move(OnPending);
            OnPending = nullptr;
            pending();
        }
        --Depth;
    }
    bool KinematicsRunning() const override { return Kinematics; }
    void RunJogDial(int x, int y) override { JogDials.push_back({x, y}); }
    void RepaintPartsTree() override { ++TreeRepaints; }
    void AfterDrop(std::function<void()> action) override { Deferred.push_back(std::move(action)); }
    void PartDropped(const std::string& number) override { Dropped.push_back(number); }

    void RunDeferred() {
        auto actions = std::move(Deferred);
        Deferred.clear();
        for (auto& a : actions) {
            a();
        }
    }

    int Redraws = 0;
    int Depth = 0;
    int MaxDepth = 0;
    std::function<void()> OnPending;
    bool Kinematics = false;
    std::vector<std::pair<int, int>> JogDials;
    int TreeRepaints = 0;
    std::vector<std::function<void()>> Deferred;
    std::vector<std::string> Dropped;
};

/// Keys and buttons held, as the tests write them.
struct TShiftState {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool Left = false;
    bool Right = false;
    bool Middle = false;
};

TPointerEvent Event(TMouseButton b, int x, int y, const TShiftState& s) {
    TPointerEvent e;
    e.X = x;
    e.Y = y;
    e.Button = b;
    e.LeftDown = s.Left;
    e.RightDown = s.Right;
    e.MiddleDown = s.Middle;
    e.Modifiers.Shift = s.Shift;
    e.Modifiers.Ctrl = s.Ctrl;
    e.Modifiers.Alt = s.Alt;
    return e;
}

TPointerEvent Press(TMouseButton b, int x, int y, TShiftState s = {}) {
    if (b == TMouseButton::Left) {
        s.Left = true;
    } else if (b == TMouseButton::Right) {
        s.Right = true;
    } else if (b == TMouseButton::Middle) {
        s.Middle = true;
    }
    return Event(b, x, y, s);
}

TPointerEvent Release(TMouseButton b, int x, int y, const TShiftState& s = {}) {
    return Event(b, x, y, s);
}

TPointerEvent MoveTo(int x, int y, const TShiftState& s) {
    return Event(TMouseButton::None, x, y, s);
}

constexpr int kMiddle = 100;
constexpr int kAboveY = 82;  // the part one box higher: 6 pixels per scene unit at 50 away

class Viewer : public JoinTest {
protected:
    Viewer() {
        WriteDef(Def("20001", {Conn(1, 4, {0, 10, 0}, {90, 0, 0, 0, 0, 0}, "oben"),
                               Conn(0, 4, {0, -10, 0}, {-90, 0, 0, 0, 0, 0}, "unten")}));
        TDefObj composite = Def("20002", {Conn(0, 4, {0, -10, 0})});
        composite.Children = {"20003", "20003"};
        WriteDef(composite);
        WriteDef(Def("20003", {}), 2);
        m_scene.Camera()->SetPosition({0, 0, -50});
        m_viewer = std::make_unique<TViewerInteraction>(*m_model, m_scene, m_defs, m_host);
        m_a = &Place("20001");
        m_b = &Place("20001");
        m_b->SetPosition({0, 3, 0});
        m_model->RefreshBauteil(m_b->Name(), false, -1);
    }

    TBauteil& Record(TFreeForm* o) { return *m_model->FindBauteil(o->Name()); }
    void Click(int x, int y, TShiftState s = {}) {
        m_viewer->MouseDown(Press(TMouseButton::Left, x, y, s));
        m_viewer->MouseUp(Release(TMouseButton::Left, x, y, s));
    }

    TFakeHost m_host;
    std::unique_ptr<TViewerInteraction> m_viewer;
    TFreeForm* m_a = nullptr;
    TFreeForm* m_b = nullptr;
};

TEST_F(Viewer, PicksThePartUnderThePointer) {
    EXPECT_EQ(m_viewer->PickedObject(kMiddle, kMiddle), m_a);
    EXPECT_EQ(m_viewer->PickedObject(kMiddle, kAboveY), m_b);
    EXPECT_EQ(m_viewer->PickedObject(10, 10), nullptr);
}

TEST_F(Viewer, SingleSelectionSelectsCoSelectsAndClears) {
    Click(kMiddle, kMiddle);
    EXPECT_EQ(m_model->SelectedPart(), m_a);
    TShiftState shift;
    shift.Shift = true;
    Click(kMiddle, kAboveY, shift);
    EXPECT_TRUE(Record(m_b).CoSelected());
    Click(kMiddle, kAboveY, shift);  // a second Shift-click releases it
    EXPECT_FALSE(Record(m_b).CoSelected());
    Click(10, 10);  // empty space
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
}

TEST_F(Viewer, MultipleSelectionAddsAndKeepsTheSelectionOnEmptySpace) {
    m_viewer->SetMultiSelection(true);
    Click(kMiddle, kMiddle);
    EXPECT_EQ(m_model->SelectedPart(), m_a);
    Click(kMiddle, kAboveY);
    EXPECT_TRUE(Record(m_b).CoSelected());
    Click(10, 10);
    EXPECT_EQ(m_model->SelectedPart(), m_a);
    EXPECT_TRUE(Record(m_b).CoSelected());
}

TEST_F(Viewer, RotateModeSelectsOnlyWithCtrlAndKinematicsBlocksSelecting) {
    m_viewer->SetMode(TEditMode::Rotate);
    Click(kMiddle, kMiddle);
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    TShiftState ctrl;
    ctrl.Ctrl = true;
    Click(kMiddle, kMiddle, ctrl);
    EXPECT_EQ(m_model->SelectedPart(), m_a);
    m_viewer->SetMode(TEditMode::Select);
    m_host.Kinematics = true;
    Click(kMiddle, kAboveY);
    EXPECT_EQ(m_model->SelectedPart(), m_a);  // unchanged while kinematics runs

    // Hiding and painting still act.
    m_viewer->SetMode(TEditMode::Color);
    m_viewer->SetActiveColor(0x00FFFF);
    Click(kMiddle, kAboveY);
    EXPECT_EQ(Record(m_b).Color(), 0x00FFFFu);
    m_viewer->SetMode(TEditMode::Visible);
    Click(kMiddle, kAboveY);
    EXPECT_FALSE(m_b->Visible());
}

TEST_F(Viewer, PaintingStoresTheColourWithAnUndoSnapshot) {
    m_viewer->SetMode(TEditMode::Color);
    m_viewer->SetActiveColor(0xFF0000);
    const size_t undo = m_model->UndoList().Count();
    Click(kMiddle, kMiddle);
    EXPECT_EQ(Record(m_a).Color(), 0xFF0000u);
    EXPECT_EQ(ColorToWin(m_a->Material().Diffuse().Rgb()), 0xFF0000u);
    EXPECT_EQ(ColorToWin(m_a->DrawMaterial().Diffuse().Rgb()), 0xFF0000u);
    ASSERT_EQ(m_model->UndoList().Count(), undo + 1);
    EXPECT_EQ(m_model->UndoList().Last().Action, "Färben");
    EXPECT_EQ(m_model->UndoList().Last().Argument, m_a->Name());
    // The right button does not paint.
    m_viewer->SetActiveColor(0x00FF00);
    m_viewer->MouseDown(Press(TMouseButton::Right, kMiddle, kAboveY));
    EXPECT_NE(Record(m_b).Color(), 0x00FF00u);
}

TEST_F(Viewer, VisibilityModeHidesUntilTheNextRepaint) {
    m_viewer->SetMode(TEditMode::Visible);
    Click(kMiddle, kMiddle);
    EXPECT_FALSE(m_a->Visible());
    EXPECT_EQ(m_host.TreeRepaints, 1);
    // Nothing is stored in the model: the next repaint shows the part again.
    m_model->Repaint();
    EXPECT_TRUE(m_a->Visible());
}

TEST_F(Viewer, ZoomOrbitAndPanMoveTheCamera) {
    m_viewer->SetMode(TEditMode::Rotate);
    TSceneCamera& camera = *m_scene.Camera();
    TSceneObject& target = *m_scene.CameraTarget();
    const float distance = camera.DistanceToTarget();

    TShiftState right;
    right.Right = true;
    m_viewer->MouseDown(Press(TMouseButton::Right, 50, 100));
    for (int y = 90; y >= 70; y -= 10) {
        m_viewer->MouseMove(MoveTo(50, y, right));
    }
    EXPECT_NEAR(camera.DistanceToTarget(), distance * 1.331f, 1e-3f);
    m_viewer->MouseUp(Release(TMouseButton::Right, 50, 70));

    const float zoomed = camera.DistanceToTarget();
    TShiftState left;
    left.Left = true;
    m_viewer->MouseDown(Press(TMouseButton::Left, 100, 100));
    m_viewer->MouseMove(MoveTo(130, 80, left));
    EXPECT_NEAR(camera.DistanceToTarget(), zoomed, 1e-3f);
    EXPECT_FALSE(Near(camera.AbsolutePosition(), {0, 0, -zoomed}, 0.1f));
    EXPECT_TRUE(Near(m_scene.Light(2)->AbsolutePosition(), camera.AbsolutePosition()));
    const TVector3f toCamera = Normalized(camera.AbsolutePosition() - target.AbsolutePosition());
    EXPECT_TRUE(Near(target.Direction(), toCamera));
    EXPECT_TRUE(Near(target.Up(), Normalized(Cross(toCamera, {0, 1, 0}))));
    EXPECT_EQ(m_viewer->LastX(), 130);

    // Pan: target and camera slide together; the camera keeps its own frame.
    const TVector3f cameraBefore = camera.AbsolutePosition();
    const TVector3f targetBefore = target.AbsolutePosition();
    const TVector3f cameraDirection = camera.Direction();
    TShiftState alt = left;
    alt.Alt = true;
    m_viewer->MouseMove(MoveTo(110, 60, alt));
    const TVector3f moved = target.AbsolutePosition() - targetBefore;
    EXPECT_GT(Length(moved), 0.5f);
    EXPECT_TRUE(Near(camera.AbsolutePosition() - cameraBefore, moved));
    EXPECT_TRUE(Near(camera.Direction(), cameraDirection));
    // 20 pixels a scene unit: 20 pixels up and 20 left make sqrt(2) units.
    EXPECT_NEAR(Length(moved), std::sqrt(2.0f), 1e-3f);
}

TEST_F(Viewer, TheRightButtonOrbitsInTheSelectAndColourModesAndStillSelectsWithAClick) {
    TSceneCamera& camera = *m_scene.Camera();
    TShiftState right;
    right.Right = true;
    struct TCase {
        TEditMode Mode;
        int DragTo;  ///< x of the release; the press is at kMiddle
        bool Orbits;
        bool SelectsA;
    };
    const TCase cases[] = {
        {TEditMode::Select, kMiddle + 2, false, true},  // a click with a little shake
        {TEditMode::Select, kMiddle + 40, true, false},
        {TEditMode::Color, kMiddle + 40, true, false},
    };
    for (const TCase& c : cases) {
        m_model->DeSelectAllBausteine();
        m_viewer->SetMode(c.Mode);
        const TVector3f start = camera.AbsolutePosition();
        const uint32_t colour = Record(m_a).Color();
        m_viewer->MouseDown(Press(TMouseButton::Right, kMiddle, kMiddle));
        m_viewer->MouseMove(MoveTo(c.DragTo, kMiddle, right));
        m_viewer->MouseUp(Release(TMouseButton::Right, c.DragTo, kMiddle));
        EXPECT_EQ(!Near(camera.AbsolutePosition(), start), c.Orbits);
        EXPECT_EQ(m_model->SelectedPart() == m_a, c.SelectsA);
        EXPECT_EQ(Record(m_a).Color(), colour);  // the right button never paints
    }
}

TEST_F(Viewer, TheSpaceMouseOrbitsAndZoomsInWholeSteps) {
    TSceneCamera& camera = *m_scene.Camera();
    const float distance = camera.DistanceToTarget();
    const TVector3f start = camera.AbsolutePosition();
    TSpaceMotion small;
    small.RX = 99;  // below one degree: whole degrees only
    small.RY = -99;
    m_viewer->SpaceMouseMotion(small);
    EXPECT_TRUE(Near(camera.AbsolutePosition(), start));
    TSpaceMotion m;
    m.RY = 1000;  // turns by -10 degrees
    m.TY = 250;   // 10 % farther away
    m_viewer->SpaceMouseMotion(m);
    EXPECT_NEAR(camera.DistanceToTarget(), distance * 1.1f, 1e-3f);
    EXPECT_FALSE(Near(camera.AbsolutePosition(), start * 1.1f, 0.1f));
    EXPECT_TRUE(Near(m_scene.Light(2)->AbsolutePosition(), camera.AbsolutePosition()));
}

TEST_F(Viewer, SuppressedMovementWaitsForTheRelease) {
    m_viewer->SetMode(TEditMode::Rotate);
    const TVector3f start = m_scene.Camera()->AbsolutePosition();
    m_viewer->MouseDown(Press(TMouseButton::Middle, 40, 50));
    ASSERT_EQ(m_host.JogDials.size(), 1u);
    EXPECT_EQ(m_host.JogDials[0], std::make_pair(40, 50));
    EXPECT_TRUE(m_viewer->SuppressMouseMove());
    TShiftState left;
    left.Left = true;
    m_viewer->MouseMove(MoveTo(80, 90, left));
    EXPECT_TRUE(Near(m_scene.Camera()->AbsolutePosition(), start));
    m_viewer->MouseUp(Release(TMouseButton::Middle, 80, 90));
    EXPECT_FALSE(m_viewer->SuppressMouseMove());
}

TEST_F(Viewer, PaintedSelectionHandlesEventsLetThroughAfterwardsNotInside) {
    m_viewer->SetMultiSelection(true);
    TFreeForm& c = Place("20001");
    c.SetPosition({0, -3, 0});
    Click(kMiddle, kMiddle);
    TShiftState left;
    left.Left = true;
    m_viewer->MouseDown(Press(TMouseButton::Left, kMiddle, kMiddle));
    int seenInside = 0;
    m_host.OnPending = [&] {
        // The window delivers the next movement while the handler waits.
        m_viewer->MouseMove(MoveTo(kMiddle, 118, left));
        seenInside = Record(&c).CoSelected() ? 1 : 0;
    };
    m_viewer->MouseMove(MoveTo(kMiddle, kAboveY, left));
    EXPECT_EQ(seenInside, 0);  // not handled inside the first handler
    EXPECT_TRUE(Record(m_b).CoSelected());
    EXPECT_TRUE(Record(&c).CoSelected());  // but right after it
    EXPECT_EQ(m_host.MaxDepth, 1);
}

TEST_F(Viewer, DraggingOverAPartMarksItsNearestFittingConnector) {
    TDefObj dragged = Def("20009", {Conn(0, 4, {0, -10, 0}, {}, "unten")});
    WriteDef(dragged);
    const size_t undo = m_model->UndoList().Count();
    m_viewer->DragStarted("20009");
    TSceneObject& marker = *m_scene.FindObject("dcPlus");

    m_viewer->DragOver(kMiddle, 96);  // the upper half of the lower part
    EXPECT_EQ(m_viewer->HoveredPart(), m_a);
    EXPECT_EQ(m_model->SelectedPart(), m_a);
    EXPECT_EQ(m_viewer->PreselectedConnector(), 0);
    EXPECT_TRUE(marker.Visible());
    EXPECT_TRUE(Near(marker.AbsolutePosition(), ConnectorAnchor(*m_a, 1)->AbsolutePosition()));
    EXPECT_TRUE(Near(marker.AbsoluteDirection(), ConnectorAnchor(*m_a, 1)->AbsoluteDirection()));

    m_viewer->DragOver(10, 10);
    EXPECT_EQ(m_viewer->HoveredPart(), nullptr);
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_FALSE(marker.Visible());
    EXPECT_EQ(m_model->UndoList().Count(), undo);  // selecting while dragging leaves no undo

    // A part where nothing fits: selected, but no marker.
    WriteDef(Def("20010", {Conn(0, 9, {})}));
    m_viewer->DragStarted("20010");
    m_viewer->DragOver(kMiddle, kMiddle);
    EXPECT_EQ(m_viewer->HoveredPart(), m_a);
    EXPECT_EQ(m_viewer->PreselectedConnector(), -1);
    EXPECT_FALSE(marker.Visible());
}

TEST_F(Viewer, ADragThatLeavesTheViewForgetsThePartItWasOver) {
    WriteDef(Def("20009", {Conn(0, 4, {0, -10, 0}, {}, "unten")}));
    TSceneObject& marker = *m_scene.FindObject("dcPlus");
    m_viewer->DragStarted("20009");
    m_viewer->DragOver(kMiddle, 96);
    ASSERT_EQ(m_viewer->HoveredPart(), m_a);
    ASSERT_TRUE(marker.Visible());

    m_viewer->DragLeft();
    EXPECT_EQ(m_viewer->HoveredPart(), nullptr);
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(m_viewer->PreselectedConnector(), -1);
    EXPECT_FALSE(marker.Visible());

    // The same tile over the same part again selects it again, so a drop there joins.
    m_viewer->DragStarted("20009");
    m_viewer->DragOver(kMiddle, 96);
    EXPECT_EQ(m_model->SelectedPart(), m_a);
    EXPECT_EQ(m_viewer->PreselectedConnector(), 0);
    EXPECT_TRUE(marker.Visible());
}

TEST_F(Viewer, TheSecondPressOfADoubleClickCountsAsAPress) {
    TShiftState shift;
    shift.Shift = true;
    Click(kMiddle, kMiddle);
    // A quick second Shift-click arrives as a double click: it still toggles the part.
    m_viewer->MouseDown(Press(TMouseButton::Left, kMiddle, kAboveY, shift));
    m_viewer->MouseUp(Release(TMouseButton::Left, kMiddle, kAboveY, shift));
    EXPECT_TRUE(Record(m_b).CoSelected());
    m_viewer->DoubleClick(Press(TMouseButton::Left, kMiddle, kAboveY, shift));
    m_viewer->MouseUp(Release(TMouseButton::Left, kMiddle, kAboveY, shift));
    EXPECT_FALSE(Record(m_b).CoSelected());
}

TEST_F(Viewer, ADropOnAPartJoinsAfterTheDragHasEnded) {
    TDefObj dragged = Def("20009", {Conn(0, 4, {0, -10, 0}, {-90, 0, 0, 90, 0, 0}, "unten")});
    WriteDef(dragged);
    m_viewer->DragStarted("20009");
    m_viewer->DragOver(kMiddle, 96);
    std::string joined;
    m_ports.OnConnectorWindow = [&](TFreeForm& fixed, const std::string& number, int pre) {
        TConnectorSession session(*m_model, m_defs);
        session.Open(fixed, number, pre);
        session.Confirm();
        joined = session.NewName();
    };
    m_viewer->Drop(kMiddle, 96, "20009", true);
    EXPECT_FALSE(m_scene.FindObject("dcPlus")->Visible());
    EXPECT_EQ(m_ports.ConnectorWindows, 0);  // nothing inside the drag loop
    ASSERT_EQ(m_host.Deferred.size(), 1u);
    m_host.RunDeferred();
    EXPECT_EQ(m_ports.ConnectorWindows, 1);
    EXPECT_EQ(m_ports.LastPreselected, 0);
    ASSERT_FALSE(joined.empty());
    EXPECT_TRUE(Near(ConnectorAnchor(*Object(joined), 1)->AbsolutePosition(),
                     ConnectorAnchor(*m_a, 1)->AbsolutePosition()));
    EXPECT_EQ(m_host.Dropped, (std::vector<std::string>{"20009"}));
}

TEST_F(Viewer, ADropAwayFromTheSelectedPartStillJoinsToIt) {
    WriteDef(Def("20009", {Conn(0, 4, {0, -10, 0})}));
    Click(kMiddle, kAboveY);
    m_viewer->Drop(10, 10, "20009", true);
    m_host.RunDeferred();
    EXPECT_EQ(m_ports.ConnectorWindows, 1);
    EXPECT_EQ(m_ports.LastPreselected, -1);
}

TEST_F(Viewer, ADropOnEmptySpacePlacesTheCompositeRestingOnTheFloorAsOneGroup) {
    // The view looks level here: the pointer above the horizon never meets the floor, so the
    // parts stay above the origin, lifted together until their lowest point touches it.
    m_viewer->Drop(10, 10, "20002", true);
    m_host.RunDeferred();
    ASSERT_EQ(PartCount(), 5u);
    const TVector3f placed = m_model->Parts()[2].Position();
    EXPECT_TRUE(Near(placed, {0, placed.Y, 0}));
    EXPECT_GT(placed.Y, 0.0f);
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_TRUE(Near(m_model->Parts()[i].Position(), placed));
        EXPECT_TRUE(Near(m_model->Parts()[i].Object()->Position(), placed));
    }
    ASSERT_EQ(m_model->Groups().size(), 1u);
    const TGroup& g = *m_model->Groups()[0];
    EXPECT_TRUE(g.Internal);
    EXPECT_EQ(g.Members,
              (std::vector<std::string>{m_model->Parts()[2].Name(), m_model->Parts()[3].Name(),
                                        m_model->Parts()[4].Name()}));
    EXPECT_EQ(m_ports.ConnectorWindows, 0);
    EXPECT_EQ(m_host.Dropped, (std::vector<std::string>{"20002"}));

    // A drop that does not come from a library tile does nothing.
    m_viewer->Drop(10, 10, "20002", false);
    EXPECT_TRUE(m_host.Deferred.empty());
}

}  // namespace
