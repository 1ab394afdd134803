// The bundled kit joins like the real thing: every compatible connector pair of the kit puts
// the new part's connector onto the fixed one with the two arrows pointing against each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "placement/u_connect.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;
using namespace kxtest;

namespace {

std::vector<std::string> KitNumbers(const std::filesystem::path& defDir) {
    std::vector<std::string> numbers;
    for (const auto& entry : std::filesystem::directory_iterator(defDir)) {
        if (entry.path().extension() == ".def") {
            numbers.push_back(entry.path().stem().string());
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

TEST(KitJoin, EveryCompatiblePairMeetsConnectorOnConnectorPointingAgainstIt) {
    const std::filesystem::path program = KX_RUNTIME_DIR;
    if (!std::filesystem::is_directory(program / "def")) {
        GTEST_SKIP() << "no kit built beside the tests";
    }
    TPrivateSettings settings;
    TTempDir user;
    TPartFiles files(program, user.Path());
    TDefCache defs;
    TffCache meshes;
    TScene scene;
    BuildMainScene(scene);
    TkxMain model(scene, files, defs, meshes);
    model.SetUndoSuppressed(true);

    struct TKitPart {
        TDefPtr Def;
        TFreeForm* Fixed = nullptr;
        TFreeForm* New = nullptr;
    };
    std::vector<TKitPart> kit;
    for (const std::string& number : KitNumbers(program / "def")) {
        TKitPart p;
        p.Def = defs.GetDef(files, number);
        if (p.Def->ConnCount() == 0) {
            continue;
        }
        const std::string a = model.AddBaustein(number);
        const std::string b = model.AddBaustein(number);
        ASSERT_FALSE(a.empty() || b.empty()) << number << " cannot be placed";
        p.Fixed = model.FindBauteil(a)->Object();
        p.New = model.FindBauteil(b)->Object();
        kit.push_back(p);
    }
    ASSERT_GT(kit.size(), 20u);

    std::map<std::pair<int, float>, int> perSystem;  // (kind, gauge) of the fixed connector
    std::vector<std::string> wrong;
    std::map<std::string, int> wrongPerConnector;
    int joined = 0;
    int upsDiffer = 0;
    for (const TKitPart& f : kit) {
        // The fixed part turned a little, so that no rule passes only in the default frame.
        f.Fixed->SetTurnAngle(30);
        f.Fixed->SetPitchAngle(-20);
        for (int c = 1; c <= f.Def->ConnCount(); ++c) {
            const TConn& fc = f.Def->Conn(c);
            const TArrowLine* a = ConnectorAnchor(*f.Fixed, c);
            ASSERT_NE(a, nullptr) << f.Def->Number << " connector " << c;
            for (const TKitPart& n : kit) {
                for (int k = 1; k <= n.Def->ConnCount(); ++k) {
                    const TConn& nc = n.Def->Conn(k);
                    if (!ConnectorsFit(fc, nc)) {
                        continue;
                    }
                    bool ok = false;
                    JoinAtConnectors(*n.New, k, nc, *f.Fixed, c, fc, {}, &ok);
                    ASSERT_TRUE(ok);
                    const TArrowLine* b = ConnectorAnchor(*n.New, k);
                    ++joined;
                    ++perSystem[{fc.Typ, fc.Thick}];
                    const float against = Dot(a->AbsoluteDirection(), b->AbsoluteDirection());
                    const float gap = Distance(a->AbsolutePosition(), b->AbsolutePosition());
                    if (against > -0.999f || gap > 1e-3f) {
                        std::ostringstream s;
                        s << f.Def->Number << "/" << c << " (" << fc.Name << ") + " << n.Def->Number
                          << "/" << k << " (" << nc.Name << "): dot " << against << ", gap " << gap;
                        wrong.push_back(s.str());
                        ++wrongPerConnector[n.Def->Number + "/" + std::to_string(k)];
                    }
                    if (Dot(a->AbsoluteUp(), b->AbsoluteUp()) < 0.999f) {
                        ++upsDiffer;
                    }
                }
            }
        }
    }
    std::cout << "kit joins: " << joined << " pairs over " << perSystem.size()
              << " connection systems; up vectors differing: " << upsDiffer << "\n";
    for (const auto& [system, count] : perSystem) {
        std::cout << "  kind " << system.first << ", gauge " << system.second << ": " << count
                  << "\n";
    }
    EXPECT_GE(joined, 300);
    for (size_t i = 0; i < std::min<size_t>(wrong.size(), 30); ++i) {
        ADD_FAILURE() << wrong[i];
    }
    for (const auto& [conn, count] : wrongPerConnector) {
        std::cout << "  wrong as new connector: " << conn << " in " << count << " pairs\n";
    }
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " of " << joined << " pairs do not join";
}

}  // namespace
