// The render manager's logic without a window: the engine's command line, its progress as it
// reports it, and where the engine is found.
#include <gtest/gtest.h>

#include <filesystem>

#include "kx_test_support.h"
#include "view/u_povrender.h"

using namespace kx;

TEST(PovRender, EngineCommandLineAndProgress) {
    TRenderSettings s;
    EXPECT_EQ(PovRayOptions(s), "+W800 +H600 +A -J +AM2 +R4 ");
    s.AntiAlias = false;
    s.Method = 1;
    s.Quality = 12;
    s.Radiosity = true;  // goes into the scene: the engine refuses +QR
    EXPECT_EQ(PovRayOptions(s), "+W800 +H600 -A -J +AM1 +R9 ");
    const auto args = PovRayArguments(s, "/tmp/a b/temp.pov", "/tmp/a b/temp.png");
    EXPECT_EQ(args, (std::vector<std::string>{"+W800", "+H600", "-A", "-J", "+AM1", "+R9",
                                              "+I/tmp/a b/temp.pov", "+O/tmp/a b/temp.png", "+FN",
                                              "-D"}));
    const struct {
        const char* Output;
        std::optional<int> Percent;
    } cases[] = {
        {"Rendered 1024 of 76800 pixels (1%)\rRendered 38400 of 76800 pixels (50%)", 50},
        {"==== [Rendering...] ====", std::nullopt},
        {"Rendered 76800 of 76800 pixels", 100},
        {"Rendered x of 5", std::nullopt},
        {"Rendered 5 of 0 pixels", std::nullopt},
        {"Rendered 3 of 4 pixels (75%)\rRendered 4 o", 75},  // a line cut in the middle
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PovRayProgress(c.Output), c.Percent) << c.Output;
    }
}

TEST(PovRender, TheEngineIsTheFirstRunnablePovrayOnThePath) {
    kxtest::TTempDir dir;
    namespace fs = std::filesystem;
    for (const char* sub : {"a", "b", "c"}) {
        fs::create_directories(dir.Path() / sub);
    }
    kxtest::WriteFile(dir.Path() / "a" / "povray", "not runnable");
    kxtest::WriteFile(dir.Path() / "b" / "povray", "#!/bin/sh\n");
    fs::permissions(dir.Path() / "b" / "povray", fs::perms::owner_exec, fs::perm_options::add);
    kxtest::WriteFile(dir.Path() / "c" / "povray", "#!/bin/sh\n");
    fs::permissions(dir.Path() / "c" / "povray", fs::perms::owner_exec, fs::perm_options::add);
    const std::string a = (dir.Path() / "a").string(), b = (dir.Path() / "b").string(),
                      c = (dir.Path() / "c").string();
    EXPECT_EQ(FindPovRay(a + ":" + b + ":" + c), b + "/povray");
    EXPECT_EQ(FindPovRay(a), "");
    EXPECT_EQ(FindPovRay(""), "");
}
