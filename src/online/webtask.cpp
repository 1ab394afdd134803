// Runs a request to the library server off the window's thread: the window keeps painting,
// and a transfer that takes long shows its progress and can be cancelled.
#include "online/webtask.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
int g_progressDelay = 400;
}

void SetWebTaskProgressDelay(int ms) {
    g_progressDelay = ms;
}

bool RunWebTask(QWidget* parent, const QString& caption,
                const std::function<bool(TWebProgress& progress)>& work) {
    Stack().Push("RunWebTask", caption.toStdString());
    // Shared with the worker, which may outlive this call by nothing: it is joined below.
    auto progress = std::make_shared<TWebProgress>();
    std::atomic<bool> done{false};
    bool result = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            result = work(*progress);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });

    QProgressDialog dialog(caption,
                           QString::fromStdString(Language().GetText("WEBREMOTE", 30, "Abbrechen")),
                           0, 0, parent);
    dialog.setObjectName(QStringLiteral("dlgWebProgress"));
    dialog.setWindowTitle(caption);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(g_progressDelay);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    QObject::connect(&dialog, &QProgressDialog::canceled, [progress] { progress->Cancel = true; });

    QEventLoop loop;
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done) {
            loop.quit();
            return;
        }
        if (dialog.wasCanceled()) {
            progress->Cancel = true;
        }
        const int64_t total = progress->Total;
        const int64_t now = progress->Done;
        // Kilobytes keep large files inside the dialog's int range.
        dialog.setMaximum(total > 0 ? static_cast<int>(total / 1024) + 1 : 0);
        dialog.setValue(total > 0 ? static_cast<int>(now / 1024) : 0);
    });
    poll.start();
    if (!done) {
        loop.exec();
    }
    poll.stop();
    worker.join();
    dialog.reset();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return result;
}

}  // namespace kx
