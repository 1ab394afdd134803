// The drag slider: a panel showing a number that steps while the mouse is dragged sideways.
#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>

#include "placement/u_valuepanel.h"

namespace kx {

/// Shows its state's value through the state's format. Pressing hides the cursor; each time
/// the pointer gets more than the trigger distance away sideways the value steps, Changed is
/// emitted and the pointer goes back to where it was pressed. The text turns blue under the
/// mouse.
class TValuePanel : public QFrame {
    Q_OBJECT
public:
    /// state: not owned; nullptr shows nothing and never steps.
    explicit TValuePanel(TValuePanelState* state = nullptr, QWidget* parent = nullptr);
    void SetState(TValuePanelState* state);

    /// Panel colour behind the number.
    void SetPanelColor(const QColor& colour);
    /// The pointer dx pixels from the pressed point, as a drag reports it: true when it
    /// stepped (Changed was emitted).
    bool DragBy(int dx);
    /// After the state changed from outside.
    void Reload() { update(); }
    QString Text() const;

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    TValuePanelState* m_state;
    QColor m_colour;
    QPoint m_pressed;
    bool m_dragging = false;
    bool m_hover = false;
};

}  // namespace kx
