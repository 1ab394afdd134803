// What the main window's tests share: file choices answered without a dialog, and drags of
// library tiles sent to a widget.
#pragma once

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QString>
#include <deque>
#include <string>

#include "app/Main.h"
#include "catalogue/f_SnapView.h"

namespace kxtest {

/// The files the next file choices answer, in order; the window asks through its file
/// chooser, so no file dialog has to be driven.
inline std::deque<QString>& FileAnswers() {
    static std::deque<QString> answers;
    return answers;
}

inline void AnswerFile(const QString& path) {
    FileAnswers().push_back(path);
}

inline void UseTestFiles(kx::TMainForm& form) {
    form.FileChooser = [](bool, const QString&) {
        if (FileAnswers().empty()) {
            return QString();
        }
        const QString next = FileAnswers().front();
        FileAnswers().pop_front();
        return next;
    };
}

/// A library tile of `number` dragged over the widget: entering, moving or dropping at `at`.
inline void Drag(QWidget* view, QEvent::Type type, QPoint at, const std::string& number) {
    QMimeData mime;
    mime.setData(QString::fromLatin1(kx::PartMimeType), QByteArray::fromStdString(number));
    if (type == QEvent::DragEnter) {
        QDragEnterEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &e);
    } else if (type == QEvent::DragMove) {
        QDragMoveEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &e);
    } else {
        QDropEvent e(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &e);
    }
}

}  // namespace kxtest
