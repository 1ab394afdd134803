// The look every window gives itself when it is created, and the file filters of its dialogs.
#pragma once

class QString;
class QWidget;

namespace kx {

/// Sets the common font (the house font where installed, the desktop's sans font otherwise,
/// 9 points) on the window and on its labels, buttons, lists, trees and panels.
void ApplyFormStyle(QWidget* form);

/// A stored file filter, captions and patterns alternating with "|" ("Sammlung (*.kxc)|*.kxc"),
/// as the ";;"-separated list Qt's file dialogs take; a caption without its patterns in
/// brackets gets them added.
QString QtFileFilter(const QString& stored);

}  // namespace kx
