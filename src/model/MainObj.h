// The model object TkxMain: placed parts, the parts tree, selection, undo and the model's lists.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generated/u_hzdata.h"
#include "generated/u_pipeex.h"
#include "generated/u_schlauch.h"
#include "model/u_TBauteil.h"
#include "model/u_TGroup.h"
#include "model/u_bauphasen.h"
#include "model/u_export.h"
#include "model/u_modelfile.h"
#include "model/u_modelports.h"
#include "model/u_partobject.h"
#include "model/u_partstree.h"
#include "model/u_undo.h"
#include "motion/u_colldata.h"
#include "motion/u_kinedata.h"
#include "motion/u_kineedit.h"
#include "motion/u_kinematik.h"
#include "motion/u_motorstate.h"
#include "placement/u_TMeasurement.h"
#include "sequence/u_ablauf.h"
#include "view/u_TCamera.h"
#include "view/u_material.h"

namespace kx {

class TCableWindow;
class TDefCache;
struct TDefObj;
class TDummyCube;
class TFreeForm;
class TPartFiles;
class TScene;
class TSceneObject;
class TffCache;

/// Highlight colours (Windows colour values).
inline constexpr uint32_t kSelectedColor = 0xFF80FF;
inline constexpr uint32_t kCoSelectedColor = 0xFF40FF;
inline constexpr uint32_t kOldPhaseColor = 0xFFFFFF;
/// Build phases with a visibility flag; the highest visible phase without a limit.
inline constexpr int kPhaseCount = 199;
inline constexpr int kNoPhaseLimit = 99999;
inline constexpr int kStoredCameraCount = 4;

/// The document: one per run. It owns every list that makes up a model and drives the
/// scene's part objects; windows are reached only through the ports.
class TkxMain {
public:
    /// The scene must have its main nodes (BuildMainScene). The caches default to the
    /// process-wide ones.
    TkxMain(TScene& scene, const TPartFiles& files);
    TkxMain(TScene& scene, const TPartFiles& files, TDefCache& defs, TffCache& meshes);
    ~TkxMain();
    TkxMain(const TkxMain&) = delete;
    TkxMain& operator=(const TkxMain&) = delete;

    // --- Ports (nullptr: the silent default) --------------------------------------------------
    void SetView(TModelView* view);
    void SetPartsTreeView(TPartsTreeView* view);
    void SetCoordinatesView(TCoordinatesView* view);
    void SetPartObjectBuilder(std::unique_ptr<TPartObjectBuilder> builder);

    // --- Placed parts -------------------------------------------------------------------------
    /// Places a part of the definition at the origin; returns its name, or an empty name when
    /// the definition has no mesh file.
    std::string AddBaustein(std::string_view number, std::string_view wantedName = {});
    /// The wanted name if no part has it (letter case ignored), else "F" + number + "_" + one
    /// more than the highest sequence number of the definition's parts.
    std::string GetNewName(std::string_view number, std::string_view wantedName = {}) const;
    /// The first record of exactly that name, or nullptr.
    TBauteil* FindBauteil(std::string_view name) const;
    /// The placed part's object of that name below the parts root (letter case ignored), or
    /// nullptr when there is none or the object is no placed part.
    TFreeForm* PartObject(std::string_view name) const;
    /// Copies the pose of the part's object (and its colour, and phase unless -1) into its
    /// record; then every measurement follows.
    void RefreshBauteil(std::string_view name, bool takeColour, int phase);
    /// Removes the part's object, record, tree node and everything that refers to the part.
    void DeleteBaustein(std::string_view name);
    /// Empties the model.
    void DeleteAll();
    /// Puts every part's object back to its stored pose, colour and visibility.
    void Repaint();
    /// Joins a new part of `number` to a placed part through the connector window.
    void Combine(TFreeForm& object, std::string_view number, int preselected = -1);
    /// Diffuse colour of the object's library material; the alpha stays.
    void ColorizeLib(TFreeForm& object, uint32_t colour);
    /// Edits the model information in its window.
    void ShowModellInformation();

    const TBauteilList& Parts() const { return m_parts; }
    TBauteilList& Parts() { return m_parts; }
    /// Scene object made by the latest successful AddBaustein (callers clear it first).
    TFreeForm* LastAddedObject() const { return m_lastAdded; }
    void ClearLastAddedObject() { m_lastAdded = nullptr; }

