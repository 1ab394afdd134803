// The model's placed parts: naming, adding, finding, refreshing, deleting, emptying, redrawing
// and the parts tree.
#include <gtest/gtest.h>

#include "model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

TKineData Link(const std::string& a, const std::string& b, uint8_t modus = 0) {
    TKineData k;
    k.Modus = modus;
    k.Bauteil1 = a;
    k.Bauteil2 = b;
    return k;
}

TCollData Rule(const std::string& a, const std::string& b) {
    TCollData c;
    c.ObjName1 = a;
    c.ObjName2 = b;
    return c;
}

TPipeEx& Hose(TScene& scene, uint32_t colour, int phase, bool visible) {
    auto& h = scene.Root().FindChild("Tubes", false)->AddNewChild<TPipeEx>();
    h.SetColour(colour);
    h.SetDisplayColour(colour);
    h.SetPhase(phase);
    h.SetVisible(visible);
    return h;
}

}  // namespace

// --- Naming -----------------------------------------------------------------------------------

TEST_F(ModelTest, NamesCountUpPerDefinitionAndNeverReuseGaps) {
    EXPECT_EQ(Add("31010"), "F31010_1");
    EXPECT_EQ(Add("31010"), "F31010_2");
    EXPECT_EQ(Add("32064"), "F32064_1");
    EXPECT_EQ(Add("31010"), "F31010_3");
    m_model->DeleteBaustein("F31010_2");
    EXPECT_EQ(Add("31010"), "F31010_4");
    EXPECT_EQ(m_model->GetNewName("31010"), "F31010_5");
    EXPECT_EQ(m_model->GetNewName("38423"), "F38423_1");
}

TEST_F(ModelTest, WantedNameIsUsedOnlyWhenNoPartHasItInAnyLetterCase) {
    EXPECT_EQ(Add("31010", "F31010_1"), "F31010_1");
    // Taken: the next number of the definition instead.
    EXPECT_EQ(Add("31010", "F31010_1"), "F31010_2");
    // Differs only in case: the scene graph would not tell the two apart, so it is taken too.
    EXPECT_EQ(Add("31010", "f31010_1"), "F31010_3");
    EXPECT_EQ(m_model->GetNewName("31010", "F31010_2"), "F31010_4");
    // A free name is kept as it is, whatever it looks like.
    EXPECT_EQ(Add("31010", "Rad vorne"), "Rad vorne");
    EXPECT_EQ(Add("31010", "F31010_17"), "F31010_17");
    EXPECT_EQ(Add("31010"), "F31010_18");
}

TEST_F(ModelTest, DefinitionNumbersInAnotherCaseShareTheirSequence) {
    EXPECT_EQ(Add("COL01"), "FCOL01_1");
    // The same definition typed in lower case must not produce a name that clashes.
    EXPECT_EQ(Add("col01"), "Fcol01_2");
    EXPECT_EQ(m_model->Parts().Count(), 2u);
    EXPECT_NE(Object("FCOL01_1"), Object("Fcol01_2"));
}

TEST_F(ModelTest, ASuffixThatIsNoNumberCountsAsZero) {
    Add("31010", "F31010_x");
    EXPECT_EQ(Add("31010"), "F31010_1");
}

// --- Adding and finding -----------------------------------------------------------------------

