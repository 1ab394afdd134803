// The flowchart window's drawing surface.
#include "sequence/llsurface.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "sequence/blockpictures.h"

namespace kx {

namespace {
/// One wheel notch with Ctrl zooms by this factor.
constexpr double kZoomStep = 1.25;
/// Room left beyond the lowest and rightmost block.
constexpr int kMargin = 200;
}  // namespace

TLogicSurface::TLogicSurface(TAblaufEditor& editor, QScrollArea& box, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_box(box) {
    setObjectName(QStringLiteral("pb"));
    setAcceptDrops(true);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateExtent();
}

void TLogicSurface::UpdateExtent() {
    int64_t right = kMinimumExtent;
    int64_t bottom = kMinimumExtent;
    for (const auto& b : m_editor.Program().Blocks()) {
        right = std::max<int64_t>(right, int64_t(b->X) + b->Width + kMargin);
        bottom = std::max<int64_t>(bottom, int64_t(b->Y) + b->Height + kMargin);
    }
    // Qt's widgets end at 16 million pixels; a block dragged that far stays reachable below it.
    const auto limit = static_cast<int64_t>(16000000 / m_zoom);
    const QSize size(static_cast<int>(std::ceil(double(std::min(right, limit)) * m_zoom)),
                     static_cast<int>(std::ceil(double(std::min(bottom, limit)) * m_zoom)));
    if (size != this->size()) {
        resize(size);
    }
}

QPoint TLogicSurface::ToWidget(TAblaufPoint p) const {
    return QPoint(static_cast<int>(std::lround(p.X * m_zoom)),
                  static_cast<int>(std::lround(p.Y * m_zoom)));
}

TAblaufPoint TLogicSurface::ToProgram(QPointF w) const {
    return {static_cast<int32_t>(std::floor(w.x() / m_zoom)),
            static_cast<int32_t>(std::floor(w.y() / m_zoom))};
}

void TLogicSurface::SetZoom(double zoom, QPoint anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (std::abs(zoom - m_zoom) < 1e-9) {
        return;
    }
    const QPointF program(anchor.x() / m_zoom, anchor.y() / m_zoom);
    QScrollBar* h = m_box.horizontalScrollBar();
    QScrollBar* v = m_box.verticalScrollBar();
    const QPoint onScreen(anchor.x() - h->value(), anchor.y() - v->value());
    m_zoom = zoom;
    UpdateExtent();
    h->setValue(static_cast<int>(std::lround(program.x() * m_zoom)) - onScreen.x());
    v->setValue(static_cast<int>(std::lround(program.y() * m_zoom)) - onScreen.y());
    update();
    if (OnZoomChanged) {
        OnZoomChanged();
    }
}

void TLogicSurface::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Button));
    p.scale(m_zoom, m_zoom);
    const TAblauf& program = m_editor.Program();
    // Later blocks lie over earlier ones, as the hit test finds them.
    for (const auto& b : program.Blocks()) {
        DrawBlock(p, *b);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(128, 128, 128), 2));
    for (const TCon& c : program.Connections()) {
        const std::vector<TAblaufPoint> route = ConnectionRoute(c);
        QPolygon line;
        for (const TAblaufPoint& pt : route) {
            line << QPoint(pt.X, pt.Y);
        }
        p.drawPolyline(line);
    }
    QPen overlay(Qt::black, 2, Qt::DashLine);
    p.setPen(overlay);
    p.setBrush(Qt::NoBrush);
    if (const auto r = m_editor.Outline()) {
        p.drawRect(QRect(QPoint(r->Left, r->Top), QPoint(r->Right - 1, r->Bottom - 1)));
    }
    if (const auto band = m_editor.Band()) {
        p.drawLine(QPoint(band->first.X, band->first.Y), QPoint(band->second.X, band->second.Y));
    }
}

void TLogicSurface::mousePressEvent(QMouseEvent* event) {
    const TAblaufPoint at = ToProgram(event->position());
    m_editor.Press(at.X, at.Y, event->button() == Qt::LeftButton);
    update();
}

void TLogicSurface::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const TAblaufPoint at = ToProgram(event->position());
    m_editor.Move(at.X, at.Y);
    update();
}

void TLogicSurface::mouseReleaseEvent(QMouseEvent* event) {
    const TAblaufPoint at = ToProgram(event->position());
    const TAblaufResult result = m_editor.Release(at.X, at.Y);
    UpdateExtent();
    update();
    if (!result && OnMessage) {
        OnMessage(result.Message);
    }
}

void TLogicSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt reports the second press of a double click as this event alone, so that press
    // neither starts a drag nor changes the selection.
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const TAblaufPoint at = ToProgram(event->position());
    if (TBlock* block = m_editor.DoubleClick(at.X, at.Y); block && OnEdit) {
        OnEdit(*block);
    }
    update();
}

void TLogicSurface::contextMenuEvent(QContextMenuEvent* event) {
    if (OnPopup) {
        OnPopup(event->globalPos());
    }
}

void TLogicSurface::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(QString::fromLatin1(kLogicBlockMimeType))) {
        event->acceptProposedAction();
    }
}

void TLogicSurface::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(QString::fromLatin1(kLogicBlockMimeType))) {
        event->acceptProposedAction();
    }
}

void TLogicSurface::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kLogicBlockMimeType))) {
        return;
    }
    event->acceptProposedAction();
    const TAblaufPoint at = ToProgram(event->position());
    if (OnDrop) {
        OnDrop(at.X, at.Y);
    }
    UpdateExtent();
    update();
}

void TLogicSurface::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();  // the scroll box scrolls
        return;
    }
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        SetZoom(m_zoom * std::pow(kZoomStep, notches), event->position().toPoint());
    }
    event->accept();
}

}  // namespace kx

#include "moc_llsurface.cpp"
