// A scrolling tile view of one library tab: draws the library's tiles, selects, drags, scrolls.
#include "catalogue/f_SnapView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <vector>

#include "foundation/u_stack.h"

namespace kx {

namespace {
const QColor SelectedBack(233, 242, 253);
const QColor CounterLeft(188, 255, 183);
const QColor CounterEmpty(255, 190, 183);

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

QPixmap DragPixmap(const QPixmap& icon) {
    QImage image = icon.toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        return icon;
    }
    // The icons are drawn on a plain background: what of it touches the border goes clear, so
    // only the part follows the pointer; the same colour inside the part stays.
    const QRgb background = image.pixel(0, 0);
    if (qAlpha(background) == 0) {
        return icon;
    }
    const int w = image.width();
    const int h = image.height();
    std::vector<QPoint> open;
    for (int x = 0; x < w; ++x) {
        open.emplace_back(x, 0);
        open.emplace_back(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        open.emplace_back(0, y);
        open.emplace_back(w - 1, y);
    }
    while (!open.empty()) {
        const QPoint p = open.back();
        open.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h || image.pixel(p) != background) {
            continue;
        }
        image.setPixel(p, qRgba(0, 0, 0, 0));
        open.emplace_back(p.x() + 1, p.y());
        open.emplace_back(p.x() - 1, p.y());
        open.emplace_back(p.x(), p.y() + 1);
        open.emplace_back(p.x(), p.y() - 1);
    }
    return QPixmap::fromImage(image);
}

TSnapView::TSnapView(TPartLibrary& library, TLibraryPage page, const std::vector<QPixmap>& icons,
                     QWidget* parent)
    : QAbstractScrollArea(parent), m_library(library), m_page(page), m_icons(icons) {
    m_font = QFont(QStringLiteral("Arial"), 8, QFont::Bold);
    m_font.setStyleHint(QFont::SansSerif);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(false);
    verticalScrollBar()->setSingleStep(IconSize / 4);
}

TTextMetrics TSnapView::Metrics(const QFont& font) {
    const QFontMetrics fm(font);
    TTextMetrics m;
    m.Width = [fm](std::string_view s) {
        return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    };
    m.LineHeight = fm.height();
    return m;
}

void TSnapView::Relayout() {
    m_dirty = true;
    const int width = viewport()->width();
    // A hidden tab waits until it is shown: filling 13 tabs then lays out only the visible one.
    if (!isVisible() && m_laidOutWidth >= 0) {
        return;
    }
    const TTextMetrics metrics = Metrics(m_font);
    auto& items = Tiles().Items;
    for (TSnapViewItem& item : items) {
        MeasureTile(item, metrics);
    }
    m_contentHeight = LayoutTiles(items, width);
    m_laidOutWidth = width;
    m_dirty = false;
    UpdateScrollRange();
    viewport()->update();
}

void TSnapView::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setRange(0, std::max(0, m_contentHeight - viewport()->height()));
}

void TSnapView::ScrollToTile(int index) {
    if (m_dirty) {
        Relayout();
    }
    const auto& items = Data().Items;
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return;
    }
    verticalScrollBar()->setValue(items[static_cast<size_t>(index)].Y - SnapViewGap);
}

QRect TSnapView::TileRect(int index) const {
    const auto& items = Data().Items;
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return {};
    }
    const TSnapViewItem& it = items[static_cast<size_t>(index)];
    return QRect(it.X, it.Y - verticalScrollBar()->value(), it.Width, it.Height);
}

