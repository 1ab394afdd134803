// Kinematics mode of the main window: the motor panels replace the library strip, the step
// timer runs, and everything that could change the model is locked.
#pragma once

#include <QObject>
#include <array>

class QTimer;

namespace kx {

class TJoystickPoller;
class TMainForm;
class TMotorPanel;

class TKinematikMode : public QObject {
    Q_OBJECT
public:
    /// Makes the panels mot1 ... mot8 in the window's motor strip.
    explicit TKinematikMode(TMainForm& form);

    bool Active() const { return m_active; }
    /// btnStartKinematikClick with the toggle down: panels shown, model locked, timer on.
    void Enter();
    /// ... with the toggle up: timer off, poses restored, everything enabled again.
    void Leave();
    /// KineTimerTimer: one step, then the panels and the view show its outcome.
    void Tick();
    QTimer* KineTimer() const { return m_timer; }
    /// Panel 1-8.
    TMotorPanel* Panel(int number) const;
    /// Joystick 1 for the sequence program, polled while the mode is on.
    TJoystickPoller* Joystick() const { return m_joystick; }

private:
    void SetControlsEnabled(bool on);

    TMainForm& m_form;
    QTimer* m_timer;
    std::array<TMotorPanel*, 8> m_panels{};
    bool m_active = false;
    TJoystickPoller* m_joystick = nullptr;
};

}  // namespace kx
