// The look every window gives itself when it is created.
#pragma once

class QWidget;

namespace kx {

/// Sets the common font (the house font where installed, the desktop's sans font otherwise,
/// 9 points) on the window and on its labels, buttons, lists, trees and panels.
void ApplyFormStyle(QWidget* form);

}  // namespace kx
