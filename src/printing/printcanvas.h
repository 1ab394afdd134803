// The printing service of Qt: a parts sheet drawn on a printer, a PDF file or a print preview.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPen>
#include <functional>

#include "printing/u_TPrintBase.h"

class QPagedPaintDevice;

namespace kx {

/// Draws page units (tenths of a millimetre from the top-left corner of the printable area) on
/// a paged device: a QPrinter (printer, PDF or preview) or a QPdfWriter.
class TPainterCanvas : public TPrintCanvas {
public:
    explicit TPainterCanvas(QPagedPaintDevice& device);
    ~TPainterCanvas() override;

    /// What aborting a job means for the device (a printer cancels its job, a file is not
    /// kept). Without it an aborted job just stops drawing.
    std::function<void()> OnAbort;

    int PrintableWidth() const override;
    int PrintableHeight() const override;
    bool BeginJob() override;
    void NewPage() override;
    bool EndJob() override;
    void AbortJob() override;
    void SetFontHeight(int height) override;
    void SetPenWidth(int width) override;
    void SetPenColor(uint32_t colour) override;
    int TextWidth(const std::string& text) override;
    void Text(int x, int y, const std::string& text) override;
    void Rect(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    bool Picture(int x, int y, const std::filesystem::path& file, int width, int height) override;

private:
    /// Page units to device pixels.
    double D(double units) const { return units * m_pixelsPerUnit; }
    void ApplyPen();

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    double m_pixelsPerUnit = 1;
    QFont m_font;
    int m_penWidth = 1;
    QColor m_penColour = Qt::black;
};

}  // namespace kx
