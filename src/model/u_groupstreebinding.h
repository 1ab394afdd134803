// Binds the groups tree widget to the model's groups and turns its events into group commands.
#pragma once

#include <QIcon>
#include <QObject>
#include <functional>
#include <optional>

#include "model/u_TGroup.h"
#include "model/u_bauphasen.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class TkxMain;

class TGroupsTreeBinding : public QObject {
    Q_OBJECT
public:
    /// Item data roles: the group (as an address the model checks before use) and the image
    /// index of the main window's image list (12 group, 48 member).
    static constexpr int kGroupRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;

    TGroupsTreeBinding(QTreeWidget& tree, TkxMain& model, QObject* parent = nullptr);

    /// Refills the tree from the model's groups (after UpdateGroupTreeView and whenever the
    /// model reports that its groups changed).
    void Refill();

    /// The picture of a node by its image number; none without it.
    std::function<QIcon(int image)> ImageIcon;

    /// While set, choosing a node does not select parts (the main window's bulk updates).
    void SetEventsSuppressed(bool on) { m_suppressed = on; }

    /// The node an item stands for.
    static std::optional<TGroupTreePos> PosOf(const QTreeWidgetItem* item);
    std::optional<TGroupTreePos> CurrentPos() const;

    /// Shows and hides the popup entries for the current node.
    void UpdatePopup(QAction* showOnly, QAction* removePart, QAction* addSelection,
                     QAction* duplicate, QAction* close) const;

    // The popup commands, on the current node.
    void ShowOnlyGroup();
    void AddSelectionToGroup();
    void RemovePartFromGroup();
    void DuplicateGroup();

private:
    void ItemChanged(QTreeWidgetItem* item, int column);
    void CurrentItemChanged(QTreeWidgetItem* current);

    QTreeWidget& m_tree;
    TkxMain& m_model;
    bool m_suppressed = false;
    bool m_filling = false;
};

}  // namespace kx
