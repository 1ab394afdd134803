// The tube manager's editing: nodes by clicks on the grid, the hose tree, moving, inserting and
// deleting nodes, the views' cameras, and copies in and out.
#include <gtest/gtest.h>

#include "generated/u_tubemanager.h"

using namespace kx;

namespace {

constexpr int kW = 400;
constexpr int kH = 300;

/// The pointer over the world point p in an orthographic view.
TTubePointer Over(TTubeManager& m, TTubeView view, const TVector3f& p, bool right = false) {
    const TSceneCamera& cam = m.Camera(view);
    const TVector3f ndc =
        (cam.ProjectionMatrix(float(kW) / kH) * cam.ViewMatrix()).TransformPoint(p);
    TTubePointer ptr;
    ptr.View = view;
    ptr.X = (ndc.X + 1) / 2 * kW;
    ptr.Y = kH - (ndc.Y + 1) / 2 * kH;
    ptr.Width = kW;
    ptr.Height = kH;
    ptr.Left = !right;
    ptr.Right = right;
    return ptr;
}

void ExpectNear(const TVector3f& a, const TVector3f& b, float tol = 1e-4f) {
    EXPECT_NEAR(a.X, b.X, tol);
    EXPECT_NEAR(a.Y, b.Y, tol);
    EXPECT_NEAR(a.Z, b.Z, tol);
}

}  // namespace

TEST(TubeManager, ClicksAddNodesOnTheGridInTheViewsPlane) {
    TTubeManager m;
    // Without a hose a click only asks for one.
    m.SetTool(TTubeTool::NewPin);
    EXPECT_EQ(m.MouseDown(Over(m, TTubeView::Side, {1, 1, 0})), TTubeMessage::NoHose);

    const int hose = m.NewSchlauch(1);
    EXPECT_EQ(m.Tool(), TTubeTool::NewPin);
    m.SetGridDivisions(10);  // "1 mm"
    EXPECT_EQ(m.MouseDown(Over(m, TTubeView::Side, {1.234f, 2.5f, 7})), TTubeMessage::None);
    const TPipeEx& p = *m.Entries()[size_t(hose)].Hose;
    ExpectNear(*p.Node(0), {1.2f, 2.5f, 0});
    // Front view: y and z from the click, x from the last node.
    m.MouseDown(Over(m, TTubeView::Front, {9, -1.234f, 3.07f}));
    ExpectNear(*p.Node(1), {1.2f, -1.2f, 3.0f});
    // Top view: x and z from the click, y from the last node.
    m.SetGridDivisions(2);  // "5 mm"
    m.MouseDown(Over(m, TTubeView::Top, {-0.74f, 5, 2.26f}));
    ExpectNear(*p.Node(2), {-0.5f, -1.2f, 2.0f});
    m.SetGridOn(false);
    m.MouseDown(Over(m, TTubeView::Side, {1.234f, 2.5f, 0}));
    ExpectNear(*p.Node(3), {1.234f, 2.5f, 2.0f}, 2e-3f);
    ExpectNear(m.LastPin(), *p.Node(3));
    EXPECT_EQ(m.Entries()[0].Markers.size(), 4u);
    EXPECT_EQ(p.Tag(), 0);
    EXPECT_EQ(p.Colour(), 0xFF4040u);
    EXPECT_EQ(p.SplineMode(), TSplineMode::lsmCubicSpline);
    // The 3D view never adds nodes.
    TTubePointer in3D;
    in3D.View = TTubeView::View3D;
    m.MouseDown(in3D);
    EXPECT_EQ(p.NodeCount(), 4u);
}

TEST(TubeManager, GridSnapsTowardZero) {
    TTubeManager m;
    ExpectNear(m.doGrid({1.234f, -1.234f, 0.3f}), {1.234f, -1.234f, 0.3f}, 0);
    m.SetGridDivisions(10);
    struct Case {
        int divisions;
        float in, out;
    };
    for (const Case& c : {Case{10, 1.234f, 1.2f}, Case{10, -1.234f, -1.2f}, Case{10, 0.3f, 0.3f},
                          Case{40, 0.26f, 0.25f}, Case{1, -0.9f, 0}, Case{2, 2.74f, 2.5f}}) {
        m.SetGridDivisions(c.divisions);
        EXPECT_NEAR(m.doGrid({c.in, 0, 0}).X, c.out, 1e-6) << c.divisions << " " << c.in;
    }
    EXPECT_TRUE(m.GridOn());
}

