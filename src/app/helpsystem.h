// Help topics by context number, opened in the desktop's browser at the topic's anchor.
#pragma once

#include <QUrl>
#include <functional>

class QWidget;

namespace kx {

/// The address of a topic in the help of the language the program started with (the folder of
/// TkxParam::HelpFile); an empty address when that help is not installed.
QUrl HelpTopicUrl(int context);

/// Opens the topic in the desktop's browser; a missing help or a desktop that cannot open the
/// page gets a message saying so.
void ShowHelp(QWidget* parent, int context);

/// F1 in the window opens the topic (the window's help context).
void SetHelpContext(QWidget* window, int context);

/// What opens a help address; the desktop's browser unless replaced (tests).
std::function<bool(const QUrl&)>& HelpUrlOpener();

}  // namespace kx
