// The number behind a drag slider: value, step, range, the text it shows and how a drag steps it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kx {

/// A number as the tools show it, with the program's separators (decimal comma, thousands
/// point) whatever the locale: "%2n" gives two decimals with thousands separators, "%.Nf" N
/// decimals without them; text around the one conversion stays ("%2n mm" -> "1.234,50 mm").
/// A format without a conversion it knows gives "Error".
std::string FormatValue(std::string_view format, double value);

/// Reads a number back from what FormatValue showed, or from what a user typed over it:
/// blanks, a sign, digits with thousands points and a decimal comma; a text without a comma
/// whose only point is not followed by exactly three digits takes the point as the decimal
/// separator ("12.5"). Whatever follows the number (a unit) is ignored. Nothing when there
/// is no number at the start.
std::optional<double> ParseShownValue(std::string_view text);

/// The drag slider's state: pressed, it steps its value each time the pointer is more than
/// Trigger pixels away horizontally from where it was pressed (up to the right, down to the
/// left), within Min and Max; the pointer is then put back.
struct TValuePanelState {
    std::string Format = "%2n";
    double Value = 0;
    double Step = 0.5;
    double Min = -999999;
    double Max = 999999;
    int Trigger = 10;
    /// Angle sliders bring a value of 360 or more down by 360, one of -360 or less up by 360.
    bool WrapAngle = false;

    /// The pointer is dx pixels right of the pressed point: true when the value stepped (the
    /// caller fires the change and puts the pointer back).
    bool DragBy(int dx);
    /// Sets the value as a step would: clamped, and wrapped for angles.
    void SetValue(double value);
    std::string Text() const { return FormatValue(Format, Value); }
};

}  // namespace kx