    // --- Parts tree ---------------------------------------------------------------------------
    void CreateTreeRoot();
    void AddBausteinToTreeView(std::string_view name, TBauteil* record, int phase);
    /// Text and image of every phase node.
    void UpdateTreeView();
    void DeleteBausteinFromTreeView(std::string_view name);
    /// Rebuilds the tree from the records, phase nodes in ascending order.
    void RecreateTreeView();
    /// The user chose a node: a part node selects its part, a phase node deselects all.
    void PartsTreeNodeSelected(TTreePos pos);
    const TPartsTree& PartsTree() const { return m_tree; }
    /// "2. Bauphase".
    static std::string PhaseNodeText(int phase);

    // --- Selection ----------------------------------------------------------------------------
    void SelectBaustein(std::string_view name, bool addToSelection = false,
                        bool ignoreGroup = false);
    void CoSelectBaustein(std::string_view name, bool skipSelected, bool noSnapshot, bool forceOn);
    void DeSelectAllBausteine();
    void SelectAllBausteine();
    void SelectAllBausteineFromActualPhase();
    void HideAllPartsExceptSelection();
    /// Selects every part of the definition; reports and returns how many there are.
    int FindPartsInModel(std::string_view number);
    /// The commands "Alles selektieren" and "Alles deselektieren": one snapshot each.
    void SelectAllCommand();
    void DeselectAllCommand();
    /// The selected part's object, or nullptr.
    TFreeForm* SelectedPart() const { return m_selected; }

    // --- Undo ---------------------------------------------------------------------------------
    void MakeUndoSnapshot(std::string_view action, std::string_view argument = {});
    void ClearUndoList();
    /// The command "Rückgängig".
    void DoUndo();
    /// Rebuilds every part object from its record.
    void UndoRepaint();
    const TUndoList& UndoList() const { return m_undo; }
    bool UndoSuppressed() const { return m_undoSuppressed; }
    void SetUndoSuppressed(bool on) { m_undoSuppressed = on; }

    // --- Build phases -------------------------------------------------------------------------
    int CurrentPhase() const { return m_currentPhase; }
    void SetBauphase(int phase);
    int HighestVisiblePhase() const { return m_highestVisiblePhase; }
    void SetHighestVisiblePhase(int phase) { m_highestVisiblePhase = phase; }
    /// Whether the phase is marked visible; phases without a flag (outside 1-199) count as
    /// visible.
    bool PhaseVisible(int phase) const;
    void SetPhaseVisible(int phase, bool visible);
    /// Shown by Repaint: not above the highest visible phase, and marked visible.
    bool PhaseShown(int phase) const;

    // --- Build phase and group commands (MainObj_phases.cpp) ----------------------------------
    void SetPhaseWindows(TPhaseWindows* windows);
    /// "Neue Bauphase": deselects all, appends a phase after the highest one in the parts tree
    /// (at least 2, at most kHighestFlaggedPhase) and makes it current; returns its number.
    int NewBauphase();
    /// "Bauphase wechseln" on the parts tree's chosen node (its parent's phase for a part
    /// node); without a node, the message asking for one. False when nothing changed.
    bool ChangeBauphase(std::optional<TTreePos> node);
    /// Parts tree popup "Bauphase unsichtbar" / "Bauphase sichtbar" on a phase node.
    void SetPhaseNodeVisible(TTreePos node, bool visible);
    /// A part node dragged onto another node of the parts tree: the part moves into that
    /// node's phase. Returns the part node's new position, or nothing if it was no move.
    std::optional<TTreePos> MovePartNode(TTreePos part, TTreePos target);
    /// "Bauphasen ein/ausblenden": the visible-phases window over the phases 1 to the highest
    /// phase of any part.
    void BauphasenUebersicht();
    /// The highest phase of any part (0 without parts).
    int HighestPartPhase() const;
    /// Lines of the stage chooser: the largest state index of the parts tree, 1 to
    /// kHighestFlaggedPhase.
    int StageCount() const;
    /// The stage chooser: the chosen phase, or 0 when cancelled.
    int SelectPhase();
    /// Moves the selected and every co-selected part into a phase from the stage chooser.
    void ChangeStageOfSelectedParts();

