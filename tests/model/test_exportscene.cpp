// The model flattened for the exchange formats: what is shown, in its own colours, shared
// meshes, units; and how the Assimp writer lands its files.
#include <gtest/gtest.h>

#include <cmath>

#include "model/u_exportscene.h"
#include "model_fixture.h"
#ifdef KX_HAVE_EXCHANGE
#include "model/u_modernexport.h"
#endif

using namespace kx;

namespace {

class ExportSceneTest : public kxtest::ModelTest {
protected:
    void SetUp() override {
        m_red1 = Add("31010");
        m_red2 = Add("31010");
        m_glass = Add("32064");
        MoveAndRefresh(m_red2, {10, 0, 0});
        std::string hose;
        ASSERT_TRUE(m_model->NewSchlauch(0, hose));
        m_model->AddSchlauchNode(hose, 0, 0, 0);
        m_model->AddSchlauchNode(hose, 0, 5, 0);
        m_hose = hose;
    }

    static const TExportNode* Node(const TExportScene& s, const std::string& name) {
        for (const TExportNode& n : s.Nodes) {
            if (n.Name == name) {
                return &n;
            }
        }
        return nullptr;
    }

    std::string m_red1, m_red2, m_glass, m_hose;
};

TEST_F(ExportSceneTest, ShownPartsAndHosesInTheirOwnColoursWithSharedMeshesInMetres) {
    // A selected part is drawn in the highlight colour; its file keeps its own colour.
    m_model->SelectBaustein(m_red2);
    const TExportScene s = CollectExportScene(*m_model, kMetres);
    ASSERT_EQ(s.Nodes.size(), 4u);
    EXPECT_EQ(s.Nodes.back().Name, m_hose);
    const TExportNode* red1 = Node(s, m_red1);
    const TExportNode* red2 = Node(s, m_red2);
    const TExportNode* glass = Node(s, m_glass);
    ASSERT_TRUE(red1 && red2 && glass);
    EXPECT_EQ(red1->Mesh, red2->Mesh);
    EXPECT_NE(red1->Mesh, glass->Mesh);
    EXPECT_EQ(s.Meshes.size(), 3u);
    EXPECT_EQ(s.Meshes[red1->Mesh].Name, "31010");
    const TColor4f red = s.Materials[s.Meshes[red2->Mesh].Material].Colour;
    EXPECT_EQ(ColorToWin(red.Rgb()), 0x0000FFu);
    EXPECT_FLOAT_EQ(red.A, 1);
    EXPECT_NEAR(s.Materials[s.Meshes[glass->Mesh].Material].Colour.A, 0.5, 1e-6);

    // 10 scene units are 100 mm; the test meshes are 10 mm wide; the part's scale of 0.1 is
    // in the mesh, so its node turns and moves only.
    EXPECT_NEAR(red2->Matrix.Translation().X, 0.1, 1e-6);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(Length(red2->Matrix.Column(c)), 1, 1e-5);
    }
    float widest = 0;
    for (const TVector3f& p : s.Meshes[red1->Mesh].Positions) {
        widest = std::max(widest, p.X);
    }
    EXPECT_NEAR(widest, 0.01, 1e-6);
    for (const TVector3f& n : s.Meshes[s.Nodes.back().Mesh].Normals) {
        ASSERT_NEAR(Length(n), 1, 1e-4);
    }

    const TExportScene mm = CollectExportScene(*m_model, kMillimetres);
    EXPECT_NEAR(Node(mm, m_red2)->Matrix.Translation().X, 100, 1e-3);

    // What the view hides, the file leaves out.
    Object(m_red1)->SetVisible(false);
    m_model->HoseRoot()->SetVisible(false);
    const TExportScene shown = CollectExportScene(*m_model, kMetres);
    EXPECT_EQ(shown.Nodes.size(), 2u);
    EXPECT_FALSE(Node(shown, m_red1));
}

#ifdef KX_HAVE_EXCHANGE
TEST_F(ExportSceneTest, AFailedExportLeavesTheTargetAndNoScratchFiles) {
    const auto folder = m_dir.Path() / "out";
    std::filesystem::create_directories(folder / "blocked.glb" / "inside");
    std::string error;
    EXPECT_TRUE(ExportModern(*m_model, TModernFormat::Glb, folder / "model.glb", error)) << error;
    EXPECT_EQ(kxtest::ReadFile(folder / "model.glb").substr(0, 4), "glTF");

    // The target is a folder: the rename fails, the folder stays, nothing is left behind.
    EXPECT_FALSE(ExportModern(*m_model, TModernFormat::Glb, folder / "blocked.glb", error));
    EXPECT_NE(error.find("blocked.glb"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "blocked.glb" / "inside"));
    EXPECT_FALSE(ExportModern(*m_model, TModernFormat::Stl, folder / "no" / "x.stl", error));
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename().string().find(".kxexport"), std::string::npos);
    }

    // One binary STL per part: 84 bytes of header and count, 50 per triangle.
    ASSERT_TRUE(ExportModern(*m_model, TModernFormat::Stl, folder / "p.stl", error, true));
    const std::string one = kxtest::ReadFile(PerPartFileName(folder / "p.stl", m_red2));
    EXPECT_EQ(one.size(), 84 + 50 * m_model->PartObject(m_red2)->Mesh()->TriangleCount());
    EXPECT_TRUE(std::filesystem::exists(PerPartFileName(folder / "p.stl", m_hose)));
}
#endif

}  // namespace
