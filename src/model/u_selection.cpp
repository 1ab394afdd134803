// Selection of placed parts: the selected part, co-selected parts and their highlight colours.
#include "catalogue/u_partcache.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

TFreeForm* AsPart(TSceneObject* object) {
    return object && object->Kind() == TSceneObjectKind::FreeForm ? static_cast<TFreeForm*>(object)
                                                                  : nullptr;
}

std::string ReplaceCount(std::string text, int count) {
    const auto at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(count));
    }
    return text;
}

}  // namespace

void TkxMain::SetSelected(TFreeForm* object) {
    m_selected = object;
    m_coords->ShowPart(object);
}

void TkxMain::DropSelectedPart(bool paintOldWhite) {
    if (!m_selected) {
        return;
    }
    m_selected->SetShowAxes(false);
    if (TBauteil* record = RecordOf(m_selected)) {
        RestoreColour(*record, paintOldWhite, true);
        // A mark left behind would be re-selected by an undo and counted as selected.
        record->SetSelected(false);
    }
    SetSelected(nullptr);
    for (int panel = 3; panel >= 0; --panel) {
        m_view->SetStatusText(panel, "");
    }
}

void TkxMain::Highlight(TFreeForm& object, uint32_t colour) {
    const TColor3f c = ColorFromWin(colour);
    object.Material().SetDiffuseColor(c);
    if (TMaterialPtr lib = LibMaterialOf(object)) {
        lib->SetDiffuseColor(c);
    }
}

void TkxMain::RestoreColour(TBauteil& record, bool paintOldWhite, bool objectAlphaToo) {
    TFreeForm* object = record.Object();
    if (!object) {
        return;
    }
    const uint32_t colour =
        paintOldWhite && record.Phase() < m_currentPhase ? kOldPhaseColor : record.Color();
    const TColor3f c = ColorFromWin(colour);
    const auto alpha = static_cast<float>(record.Alpha());
    object->Material().SetDiffuseColor(c);
    if (objectAlphaToo) {
        object->Material().SetDiffuseAlpha(alpha);
    }
    if (TMaterialPtr lib = LibMaterialOf(*object)) {
        lib->SetDiffuseColor(c);
        lib->SetDiffuseAlpha(alpha);
    }
}

void TkxMain::SelectBaustein(std::string_view nameArg, bool addToSelection, bool ignoreGroup) {
    Stack().Push("tkxmain.SelectBaustein", nameArg, addToSelection, ignoreGroup);
    if (m_selectionBusy) {
        return;
    }
    const std::string name(nameArg);
    MakeUndoSnapshot("SelectBaustein", name);
    if (!addToSelection) {
        DeSelectAllBausteine();
    }
    m_selectionBusy = true;
    // Whatever happens below, the guard must not stay set.
    struct TBusyReset {
        bool& busy;
        ~TBusyReset() { busy = false; }
    } reset{m_selectionBusy};

    TFreeForm* object = AsPart(FindPartObject(name, true));
    if (!object) {
        return;
    }
    m_view->EnableCommand(TModelCommand::Delete, true);
    if (m_treeView->TreeVisible()) {
        if (const auto pos = m_tree.FindText(name)) {
            m_treeView->SelectTreeNode(*pos);
        }
    }
    Highlight(*object, kSelectedColor);
    SetSelected(object);
    object->SetShowAxes(true);

    const TDefPtr def = m_defs.GetDef(m_files, TBauteil::ShortName(name));
    m_view->SetStatusText(0, def->OrgNumber + " <" + name + ">");
    if (TBauteil* record = FindBauteil(name)) {
        record->SetSelected(true);
        m_view->SetStatusText(1, Language().GetText("MAINOBJ", 3, "Bauphase") + " " +
                                     std::to_string(record->Phase()));
        m_view->SetStatusText(
            2, GroupName(def->Group, [](std::string_view section, int key, std::string_view d) {
                return Language().GetText(section, key, d);
            }));
        m_view->SetStatusText(3, def->Name);
    }

    if (m_view->GroupModeDown() && !ignoreGroup) {
        const std::string partName = object->Name();
        for (size_t g = 0; g < m_groups.size(); ++g) {
            if (!m_groups[g]->Contains(partName)) {
                continue;
            }
            // Copy: co-selecting must not see a list that changes under it.
            const std::vector<std::string> members = m_groups[g]->Members;
            for (const std::string& member : members) {
                if (member != partName) {
                    CoSelectBaustein(member, true, false, false);
                }
            }
            m_view->EnableCommand(TModelCommand::Degroup, true);
            m_view->EnableCommand(TModelCommand::Group, false);
        }
    }
}

