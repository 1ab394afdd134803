// The main window as the model sees it: status bar, commands, messages, the parts tree
// widget mirroring the model's tree, the wait window.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "catalogue/u_library.h"
#include "model/u_modelports.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class TFormWait;
class TMainForm;
class TkxMain;

class TMainFormPorts : public QObject,
                       public TModelView,
                       public TPartsTreeView,
                       public TCoordinatesView,
                       public TWaitView,
                       public TLibraryModel {
    Q_OBJECT
public:
    /// Parts tree item data: the node's image (0 current phase, 1 part, 2 phase, 3 hidden
    /// phase), beside its state index in Qt::UserRole.
    static constexpr int kImageRole = Qt::UserRole + 1;
    static constexpr int kCurrentPhaseImage = 0;
    static constexpr int kHiddenPhaseImage = 3;

    TMainFormPorts(TMainForm& form, QTreeWidget& partsTree);

    /// Where an item of the parts tree stands in the model's tree; nothing for no item.
    static std::optional<TTreePos> PosOf(const QTreeWidget& tree, const QTreeWidgetItem* item);
    ~TMainFormPorts() override;

    void SetModel(TkxMain* model) { m_model = model; }
    /// Hooks the windows of later features fill in.
    std::function<void(int)> OnPhaseChanged;
    std::function<void()> OnCollectionChanged;
    std::function<void()> OnGroupsChanged;
    /// After the model became changed or unchanged (the caption is updated first).
    std::function<void(bool)> OnModifiedChanged;
    std::function<void()> OnKineChanged;
    std::function<void()> OnMeasurementsChanged;
    std::function<void(TFreeForm&, const std::string&, int)> OnConnectorWindow;
    std::function<void(TFreeForm*)> OnShowPart;

    /// While set, selection changes of the parts tree select nothing (a command is deleting).
    bool TreeEventsSuppressed = false;

    // TModelView
    void SetStatusText(int panel, const std::string& text) override;
    void EnableCommand(TModelCommand command, bool enabled) override;
    bool GroupModeDown() const override;
    void ShowInformation(const std::string& text) override;
    void BeginWait() override;
    void EndWait() override;
    void CurrentPhaseChanged(int phase) override;
    void CollectionViewChanged() override;
    void KineManagerChanged() override;
    void GroupsTreeChanged() override;
    void MeasurementsChanged() override;
    void ClearSequenceProgram() override;
    void ShowConnectorWindow(TFreeForm& fixedPart, const std::string& number,
                             int preselected) override;
    bool EditModelInformation(TModelInformation& info) override;
    void ModifiedChanged(bool modified) override;

    // TPartsTreeView
    void TreeReset() override;
    void TreeNodeInserted(TTreePos pos) override;
    void TreeNodeRemoved(TTreePos pos) override;
    void TreeNodesChanged() override;
    bool TreeVisible() const override;
    void SetTreeVisible(bool visible) override;
    void SelectTreeNode(TTreePos pos) override;

    // TCoordinatesView
    void ShowPart(TFreeForm* part) override;

    // TLibraryModel
    std::vector<std::string> PlacedPartNumbers() override;
    std::vector<std::string> SelectedPartNumbers() override;
    bool CollectionRefreshSuppressed() override;
    void FindPartsInModel(const std::string& number) override;

    // TWaitView
    void ShowWait(const std::string& title, int maximum) override;
    void SetWaitPosition(int position) override;
    void ProcessMessages() override;
    void CloseWait() override;

private:
    QTreeWidgetItem* MakeItem(const TPartsTreeNode& node, bool partNode) const;
    void TreeSelectionChanged();

    TMainForm& m_form;
    QTreeWidget& m_tree;
    TkxMain* m_model = nullptr;
    std::unique_ptr<TFormWait> m_wait;
    int m_waitDepth = 0;
    bool m_processing = false;
};

}  // namespace kx
