// Undo: snapshots and their skip rules, undoing steps, rebuilding the part objects, the bound
// of the list, and what refers to part objects after an undo.
#include <gtest/gtest.h>

#include "model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

std::vector<std::string> Actions(const TUndoList& list) {
    std::vector<std::string> actions;
    for (size_t i = 0; i < list.Count(); ++i) {
        actions.push_back(list[i].Action + "(" + list[i].Argument + ")");
    }
    return actions;
}

}  // namespace

TEST_F(ModelTest, UndoingAnAddRemovesThePart) {
    Add("31010");
    const std::string b = Add("32064");
    ASSERT_EQ(m_model->UndoList().Count(), 2u);
    EXPECT_EQ(m_model->UndoList().Last().Parts.Count(), 1u);
    EXPECT_TRUE(m_ports.IsEnabled(TModelCommand::Undo));

    m_model->DoUndo();
    EXPECT_EQ(PartNames(), (std::vector<std::string>{"F31010_1"}));
    EXPECT_EQ(Object(b), nullptr);
    EXPECT_EQ(LibMaterial(b), nullptr);
    EXPECT_TRUE(m_ports.IsEnabled(TModelCommand::Undo));

    m_model->DoUndo();
    EXPECT_TRUE(m_model->Parts().Empty());
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Undo));
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase"}));
    // The grid is back, the undo with an empty list does nothing.
    EXPECT_TRUE(m_scene.PartsRoot()->FindChild("Grid", false));
    m_model->DoUndo();
    EXPECT_TRUE(m_model->Parts().Empty());
}

TEST_F(ModelTest, SkipRulesForRepeatedSnapshots) {
    m_model->MakeUndoSnapshot("SelectBaustein", "A");
    m_model->MakeUndoSnapshot("SelectBaustein", "A");
    m_model->MakeUndoSnapshot("SelectBaustein", "B");
    m_model->MakeUndoSnapshot("Färben", "B");
    m_model->MakeUndoSnapshot("Färben", "B");
    m_model->MakeUndoSnapshot("Färben", "C");
    m_model->MakeUndoSnapshot("SelectAll", "x");
    m_model->MakeUndoSnapshot("SelectAll", "y");
    m_model->MakeUndoSnapshot("DeselectAllBausteine", "");
    m_model->MakeUndoSnapshot("DeselectAllBausteine", "z");
    m_model->MakeUndoSnapshot("CoSelectBaustein", "A");
    m_model->MakeUndoSnapshot("CoSelectBaustein", "A");
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->MakeUndoSnapshot("färben", "C");
    m_model->MakeUndoSnapshot("färben", "C");
    EXPECT_EQ(
        Actions(m_model->UndoList()),
        (std::vector<std::string>{"SelectBaustein(A)", "SelectBaustein(B)", "Färben(B)",
                                  "Färben(C)", "SelectAll(x)", "DeselectAllBausteine()",
                                  "CoSelectBaustein(A)", "CoSelectBaustein(A)", "btnXPosClick()",
                                  "btnXPosClick()", "färben(C)", "färben(C)"}));

    m_model->SetUndoSuppressed(true);
    m_model->MakeUndoSnapshot("Combine", "");
    m_model->SetUndoSuppressed(false);
    EXPECT_EQ(m_model->UndoList().Count(), 12u);
}

TEST_F(ModelTest, SelectingTheSamePartTwiceTakesOneSnapshot) {
    const std::string a = Add("31010");
    const size_t before = m_model->UndoList().Count();
    m_model->SelectBaustein(a);
    m_model->SelectBaustein(a);
    EXPECT_EQ(m_model->UndoList().Count(), before + 1);
}

TEST_F(ModelTest, UndoReturnsToTheSnapshotAndSelectsTheMarkedPartAgain) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->SelectBaustein(a);
    MoveAndRefresh(a, {1, 0, 0});
    m_model->SelectBaustein(b);  // snapshot: A at 1, A selected
    MoveAndRefresh(a, {2, 0, 0});
    MoveAndRefresh(b, {0, 5, 0});

    m_model->DoUndo();
    EXPECT_EQ(m_model->FindBauteil(a)->Position(), (TVector3f{1, 0, 0}));
    EXPECT_EQ(m_model->FindBauteil(b)->Position(), (TVector3f{0, 0, 0}));
    EXPECT_EQ(Object(a)->Position(), (TVector3f{1, 0, 0}));
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
    EXPECT_EQ(m_ports.CoordinatesPart, Object(a));
    EXPECT_EQ(ObjectColour(a), kSelectedColor);
    EXPECT_EQ(ObjectColour(b), 0x0000FFu);
    EXPECT_FALSE(m_model->UndoSuppressed());
}

TEST_F(ModelTest, EachMoveStepIsUndoneOnItsOwn) {
    const std::string a = Add("31010");
    for (int i = 1; i <= 3; ++i) {
        m_model->MakeUndoSnapshot("btnXPosClick", "");
        MoveAndRefresh(a, {static_cast<float>(i), 0, 0});
    }
    for (int i = 2; i >= 0; --i) {
        m_model->DoUndo();
        EXPECT_EQ(m_model->FindBauteil(a)->Position().X, static_cast<float>(i));
        EXPECT_EQ(Object(a)->Position().X, static_cast<float>(i));
    }
}

