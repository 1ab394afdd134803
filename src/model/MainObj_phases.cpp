// The model object TkxMain: build-phase commands and named groups of parts.
#include <algorithm>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

bool ValidPhaseRow(const TPartsTree& tree, int row) {
    return row >= 0 && static_cast<size_t>(row) < tree.Count();
}

bool ValidPartNode(const TPartsTree& tree, TTreePos pos) {
    return ValidPhaseRow(tree, pos.Phase) && pos.Child >= 0 &&
           static_cast<size_t>(pos.Child) <
               tree.Phase(static_cast<size_t>(pos.Phase)).Children.size();
}

}  // namespace

void TkxMain::SetPhaseWindows(TPhaseWindows* windows) {
    m_phaseWindows = windows ? windows : &m_nullPhaseWindows;
}

// --- Build phases -----------------------------------------------------------------------------

int TkxMain::NewBauphase() {
    Stack().Push("tkxmain.NewBauphase");
    DeSelectAllBausteine();
    // Phases beyond the flag table would have no visibility switch, so a new phase stays in
    // it; a model that already reaches the top gets the top phase made current.
    const int highest = m_tree.HighestStateIndex();
    const int phase =
        std::clamp(highest < kHighestFlaggedPhase ? highest + 1 : kHighestFlaggedPhase, 2,
                   kHighestFlaggedPhase);
    if (m_tree.FindPhase(phase) < 0) {
        const int row = m_tree.AddPhaseNode(PhaseNodeText(phase), PhaseImage(phase), phase);
        m_treeView->TreeNodeInserted({row, -1});
    }
    SetBauphase(phase);
    UpdateTreeView();
    return phase;
}

bool TkxMain::ChangeBauphase(std::optional<TTreePos> node) {
    Stack().Push("tkxmain.ChangeBauphase", node ? node->Phase : -1, node ? node->Child : -1);
    if (!node || !ValidPhaseRow(m_tree, node->Phase)) {
        m_view->ShowInformation(Language().GetText(
            "MAIN2", 4, "Wählen Sie zunächst eine Bauphase im Bauteilefenster aus."));
        return false;
    }
    // A part node stands for the phase it hangs in.
    SetBauphase(m_tree.Phase(static_cast<size_t>(node->Phase)).StateIndex);
    UpdateTreeView();
    Repaint();
    return true;
}

void TkxMain::SetPhaseNodeVisible(TTreePos node, bool visible) {
    Stack().Push("tkxmain.SetPhaseNodeVisible", node.Phase, node.Child, visible);
    if (!ValidPhaseRow(m_tree, node.Phase) || node.Child >= 0) {
        return;
    }
    TPhaseTreeNode& phaseNode = m_tree.Phase(static_cast<size_t>(node.Phase));
    const int phase = phaseNode.StateIndex;
    // A phase without a flag cannot be hidden: its node keeps saying so.
    if (phase >= 1 && phase <= kPhaseCount) {
        phaseNode.Image = visible ? 2 : 3;
        SetPhaseVisible(phase, visible);
        m_treeView->TreeNodesChanged();
    }
    Repaint();
}

std::optional<TTreePos> TkxMain::MovePartNode(TTreePos part, TTreePos target) {
    Stack().Push("tkxmain.MovePartNode", part.Phase, part.Child, target.Phase, target.Child);
    if (!ValidPartNode(m_tree, part) || !ValidPhaseRow(m_tree, target.Phase)) {
        return std::nullopt;
    }
    const int phase = m_tree.Phase(static_cast<size_t>(target.Phase)).StateIndex;
    const TPartsTreeNode node = m_tree.Node(part);

    TTreePos moved = m_tree.AddPartNode(target.Phase, node);
    m_treeView->TreeNodeInserted(moved);
    m_tree.Remove(part);
    m_treeView->TreeNodeRemoved(part);
    if (moved.Phase == part.Phase && part.Child < moved.Child) {
        --moved.Child;
    }
    // The node's text leads to the record: a tree node never keeps a record alive.
    if (TBauteil* record = FindBauteil(node.Text)) {
        if (record->Phase() != phase) {
            record->SetPhase(phase);
            MarkModified();
        }
    }
    Repaint();
    return moved;
}

