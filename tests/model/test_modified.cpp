// Whether the model differs from its file: what marks it changed, what makes it unchanged
// again (save, load, "Neu", an undo back to the saved state), and what the window is told.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

struct TChangeCase {
    const char* Name;
    std::function<void(TkxMain&, ModelTest&)> Change;
};

}  // namespace

class ModifiedTest : public ModelTest {
protected:
    std::string Saved() {
        const std::string file = (m_dir / "model.kxm").string();
        EXPECT_TRUE(m_model->SaveModell(file));
        EXPECT_FALSE(m_model->IsModified());
        return file;
    }
    void Move(const std::string& name, const TVector3f& to) { MoveAndRefresh(name, to); }
};

TEST_F(ModifiedTest, EveryChangeThroughTheModelMarksItAndOnlyChangesDo) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    const std::vector<TChangeCase> changes = {
        {"add", [](TkxMain& m, ModelTest&) { m.AddBaustein("31010"); }},
        {"move",
         [&](TkxMain&, ModelTest&) {
             Move(a, {3, 0, 1});
         }},
        {"paint",
         [&](TkxMain& m, ModelTest&) {
             m.PartObject(a)->Material().SetDiffuseColor(ColorFromWin(0x00FF00));
             m.RefreshBauteil(a, true, -1);
         }},
        {"phase", [&](TkxMain& m, ModelTest&) { m.RefreshBauteil(b, false, 4); }},
        {"group",
         [&](TkxMain& m, ModelTest&) {
             m.AddGroup({a, b}, false);
         }},
        {"rename group",
         [](TkxMain& m, ModelTest&) { m.RenameGroup(m.Groups().front().get(), "Räder"); }},
        {"delete", [&](TkxMain& m, ModelTest&) { m.DeleteBaustein(b); }},
    };
    for (const TChangeCase& c : changes) {
        Saved();
        c.Change(*m_model, *this);
        EXPECT_TRUE(m_model->IsModified()) << c.Name;
    }

    // Looking at the model is no change: selecting, refreshing an unmoved part, repainting.
    Saved();
    m_model->SelectBaustein(a);
    m_model->SelectAllCommand();
    m_model->DeSelectAllBausteine();
    m_model->RefreshBauteil(a, true, -1);
    m_model->Repaint();
    EXPECT_FALSE(m_model->IsModified());
}

TEST_F(ModifiedTest, UndoBackToTheSavedStateIsUnchangedAgain) {
    const std::string a = Add("31010");
    Saved();
    m_model->SelectBaustein(a);
    Add("32064");
    Move(a, {5, 0, 0});
    EXPECT_TRUE(m_model->IsModified());
    m_model->DoUndo();  // the add, taken with the move's record still unmoved
    m_model->DoUndo();  // the selection
    EXPECT_FALSE(m_model->IsModified());
    EXPECT_EQ(m_model->Parts().Count(), 1u);
    // Undoing past the saved state is a change again.
    m_model->DoUndo();
    EXPECT_TRUE(m_model->IsModified());
    EXPECT_TRUE(m_model->Parts().Empty());

    // What undo does not restore keeps the model changed: a group made after the save.
    const std::string c = Add("31010");
    Saved();
    Add("32064");
    m_model->AddGroup({c}, false);
    m_model->DoUndo();
    EXPECT_EQ(m_model->Parts().Count(), 1u);
    EXPECT_TRUE(m_model->IsModified());
}

TEST_F(ModifiedTest, LoadingSavingMergingAndNewSetTheFlagAndTheWindowHearsEachTurn) {
    Add("31010");
    EXPECT_EQ(m_ports.ModifiedReports, (std::vector<bool>{true}));
    Add("32064");  // already changed: nothing new to tell
    const std::string file = Saved();
    EXPECT_EQ(m_ports.ModifiedReports, (std::vector<bool>{true, false}));

    Add("31010");
    ASSERT_TRUE(m_model->LoadModell(file, true));
    EXPECT_FALSE(m_model->IsModified());
    EXPECT_EQ(m_model->Parts().Count(), 2u);

    ASSERT_TRUE(m_model->LoadModell(file, false));
    EXPECT_TRUE(m_model->IsModified());
    EXPECT_EQ(m_model->Parts().Count(), 4u);

    // A broken file changes nothing, the flag included, in either state.
    const std::string broken = (m_dir / "broken.kxm").string();
    std::ofstream(broken) << "[COMMON]\r\nCount=zwei\r\n";
    EXPECT_FALSE(m_model->LoadModell(broken, true));
    EXPECT_TRUE(m_model->IsModified());
    EXPECT_EQ(m_model->Parts().Count(), 4u);
    Saved();
    EXPECT_FALSE(m_model->LoadModell(broken, true));
    EXPECT_FALSE(m_model->IsModified());

    Add("31010");
    m_model->DeleteAll();
    EXPECT_FALSE(m_model->IsModified());
    EXPECT_TRUE(m_model->FileName.empty());
}
