// The joystick poller: SDL2's joystick read on the main window's timer.
#include "sequence/joystickpoller.h"

#include <QTimer>

#include "sequence/sdljoystick.h"

namespace kx {

TJoystickPoller::TJoystickPoller(TJoystickState& state, QObject* parent)
    : QObject(parent), m_state(state), m_reader(state), m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("JoystickTimer"));
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &TJoystickPoller::Poll);
}

TJoystickPoller::~TJoystickPoller() = default;

void TJoystickPoller::SetPort(std::unique_ptr<TJoystickPort> port) {
    m_port = std::move(port);
}

bool TJoystickPoller::Active() const {
    return m_timer->isActive();
}

void TJoystickPoller::Start() {
    if (!m_port) {
        m_port = std::make_unique<TSdlJoystick>();
    }
    Poll();
    m_timer->start();
}

void TJoystickPoller::Stop() {
    m_timer->stop();
    m_reader.Feed(TJoystickSample{});
}

void TJoystickPoller::Poll() {
    m_reader.Feed(m_port ? m_port->Poll() : TJoystickSample{});
}

}  // namespace kx

#include "moc_joystickpoller.cpp"