TEST(TubeManager, DeletingMovingAndInsertingRenumberTheNodes) {
    TTubeManager m;
    const int h = m.NewSchlauch(3);
    for (const TVector3f& p : {TVector3f{0, 0, 0}, TVector3f{2, 0, 0}, TVector3f{4, 2, 0}}) {
        m.AddPin(p, h);
    }
    const TTubeEntry& e = m.Entries()[0];
    auto nodes = [&] { return e.Hose->Nodes(); };

    // Insert halfway refuses without a node and before the first one.
    m.Select({h, -1});
    EXPECT_EQ(m.InsertHalfway(), TTubeMessage::NoNode);
    m.Select({h, 0});
    EXPECT_EQ(m.InsertHalfway(), TTubeMessage::NotBeforeFirst);
    m.Select({h, 2});
    EXPECT_EQ(m.InsertHalfway(), TTubeMessage::None);
    EXPECT_EQ(nodes(), (std::vector<TVector3f>{{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {4, 2, 0}}));
    ASSERT_EQ(e.Markers.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(e.Markers[i]->Position(), nodes()[i]);
    }

    // Deleting the second node leaves the others numbered in order.
    m.Select({h, 1});
    m.DeleteSelected();
    EXPECT_TRUE(m.Selection().Empty());
    EXPECT_FALSE(m.CanDelete());
    EXPECT_EQ(nodes(), (std::vector<TVector3f>{{0, 0, 0}, {3, 1, 0}, {4, 2, 0}}));
    EXPECT_EQ(e.Markers[1]->Position(), (TVector3f{3, 1, 0}));
    EXPECT_EQ(TTubeManager::PinText(2), "Stützpunkt 2");

    // Node down and up keep the selection on the moved node.
    m.Select({h, 0});
    EXPECT_FALSE(m.CanMoveUp());
    EXPECT_TRUE(m.CanMoveDown());
    m.MoveNodeDown();
    EXPECT_EQ(m.Selection(), (TTubeSelection{h, 1}));
    EXPECT_EQ(nodes()[1], (TVector3f{0, 0, 0}));
    m.MoveNodeDown();
    EXPECT_FALSE(m.CanMoveDown());
    m.MoveNodeUp();
    EXPECT_EQ(nodes(), (std::vector<TVector3f>{{3, 1, 0}, {0, 0, 0}, {4, 2, 0}}));
    EXPECT_EQ(e.Markers[1]->Position(), (TVector3f{0, 0, 0}));
    m.Select({h, -1});
    EXPECT_FALSE(m.CanMoveUp() || m.CanMoveDown());

    // Deleting the hose removes it with its markers.
    m.DeleteSelected();
    EXPECT_TRUE(m.Entries().empty());
}

TEST(TubeManager, SelectionShowsMarkersAndDraggingMovesTheChosenNode) {
    TTubeManager m;
    const int a = m.NewSchlauch(1);
    m.AddPin({0, 0, 0}, a);
    m.AddPin({1, 1, 1}, a);
    const int b = m.NewSchlauch(2);
    m.AddPin({5, 5, 5}, b);
    const TTubeEntry& ea = m.Entries()[0];
    const TTubeEntry& eb = m.Entries()[1];

    m.Select({a, 1});
    EXPECT_EQ(ea.Hose->DisplayColour(), TTubeManager::kSelectedHoseColour);
    EXPECT_EQ(eb.Hose->DisplayColour(), eb.Hose->Colour());
    EXPECT_TRUE(ea.Markers[0]->Visible());
    EXPECT_FALSE(eb.Markers[0]->Visible());
    EXPECT_EQ(ea.Markers[1]->Material().Diffuse().Rgb(), (TColor3f{0, 0, 0}));
    EXPECT_EQ(ea.Markers[0]->Material().Diffuse().Rgb(), (TColor3f{1, 1, 1}));
    EXPECT_FLOAT_EQ(ea.Markers[0]->Scale().X, 1.5f * 0.2f);

    // The move tool picks the first node of the chosen hose and drags it in the top view's
    // plane, keeping its height; the last node added stays where it was.
    const TVector3f lastPin = m.LastPin();
    m.SetTool(TTubeTool::Move);
    EXPECT_EQ(m.Selection(), (TTubeSelection{a, 0}));
    m.MouseDown(Over(m, TTubeView::Top, {0, 0, 0}));
    m.MouseMove(Over(m, TTubeView::Top, {2, 9, -3}));
    ExpectNear(*ea.Hose->Node(0), {2, 0, -3}, 1e-3f);
    ExpectNear(ea.Markers[0]->Position(), *ea.Hose->Node(0), 0);
    EXPECT_EQ(m.LastPin(), lastPin);

    // The rotate tool drops the highlight.
    m.SetTool(TTubeTool::RotatePan);
    EXPECT_EQ(ea.Hose->DisplayColour(), ea.Hose->Colour());
    EXPECT_FALSE(ea.Markers[0]->Visible());

    // A colour chosen in the manager is the hose's own; a phase of 0 is no choice.
    m.Select({b, -1});
    m.SetSelectedColour(0x00FFFF);
    m.SetSelectedPhase(0);
    m.SetSelectedPhase(3);
    EXPECT_EQ(eb.Hose->Colour(), 0x00FFFFu);
    EXPECT_EQ(eb.Hose->Phase(), 3);
    const auto out = m.HosesForModel();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1]->DisplayColour(), 0x00FFFFu);
}

