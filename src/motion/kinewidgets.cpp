// What the link, motor and rule dialogs share: numbers, pictures of the buttons, help.
#include "motion/kinewidgets.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include "app/helpsystem.h"
#include "foundation/u_text.h"

namespace kx {

QString FormatUserNumber(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

std::optional<double> ParseUserNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double v = QLocale().toDouble(trimmed, &ok);
    if (ok) {
        return v;
    }
    const std::string plain = trimmed.toStdString();
    if (auto comma = ParseFloat(plain, ',')) {
        return comma;
    }
    return ParseFloat(plain, '.');
}

namespace {

QColor AxisColour(int axis) {
    switch (axis) {
        case 1:
            return QColor(0, 150, 0);
        case 2:
            return QColor(0, 70, 220);
        default:
            return QColor(210, 0, 0);
    }
}

}  // namespace

QIcon AxisIcon(int axis, bool negative) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = AxisColour(axis);
    p.setPen(QPen(colour, 2.5));
    p.drawLine(QPointF(10, 4), QPointF(10, 17));
    QPainterPath head;
    if (negative) {
        head.moveTo(10, 19);
        head.lineTo(4.5, 12);
        head.lineTo(15.5, 12);
    } else {
        head.moveTo(10, 1);
        head.lineTo(4.5, 8);
        head.lineTo(15.5, 8);
    }
    head.closeSubpath();
    p.fillPath(head, colour);
    return QIcon(pixmap);
}

QIcon DirectionIcon(int direction) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour(40, 40, 40);
    if (direction == 0) {
        p.fillRect(QRectF(5, 5, 10, 10), colour);
        return QIcon(pixmap);
    }
    QPainterPath arrow;
    if (direction < 0) {
        arrow.moveTo(3, 10);
        arrow.lineTo(14, 3);
        arrow.lineTo(14, 17);
    } else {
        arrow.moveTo(17, 10);
        arrow.lineTo(6, 3);
        arrow.lineTo(6, 17);
    }
    arrow.closeSubpath();
    p.fillPath(arrow, colour);
    return QIcon(pixmap);
}

QToolButton* ToggleButton(QWidget* parent, const char* name, const QIcon& icon,
                          const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setMinimumHeight(28);
    if (!caption.isEmpty()) {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    } else {
        button->setMinimumWidth(28);
    }
    return button;
}

QPushButton* HelpButton(QWidget* parent, int context) {
    auto* button = new QPushButton(QStringLiteral("?"), parent);
    button->setObjectName(QStringLiteral("btnHelp"));
    button->setAutoDefault(false);
    button->setFixedWidth(32);
    QObject::connect(button, &QPushButton::clicked, parent,
                     [parent, context] { OpenHelpTopic(parent, context); });
    return button;
}

void OpenHelpTopic(QWidget* parent, int context) {
    ShowHelp(parent, context);
}

}  // namespace kx
