// The jog dial and its chooser.
#include "motion/d_Jog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "motion/u_JogTypes.h"

namespace kx {

namespace {

constexpr int kHalf = kJogDialSize / 2;
const QColor kBack(48, 48, 48);
const QColor kSector(64, 64, 64);
const QColor kRim(0, 122, 159);

/// The point at angle a (degrees) and radius r: 180 is straight up, angles fall clockwise.
QPoint DialPoint(double a, double r) {
    const double rad = a * std::numbers::pi / 180;
    return {static_cast<int>(kHalf + r * std::sin(rad)),
            static_cast<int>(kHalf + r * std::cos(rad))};
}

/// The dial's angle a as Qt's pie angle (counter-clockwise from three o'clock), in 1/16 degree.
int QtAngle(double a) {
    return static_cast<int>(std::lround((a - 90) * 16));
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// --- The pictures -------------------------------------------------------------------------------

void Block(QPainter& p, const QRectF& r, const QColor& c) {
    p.setBrush(c);
    p.drawRoundedRect(r, 3, 3);
}

void Arrow(QPainter& p, const QPointF& tip, double angleDeg, double size) {
    const double a = angleDeg * std::numbers::pi / 180;
    QPolygonF head;
    head << tip << tip - QPointF(size * std::cos(a - 0.45), size * std::sin(a - 0.45))
         << tip - QPointF(size * std::cos(a + 0.45), size * std::sin(a + 0.45));
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
}

}  // namespace

QPixmap JogPicture(const std::string& name) {
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor light(230, 230, 230);
    const QColor accent(80, 190, 230);
    const QColor warn(230, 80, 70);
    p.setPen(QPen(light, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (name == "DELETE") {
        p.drawRect(QRectF(14, 14, 20, 26));
        p.drawLine(QLineF(10, 12, 38, 12));
        p.drawLine(QLineF(20, 8, 28, 8));
        p.setPen(QPen(warn, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QLineF(19, 20, 29, 34));
        p.drawLine(QLineF(29, 20, 19, 34));
    } else if (name == "RULER") {
        p.drawRect(QRectF(4, 28, 40, 10));
        for (int x = 8; x <= 40; x += 4) {
            p.drawLine(QLineF(x, 28, x, x % 8 == 0 ? 34 : 31));
        }
        p.setPen(QPen(accent, 2));
        p.drawLine(QLineF(6, 16, 42, 16));
        Arrow(p, {6, 16}, 180, 7);
        Arrow(p, {42, 16}, 0, 7);
    } else if (name == "DUPLICATE") {
        Block(p, QRectF(6, 6, 22, 22), QColor(120, 120, 130));
        Block(p, QRectF(20, 20, 22, 22), accent);
    } else if (name == "SELECTALL" || name == "SELECTNONE" || name == "SELECTALLSTAGE") {
        if (name != "SELECTNONE") {
            p.setPen(Qt::NoPen);
            Block(p, QRectF(12, 12, 10, 10), accent);
            Block(p, QRectF(26, 12, 10, 10), accent);
            Block(p, QRectF(12, 26, 10, 10), accent);
            Block(p, QRectF(26, 26, 10, 10), name == "SELECTALLSTAGE" ? warn : accent);
        }
        p.setPen(QPen(light, 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(6, 6, 36, 36));
        if (name == "SELECTALLSTAGE") {
            p.setPen(QPen(light, 2));
            p.drawLine(QLineF(4, 44, 44, 44));
        }
    } else if (name == "CAMERATARGET") {
        p.drawEllipse(QPointF(24, 24), 14, 14);
        p.drawLine(QLineF(24, 4, 24, 16));
        p.drawLine(QLineF(24, 32, 24, 44));
        p.drawLine(QLineF(4, 24, 16, 24));
        p.drawLine(QLineF(32, 24, 44, 24));
        p.setBrush(warn);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(24, 24), 4, 4);
    } else if (name == "ALIGN") {
        p.drawLine(QLineF(8, 4, 8, 44));
        p.setPen(Qt::NoPen);
        Block(p, QRectF(10, 8, 30, 9), accent);
        Block(p, QRectF(10, 20, 20, 9), accent);
        Block(p, QRectF(10, 32, 26, 9), accent);
    } else if (name == "UNDO") {
        QPainterPath path;
        path.moveTo(14, 18);
        path.lineTo(30, 18);
        path.cubicTo(46, 18, 46, 40, 30, 40);
        path.lineTo(18, 40);
        p.drawPath(path);
        Arrow(p, {8, 18}, 180, 9);
    } else if (name == "CABLE") {
        QPainterPath path;
        path.moveTo(6, 36);
        path.cubicTo(16, 4, 30, 44, 38, 14);
        p.setPen(QPen(warn, 3));
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        Block(p, QRectF(34, 6, 8, 10), light);
        Block(p, QRectF(2, 34, 8, 10), light);
    } else if (name == "SEARCH") {
        p.drawEllipse(QPointF(20, 20), 12, 12);
        p.setPen(QPen(light, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QLineF(29, 29, 42, 42));
    } else if (name == "GROUP" || name == "DEGROUP") {
        const bool joined = name == "GROUP";
        p.setPen(Qt::NoPen);
        Block(p, QRectF(joined ? 10 : 4, 14, 13, 20), accent);
        Block(p, QRectF(joined ? 25 : 31, 14, 13, 20), accent);
        p.setPen(QPen(light, 2, joined ? Qt::SolidLine : Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(6, 10, 36, 28), 4, 4);
    } else if (name == "MANAGERKOORD") {
        p.setPen(QPen(QColor(230, 70, 70), 3));
        p.drawLine(QLineF(14, 34, 42, 34));
        Arrow(p, {44, 34}, 0, 7);
        p.setPen(QPen(QColor(90, 200, 90), 3));
        p.drawLine(QLineF(14, 34, 14, 6));
        Arrow(p, {14, 4}, -90, 7);
        p.setPen(QPen(accent, 3));
        p.drawLine(QLineF(14, 34, 4, 44));
    } else {
        return {};
    }
    return pixmap;
}

// --- The dial ----------------------------------------------------------------------------------

/// The dial's paint surface, under the label.
class TJogSurface : public QWidget {
public:
    explicit TJogSurface(TdlgJog* dial) : QWidget(dial), m_dial(dial) {
        setObjectName(QStringLiteral("pb"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_dial->Paint(painter);
    }

private:
    TdlgJog* m_dial;
};

TdlgJog::TdlgJog(QWidget* parent, std::function<bool(int)> available)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), m_available(std::move(available)) {
    setObjectName(QStringLiteral("dlgJog"));
    ApplyFormStyle(this);
    setFixedSize(kJogDialSize, kJogDialSize);
    setMask(QRegion(0, 0, kJogDialSize, kJogDialSize, QRegion::Ellipse));
    m_surface = new TJogSurface(this);
    m_surface->setGeometry(0, 0, kJogDialSize, kJogDialSize);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lbl"));
    m_label->setGeometry(0, 0, kJogDialSize, kJogDialSize);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAttribute(Qt::WA_TranslucentBackground);
    m_label->setMouseTracking(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    m_label->setFont(font);
    m_label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_label->installEventFilter(this);
    m_surface->installEventFilter(this);
    for (int i = 1; i <= kJogSectorCount; ++i) {
        m_slots[static_cast<size_t>(i - 1)] = JogSlotFromSetting(Param().GetJog(i));
    }
}

QWidget* TdlgJog::Surface() const {
    return m_surface;
}

void TdlgJog::PlaceAt(const QPoint& screenPoint) {
    const QScreen* screen = QGuiApplication::screenAt(screenPoint);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 4096, 4096);
    const TJogPoint at = JogDialPlacement(screenPoint.x(), screenPoint.y(),
                                          {area.left(), area.top(), area.width(), area.height()});
    move(at.X, at.Y);
}

int TdlgJog::ResultType() const {
    return m_current < 0 ? 0 : m_slots[static_cast<size_t>(m_current)];
}

int TdlgJog::Slot(int sector) const {
    return sector >= 0 && sector < kJogSectorCount ? m_slots[static_cast<size_t>(sector)] : 0;
}

void TdlgJog::SetSlot(int sector, int type) {
    if (sector >= 0 && sector < kJogSectorCount) {
        m_slots[static_cast<size_t>(sector)] = JogSlotFromSetting(type);
    }
}

void TdlgJog::ShowCaption() {
    m_label->setText(Q(JogTypeCaption(Slot(m_current))));
}

void TdlgJog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowCaption();
}

void TdlgJog::Paint(QPainter& p) const {
    p.fillRect(0, 0, kJogDialSize, kJogDialSize, kBack);
    const int s = m_current;
    if (s >= 0) {
        p.setPen(kRim);
        p.setBrush(kRim);
        const double from = 181 - 22.5 - 45 * s;
        const double to = 179 + 22.5 - 45 * s;
        p.drawPie(QRect(0, 0, kJogDialSize, kJogDialSize), QtAngle(from),
                  QtAngle(to) - QtAngle(from));
        p.setPen(kSector);
        p.setBrush(kSector);
        p.drawPie(QRect(8, 8, kJogDialSize - 16, kJogDialSize - 16), QtAngle(180 - 22.5 - 45 * s),
                  45 * 16);
    }
    p.setPen(kSector);
    p.setBrush(kSector);
    p.drawEllipse(QRect(75, 75, 150, 150));
    for (int i = 0; i < kJogSectorCount; ++i) {
        const int type = m_slots[static_cast<size_t>(i)];
        if (type == 0) {
            continue;
        }
        const QPixmap picture = JogPicture(JogTypeResource(type));
        if (!picture.isNull()) {
            p.drawPixmap(DialPoint(180 - 45 * i, 112.5) - QPoint(24, 24), picture);
        }
    }
}

void TdlgJog::PointerMoved(const QPoint& at) {
    const int sector = JogSectorAt(at.x(), at.y(), m_current);
    if (sector != m_current) {
        m_current = sector;
        m_surface->update();
        ShowCaption();
    }
}

void TdlgJog::Pressed(Qt::MouseButton button, const QPoint& at) {
    const int dx = at.x() - kHalf;
    const int dy = at.y() - kHalf;
    const bool outside = dx * dx + dy * dy > kJogInnerRadius * kJogInnerRadius;
    if (button == Qt::MiddleButton) {
        m_current = -1;
        reject();
    } else if (button == Qt::LeftButton) {
        if (outside) {
            accept();
        }
    } else if (button == Qt::RightButton && m_current >= 0) {
        int chosen = -1;
        if (Chooser) {
            chosen = Chooser(m_current);
        } else {
            TdlgSelectJogType chooser(this, m_available);
            chooser.exec();
            chosen = chooser.Result();
        }
        if (chosen >= 0) {
            SetSlot(m_current, chosen);
            Param().SetJog(m_current + 1, Slot(m_current));
            ShowCaption();
        }
        m_surface->update();
    }
}

bool TdlgJog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_label || watched == m_surface) {
        if (event->type() == QEvent::MouseMove) {
            PointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Pressed(mouse->button(), mouse->position().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgJog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        m_current = -1;
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- The chooser -------------------------------------------------------------------------------

TdlgSelectJogType::TdlgSelectJogType(QWidget* parent, const std::function<bool(int)>& available)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("dlgSelectJogType"));
    ApplyFormStyle(this);
    setFixedSize(491, 441);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lb"));
    m_list->setIconSize(QSize(48, 48));
    m_list->setSpacing(0);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setBold(true);
    m_list->setFont(font);
    m_list->setStyleSheet(
        QStringLiteral("QListWidget { background: rgb(48, 48, 48); color: white; }"
                       "QListWidget::item { height: 48px; padding-left: 5px; }"
                       "QListWidget::item:selected { background: rgb(0, 122, 159); }"));
    layout->addWidget(m_list);
    const TkxLanguage& lng = Language();
    for (int type = 0; type <= kJogTypeCount; ++type) {
        if (type > 0 && available && !available(type)) {
            continue;
        }
        QString text = type == 0 ? Q(lng.GetText("D_JOG", 15, "Leer"))
                                 : Q(lng.GetText("D_JOG", type, JogTypeDefaultCaption(type)));
        text.replace(QLatin1Char('|'), QLatin1Char(' '));
        auto* item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, type);
        item->setSizeHint(QSize(0, 48));
        const QPixmap picture = JogPicture(JogTypeResource(type));
        item->setIcon(picture.isNull() ? QIcon(QPixmap(48, 48)) : QIcon(picture));
        if (picture.isNull()) {
            QPixmap empty(48, 48);
            empty.fill(Qt::transparent);
            item->setIcon(QIcon(empty));
        }
    }
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_result = item->data(Qt::UserRole).toInt();
        accept();
    });
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

}  // namespace kx

#include "moc_d_Jog.cpp"