TEST_F(ModelTest, AddingBuildsObjectAndRecordFromTheDefinition) {
    m_model->SetBauphase(2);
    const std::string name = Add("31010");
    TFreeForm* object = Object(name);
    ASSERT_TRUE(object);
    EXPECT_EQ(m_model->LastAddedObject(), object);
    EXPECT_EQ(object->Scale(), (TVector3f{0.1f, 0.1f, 0.1f}));
    EXPECT_EQ(object->Position(), (TVector3f{0, 0, 0}));
    EXPECT_TRUE(object->Visible());
    ASSERT_TRUE(object->Mesh());
    EXPECT_EQ(object->Mesh()->TriangleCount(), 5u);
    ASSERT_EQ(object->Count(), 2u);  // one arrow per connector
    const auto& arrow0 = static_cast<const TArrowLine&>(object->Child(0));
    const auto& arrow1 = static_cast<const TArrowLine&>(object->Child(1));
    EXPECT_EQ(arrow0.Color(), (TColor3f{1, 1, 0}));
    EXPECT_EQ(arrow1.Color(), (TColor3f{0, 0, 1}));
    EXPECT_EQ(arrow0.Position(), (TVector3f{15, 0, 0}));
    EXPECT_NEAR(arrow1.Direction().Y, 1, 1e-5);  // pitched by 90 degrees

    const TBauteil* record = m_model->FindBauteil(name);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Object(), object);
    EXPECT_EQ(object->Bauteil(), record);
    EXPECT_EQ(record->Color(), 0x0000FFu);
    EXPECT_EQ(record->Phase(), 2);
    EXPECT_EQ(record->OrgNumber(), "31010");
    EXPECT_EQ(record->Printable(), 1);
    EXPECT_EQ(record->RotationAxis(), 2);
    EXPECT_EQ(record->Teeth(), 7);
    EXPECT_EQ(record->Direction(), object->Direction());
    EXPECT_EQ(record->Up(), object->Up());
    EXPECT_EQ(record->GetShortName(), "31010");

    ASSERT_TRUE(LibMaterial(name));
    EXPECT_EQ(object->LibMaterial(), LibMaterial(name));
    EXPECT_EQ(LibColour(name), 0x0000FFu);
    EXPECT_EQ(LibMaterial(name)->Blending(), TBlendingMode::Transparent);
    EXPECT_FALSE(LibMaterial(name)->HasShader());
    EXPECT_GE(m_ports.CollectionRefreshes, 1);
}

TEST_F(ModelTest, AddingCopiesAlphaOffsetAndTexture) {
    const std::string glass = Add("32064");
    const TBauteil* record = m_model->FindBauteil(glass);
    EXPECT_DOUBLE_EQ(record->Alpha(), 0.5);
    EXPECT_EQ(record->Offset(), (TVector3f{1, 2, 3}));
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
    EXPECT_EQ(Object(glass)->Mesh()->Positions[0], (TVector3f{1, 2, 3}));
    // The cached mesh itself stays unshifted, and a second part shares the shifted copy.
    EXPECT_EQ(Object(Add("32064"))->Mesh(), Object(glass)->Mesh());

    const std::string wood = Add("38423");
    EXPECT_NE(LibMaterial(wood)->TextureFile().find("holz.bmp"), std::string::npos);
    ASSERT_EQ(Object(wood)->Mesh()->TexCoords.size(), Object(wood)->Mesh()->Positions.size());
    EXPECT_FLOAT_EQ(Object(wood)->Mesh()->TexCoords[1][0], 1.0f);  // x 10 over width 10
}

TEST_F(ModelTest, OutlineModeAndHiddenConnectorsApplyToNewParts) {
    m_model->OutlineMode = true;
    m_model->ConnectorsHidden = true;
    const std::string name = Add("31010");
    EXPECT_TRUE(LibMaterial(name)->HasShader());
    EXPECT_FLOAT_EQ(LibMaterial(name)->Diffuse().A, 1.0f);
    EXPECT_FALSE(Object(name)->Child(0).Visible());
}

TEST_F(ModelTest, APartWithoutMeshFileIsNotPlaced) {
    EXPECT_EQ(m_model->AddBaustein("99999"), "");
    EXPECT_EQ(m_model->AddBaustein("00000"), "");
    EXPECT_TRUE(m_model->Parts().Empty());
    EXPECT_EQ(m_scene.PartsRoot()->Count(), 1u);  // the grid only
    EXPECT_TRUE(m_model->UndoList().Empty());
}

TEST_F(ModelTest, FindingComparesNamesExactly) {
    const std::string name = Add("31010");
    EXPECT_EQ(m_model->FindBauteil("F31010_1"), &m_model->Parts()[0]);
    EXPECT_EQ(m_model->FindBauteil("f31010_1"), nullptr);
    EXPECT_EQ(m_model->FindBauteil("F31010_2"), nullptr);
    EXPECT_EQ(m_model->FindBauteil(""), nullptr);
    // Objects are found without regard to case, and only placed parts count.
    EXPECT_EQ(m_model->PartObject("f31010_1"), Object(name));
    EXPECT_EQ(m_model->PartObject("Grid"), nullptr);
    EXPECT_EQ(m_model->PartObject("F31010_2"), nullptr);
}

