// The change history laid out in a scrolling panel: a bar between versions, each record's
// version in bold beside its wrapped text.
#include "online/historybox.h"

#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QString>

#include "foundation/u_text.h"

namespace kx {

QString ServerText(const std::string& bytes) {
    const QString utf8 = QString::fromUtf8(bytes);
    // A replacement character means the bytes were no UTF-8: an older server's 8-bit text.
    if (!utf8.contains(QChar::ReplacementCharacter)) {
        return utf8;
    }
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

void ShowHistory(QScrollArea& box, const std::vector<TWebHistoryData>& history) {
    box.verticalScrollBar()->setTracking(true);
    box.setWidgetResizable(false);
    box.setBackgroundRole(QPalette::Base);
    const int width = box.viewport()->width();
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("historyPanel"));
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    int y = 5;
    std::string group = history.empty() ? std::string() : history.front().Version;
    for (const auto& record : history) {
        if (record.Version != group) {
            auto* bar = new QFrame(panel);
            bar->setObjectName(QStringLiteral("historyBar"));
            bar->setGeometry(10, y, std::max(1, width - 35), 4);
            bar->setStyleSheet(QStringLiteral("background-color: black;"));
            y += 4 + 20;
            group = record.Version;
        }
        auto* version = new QLabel(ServerText(record.Version), panel);
        QFont bold = version->font();
        bold.setBold(true);
        version->setFont(bold);
        version->move(10, y);
        version->adjustSize();
        auto* text = new QLabel(ServerText(record.Text), panel);
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        const int textWidth = std::max(40, width - 75);
        text->setFixedWidth(textWidth);
        text->setFixedHeight(text->heightForWidth(textWidth));
        text->move(50, y);
        y += text->height() + 20;
    }
    panel->resize(std::max(1, width), y);
    box.setWidget(panel);  // frees the previous content
}

}  // namespace kx
