// Small pictures the program paints itself.
#include "app/u_paintedicons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace kx {

namespace {

constexpr QColor kEdge(60, 60, 60);
constexpr QColor kBlock(220, 60, 50);

// A block of the kit seen from the front: a body with two studs on top.
void PaintBlock(QPainter& p, QRectF body, const QColor& colour) {
    p.setPen(kEdge);
    p.setBrush(colour);
    const double stud = body.width() / 4;
    for (double x : {body.left() + stud * 0.5, body.right() - stud * 1.5}) {
        p.drawRect(QRectF(x, body.top() - 2, stud, 2));
    }
    p.drawRect(body);
}

// A build phase: three layers, as a model grows phase by phase.
void PaintLayers(QPainter& p, const QColor& colour, bool crossed) {
    p.setPen(kEdge);
    p.setBrush(colour);
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(2.5 + i, 11.5 - 4 * i, 11 - 2 * i, 3));
    }
    if (crossed) {
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        p.drawLine(QPointF(2, 14), QPointF(14, 2));
    }
}

QPixmap Canvas() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    return pm;
}

}  // namespace

QIcon GroupButtonIcon(bool joined) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kEdge);
    p.setBrush(kBlock);
    const int gap = joined ? 0 : 3;
    p.drawRect(QRectF(2.5, 7.5, 7, 6));
    p.drawRect(QRectF(9.5 + gap, 7.5, 7 - gap, 6));
    if (joined) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(30, 90, 200), 1, Qt::DashLine));
        p.drawRect(QRectF(0.5, 4.5, 18, 12));
    }
    return QIcon(pm);
}

QIcon TreeNodeIcon(int image) {
    static QHash<int, QIcon> icons;
    if (const auto it = icons.constFind(image); it != icons.constEnd()) {
        return *it;
    }
    QPixmap pm = Canvas();
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        switch (image) {
            case 0:
                PaintLayers(p, QColor(80, 180, 80), false);
                break;
            case 1:
                PaintBlock(p, QRectF(2.5, 6.5, 11, 7), kBlock);
                break;
            case 2:
                PaintLayers(p, QColor(230, 200, 80), false);
                break;
            case 3:
                PaintLayers(p, QColor(215, 215, 215), true);
                break;
            case 12:
                PaintBlock(p, QRectF(1.5, 8.5, 6, 5), kBlock);
                PaintBlock(p, QRectF(8.5, 8.5, 6, 5), kBlock);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(QColor(30, 90, 200), 1, Qt::DashLine));
                p.drawRect(QRectF(0.5, 4.5, 15, 10));
                break;
            case 48:
                PaintBlock(p, QRectF(4.5, 7.5, 7, 6), kBlock);
                break;
            default:
                return {};
        }
    }
    return icons.insert(image, QIcon(pm)).value();
}

}  // namespace kx
