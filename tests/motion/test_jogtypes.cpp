// The jog dial's geometry and its table of quick commands.
#include <gtest/gtest.h>

#include "motion/u_JogTypes.h"

using namespace kx;

TEST(JogTypes, PointerPicksTheSectorClockwiseFromTheTopAndTheCentreKeepsTheCurrentOne) {
    struct TCase {
        int X, Y, Current, Sector;
    };
    const TCase cases[] = {
        {150, 50, 5, 0},                          // straight up
        {250, 150, 0, 2},                         // right by 100
        {150, 250, 0, 4},                         // down by 100
        {50, 150, 0, 6},                          // left
        {230, 70, 0, 1},                          // up and right
        {70, 70, 0, 7},                           // up and left
        {140, 20, 3, 0},                          // just left of the top: still sector 0
        {150, 150, 3, 3},                         // the centre
        {150 + 75, 150, 6, 6},                    // exactly on the inner circle
        {150 + 76, 150, 6, 2}, {299, 299, 0, 3},  // the corner of the window
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(JogSectorAt(c.X, c.Y, c.Current), c.Sector) << c.X << "," << c.Y;
    }
}

TEST(JogTypes, DialStaysOnTheScreenAtEveryEdge) {
    const TJogScreen screen{0, 0, 1600, 1200};
    struct TCase {
        int X, Y, Left, Top;
    };
    const TCase cases[] = {
        {800, 600, 650, 450},     // centred on the pointer
        {10, 10, 0, 0},           // top-left corner: kept on screen
        {1550, 1150, 1300, 900},  // 50 pixels from the bottom-right corner
        {1599, 5, 1300, 0},
    };
    for (const TCase& c : cases) {
        const TJogPoint p = JogDialPlacement(c.X, c.Y, screen);
        EXPECT_EQ(p.X, c.Left) << c.X << "," << c.Y;
        EXPECT_EQ(p.Y, c.Top) << c.X << "," << c.Y;
    }
    // A second screen to the right of the first.
    const TJogPoint p = JogDialPlacement(1610, 20, {1600, 0, 1280, 1024});
    EXPECT_EQ(p.X, 1600);
    EXPECT_EQ(p.Y, 0);
}

TEST(JogTypes, SettingsOutsideTheTableLeaveTheSectorEmpty) {
    EXPECT_EQ(JogSlotFromSetting(14), 14);
    EXPECT_EQ(JogSlotFromSetting(0), 0);
    EXPECT_EQ(JogSlotFromSetting(257), 0);  // would wrap to 1, "delete", in one byte
    EXPECT_EQ(JogSlotFromSetting(15), 0);
    EXPECT_EQ(JogSlotFromSetting(-1), 0);
    for (int type : {0, 15, -3, 256}) {
        EXPECT_EQ(JogTypeResource(type), "") << type;
        EXPECT_EQ(JogTypeCaption(type), "") << type;
        EXPECT_EQ(JogTypeCommand(type), "") << type;
    }
    EXPECT_EQ(JogTypeCaption(7), "Alle Bauteile aus\nder aktuellen Bauphase\nselektieren");
    EXPECT_EQ(JogTypeCommand(1), "menDelete");
}
