// The printing service of Qt: a parts sheet drawn on a printer, a PDF file or a print preview.
#include "printing/printcanvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <cmath>

namespace kx {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

TPainterCanvas::TPainterCanvas(QPagedPaintDevice& device) : m_device(device) {
    // A tenth of a millimetre in pixels of the device.
    m_pixelsPerUnit = device.logicalDpiY() / 254.0;
    m_font = QFont(QStringLiteral("Arial"));
    // Widths are measured in the device's own pixels; hinting would make them depend on the
    // size the text is drawn at.
    m_font.setHintingPreference(QFont::PreferNoHinting);
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(D(40)))));
}

TPainterCanvas::~TPainterCanvas() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

int TPainterCanvas::PrintableWidth() const {
    return static_cast<int>(
        std::lround(m_device.pageLayout().paintRect(QPageLayout::Millimeter).width() * 10));
}

int TPainterCanvas::PrintableHeight() const {
    return static_cast<int>(
        std::lround(m_device.pageLayout().paintRect(QPageLayout::Millimeter).height() * 10));
}

bool TPainterCanvas::BeginJob() {
    if (!m_painter.begin(&m_device)) {
        return false;
    }
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.setBrush(Qt::white);
    m_painter.setFont(m_font);
    ApplyPen();
    return true;
}

void TPainterCanvas::NewPage() {
    m_device.newPage();
}

bool TPainterCanvas::EndJob() {
    return m_painter.end();
}

void TPainterCanvas::AbortJob() {
    if (OnAbort) {
        OnAbort();
    }
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

void TPainterCanvas::SetFontHeight(int height) {
    m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(D(height)))));
    if (m_painter.isActive()) {
        m_painter.setFont(m_font);
    }
}

void TPainterCanvas::SetPenWidth(int width) {
    m_penWidth = width;
    ApplyPen();
}

void TPainterCanvas::SetPenColor(uint32_t colour) {
    m_penColour = QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    ApplyPen();
}

void TPainterCanvas::ApplyPen() {
    if (m_painter.isActive()) {
        QPen pen(m_penColour);
        pen.setWidthF(D(m_penWidth));
        pen.setJoinStyle(Qt::MiterJoin);
        m_painter.setPen(pen);
    }
}

int TPainterCanvas::TextWidth(const std::string& text) {
    const QFontMetricsF metrics(m_font, &m_device);
    return static_cast<int>(std::lround(metrics.horizontalAdvance(Q(text)) / m_pixelsPerUnit));
}

void TPainterCanvas::Text(int x, int y, const std::string& text) {
    const QFontMetricsF metrics(m_font, &m_device);
    // Text is black whatever colour the frames are drawn in.
    const QPen pen = m_painter.pen();
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(D(x), D(y) + metrics.ascent()), Q(text));
    m_painter.setPen(pen);
}

void TPainterCanvas::Rect(int x1, int y1, int x2, int y2) {
    m_painter.drawRect(QRectF(QPointF(D(x1), D(y1)), QPointF(D(x2), D(y2))));
}

void TPainterCanvas::Line(int x1, int y1, int x2, int y2) {
    m_painter.drawLine(QPointF(D(x1), D(y1)), QPointF(D(x2), D(y2)));
}

bool TPainterCanvas::Picture(int x, int y, const std::filesystem::path& file, int width,
                             int height) {
    QImage image(QString::fromStdString(file.string()));
    if (image.isNull()) {
        return false;
    }
    const QRectF target(D(x), D(y), D(width), D(height));
    // A picture far finer than the square it fills only makes the job larger.
    const QSize needed(static_cast<int>(std::ceil(target.width())),
                       static_cast<int>(std::ceil(target.height())));
    if (image.width() > 2 * needed.width() && image.height() > 2 * needed.height()) {
        image = image.scaled(needed, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    m_painter.drawImage(target, image);
    return true;
}

}  // namespace kx
