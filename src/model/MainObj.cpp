// The model object TkxMain: adding, naming, finding, refreshing, deleting and redrawing parts.
#include "model/MainObj.h"

#include <algorithm>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

TkxMain::TkxMain(TScene& scene, const TPartFiles& files)
    : TkxMain(scene, files, DefCache(), FfCache()) {}

TkxMain::TkxMain(TScene& scene, const TPartFiles& files, TDefCache& defs, TffCache& meshes)
    : m_scene(scene),
      m_files(files),
      m_defs(defs),
      m_meshes(meshes),
      m_builder(std::make_unique<TBasicPartObjectBuilder>()) {
    Stack().Push("tkxmain.Create");
    if (!scene.PartsRoot()) {
        throw std::invalid_argument("TkxMain: the scene has no parts root");
    }
    m_phaseVisible.fill(true);
    ResetCameras();
    SetBauphase(1);
    ConnectAblauf();
    m_savedLines = ComparableLines();
}

TkxMain::~TkxMain() {
    m_ablauf.StopProgram();
    // The scene may outlive the model: no object may keep pointing at a freed record.
    for (const auto& r : m_parts) {
        if (r->Object() && r->Object()->Bauteil() == r.get()) {
            r->Object()->SetBauteil(nullptr);
        }
    }
}

void TkxMain::SetView(TModelView* view) {
    m_view = view ? view : &m_nullView;
}

void TkxMain::SetPartsTreeView(TPartsTreeView* view) {
    m_treeView = view ? view : &m_nullTree;
}

void TkxMain::SetCoordinatesView(TCoordinatesView* view) {
    m_coords = view ? view : &m_nullCoords;
}

void TkxMain::SetPartObjectBuilder(std::unique_ptr<TPartObjectBuilder> builder) {
    if (builder) {
        m_builder = std::move(builder);
    }
}

// --- Helpers ----------------------------------------------------------------------------------

TDummyCube& TkxMain::PartsRoot() const {
    TDummyCube* root = m_scene.PartsRoot();
    if (!root) {
        throw std::logic_error("TkxMain: the scene lost its parts root");
    }
    return *root;
}

TSceneObject* TkxMain::Node(std::string_view name) const {
    return m_scene.Root().FindChild(name, false);
}

TSceneObject* TkxMain::FindPartObject(std::string_view name, bool recursive) const {
    const TDummyCube& root = PartsRoot();
    // Part names are unique without regard to case, so the record leads straight to the
    // object; anything else falls back to the scan of the scene graph.
    if (const TBauteil* record = m_parts.FindText(name)) {
        TFreeForm* object = record->Object();
        if (object && SameText(object->Name(), name) &&
            (recursive ? static_cast<const TSceneObject*>(object) != &root && object->IsInside(root)
                       : object->Parent() == &root)) {
            return object;
        }
    }
    return root.FindChild(name, recursive);
}

TBauteil* TkxMain::RecordOf(const TSceneObject* object) const {
    if (!object) {
        return nullptr;
    }
    if (object->Kind() == TSceneObjectKind::FreeForm) {
        TBauteil* linked = static_cast<const TFreeForm*>(object)->Bauteil();
        if (linked && m_parts.Contains(*linked)) {
            return linked;
        }
    }
    return m_parts.Find(object->Name());
}

TMaterialPtr TkxMain::LibMaterialOf(const TFreeForm& object) const {
    if (TMaterialPtr lib = m_scene.MaterialLibrary().Find(object.Material().LibMaterialName())) {
        return lib;
    }
    return nullptr;
}

std::string TkxMain::DefaultCameraName(int index) {
    return Language().GetText("MAIN", 160, "Kamera") + " " + std::to_string(index + 1);
}

void TkxMain::ResetCameras() {
    for (int i = 0; i < kStoredCameraCount; ++i) {
        m_cameras[static_cast<size_t>(i)].Reset(DefaultCameraName(i));
    }
}

// --- Adding, naming, finding ------------------------------------------------------------------

std::string TkxMain::GetNewName(std::string_view number, std::string_view wantedName) const {
    Stack().Push("tkxmain.GetNewName", number, wantedName);
    if (!wantedName.empty() && !m_parts.FindText(wantedName)) {
        return std::string(wantedName);
    }
    // Gaps are never reused: one more than the highest number in use for the definition.
    int64_t sequence = std::max<int64_t>(m_parts.HighestSequence(number), 0) + 1;
    std::string name;
    for (;;) {
        name = "F" + std::string(number) + "_" + std::to_string(sequence);
        // Only a number that is not five characters long can produce a taken name here.
        if (!m_parts.FindText(name)) {
            return name;
        }
        ++sequence;
    }
}

