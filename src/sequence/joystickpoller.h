// Polls joystick 1 every 100 ms on the main thread while sequence programs may read it.
#pragma once

#include <QObject>
#include <memory>

#include "sequence/u_joystick.h"

class QTimer;

namespace kx {

class TJoystickPoller : public QObject {
    Q_OBJECT
public:
    /// Fills `state`, which runners read.
    TJoystickPoller(TJoystickState& state, QObject* parent);
    ~TJoystickPoller() override;

    /// Polling on; the platform's joystick is opened at the first start.
    void Start();
    /// Polling off; the program sees the joystick at rest.
    void Stop();
    /// Another joystick than SDL2's (tests).
    void SetPort(std::unique_ptr<TJoystickPort> port);
    bool Active() const;

private:
    void Poll();

    TJoystickState& m_state;
    TJoystickReader m_reader;
    std::unique_ptr<TJoystickPort> m_port;
    QTimer* m_timer;
};

}  // namespace kx