    /// "Bauteile gruppieren": the selected part and the co-selected ones form a new group.
    TGroup* GroupBauteile();
    /// "Bauteilgruppe auflösen": removes the first group that holds the selected part.
    void DeGroupBauteile();
    /// Appends a group of these parts; internal groups (a part placed with its children) are
    /// kept and saved but not shown in the groups tree.
    TGroup& AddGroup(const std::vector<std::string>& members, bool internal,
                     std::string name = "Gruppe");
    /// Whether the group is one of the model's (the pointer is not followed).
    bool HasGroup(const TGroup* group) const;
    /// The nodes the groups tree shows.
    std::vector<TGroupTreeNode> GroupsTreeNodes() const { return BuildGroupsTree(m_groups); }
    /// The groups tree's in-place edit of a group node.
    void RenameGroup(TGroup* group, std::string name);
    /// The groups tree's chosen node changed: a member node selects its part.
    void GroupsTreeNodeSelected(TGroupTreePos pos);
    /// Which popup entries the groups tree shows for the chosen node.
    TGroupsPopup GroupsPopup(std::optional<TGroupTreePos> pos) const;
    /// "Selektion der Gruppe hinzufügen".
    void AddSelectionToGroup(TGroup* group);
    /// "Bauteil aus der Gruppe entfernen": true when the part was a member (its node goes).
    bool RemoveFromGroup(TGroup* group, const std::string& member);
    /// "Nur diese Gruppe sichtbar".
    void ShowOnlyGroup(TGroup* group);
    /// "Gruppe duplizieren": new parts of the same definitions on the members' poses in the
    /// current phase, and a new group holding them. Returns it, or nullptr if no part could be
    /// placed.
    TGroup* DuplicateGroup(TGroup* group);

    // --- The model's other lists --------------------------------------------------------------
    std::vector<TSchlauch>& HoseRegister() { return m_hoseRegister; }
    /// The hoses node `Tubes` (nullptr in a scene without it) and the hoses below it.
    TSceneObject* HoseRoot() const { return Node("Tubes"); }
    std::vector<TPipeEx*> Hoses() const;
    std::vector<std::unique_ptr<TGroup>>& Groups() { return m_groups; }
    std::vector<TKineData>& KineLinks() { return m_kineLinks; }
    TMotors& Motors() { return m_motors; }
    std::vector<TCollData>& CollisionRules() { return m_collisionRules; }
    std::vector<std::unique_ptr<TMeasurement>>& Measurements() { return m_measurements; }
    /// A dimension between two parts' objects, drawn below the measurements node and appended
    /// to the measurements (MainObj_measurements.cpp).
    TMeasurement& AddMeasurement(TSceneObject* object1, TSceneObject* object2);
    /// Takes that measurement out of the list and its drawing out of the scene, and frees it.
    void DeleteMeasurement(const TMeasurement* measurement);
    void UnHighlightAllMeasurements();
    /// The definition of a placed part's name (characters 2 to 6), from the model's cache.
    std::shared_ptr<const TDefObj> PartDefinition(std::string_view partName) const;
    std::vector<THZData>& SemiFinishedParts() { return m_semiFinished; }
    /// Stores a new plastic strip under the next free number and bakes it; returns the
    /// number, or an empty text when it could not be baked (the model stays as it was).
    std::string AddSemiFinished(THZData part, std::string* error = nullptr);
    std::array<TCamera, kStoredCameraCount>& Cameras() { return m_cameras; }
    TModelInformation& Information() { return m_information; }
    /// Drops groups without members and refills the groups tree.
    void UpdateGroupTreeView();
    /// Stored camera i (0-3) with its default name: "Kamera" and the number.
    static std::string DefaultCameraName(int index);

    TScene& Scene() { return m_scene; }
    const TPartFiles& Files() const { return m_files; }

    // --- Hoses (MainObj_hoses.cpp) ------------------------------------------------------------
    /// A register entry and a straight hose of kind 0-3 named "Schlauch_" + register size;
    /// returns the hose (nullptr without a hoses node) and its name.
    TPipeEx* NewSchlauch(int kind, std::string& name);
    /// The names of the register entries, in order.
    void UpdateSchlauchItems(std::vector<std::string>& list) const;
    void AddSchlauchNode(std::string_view name, double x, double y, double z);
    /// The hose's display colour and radius into every register entry of its name.
    void UpdateSchlauchData(const TPipeEx& hose);
    /// One line per node: X, Y and Z as "%8.4f", with the decimal comma of the files.
    void UpdateSchlauchNodes(std::string_view name, std::vector<std::string>& list) const;
    std::optional<TVector3f> GetSchlauchNode(std::string_view name, size_t index) const;
    void DeleteSchlauchNode(std::string_view name, size_t index);
    /// The first hose of that name below the hoses node (letter case ignored), or nullptr.
    TPipeEx* FindSchlauch(std::string_view name) const;
    /// Replaces every hose of the model by copies of these (the tube manager's close): nodes,
    /// kind, shape, colours and phase, no names. Marks the model as changed.
    void ReplaceHoses(const std::vector<const TPipeEx*>& hoses);
    /// Appends a hose from a file record below the hoses node.
    TPipeEx* AddHoseFromRecord(const THoseData& record);

