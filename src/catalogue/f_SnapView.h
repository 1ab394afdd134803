// A scrolling tile view of one library tab: draws the library's tiles, selects, drags, scrolls.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>

class QDrag;
#include <vector>

#include "catalogue/u_library.h"

namespace kx {

/// The picture that follows the pointer while a tile is dragged: the icon without its
/// background.
QPixmap DragPixmap(const QPixmap& icon);

/// The mime type a dragged library tile carries; the data is the definition number (UTF-8).
inline constexpr const char* PartMimeType = "application/x-korvex-part";

class TSnapView : public QAbstractScrollArea {
    Q_OBJECT
public:
    /// icons: the library's shared icon list, outliving the view.
    TSnapView(TPartLibrary& library, TLibraryPage page, const std::vector<QPixmap>& icons,
              QWidget* parent = nullptr);

    const TLibraryPage& LibraryPage() const { return m_page; }
    const TSnapViewData& Data() const { return m_library.Page(m_page); }

    /// Measures and places the tiles again (after the tiles changed or the width did).
    void Relayout();
    /// Scrolls so that the tile's top is 5 pixels below the view's top.
    void ScrollToTile(int index);
    /// Index of the tile under a point of the viewport, -1 if none.
    int TileAt(const QPoint& viewportPos) const;
    /// A tile's rectangle in viewport coordinates.
    QRect TileRect(int index) const;
    /// The view's hint: the hint text of the tile pressed last.
    QString Hint() const { return m_hint; }

    static TTextMetrics Metrics(const QFont& font);

signals:
    /// A drag of a tile started; the number is also in the drag's mime data.
    void PartDragStarted(const QString& number);
    /// The context menu was asked for over a tile (index -1: over no tile).
    void TileMenuRequested(int index, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    /// Runs the drag (until the drop or its cancellation).
    virtual void ExecDrag(QDrag* drag);

private:
    TSnapViewData& Tiles() { return m_library.Page(m_page); }
    void UpdateScrollRange();

    TPartLibrary& m_library;
    TLibraryPage m_page;
    const std::vector<QPixmap>& m_icons;
    QFont m_font;
    int m_contentHeight = 0;
    int m_laidOutWidth = -1;
    bool m_dirty = true;
    QPoint m_pressPos;
    bool m_pressed = false;
    QString m_hint;
    double m_wheelRest = 0;
};

}  // namespace kx