TEST_F(ModelTest, RenamedRecordsAreFoundUnderTheirNewName) {
    Add("31010");
    Add("31010");
    m_model->Parts()[0].SetName("Achse");
    EXPECT_EQ(m_model->FindBauteil("Achse"), &m_model->Parts()[0]);
    EXPECT_EQ(m_model->FindBauteil("F31010_1"), nullptr);
    EXPECT_EQ(m_model->GetNewName("31010", "F31010_1"), "F31010_1");
    EXPECT_EQ(m_model->GetNewName("31010"), "F31010_3");
}

// --- Refreshing -------------------------------------------------------------------------------

TEST_F(ModelTest, RefreshCopiesPoseColourAndPhaseIntoTheRecord) {
    const std::string name = Add("31010");
    TFreeForm* object = Object(name);
    object->SetPosition({1, 2, 3});
    object->SetDirection({1, 0, 0});
    object->Material().SetDiffuseColor(ColorFromWin(0x00FF00));
    const TBauteil* record = m_model->FindBauteil(name);

    m_model->RefreshBauteil(name, false, -1);
    EXPECT_EQ(record->Position(), (TVector3f{1, 2, 3}));
    EXPECT_EQ(record->Direction(), (TVector3f{1, 0, 0}));
    EXPECT_EQ(record->Color(), 0x0000FFu);
    EXPECT_EQ(record->Phase(), 1);

    m_model->RefreshBauteil(name, true, 4);
    EXPECT_EQ(record->Color(), 0x00FF00u);
    EXPECT_EQ(record->Phase(), 4);

    // Unknown names change nothing and do not fail.
    m_model->RefreshBauteil("F31010_9", true, 2);
    EXPECT_EQ(record->Phase(), 4);
}

TEST_F(ModelTest, RefreshMakesMeasurementsFollowTheirParts) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    MoveAndRefresh(b, {3.5f, 0, 0});
    auto& measurements = m_model->Measurements();
    measurements.push_back(std::make_unique<TMeasurement>(Object(a), Object(b)));
    m_model->RefreshBauteil(a, false, -1);
    EXPECT_NEAR(measurements[0]->Distance(), 3.5, 1e-6);
    MoveAndRefresh(b, {0, 4, 0});
    EXPECT_NEAR(measurements[0]->Distance(), 4.0, 1e-6);
}

// --- Deleting ---------------------------------------------------------------------------------

TEST_F(ModelTest, DeletingRemovesThePartAndEverythingThatRefersToIt) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    const std::string c = Add("32064");
    m_model->KineLinks().push_back(Link(a, b, 0));
    m_model->KineLinks().push_back(Link(c, a, 1));
    m_model->KineLinks().push_back(Link(b, c, 1));
    m_model->CollisionRules().push_back(Rule(b, a));
    m_model->CollisionRules().push_back(Rule(b, c));
    m_model->Motors().Motor(3).PartName = a;
    m_model->Motors().Motor(4).PartName = b;
    auto group = std::make_unique<TGroup>();
    group->Members = {a, c};
    m_model->Groups().push_back(std::move(group));
    auto lonely = std::make_unique<TGroup>();
    lonely->Members = {a};
    m_model->Groups().push_back(std::move(lonely));
    m_model->Measurements().push_back(std::make_unique<TMeasurement>(Object(a), Object(b)));
    m_model->Measurements().push_back(std::make_unique<TMeasurement>(Object(b), Object(c)));
    m_model->Measurements().push_back(std::make_unique<TMeasurement>(Object(c), Object(a)));
    TSceneObject* measurementRoot =
        &m_scene.Root().FindChild("dcMeasurements", false)->AddNewChild<TDummyCube>("m1");
    m_model->Measurements()[0]->Root = measurementRoot;
    m_scene.Camera()->SetTargetObject(Object(a));
    m_model->SelectBaustein(b);
    const size_t snapshots = m_model->UndoList().Count();

    m_model->DeleteBaustein(a);

    EXPECT_EQ(Object(a), nullptr);
    EXPECT_EQ(m_model->FindBauteil(a), nullptr);
    EXPECT_EQ(PartNames(), (std::vector<std::string>{b, c}));
    EXPECT_EQ(LibMaterial(a), nullptr);
    EXPECT_TRUE(LibMaterial(b));
    EXPECT_EQ(m_scene.Camera()->TargetObject(), m_scene.PartsRoot());
    ASSERT_EQ(m_model->KineLinks().size(), 1u);
    EXPECT_EQ(m_model->KineLinks()[0].Bauteil1, b);
    ASSERT_EQ(m_model->CollisionRules().size(), 1u);
    EXPECT_EQ(m_model->CollisionRules()[0].ObjName2, c);
    EXPECT_EQ(m_model->Motors().Motor(3).PartName, "");
    EXPECT_EQ(m_model->Motors().Motor(4).PartName, b);
    ASSERT_EQ(m_model->Groups().size(), 1u);  // the emptied group is dropped
    EXPECT_EQ(m_model->Groups()[0]->Members, (std::vector<std::string>{c}));
    ASSERT_EQ(m_model->Measurements().size(), 1u);
    EXPECT_EQ(m_model->Measurements()[0]->Part1, Object(b));
    EXPECT_EQ(m_scene.Root().FindChild("dcMeasurements", false)->Count(), 0u);
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase", "  " + b, "  " + c}));
    // Nothing is selected any more, and deleting took no snapshot.
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(m_ports.CoordinatesPart, nullptr);
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Delete));
    EXPECT_EQ(m_model->UndoList().Count(), snapshots);
    EXPECT_GE(m_ports.KineRefreshes, 1);

    // Unknown names do nothing.
    m_model->DeleteBaustein("F31010_77");
    EXPECT_EQ(m_model->Parts().Count(), 2u);
}

