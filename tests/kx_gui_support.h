// Helpers of the window tests: answering a modal dialog the way a user would.
#pragma once

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTimer>
#include <functional>

namespace kxtest {

/// Waits for the next modal dialog of type T and lets act answer it.
template <typename T>
void AnswerNextDialog(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

/// Where window tests leave their screenshots for a person to look at: $KX_SCREENSHOT_DIR, else
/// a folder under the system's temporary folder.
inline QString ShotDir() {
    const QString dir = qEnvironmentVariable("KX_SCREENSHOT_DIR",
                                             QDir::tempPath() + QStringLiteral("/kx-screenshots"));
    QDir().mkpath(dir);
    return dir;
}

}  // namespace kxtest
