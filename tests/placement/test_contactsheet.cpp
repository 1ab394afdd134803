// Contact sheet of joined kit parts: a grid of typical joins, each made through the connector
// window's logic, drawn in one headless rendering for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "placement/u_connect.h"
#include "view/r_headless.h"
#include "view/r_image.h"
#include "view/r_renderer.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;
using namespace kxtest;

namespace {

struct TJoin {
    const char* What;
    const char* Fixed;
    int FixedConn;
    const char* New;
    int NewConn;
};

// Fixed part and connector, new part and connector (both counted from 1).
const TJoin kJoins[] = {
    {"block on block", "40001", 1, "40001", 2},
    {"block on its side", "40001", 5, "40001", 1},
    {"block end to end", "40001", 3, "40001", 4},
    {"block 30 on block 30", "40002", 1, "40002", 3},
    {"axle in a hub", "40207", 1, "40301", 1},
    {"gear on axle", "40301", 1, "40705", 1},
    {"small gear on axle", "40301", 2, "40704", 1},
    {"wheel on axle", "40301", 1, "40201", 1},
    {"tyre on rim", "40201", 3, "40202", 1},
    {"stop ring on axle", "40301", 2, "40306", 1},
    {"plate on block", "40001", 1, "40401", 1},
    {"plate on block 30", "40002", 1, "40402", 1},
    {"angle block on block", "40001", 1, "40006", 1},
    {"angle block 30 on block", "40001", 1, "40007", 1},
    {"block on angle block", "40006", 2, "40001", 2},
    {"hinge", "40009", 2, "40010", 2},
    {"hinge on block", "40001", 1, "40009", 1},
    {"double peg in side socket", "40001", 5, "40011", 1},
    {"elbow sleeve on cylinder port", "40601", 3, "40605", 1},
    {"plug on distributor port", "40604", 1, "40606", 1},
    {"plug in battery socket", "40503", 7, "C0007", 1},
    {"plug in lamp socket", "40501", 3, "C0008", 1},
    {"cap on lamp", "40501", 2, "40502", 1},
    {"gear on motor shaft", "40701", 7, "40704", 1},
    {"rod in cube", "42201", 3, "42202", 1},
    {"girder in joint block", "40105", 3, "40101", 1},
    {"cylinder on block", "40001", 1, "40601", 1},
    {"battery box on block", "40002", 1, "40503", 1},
    {"pulley on axle", "40301", 1, "40219", 1},
    {"hook on axle", "40301", 2, "40224", 1},
    {"strip on block", "40002", 1, "40147", 2},
    {"tyre 90 on rim 90", "40212", 3, "40213", 1},
    {"bevel gear on axle", "40301", 1, "40718", 1},
    {"cylinder 60 on block", "40002", 1, "40608", 1},
    {"curved girder in joint block", "40105", 3, "40143", 1},
};

constexpr int kColumns = 7;
constexpr float kSpacing = 11;  // scene units between cells

TEST(ContactSheet, TypicalJoinsOfTheKit) {
    const std::filesystem::path program = KX_RUNTIME_DIR;
    if (!std::filesystem::is_directory(program / "def")) {
        GTEST_SKIP() << "no kit built beside the tests";
    }
    THeadlessContext context;
    if (!context.Valid()) {
        GTEST_SKIP() << "no headless OpenGL: " << context.Error();
    }
    TPrivateSettings settings;
    TTempDir user;
    TPartFiles files(program, user.Path());
    TDefCache defs;
    TffCache meshes;
    TScene scene;
    BuildMainScene(scene);
    TkxMain model(scene, files, defs, meshes);
    model.ConnectorsHidden = true;
    if (TGrid* grid = scene.Grid()) {
        grid->SetVisible(false);
    }

    int index = 0;
    for (const TJoin& join : kJoins) {
        const std::string fixedName = model.AddBaustein(join.Fixed);
        ASSERT_FALSE(fixedName.empty()) << join.What;
        TFreeForm& fixed = *model.FindBauteil(fixedName)->Object();
        const float x = (static_cast<float>(index % kColumns) - (kColumns - 1) / 2.0f) * kSpacing;
        const float z = (static_cast<float>(index / kColumns) - 2.0f) * -kSpacing;
        fixed.SetPosition({x, 0, z});
        model.RefreshBauteil(fixedName, false, -1);

        TConnectorSession session(model, defs);
        session.Open(fixed, join.New, join.FixedConn - 1);
        ASSERT_EQ(session.FixedConnector(), join.FixedConn) << join.What;
        bool found = false;
        for (size_t i = 0; i < session.NewChoices().size(); ++i) {
            if (session.NewChoices()[i] == join.NewConn) {
                session.ChooseNew(static_cast<int>(i));
                found = true;
            }
        }
        ASSERT_TRUE(found) << join.What << ": the new connector is not offered";
        ASSERT_NE(session.NewObject(), nullptr) << join.What;
        session.Confirm();
        const TArrowLine* a = ConnectorAnchor(fixed, join.FixedConn);
        const TArrowLine* b = ConnectorAnchor(*session.NewObject(), join.NewConn);
        EXPECT_LT(Distance(a->AbsolutePosition(), b->AbsolutePosition()), 1e-4f) << join.What;
        EXPECT_LT(Dot(a->AbsoluteDirection(), b->AbsoluteDirection()), -0.999f) << join.What;
        model.DeSelectAllBausteine();
        ++index;
    }
    ASSERT_GE(index, 35);

    TSceneCamera& camera = *scene.Camera();
    scene.CameraTarget()->SetPosition({0, 0, 0});
    camera.SetPosition({0, 64, -78});
    camera.SetFocalLength(150);
    scene.CameraLightToCamera();
    scene.SetBackgroundColor({1, 1, 1});

    TRenderer renderer;
    const TRgbaImage image = renderer.RenderImage(scene, 1600, 1000, 4);
    ASSERT_FALSE(image.Empty()) << renderer.Error();
    int drawn = 0;
    for (int y = 0; y < image.Height; y += 4) {
        for (int x = 0; x < image.Width; x += 4) {
            const uint8_t* p = image.At(x, y);
            drawn += (p[0] < 230 || p[1] < 230 || p[2] < 230) ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 2000);
    const std::filesystem::path out = KX_TEST_OUTPUT_DIR;
    std::filesystem::create_directories(out);
    EXPECT_TRUE(SavePng(out / "contact_sheet.png", image));
}

}  // namespace