int TkxMain::HighestPartPhase() const {
    int highest = 0;
    for (const auto& r : m_parts) {
        highest = std::max(highest, static_cast<int>(r->Phase()));
    }
    return highest;
}

void TkxMain::BauphasenUebersicht() {
    Stack().Push("tkxmain.BauphasenUebersicht");
    const int highest = HighestPartPhase();
    if (highest <= 0) {
        UpdateTreeView();
        return;
    }
    // Only phases with a flag get a check box.
    const int count = std::min(highest, kPhaseCount);
    std::vector<bool> visible(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        visible[static_cast<size_t>(i)] = PhaseVisible(i + 1);
    }
    if (m_phaseWindows->ChooseVisiblePhases(visible)) {
        const int answered = std::min(count, static_cast<int>(visible.size()));
        for (int i = 0; i < answered; ++i) {
            SetPhaseVisible(i + 1, visible[static_cast<size_t>(i)]);
        }
    }
    Repaint();
    UpdateTreeView();
}

int TkxMain::StageCount() const {
    return std::clamp(m_tree.HighestStateIndex(), 1, kHighestFlaggedPhase);
}

int TkxMain::SelectPhase() {
    Stack().Push("tkxmain.SelectPhase");
    const int count = StageCount();
    const int chosen = m_phaseWindows->SelectStage(count);
    return chosen >= 1 && chosen <= count ? chosen : 0;
}

void TkxMain::ChangeStageOfSelectedParts() {
    Stack().Push("tkxmain.ChangeStageOfSelectedParts");
    if (!m_selected) {
        return;
    }
    const int phase = SelectPhase();
    if (phase == 0) {
        return;
    }
    if (TBauteil* record = RecordOf(m_selected)) {
        record->SetPhase(phase);
    }
    const std::vector<TBauteil*> coSelected(m_parts.CoSelectedRecords().begin(),
                                            m_parts.CoSelectedRecords().end());
    for (TBauteil* record : coSelected) {
        record->SetPhase(phase);
    }
    MarkModified();
    RecreateTreeView();
    UpdateTreeView();
    Repaint();
}

// --- Groups -----------------------------------------------------------------------------------

TGroup& TkxMain::AddGroup(const std::vector<std::string>& members, bool internal,
                          std::string name) {
    auto group = std::make_unique<TGroup>();
    group->Name = std::move(name);
    group->Internal = internal;
    for (const std::string& member : members) {
        group->Add(member);
    }
    m_groups.push_back(std::move(group));
    MarkModified();
    return *m_groups.back();
}

bool TkxMain::HasGroup(const TGroup* group) const {
    return group && std::any_of(m_groups.begin(), m_groups.end(),
                                [group](const auto& g) { return g.get() == group; });
}

TGroup* TkxMain::GroupBauteile() {
    Stack().Push("tkxmain.GroupBauteile");
    const TBauteil* selected = RecordOf(m_selected);
    if (!m_selected) {
        return nullptr;
    }
    std::vector<std::string> members{selected ? selected->Name() : m_selected->Name()};
    for (const auto& r : m_parts) {
        if (r->CoSelected() && r.get() != selected) {
            members.push_back(r->Name());
        }
    }
    TGroup& group = AddGroup(members, false);
    m_view->EnableCommand(TModelCommand::Group, false);
    m_view->EnableCommand(TModelCommand::Degroup, true);
    UpdateGroupTreeView();
    return &group;
}

void TkxMain::DeGroupBauteile() {
    Stack().Push("tkxmain.DeGroupBauteile");
    if (!m_selected) {
        return;
    }
    const TBauteil* selected = RecordOf(m_selected);
    const std::string name = selected ? selected->Name() : m_selected->Name();
    const auto it = std::find_if(m_groups.begin(), m_groups.end(),
                                 [&](const auto& g) { return g->Contains(name); });
    if (it != m_groups.end()) {
        m_groups.erase(it);
        MarkModified();
    }
    DeSelectAllBausteine();
    UpdateGroupTreeView();
}

