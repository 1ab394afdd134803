// The scene graph as a whole: names, tree operations, the main scene, change counters,
// materials and their library, the grid and the camera.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/u_stack.h"
#include "view/u_scene.h"

using namespace kx;

namespace {

::testing::AssertionResult Near(const TVector3f& a, const TVector3f& b, float tol = 1e-4f) {
    if (std::abs(a.X - b.X) <= tol && std::abs(a.Y - b.Y) <= tol && std::abs(a.Z - b.Z) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.X << ", " << a.Y << ", " << a.Z << ") != ("
                                         << b.X << ", " << b.Y << ", " << b.Z << ")";
}

std::vector<std::string> ChildNames(const TSceneObject& o) {
    std::vector<std::string> names;
    for (const auto& c : o.Children()) {
        names.push_back(c->Name());
    }
    return names;
}

TMeshPtr TriangleMesh() {
    auto m = std::make_shared<TMesh>();
    m->Positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    m->Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    return m;
}

}  // namespace

// --- Names and tree ---------------------------------------------------------------------------

TEST(SceneTree, NamesAreFoundWithoutRegardToCase) {
    TScene scene;
    auto& parts = scene.Root().AddNewChild<TDummyCube>("DummyCube");
    auto& part = parts.AddNewChild<TFreeForm>("F31010_3");
    auto& arrow = part.AddNewChild<TArrowLine>("Conn1");
    EXPECT_EQ(parts.FindChild("f31010_3", false), &part);
    EXPECT_EQ(parts.FindChild("F31010_3", false), &part);
    EXPECT_EQ(parts.FindChild("conn1", false), nullptr);  // not a direct child
    EXPECT_EQ(parts.FindChild("CONN1", true), &arrow);
    EXPECT_EQ(scene.FindObject("dummycube"), &parts);
    EXPECT_EQ(scene.FindObject("F31010_4"), nullptr);
    EXPECT_EQ(parts.FindChild("F31010_3x", true), nullptr);

    // Depth first, in child order: the nested match of the first child wins.
    auto& a = parts.AddNewChild<TDummyCube>("A");
    a.AddNewChild<TDummyCube>("twin");
    auto& twin = parts.AddNewChild<TDummyCube>("TWIN");
    EXPECT_NE(parts.FindChild("twin", true), &twin);
    EXPECT_EQ(parts.FindChild("twin", false), &twin);
}

TEST(SceneTree, NameLookUpFollowsRenamesMovesAndRemovals) {
    TScene scene;
    auto& parts = scene.Root().AddNewChild<TDummyCube>("Parts");
    auto& tubes = scene.Root().AddNewChild<TDummyCube>("Tubes");
    auto& p = parts.AddNewChild<TFreeForm>("F1_1");
    p.SetName("F1_2");
    EXPECT_EQ(scene.FindObject("f1_1"), nullptr);
    EXPECT_EQ(scene.FindObject("f1_2"), &p);
    p.MoveTo(tubes);
    EXPECT_EQ(parts.FindChild("F1_2", true), nullptr);
    EXPECT_EQ(tubes.FindChild("F1_2", false), &p);
    EXPECT_EQ(scene.Root().FindChild("F1_2", false), nullptr);
    EXPECT_EQ(scene.Root().FindChild("F1_2", true), &p);

    std::unique_ptr<TSceneObject> taken = tubes.TakeChild(p);
    EXPECT_EQ(scene.FindObject("F1_2"), nullptr);
    auto& inner = taken->AddNewChild<TDummyCube>("Inner");
    EXPECT_EQ(taken->FindChild("INNER", false), &inner);  // detached: found by walking
    parts.AddChild(std::move(taken));
    EXPECT_EQ(scene.FindObject("inner"), &inner);
    EXPECT_EQ(p.FindChild("F1_2", true), nullptr);  // never the object itself

    // Unnamed objects are found by the empty name as well.
    auto& unnamed = p.AddNewChild<TArrowLine>();
    EXPECT_EQ(p.FindChild("", false), &unnamed);
    parts.DeleteChild(p);
    EXPECT_EQ(scene.FindObject("inner"), nullptr);
}

TEST(SceneTree, ChildrenAreOwnedAndCanBeTakenMovedAndDeleted) {
    TScene scene;
    auto& a = scene.Root().AddNewChild<TDummyCube>("a");
    auto& b = scene.Root().AddNewChild<TDummyCube>("b");
    auto& c = a.AddNewChild<TDummyCube>("c");
    EXPECT_EQ(c.Parent(), &a);
    EXPECT_EQ(c.Scene(), &scene);
    EXPECT_EQ(b.Index(), 1);

    EXPECT_TRUE(c.MoveTo(b));
    EXPECT_EQ(c.Parent(), &b);
    EXPECT_EQ(a.Count(), 0u);
    EXPECT_FALSE(b.MoveTo(c));  // not below itself
    EXPECT_FALSE(b.MoveTo(b));

    std::unique_ptr<TSceneObject> taken = scene.Root().TakeChild(b);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Parent(), nullptr);
    EXPECT_EQ(taken->Scene(), nullptr);
    EXPECT_EQ(c.Scene(), nullptr);                  // the subtree left with it
    EXPECT_EQ(scene.Root().TakeChild(c), nullptr);  // not a child of the root

