// The main window as the model sees it: status bar, commands, messages, the parts tree
// widget mirroring the model's tree, the wait window.
#include "app/u_mainports.h"

#include <QApplication>
#include <QMessageBox>
#include <QTreeWidget>

#include "app/Main.h"
#include "app/f_ModellInfo.h"
#include "app/f_Wait.h"
#include "app/u_commandtable.h"
#include "app/u_paintedicons.h"
#include "app/u_partstreedrag.h"
#include "model/MainObj.h"

namespace kx {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

TMainFormPorts::TMainFormPorts(TMainForm& form, QTreeWidget& partsTree)
    : QObject(&form), m_form(form), m_tree(partsTree) {
    connect(&m_tree, &QTreeWidget::itemSelectionChanged, this,
            &TMainFormPorts::TreeSelectionChanged);
    // A click on the node that is already current chooses it again: after the view changed
    // the selection, that is how the user gets the node's part (or none) back.
    connect(&m_tree, &QTreeWidget::itemClicked, this, &TMainFormPorts::TreeSelectionChanged);
}

TMainFormPorts::~TMainFormPorts() = default;

void TMainFormPorts::SetStatusText(int panel, const std::string& text) {
    m_form.SetStatusText(panel, Q(text));
}

void TMainFormPorts::EnableCommand(TModelCommand command, bool enabled) {
    switch (command) {
        case TModelCommand::Delete:
            m_form.SetCommandEnabled("menDelete", enabled);
            break;
        case TModelCommand::Undo:
            m_form.SetCommandEnabled("menUndo", enabled);
            break;
        case TModelCommand::Group:
            m_form.SetCommandEnabled("menGroup", enabled);
            break;
        case TModelCommand::Degroup:
            m_form.SetCommandEnabled("menDeGroup", enabled);
            break;
    }
}

bool TMainFormPorts::GroupModeDown() const {
    return m_form.GroupModeDown();
}

void TMainFormPorts::ShowInformation(const std::string& text) {
    QMessageBox::information(&m_form, QStringLiteral("Korvex designer"), Q(text));
}

void TMainFormPorts::BeginWait() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProcessMessages();
}

void TMainFormPorts::EndWait() {
    if (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
    }
}

void TMainFormPorts::CurrentPhaseChanged(int phase) {
    if (OnPhaseChanged) {
        OnPhaseChanged(phase);
    }
}

void TMainFormPorts::CollectionViewChanged() {
    if (OnCollectionChanged) {
        OnCollectionChanged();
    }
}

void TMainFormPorts::KineManagerChanged() {
    if (OnKineChanged) {
        OnKineChanged();
    }
}

void TMainFormPorts::GroupsTreeChanged() {
    if (OnGroupsChanged) {
        OnGroupsChanged();
    }
}

void TMainFormPorts::MeasurementsChanged() {
    if (OnMeasurementsChanged) {
        OnMeasurementsChanged();
    }
}

void TMainFormPorts::ClearSequenceProgram() {}

void TMainFormPorts::ShowConnectorWindow(TFreeForm& fixedPart, const std::string& number,
                                         int preselected) {
    if (OnConnectorWindow) {
        OnConnectorWindow(fixedPart, number, preselected);
    }
}

bool TMainFormPorts::EditModelInformation(TModelInformation& info) {
    TFormModellInformation dlg(info, &m_form);
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    info = dlg.Information();
    return true;
}

void TMainFormPorts::ModifiedChanged(bool modified) {
    m_form.UpdateCaption();
    if (OnModifiedChanged) {
        OnModifiedChanged(modified);
    }
}

namespace {

// The node's image as the look of its text: the current phase bold, a hidden phase grey and
// slanted.
void ApplyImage(QTreeWidgetItem& item, int image) {
    item.setIcon(0, TreeNodeIcon(image));
    QFont font = item.font(0);
    font.setBold(image == TMainFormPorts::kCurrentPhaseImage);
    font.setItalic(image == TMainFormPorts::kHiddenPhaseImage);
    item.setFont(0, font);
    if (image == TMainFormPorts::kHiddenPhaseImage) {
        item.setForeground(0, QBrush(Qt::gray));
    } else {
        item.setData(0, Qt::ForegroundRole, QVariant());
    }
}

}  // namespace

QTreeWidgetItem* TMainFormPorts::MakeItem(const TPartsTreeNode& node, bool partNode) const {
    auto* item = new QTreeWidgetItem(QStringList(Q(node.Text)));
    item->setData(0, Qt::UserRole, node.StateIndex);
    item->setData(0, kImageRole, node.Image);
    ApplyImage(*item, node.Image);
    TPartsTreeDrag::SetItemFlags(*item, partNode);
    return item;
}

void TMainFormPorts::TreeReset() {
    const QSignalBlocker block(&m_tree);
    m_tree.clear();
    if (!m_model) {
        return;
    }
    const TPartsTree& tree = m_model->PartsTree();
    QList<QTreeWidgetItem*> top;
    for (const TPhaseTreeNode& phase : tree.Nodes()) {
        QTreeWidgetItem* item = MakeItem(phase, false);
        for (const TPartsTreeNode& child : phase.Children) {
            item->addChild(MakeItem(child, true));
        }
        top << item;
    }
    m_tree.addTopLevelItems(top);
}