TEST(TubeManager, ViewsPanZoomWithAFloorAndFlip) {
    TTubeManager m;
    TSceneCamera& side = m.Camera(TTubeView::Side);
    EXPECT_TRUE(side.Orthogonal());
    EXPECT_FLOAT_EQ(side.SceneScale(), 0.1f);
    EXPECT_EQ(side.Position(), (TVector3f{0, 0, -500}));

    // Left drag pans so that the scene follows the mouse.
    const TVector3f grab{1, 1, 0};
    m.MouseDown(Over(m, TTubeView::Side, grab));
    TTubePointer to = Over(m, TTubeView::Side, {3, 2, 0});
    m.MouseMove(to);
    EXPECT_NEAR(side.Position().X, -2, 1e-3);
    EXPECT_NEAR(side.Position().Y, -1, 1e-3);
    EXPECT_EQ(side.Position().Z, -500);

    // Right drag upwards zooms out, never below the floor.
    TTubePointer p;
    p.View = TTubeView::Side;
    p.Right = true;
    p.Left = false;
    p.Y = 100;
    m.MouseDown(p);
    p.Y = 50;
    m.MouseMove(p);
    EXPECT_NEAR(side.SceneScale(), 0.05f, 1e-6);
    p.Y = -5000;
    m.MouseMove(p);
    EXPECT_FLOAT_EQ(side.SceneScale(), TTubeManager::kMinSceneScale);

    m.FlipView(TTubeView::Top);
    EXPECT_EQ(m.Camera(TTubeView::Top).Position().Y, -500);
    EXPECT_EQ(m.Camera(TTubeView::Top).Direction(), (TVector3f{0, 1, 0}));
    m.FlipView(TTubeView::Top);
    EXPECT_EQ(m.Camera(TTubeView::Top).Position().Y, 500);
    m.FlipView(TTubeView::Front);
    EXPECT_EQ(m.Camera(TTubeView::Front).Direction(), (TVector3f{-1, 0, 0}));
}

TEST(TubeManager, ReopenedHosesTakeTheirLabelFromTheirTag) {
    TTubeManager first;
    for (int kind = 1; kind <= 5; ++kind) {
        first.AddPin({0, float(kind), 0}, first.NewSchlauch(kind));
    }
    // The spring takes the cord's icon as its Tag at its first node.
    EXPECT_EQ(first.Entries()[4].Hose->Tag(), 1);
    EXPECT_EQ(first.Entries()[4].Text, "Antriebsfeder (5)");
    EXPECT_FLOAT_EQ(first.Entries()[4].Hose->Radius(), 0.2f);

    TTubeManager again;
    for (const TPipeEx* hose : first.HosesForModel()) {
        again.AddHoseCopy(*hose);
    }
    TPipeEx odd;
    odd.SetTag(7);
    again.AddHoseCopy(odd);
    std::vector<std::string> texts;
    std::vector<int> images;
    for (const TTubeEntry& e : again.Entries()) {
        texts.push_back(e.Text);
        images.push_back(e.Image);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Pneumatik (1)", "Seilzug (2)", "Kabel (3)",
                                               "Kabel (4)", "Seilzug (5)", "Schlauch"}));
    EXPECT_EQ(images, (std::vector<int>{0, 1, 2, 3, 1, 7}));
    EXPECT_EQ(again.Entries()[4].Markers.size(), 1u);
    EXPECT_FLOAT_EQ(again.Entries()[4].Hose->Radius(), 0.2f);
}
