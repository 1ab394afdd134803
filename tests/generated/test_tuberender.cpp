// Hoses on screen: drawn in their display colour, and only a changed hose is tessellated anew.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "generated/u_pipeex.h"
#include "render_test_support.h"
#include "view/r_headless.h"
#include "view/r_renderer.h"
#include "view/r_sceneframe.h"

using namespace kx;
using namespace kxtest;

TEST(TubeRender, OnlyAChangedHoseIsTessellatedAgain) {
    TScene scene;
    BuildMainScene(scene);
    TSceneObject& tubes = *scene.FindObject("Tubes");
    std::vector<TPipeEx*> hoses;
    for (int i = 0; i < 3; ++i) {
        auto& h = tubes.AddNewChild<TPipeEx>();
        h.SetNodes({{float(i), 0, 0}, {float(i), 1, 0}, {float(i) + 1, 2, 0}});
        h.SetSplineMode(TSplineMode::lsmCubicSpline);
        hoses.push_back(&h);
    }
    TSceneFrameBuilder builder;
    const TGlFrame& frame = builder.Build(scene, 100, 100);
    EXPECT_EQ(builder.TubeMeshesBuilt(), 3u);
    size_t tubeItems = 0;
    for (const TGlMeshItem& item : frame.Meshes) {
        tubeItems +=
            item.Id == hoses[0]->Id() || item.Id == hoses[1]->Id() || item.Id == hoses[2]->Id();
    }
    EXPECT_EQ(tubeItems, 3u);

    hoses[1]->SetNode(1, {5, 5, 5});
    hoses[2]->SetDisplayColour(0x0000FF);
    scene.Camera()->SetPosition({1, 2, 3});
    builder.Build(scene, 100, 100);
    EXPECT_EQ(builder.TubeMeshesBuilt(), 4u);
    // A hose without two distinct points draws nothing.
    hoses[0]->SetNodes({{1, 1, 1}});
    const TGlFrame& after = builder.Build(scene, 100, 100);
    for (const TGlMeshItem& item : after.Meshes) {
        EXPECT_NE(item.Id, hoses[0]->Id());
    }
}

TEST(TubeRender, AHoseIsDrawnInItsDisplayColour) {
    THeadlessContext context;
    ASSERT_TRUE(context.Valid()) << context.Error();
    TScene scene;
    BuildMainScene(scene);
    scene.SetBackgroundColor({1, 1, 1});
    scene.Grid()->SetVisible(false);
    TSceneCamera& cam = *scene.Camera();
    cam.SetTargetObject(nullptr);
    cam.SetPosition({0, 0, -10});
    cam.SetDirection({0, 0, 1});
    auto& hose = scene.FindObject("Tubes")->AddNewChild<TPipeEx>();
    hose.SetNodes({{-3, -1, 0}, {0, 1, 0}, {3, -1, 0}});
    hose.SetSplineMode(TSplineMode::lsmCubicSpline);
    hose.SetRadius(0.5f);
    hose.SetDisplayColour(0x0000FF);  // red
    TRenderer renderer;
    const TRgbaImage image = renderer.RenderImage(scene, 120, 90);
    ASSERT_FALSE(image.Pixels.empty());
    int red = 0;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const TRgb p = PixelAt(image, x, y);
            red += p.R > 120 && p.G < 60 && p.B < 60;
        }
    }
    EXPECT_GT(red, 200);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