std::string TkxMain::AddBaustein(std::string_view number, std::string_view wantedName) {
    Stack().Push("tkxmain.AddBaustein", number, wantedName);
    if (!m_placeholders && !m_files.FindPart(MeshFolder, number, "stl")) {
        return {};
    }
    const TDefPtr def = m_defs.GetDef(m_files, number);
    const std::string name = GetNewName(number, wantedName);

    TPartObjectRequest request;
    request.Name = name;
    request.Offset = {static_cast<float>(def->OffsetX), static_cast<float>(def->OffsetY),
                      static_cast<float>(def->OffsetZ)};
    request.Color = def->Color();
    request.OwnColor = def->Color();
    request.Alpha = def->Alpha;
    request.PolygonMode = PolygonMode;
    request.Visible = true;
    request.ConnectorsVisible = !ConnectorsHidden;
    request.ArrowAxes = true;
    request.OutlineShader = OutlineMode && def->DisableShader == 0;
    if (request.OutlineShader) {
        request.OutlineWidth = Param().GetOutlineWidth();
    }
    TFreeForm& object = m_builder->Build(PartsRoot(), m_scene.MaterialLibrary(), m_files, m_meshes,
                                         MeshFolder, *def, request);
    m_lastAdded = &object;

    // The snapshot holds the parts as they were before this one.
    MakeUndoSnapshot("AddBaustein", "");

    auto record = std::make_unique<TBauteil>();
    record->SetName(name);
    record->SetPosition(object.Position());
    record->SetDirection(object.Direction());
    record->SetUp(object.Up());
    record->SetColor(def->Color());
    record->SetAlpha(def->Alpha);
    record->SetOffset(request.Offset);
    record->SetPhase(m_currentPhase);
    record->SetOrgNumber(def->OrgNumber);
    record->SetPrintable(def->Printable);
    record->SetRotationAxis(def->KineRot);
    record->SetTeeth(def->Teeth);
    record->SetObject(&object);
    TBauteil& added = m_parts.Append(std::move(record));
    object.SetBauteil(&added);

    AddBausteinToTreeView(name, &added, m_currentPhase);
    m_view->CollectionViewChanged();
    MarkModified();
    return name;
}

TBauteil* TkxMain::FindBauteil(std::string_view name) const {
    return m_parts.Find(name);
}

TFreeForm* TkxMain::PartObject(std::string_view name) const {
    TSceneObject* object = FindPartObject(name, true);
    return object && object->Kind() == TSceneObjectKind::FreeForm ? static_cast<TFreeForm*>(object)
                                                                  : nullptr;
}

void TkxMain::RefreshBauteil(std::string_view name, bool takeColour, int phase) {
    Stack().Push("tkxmain.RefreshBauteil", name, takeColour, phase);
    TBauteil* record = m_parts.Find(name);
    TSceneObject* object = record ? record->Object() : nullptr;
    // One lookup serves both when the record's object is where it belongs.
    if (!object || object->Parent() != m_scene.PartsRoot() || !SameText(object->Name(), name)) {
        object = FindPartObject(name, false);
    }
    if (!object) {
        return;
    }
    if (record) {
        const bool changed =
            record->Position() != object->Position() ||
            record->Direction() != object->Direction() || record->Up() != object->Up() ||
            (phase != -1 && record->Phase() != phase) ||
            (takeColour && object->Kind() == TSceneObjectKind::FreeForm &&
             record->Color() !=
                 ColorToWin(static_cast<const TFreeForm&>(*object).Material().Diffuse().Rgb()));
        record->SetPosition(object->Position());
        record->SetDirection(object->Direction());
        record->SetUp(object->Up());
        if (takeColour && object->Kind() == TSceneObjectKind::FreeForm) {
            const auto& ff = static_cast<const TFreeForm&>(*object);
            record->SetColor(ColorToWin(ff.Material().Diffuse().Rgb()));
        }
        if (phase != -1) {
            record->SetPhase(phase);
        }
        if (changed) {
            MarkModified();
        }
    }
    // Only the dimensions on this part can have changed: moving a large selection refreshes
    // every part of it, and recomputing every dimension each time would grow with both counts.
    for (const auto& m : m_measurements) {
        if ((m->Part1 && m->Part1->IsInside(*object)) ||
            (m->Part2 && m->Part2->IsInside(*object))) {
            m->Recompute();
        }
    }
}

