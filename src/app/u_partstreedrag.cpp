// Dragging a part node of the parts tree into another build phase.
#include "app/u_partstreedrag.h"

#include <QDropEvent>
#include <QTreeWidget>

#include "app/u_mainports.h"
#include "model/MainObj.h"

namespace kx {

TPartsTreeDrag::TPartsTreeDrag(QTreeWidget& tree, TkxMain& model, std::function<void()> redraw,
                               QObject* parent)
    : QObject(parent), m_tree(tree), m_model(model), m_redraw(std::move(redraw)) {
    m_tree.setDragEnabled(true);
    m_tree.setAcceptDrops(true);
    m_tree.setDropIndicatorShown(true);
    m_tree.setDragDropMode(QAbstractItemView::DragDrop);
    m_tree.setDefaultDropAction(Qt::CopyAction);
    // The tree never moves items itself: the model moves the part and the tree follows it.
    m_viewport = m_tree.viewport();
    m_viewport->installEventFilter(this);
}

void TPartsTreeDrag::SetItemFlags(QTreeWidgetItem& item, bool partNode) {
    Qt::ItemFlags flags = item.flags() | Qt::ItemIsDropEnabled;
    flags.setFlag(Qt::ItemIsDragEnabled, partNode);
    item.setFlags(flags);
}

bool TPartsTreeDrag::Droppable(const QObject* source, const QTreeWidgetItem* target) const {
    const QTreeWidgetItem* dragged = m_tree.currentItem();
    return source == &m_tree && target && dragged && dragged->parent();
}

bool TPartsTreeDrag::MoveCurrentPartTo(const QTreeWidgetItem* target) {
    const auto from = TMainFormPorts::PosOf(m_tree, m_tree.currentItem());
    const auto to = TMainFormPorts::PosOf(m_tree, target);
    return from && to && Move(*from, *to);
}

bool TPartsTreeDrag::Move(TTreePos from, TTreePos to) {
    if (from.Child < 0 || to.Phase < 0) {
        return false;
    }
    const auto moved = m_model.MovePartNode(from, {to.Phase, -1});
    if (!moved) {
        return false;
    }
    if (QTreeWidgetItem* phase = m_tree.topLevelItem(moved->Phase)) {
        if (QTreeWidgetItem* item = phase->child(moved->Child)) {
            const QSignalBlocker block(&m_tree);
            m_tree.setCurrentItem(item);
        }
    }
    if (m_redraw) {
        m_redraw();
    }
    return true;
}

bool TPartsTreeDrag::eventFilter(QObject* watched, QEvent* event) {
    // Compared with the viewport kept at the start: while the tree is being destroyed its
    // viewport still sends events, and the tree can no longer be asked for it.
    if (watched != m_viewport) {
        return false;
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            const QTreeWidgetItem* target = m_tree.itemAt(drag->position().toPoint());
            if (!Droppable(drag->source(), target)) {
                drag->ignore();
                return true;
            }
            // Let the view draw its indicator and scroll, but take the drop here.
            return false;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QTreeWidgetItem* target = m_tree.itemAt(drop->position().toPoint());
            const auto from = TMainFormPorts::PosOf(m_tree, m_tree.currentItem());
            const auto to = TMainFormPorts::PosOf(m_tree, target);
            if (!Droppable(drop->source(), target) || !from || !to) {
                drop->ignore();
                return true;
            }
            // The view still holds the dragged item until the drag is over: the move, which
            // replaces the item, waits until then.
            drop->setDropAction(Qt::CopyAction);  // nothing for the view to remove
            drop->accept();
            QMetaObject::invokeMethod(
                this, [this, from = *from, to = *to] { Move(from, to); }, Qt::QueuedConnection);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace kx

#include "moc_u_partstreedrag.cpp"
