// Build phases and groups of the model: switching, visibility, white painting, moving parts
// between phases, grouping, the groups tree, duplicating, phases outside the flag table.
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "view/u_colour.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

class TRecordingView : public TNullModelView {
public:
    bool GroupModeDown() const override { return GroupMode; }
    void ShowInformation(const std::string& text) override { Messages.push_back(text); }
    void CurrentPhaseChanged(int phase) override { ShownPhase = phase; }
    void GroupsTreeChanged() override { ++GroupsTreeRefills; }
    void EnableCommand(TModelCommand command, bool enabled) override {
        Enabled[static_cast<int>(command)] = enabled;
    }
    bool IsEnabled(TModelCommand command) const { return Enabled[static_cast<int>(command)]; }

    bool GroupMode = false;
    std::vector<std::string> Messages;
    int ShownPhase = 0;
    int GroupsTreeRefills = 0;
    bool Enabled[4] = {};
};

class TScriptedPhaseWindows : public TPhaseWindows {
public:
    int SelectStage(int count) override {
        StageCounts.push_back(count);
        return StageAnswer;
    }
    bool ChooseVisiblePhases(std::vector<bool>& visible) override {
        Offered = visible;
        if (Edit) {
            Edit(visible);
        }
        return Confirm;
    }

    int StageAnswer = 0;
    std::vector<int> StageCounts;
    std::vector<bool> Offered;
    std::function<void(std::vector<bool>&)> Edit;
    bool Confirm = true;
};

TMesh Triangle() {
    TMesh m;
    m.Positions = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    m.Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    return m;
}

class Phases : public ::testing::Test {
protected:
    Phases()
        : m_files((WriteKit(), m_dir / "prog"), m_dir / "user"),
          m_model((BuildMainScene(m_scene), m_scene), m_files, m_defs, m_meshes) {
        m_model.SetView(&m_view);
        m_model.SetPhaseWindows(&m_windows);
        m_model.DeleteAll();
    }

    void WriteKit() {
        for (const char* number : {"31010", "32064", "35049"}) {
            ASSERT_TRUE(WriteStlFile(m_dir / "prog" / "hires" / (std::string(number) + ".stl"),
                                     Triangle()));
        }
    }

    /// Adds a part in the given phase, coloured and placed so that it can be told apart.
    std::string Add(int phase, uint32_t colour = 0x0000FF, std::string_view number = "31010") {
        m_model.SetBauphase(phase);
        const std::string name = m_model.AddBaustein(number);
        EXPECT_FALSE(name.empty());
        TBauteil* r = m_model.FindBauteil(name);
        r->SetColor(colour);
        r->SetPosition({static_cast<float>(m_model.Parts().Count()), 2, 3});
        return name;
    }

    TFreeForm& Object(const std::string& name) { return *m_model.FindBauteil(name)->Object(); }
    bool Shown(const std::string& name) { return Object(name).Visible(); }
    uint32_t Drawn(const std::string& name) {
        return ColorToWin(Object(name).Material().Diffuse().Rgb());
    }
    int PhaseOf(const std::string& name) { return m_model.FindBauteil(name)->Phase(); }
    std::vector<int> TreePhases() const {
        std::vector<int> phases;
        for (const auto& node : m_model.PartsTree().Nodes()) {
            phases.push_back(node.StateIndex);
        }
        return phases;
    }
    std::vector<std::string> TreeChildren(int phase) const {
        std::vector<std::string> names;
        const int row = m_model.PartsTree().FindPhase(phase);
        if (row >= 0) {
            for (const auto& c : m_model.PartsTree().Phase(static_cast<size_t>(row)).Children) {
                names.push_back(c.Text);
            }
        }
        return names;
    }
    TTreePos NodeOf(const std::string& text) const { return *m_model.PartsTree().FindText(text); }

    kxtest::TPrivateSettings m_settings;
    kxtest::TTempDir m_dir;
    TPartFiles m_files;
    TScene m_scene;
    TDefCache m_defs;
    TffCache m_meshes;
    TkxMain m_model;
    TRecordingView m_view;
    TScriptedPhaseWindows m_windows;
};

}  // namespace

// --- Phase switching --------------------------------------------------------------------------