TEST_F(ModelTest, UndoAfterADeleteBringsThePartBack) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->DeleteBaustein(a);
    m_model->DoUndo();
    EXPECT_EQ(PartNames(), (std::vector<std::string>{a, b}));
    ASSERT_TRUE(Object(a));
    EXPECT_EQ(Object(a)->Bauteil(), m_model->FindBauteil(a));
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase", "  " + a, "  " + b}));
}

TEST_F(ModelTest, SnapshotsKeepTheStateOfTheirMomentWhateverChangesLater) {
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i) {  // more than one block of shared records
        names.push_back(Add(i % 2 ? "31010" : "32064"));
    }
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    TBauteil& record = *m_model->FindBauteil(names[70]);
    record.SetColor(0x123456);
    TKeyData key;
    key.PositionX = 1;
    key.Time = 5;
    record.AddKey(key);
    m_model->FindBauteil(names[3])->SetPhase(7);
    m_model->MakeUndoSnapshot("btnYPosClick", "");
    m_model->FindBauteil(names[149])->SetName("Letzter");
    m_model->MakeUndoSnapshot("btnZPosClick", "");

    const TUndoList& list = m_model->UndoList();
    const TUndoData& first = list[list.Count() - 3];
    const TUndoData& second = list[list.Count() - 2];
    const TUndoData& third = list.Last();
    EXPECT_EQ(first.Parts[70].Color(), 0xC80000u);
    EXPECT_TRUE(first.Parts[70].Keys().empty());
    EXPECT_EQ(second.Parts[70].Color(), 0x123456u);
    EXPECT_EQ(second.Parts[70].Keys().size(), 1u);
    EXPECT_EQ(first.Parts[3].Phase(), 1);
    EXPECT_EQ(second.Parts[3].Phase(), 7);
    EXPECT_EQ(second.Parts[149].Name(), names[149]);
    EXPECT_EQ(third.Parts[149].Name(), "Letzter");
    for (size_t i = 0; i < 150; ++i) {
        EXPECT_EQ(third.Parts[i].Object(), nullptr);
        EXPECT_TRUE(third.Parts[i].SameValues(m_model->Parts()[i])) << i;
    }

    m_model->DoUndo();
    EXPECT_TRUE(m_model->FindBauteil("Letzter"));
    m_model->DoUndo();
    EXPECT_EQ(m_model->FindBauteil("Letzter"), nullptr);
    EXPECT_EQ(m_model->FindBauteil(names[149])->Object(), Object(names[149]));
    EXPECT_EQ(m_model->FindBauteil(names[70])->Color(), 0x123456u);
    EXPECT_EQ(m_model->FindBauteil(names[3])->Phase(), 7);
    m_model->DoUndo();
    EXPECT_EQ(m_model->FindBauteil(names[70])->Color(), 0xC80000u);
    EXPECT_TRUE(m_model->FindBauteil(names[70])->Keys().empty());
    EXPECT_EQ(m_model->FindBauteil(names[3])->Phase(), 1);
}

TEST_F(ModelTest, UndoRebuildsEveryObjectFromItsRecord) {
    const std::string glass = Add("32064");
    const std::string red = Add("31010");
    const std::string wood = Add("38423");
    TFreeForm* oldRed = Object(red);
    m_model->SetBauphase(2);
    m_model->FindBauteil(red)->SetPhase(3);
    m_model->SetPhaseVisible(3, false);
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->FindBauteil(glass)->SetColor(0x00FF00);
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    Param().SetPaintOldWhite(true);

    m_model->DoUndo();
    TFreeForm* rebuilt = Object(red);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->Bauteil(), m_model->FindBauteil(red));
    EXPECT_EQ(m_model->FindBauteil(red)->Object(), rebuilt);
    EXPECT_EQ(rebuilt->Count(), 2u);
    EXPECT_FALSE(rebuilt->Child(0).ShowAxes());
    EXPECT_FALSE(rebuilt->Visible());  // phase 3 is hidden
    EXPECT_EQ(LibColour(glass), 0x00FF00u);
    EXPECT_EQ(ObjectColour(glass), 0xFFFFFFu);  // phase 1 below current phase 2
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
    EXPECT_EQ(LibMaterial(glass)->Blending(), TBlendingMode::Transparent);
    EXPECT_EQ(Object(glass)->Mesh()->Positions[0], (TVector3f{1, 2, 3}));
    EXPECT_NE(Object(wood)->Material().TextureFile().find("holz.bmp"), std::string::npos);
    EXPECT_EQ(m_scene.PartsRoot()->Count(), 4u);  // three parts and the grid
    EXPECT_EQ(m_scene.MaterialLibrary().Count(), 3u);
    (void)oldRed;
}