    // --- Cables and rounding (MainObj_cable.cpp) ----------------------------------------------
    /// "Kabel erzeugen": a red cable hose between the selected plug and the last co-selected
    /// one, edited in the window; it stays only when the window is confirmed. Without two
    /// plugs, the message asking for them. Deselects everything in every case.
    bool CreateKabel(TCableWindow& window);
    /// Writes smoothed normals of the number's detailed mesh into the user's part folder and
    /// tells the user how it went; the next part of the number is drawn with them.
    bool RoundSinglePart(std::string_view number, double limit);

    // --- Model file (MainObj_file.cpp) --------------------------------------------------------
    void SetWaitView(TWaitView* view);
    /// Writes the model file through a temporary file: a failed save leaves the old file.
    TModelFileResult SaveModell(const std::string& fileName);
    /// Loads a model file as the new model, or merges it into this one. The whole file is read
    /// and checked first: a file that cannot be read or is broken leaves the model as it was.
    TModelFileResult LoadModell(const std::string& fileName, bool newModel);
    /// The same from a stream, read from its start; the file name only goes to the recent
    /// files.
    TModelFileResult LoadModell(const std::string& fileName, bool newModel, std::istream& stream);
    /// Records a model file in the recent-files list; false when the settings refuse it.
    bool DoLastFile(const std::string& fileName);
    /// The whole model as the file document that SaveModell writes.
    TModelFile ToModelFile() const;
    /// The sequence program's sections as the file had them; written back at their place as
    /// long as the program has not changed since, so a file keeps even what the program does
    /// not read.
    std::vector<std::string> SequenceLines;

    // --- Exports (MainObj_export.cpp) ---------------------------------------------------------
    /// The scene as the view holds it, each part in its own colour; the wait window shows the
    /// progress (not for RAW). A failed export leaves no file behind and an older one as it was.
    TModelExportResult ExportAsRaw(const std::string& fileName);
    TModelExportResult ExportAsVRML(const std::string& fileName);
    /// The background is a Windows colour value (red in the low byte); radiosity for the
    /// render manager.
    TModelExportResult ExportAsPOV(const std::string& fileName, uint32_t backgroundColour,
                                   bool radiosity = false);
    TModelExportResult ExportAsX3D(const std::string& fileName, bool flat);

    // --- Key-frame animation (MainObj_animation.cpp) ------------------------------------------
    /// Puts every part with at least two keys at its pose for frame t: record, then object.
    void Animate(int32_t t);
    /// Records a key at frame t for the selected part and every co-selected one; without a
    /// selection, the message asking for one. False when nothing was recorded.
    bool RecordAnimation(int32_t t);

    // --- Settings of the model ----------------------------------------------------------------
    bool ConnectorsHidden = false;  ///< connector arrows of new parts start hidden
    TPolygonMode PolygonMode = TPolygonMode::Filled;
    bool GridShown = true;
    bool OutlineMode = false;
    bool ShowCollisionBodies = true;
    bool Loading = false;              ///< a model file is being read
    std::string MeshFolder = "hires";  ///< "hires" or "lores"
    std::string FileName;              ///< model file last loaded or saved
    int32_t AniLength = 100;           ///< animation length in frames

    // --- Kinematics mode (MainObj_kine.cpp) ---------------------------------------------------
    /// Panels from the motor records, rule states cleared; the model is locked until the stop.
    void StartKinematik();
    /// Panel speeds back into the motors; every part back at its stored pose.
    void StopKinematik();
    /// One kinematics step (the main window's timer calls it every 10 ms).
    void DoKinematik();
    void DoCollision();
    /// Between StartKinematik and StopKinematik: nothing may change the model's lists or parts.
    bool KinematikActive() const { return m_kinematikActive; }
    /// The live motor states: the panels show them, rules and sequence programs switch them.
    TMotorPanels& MotorPanels() { return m_motorPanels; }
    /// What a sequence program's collision block named `name` sees (any thread, see
    /// TKinematik::CollisionState).
    bool CollisionState(std::string_view name, bool previous) const {
        return m_kinematik.CollisionState(name, previous);
    }
    TKinematik& Kinematik() { return m_kinematik; }

