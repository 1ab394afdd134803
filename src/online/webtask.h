// Runs a request to the library server off the window's thread: the window keeps painting,
// and a transfer that takes long shows its progress and can be cancelled.
#pragma once

#include <QString>
#include <functional>

#include "online/u_webprogress.h"

class QWidget;

namespace kx {

/// Runs work on a worker thread and waits for it in a local event loop. After a short delay
/// a progress window with caption and a cancel button appears; cancelling sets
/// progress.Cancel, which the running request notices. work must not touch any widget.
/// Returns work's result.
bool RunWebTask(QWidget* parent, const QString& caption,
                const std::function<bool(TWebProgress& progress)>& work);

/// The delay before the progress window shows, in milliseconds (tests shorten it).
void SetWebTaskProgressDelay(int ms);

}  // namespace kx
