// Selection: the selected part, co-selection, highlight colours, group mode and the commands
// that select many parts.
#include <gtest/gtest.h>

#include "model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

TEST_F(ModelTest, SelectingAPartHighlightsItAndShowsItEverywhere) {
    const std::string a = Add("31010");
    m_model->SelectBaustein(a);
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
    EXPECT_EQ(m_ports.CoordinatesPart, Object(a));
    EXPECT_TRUE(Object(a)->ShowAxes());
    EXPECT_EQ(ObjectColour(a), kSelectedColor);
    EXPECT_EQ(LibColour(a), kSelectedColor);
    EXPECT_TRUE(m_ports.IsEnabled(TModelCommand::Delete));
    EXPECT_EQ(m_ports.Status[0], "31010 <" + a + ">");
    EXPECT_EQ(m_ports.Status[1], "Bauphase 1");
    EXPECT_EQ(m_ports.Status[3], "Baustein 30");
    EXPECT_TRUE(m_model->FindBauteil(a)->Selected());
    EXPECT_EQ(m_ports.SelectedNode, (TTreePos{0, 0}));
    // The record keeps its own colour.
    EXPECT_EQ(m_model->FindBauteil(a)->Color(), 0x0000FFu);
}

TEST_F(ModelTest, SelectingAnotherPartRestoresTheFirst) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    m_model->SelectBaustein(a);
    m_model->SelectBaustein(b);
    EXPECT_EQ(m_model->SelectedPart(), Object(b));
    EXPECT_EQ(ObjectColour(a), 0x0000FFu);
    EXPECT_EQ(LibColour(a), 0x0000FFu);
    EXPECT_FALSE(Object(a)->ShowAxes());
    EXPECT_EQ(ObjectColour(b), kSelectedColor);
}

TEST_F(ModelTest, AHalfTransparentPartKeepsItsAlphaWhileHighlighted) {
    const std::string glass = Add("32064");
    m_model->SelectBaustein(glass);
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
    EXPECT_FLOAT_EQ(Object(glass)->Material().Diffuse().A, 0.5f);
    m_model->CoSelectBaustein(glass, false, true, true);
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
    m_model->DeSelectAllBausteine();
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
}

TEST_F(ModelTest, NamesThatAreNoPlacedPartAreIgnored) {
    Add("31010");
    m_model->SelectBaustein("Grid");
    m_model->SelectBaustein("F99999_1");
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    m_model->CoSelectBaustein("Grid", false, false, false);
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Group));
    EXPECT_TRUE(m_ports.Messages.empty());
}

TEST_F(ModelTest, CoSelectionTogglesAndSkipsTheSelectedPart) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->SelectBaustein(a);
    m_model->CoSelectBaustein(a, true, false, false);
    EXPECT_FALSE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_EQ(ObjectColour(a), kSelectedColor);

    m_model->CoSelectBaustein(b, true, false, false);
    EXPECT_TRUE(m_model->FindBauteil(b)->CoSelected());
    EXPECT_EQ(ObjectColour(b), kCoSelectedColor);
    EXPECT_EQ(LibColour(b), kCoSelectedColor);
    EXPECT_TRUE(m_ports.IsEnabled(TModelCommand::Group));

    m_model->CoSelectBaustein(b, true, false, false);
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());
    EXPECT_EQ(ObjectColour(b), 0x0000FFu);

    m_model->CoSelectBaustein(b, true, false, true);
    m_model->CoSelectBaustein(b, true, false, true);
    EXPECT_TRUE(m_model->FindBauteil(b)->CoSelected());
}

TEST_F(ModelTest, DeselectingRestoresEveryColourAndPaintsEarlierPhasesWhite) {
    const std::string old = Add("31010");
    m_model->SetBauphase(2);
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    Param().SetPaintOldWhite(true);
    m_model->SelectBaustein(old);
    m_model->CoSelectBaustein(a, true, false, false);
    m_model->CoSelectBaustein(b, true, false, false);

    m_model->DeSelectAllBausteine();
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(m_ports.CoordinatesPart, nullptr);
    EXPECT_EQ(ObjectColour(old), 0xFFFFFFu);
    EXPECT_EQ(LibColour(old), 0xFFFFFFu);
    EXPECT_EQ(ObjectColour(a), 0x0000FFu);
    EXPECT_EQ(LibColour(b), 0xC80000u);
    EXPECT_FALSE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());
    for (const std::string& s : m_ports.Status) {
        EXPECT_EQ(s, "");
    }
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Delete));
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Group));
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Degroup));

    Param().SetPaintOldWhite(false);
    m_model->SelectBaustein(old);
    m_model->DeSelectAllBausteine();
    EXPECT_EQ(ObjectColour(old), 0x0000FFu);
}

