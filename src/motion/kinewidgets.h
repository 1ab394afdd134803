// What the link, motor and rule dialogs share: numbers in the user's notation, the axis and
// direction buttons with their painted pictures, the help button.
#pragma once

#include <QIcon>
#include <QString>
#include <optional>

class QPushButton;
class QToolButton;
class QWidget;

namespace kx {

/// A number as the user's locale writes it, with `decimals` decimals and thousands separators.
QString FormatUserNumber(double value, int decimals = 2);
/// A number typed by the user: the locale's notation (thousands separators allowed), else a
/// plain number with a comma or a point; nothing when the text is no number.
std::optional<double> ParseUserNumber(const QString& text);

/// A picture for an axis button: an arrow in the axis's colour (0 red X, 1 green Y, 2 blue Z),
/// pointing up for the positive and down for the negative sense.
QIcon AxisIcon(int axis, bool negative);
/// A picture for a motor's direction: -1 left, 0 stop, 1 right.
QIcon DirectionIcon(int direction);

/// A checkable button with a picture and a caption, 28 pixels high.
QToolButton* ToggleButton(QWidget* parent, const char* name, const QIcon& icon,
                          const QString& caption = {});
/// The "?" button of a window that opens help topic `context`.
QPushButton* HelpButton(QWidget* parent, int context);
/// Opens the help file at the topic; a missing help file gets a message naming it.
void OpenHelpTopic(QWidget* parent, int context);

}  // namespace kx