    EXPECT_THROW(c.AddChild(std::move(taken)), std::invalid_argument);  // c hangs below b
    scene.Root().AddChild(std::move(taken));
    EXPECT_EQ(c.Scene(), &scene);

    Stack().Clear();
    scene.Root().DeleteChildren();
    EXPECT_EQ(scene.Root().Count(), 0u);
    ASSERT_EQ(Stack().Count(), 2);  // a and b: each removal is logged
    EXPECT_NE(Stack().Line(0).find("TGLBaseSceneObject.Remove("), std::string::npos);
    EXPECT_NE(Stack().Line(1).find(",false)"), std::string::npos);
}

// --- Main scene -------------------------------------------------------------------------------

TEST(MainScene, HasEveryNodeInOrder) {
    TScene scene;
    BuildMainScene(scene);
    const std::vector<std::string> expected = {
        "Light2",   "Light1",   "DummyCube",      "Outline",  "Tubes",  "dcRot",
        "dcLights", "Light3",   "Light4",         "Light5",   "Light6", "Light7",
        "Light8",   "dcMiddle", "dcBox",          "dcSave",   "ffSave", "dcCAMTarget",
        "dcPlus",   "dcRound",  "dcMeasurements", "GLCamera1"};
    EXPECT_EQ(ChildNames(scene.Root()), expected);
    EXPECT_EQ(ChildNames(*scene.FindObject("dcRot")), std::vector<std::string>{"dcChild"});
    EXPECT_EQ(ChildNames(*scene.FindObject("dcRound")),
              (std::vector<std::string>{"ffRound1", "ffRound2"}));
    EXPECT_EQ(ChildNames(*scene.FindObject("DummyCube")), std::vector<std::string>{"Grid"});
    for (const char* empty : {"Outline", "Tubes", "dcLights", "dcMiddle", "dcBox", "dcSave",
                              "dcCAMTarget", "dcMeasurements"}) {
        EXPECT_EQ(scene.FindObject(empty)->Count(), 0u) << empty;
        EXPECT_EQ(scene.FindObject(empty)->Kind(), TSceneObjectKind::Dummy) << empty;
    }
    for (const char* mesh : {"ffSave", "ffRound1", "ffRound2"}) {
        EXPECT_EQ(scene.FindObject(mesh)->Kind(), TSceneObjectKind::FreeForm) << mesh;
    }
}