TEST_F(Phases, NewModelHasPhaseOneOnlyAndFirstNewPhaseIsTwo) {
    EXPECT_EQ(m_model.CurrentPhase(), 1);
    EXPECT_EQ(TreePhases(), std::vector<int>{1});
    EXPECT_EQ(m_model.HighestVisiblePhase(), kNoPhaseLimit);
    for (int p = 1; p <= kPhaseCount; ++p) {
        ASSERT_TRUE(m_model.PhaseVisible(p)) << p;
    }

    EXPECT_EQ(m_model.NewBauphase(), 2);
    EXPECT_EQ(m_model.CurrentPhase(), 2);
    EXPECT_EQ(m_view.ShownPhase, 2);  // the build-phase display follows
    EXPECT_EQ(TreePhases(), (std::vector<int>{1, 2}));
    EXPECT_EQ(m_model.PartsTree().Phase(1).Text, "2. Bauphase");
    EXPECT_EQ(m_model.PartsTree().Phase(1).Image, 0);  // the current phase
    EXPECT_EQ(m_model.PartsTree().Phase(0).Image, 2);

    const std::string part = m_model.AddBaustein("31010");
    EXPECT_EQ(PhaseOf(part), 2);
    EXPECT_EQ(TreeChildren(2), std::vector<std::string>{part});
    EXPECT_EQ(m_model.NewBauphase(), 3);
}

TEST_F(Phases, NewPhaseDeselectsAndFollowsTheHighestPhaseInTheTree) {
    const std::string a = Add(1);
    Add(5);  // a loaded model may jump phases
    m_model.SelectBaustein(a);
    ASSERT_NE(m_model.SelectedPart(), nullptr);
    EXPECT_EQ(m_model.NewBauphase(), 6);
    EXPECT_EQ(m_model.SelectedPart(), nullptr);
}

TEST_F(Phases, ChangingPhaseNeedsATreeNodeAndTakesThePartNodesParent) {
    const std::string a = Add(1);
    const std::string b = Add(2);
    m_model.SetBauphase(2);

    EXPECT_FALSE(m_model.ChangeBauphase(std::nullopt));
    ASSERT_EQ(m_view.Messages.size(), 1u);
    EXPECT_EQ(m_view.Messages[0], "Wählen Sie zunächst eine Bauphase im Bauteilefenster aus.");
    EXPECT_EQ(m_model.CurrentPhase(), 2);

    EXPECT_TRUE(m_model.ChangeBauphase(NodeOf(a)));  // a part node: its phase
    EXPECT_EQ(m_model.CurrentPhase(), 1);
    EXPECT_EQ(m_model.PartsTree().Phase(0).Image, 0);
    EXPECT_EQ(m_model.PartsTree().Phase(1).Image, 2);
    EXPECT_TRUE(m_model.ChangeBauphase(NodeOf("2. Bauphase")));
    EXPECT_EQ(m_model.CurrentPhase(), 2);
    EXPECT_EQ(m_view.Messages.size(), 1u);
    (void)b;
}

// --- Visibility and white painting against the settings -----------------------------------------

TEST_F(Phases, RepaintHidesLaterPhasesOnlyWhenTheSettingSaysSo) {
    const std::string p1 = Add(1, 0x0000FF);
    const std::string p2 = Add(2, 0x00FF00);
    const std::string p3 = Add(3, 0xFF0000);
    m_settings.Param().SetPaintOldWhite(false);

    m_model.SetBauphase(2);
    m_settings.Param().SetHideOtherStages(true);
    m_model.Repaint();
    EXPECT_EQ(m_model.HighestVisiblePhase(), 2);
    EXPECT_TRUE(Shown(p1));
    EXPECT_TRUE(Shown(p2));
    EXPECT_FALSE(Shown(p3));
    EXPECT_EQ(Drawn(p1), 0x0000FFu);  // not white: the setting is off

    m_settings.Param().SetHideOtherStages(false);
    m_model.Repaint();
    EXPECT_EQ(m_model.HighestVisiblePhase(), kNoPhaseLimit);
    EXPECT_TRUE(Shown(p3));
    EXPECT_EQ(Drawn(p3), 0xFF0000u);
}