TEST_F(ModelTest, DeletingByANameInAnotherCaseRemovesObjectAndRecordTogether) {
    const std::string a = Add("31010");
    const std::string b = Add("31010");
    m_model->KineLinks().push_back(Link(a, b));
    m_model->DeleteBaustein("f31010_1");
    EXPECT_EQ(Object(a), nullptr);
    EXPECT_EQ(m_model->FindBauteil(a), nullptr);
    EXPECT_TRUE(m_model->KineLinks().empty());
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase", "  " + b}));
    for (const auto& r : m_model->Parts()) {
        EXPECT_EQ(r->Object(), Object(r->Name()));
    }
}

TEST_F(ModelTest, DeleteAllEmptiesTheModel) {
    const std::string a = Add("31010");
    Add("32064");
    m_model->SetBauphase(3);
    m_model->SetHighestVisiblePhase(3);
    m_model->SetPhaseVisible(2, false);
    m_model->FileName = "/tmp/x.kxm";
    m_model->HoseRegister().emplace_back().Name = "Schlauch_1";
    m_scene.Root().FindChild("Tubes", false)->AddNewChild<TPipeEx>("Schlauch_1");
    m_scene.Root().FindChild("Outline", false)->AddNewChild<TDummyCube>("o");
    m_model->KineLinks().push_back(Link(a, ""));
    m_model->CollisionRules().push_back(Rule(a, ""));
    m_model->Motors().Motor(1).PartName = a;
    m_model->Groups().push_back(std::make_unique<TGroup>());
    m_model->Measurements().push_back(std::make_unique<TMeasurement>(Object(a), Object(a)));
    m_model->SemiFinishedParts().emplace_back().Name = "X0001";
    m_model->Information().InfModell = "Kran";
    m_model->Information().Description = {"Zeile"};
    m_model->AniLength = 480;
    m_model->Cameras()[2].PositionX = 5;
    m_model->Cameras()[2].Name = "Oben";
    m_scene.Light(2)->SetShining(false);
    m_scene.CameraTarget()->SetPosition({4, 5, 6});
    m_model->SelectBaustein(a);

    m_model->DeleteAll();

    EXPECT_TRUE(m_model->Parts().Empty());
    ASSERT_EQ(m_scene.PartsRoot()->Count(), 1u);
    EXPECT_EQ(m_scene.PartsRoot()->Child(0).Kind(), TSceneObjectKind::Grid);
    EXPECT_EQ(m_scene.MaterialLibrary().Count(), 0u);
    EXPECT_EQ(m_scene.Root().FindChild("Tubes", false)->Count(), 0u);
    EXPECT_EQ(m_scene.Root().FindChild("Outline", false)->Count(), 0u);
    EXPECT_TRUE(m_model->FileName.empty());
    EXPECT_TRUE(m_model->HoseRegister().empty());
    EXPECT_TRUE(m_model->Hoses().empty());
    EXPECT_TRUE(m_model->KineLinks().empty());
    EXPECT_TRUE(m_model->CollisionRules().empty());
    EXPECT_EQ(m_model->Motors().Motor(1).PartName, "");
    EXPECT_TRUE(m_model->Groups().empty());
    EXPECT_TRUE(m_model->Measurements().empty());
    EXPECT_TRUE(m_model->SemiFinishedParts().empty());
    EXPECT_EQ(m_model->Information(), TModelInformation{});
    EXPECT_EQ(m_model->AniLength, 100);
    EXPECT_EQ(m_model->Cameras()[2].Name, "Kamera 3");
    EXPECT_EQ(m_model->Cameras()[2].PositionX, 0);
    EXPECT_EQ(m_model->Cameras()[2].PositionZ, -10);
    EXPECT_TRUE(m_model->UndoList().Empty());
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Undo));
    EXPECT_FALSE(m_ports.IsEnabled(TModelCommand::Delete));
    EXPECT_EQ(m_model->CurrentPhase(), 1);
    EXPECT_EQ(m_model->HighestVisiblePhase(), kNoPhaseLimit);
    EXPECT_TRUE(m_model->PhaseVisible(2));
    EXPECT_TRUE(m_scene.Light(2)->Shining());
    EXPECT_EQ(m_scene.Camera()->TargetObject(), m_scene.CameraTarget());
    EXPECT_EQ(m_scene.CameraTarget()->Position(), (TVector3f{0, 0, 0}));
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase"}));
    EXPECT_GE(m_ports.SequenceClears, 1);
    // Names start again from 1.
    EXPECT_EQ(Add("31010"), "F31010_1");
}