TEST(MainScene, InitialStates) {
    TScene scene;
    BuildMainScene(scene);

    // Lights: Light2 is the camera light and the only one on.
    const TVector3f positions[8] = {{-50, 50, 50},  {0, 1, -10},   {-50, -50, 50},  {50, -50, 50},
                                    {-50, 50, -50}, {50, 50, -50}, {-50, -50, -50}, {50, -50, -50}};
    for (int n = 1; n <= 8; ++n) {
        TLightSource* light = scene.Light(n);
        ASSERT_NE(light, nullptr) << n;
        EXPECT_EQ(light->Name(), "Light" + std::to_string(n));
        EXPECT_TRUE(Near(light->Position(), positions[n - 1])) << n;
        EXPECT_EQ(light->Shining(), n == 2) << n;
        EXPECT_EQ(light->ConstAttenuation(), 1);
        EXPECT_EQ(light->LinearAttenuation(), 0);
        EXPECT_EQ(light->QuadraticAttenuation(), 0);
        EXPECT_EQ(light->Diffuse(), (TColor3f{1, 1, 1}));
    }
    EXPECT_EQ(scene.Light(0), nullptr);
    EXPECT_EQ(scene.Light(9), nullptr);

    TDummyCube* parts = scene.PartsRoot();
    ASSERT_NE(parts, nullptr);
    EXPECT_EQ(parts, scene.FindObject("DummyCube"));
    EXPECT_TRUE(Near(parts->Direction(), {0, 0, 1}));
    EXPECT_TRUE(Near(parts->Up(), {0, 1, 0}));
    EXPECT_EQ(parts->AbsoluteMatrix(), TMatrix4f::Identity());

    EXPECT_FALSE(scene.FindObject("dcLights")->Visible());
    TSceneObject* plus = scene.FindObject("dcPlus");
    EXPECT_FALSE(plus->Visible());
    EXPECT_TRUE(Near(plus->Scale(), {0.1f, 0.1f, 0.1f}));
    EXPECT_FALSE(scene.FindObject("dcRound")->Visible());
    EXPECT_TRUE(Near(scene.FindObject("dcChild")->Direction(), {0, 0, 1}));

    TSceneCamera* camera = scene.Camera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->Name(), "GLCamera1");
    EXPECT_TRUE(Near(camera->Position(), {0, 1, -10}));
    EXPECT_TRUE(Near(camera->Up(), {0, 1, 0}));
    EXPECT_EQ(camera->FocalLength(), 150);
    EXPECT_EQ(camera->DepthOfView(), 999999);
    EXPECT_EQ(camera->TargetObject(), scene.FindObject("dcCAMTarget"));
    EXPECT_EQ(scene.CameraTarget(), camera->TargetObject());
    EXPECT_TRUE(Near(scene.CameraTarget()->Position(), {0, 0, 0}));

    EXPECT_EQ(scene.MaterialLibrary().Count(), 0u);
    ASSERT_NE(scene.Grid(), nullptr);
    EXPECT_EQ(scene.Grid()->Extent(), 10);
}

TEST(MainScene, RebuildingStartsAfreshAndRemovedNodesAreForgotten) {
    TScene scene;
    BuildMainScene(scene, 20);
    scene.PartsRoot()->AddNewChild<TFreeForm>("F1_1");
    scene.MaterialLibrary().Add("MATF1_1");
    BuildMainScene(scene);
    EXPECT_EQ(scene.FindObject("F1_1"), nullptr);
    EXPECT_EQ(scene.MaterialLibrary().Count(), 0u);
    EXPECT_EQ(scene.Root().Count(), 22u);

    // Removing the camera target leaves the camera without one instead of a dangling pointer.
    scene.Root().DeleteChild(*scene.CameraTarget());
    EXPECT_EQ(scene.CameraTarget(), nullptr);
    EXPECT_EQ(scene.Camera()->TargetObject(), nullptr);
    scene.Root().DeleteChild(*scene.PartsRoot());
    EXPECT_EQ(scene.PartsRoot(), nullptr);
    EXPECT_EQ(scene.Grid(), nullptr);
    scene.Root().DeleteChild(*scene.Light(2));
    EXPECT_EQ(scene.Light(2), nullptr);
    scene.CameraLightToCamera();  // nothing to move, nothing breaks
    scene.Root().DeleteChild(*scene.Camera());
    EXPECT_EQ(scene.Camera(), nullptr);
}

TEST(MainScene, CameraLightFollowsTheCamera) {
    TScene scene;
    BuildMainScene(scene);
    scene.Camera()->SetPosition({3, 4, 5});
    scene.CameraLightToCamera();
    EXPECT_TRUE(Near(scene.Light(2)->AbsolutePosition(), {3, 4, 5}));
}

// --- Grid -------------------------------------------------------------------------------------

TEST(Grid, FollowsTheGridDistance) {
    TScene scene;
    BuildMainScene(scene, 20);
    TGrid* grid = scene.Grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Parent(), scene.PartsRoot());
    EXPECT_EQ(grid->Extent(), 20);  // lines from -20 to 20 ...
    EXPECT_EQ(grid->Spacing(), 2);  // ... every 2 scene units
    EXPECT_EQ(grid->LinesPerAxis(), 21);
    EXPECT_EQ(ColorToWin(grid->Color()), 0x808080u);

    // Re-reading the setting reuses the grid.
    EXPECT_EQ(&CreateGrid(*scene.PartsRoot(), 10), grid);
    EXPECT_EQ(grid->Spacing(), 1);
    EXPECT_EQ(scene.PartsRoot()->Count(), 1u);

    // Settings nobody can draw give the default grid.
    for (float bad : {0.0f, -5.0f, NAN, INFINITY}) {
        grid->SetGridDistance(30);
        grid->SetGridDistance(bad);
        EXPECT_EQ(grid->Extent(), 10) << bad;
    }
}