TEST_F(Phases, EarlierPhasesArePaintedWhiteByDefaultAndKeepTheirOwnColour) {
    const std::string p1 = Add(1, 0x0000FF);
    const std::string p2 = Add(2, 0x00FF00);
    const std::string p3 = Add(3, 0xFF0000);
    m_model.SetBauphase(2);
    m_model.Repaint();  // PAINTOLDWHITE is missing: it reads as on
    EXPECT_EQ(Drawn(p1), kOldPhaseColor);
    EXPECT_EQ(Drawn(p2), 0x00FF00u);
    EXPECT_EQ(Drawn(p3), 0xFF0000u);
    EXPECT_EQ(m_model.FindBauteil(p1)->Color(), 0x0000FFu);  // the record keeps its colour

    // Deselecting a part of an earlier phase paints it white again, not in its own colour.
    m_model.SelectBaustein(p1);
    EXPECT_EQ(Drawn(p1), kSelectedColor);
    m_model.DeSelectAllBausteine();
    EXPECT_EQ(Drawn(p1), kOldPhaseColor);

    m_settings.Param().SetPaintOldWhite(false);
    m_model.Repaint();
    EXPECT_EQ(Drawn(p1), 0x0000FFu);
}

TEST_F(Phases, HiddenPhaseNodeHidesItsPartsUntilShownAgain) {
    const std::string p1 = Add(1);
    const std::string p2 = Add(2);
    m_model.SetBauphase(2);
    const TTreePos phase1 = NodeOf("1. Bauphase");

    m_model.SetPhaseNodeVisible(phase1, false);
    EXPECT_FALSE(m_model.PhaseVisible(1));
    EXPECT_EQ(m_model.PartsTree().Node(phase1).Image, 3);
    EXPECT_FALSE(Shown(p1));
    EXPECT_TRUE(Shown(p2));

    m_model.SetPhaseNodeVisible(NodeOf(p2), false);  // a part node: nothing
    EXPECT_TRUE(m_model.PhaseVisible(2));

    m_model.SetPhaseNodeVisible(phase1, true);
    EXPECT_TRUE(m_model.PhaseVisible(1));
    EXPECT_EQ(m_model.PartsTree().Node(phase1).Image, 2);
    EXPECT_TRUE(Shown(p1));
}

TEST_F(Phases, VisiblePhasesWindowOffersPhasesUpToTheHighestPartPhaseAndAppliesOnlyOnOk) {
    Add(1);
    Add(3);
    m_model.SetPhaseVisible(2, false);

    // "Umkehren": 1 and 3 visible, 2 hidden becomes the opposite.
    m_windows.Edit = [](std::vector<bool>& v) { v.flip(); };
    m_model.BauphasenUebersicht();
    EXPECT_EQ(m_windows.Offered, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(m_model.PhaseVisible(1));
    EXPECT_TRUE(m_model.PhaseVisible(2));
    EXPECT_FALSE(m_model.PhaseVisible(3));
    EXPECT_TRUE(m_model.PhaseVisible(4));  // beyond the list: untouched

    m_windows.Confirm = false;
    m_model.BauphasenUebersicht();
    EXPECT_FALSE(m_model.PhaseVisible(1));
    EXPECT_TRUE(m_model.PhaseVisible(2));
}

TEST_F(Phases, VisiblePhasesWindowWithoutPartsOpensNoWindow) {
    m_windows.Offered = {true};
    m_model.BauphasenUebersicht();
    EXPECT_EQ(m_windows.Offered, std::vector<bool>{true});
}

// --- Moving parts between phases --------------------------------------------------------------

TEST_F(Phases, DraggingAPartNodeMovesThePartIntoTheTargetsPhase) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    const std::string c = Add(3);

    // Onto a part of phase 3: the part joins phase 3, as the last child.
    const auto moved = m_model.MovePartNode(NodeOf(a), NodeOf(c));
    ASSERT_TRUE(moved);
    EXPECT_EQ(PhaseOf(a), 3);
    EXPECT_EQ(TreeChildren(1), std::vector<std::string>{b});
    EXPECT_EQ(TreeChildren(3), (std::vector<std::string>{c, a}));
    EXPECT_EQ(m_model.PartsTree().Node(*moved).Text, a);
    EXPECT_EQ(m_model.PartsTree().Node(*moved).Image, 1);
    EXPECT_EQ(m_model.PartsTree().Node(*moved).StateIndex, -1);

    // Within its own phase the node becomes the last one; the returned position is right.
    const auto again = m_model.MovePartNode(NodeOf(c), NodeOf("3. Bauphase"));
    ASSERT_TRUE(again);
    EXPECT_EQ(TreeChildren(3), (std::vector<std::string>{a, c}));
    EXPECT_EQ(m_model.PartsTree().Node(*again).Text, c);

    // Phase nodes are not dragged.
    EXPECT_FALSE(m_model.MovePartNode(NodeOf("1. Bauphase"), NodeOf(c)));
}