// --- Redrawing --------------------------------------------------------------------------------

TEST_F(ModelTest, RepaintRestoresPosesAndHidesAndWhitensPhasesAsTheSettingsSay) {
    const std::string p1 = Add("31010");
    m_model->SetBauphase(2);
    const std::string p2 = Add("31010");
    m_model->SetBauphase(3);
    const std::string p3 = Add("31010");
    m_model->SetBauphase(2);
    Object(p2)->SetPosition({9, 9, 9});  // moved but not refreshed
    Param().SetHideOtherStages(true);
    Param().SetPaintOldWhite(true);

    m_model->Repaint();

    EXPECT_EQ(m_model->HighestVisiblePhase(), 2);
    EXPECT_TRUE(Object(p1)->Visible());
    EXPECT_TRUE(Object(p2)->Visible());
    EXPECT_FALSE(Object(p3)->Visible());
    EXPECT_EQ(ObjectColour(p1), 0xFFFFFFu);
    EXPECT_EQ(LibColour(p1), 0xFFFFFFu);
    EXPECT_EQ(ObjectColour(p2), 0x0000FFu);
    EXPECT_EQ(Object(p2)->Position(), (TVector3f{0, 0, 0}));
    EXPECT_EQ(m_ports.Waits, 0);

    Param().SetHideOtherStages(false);
    Param().SetPaintOldWhite(false);
    m_model->SetPhaseVisible(1, false);
    m_model->Repaint();
    EXPECT_EQ(m_model->HighestVisiblePhase(), kNoPhaseLimit);
    EXPECT_FALSE(Object(p1)->Visible());
    EXPECT_TRUE(Object(p3)->Visible());
    EXPECT_EQ(ObjectColour(p3), 0x0000FFu);
    // The record's colour stays its own throughout.
    EXPECT_EQ(m_model->FindBauteil(p1)->Color(), 0x0000FFu);
}

TEST_F(ModelTest, RepaintHidesCollisionBodiesOnRequestAndLeavesUnphasedHosesAlone) {
    const std::string body = Add("COL01");
    TPipeEx& unphased = Hose(m_scene, 0x00FF00, 0, false);
    TPipeEx& phased = Hose(m_scene, 0x00FF00, 1, false);
    m_model->SetBauphase(2);
    Param().SetPaintOldWhite(true);

    m_model->Repaint();
    EXPECT_TRUE(Object(body)->Visible());
    EXPECT_FALSE(unphased.Visible());
    EXPECT_TRUE(phased.Visible());
    EXPECT_EQ(phased.DisplayColour(), 0xFFFFFFu);

    m_model->ShowCollisionBodies = false;
    m_model->Repaint();
    EXPECT_FALSE(Object(body)->Visible());
}