// --- Deleting ---------------------------------------------------------------------------------

void TkxMain::RemoveMeasurement(size_t index) {
    TMeasurement& m = *m_measurements[index];
    if (m.Root && m.Root->Parent()) {
        m.Root->Parent()->DeleteChild(*m.Root);
    }
    m_measurements.erase(m_measurements.begin() + static_cast<std::ptrdiff_t>(index));
}

void TkxMain::DeleteBaustein(std::string_view nameArg) {
    Stack().Push("tkxmain.DeleteBaustein", nameArg);
    const std::string name(nameArg);
    TSceneObject* object = FindPartObject(name, true);
    if (!object) {
        return;
    }
    m_view->EnableCommand(TModelCommand::Delete, false);

    // The record to drop is the one of this very object, so that no record survives whose
    // object is freed, whatever letter case the caller used.
    TBauteil* record = RecordOf(object);
    const std::string partName = record ? record->Name() : name;

    if (object->Kind() == TSceneObjectKind::FreeForm) {
        const auto& ff = static_cast<const TFreeForm&>(*object);
        m_scene.MaterialLibrary().Remove(ff.Material().LibMaterialName());
    }
    TSceneCamera* camera = m_scene.Camera();
    if (camera && camera->TargetObject() && camera->TargetObject()->IsInside(*object)) {
        camera->SetTargetObject(&PartsRoot());
    }
    for (size_t i = 0; i < m_measurements.size();) {
        const TMeasurement& m = *m_measurements[i];
        if ((m.Part1 && m.Part1->IsInside(*object)) || (m.Part2 && m.Part2->IsInside(*object))) {
            RemoveMeasurement(i);
            i = 0;  // the scan starts again from the first measurement
        } else {
            ++i;
        }
    }

    if (m_selected && m_selected->IsInside(*object)) {
        m_selected = nullptr;
        // The panels described the part that goes now.
        for (int panel = 3; panel >= 0; --panel) {
            m_view->SetStatusText(panel, "");
        }
    } else if (m_selected) {
        // The selection ends with any delete; a surviving part must not stay highlighted.
        DropSelectedPart(Param().GetPaintOldWhite());
    }
    if (m_lastAdded && m_lastAdded->IsInside(*object)) {
        m_lastAdded = nullptr;
    }
    for (const auto& r : m_parts) {
        if (r.get() != record && r->Object() && r->Object()->IsInside(*object)) {
            r->SetObject(nullptr);
        }
    }
    object->Parent()->DeleteChild(*object);
    DeleteBausteinFromTreeView(partName);
    SetSelected(nullptr);

    if (record) {
        m_parts.Remove(*record);
    }

    std::erase_if(m_kineLinks, [&](const TKineData& k) { return k.Uses(partName); });
    std::erase_if(m_collisionRules, [&](const TCollData& c) { return c.Uses(partName); });
    m_motors.Unassign(partName);
    for (const auto& g : m_groups) {
        g->Remove(partName);
    }

    m_view->KineManagerChanged();
    UpdateGroupTreeView();
    m_view->CollectionViewChanged();
    MarkModified();
}

