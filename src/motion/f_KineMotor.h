// "Motor festlegen": which motor drives a part, about which axis and in which direction, with
// the part turning as the motor would while the dialog is open.
#pragma once

#include <QDialog>
#include <functional>

#include "motion/u_kineedit.h"

class QButtonGroup;
class QComboBox;
class QTimer;
class QToolButton;

namespace kx {

class TFormKineMotor : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4081;
    static constexpr int kPreviewInterval = 40;  ///< ms

    /// The preview, when given, runs from the start if the form asks for it, else from the
    /// first press of an axis button.
    TFormKineMotor(const TMotorForm& form, TKinePreview* preview, QWidget* parent = nullptr);

    TMotorForm Form() const;
    /// kMotorAxisX, kMotorAxisY, kMotorAxisZ.
    QToolButton* AxisButton(int axis) const;
    /// 0 stop, 1 left, 2 right.
    QToolButton* StatusButton(int status) const;
    QComboBox* MotorCombo() const { return cbMotor; }
    QTimer* Timer() const { return m_timer; }

    void done(int result) override;

    /// Called after each preview step, so the view shows it.
    std::function<void()> Redraw;

private:
    void AxisPressed();
    void Tick();

    TMotorForm m_form;
    TKinePreview* m_preview;
    QButtonGroup* m_axes;
    QButtonGroup* m_status;
    QComboBox* cbMotor;
    QTimer* m_timer;
};

}  // namespace kx