    // --- Editing links, motors and collision rules (MainObj_kineedit.cpp) --------------------
    /// The link, motor and rule dialogs (nullptr: every dialog is cancelled).
    void SetKineDialogs(TKineDialogs* dialogs);
    /// "Rotations-Bindung": a gear link from the selected to the last co-selected part.
    void EditKinematikRotation();
    /// "Feste Bindung": a rigid link from the selected part to each co-selected one.
    void EditKinematikRotationFest();
    /// "Rotation-/Translation-Bindung".
    void AddKinematikRotTrans();
    /// "Motor festlegen": the selected part to a motor.
    void SetKineMotor();
    /// "Kollision einfügen".
    void AddKollision();
    /// The kinematics manager refills its lists.
    void UpdateKineManager();
    /// A manager row was chosen: the first part selected, the second co-selected.
    void SelectKinePair(const std::string& part1, const std::string& part2);
    /// The manager's edit and delete of the record a row shows (row index and the record as
    /// the row shows it); false when the record is no longer in the model.
    bool EditKineLink(size_t row, const TKineData& shown);
    bool DeleteKineLink(size_t row, const TKineData& shown);
    /// The motor dialog for motor `number` (1-8) and its part.
    void EditKineMotor(int number);
    /// Motor `number` loses its part.
    void RemoveKineMotor(int number);
    bool EditCollisionRule(size_t row, const TCollData& shown);
    bool DeleteCollisionRule(size_t row, const TCollData& shown);
    // --- Sequence program (MainObj_ablauf.cpp) ------------------------------------------------
    /// The model's sequence program; it runs while kinematics mode is on.
    TAblauf& Ablauf() { return m_ablauf; }
    /// Carries out what the program's runners asked since the last step: motor switches and
    /// part colours (main thread; every kinematics step begins with it).
    void ApplyAblaufEffects();

    // --- Changes since the last save or load ---------------------------------------------------
    /// Notes that the model differs from its file (every change through the model calls it).
    void MarkModified() {
        if (!m_modified) {
            SetModified(true);
        }
    }
    bool IsModified() const { return m_modified; }
    /// The model as it stands is what its file holds (after a save, a load or "Neu"); an undo
    /// that comes back to it makes the model unchanged again.
    void MarkSaved();

private:
    void SetModified(bool modified);
    /// The model's file lines without the view's camera, which moves without changing the model.
    std::vector<std::string> ComparableLines() const;
    TDummyCube& PartsRoot() const;
    TSceneObject* Node(std::string_view name) const;
    /// The object of that name below the parts root (letter case ignored): a direct child, or
    /// with recursive anywhere in the subtree. Part objects are found through their records.
    TSceneObject* FindPartObject(std::string_view name, bool recursive) const;
    /// The record that belongs to a part object.
    TBauteil* RecordOf(const TSceneObject* object) const;
    TMaterialPtr LibMaterialOf(const TFreeForm& object) const;
    /// Colour of object and library material, alpha kept.
    void Highlight(TFreeForm& object, uint32_t colour);
    /// The record's colour (white for an earlier phase when painting old phases white) on
    /// object and library material with the record's alpha.
    void RestoreColour(TBauteil& record, bool paintOldWhite, bool objectAlphaToo);
    void SetSelected(TFreeForm* object);
    /// The selected part stops being selected: axes off, its own colour back.
    void DropSelectedPart(bool paintOldWhite);
    int PhaseImage(int phase) const;
    void ResetCameras();
    void RemoveMeasurement(size_t index);
    /// AddMeasurement without counting as a change (the loader).
    TMeasurement& NewMeasurement(TSceneObject* object1, TSceneObject* object2);
    TCameraPose CurrentCamera() const;
    TModelFileResult LoadModellLines(const std::string& fileName, bool newModel,
                                     const std::vector<std::string>& lines);
    std::vector<std::string> ApplyModelFile(TModelFile& file, bool newModel);
    void PlaceFilePart(TPartRecord& record, bool newModel, bool first,
                       std::vector<std::string>& missing);
    void AttachMeasurementsByName(const std::vector<std::pair<std::string, std::string>>& names);