void TkxMain::DeleteAll() {
    Stack().Push("tkxmain.DeleteAll");
    SetSelected(nullptr);
    // The panels describe the selected part, which is gone with everything else.
    for (int panel = 3; panel >= 0; --panel) {
        m_view->SetStatusText(panel, "");
    }
    FileName.clear();

    TDummyCube& root = PartsRoot();
    TDummyCube* target = m_scene.CameraTarget();
    if (TSceneCamera* camera = m_scene.Camera(); camera && target) {
        camera->SetTargetObject(target);
    }
    if (target) {
        target->SetPosition({0, 0, 0});
    }

    for (const auto& r : m_parts) {
        r->SetObject(nullptr);
    }
    root.DeleteChildren();
    if (TSceneObject* tubes = Node("Tubes")) {
        tubes->DeleteChildren();
    }
    if (TSceneObject* outline = Node("Outline")) {
        outline->DeleteChildren();
    }
    m_selected = nullptr;
    m_lastAdded = nullptr;

    m_tree.Clear();
    m_treeView->TreeReset();
    m_parts.Clear();
    m_hoseRegister.clear();
    m_groups.clear();
    ClearUndoList();

    CreateGrid(root, static_cast<float>(Param().GetGridDistance())).SetVisible(GridShown);

    CreateTreeRoot();
    SetBauphase(1);
    m_highestVisiblePhase = kNoPhaseLimit;

    for (const TMaterialPtr& m : m_scene.MaterialLibrary().Materials()) {
        m->RemoveShader();
    }
    m_scene.MaterialLibrary().Clear();
    if (TLightSource* light = m_scene.Light(2)) {
        light->SetShining(true);
    }
    m_phaseVisible.fill(true);

    m_kineLinks.clear();
    m_motors.UnassignAll();
    m_collisionRules.clear();
    m_view->ClearSequenceProgram();
    TakeAblaufLines({});
    m_view->KineManagerChanged();

    m_view->EnableCommand(TModelCommand::Delete, false);
    m_semiFinished.clear();
    m_information = {};
    // A new model starts with the default timeline, not the last model's.
    AniLength = 100;
    m_view->EnableCommand(TModelCommand::Group, false);
    m_view->EnableCommand(TModelCommand::Degroup, false);

    m_measurements.clear();
    if (TSceneObject* measurements = Node("dcMeasurements")) {
        measurements->DeleteChildren();
    }
    m_view->MeasurementsChanged();
    m_view->GroupsTreeChanged();

    ResetCameras();
    m_view->CollectionViewChanged();
    // An empty model without a file: nothing to lose yet.
    MarkSaved();
}

// --- Redrawing --------------------------------------------------------------------------------

void TkxMain::Repaint() {
    Stack().Push("tkxmain.Repaint");
    DeSelectAllBausteine();
    TkxParam& param = Param();
    m_highestVisiblePhase = param.GetHideOtherStages() ? m_currentPhase : kNoPhaseLimit;
    const bool paintOldWhite = param.GetPaintOldWhite();

    m_view->BeginWait();
    SetSelected(nullptr);

    for (const auto& r : m_parts) {
        TFreeForm* object = r->Object();
        if (!object) {
            continue;
        }
        object->SetVisible(false);
        object->SetPosition(r->Position());
        object->SetDirection(r->Direction());
        object->SetUp(r->Up());
        if (PhaseShown(r->Phase())) {
            object->SetVisible(true);
            r->SetColor3D(r->Color());
            if (paintOldWhite && r->Phase() < m_currentPhase) {
                r->SetColor3D(kOldPhaseColor);
            }
        }
        if (!ShowCollisionBodies && r->Name().size() >= 4 &&
            SameText(std::string_view(r->Name()).substr(1, 3), "COL")) {
            object->SetVisible(false);
        }
    }

    for (TPipeEx* hose : Hoses()) {
        if (hose->Phase() == 0) {
            continue;
        }
        hose->SetVisible(false);
        if (PhaseShown(hose->Phase())) {
            hose->SetVisible(true);
            hose->SetDisplayColour(
                paintOldWhite && hose->Phase() < m_currentPhase ? kOldPhaseColor : hose->Colour());
        }
    }

    if (TSceneCamera* camera = m_scene.Camera()) {
        camera->SetTargetObject(m_scene.CameraTarget());
    }
    m_view->EndWait();
    m_treeView->TreeNodesChanged();
}

void TkxMain::Combine(TFreeForm& object, std::string_view number, int preselected) {
    Stack().Push("tkxmain.Combine", object.Name(), number, preselected);
    MakeUndoSnapshot("Combine", "");
    {
        TUndoSuspension suspended(*this);
        DeSelectAllBausteine();
        m_view->ShowConnectorWindow(object, std::string(number), preselected);
    }
    m_view->CollectionViewChanged();
}

void TkxMain::ColorizeLib(TFreeForm& object, uint32_t colour) {
    Stack().Push("tkxmain.ColorizeLib", object.Name(), colour);
    if (TMaterialPtr lib = LibMaterialOf(object)) {
        lib->SetDiffuseColor(ColorFromWin(colour));
    }
}

void TkxMain::ShowModellInformation() {
    Stack().Push("tkxmain.ShowModellInformation");
    TModelInformation edited = m_information;
    if (m_view->EditModelInformation(edited)) {
        if (!(edited == m_information)) {
            MarkModified();
        }
        m_information = std::move(edited);
    }
}

// --- Build phases -----------------------------------------------------------------------------

void TkxMain::SetBauphase(int phase) {
    Stack().Push("tkxmain.SetBauphase", phase);

    m_currentPhase = phase;
    m_view->CurrentPhaseChanged(phase);
}

