// Helpers of the window tests: answering a modal dialog the way a user would.
#pragma once

#include <QApplication>
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

}  // namespace kxtest
