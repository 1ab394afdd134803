// What the model asks of the windows around it: main window, parts tree, coordinates manager.
#pragma once

#include <string>
#include <vector>

#include "model/u_partstree.h"

namespace kx {

class TFreeForm;

/// Commands the model enables and disables; each stands for a toolbar button and its menu
/// item together.
enum class TModelCommand {
    Delete,   ///< btnDelete, Entfernen1: enabled exactly while a part is selected
    Undo,     ///< btnUndo, mUndo: enabled while the undo list holds a snapshot
    Group,    ///< btnGroup, menGroupParts
    Degroup,  ///< btnDeGroup, menDegroupParts
};

/// The model's descriptive texts (the file's key names) and its free description lines.
struct TModelInformation {
    std::string InfModell;
    std::string InfOriginal;
    std::string InfGebaut;
    std::string InfKategorie;
    std::vector<std::string> Description;

    bool operator==(const TModelInformation&) const = default;
};

/// The main window as the model sees it.
class TModelView {
public:
    virtual ~TModelView() = default;

    /// Text of status bar panel 0-3.
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    virtual void EnableCommand(TModelCommand command, bool enabled) = 0;
    /// Whether the group mode button is down.
    virtual bool GroupModeDown() const = 0;
    /// An information message box.
    virtual void ShowInformation(const std::string& text) = 0;
    /// The hourglass cursor on, then pending window messages processed; EndWait restores
    /// the cursor.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    /// The current build phase changed (the build-phase display follows it).
    virtual void CurrentPhaseChanged(int phase) = 0;
    /// The parts in the model changed: the collection view recounts.
    virtual void CollectionViewChanged() = 0;
    /// Links, motors or collision rules changed: the kinematics manager refills.
    virtual void KineManagerChanged() = 0;
    /// Groups changed: the groups tree refills from the model's groups.
    virtual void GroupsTreeChanged() = 0;
    /// Measurements were removed or re-attached: the measurement manager refills.
    virtual void MeasurementsChanged() = 0;
    /// Empties the sequence program (owned by the flowchart window).
    virtual void ClearSequenceProgram() = 0;
    /// Opens the connector window modally to join a part of `number` to the fixed part;
    /// preselected is the connector index chosen while dragging, or -1.
    virtual void ShowConnectorWindow(TFreeForm& fixedPart, const std::string& number,
                                     int preselected) = 0;
    /// Opens the model information window on info; true when it was confirmed.
    virtual bool EditModelInformation(TModelInformation& info) = 0;
    /// The model started or stopped differing from its file (the window's title shows it).
    virtual void ModifiedChanged(bool /*modified*/) {}
};

/// The parts tree widget, which mirrors the model's TPartsTree. The model changes the tree
/// first and then reports what it changed.
class TPartsTreeView {
public:
    virtual ~TPartsTreeView() = default;

    /// Everything may have changed: rebuild from the tree.
    virtual void TreeReset() = 0;
    virtual void TreeNodeInserted(TTreePos pos) = 0;
    /// The node that was at pos is gone (a phase node with its children).
    virtual void TreeNodeRemoved(TTreePos pos) = 0;
    /// Texts and images of the phase nodes changed.
    virtual void TreeNodesChanged() = 0;
    virtual bool TreeVisible() const = 0;
    virtual void SetTreeVisible(bool visible) = 0;
    /// Makes the node the tree's selected node and gives the tree the focus.
    virtual void SelectTreeNode(TTreePos pos) = 0;
};

/// The coordinates manager shows the selected part; the model decides which one that is.
class TCoordinatesView {
public:
    virtual ~TCoordinatesView() = default;
    /// nullptr: no part.
    virtual void ShowPart(TFreeForm* part) = 0;
};

/// The wait window: a title and a progress bar while a long job runs (saving, loading,
/// exporting). Shown, moved on and closed by the job; the GUI processes pending messages when
/// asked to.
class TWaitView {
public:
    virtual ~TWaitView() = default;
    virtual void ShowWait(const std::string& title, int maximum) = 0;
    virtual void SetWaitPosition(int position) = 0;
    virtual void ProcessMessages() = 0;
    virtual void CloseWait() = 0;
};

/// Ports that do nothing: the model without windows (scripts, tools, tests that do not
/// watch the windows).
class TNullModelView : public TModelView {
public:
    void SetStatusText(int, const std::string&) override {}
    void EnableCommand(TModelCommand, bool) override {}
    bool GroupModeDown() const override { return false; }
    void ShowInformation(const std::string&) override {}
    void BeginWait() override {}
    void EndWait() override {}
    void CurrentPhaseChanged(int) override {}
    void CollectionViewChanged() override {}
    void KineManagerChanged() override {}
    void GroupsTreeChanged() override {}
    void MeasurementsChanged() override {}
    void ClearSequenceProgram() override {}
    void ShowConnectorWindow(TFreeForm&, const std::string&, int) override {}
    bool EditModelInformation(TModelInformation&) override { return false; }
};

class TNullPartsTreeView : public TPartsTreeView {
public:
    void TreeReset() override {}
    void TreeNodeInserted(TTreePos) override {}
    void TreeNodeRemoved(TTreePos) override {}
    void TreeNodesChanged() override {}
    bool TreeVisible() const override { return false; }
    void SetTreeVisible(bool) override {}
    void SelectTreeNode(TTreePos) override {}
};

class TNullCoordinatesView : public TCoordinatesView {
public:
    void ShowPart(TFreeForm*) override {}
};

class TNullWaitView : public TWaitView {
public:
    void ShowWait(const std::string&, int) override {}
    void SetWaitPosition(int) override {}
    void ProcessMessages() override {}
    void CloseWait() override {}
};

}  // namespace kx
