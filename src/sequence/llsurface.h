// The drawing surface of the flowchart window: paints the program, hands mouse input to the
// editor in program pixels, takes blocks dropped from the palette, and zooms with Ctrl+wheel.
#pragma once

#include <QWidget>
#include <functional>

#include "sequence/u_ablaufeditor.h"

class QScrollArea;

namespace kx {

/// The mime type of a palette entry being dragged: the entry's picture index.
inline constexpr const char* kLogicBlockMimeType = "application/x-korvex-logic-block";

class TLogicSurface : public QWidget {
    Q_OBJECT
public:
    /// The surface is never smaller than this, in program pixels.
    static constexpr int kMinimumExtent = 5000;
    static constexpr double kMinZoom = 0.25;
    static constexpr double kMaxZoom = 4.0;

    TLogicSurface(TAblaufEditor& editor, QScrollArea& box, QWidget* parent = nullptr);

    double Zoom() const { return m_zoom; }
    /// Zooms keeping the program point under `anchor` (widget pixels) where it is on screen.
    void SetZoom(double zoom, QPoint anchor);
    /// Where a program point lies on the widget.
    QPoint ToWidget(TAblaufPoint p) const;
    TAblaufPoint ToProgram(QPointF widgetPoint) const;
    /// The size again after blocks moved beyond the surface or the zoom changed.
    void UpdateExtent();

    /// Filled in by the window.
    std::function<void(int32_t x, int32_t y)> OnDrop;
    std::function<void(TBlock& block)> OnEdit;
    std::function<void(const QPoint& globalPos)> OnPopup;
    std::function<void(const std::string& message)> OnMessage;
    std::function<void()> OnZoomChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TAblaufEditor& m_editor;
    QScrollArea& m_box;
    double m_zoom = 1.0;
};

}  // namespace kx