bool TkxMain::PhaseVisible(int phase) const {
    if (phase < 1 || phase > kPhaseCount) {
        return true;
    }
    return m_phaseVisible[static_cast<size_t>(phase)];
}

void TkxMain::SetPhaseVisible(int phase, bool visible) {
    if (phase >= 1 && phase <= kPhaseCount) {
        m_phaseVisible[static_cast<size_t>(phase)] = visible;
    }
}

bool TkxMain::PhaseShown(int phase) const {
    // The no-limit mark is a number too; a phase read from a file may lie above it.
    return (m_highestVisiblePhase == kNoPhaseLimit || phase <= m_highestVisiblePhase) &&
           PhaseVisible(phase);
}

void TkxMain::UpdateGroupTreeView() {
    Stack().Push("tkxmain.UpdateGroupTreeView");

    std::erase_if(m_groups, [](const auto& g) { return g->Members.empty(); });
    m_view->GroupsTreeChanged();
}

// --- Parts tree -------------------------------------------------------------------------------

std::string TkxMain::PhaseNodeText(int phase) {
    return std::to_string(phase) + ". " + Language().GetText("MAINOBJ", 3, "Bauphase");
}

int TkxMain::PhaseImage(int phase) const {
    if (phase == m_currentPhase) {
        return 0;
    }
    return PhaseVisible(phase) ? 2 : 3;
}

void TkxMain::CreateTreeRoot() {
    Stack().Push("tkxmain.CreateTreeRoot");

    const int row = m_tree.InsertPhaseNode(0, PhaseNodeText(1), 0, 1);
    m_treeView->TreeNodeInserted({row, -1});
}

void TkxMain::AddBausteinToTreeView(std::string_view name, TBauteil* record, int phase) {
    Stack().Push("tkxmain.AddBausteinToTreeView", name, static_cast<const void*>(record), phase);

    int row = m_tree.FindPhase(phase);
    if (row < 0) {
        row = m_tree.AddPhaseNode(PhaseNodeText(phase), PhaseImage(phase), phase);
        m_treeView->TreeNodeInserted({row, -1});
    }
    TPartsTreeNode node;
    node.Text = std::string(name);
    node.Image = 1;
    node.StateIndex = -1;
    node.Data = record;
    m_treeView->TreeNodeInserted(m_tree.AddPartNode(row, std::move(node)));
}

void TkxMain::UpdateTreeView() {
    Stack().Push("tkxmain.UpdateTreeView");

    for (size_t i = 0; i < m_tree.Count(); ++i) {
        TPhaseTreeNode& node = m_tree.Phase(i);
        node.Text = PhaseNodeText(node.StateIndex);
        node.Image = PhaseImage(node.StateIndex);
    }
    m_treeView->TreeNodesChanged();
}

void TkxMain::DeleteBausteinFromTreeView(std::string_view name) {
    Stack().Push("tkxmain.DeleteBausteinFromTreeView", name);

    if (const auto pos = m_tree.FindText(name)) {
        m_tree.Remove(*pos);
        m_treeView->TreeNodeRemoved(*pos);
    }
}

void TkxMain::RecreateTreeView() {
    Stack().Push("tkxmain.RecreateTreeView");

    const int current = m_currentPhase;
    m_tree.Clear();
    TPartsTreeView* view = m_treeView;
    m_treeView = &m_nullTree;  // one reset at the end instead of a report per node
    for (const auto& r : m_parts) {
        AddBausteinToTreeView(r->Name(), r.get(), r->Phase());
    }
    if (m_tree.Empty()) {
        CreateTreeRoot();
    }
    m_treeView = view;
    SetBauphase(current);
    m_tree.SortPhases();
    m_treeView->TreeReset();
}

void TkxMain::PartsTreeNodeSelected(TTreePos pos) {
    if (pos.Phase < 0 || static_cast<size_t>(pos.Phase) >= m_tree.Count()) {
        return;
    }
    // The tree reports a click on its current node as well as a change of node, so a choice
    // that is already in force is let be: no second undo snapshot, no flicker.
    const bool alone = m_parts.CoSelectedRecords().empty();
    if (pos.Child < 0) {
        if (m_selected || !alone) {
            DeSelectAllBausteine();
        }
        return;
    }
    const std::string name = m_tree.Node(pos).Text;
    if (m_selected && alone && SameText(m_selected->Name(), name)) {
        return;
    }
    SelectBaustein(name, false, false);
}

}  // namespace kx