// --- Change tracking --------------------------------------------------------------------------

TEST(Versions, EachChangeRaisesItsOwnCounter) {
    TScene scene;
    BuildMainScene(scene);
    auto& part = scene.PartsRoot()->AddNewChild<TFreeForm>("F1_1");
    TObjectVersions v = part.Versions();
    TSceneVersions s = scene.Versions();

    part.SetPosition({1, 0, 0});
    EXPECT_EQ(part.Versions().Transform, v.Transform + 1);
    EXPECT_EQ(part.Versions().Geometry, v.Geometry);
    EXPECT_EQ(part.Versions().Material, v.Material);
    EXPECT_EQ(part.Versions().State, v.State);
    EXPECT_GT(scene.Versions().Transform, s.Transform);
    EXPECT_EQ(scene.Versions().Geometry, s.Geometry);

    // Setting what is already there changes nothing.
    v = part.Versions();
    s = scene.Versions();
    part.SetPosition({1, 0, 0});
    part.SetVisible(true);
    part.SetScale(1.0f);
    part.Material().SetDiffuseAlpha(1);
    part.SetPitchAngle(0);
    EXPECT_EQ(part.Versions().Transform, v.Transform);
    EXPECT_EQ(part.Versions().State, v.State);
    EXPECT_EQ(part.Versions().Material, v.Material);
    EXPECT_EQ(scene.Versions(), s);

    part.SetTurnAngle(10);
    part.Move(1);
    part.SetScale(0.1f);
    EXPECT_EQ(part.Versions().Transform, v.Transform + 4);  // turn: frame and angle

    part.SetMesh(TriangleMesh());
    EXPECT_EQ(part.Versions().Geometry, v.Geometry + 1);
    EXPECT_GT(scene.Versions().Geometry, s.Geometry);

    part.Material().SetDiffuseColor({1, 0, 0});
    EXPECT_EQ(part.Versions().Material, v.Material + 1);
    EXPECT_GT(scene.Versions().Material, s.Material);

    part.SetVisible(false);
    part.SetShowAxes(true);
    part.SetName("F1_2");
    EXPECT_EQ(part.Versions().State, v.State + 3);
    EXPECT_EQ(part.Versions().Transform, v.Transform + 4);
    EXPECT_GT(scene.Versions().State, s.State);
    EXPECT_EQ(scene.Versions().Structure, s.Structure);
}

TEST(Versions, StructureCountsAddingRemovingAndMoving) {
    TScene scene;
    BuildMainScene(scene);
    uint64_t st = scene.Versions().Structure;
    auto& part = scene.PartsRoot()->AddNewChild<TFreeForm>("F1_1");
    EXPECT_GT(scene.Versions().Structure, st);
    st = scene.Versions().Structure;
    part.MoveTo(*scene.FindObject("Tubes"));
    EXPECT_GT(scene.Versions().Structure, st);
    st = scene.Versions().Structure;
    part.Parent()->DeleteChild(part);
    EXPECT_GT(scene.Versions().Structure, st);

    // A detached object counts for itself only.
    TDummyCube loose;
    st = scene.Versions().Transform;
    loose.SetPosition({1, 1, 1});
    EXPECT_EQ(scene.Versions().Transform, st);
}