TEST_F(ModelTest, UndoInOutlineModeGivesEveryPartTheOutlineShader) {
    const std::string a = Add("31010");
    m_model->OutlineMode = true;
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->DoUndo();
    EXPECT_TRUE(LibMaterial(a)->HasShader());
}

TEST_F(ModelTest, CoSelectedPartsStayCoSelectedAfterUndo) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->SelectBaustein(a);
    m_model->CoSelectBaustein(b, true, true, false);
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->DoUndo();
    EXPECT_TRUE(m_model->FindBauteil(b)->CoSelected());
    EXPECT_EQ(ObjectColour(b), kCoSelectedColor);
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
}

TEST_F(ModelTest, CombineSnapshotsDoNotTouchTheSelectedMarks) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->SelectBaustein(a);
    m_model->FindBauteil(b)->SetSelected(true);
    m_model->MakeUndoSnapshot("Combine", "");
    EXPECT_TRUE(m_model->FindBauteil(a)->Selected());
    EXPECT_TRUE(m_model->FindBauteil(b)->Selected());
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    EXPECT_TRUE(m_model->FindBauteil(a)->Selected());
    EXPECT_FALSE(m_model->FindBauteil(b)->Selected());
    EXPECT_TRUE(m_model->UndoList().Last().Parts[0].Selected());
}

TEST_F(ModelTest, TheUndoListKeepsTheNewestHundredSteps) {
    const std::string a = Add("31010");
    for (int i = 1; i <= 150; ++i) {
        m_model->MakeUndoSnapshot("btnXPosClick", "");
        MoveAndRefresh(a, {static_cast<float>(i), 0, 0});
    }
    EXPECT_EQ(m_model->UndoList().Count(), TUndoList::MaxSteps);
    for (int i = 149; i >= 50; --i) {
        m_model->DoUndo();
        ASSERT_EQ(m_model->FindBauteil(a)->Position().X, static_cast<float>(i));
    }
    EXPECT_TRUE(m_model->UndoList().Empty());
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Undo));
}

TEST_F(ModelTest, AfterUndoMeasurementsAndSelectionReferToTheRebuiltObjects) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    MoveAndRefresh(b, {2, 0, 0});
    m_model->SelectBaustein(a);
    auto& measurements = m_model->Measurements();
    measurements.push_back(std::make_unique<TMeasurement>(Object(a), Object(b)));
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    const std::string c = Add("32064");
    measurements.push_back(std::make_unique<TMeasurement>(Object(a), Object(c)));
    TSceneObject& drawing =
        m_scene.Root().FindChild("dcMeasurements", false)->AddNewChild<TDummyCube>("m2");
    measurements[1]->Root = &drawing;
    MoveAndRefresh(b, {3, 0, 0});
    const int refreshes = m_ports.MeasurementRefreshes;

    m_model->DoUndo();  // back to before C existed
    ASSERT_EQ(measurements.size(), 1u);
    EXPECT_EQ(measurements[0]->Part1, Object(a));
    EXPECT_EQ(measurements[0]->Part2, Object(b));
    EXPECT_NEAR(measurements[0]->Distance(), 2.0, 1e-6);
    EXPECT_EQ(m_scene.Root().FindChild("dcMeasurements", false)->Count(), 0u);
    EXPECT_GT(m_ports.MeasurementRefreshes, refreshes);
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
    EXPECT_EQ(m_model->LastAddedObject(), nullptr);

    // Every operation on the rebuilt objects works on live objects.
    m_model->DeleteBaustein(b);
    EXPECT_TRUE(measurements.empty());
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(ObjectColour(a), 0x0000FFu);  // no longer selected, so no longer highlighted
    EXPECT_FALSE(Object(a)->ShowAxes());
}

TEST_F(ModelTest, UndoHidesTheTreeWhileItRebuilds) {
    Add("31010");
    m_ports.Events.clear();
    m_model->DoUndo();
    const auto hidden = std::find(m_ports.Events.begin(), m_ports.Events.end(), "tree hidden");
    const auto shown = std::find(m_ports.Events.begin(), m_ports.Events.end(), "tree shown");
    ASSERT_NE(hidden, m_ports.Events.end());
    ASSERT_NE(shown, m_ports.Events.end());
    EXPECT_LT(hidden, shown);
    EXPECT_TRUE(m_ports.TreeShown);
}

TEST_F(ModelTest, UndoInGroupModeKeepsTheCoSelectionOfTheSnapshot) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    const std::string c = Add("31010");
    auto group = std::make_unique<TGroup>();
    group->Members = {a, b, c};
    m_model->Groups().push_back(std::move(group));
    m_ports.GroupMode = true;
    m_model->SelectBaustein(b);
    m_model->MakeUndoSnapshot("btnXPosClick", "");
    m_model->DoUndo();
    EXPECT_EQ(m_model->SelectedPart(), Object(b));
    EXPECT_TRUE(m_model->FindBauteil(a)->CoSelected());
    EXPECT_TRUE(m_model->FindBauteil(c)->CoSelected());
    EXPECT_EQ(ObjectColour(a), kCoSelectedColor);
    EXPECT_EQ(ObjectColour(c), kCoSelectedColor);
}