TEST_F(Phases, SelectedAndCoSelectedPartsMoveToTheChosenStage) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    const std::string c = Add(1);
    Add(4);
    m_model.SelectBaustein(a);
    m_model.CoSelectBaustein(b, true, false, false);

    m_windows.StageAnswer = 3;
    m_model.ChangeStageOfSelectedParts();
    EXPECT_EQ(m_windows.StageCounts, std::vector<int>{4});  // the largest state index
    EXPECT_EQ(PhaseOf(a), 3);
    EXPECT_EQ(PhaseOf(b), 3);
    EXPECT_EQ(PhaseOf(c), 1);
    EXPECT_EQ(TreePhases(), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(TreeChildren(3), (std::vector<std::string>{a, b}));
    EXPECT_EQ(m_model.SelectedPart(), nullptr);

    // Nothing selected: no chooser at all. Cancelled: nothing moves.
    m_model.ChangeStageOfSelectedParts();
    EXPECT_EQ(m_windows.StageCounts.size(), 1u);
    m_model.SelectBaustein(c);
    m_windows.StageAnswer = 0;
    m_model.ChangeStageOfSelectedParts();
    EXPECT_EQ(PhaseOf(c), 1);
}

TEST_F(Phases, SelectPhaseReturnsZeroWhenCancelledAndRejectsLinesItDidNotOffer) {
    EXPECT_EQ(m_model.SelectPhase(), 0);
    EXPECT_EQ(m_windows.StageCounts, std::vector<int>{1});  // at least one line
    m_windows.StageAnswer = 1;
    EXPECT_EQ(m_model.SelectPhase(), 1);
    m_windows.StageAnswer = 2;
    EXPECT_EQ(m_model.SelectPhase(), 0);
}

// --- Phases outside the flag table ------------------------------------------------------------

TEST_F(Phases, PhasesOutsideTheTableAreAlwaysShownAndCannotBeHidden) {
    const std::string zero = Add(0, 0x0000FF);
    const std::string high = Add(250, 0x00FF00);
    const std::string huge = Add(std::numeric_limits<int32_t>::max(), 0xFF0000);
    m_model.SetBauphase(1);
    m_model.UpdateTreeView();

    m_model.SetPhaseVisible(0, false);
    m_model.SetPhaseVisible(250, false);
    m_model.SetPhaseVisible(-5, false);
    EXPECT_TRUE(m_model.PhaseVisible(0));
    EXPECT_TRUE(m_model.PhaseVisible(250));
    m_model.SetPhaseNodeVisible(NodeOf("250. Bauphase"), false);
    EXPECT_EQ(m_model.PartsTree().Node(NodeOf("250. Bauphase")).Image, 2);

    m_model.Repaint();
    EXPECT_TRUE(Shown(zero));
    EXPECT_TRUE(Shown(high));
    EXPECT_TRUE(Shown(huge));
    EXPECT_EQ(Drawn(zero), kOldPhaseColor);  // below the current phase
    EXPECT_EQ(Drawn(high), 0x00FF00u);

    // The visible-phases window lists only phases with a flag.
    m_windows.Edit = [](std::vector<bool>& v) { v.assign(v.size(), false); };
    m_model.BauphasenUebersicht();
    EXPECT_EQ(m_windows.Offered.size(), static_cast<size_t>(kPhaseCount));
    EXPECT_FALSE(m_model.PhaseVisible(kPhaseCount));
    EXPECT_TRUE(Shown(huge));

    // The chooser and a new phase stay within the table.
    m_windows.StageAnswer = 0;
    m_model.SelectPhase();
    EXPECT_EQ(m_windows.StageCounts.back(), kHighestFlaggedPhase);
    EXPECT_EQ(m_model.NewBauphase(), kHighestFlaggedPhase);
    EXPECT_EQ(m_model.CurrentPhase(), kHighestFlaggedPhase);
    EXPECT_EQ(m_model.NewBauphase(), kHighestFlaggedPhase);
    EXPECT_EQ(m_model.PartsTree().FindPhase(kHighestFlaggedPhase + 1), -1);
}

TEST_F(Phases, ChangingToAPhaseBeyondTheTableHidesNothing) {
    const std::string low = Add(1);
    const std::string high = Add(500);
    m_settings.Param().SetHideOtherStages(true);
    EXPECT_TRUE(m_model.ChangeBauphase(NodeOf(high)));
    EXPECT_EQ(m_model.CurrentPhase(), 500);
    EXPECT_TRUE(Shown(low));
    EXPECT_TRUE(Shown(high));
    EXPECT_EQ(m_model.PartsTree().Node(NodeOf("500. Bauphase")).Image, 0);
}

