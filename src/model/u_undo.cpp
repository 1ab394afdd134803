// Undo: the bounded list of snapshots, and the model's snapshot, undo and rebuild.
#include "model/u_undo.h"

#include <stdexcept>

#include "catalogue/u_partcache.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

void TUndoList::Push(TUndoData data) {
    m_items.push_back(std::move(data));
    while (m_items.size() > MaxSteps) {
        m_items.pop_front();
    }
}

TUndoData TUndoList::Pop() {
    if (m_items.empty()) {
        throw std::logic_error("TUndoList.Pop: the list is empty");
    }
    TUndoData data = std::move(m_items.back());
    m_items.pop_back();
    return data;
}

// --- The model's undo operations --------------------------------------------------------------

void TkxMain::MakeUndoSnapshot(std::string_view action, std::string_view argument) {
    Stack().Push("tkxmain.MakeUndoSnapshot", action, argument);
    if (m_undoSuppressed) {
        return;
    }
    bool add = true;
    if (!m_undo.Empty()) {
        const TUndoData& last = m_undo.Last();
        if (last.Action == action &&
            (action == "DeselectAllBausteine" || action == "SelectAll" ||
             ((action == "SelectBaustein" || action == "Färben") && last.Argument == argument))) {
            add = false;
        }
    }
    if (UpperCase(action) != "COMBINE") {
        const std::vector<TBauteil*> marked(m_parts.SelectedMarks().begin(),
                                            m_parts.SelectedMarks().end());
        for (TBauteil* r : marked) {
            r->SetSelected(false);
        }
        if (TBauteil* selected = RecordOf(m_selected)) {
            selected->SetSelected(true);
        }
    }
    if (add) {
        m_undo.Push(TUndoData{m_parts.Freeze(), std::string(action), std::string(argument)});
        m_view->EnableCommand(TModelCommand::Undo, true);
    }
}

void TkxMain::ClearUndoList() {
    Stack().Push("tkxmain.ClearUndoList");
    m_undo.Clear();
    m_view->EnableCommand(TModelCommand::Undo, false);
}

void TkxMain::DoUndo() {
    Stack().Push("tkxmain.DoUndo");
    if (m_undo.Empty()) {
        return;
    }
    {
        TUndoSuspension suspended(*this);
        // Nothing may point at the records about to be replaced.
        m_tree.Clear();
        m_treeView->TreeReset();
        const TUndoData last = m_undo.Pop();
        m_parts.Restore(last.Parts);

        m_treeView->SetTreeVisible(false);
        UndoRepaint();
        RecreateTreeView();
        m_treeView->SetTreeVisible(true);
    }
    m_view->EnableCommand(TModelCommand::Undo, !m_undo.Empty());
    UpdateTreeView();
    // Undo may come back to what the file holds; what undo does not restore (groups, links)
    // keeps the model changed, so the whole model is compared, not the undo position.
    SetModified(ComparableLines() != m_savedLines);
}

void TkxMain::UndoRepaint() {
    Stack().Push("tkxmain.UndoRepaint");
    TUndoSuspension suspended(*this);
    TkxParam& param = Param();
    m_highestVisiblePhase = param.GetHideOtherStages() ? m_currentPhase : kNoPhaseLimit;
    const bool paintOldWhite = param.GetPaintOldWhite();
    const int outlineWidth = OutlineMode ? param.GetOutlineWidth() : 3;
    m_view->BeginWait();
    SetSelected(nullptr);
    // The panels named the part selected before; the marked part, if any, names itself again.
    for (int panel = 3; panel >= 0; --panel) {
        m_view->SetStatusText(panel, "");
    }
    m_lastAdded = nullptr;

    // Measurements follow their parts by name onto the rebuilt objects.
    std::vector<std::pair<std::string, std::string>> measured;
    measured.reserve(m_measurements.size());
    for (const auto& m : m_measurements) {
        measured.emplace_back(m->Part1 ? m->Part1->Name() : std::string(),
                              m->Part2 ? m->Part2->Name() : std::string());
    }

    TDummyCube& root = PartsRoot();
    for (const auto& r : m_parts) {
        r->SetObject(nullptr);
    }
    root.DeleteChildren();
    for (const TMaterialPtr& m : m_scene.MaterialLibrary().Materials()) {
        m->RemoveShader();
    }
    m_scene.MaterialLibrary().Clear();
    CreateGrid(root, static_cast<float>(param.GetGridDistance())).SetVisible(GridShown);

    for (const auto& r : m_parts) {
        const TDefPtr def = m_defs.GetDef(m_files, r->GetShortName());
        TPartObjectRequest request;
        request.Name = r->Name();
        request.Offset = r->Offset();
        request.Color = r->Color();
        request.OwnColor =
            paintOldWhite && r->Phase() < m_currentPhase ? kOldPhaseColor : r->Color();
        request.Alpha = r->Alpha();
        request.PolygonMode = PolygonMode;
        request.Visible = PhaseShown(r->Phase());
        request.ConnectorsVisible = !ConnectorsHidden;
        request.ArrowAxes = false;
        request.OutlineShader = OutlineMode;
        request.OutlineWidth = outlineWidth;
        request.Rebuild = true;
        TFreeForm& object = m_builder->Build(root, m_scene.MaterialLibrary(), m_files, m_meshes,
                                             MeshFolder, *def, request);
        object.SetPosition(r->Position());
        object.SetDirection(r->Direction());
        object.SetUp(r->Up());
        // Linked before re-selecting, so that selecting finds the object through its record.
        r->SetObject(&object);
        object.SetBauteil(r.get());

        // The snapshot already holds the co-selection of group members: selecting in group
        // mode would toggle it a second time and lose it.
        if (r->Selected()) {
            SelectBaustein(r->Name(), true, true);
        }
        if (r->CoSelected()) {
            r->SetCoSelected(false);
            CoSelectBaustein(r->Name(), false, false, false);
        }
    }

    AttachMeasurementsByName(measured);
    if (TSceneCamera* camera = m_scene.Camera()) {
        camera->SetTargetObject(m_scene.CameraTarget());
    }
    m_view->EndWait();
}

void TkxMain::AttachMeasurementsByName(
    const std::vector<std::pair<std::string, std::string>>& names) {
    bool changed = false;
    for (size_t i = m_measurements.size(); i-- > 0;) {
        TMeasurement& m = *m_measurements[i];
        TSceneObject* part1 =
            names[i].first.empty() ? nullptr : FindPartObject(names[i].first, true);
        TSceneObject* part2 =
            names[i].second.empty() ? nullptr : FindPartObject(names[i].second, true);
        if (!part1 || !part2) {
            // A measured part that the snapshot does not hold is gone, and so is its measurement.
            RemoveMeasurement(i);
            changed = true;
            continue;
        }
        m.Part1 = part1;
        m.Part2 = part2;
        m.Recompute();
        changed = true;
    }
    if (changed) {
        m_view->MeasurementsChanged();
    }
}

}  // namespace kx
