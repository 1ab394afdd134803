// Binds the main window's groups tree widget to the model's groups.
#include "model/u_groupstreebinding.h"

#include <QAction>
#include <QTreeWidget>

#include "model/MainObj.h"

namespace kx {

namespace {
TGroup* GroupOf(const QTreeWidgetItem* item) {
    return reinterpret_cast<TGroup*>(
        item->data(0, TGroupsTreeBinding::kGroupRole).value<quintptr>());
}
}  // namespace

TGroupsTreeBinding::TGroupsTreeBinding(QTreeWidget& tree, TkxMain& model, QObject* parent)
    : QObject(parent), m_tree(tree), m_model(model) {
    m_tree.setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    connect(&m_tree, &QTreeWidget::itemChanged, this, &TGroupsTreeBinding::ItemChanged);
    connect(&m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { CurrentItemChanged(current); });
}

void TGroupsTreeBinding::Refill() {
    const bool wasVisible = m_tree.isVisible();
    m_tree.setVisible(false);
    m_tree.setUpdatesEnabled(false);
    m_filling = true;
    m_tree.clear();
    for (const TGroupTreeNode& node : m_model.GroupsTreeNodes()) {
        auto* groupItem = new QTreeWidgetItem(&m_tree, {QString::fromStdString(node.Text)});
        groupItem->setData(0, kGroupRole,
                           QVariant::fromValue(reinterpret_cast<quintptr>(node.Group)));
        groupItem->setData(0, kImageRole, node.Image);
        if (ImageIcon) {
            groupItem->setIcon(0, ImageIcon(node.Image));
        }
        // Only a group's name can be edited in place.
        groupItem->setFlags(groupItem->flags() | Qt::ItemIsEditable);
        for (const TGroupTreeNode& child : node.Children) {
            auto* memberItem = new QTreeWidgetItem(groupItem, {QString::fromStdString(child.Text)});
            memberItem->setData(0, kGroupRole,
                                QVariant::fromValue(reinterpret_cast<quintptr>(child.Group)));
            memberItem->setData(0, kImageRole, child.Image);
            if (ImageIcon) {
                memberItem->setIcon(0, ImageIcon(child.Image));
            }
            memberItem->setFlags(memberItem->flags() & ~Qt::ItemIsEditable);
        }
    }
    m_filling = false;
    m_tree.setUpdatesEnabled(true);
    m_tree.setVisible(wasVisible);
}

std::optional<TGroupTreePos> TGroupsTreeBinding::PosOf(const QTreeWidgetItem* item) {
    if (!item) {
        return std::nullopt;
    }
    TGroupTreePos pos;
    pos.Group = GroupOf(item);
    if (const QTreeWidgetItem* parent = item->parent()) {
        pos.Member = parent->indexOfChild(const_cast<QTreeWidgetItem*>(item));
    }
    return pos;
}

std::optional<TGroupTreePos> TGroupsTreeBinding::CurrentPos() const {
    return PosOf(m_tree.currentItem());
}

void TGroupsTreeBinding::UpdatePopup(QAction* showOnly, QAction* removePart, QAction* addSelection,
                                     QAction* duplicate, QAction* close) const {
    const TGroupsPopup popup = m_model.GroupsPopup(CurrentPos());
    const std::pair<QAction*, bool> entries[] = {{showOnly, popup.ShowOnly},
                                                 {removePart, popup.RemovePart},
                                                 {addSelection, popup.AddSelection},
                                                 {duplicate, popup.Duplicate},
                                                 {close, popup.Close}};
    for (const auto& [action, shown] : entries) {
        if (action) {
            action->setVisible(shown);
        }
    }
}

void TGroupsTreeBinding::ItemChanged(QTreeWidgetItem* item, int column) {
    if (m_filling || column != 0 || !item || item->parent()) {
        return;
    }
    m_model.RenameGroup(GroupOf(item), item->text(0).toStdString());
}

void TGroupsTreeBinding::CurrentItemChanged(QTreeWidgetItem* current) {
    if (m_filling || m_suppressed) {
        return;
    }
    if (const auto pos = PosOf(current)) {
        m_model.GroupsTreeNodeSelected(*pos);
    }
}

void TGroupsTreeBinding::ShowOnlyGroup() {
    if (const auto pos = CurrentPos()) {
        m_model.ShowOnlyGroup(pos->Group);
    }
}

void TGroupsTreeBinding::AddSelectionToGroup() {
    const auto pos = CurrentPos();
    if (pos && pos->Member < 0) {
        m_model.AddSelectionToGroup(pos->Group);
    }
}

void TGroupsTreeBinding::RemovePartFromGroup() {
    QTreeWidgetItem* item = m_tree.currentItem();
    const auto pos = PosOf(item);
    if (!pos || pos->Member < 0) {
        return;
    }
    if (m_model.RemoveFromGroup(pos->Group, item->text(0).toStdString())) {
        m_filling = true;
        delete item;
        m_filling = false;
    }
}

void TGroupsTreeBinding::DuplicateGroup() {
    const auto pos = CurrentPos();
    if (pos && pos->Member < 0) {
        m_model.DuplicateGroup(pos->Group);
    }
}

}  // namespace kx

#include "moc_u_groupstreebinding.cpp"
