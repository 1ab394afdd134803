// The drag slider widget over its state.
#include "placement/ValuePanel.h"

#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kx {

TValuePanel::TValuePanel(TValuePanelState* state, QWidget* parent)
    : QFrame(parent), m_state(state), m_colour(palette().color(QPalette::Button)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumHeight(22);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::SizeHorCursor);
}

void TValuePanel::SetState(TValuePanelState* state) {
    m_state = state;
    update();
}

void TValuePanel::SetPanelColor(const QColor& colour) {
    m_colour = colour;
    update();
}

QString TValuePanel::Text() const {
    return m_state ? QString::fromStdString(m_state->Text()) : QString();
}

QSize TValuePanel::sizeHint() const {
    return {110, 22};
}

bool TValuePanel::DragBy(int dx) {
    if (!isEnabled() || !m_state || !m_state->DragBy(dx)) {
        return false;
    }
    emit Changed();
    update();
    return true;
}

void TValuePanel::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.fillRect(contentsRect(), isEnabled() ? m_colour : palette().color(QPalette::Window));
        p.setPen(!isEnabled() ? palette().color(QPalette::Disabled, QPalette::Text)
                 : m_hover    ? QColor(Qt::blue)
                              : palette().color(QPalette::Text));
        p.drawText(contentsRect(), Qt::AlignCenter, Text());
    }
    QFrame::paintEvent(event);
}

void TValuePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        return;
    }
    m_pressed = event->globalPosition().toPoint();
    m_dragging = true;
    setCursor(Qt::BlankCursor);
}

void TValuePanel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const int dx = event->globalPosition().toPoint().x() - m_pressed.x();
    // Back to the pressed point, so the drag never runs out of screen.
    if (DragBy(dx)) {
        QCursor::setPos(m_pressed);
    }
}

void TValuePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) {
        return;
    }
    m_dragging = false;
    QCursor::setPos(m_pressed);
    setCursor(Qt::SizeHorCursor);
}

void TValuePanel::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QFrame::enterEvent(event);
}

void TValuePanel::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QFrame::leaveEvent(event);
}

}  // namespace kx

#include "moc_ValuePanel.cpp"
