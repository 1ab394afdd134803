// Joystick 1 through SDL2: opened when it appears, closed when it goes.
#include "sequence/sdljoystick.h"

#include <SDL.h>

namespace kx {

TSdlJoystick::TSdlJoystick() {
    // Joystick state is read by polling; without a window of SDL's own, the program never
    // has SDL's focus, so background events must count.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    m_started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (m_started) {
        SDL_JoystickEventState(SDL_IGNORE);
    }
}

TSdlJoystick::~TSdlJoystick() {
    if (m_joystick) {
        SDL_JoystickClose(m_joystick);
    }
    if (m_started) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
}

TJoystickSample TSdlJoystick::Poll() {
    TJoystickSample s;
    if (!m_started) {
        return s;
    }
    // Also looks for devices plugged in or pulled out since the last poll.
    SDL_JoystickUpdate();
    if (m_joystick && !SDL_JoystickGetAttached(m_joystick)) {
        SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
    }
    if (!m_joystick && SDL_NumJoysticks() > 0) {
        m_joystick = SDL_JoystickOpen(0);
        if (m_joystick) {
            SDL_JoystickUpdate();
        }
    }
    if (!m_joystick) {
        return s;
    }
    s.Present = true;
    s.XMin = s.YMin = SDL_JOYSTICK_AXIS_MIN;
    s.XMax = s.YMax = SDL_JOYSTICK_AXIS_MAX;
    const int axes = SDL_JoystickNumAxes(m_joystick);
    s.X = axes > 0 ? SDL_JoystickGetAxis(m_joystick, 0) : 0;
    s.Y = axes > 1 ? SDL_JoystickGetAxis(m_joystick, 1) : 0;
    const int buttons = SDL_JoystickNumButtons(m_joystick);
    for (int b = 0; b < 4 && b < buttons; ++b) {
        if (SDL_JoystickGetButton(m_joystick, b)) {
            s.Buttons |= 1u << b;
        }
    }
    return s;
}

}  // namespace kx
