// The pictures of the flowchart's blocks: blue shapes with gold rings where the connectors are.
#include "sequence/blockpictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "sequence/u_ablaufeditor.h"

namespace kx {

namespace {

const QColor kOutline(22, 58, 117);
const QColor kBrown(139, 90, 43);
const QColor kGold(232, 190, 60);
const QColor kGoldDark(128, 96, 16);

QBrush BlueFill(const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(140, 190, 250));
    g.setColorAt(1, QColor(66, 126, 214));
    return QBrush(g);
}

void Shape(QPainter& p, const QPainterPath& path) {
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(BlueFill(path.boundingRect()));
    p.drawPath(path);
}

void Capsule(QPainter& p, const QRectF& r) {
    QPainterPath path;
    path.addRoundedRect(r, r.height() / 2, r.height() / 2);
    Shape(p, path);
}

void Diamond(QPainter& p) {
    QPainterPath path;
    path.moveTo(72, 2);
    path.lineTo(146, 40);
    path.lineTo(72, 78);
    path.lineTo(2, 40);
    path.closeSubpath();
    Shape(p, path);
}

/// A connector: a gold ring with a dark hole.
void Ring(QPainter& p, double x, double y) {
    p.setPen(QPen(kGoldDark, 1));
    p.setBrush(kGold);
    p.drawEllipse(QPointF(x, y), 4.5, 4.5);
    p.setBrush(kGoldDark);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(x, y), 1.6, 1.6);
}

void Dot(QPainter& p, double x, double y, const QColor& colour) {
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawEllipse(QPointF(x, y), 3.5, 3.5);
}

void TextField(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 3, 3);
}

void Word(QPainter& p, const QString& text, const QRectF& r) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

/// Rings and answer dots that every decision block shares.
void DecisionConnectors(QPainter& p, double inY) {
    Dot(p, 86, 64, QColor(40, 200, 60));
    Dot(p, 120, 50, QColor(220, 40, 40));
    Ring(p, 72, inY);
    Ring(p, 72, 72);
    Ring(p, 130, 40);
}

void MotorDrawing(QPainter& p) {
    // A motor seen from the side: body, end cap and shaft.
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 22, 22, 22), 3, 3);
    p.drawRect(QRectF(34, 27, 4, 12));
    p.drawRect(QRectF(8, 26, 4, 14));
}

void DoubleArrow(QPainter& p, const QRectF& box, bool left) {
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double cy = box.center().y();
    const double h = box.height() * 0.28;
    for (int i = 0; i < 2; ++i) {
        const double tip = left ? box.left() + 6 + i * 8 : box.right() - 6 - i * 8;
        const double back = left ? tip + 7 : tip - 7;
        const QPointF pts[3] = {{back, cy - h}, {tip, cy}, {back, cy + h}};
        p.drawPolyline(pts, 3);
    }
}

void Hourglass(QPainter& p) {
    QPainterPath glass;
    glass.moveTo(18, 14);
    glass.lineTo(34, 14);
    glass.lineTo(27, 25);
    glass.lineTo(34, 36);
    glass.lineTo(18, 36);
    glass.lineTo(25, 25);
    glass.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(222, 184, 90));
    QPainterPath sand;
    sand.moveTo(21, 34);
    sand.lineTo(31, 34);
    sand.lineTo(26, 28);
    sand.closeSubpath();
    p.drawPath(sand);
}

void GamePad(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    QPainterPath pad;
    pad.addRoundedRect(QRectF(46, 28, 52, 24), 10, 10);
    pad.addEllipse(QRectF(42, 38, 18, 18));
    pad.addEllipse(QRectF(84, 38, 18, 18));
    p.drawPath(pad.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(QRectF(54, 37, 10, 3));
    p.drawRect(QRectF(57.5, 33.5, 3, 10));
    p.setBrush(QColor(220, 40, 40));
    p.drawEllipse(QPointF(84, 36), 2.5, 2.5);
    p.setBrush(QColor(40, 160, 60));
    p.drawEllipse(QPointF(90, 41), 2.5, 2.5);
}

QFont LabelFont(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    // Sizes are points of a 96-dpi screen: the text keeps its size relative to the pictures.
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    return font;
}

}  // namespace

