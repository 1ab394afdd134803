// The model's hoses: the hose command and its register, node operations by name, the model
// file's hose sections for every kind, and a broken radius.
#include <gtest/gtest.h>

#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "generated/u_tubemanager.h"
#include "model_fixture.h"

using namespace kx;

namespace {

class HoseTest : public kxtest::ModelTest {
protected:
    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }
    TSceneObject& Tubes() { return *m_scene.Root().FindChild("Tubes", false); }
};

}  // namespace

TEST_F(HoseTest, NewSchlauchNumbersByTheRegisterAndSetsTheKind) {
    Tubes().AddNewChild<TPipeEx>("Schlauch_7");  // hoses from elsewhere do not count
    std::string first, second, third;
    TPipeEx* a = m_model->NewSchlauch(0, first);
    TPipeEx* b = m_model->NewSchlauch(3, second);
    m_model->NewSchlauch(2, third);
    EXPECT_EQ(first, "Schlauch_1");
    EXPECT_EQ(second, "Schlauch_2");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Colour(), 0xFFC000u);
    EXPECT_FLOAT_EQ(a->Radius(), 0.2f);
    EXPECT_EQ(b->DisplayColour(), 0x00FF00u);
    EXPECT_FLOAT_EQ(b->Radius(), 0.05f);
    EXPECT_EQ(b->SplineMode(), TSplineMode::lsmLines);
    EXPECT_EQ(b->Parts(), ppOutside | ppInside);
    EXPECT_EQ(Tubes().Count(), 4u);
    EXPECT_TRUE(m_model->IsModified());
    std::vector<std::string> items{"old"};
    m_model->UpdateSchlauchItems(items);
    EXPECT_EQ(items, (std::vector<std::string>{"Schlauch_1", "Schlauch_2", "Schlauch_3"}));

    b->SetDisplayColour(0x123456);
    b->SetRadius(0.3f);
    m_model->UpdateSchlauchData(*b);
    EXPECT_EQ(m_model->HoseRegister()[1].Colour, 0x123456u);
    EXPECT_FLOAT_EQ(m_model->HoseRegister()[1].Radius, 0.3f);

    m_model->DeleteAll();
    EXPECT_EQ(Tubes().Count(), 0u);
    m_model->NewSchlauch(1, first);
    EXPECT_EQ(first, "Schlauch_1");
}

TEST_F(HoseTest, NodesByHoseName) {
    std::string name;
    TPipeEx* hose = m_model->NewSchlauch(1, name);
    m_model->AddSchlauchNode(name, 1.5, -2.25, 100);
    m_model->AddSchlauchNode("SCHLAUCH_1", 0.00004, 1234.5, -0.5);
    m_model->AddSchlauchNode("nichts", 1, 1, 1);
    std::vector<std::string> lines;
    m_model->UpdateSchlauchNodes(name, lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"  1,5000  -2,2500 100,0000",
                                               "  0,0000 1234,5000  -0,5000"}));
    EXPECT_EQ(m_model->GetSchlauchNode(name, 0), (TVector3f{1.5f, -2.25f, 100}));
    EXPECT_FALSE(m_model->GetSchlauchNode(name, 2));
    EXPECT_FALSE(m_model->GetSchlauchNode("nichts", 0));

    const uint32_t g = hose->Versions().Geometry;
    m_model->DeleteSchlauchNode(name, 5);
    m_model->DeleteSchlauchNode("nichts", 0);
    EXPECT_EQ(hose->NodeCount(), 2u);
    m_model->DeleteSchlauchNode(name, 0);
    EXPECT_EQ(hose->NodeCount(), 1u);
    EXPECT_GT(hose->Versions().Geometry, g);
    m_model->UpdateSchlauchNodes("nichts", lines);
    EXPECT_TRUE(lines.empty());
}

TEST_F(HoseTest, EveryKindSurvivesTheModelFileAndTheManagerReplacesThem) {
    TTubeManager manager;
    for (int kind = 1; kind <= kHoseKindCount; ++kind) {
        const int h = manager.NewSchlauch(kind);
        manager.AddPin({0, float(kind), 0}, h);
        manager.AddPin({1.25f, float(kind), -0.5f}, h);
        manager.AddPin({2, float(kind) + 1, 0.125f}, h);
        manager.Select({h, -1});
        manager.SetSelectedPhase(kind % 3);
    }
    manager.Select({1, -1});
    manager.SetSelectedColour(0x00AA00);
    manager.Select({0, 1});  // drawn highlighted; written back in its own colour
    m_model->ReplaceHoses(manager.HosesForModel());
    EXPECT_TRUE(m_model->IsModified());
    auto hoses = m_model->Hoses();
    ASSERT_EQ(hoses.size(), 5u);
    EXPECT_EQ(hoses[0]->DisplayColour(), 0xFF4040u);
    EXPECT_EQ(hoses[1]->DisplayColour(), 0x00AA00u);
    EXPECT_EQ(hoses[0]->Count(), 0u);  // markers stay in the manager
    std::vector<THoseData> before;
    for (const TPipeEx* h : hoses) {
        before.push_back(h->Record());
    }

    ASSERT_TRUE(m_model->SaveModell(PathOf("hoses.kxm")));
    m_model->DeleteAll();
    const TModelFileResult r = m_model->LoadModell(PathOf("hoses.kxm"), true);
    ASSERT_TRUE(r) << r.Error;
    hoses = m_model->Hoses();
    ASSERT_EQ(hoses.size(), before.size());
    for (size_t i = 0; i < hoses.size(); ++i) {
        SCOPED_TRACE(i);
        THoseData back = hoses[i]->Record();
        back.DisplayColour = before[i].DisplayColour;
        back.Visible = before[i].Visible;
        EXPECT_EQ(back, before[i]);
    }
    EXPECT_EQ(hoses[4]->Tag(), 1);  // the drive spring comes back as a cord of its radius
    EXPECT_FLOAT_EQ(hoses[4]->Radius(), 0.2f);
    EXPECT_EQ(hoses[2]->Colour(), 0x0000FFu);
}

TEST_F(HoseTest, ABrokenRadiusTakesTheKindsDefaultAndIsTraced) {
    ASSERT_TRUE(WriteTextFile(
        PathOf("radius.kxm"),
        {"[COMMON]", "Count=0", "TubeCount=3", "[TUBE1]", "Radius=zwei", "Tag=2", "Count=2", "X1=1",
         "X2=2", "[TUBE2]", "Radius=nan", "Tag=0", "[TUBE3]", "Radius=0,5", "Color=255"}));
    const TModelFileResult r = m_model->LoadModell(PathOf("radius.kxm"), true);
    ASSERT_TRUE(r) << r.Error;
    const auto hoses = m_model->Hoses();
    ASSERT_EQ(hoses.size(), 3u);
    EXPECT_FLOAT_EQ(hoses[0]->Radius(), 0.05f);
    EXPECT_EQ(hoses[0]->NodeCount(), 2u);
    EXPECT_FLOAT_EQ(hoses[1]->Radius(), 0.2f);
    EXPECT_FLOAT_EQ(hoses[2]->Radius(), 0.5f);
    EXPECT_EQ(hoses[2]->DisplayColour(), 255u);
    EXPECT_EQ(hoses[2]->SplineMode(), TSplineMode::lsmLines);
    bool traced = false;
    for (const std::string& line : Stack().Lines()) {
        traced |= line.find("TModelFile.HoseRadius") != std::string::npos &&
                  line.find("zwei") != std::string::npos;
    }
    EXPECT_TRUE(traced);
}