    TScene& m_scene;
    const TPartFiles& m_files;
    TDefCache& m_defs;
    TffCache& m_meshes;
    std::unique_ptr<TPartObjectBuilder> m_builder;

    TNullModelView m_nullView;
    TNullPartsTreeView m_nullTree;
    TNullCoordinatesView m_nullCoords;
    TModelView* m_view = &m_nullView;
    TPartsTreeView* m_treeView = &m_nullTree;
    TCoordinatesView* m_coords = &m_nullCoords;
    TNullWaitView m_nullWait;
    TWaitView* m_wait = &m_nullWait;
    bool m_placeholders = false;  ///< AddBaustein places a part without mesh as a stand-in
    /// The camera as the last file gave it, and as it stood right after: while the camera has
    /// not moved since, saving writes the file's values, so its frame does not drift.
    std::pair<TCameraPose, TCameraPose> m_loadedCamera;
    bool m_cameraFromFile = false;
    TNullPhaseWindows m_nullPhaseWindows;
    TPhaseWindows* m_phaseWindows = &m_nullPhaseWindows;

    TBauteilList m_parts;
    TPartsTree m_tree;
    TUndoList m_undo;
    bool m_undoSuppressed = false;
    bool m_modified = false;
    std::vector<std::string> m_savedLines;  ///< ComparableLines at the last MarkSaved
    bool m_selectionBusy = false;
    TFreeForm* m_selected = nullptr;
    TFreeForm* m_lastAdded = nullptr;

    int m_currentPhase = 1;
    int m_highestVisiblePhase = kNoPhaseLimit;
    std::array<bool, kPhaseCount + 1> m_phaseVisible{};

    std::vector<TSchlauch> m_hoseRegister;
    std::vector<std::unique_ptr<TGroup>> m_groups;
    std::vector<TKineData> m_kineLinks;
    TMotors m_motors;
    std::vector<TCollData> m_collisionRules;
    std::vector<std::unique_ptr<TMeasurement>> m_measurements;
    std::vector<THZData> m_semiFinished;
    std::array<TCamera, kStoredCameraCount> m_cameras;
    TModelInformation m_information;

    TMotorPanels m_motorPanels;
    TKinematik m_kinematik{m_kineLinks,
                           m_motors,
                           m_collisionRules,
                           m_motorPanels,
                           [this](std::string_view name) { return KinematikPart(name); },
                           [this] { return KinematikGeneration(); }};
    bool m_kinematikActive = false;
    TNullKineDialogs m_nullKineDialogs;
    TKineDialogs* m_kineDialogs = &m_nullKineDialogs;
    /// Around the link and motor dialogs: the camera keeps looking at its target while every
    /// part but the shown ones is hidden (hideOthers); the end puts every part back.
    void BeginKineDialog(const std::vector<TFreeForm*>& shown, bool hideOthers);
    void EndKineDialog();
    std::string LastCoSelectedName() const;
    uint64_t KinematikGeneration() const;
    TSceneObject* KinematikPart(std::string_view name) const;

    /// Declared last: destroyed first, so its runners end before anything they read goes.
    TAblauf m_ablauf;
    uint64_t m_ablaufRevision = 0;  ///< the program's revision when SequenceLines were taken
    bool m_ablaufQuiet = false;     ///< the program is being replaced by a load or a reset
    void ConnectAblauf();
    /// The sequence lines the file gets: as read while unchanged, else the program's own.
    std::vector<std::string> AblaufLines() const;
    /// The program from a file's lines, kept as they are for saving.
    void TakeAblaufLines(const std::vector<std::string>& lines);
};

/// Suspends undo snapshots for a scope and puts the previous state back afterwards, however
/// the scope ends.
class TUndoSuspension {
public:
    explicit TUndoSuspension(TkxMain& model) : m_model(model), m_previous(model.UndoSuppressed()) {
        model.SetUndoSuppressed(true);
    }
    ~TUndoSuspension() { m_model.SetUndoSuppressed(m_previous); }
    TUndoSuspension(const TUndoSuspension&) = delete;
    TUndoSuspension& operator=(const TUndoSuspension&) = delete;

private:
    TkxMain& m_model;
    bool m_previous;
};

}  // namespace kx
