// The Qt side of the view's handling: the window services it asks for, and drag and drop of
// library parts onto the 3D view widget.
#include "view/f_ViewerGlue.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include "catalogue/f_SnapView.h"

namespace kx {

TQtViewerHost::TQtViewerHost(QWidget* view, QObject* parent) : QObject(parent), m_view(view) {}

int TQtViewerHost::ViewWidth() const {
    return m_view ? m_view->width() : 0;
}

int TQtViewerHost::ViewHeight() const {
    return m_view ? m_view->height() : 0;
}

void TQtViewerHost::Redraw() {
    if (m_view) {
        m_view->update();
    }
}

void TQtViewerHost::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void TQtViewerHost::AfterDrop(std::function<void()> action) {
    // A queued call: the drag-and-drop loop has returned before it runs, so the modal
    // connector window never runs inside it.
    QTimer::singleShot(0, this, std::move(action));
}

namespace {

std::string DraggedNumber(const QMimeData* mime) {
    if (!mime || !mime->hasFormat(QString::fromLatin1(PartMimeType))) {
        return {};
    }
    return mime->data(QString::fromLatin1(PartMimeType)).toStdString();
}

}  // namespace

TViewerDropTarget::TViewerDropTarget(QWidget* view, TViewerInteraction& viewer, QObject* parent)
    : QObject(parent), m_view(view), m_viewer(viewer) {
    view->setAcceptDrops(true);
    view->installEventFilter(this);
}

bool TViewerDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view) {
        return false;
    }
    switch (event->type()) {
        case QEvent::DragEnter: {
            auto* e = static_cast<QDragEnterEvent*>(event);
            const std::string number = DraggedNumber(e->mimeData());
            if (number != m_dragged) {
                m_dragged = number;
                m_viewer.DragStarted(number);
            }
            e->acceptProposedAction();
            return true;
        }
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            const QPoint p = e->position().toPoint();
            m_viewer.DragOver(p.x(), p.y());
            e->acceptProposedAction();
            return true;
        }
        case QEvent::DragLeave:
            m_dragged.clear();
            m_viewer.DragLeft();
            return true;
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            const QPoint p = e->position().toPoint();
            const std::string number = DraggedNumber(e->mimeData());
            // The drop is accepted first; what it does runs after the drag has ended.
            e->acceptProposedAction();
            m_dragged.clear();
            m_viewer.Drop(p.x(), p.y(), number, !number.empty());
            return true;
        }
        default:
            return false;
    }
}

}  // namespace kx