TEST(Versions, KindParametersCountAsGeometry) {
    TScene scene;
    BuildMainScene(scene);
    auto& arrow = scene.Root().AddNewChild<TArrowLine>();
    auto& lines = scene.Root().AddNewChild<TLines>();
    auto& text = scene.Root().AddNewChild<TSpaceText>();
    const uint32_t a = arrow.Versions().Geometry;
    arrow.SetColor({0, 0, 1});
    arrow.SetShape(20, 4);
    EXPECT_EQ(arrow.Versions().Geometry, a + 2);
    const uint32_t l = lines.Versions().Geometry;
    lines.AddNode({0, 0, 0});
    lines.AddNode({0, 1, 0});
    lines.SetNode(1, {0, 2, 0});
    lines.SetNode(5, {0, 2, 0});  // out of range: ignored
    lines.SetLineWidth(2);
    lines.SetShowNodes(false);
    EXPECT_EQ(lines.Versions().Geometry, l + 5);
    EXPECT_EQ(lines.Nodes().size(), 2u);
    const uint32_t t = text.Versions().Geometry;
    text.SetText("123,40mm");
    text.SetHeight(0.2f);
    text.SetFont("COURIER NEW", true);
    EXPECT_EQ(text.Versions().Geometry, t + 3);
    const uint32_t li = scene.Light(3)->Versions().Geometry;
    scene.Light(3)->SetShining(true);
    EXPECT_EQ(scene.Light(3)->Versions().Geometry, li + 1);
    const uint32_t c = scene.Camera()->Versions().Geometry;
    scene.Camera()->SetFocalLength(50);
    EXPECT_EQ(scene.Camera()->Versions().Geometry, c + 1);
}

TEST(Versions, IdsAreUniqueAndNeverReused) {
    uint64_t last = 0;
    for (int i = 0; i < 3; ++i) {
        TDummyCube o;
        EXPECT_GT(o.Id(), last);
        last = o.Id();
    }
}

// --- Meshes and materials ---------------------------------------------------------------------

TEST(FreeForm, PartsShareOneMeshUntilOneChangesIt) {
    TMeshPtr mesh = TriangleMesh();
    TFreeForm a("F1_1"), b("F1_2");
    a.SetMesh(mesh);
    b.SetMesh(mesh);
    EXPECT_EQ(a.Mesh().get(), b.Mesh().get());

    const uint32_t g = a.Versions().Geometry;
    a.ModifyMesh([](TMesh& m) {
        for (auto& p : m.Positions) {
            p += TVector3f{0, 0, 5};  // a mesh offset
        }
    });
    EXPECT_NE(a.Mesh().get(), b.Mesh().get());
    EXPECT_EQ(b.Mesh().get(), mesh.get());
    EXPECT_EQ(mesh->Positions[0], (TVector3f{0, 0, 0}));  // the shared one is untouched
    EXPECT_EQ(a.Mesh()->Positions[0], (TVector3f{0, 0, 5}));
    EXPECT_EQ(a.Versions().Geometry, g + 1);

    TFreeForm empty;
    empty.ModifyMesh([](TMesh& m) { m.Positions.push_back({1, 2, 3}); });
    ASSERT_TRUE(empty.Mesh());
    EXPECT_EQ(empty.Mesh()->Positions.size(), 1u);
}

TEST(Materials, LibraryNamesIgnoreCaseAndPartsLinkTheirMaterial) {
    TScene scene;
    BuildMainScene(scene);
    TMaterialLibrary& lib = scene.MaterialLibrary();
    EXPECT_EQ(TMaterialLibrary::PartMaterialName("F31010_3"), "MATF31010_3");

    TMaterialPtr m = lib.Add("MATF31010_3");
    EXPECT_EQ(m->Name(), "MATF31010_3");
    EXPECT_EQ(lib.Find("matf31010_3"), m);
    EXPECT_EQ(lib.Find("MATF31010_4"), nullptr);
    EXPECT_EQ(lib.Count(), 1u);

    auto& part = scene.PartsRoot()->AddNewChild<TFreeForm>("F31010_3");
    const uint32_t mv = part.Versions().Material;
    part.LinkLibMaterial(m);
    EXPECT_EQ(part.Material().LibMaterialName(), "MATF31010_3");
    EXPECT_EQ(&part.DrawMaterial(), m.get());
    EXPECT_GT(part.Versions().Material, mv);

    // A change of the library material shows in its own and the library's version.
    const uint64_t lv = lib.Version();
    const uint64_t sv = scene.Versions().Material;
    const uint32_t matv = m->Version();
    m->SetDiffuse({1, 0, 0, 0.5f});
    EXPECT_GT(m->Version(), matv);
    EXPECT_GT(lib.Version(), lv);
    EXPECT_GT(scene.Versions().Material, sv);

    // Adding the same name again replaces the material; the part keeps its old one alive.
    TMaterialPtr again = lib.Add("MATf31010_3");
    EXPECT_NE(again, m);
    EXPECT_EQ(lib.Count(), 1u);
    EXPECT_EQ(lib.Find("MATF31010_3"), again);
    const uint64_t lv2 = lib.Version();
    m->SetDiffuseAlpha(1);  // no longer in the library: the library does not count it
    EXPECT_EQ(lib.Version(), lv2);

    // The options dialog's outline width reaches every shader, and only shaders.
    TOutLineShader shader;
    again->SetShader(shader);
    lib.Add("MATF9_1");
    lib.SetShaderLineWidth(6);
    EXPECT_EQ(again->Shader()->LineWidth, 6);
    EXPECT_FALSE(lib.Find("MATF9_1")->HasShader());

    lib.Add("MATF2_1");
    EXPECT_TRUE(lib.Remove("matf2_1"));
    EXPECT_FALSE(lib.Remove("matf2_1"));
    lib.Add("MATF3_1");
    lib.Clear();
    EXPECT_EQ(lib.Count(), 0u);
    EXPECT_EQ(lib.Find("MATF3_1"), nullptr);
    EXPECT_EQ(part.LibMaterial(), m);

    part.LinkLibMaterial(nullptr);
    EXPECT_EQ(part.Material().LibMaterialName(), "");
    EXPECT_EQ(&part.DrawMaterial(), &part.Material());
}

