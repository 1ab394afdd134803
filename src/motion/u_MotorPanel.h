// The motor panel of kinematics mode: the driven part's icon, left/off/right and the speed.
#pragma once

#include <QFrame>

class QButtonGroup;
class QLabel;
class QSlider;
class QToolButton;

namespace kx {

class TMotorPanelState;

/// One of the panels mot1 ... mot8. It shows and switches a motor's live state; the
/// kinematics step reads that state, so a click takes effect at the next step.
class TMotorPanel : public QFrame {
    Q_OBJECT
public:
    explicit TMotorPanel(QWidget* parent = nullptr);

    /// The state the buttons and the track bar write to (nullptr: the panel keeps its own).
    void Bind(TMotorPanelState* state);
    /// Shows what the state holds now: rules and sequence programs switch motors between
    /// steps.
    void SyncFromState();

    /// 2 while ">" is down, 1 while "<" is down, else 0.
    int Status() const;
    /// 1 puts "<" down, 2 ">", anything else "0".
    void SetStatus(int status);
    int Speed() const;
    /// Kept within 1 to 10.
    void SetSpeed(int speed);
    QString Text() const;
    void SetText(const QString& text);
    QLabel* Image() const { return m_image; }
    QToolButton* Button(int status) const;
    QSlider* TrackBar() const { return m_track; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void WriteState();

    TMotorPanelState* m_state = nullptr;
    QLabel* m_label;
    QLabel* m_image;
    QSlider* m_track;
    QWidget* m_buttonRow;
    QButtonGroup* m_buttons;
    bool m_syncing = false;
};

}  // namespace kx