// --- Groups -----------------------------------------------------------------------------------

TEST_F(Phases, GroupingTakesTheSelectedPartFirstThenCoSelectedInListOrder) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    const std::string c = Add(1);
    EXPECT_EQ(m_model.GroupBauteile(), nullptr);  // nothing selected

    m_model.SelectBaustein(b);
    m_model.CoSelectBaustein(c, true, false, false);
    m_model.CoSelectBaustein(a, true, false, false);
    TGroup* group = m_model.GroupBauteile();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Name, "Gruppe");
    EXPECT_EQ(group->Members, (std::vector<std::string>{b, a, c}));
    EXPECT_FALSE(m_view.IsEnabled(TModelCommand::Group));
    EXPECT_TRUE(m_view.IsEnabled(TModelCommand::Degroup));

    const auto nodes = m_model.GroupsTreeNodes();
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].Text, "Gruppe");
    EXPECT_EQ(nodes[0].StateIndex, 0);
    EXPECT_EQ(nodes[0].Image, 12);
    EXPECT_EQ(nodes[0].Group, group);
    ASSERT_EQ(nodes[0].Children.size(), 3u);
    EXPECT_EQ(nodes[0].Children[1].Text, a);
    EXPECT_EQ(nodes[0].Children[1].StateIndex, 1);
    EXPECT_EQ(nodes[0].Children[1].Image, 48);
}

TEST_F(Phases, UngroupingRemovesTheFirstGroupOfTheSelectedPartAndKeepsTheParts) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    TGroup& first = m_model.AddGroup({a, b}, false, "Eins");
    m_model.AddGroup({a}, false, "Zwei");
    m_model.DeGroupBauteile();  // nothing selected
    EXPECT_EQ(m_model.Groups().size(), 2u);

    m_model.SelectBaustein(a);
    m_model.DeGroupBauteile();
    ASSERT_EQ(m_model.Groups().size(), 1u);
    EXPECT_EQ(m_model.Groups()[0]->Name, "Zwei");
    EXPECT_FALSE(m_model.HasGroup(&first));
    EXPECT_EQ(m_model.SelectedPart(), nullptr);
    EXPECT_EQ(m_model.Parts().Count(), 2u);
}

TEST_F(Phases, EmptiedGroupsAndInternalOnesDisappearAtTheNextRefresh) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    TGroup* shown = &m_model.AddGroup({a}, false);
    TGroup* internal = &m_model.AddGroup({a, b}, true);
    EXPECT_EQ(m_model.GroupsTreeNodes().size(), 1u);  // internal groups are not shown

    EXPECT_FALSE(m_model.RemoveFromGroup(shown, b));
    EXPECT_TRUE(m_model.RemoveFromGroup(shown, a));
    EXPECT_TRUE(m_model.HasGroup(shown));  // until the next refresh
    m_model.UpdateGroupTreeView();
    EXPECT_FALSE(m_model.HasGroup(shown));
    EXPECT_TRUE(m_model.HasGroup(internal));

    // Deleting the parts empties the internal group, which is then dropped as well.
    m_model.DeleteBaustein(a);
    EXPECT_EQ(internal->Members, std::vector<std::string>{b});
    m_model.DeleteBaustein(b);
    EXPECT_TRUE(m_model.Groups().empty());

    // Stale pointers from a tree that was not refilled yet are refused.
    EXPECT_FALSE(m_model.RemoveFromGroup(shown, a));
    m_model.RenameGroup(shown, "x");
    EXPECT_EQ(m_model.DuplicateGroup(shown), nullptr);
}

TEST_F(Phases, GroupModeCoSelectsTheOtherMembersUnlessGroupsAreIgnored) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    const std::string c = Add(1);
    m_model.AddGroup({a, b}, false);
    m_view.GroupMode = true;

    m_model.SelectBaustein(a);
    EXPECT_TRUE(m_model.FindBauteil(b)->CoSelected());
    EXPECT_FALSE(m_model.FindBauteil(c)->CoSelected());
    EXPECT_TRUE(m_view.IsEnabled(TModelCommand::Degroup));

    m_model.SelectBaustein(a, false, true);
    EXPECT_FALSE(m_model.FindBauteil(b)->CoSelected());
}

