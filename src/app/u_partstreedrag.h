// Dragging a part node of the parts tree onto another node moves the part into that node's
// build phase.
#pragma once

#include <QObject>
#include <functional>

#include "model/u_partstree.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class TkxMain;

class TPartsTreeDrag : public QObject {
    Q_OBJECT
public:
    /// Lets the tree's part nodes be dragged; redraw repaints the 3D view after a move.
    TPartsTreeDrag(QTreeWidget& tree, TkxMain& model, std::function<void()> redraw,
                   QObject* parent = nullptr);

    /// Part nodes can be dragged; phase nodes only take drops.
    static void SetItemFlags(QTreeWidgetItem& item, bool partNode);

    /// Moves the part of the current node into the phase of target (a phase node, or a part
    /// node for its phase). False when the current node is not a part node or there is no
    /// target. The moved node stays the current one.
    bool MoveCurrentPartTo(const QTreeWidgetItem* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Droppable(const QObject* source, const QTreeWidgetItem* target) const;
    bool Move(TTreePos from, TTreePos to);

    QTreeWidget& m_tree;
    QObject* m_viewport = nullptr;
    TkxMain& m_model;
    std::function<void()> m_redraw;
};

}  // namespace kx