void TkxMain::CoSelectBaustein(std::string_view nameArg, bool skipSelected, bool noSnapshot,
                               bool forceOn) {
    Stack().Push("tkxmain.CoSelectBaustein", nameArg, skipSelected, noSnapshot, forceOn);
    const std::string name(nameArg);
    if (skipSelected && m_selected && SameText(m_selected->Name(), name)) {
        return;
    }
    TFreeForm* object = AsPart(FindPartObject(name, true));
    if (!object) {
        return;
    }
    if (!noSnapshot) {
        MakeUndoSnapshot("CoSelectBaustein", name);
    }
    Highlight(*object, kCoSelectedColor);
    if (TBauteil* record = RecordOf(object)) {
        record->SetCoSelected(forceOn ? true : !record->CoSelected());
        if (!record->CoSelected()) {
            const TColor3f c = ColorFromWin(record->Color());
            object->Material().SetDiffuseColor(c);
            if (TMaterialPtr lib = LibMaterialOf(*object)) {
                lib->SetDiffuseColor(c);
            }
        }
    }
    m_view->EnableCommand(TModelCommand::Group, true);
}

void TkxMain::DeSelectAllBausteine() {
    Stack().Push("tkxmain.DeSelectAllBausteine");
    m_view->EnableCommand(TModelCommand::Delete, false);
    const bool paintOldWhite = Param().GetPaintOldWhite();
    DropSelectedPart(paintOldWhite);
    // Copy: clearing the flag takes the record out of the set being walked.
    const std::vector<TBauteil*> coSelected(m_parts.CoSelectedRecords().begin(),
                                            m_parts.CoSelectedRecords().end());
    for (TBauteil* record : coSelected) {
        TFreeForm* object = record->Object();
        if (object) {
            const uint32_t colour = paintOldWhite && record->Phase() < m_currentPhase
                                        ? kOldPhaseColor
                                        : record->Color();
            object->Material().SetDiffuseColor(ColorFromWin(colour));
            if (TMaterialPtr lib = LibMaterialOf(*object)) {
                lib->SetDiffuseColor(ColorFromWin(colour));
                lib->SetDiffuseAlpha(static_cast<float>(record->Alpha()));
            }
        }
        record->SetCoSelected(false);
    }
    m_view->EnableCommand(TModelCommand::Group, false);
    m_view->EnableCommand(TModelCommand::Degroup, false);
    m_selectionBusy = false;
}

void TkxMain::SelectAllBausteine() {
    Stack().Push("tkxmain.SelectAllBausteine");
    TUndoSuspension suspended(*this);
    // Names first: selecting may not change the children, but the walk must not depend on it.
    std::vector<std::string> names;
    for (const auto& child : PartsRoot().Children()) {
        if (child->Kind() == TSceneObjectKind::FreeForm) {
            names.push_back(child->Name());
        }
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (i == 0) {
            SelectBaustein(names[i], false, false);
        } else {
            CoSelectBaustein(names[i], true, false, true);
        }
    }
}

void TkxMain::SelectAllBausteineFromActualPhase() {
    Stack().Push("tkxmain.SelectAllBausteineFromActualPhase");
    TUndoSuspension suspended(*this);
    std::vector<std::string> names;
    for (const auto& r : m_parts) {
        if (r->Phase() == m_currentPhase) {
            names.push_back(r->Name());
        }
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (i == 0) {
            SelectBaustein(names[i], false, false);
        } else {
            CoSelectBaustein(names[i], true, false, false);
        }
    }
}

void TkxMain::HideAllPartsExceptSelection() {
    Stack().Push("tkxmain.HideAllPartsExceptSelection");
    TUndoSuspension suspended(*this);
    for (const auto& child : PartsRoot().Children()) {
        if (child->Kind() != TSceneObjectKind::FreeForm || child.get() == m_selected) {
            continue;
        }
        const TBauteil* record = RecordOf(child.get());
        if (!record || !record->CoSelected()) {
            child->SetVisible(false);
        }
    }
}

int TkxMain::FindPartsInModel(std::string_view number) {
    Stack().Push("tkxmain.FindPartsInModel", number);
    std::vector<std::string> names;
    for (const auto& r : m_parts) {
        if (SameText(r->GetShortName(), number)) {
            names.push_back(r->Name());
        }
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (i == 0) {
            SelectBaustein(names[i], false, true);
        } else {
            CoSelectBaustein(names[i], true, false, false);
        }
    }
    const int count = static_cast<int>(names.size());
    if (count > 0) {
        m_view->ShowInformation(ReplaceCount(
            Language().GetText("MAINOBJ", 33, "Das Bauteil wird %d mal im Modell verwendet"),
            count));
    } else {
        m_view->ShowInformation(Language().GetText(
            "MAINOBJ", 32, "Dieses Bauteil wird im aktuellen Modell nicht verwendet"));
    }
    return count;
}

void TkxMain::SelectAllCommand() {
    Stack().Push("tkxmain.SelectAllCommand");
    MakeUndoSnapshot("SelectAll", "");
    SelectAllBausteine();
}

void TkxMain::DeselectAllCommand() {
    Stack().Push("tkxmain.DeselectAllCommand");
    MakeUndoSnapshot("DeselectAllBausteine", "");
    DeSelectAllBausteine();
}

}  // namespace kx