TEST(Materials, SettersShaderAndCopies) {
    TMaterial m;
    EXPECT_EQ(m.Diffuse().A, 1);
    EXPECT_EQ(m.Emission(), (TColor3f{0, 0, 0}));
    EXPECT_EQ(m.PolygonMode(), TPolygonMode::Filled);
    EXPECT_FALSE(m.HasShader());

    const uint32_t v = m.Version();
    m.SetDiffuseColor(ColorFromWin(0x0000FF));
    m.SetDiffuseAlpha(0.5f);
    EXPECT_EQ(m.Diffuse(), (TColor4f{1, 0, 0, 0.5f}));
    m.SetBlending(TBlendingMode::Transparent);
    m.SetPolygonMode(TPolygonMode::Lines);
    m.SetTextureFile("/kit/icon/wood.bmp");
    m.SetTextureTopLeftTransparent(true);
    TOutLineShader shader;
    shader.LineWidth = 5;
    m.SetShader(shader);
    EXPECT_EQ(m.Version(), v + 7);
    ASSERT_TRUE(m.HasShader());
    EXPECT_EQ(m.Shader()->LineWidth, 5);
    EXPECT_TRUE(m.Shader()->Lighting);
    EXPECT_EQ(m.Shader()->LineColor, (TColor3f{0, 0, 0}));
    m.SetShader(shader);  // the same shader again
    EXPECT_EQ(m.Version(), v + 7);
    m.RemoveShader();
    EXPECT_FALSE(m.HasShader());

    // Assigning into an object's material tells the object.
    TFreeForm part;
    const uint32_t pv = part.Versions().Material;
    part.Material() = m;
    EXPECT_EQ(part.Material().Diffuse(), m.Diffuse());
    EXPECT_EQ(part.Material().TextureFile(), "/kit/icon/wood.bmp");
    EXPECT_EQ(part.Material().Name(), "");
    EXPECT_GT(part.Versions().Material, pv);
}

TEST(Colours, WindowsColourValuesRoundTrip) {
    EXPECT_EQ(ColorFromWin(0x0000FF), (TColor3f{1, 0, 0}));
    EXPECT_EQ(ColorFromWin(0xFF0000), (TColor3f{0, 0, 1}));
    EXPECT_EQ(ColorToWin(ColorFromWin(0xFF80FF)), 0xFF80FFu);
    EXPECT_EQ(ColorToWin(ColorFromWin(0x123456)), 0x123456u);
    EXPECT_EQ(ColorToWin({0.5f, 0, 0}), 128u);  // 127.5 rounds up
    EXPECT_EQ(ColorToWin({2, -1, NAN}), 0xFFu);
    EXPECT_EQ(ColorFromWin(0x8000000F), ColorFromWin(0x0F));  // the high byte is not a colour
}

// --- View settings and camera -----------------------------------------------------------------

