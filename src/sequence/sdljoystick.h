// Joystick 1 through SDL2's joystick interface.
#pragma once

#include "sequence/u_joystick.h"

struct _SDL_Joystick;

namespace kx {

/// The first joystick SDL2 knows. SDL2 failing to start, or no joystick, gives samples that
/// are not present; a joystick plugged in later is opened at the next poll.
class TSdlJoystick : public TJoystickPort {
public:
    TSdlJoystick();
    ~TSdlJoystick() override;
    TSdlJoystick(const TSdlJoystick&) = delete;
    TSdlJoystick& operator=(const TSdlJoystick&) = delete;

    TJoystickSample Poll() override;
    /// Whether SDL2's joystick interface started.
    bool Available() const { return m_started; }

private:
    bool m_started = false;
    _SDL_Joystick* m_joystick = nullptr;
};

}  // namespace kx
