// TKeyEdit: one part's row in the time manager, drawing its keys on a time line and turning
// the mouse into selecting and dragging them.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "motion/u_zeitmanager.h"

namespace kx {

class TKeyEdit : public QWidget {
    Q_OBJECT
public:
    /// row: the state it shows and edits (owned by the time manager, which outlives it).
    TKeyEdit(TKeyRow& row, QWidget* parent = nullptr);

    TKeyRow& Row() { return m_row; }
    /// Right click on the row: where the popup menu goes.
    std::function<void(TKeyEdit&, QPoint globalPos)> OnPopup;

    QSize sizeHint() const override { return {600, TKeyRow::kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TKeyRow& m_row;
    QImage m_icon;
};

}  // namespace kx