void TMainFormPorts::TreeNodeInserted(TTreePos pos) {
    if (!m_model) {
        return;
    }
    const QSignalBlocker block(&m_tree);
    const TPartsTree& tree = m_model->PartsTree();
    if (pos.Phase < 0 || pos.Phase >= static_cast<int>(tree.Count())) {
        return TreeReset();
    }
    if (pos.Child < 0) {
        QTreeWidgetItem* item = MakeItem(tree.Phase(static_cast<size_t>(pos.Phase)), false);
        for (const TPartsTreeNode& child : tree.Phase(static_cast<size_t>(pos.Phase)).Children) {
            item->addChild(MakeItem(child, true));
        }
        m_tree.insertTopLevelItem(pos.Phase, item);
        return;
    }
    QTreeWidgetItem* parent = m_tree.topLevelItem(pos.Phase);
    if (!parent) {
        return TreeReset();
    }
    parent->insertChild(pos.Child, MakeItem(tree.Node(pos), true));
}

void TMainFormPorts::TreeNodeRemoved(TTreePos pos) {
    const QSignalBlocker block(&m_tree);
    if (pos.Child < 0) {
        delete m_tree.takeTopLevelItem(pos.Phase);
        return;
    }
    if (QTreeWidgetItem* parent = m_tree.topLevelItem(pos.Phase)) {
        delete parent->takeChild(pos.Child);
    }
}

void TMainFormPorts::TreeNodesChanged() {
    if (!m_model) {
        return;
    }
    const TPartsTree& tree = m_model->PartsTree();
    if (static_cast<int>(tree.Count()) != m_tree.topLevelItemCount()) {
        return TreeReset();
    }
    for (int i = 0; i < m_tree.topLevelItemCount(); ++i) {
        const TPhaseTreeNode& phase = tree.Phase(static_cast<size_t>(i));
        QTreeWidgetItem* item = m_tree.topLevelItem(i);
        item->setText(0, Q(phase.Text));
        item->setData(0, kImageRole, phase.Image);
        ApplyImage(*item, phase.Image);
    }
}

bool TMainFormPorts::TreeVisible() const {
    return m_tree.isVisible();
}

void TMainFormPorts::SetTreeVisible(bool visible) {
    m_tree.setUpdatesEnabled(visible);
    m_tree.setVisible(visible);
}

void TMainFormPorts::SelectTreeNode(TTreePos pos) {
    QTreeWidgetItem* item = m_tree.topLevelItem(pos.Phase);
    if (item && pos.Child >= 0) {
        item = item->child(pos.Child);
    }
    if (!item) {
        return;
    }
    const QSignalBlocker block(&m_tree);
    m_tree.setCurrentItem(item);
    m_tree.setFocus();
}

std::optional<TTreePos> TMainFormPorts::PosOf(const QTreeWidget& tree,
                                              const QTreeWidgetItem* item) {
    if (!item) {
        return std::nullopt;
    }
    auto* node = const_cast<QTreeWidgetItem*>(item);
    TTreePos pos;
    if (QTreeWidgetItem* parent = node->parent()) {
        pos.Phase = tree.indexOfTopLevelItem(parent);
        pos.Child = parent->indexOfChild(node);
    } else {
        pos.Phase = tree.indexOfTopLevelItem(node);
    }
    return pos;
}

void TMainFormPorts::TreeSelectionChanged() {
    if (TreeEventsSuppressed || !m_model) {
        return;
    }
    const auto pos = PosOf(m_tree, m_tree.currentItem());
    if (!pos) {
        return;
    }
    m_model->PartsTreeNodeSelected(*pos);
    m_form.RedrawView();
}

void TMainFormPorts::ShowPart(TFreeForm* part) {
    // With no part selected, no part node may stay marked; a chosen phase node stays, since
    // the phase commands act on it.
    if (!part && m_tree.currentItem() && m_tree.currentItem()->parent()) {
        const QSignalBlocker block(&m_tree);
        m_tree.setCurrentItem(nullptr);
        m_tree.clearSelection();
    }
    if (OnShowPart) {
        OnShowPart(part);
    }
}

std::vector<std::string> TMainFormPorts::PlacedPartNumbers() {
    std::vector<std::string> numbers;
    if (m_model) {
        numbers.reserve(m_model->Parts().Count());
        for (const auto& record : m_model->Parts()) {
            numbers.push_back(record->GetShortName());
        }
    }
    return numbers;
}

std::vector<std::string> TMainFormPorts::SelectedPartNumbers() {
    std::vector<std::string> numbers;
    if (!m_model) {
        return numbers;
    }
    const TFreeForm* selected = m_model->SelectedPart();
    for (const auto& record : m_model->Parts()) {
        // The selected part itself, not the mark an undo snapshot left on a record.
        if ((selected && record->Object() == selected) || record->CoSelected()) {
            numbers.push_back(record->GetShortName());
        }
    }
    return numbers;
}

bool TMainFormPorts::CollectionRefreshSuppressed() {
    return m_model && m_model->Loading;
}

void TMainFormPorts::FindPartsInModel(const std::string& number) {
    if (m_model) {
        m_model->FindPartsInModel(number);
        m_form.RedrawView();
    }
}

void TMainFormPorts::ShowWait(const std::string& title, int maximum) {
    if (!m_wait) {
        m_wait = std::make_unique<TFormWait>(&m_form);
    }
    m_wait->SetTitle(Q(title));
    m_wait->SetMaximum(maximum);
    m_wait->SetPosition(0);
    m_wait->show();
    ProcessMessages();
}

void TMainFormPorts::SetWaitPosition(int position) {
    if (m_wait) {
        m_wait->SetPosition(position);
    }
}

void TMainFormPorts::ProcessMessages() {
    // Paints the wait window and cursor; user input stays queued, so a command cannot be
    // started again from inside itself.
    if (m_processing) {
        return;
    }
    m_processing = true;
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_processing = false;
}

void TMainFormPorts::CloseWait() {
    if (m_wait) {
        m_wait->hide();
    }
}

}  // namespace kx

#include "moc_u_mainports.cpp"
