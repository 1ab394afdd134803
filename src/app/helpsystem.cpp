// Help topics by context number, opened in the desktop's browser at the topic's anchor.
#include "app/helpsystem.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QShortcut>
#include <QWidget>

#include "foundation/u_help.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
QString Message(int key, const char* def, const QString& argument) {
    QString text = QString::fromStdString(Language().GetText("HILFE", key, def));
    return text.replace(QStringLiteral("%s"), argument);
}
}  // namespace

std::function<bool(const QUrl&)>& HelpUrlOpener() {
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

QUrl HelpTopicUrl(int context) {
    const std::filesystem::path folder = std::filesystem::path(Param().HelpFile).parent_path();
    const THelpTopic topic = FindHelpTopic(folder, context);
    if (!QFileInfo::exists(QString::fromStdString(topic.Page.string()))) {
        return {};
    }
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(topic.Page.string()));
    if (!topic.Anchor.empty()) {
        url.setFragment(QString::fromStdString(topic.Anchor));
    }
    return url;
}

void ShowHelp(QWidget* parent, int context) {
    Stack().Push("ShowHelp", context);
    const QUrl url = HelpTopicUrl(context);
    if (url.isEmpty()) {
        QMessageBox::information(parent, QStringLiteral("Korvex designer"),
                                 Message(1, "Die Hilfe ist nicht installiert (%s).",
                                         QString::fromStdString(Param().HelpFile)));
        return;
    }
    if (!HelpUrlOpener()(url)) {
        QMessageBox::information(
            parent, QStringLiteral("Korvex designer"),
            Message(2, "Der Browser konnte die Hilfeseite nicht öffnen (%s).", url.toString()));
    }
}

void SetHelpContext(QWidget* window, int context) {
    window->setProperty("helpContext", context);
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(key, &QShortcut::activated, window,
                     [window, context] { ShowHelp(window, context); });
}

}  // namespace kx
