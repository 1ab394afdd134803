// The jog dial's quick commands (jog types 1-14) and the geometry of the dial: which sector
// the pointer is in, and where the dial opens.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

inline constexpr int kJogTypeCount = 14;
inline constexpr int kJogSectorCount = 8;
inline constexpr int kJogDialSize = 300;
/// Inside this radius the dial's centre chooses nothing.
inline constexpr int kJogInnerRadius = 75;

/// The picture's resource name of a jog type ("DELETE" ...); empty for 0 and for values
/// outside 1 to 14.
std::string JogTypeResource(int type);
/// The caption from the language table (D_JOG), every "|" a line break; empty for 0 and for
/// values outside 1 to 14.
std::string JogTypeCaption(int type);
/// The German caption, "|" marking line breaks.
const char* JogTypeDefaultCaption(int type);
/// The main window's command a jog type runs; empty for 0 and for values outside 1 to 14.
std::string JogTypeCommand(int type);

/// A sector's type from its setting JOGn. The dial keeps one byte per sector: a setting
/// outside 0 to 14 leaves the sector empty instead of wrapping onto another command.
uint8_t JogSlotFromSetting(int32_t value);

/// The sector (0-7, clockwise from the top) under the pointer at (x, y) in the dial; within
/// the inner circle the current sector stays.
int JogSectorAt(int x, int y, int current);

struct TJogScreen {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
struct TJogPoint {
    int X = 0, Y = 0;
};
/// Top-left corner of the dial centred on the screen point (x, y), moved just enough to keep
/// the whole dial on the screen at every edge.
TJogPoint JogDialPlacement(int x, int y, const TJogScreen& screen);

}  // namespace kx