TEST_F(ModelTest, RepaintPlacesASemiTransparentPartWithItsAlpha) {
    const std::string glass = Add("32064");
    m_model->Repaint();
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
    // A part drawn with the outline shader is drawn opaque.
    m_model->OutlineMode = true;
    const std::string outlined = Add("32064");
    m_model->Repaint();
    EXPECT_FLOAT_EQ(LibMaterial(outlined)->Diffuse().A, 1.0f);
    EXPECT_FLOAT_EQ(Object(outlined)->Material().Diffuse().A, 0.5f);
}

// --- Parts tree -------------------------------------------------------------------------------

TEST_F(ModelTest, TreeListsPhasesInCreationOrderUntilRecreated) {
    m_model->SetBauphase(3);
    const std::string a = Add("31010");
    m_model->SetBauphase(1);
    const std::string b = Add("31010");
    m_model->SetBauphase(2);
    const std::string c = Add("32064");
    const std::string d = Add("31010");
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase", "  " + b, "3. Bauphase",
                                                     "  " + a, "2. Bauphase", "  " + c, "  " + d}));
    m_model->RecreateTreeView();
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase", "  " + b, "2. Bauphase",
                                                     "  " + c, "  " + d, "3. Bauphase", "  " + a}));
    EXPECT_EQ(m_model->CurrentPhase(), 2);
    EXPECT_EQ(m_model->PartsTree().Phase(1).Children[1].Data, m_model->FindBauteil(d));

    m_model->SetPhaseVisible(3, false);
    m_model->UpdateTreeView();
    EXPECT_EQ(m_model->PartsTree().Phase(0).Image, 2);
    EXPECT_EQ(m_model->PartsTree().Phase(1).Image, 0);
    EXPECT_EQ(m_model->PartsTree().Phase(2).Image, 3);
}

TEST_F(ModelTest, TreeReportsEveryChangeToTheWidget) {
    m_ports.Events.clear();
    m_model->SetBauphase(2);
    const std::string a = Add("31010");
    EXPECT_EQ(m_ports.Events, (std::vector<std::string>{"tree insert 1/-1", "tree insert 1/0"}));
    m_ports.Events.clear();
    m_model->DeleteBaustein(a);
    EXPECT_EQ(m_ports.Events, (std::vector<std::string>{"tree remove 1/0"}));
}

TEST_F(ModelTest, ClickingTreeNodesSelectsAndDeselects) {
    const std::string a = Add("31010");
    m_model->PartsTreeNodeSelected({0, 0});
    EXPECT_EQ(m_model->SelectedPart(), Object(a));
    EXPECT_EQ(m_ports.SelectedNode, (TTreePos{0, 0}));
    m_model->PartsTreeNodeSelected({0, -1});
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
}

TEST_F(ModelTest, ModelInformationIsTakenOnlyWhenConfirmed) {
    m_ports.EditedInformation.InfModell = "Kran";
    m_ports.ConfirmInformation = false;
    m_model->ShowModellInformation();
    EXPECT_EQ(m_model->Information().InfModell, "");
    m_ports.ConfirmInformation = true;
    m_model->ShowModellInformation();
    EXPECT_EQ(m_model->Information().InfModell, "Kran");
}

TEST_F(ModelTest, CombineTakesOneSnapshotAndOpensTheConnectorWindowWithoutFurtherOnes) {
    const std::string a = Add("31010");
    m_model->SelectBaustein(a);
    const size_t before = m_model->UndoList().Count();
    m_ports.OnConnectorWindow = [&] { m_model->AddBaustein("32064"); };
    m_model->Combine(*Object(a), "32064", 1);
    EXPECT_NE(
        std::find(m_ports.Events.begin(), m_ports.Events.end(), "connector " + a + " 32064 1"),
        m_ports.Events.end());
    EXPECT_EQ(m_model->UndoList().Count(), before + 1);
    EXPECT_EQ(m_model->UndoList().Last().Action, "Combine");
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_FALSE(m_model->UndoSuppressed());
    EXPECT_EQ(m_model->Parts().Count(), 2u);
}

TEST_F(ModelTest, ColorizeLibChangesOnlyTheLibraryMaterial) {
    const std::string glass = Add("32064");
    m_model->ColorizeLib(*Object(glass), 0x00FF00);
    EXPECT_EQ(LibColour(glass), 0x00FF00u);
    EXPECT_FLOAT_EQ(LibMaterial(glass)->Diffuse().A, 0.5f);
    EXPECT_EQ(ObjectColour(glass), 0xC80000u);
}