int TSnapView::TileAt(const QPoint& pos) const {
    const auto& items = Data().Items;
    const int y = pos.y() + verticalScrollBar()->value();
    for (size_t i = 0; i < items.size(); ++i) {
        const TSnapViewItem& it = items[i];
        if (pos.x() >= it.X && pos.x() < it.X + it.Width && y >= it.Y && y < it.Y + it.Height) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TSnapView::paintEvent(QPaintEvent*) {
    if (m_dirty || m_laidOutWidth != viewport()->width()) {
        Relayout();
    }
    QPainter p(viewport());
    p.setFont(m_font);
    const QFontMetrics fm(m_font);
    const int lineHeight = fm.height();
    const TTextMetrics metrics = Metrics(m_font);
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    for (const TSnapViewItem& it : Data().Items) {
        if (it.Y + it.Height < top || it.Y > bottom) {
            continue;
        }
        const QRect r(it.X, it.Y - top, it.Width, it.Height);
        if (it.Selected) {
            p.fillRect(r, SelectedBack);
        }
        int y = r.top();
        if (it.HasImage()) {
            const int image = it.ImageIndex();
            if (image >= 0 && image < static_cast<int>(m_icons.size())) {
                const QPixmap& pm = m_icons[static_cast<size_t>(image)];
                p.drawPixmap(r.left() + (r.width() - pm.width()) / 2, y, pm);
            }
            y += IconSize;
        }
        p.setPen(palette().color(QPalette::Text));
        for (const std::string& line : CaptionLines(it.CaptionText(), metrics)) {
            p.drawText(QRect(r.left(), y, r.width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                       Q(line));
            y += lineHeight;
        }
        if (it.HasCounter()) {
            const QRect box(r.left() + 2, y, r.width() - 4, lineHeight);
            p.fillRect(box, it.Remaining() != 0 ? CounterLeft : CounterEmpty);
            const QString text = it.Total() >= UnlimitedCount
                                     ? QStringLiteral("---")
                                     : QString::number(it.Remaining()) + QLatin1Char('/') +
                                           QString::number(it.Total());
            p.setPen(Qt::black);
            p.drawText(box, Qt::AlignCenter, text);
        }
    }
}

void TSnapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() != m_laidOutWidth) {
        Relayout();
    } else {
        UpdateScrollRange();
    }
}

void TSnapView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (m_dirty || viewport()->width() != m_laidOutWidth) {
        Relayout();
    }
}

void TSnapView::mousePressEvent(QMouseEvent* event) {
    const int index = TileAt(event->position().toPoint());
    Stack().Push("TSnapView.MouseDown", index);
    m_library.SelectTile(m_page, index);
    if (index >= 0) {
        ScrollToTile(index);
        m_hint = Q(Data().Items[static_cast<size_t>(index)].Hint);
    }
    m_pressed = event->button() == Qt::LeftButton;
    m_pressPos = event->position().toPoint();
    viewport()->update();
}

void TSnapView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    if ((event->position().toPoint() - m_pressPos).manhattanLength() <
        QApplication::startDragDistance()) {
        return;
    }
    m_pressed = false;
    const int index = Data().Selected;
    const std::optional<std::string> number = m_library.StartDrag(m_page, index);
    if (!number) {
        return;
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(PartMimeType), QByteArray::fromStdString(*number));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const int image = Data().Items[static_cast<size_t>(index)].ImageIndex();
    if (image >= 0 && image < static_cast<int>(m_icons.size())) {
        drag->setPixmap(DragPixmap(m_icons[static_cast<size_t>(image)]));
        drag->setHotSpot(QPoint(IconSize / 2, IconSize / 2));
    }
    emit PartDragStarted(Q(*number));
    ExecDrag(drag);
}

void TSnapView::ExecDrag(QDrag* drag) {
    drag->exec(Qt::CopyAction);
}

void TSnapView::wheelEvent(QWheelEvent* event) {
    // One notch moves by one tile row (the first tile's height and the gap); a touchpad's
    // finer steps move by the matching part of it.
    const auto& items = Data().Items;
    const int step = items.empty() ? IconSize : items.front().Height + SnapViewGap;
    m_wheelRest += -event->angleDelta().y() * step / 120.0;
    const int move = static_cast<int>(std::trunc(m_wheelRest));
    m_wheelRest -= move;
    verticalScrollBar()->setValue(verticalScrollBar()->value() + move);
    event->accept();
}

void TSnapView::contextMenuEvent(QContextMenuEvent* event) {
    // Delivered to the viewport, so the position is already in its coordinates.
    const int index = TileAt(event->pos());
    if (index != Data().Selected) {
        m_library.SelectTile(m_page, index);
    }
    emit TileMenuRequested(index, event->globalPos());
}

bool TSnapView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = TileAt(help->pos());
        if (index >= 0 && !Data().Items[static_cast<size_t>(index)].Hint.empty()) {
            QToolTip::showText(help->globalPos(), Q(Data().Items[static_cast<size_t>(index)].Hint),
                               viewport(), TileRect(index));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace kx

#include "moc_f_SnapView.cpp"
