// Joystick 1 for sequence programs: deflections from any axis range, the smoothing and the
// movement threshold, and SDL2's joystick driven through its virtual joystick.
#include <gtest/gtest.h>

#include <SDL.h>

#include "sequence/sdljoystick.h"
#include "sequence/u_joystick.h"

using namespace kx;

namespace {

TJoystickSample Sample(int32_t x, int32_t y, uint32_t buttons = 0) {
    TJoystickSample s;
    s.Present = true;
    s.X = x;
    s.Y = y;
    s.XMin = s.YMin = -32768;
    s.XMax = s.YMax = 32767;
    s.Buttons = buttons;
    return s;
}

}  // namespace

TEST(Joystick, DeflectionIsPercentOfTheHalfRangeFromTheCentre) {
    struct TCase {
        int64_t Position;
        int32_t Min, Max;
        int32_t Percent;
    };
    const TCase cases[] = {
        {32767, -32768, 32767, 100}, {-32768, -32768, 32767, -100},
        {0, -32768, 32767, 0},       {19661, -32768, 32767, 60},
        {65535, 0, 65535, 100},      {32768, 0, 65535, 0},
        {0, 0, 65535, -100},         {150, 100, 200, 0},
        {200, 100, 200, 100},        {7, 5, 5, 0},  // a range of no width
        {99999, 0, 100, 100},                       // beyond the range stays at full deflection
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(JoystickDeflection(c.Position, c.Min, c.Max), c.Percent)
            << c.Position << " in " << c.Min << ".." << c.Max;
    }
}

TEST(Joystick, ReaderSmoothsReportsHeldPositionsAndIgnoresSmallTremors) {
    TJoystickState state;
    TJoystickReader reader(state);
    // The first sample fills the history and counts at once.
    reader.Feed(Sample(32767, 0, 0b1));
    EXPECT_EQ(state.X(), 100);
    EXPECT_EQ(state.Buttons(), 1u);
    reader.Feed(Sample(0, 0));
    // Pushed fully right and held: the smoothed position follows within a few polls.
    std::vector<int32_t> seen;
    for (int i = 0; i < 6; ++i) {
        reader.Feed(Sample(32767, 0));
        seen.push_back(state.X());
    }
    EXPECT_EQ(seen.front(), 60);  // the first poll after the move is smoothed ...
    EXPECT_EQ(seen.back(), 100);  // ... a held stick reports where it is held
    // A tremor below the threshold (1000 of SDL2's range) is no movement.
    reader.Feed(Sample(32767 - 900, 0));
    EXPECT_EQ(state.X(), 100);
    reader.Feed(Sample(32767, -32768, 0b1010));
    EXPECT_EQ(state.Buttons(), 0b1010u);
    EXPECT_LT(state.Y(), 0);
    // Pulled out: at rest, no buttons.
    reader.Feed(TJoystickSample{});
    EXPECT_EQ(state.X(), 0);
    EXPECT_EQ(state.Y(), 0);
    EXPECT_EQ(state.Buttons(), 0u);
}

TEST(Joystick, SdlJoystickIsFoundWhenPluggedInAndForgottenWhenPulledOut) {
    TSdlJoystick port;
    if (!port.Available()) {
        GTEST_SKIP() << "SDL2's joystick interface does not start here";
    }
    TJoystickState state;
    TJoystickReader reader(state);
    reader.Feed(port.Poll());
    EXPECT_EQ(state.X(), 0);

    for (int plug = 0; plug < 2; ++plug) {
        // Plugged in while polling runs.
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* device = SDL_JoystickOpen(index);
        ASSERT_NE(device, nullptr) << SDL_GetError();
        SDL_JoystickSetVirtualAxis(device, 0, SDL_JOYSTICK_AXIS_MAX);
        SDL_JoystickSetVirtualAxis(device, 1, SDL_JOYSTICK_AXIS_MIN);
        SDL_JoystickSetVirtualButton(device, 2, SDL_PRESSED);
        for (int i = 0; i < 8; ++i) {
            reader.Feed(port.Poll());
        }
        EXPECT_EQ(state.X(), 100);
        EXPECT_EQ(state.Y(), -100);
        EXPECT_EQ(state.Buttons(), 0b100u);

        SDL_JoystickClose(device);
        ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
        reader.Feed(port.Poll());
        EXPECT_EQ(state.X(), 0);
        EXPECT_EQ(state.Buttons(), 0u);
    }
}