void TkxMain::RenameGroup(TGroup* group, std::string name) {
    Stack().Push("tkxmain.RenameGroup", name);
    if (HasGroup(group) && group->Name != name) {
        group->Name = std::move(name);
        MarkModified();
    }
}

void TkxMain::GroupsTreeNodeSelected(TGroupTreePos pos) {
    if (!HasGroup(pos.Group) || pos.Member < 0 ||
        static_cast<size_t>(pos.Member) >= pos.Group->Members.size()) {
        return;
    }
    // Copy: selecting may change the groups.
    const std::string member = pos.Group->Members[static_cast<size_t>(pos.Member)];
    SelectBaustein(member, false, false);
}

TGroupsPopup TkxMain::GroupsPopup(std::optional<TGroupTreePos> pos) const {
    TGroupsPopup popup;
    if (!pos || !HasGroup(pos->Group)) {
        return popup;
    }
    popup.ShowOnly = true;
    if (pos->Member < 0) {
        popup.AddSelection = m_selected != nullptr;
        popup.Duplicate = true;
    } else {
        popup.RemovePart = true;
    }
    return popup;
}

void TkxMain::AddSelectionToGroup(TGroup* group) {
    Stack().Push("tkxmain.AddSelectionToGroup");
    if (!HasGroup(group) || !m_selected) {
        return;
    }
    const TBauteil* selected = RecordOf(m_selected);
    group->Add(selected ? selected->Name() : m_selected->Name());
    for (const auto& r : m_parts) {
        if (r->CoSelected()) {
            group->Add(r->Name());
        }
    }
    MarkModified();
    UpdateGroupTreeView();
}

bool TkxMain::RemoveFromGroup(TGroup* group, const std::string& member) {
    Stack().Push("tkxmain.RemoveFromGroup", member);
    if (!HasGroup(group) || !group->Remove(member)) {
        return false;
    }
    MarkModified();
    DeSelectAllBausteine();
    return true;
}

void TkxMain::ShowOnlyGroup(TGroup* group) {
    Stack().Push("tkxmain.ShowOnlyGroup");
    if (!HasGroup(group)) {
        return;
    }
    DeSelectAllBausteine();
    for (const auto& child : PartsRoot().Children()) {
        if (child->Kind() == TSceneObjectKind::FreeForm) {
            child->SetVisible(false);
        }
    }
    for (const std::string& member : group->Members) {
        if (TSceneObject* object = FindPartObject(member, false)) {
            object->SetVisible(true);
        }
    }
}

TGroup* TkxMain::DuplicateGroup(TGroup* group) {
    Stack().Push("tkxmain.DuplicateGroup");
    if (!HasGroup(group)) {
        return nullptr;
    }
    auto copy = std::make_unique<TGroup>();
    copy->Name = group->Name + " - " + Language().GetText("MAIN", 152, "Kopie");
    // Copy: placing parts may change the model's groups.
    const std::vector<std::string> members = group->Members;
    for (const std::string& member : members) {
        const TBauteil* original = FindBauteil(member);
        if (!original) {
            continue;
        }
        const std::string name = AddBaustein(original->GetShortName());
        TBauteil* added = name.empty() ? nullptr : FindBauteil(name);
        if (!added) {
            continue;
        }
        // AddBaustein may have moved the list's storage, but not the records themselves.
        original = FindBauteil(member);
        TFreeForm* object = added->Object();
        added->Assign(*original);
        added->SetName(name);
        added->SetObject(object);
        added->SetPhase(m_currentPhase);
        added->SetCoSelected(false);
        added->SetSelected(false);
        copy->Add(name);
    }
    TGroup* result = copy->Members.empty() ? nullptr : copy.get();
    m_groups.push_back(std::move(copy));
    MarkModified();
    UpdateGroupTreeView();
    Repaint();
    return result;
}

}  // namespace kx
