// The change history laid out in a scrolling panel: a bar between versions, each record's
// version in bold beside its wrapped text.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "online/u_webprotocol.h"

class QScrollArea;

namespace kx {

/// Replaces the panel's content with the history; the panel scrolls while its bar is dragged.
void ShowHistory(QScrollArea& box, const std::vector<TWebHistoryData>& history);

/// Text from the server as the window shows it: UTF-8 when it is, else Windows-1252.
QString ServerText(const std::string& bytes);

}  // namespace kx