TEST(ViewSettings, BackgroundAndAntialiasing) {
    EXPECT_EQ(AntialiasSamples(TAntialias::x2HQ), 2);
    EXPECT_EQ(AntialiasSamples(TAntialias::x4), 4);
    EXPECT_EQ(AntialiasSamples(TAntialias::x4HQ), 4);
    EXPECT_EQ(AntialiasSamples(TAntialias::None), 0);
    EXPECT_EQ(AntialiasSamples(TAntialias::Default), 0);

    TScene scene;
    EXPECT_EQ(scene.Antialias(), TAntialias::None);
    const uint64_t v = scene.Versions().View;
    scene.SetBackgroundColor(ColorFromWin(0xFFFFFF));
    scene.SetAntialias(TAntialias::x4);
    scene.SetAntialias(TAntialias::x4);
    EXPECT_EQ(scene.Versions().View, v + 2);
    EXPECT_EQ(scene.BackgroundColor(), (TColor3f{1, 1, 1}));
    EXPECT_EQ(scene.Antialias(), TAntialias::x4);
}

TEST(Camera, LooksAtItsTarget) {
    TScene scene;
    BuildMainScene(scene);
    TSceneCamera& cam = *scene.Camera();
    EXPECT_NEAR(cam.FieldOfViewY(), 36.87f, 0.01f);
    const TMatrix4f view = cam.ViewMatrix();
    // The target lies straight ahead (on the view's -Z axis) at the camera's distance.
    const TVector3f t = view.TransformPoint({0, 0, 0});
    EXPECT_NEAR(t.X, 0, 1e-5f);
    EXPECT_NEAR(t.Y, 0, 1e-5f);
    EXPECT_NEAR(t.Z, -std::sqrt(101.0f), 1e-4f);
    // ... and projects to the centre of the view.
    const TVector3f clip = (cam.ProjectionMatrix(4.0f / 3) * view).TransformPoint({0, 0, 0});
    EXPECT_NEAR(clip.X, 0, 1e-5f);
    EXPECT_NEAR(clip.Y, 0, 1e-5f);
    EXPECT_GT(clip.Z, -1);
    EXPECT_LT(clip.Z, 1);
}

TEST(Camera, ScreenPointsGiveRaysThroughWhatIsDrawnThere) {
    TScene scene;
    BuildMainScene(scene);
    TSceneCamera& cam = *scene.Camera();
    // The centre of the view looks at the target.
    EXPECT_TRUE(Near(cam.ScreenToVector(400, 300, 800, 600),
                     Normalized(TVector3f{0, 0, 0} - cam.Position())));
    // A point drawn somewhere lies on the ray through that pixel.
    const TVector3f p{2, 0.5f, 3};
    const TMatrix4f pv = cam.ProjectionMatrix(800.0f / 600) * cam.ViewMatrix();
    const TVector3f ndc = pv.TransformPoint(p);
    const TVector3f ray = cam.ScreenToVector((ndc.X + 1) * 400, (ndc.Y + 1) * 300, 800, 600);
    EXPECT_TRUE(Near(ray, Normalized(p - cam.Position())));
    // Up on the screen is up in the world for the initial camera, right is -X (it looks +Z).
    EXPECT_GT(cam.ScreenToVector(400, 599, 800, 600).Y, 0);
    EXPECT_LT(cam.ScreenToVector(799, 300, 800, 600).X, 0);
}

TEST(Camera, OrbitsAndZoomsAboutItsTarget) {
    TScene scene;
    BuildMainScene(scene);
    TSceneCamera& cam = *scene.Camera();
    scene.CameraTarget()->SetPosition({1, 0, 0});
    cam.SetPosition({1, 0, -10});
    cam.MoveAroundTarget(0, 90);  // a quarter turn about the vertical through the target
    EXPECT_TRUE(Near(cam.Position(), {-9, 0, 0}));
    EXPECT_NEAR(cam.DistanceToTarget(), 10, 1e-4f);
    EXPECT_TRUE(Near(cam.Direction(), {1, 0, 0}));
    cam.MoveAroundTarget(30, 0);
    EXPECT_NEAR(cam.DistanceToTarget(), 10, 1e-4f);
    EXPECT_NEAR(cam.Position().Y, -5, 1e-4f);  // the nose went up, so the camera went down
    EXPECT_TRUE(Near(cam.Direction(), Normalized(TVector3f{1, 0, 0} - cam.Position())));

    for (int i = 0; i < 3; ++i) {
        cam.AdjustDistanceToTarget(1.1f);
    }
    EXPECT_NEAR(cam.DistanceToTarget(), 13.31f, 1e-3f);
    cam.AdjustDistanceToTarget(0);  // refused
    EXPECT_NEAR(cam.DistanceToTarget(), 13.31f, 1e-3f);
}
