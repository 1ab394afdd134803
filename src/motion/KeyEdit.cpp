// TKeyEdit: one part's row in the time manager, drawing its keys on a time line and turning
// the mouse into selecting and dragging them.
#include "motion/KeyEdit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kx {

TKeyEdit::TKeyEdit(TKeyRow& row, QWidget* parent) : QWidget(parent), m_row(row) {
    setObjectName(QString::fromStdString("KeyEdit_" + row.ObjName));
    setFixedHeight(TKeyRow::kHeight);
    setMinimumWidth(200);
    if (!row.BmpFilename.empty()) {
        // A missing or unreadable icon leaves the row without a picture.
        m_icon.load(QString::fromStdString(row.BmpFilename));
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TKeyEdit::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    if (!m_icon.isNull()) {
        p.drawImage(QRect(0, 0, 64, 64), m_icon);
    }

    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    const QString name = QString::fromStdString(m_row.ObjName);
    const int textWidth = p.fontMetrics().horizontalAdvance(name);
    const int nameX = 32 - textWidth / 2;
    const int nameY = 2 + p.fontMetrics().ascent();
    // A white outline keeps the name readable over any icon.
    p.setPen(Qt::white);
    for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
        p.drawText(nameX + d.x(), nameY + d.y(), name);
    }
    p.setPen(Qt::black);
    p.drawText(nameX, nameY, name);
    p.setFont(font());

    const int zoom = std::max(1, m_row.Zoom);
    const int frames = m_row.VisibleFrames(width());
    p.setPen(Qt::black);
    p.drawLine(TKeyRow::kAxisLeft, 32, width() - 10, 32);
    if (zoom > 2) {
        for (int i = 0; i <= frames; ++i) {
            const int frame = m_row.Offset + i;
            const int x = TKeyRow::kAxisLeft + i * zoom;
            p.drawLine(x, 22, x, 42);
            if (frame % 25 == 0) {
                p.drawLine(x + 1, 22, x + 1, 42);
            }
            if (frame % 25 == 0 || (i == 0 && m_row.Offset == 1)) {
                p.drawText(x + 2, 20, QString::number(frame));
            }
        }
    } else {
        for (int i = 0; i <= frames; ++i) {
            const int frame = m_row.Offset + i;
            if (frame % 25 == 0) {
                const int x = TKeyRow::kAxisLeft + i * zoom;
                p.drawLine(x, 22, x, 42);
                p.drawText(x + 2, 20, QString::number(frame));
            }
        }
    }
    if (m_row.Position >= m_row.Offset && m_row.Position <= m_row.Offset + frames) {
        const int x = m_row.FrameX(m_row.Position);
        p.setPen(Qt::red);
        p.drawLine(x, 0, x, height());
    }
    p.setPen(Qt::black);
    for (const TKeyNode& node : m_row.Nodes) {
        if (!m_row.NodeVisible(node, width())) {
            continue;
        }
        const int x = m_row.FrameX(node.Frame);
        p.setBrush(node.Selected ? QColor(Qt::yellow) : QColor(Qt::blue));
        p.drawEllipse(QRect(QPoint(x - 6, 26), QPoint(x + 7, 38)));
    }
    if (!m_row.Text.empty()) {
        p.drawText(70, 50 + p.fontMetrics().ascent(), QString::fromStdString(m_row.Text));
    }
}

void TKeyEdit::mousePressEvent(QMouseEvent* event) {
    const int x = int(event->position().x());
    if (event->button() == Qt::LeftButton) {
        m_row.Press(x, width());
        update();
    } else if (event->button() == Qt::RightButton && OnPopup) {
        OnPopup(*this, event->globalPosition().toPoint());
    }
}

void TKeyEdit::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton) && m_row.Drag(int(event->position().x()))) {
        update();
    }
}

}  // namespace kx

#include "moc_KeyEdit.cpp"