TEST_F(Phases, GroupsTreeCommands) {
    const std::string a = Add(1);
    const std::string b = Add(1);
    const std::string c = Add(1);
    TGroup* group = &m_model.AddGroup({a}, false);

    // Popup entries by node.
    EXPECT_EQ(m_model.GroupsPopup(std::nullopt), TGroupsPopup{});
    TGroupsPopup onGroup = m_model.GroupsPopup(TGroupTreePos{group, -1});
    EXPECT_TRUE(onGroup.ShowOnly && onGroup.Duplicate && onGroup.Close);
    EXPECT_FALSE(onGroup.RemovePart || onGroup.AddSelection);
    TGroupsPopup onMember = m_model.GroupsPopup(TGroupTreePos{group, 0});
    EXPECT_TRUE(onMember.ShowOnly && onMember.RemovePart);
    EXPECT_FALSE(onMember.AddSelection || onMember.Duplicate);

    // Adding the selection skips members already there.
    m_model.SelectBaustein(a);
    m_model.CoSelectBaustein(b, true, false, false);
    EXPECT_TRUE(m_model.GroupsPopup(TGroupTreePos{group, -1}).AddSelection);
    m_model.AddSelectionToGroup(group);
    EXPECT_EQ(group->Members, (std::vector<std::string>{a, b}));

    // A member node selects its part.
    m_model.GroupsTreeNodeSelected({group, 1});
    ASSERT_NE(m_model.SelectedPart(), nullptr);
    EXPECT_EQ(m_model.SelectedPart()->Name(), b);

    m_model.RenameGroup(group, "Räder");
    EXPECT_EQ(m_model.GroupsTreeNodes()[0].Text, "Räder");

    // Only the group's parts stay visible, until the next repaint.
    m_model.ShowOnlyGroup(group);
    EXPECT_EQ(m_model.SelectedPart(), nullptr);
    EXPECT_TRUE(Shown(a));
    EXPECT_TRUE(Shown(b));
    EXPECT_FALSE(Shown(c));
    m_model.Repaint();
    EXPECT_TRUE(Shown(c));
}

TEST_F(Phases, DuplicatingAGroupCopiesItsPartsIntoTheCurrentPhase) {
    const std::string a = Add(1, 0x123456, "31010");
    const std::string b = Add(1, 0x654321, "32064");
    TBauteil* ra = m_model.FindBauteil(a);
    ra->SetDirection({1, 0, 0});
    ra->SetAlpha(0.5);
    ra->AddKey(TKeyData{1, 2, 3, 0, 1, 0, 0, 0, 1, 7});
    TGroup* group = &m_model.AddGroup({a, b}, false, "Achse");
    m_model.NewBauphase();

    TGroup* copy = m_model.DuplicateGroup(group);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name, "Achse - Kopie");
    ASSERT_EQ(copy->Members.size(), 2u);
    EXPECT_EQ(copy->Members[0], "F31010_2");
    EXPECT_EQ(copy->Members[1], "F32064_2");
    EXPECT_EQ(m_model.Parts().Count(), 4u);
    EXPECT_EQ(m_model.GroupsTreeNodes().size(), 2u);

    const TBauteil& original = *m_model.FindBauteil(a);
    const TBauteil& dup = *m_model.FindBauteil(copy->Members[0]);
    EXPECT_EQ(dup.Phase(), 2);
    EXPECT_EQ(dup.Position(), original.Position());
    EXPECT_EQ(dup.Direction(), original.Direction());
    EXPECT_EQ(dup.Color(), 0x123456u);
    EXPECT_DOUBLE_EQ(dup.Alpha(), 0.5);
    EXPECT_EQ(dup.Keys(), original.Keys());
    ASSERT_NE(dup.Object(), nullptr);
    EXPECT_NE(dup.Object(), original.Object());
    EXPECT_EQ(dup.Object()->Name(), copy->Members[0]);
    // Repaint put the new object exactly over the one it was copied from.
    EXPECT_EQ(dup.Object()->Position(), original.Object()->Position());
    EXPECT_EQ(TreeChildren(2), copy->Members);
}

TEST_F(Phases, EmptyingTheModelDropsGroupsAndResetsPhases) {
    Add(3);
    m_model.AddGroup({"F31010_1"}, false);
    m_model.SetPhaseVisible(2, false);
    m_model.DeleteAll();
    EXPECT_TRUE(m_model.Groups().empty());
    EXPECT_EQ(m_model.CurrentPhase(), 1);
    EXPECT_TRUE(m_model.PhaseVisible(2));
    EXPECT_EQ(TreePhases(), std::vector<int>{1});
}