QSize BlockPictureSize(TBlockKind kind) {
    switch (kind) {
        case TBlockKind::Start:
        case TBlockKind::Ende:
            return {80, 50};
        case TBlockKind::Motor:
            return {150, 74};
        case TBlockKind::Kollision:
        case TBlockKind::Joystick:
        case TBlockKind::Variable:
            return {150, 80};
        default:
            return {150, 50};
    }
}

void DrawBlockPicture(QPainter& p, TBlockKind kind, int motorStatus) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
        case TBlockKind::Start: {
            Capsule(p, QRectF(3, 3, 74, 39));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            const QPointF tri[3] = {{33, 12}, {33, 32}, {51, 22}};
            p.drawPolygon(tri, 3);
            Ring(p, 40, 42);
            break;
        }
        case TBlockKind::Ende:
            Capsule(p, QRectF(3, 9, 74, 38));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(33, 21, 14, 14));
            Ring(p, 40, 9);
            break;
        case TBlockKind::Motor: {
            Capsule(p, QRectF(2, 8, 146, 52));
            MotorDrawing(p);
            const QRectF box(102, 20, 30, 28);
            p.setPen(QPen(kBrown.darker(140), 1));
            p.setBrush(kBrown);
            p.drawRoundedRect(box, 3, 3);
            if (motorStatus == 1 || motorStatus == 2) {
                DoubleArrow(p, box, motorStatus == 1);
            }
            Ring(p, 72, 8);
            Ring(p, 72, 60);
            break;
        }
        case TBlockKind::Kollision:
            Diamond(p);
            Word(p, QStringLiteral("Kollision"), QRectF(22, 28, 100, 24));
            DecisionConnectors(p, 11);
            break;
        case TBlockKind::Joystick:
            Diamond(p);
            GamePad(p);
            DecisionConnectors(p, 8);
            break;
        case TBlockKind::Variable:
            Diamond(p);
            Word(p, QStringLiteral("Variable"), QRectF(22, 28, 100, 24));
            DecisionConnectors(p, 8);
            break;
        case TBlockKind::Pause:
            Capsule(p, QRectF(2, 7, 146, 36));
            Hourglass(p);
            TextField(p, QRectF(44, 15, 88, 20));
            Ring(p, 72, 7);
            Ring(p, 72, 43);
            break;
        case TBlockKind::SetVar:
        case TBlockKind::Farbe:
        case TBlockKind::IncVar:
            Capsule(p, QRectF(2, 7, 146, 36));
            TextField(p, QRectF(24, 15, 118, 20));
            Ring(p, 72, 7);
            Ring(p, 72, 43);
            break;
    }
    p.restore();
}

void DrawBlock(QPainter& p, const TBlock& block) {
    p.save();
    p.translate(block.X, block.Y);
    const int status =
        block.Kind() == TBlockKind::Motor ? static_cast<const TBlockMotor&>(block).Status : 0;
    DrawBlockPicture(p, block.Kind(), status);
    p.restore();
    if (const auto label = BlockLabel(block)) {
        p.save();
        p.setRenderHint(QPainter::TextAntialiasing);
        const QFont font = LabelFont(label->Size);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(label->X, label->Y + QFontMetricsF(font).ascent()),
                   QString::fromStdString(label->Text));
        p.restore();
    }
    if (block.Kind() == TBlockKind::Farbe) {
        const auto& farbe = static_cast<const TBlockFarbe&>(block);
        const TAblaufRect r = ColourSwatch(farbe);
        const auto c = static_cast<uint32_t>(farbe.Farbe);
        p.save();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        p.drawRect(QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1)));
        p.restore();
    }
}

QIcon PalettePicture(int pictureIndex) {
    const TBlockKind kind = KindOfPicture(pictureIndex);
    const QSizeF size = BlockPictureSize(kind);
    QIcon icon;
    for (const int ratio : {1, 2, 3}) {
        QPixmap pixmap(50 * ratio, 35 * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        const double scale = std::min(50.0 / size.width(), 35.0 / size.height());
        p.translate((50 - size.width() * scale) / 2, (35 - size.height() * scale) / 2);
        p.scale(scale, scale);
        DrawBlockPicture(p, kind, kind == TBlockKind::Motor ? 2 : 0);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace kx