TEST_F(ModelTest, GroupModeCoSelectsTheOtherMembersUnlessTold) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    const std::string c = Add("31010");
    const std::string d = Add("31010");
    auto group = std::make_unique<TGroup>();
    group->Members = {a, b, c};
    m_model->Groups().push_back(std::move(group));
    m_ports.GroupMode = true;

    m_model->SelectBaustein(b);
    EXPECT_TRUE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());
    EXPECT_TRUE(m_model->FindBauteil(c)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(d)->CoSelected());
    EXPECT_TRUE(m_ports.IsEnabled(TModelCommand::Degroup));
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Group));

    m_model->SelectBaustein(c, false, true);
    EXPECT_FALSE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());

    m_ports.GroupMode = false;
    m_model->SelectBaustein(a);
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());
}

TEST_F(ModelTest, SelectAllSelectsTheFirstAndCoSelectsTheRestWithOneSnapshot) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    const std::string c = Add("31010");
    const size_t before = m_model->UndoList().Count();
    m_model->SelectAllCommand();
    m_model->SelectAllCommand();
    EXPECT_EQ(m_model->UndoList().Count(), before + 1);
    EXPECT_EQ(m_model->UndoList().Last().Action, "SelectAll");
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
    EXPECT_FALSE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_TRUE(m_model->FindBauteil(b)->CoSelected());
    EXPECT_TRUE(m_model->FindBauteil(c)->CoSelected());
    EXPECT_FALSE(m_model->UndoSuppressed());

    m_model->DeselectAllCommand();
    m_model->DeselectAllCommand();
    EXPECT_EQ(m_model->UndoList().Count(), before + 2);
    EXPECT_FALSE(m_model->FindBauteil(b)->CoSelected());
}

TEST_F(ModelTest, SelectAllOfTheCurrentPhaseTakesOnlyThatPhase) {
    const std::string a = Add("31010");
    m_model->SetBauphase(2);
    const std::string b = Add("31010");
    const std::string c = Add("31010");
    const size_t before = m_model->UndoList().Count();
    m_model->SelectAllBausteineFromActualPhase();
    EXPECT_EQ(m_model->SelectedPart(), Object(b));
    EXPECT_TRUE(m_model->FindBauteil(c)->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_EQ(m_model->UndoList().Count(), before);
}

TEST_F(ModelTest, HidingAllButTheSelectionKeepsTheRecords) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    const std::string c = Add("31010");
    m_model->SelectBaustein(a);
    m_model->CoSelectBaustein(c, true, true, false);
    m_model->HideAllPartsExceptSelection();
    EXPECT_TRUE(Object(a)->Visible());
    EXPECT_FALSE(Object(b)->Visible());
    EXPECT_TRUE(Object(c)->Visible());
    EXPECT_TRUE(m_scene.PartsRoot()->FindChild("Grid", false)->Visible());
    m_model->Repaint();
    EXPECT_TRUE(Object(b)->Visible());
}

TEST_F(ModelTest, FindingPartsInTheModelSelectsThemAndCountsThem) {
    const std::string a = Add("31010");
    Add("32064");
    const std::string c = Add("31010");
    EXPECT_EQ(m_model->FindPartsInModel("31010"), 2);
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
    EXPECT_TRUE(m_model->FindBauteil(c)->CoSelected());
    ASSERT_EQ(m_ports.Messages.size(), 1u);
    EXPECT_EQ(m_ports.Messages[0], "Das Bauteil wird 2 mal im Modell verwendet");
    EXPECT_EQ(m_model->FindPartsInModel("38423"), 0);
    EXPECT_EQ(m_ports.Messages[1], "Dieses Bauteil wird im aktuellen Modell nicht verwendet");
}

TEST_F(ModelTest, DeletingTheSelectedPartLeavesNothingSelected) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->SelectBaustein(a);
    m_model->DeleteBaustein(a);
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    // A later deselection must not touch the freed object.
    m_model->DeSelectAllBausteine();
    m_model->SelectBaustein(b);
    EXPECT_EQ(m_model->SelectedPart(), Object(b));
}

TEST_F(ModelTest, ADeselectedPartKeepsNoMarkThatAnUndoOrTheStatusBarWouldBringBack) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    m_model->SelectBaustein(a);
    m_model->SelectBaustein(b);
    m_model->DeSelectAllBausteine();
    EXPECT_TRUE(m_model->Parts().SelectedMarks().empty());
    // A join takes its snapshot without renewing the marks; the undo of it selects nothing.
    m_model->MakeUndoSnapshot("Combine");
    Add("31010");
    m_model->DoUndo();
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(ObjectColour(a), m_model->FindBauteil(a)->Color());
    EXPECT_EQ(ObjectColour(b), m_model->FindBauteil(b)->Color());
    EXPECT_EQ(m_ports.Status, (std::array<std::string, 4>{}));
    // Deleting the selected part empties the panels that described it.
    m_model->SelectBaustein(a);
    EXPECT_FALSE(m_ports.Status[0].empty());
    m_model->DeleteBaustein(a);
    EXPECT_EQ(m_ports.Status, (std::array<std::string, 4>{}));
}
